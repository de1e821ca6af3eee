#include "ops/views.h"
#include "screen/list_view.h"

#include "model/view_order.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qlp;

namespace {

// A document of `reels` per event, with its three views as a load leaves them: kAllEvents all events,
// kSearchResult empty, kReelUsage the events of reel reelFilter.
struct ListFixture {
    EdlDocument doc;
    std::vector<EdlEvent> events;
    std::vector<EdlEvent*> views[kShownViewCount];

    explicit ListFixture(const std::vector<int32_t>& reels) : events(reels.size()) {
        for (auto& v : views)
            v.assign(events.size() + 1, nullptr);
        for (size_t i = 0; i < events.size(); ++i) {
            events[i].sequence = static_cast<int32_t>(i + 1);
            events[i].reelIndex = reels[i];
            events[i].srcIn = events[i].srcSortKey = static_cast<int32_t>(1000 - i);
            views[kAllEvents][i] = &events[i];
        }
        for (int v = kAllEvents; v < kShownViewCount; ++v)
            doc.view[v] = views[v].data();
        doc.viewCount[kAllEvents] = static_cast<int32_t>(events.size());
        for (auto& row : doc.sortState)
            for (auto& s : row)
                s = kSortNone;
        doc.loaded = 1;
    }
    void addHit(int i) {
        events[i].searchHit = 1;
        views[kSearchResult][doc.viewCount[kSearchResult]++] = &events[i];
    }
    std::vector<int32_t> shownSequences() const {
        std::vector<int32_t> out;
        for (int r = 0; r < doc.viewCount[doc.currentView]; ++r)
            out.push_back(rowEvent(doc, r)->sequence);
        return out;
    }
};

} // namespace

TEST(ListRows, RowsOfTheShownViewAndTheCurrentEvent) {
    ListFixture f({0, 1, 0});
    f.addHit(2);
    EXPECT_EQ(rowEvent(f.doc, 0), &f.events[0]);
    EXPECT_EQ(rowEvent(f.doc, 3), nullptr);
    EXPECT_EQ(rowEvent(f.doc, -1), nullptr);
    f.doc.currentView = kSearchResult;
    EXPECT_EQ(rowEvent(f.doc, 0), &f.events[2]);
    EXPECT_EQ(rowEvent(f.doc, 1), nullptr);

    f.doc.currentRow[kSearchResult] = 0;
    EXPECT_EQ(currentEvent(f.doc), &f.events[2]);
    f.doc.currentRow[kSearchResult] = -1;
    EXPECT_EQ(currentEvent(f.doc), nullptr);
    // A view the list never shows, or a document without arrays, has no rows.
    f.doc.currentView = kListingReel;
    EXPECT_EQ(rowEvent(f.doc, 0), nullptr);
    EXPECT_EQ(shownView(f.doc), kAllEvents);
    EdlDocument empty;
    empty.viewCount[kAllEvents] = 5;
    EXPECT_EQ(rowEvent(empty, 0), nullptr);
}

TEST(ListRows, ColumnTextStopsAt31CharactersEvenWithoutTerminator) {
    EdlEvent e;
    const std::u16string edit = u"0001";
    edit.copy(e.text[kColEdit], edit.size());
    EXPECT_EQ(columnText(e, kColEdit), u"0001");
    for (auto& c : e.text[kColSpare])
        c = u'x';
    EXPECT_EQ(columnText(e, kColSpare).size(), 31u);
    EXPECT_EQ(columnText(e, kColumnCount), u"");
}

TEST(SwitchListDisplay, CyclesAndSkipsAnEmptySearchResult) {
    EXPECT_EQ(nextListDisplay(kAllEvents, 3), kSearchResult);
    EXPECT_EQ(nextListDisplay(kSearchResult, 3), kReelUsage);
    EXPECT_EQ(nextListDisplay(kReelUsage, 3), kAllEvents);
    // Without hits: normal list straight to reel usage, and back.
    EXPECT_EQ(nextListDisplay(kAllEvents, 0), kReelUsage);
    EXPECT_EQ(nextListDisplay(kReelUsage, 0), kAllEvents);
    // Nothing selected in the combo box counts as before the first item.
    EXPECT_EQ(nextListDisplay(-1, 0), kAllEvents);
}

TEST(ChooseView, EmptyViewsFallBackToTheNormalList) {
    ListFixture f({0, 1});
    ViewChoice c = chooseView(f.doc, kSearchResult);
    EXPECT_TRUE(c.fellBack);
    EXPECT_EQ(c.view, kAllEvents);
    EXPECT_EQ(f.doc.currentView, kAllEvents);
    c = chooseView(f.doc, 7); // names no view
    EXPECT_TRUE(c.fellBack);
    EXPECT_EQ(f.doc.currentView, kAllEvents);

    f.addHit(1);
    c = chooseView(f.doc, kSearchResult);
    EXPECT_FALSE(c.fellBack);
    EXPECT_EQ(f.doc.currentView, kSearchResult);
    EXPECT_EQ(f.shownSequences(), std::vector<int32_t>{2});
}

TEST(ChooseView, ReelUsageIsRebuiltForTheChosenReelAndSortedByItsState) {
    ListFixture f({2, 0, 2, 1, 2});
    f.doc.reelFilter = 2;
    f.doc.viewCount[kReelUsage] = 1; // anything but 0, as the load left it
    f.doc.sortState[sortStateRow(kReelUsage)][kSortSource] = kSortAscending;
    const ViewChoice c = chooseView(f.doc, kReelUsage);
    EXPECT_FALSE(c.fellBack);
    EXPECT_EQ(f.doc.currentView, kReelUsage);
    EXPECT_EQ(f.doc.viewCount[kReelUsage], 3);
    // Source times fall with the sequence, so ascending source order is reverse EDL order.
    EXPECT_EQ(f.shownSequences(), (std::vector<int32_t>{5, 3, 1}));

    // Choosing another reel in the shown view rebuilds it in its sort order from row 0.
    f.doc.currentRow[kReelUsage] = f.doc.topRow[kReelUsage] = 2;
    EXPECT_FALSE(chooseUsageReel(f.doc, 2));
    EXPECT_EQ(f.doc.currentRow[kReelUsage], 2);
    EXPECT_FALSE(chooseUsageReel(f.doc, -1));
    f.events[1].reelIndex = 1;
    EXPECT_TRUE(chooseUsageReel(f.doc, 1));
    EXPECT_EQ(f.doc.reelFilter, 1);
    EXPECT_EQ(f.shownSequences(), (std::vector<int32_t>{4, 2}));
    EXPECT_EQ(f.doc.currentRow[kReelUsage], 0);
    EXPECT_EQ(f.doc.topRow[kReelUsage], 0);

    rebuildReelUsageView(f.doc);
    EXPECT_EQ(f.shownSequences(), (std::vector<int32_t>{2, 4}));
    f.doc.reelFilter = 9;
    rebuildReelUsageView(f.doc);
    EXPECT_EQ(f.doc.viewCount[kReelUsage], 0);
}

TEST(HeaderClick, SortsOnlyViewsOneAndTwoWithRows) {
    ListFixture f({0, 0});
    for (int column = 0; column < kColumnCount; ++column)
        EXPECT_EQ(headerClickCommand(column, f.doc), 0) << column;
    f.addHit(0);
    f.doc.currentView = kSearchResult;
    EXPECT_EQ(headerClickCommand(kColEdit, f.doc), IDM_SORT_EDIT_ORDER);
    EXPECT_EQ(headerClickCommand(kColSrcIn, f.doc), IDM_SORT_SOURCE);
    EXPECT_EQ(headerClickCommand(kColRecIn, f.doc), IDM_SORT_RECORD);
    EXPECT_EQ(headerClickCommand(kColDuration, f.doc), IDM_SORT_DURATION);
    for (int column : {kColReel, kColSrcOut, kColRecOut, kColSpare})
        EXPECT_EQ(headerClickCommand(column, f.doc), 0) << column;
    f.doc.currentView = kReelUsage;
    EXPECT_EQ(headerClickCommand(kColSrcIn, f.doc), 0); // kReelUsage has no rows
    f.doc.viewCount[kReelUsage] = 2;
    EXPECT_EQ(headerClickCommand(kColSrcIn, f.doc), IDM_SORT_SOURCE);
}

TEST(ListKeys, LettersAreSwallowedAndArrowsWakeTheSelectionWorker) {
    ListFixture f({0, 0, 0});
    EXPECT_EQ(listKeyAction('0', f.doc), ListKeyAction::Swallow);
    EXPECT_EQ(listKeyAction('Z', f.doc), ListKeyAction::Swallow);
    EXPECT_EQ(listKeyAction(0x70 /* F1 */, f.doc), ListKeyAction::Swallow);
    EXPECT_EQ(listKeyAction(0x21 /* Page Up */, f.doc), ListKeyAction::None);
    EXPECT_EQ(listKeyAction(kKeyUp, f.doc), ListKeyAction::SignalSelection);
    EXPECT_EQ(listKeyAction(kKeyDown, f.doc), ListKeyAction::SignalSelection);

    // A view of one row whose only row is current: nothing to follow.
    f.addHit(0);
    f.doc.currentView = kSearchResult;
    f.doc.currentRow[kSearchResult] = 0;
    EXPECT_EQ(listKeyAction(kKeyDown, f.doc), ListKeyAction::None);
    f.doc.currentRow[kSearchResult] = -1;
    EXPECT_EQ(listKeyAction(kKeyDown, f.doc), ListKeyAction::SignalSelection);
}

TEST(ListKeys, MovedFocusRowFollowsTheControlsRules) {
    struct Case {
        int key, focused, top, perPage, count, row;
    };
    const Case cases[] = {
        {kKeyDown, 5, 0, 20, 100, 6},        {kKeyDown, 99, 80, 20, 100, 99},
        {kKeyUp, 5, 0, 20, 100, 4},          {kKeyUp, 0, 0, 20, 100, 0},
        {kKeyDown, -1, 0, 20, 100, 0},       {kKeyHome, 50, 40, 20, 100, 0},
        {kKeyEnd, 50, 40, 20, 100, 99},      {kKeyPageDown, 45, 40, 20, 100, 59}, // to the page's last row
        {kKeyPageDown, 59, 40, 20, 100, 78},                                      // then a page further
        {kKeyPageDown, 95, 85, 20, 100, 99}, {kKeyPageUp, 45, 40, 20, 100, 40},   // to the page's first row
        {kKeyPageUp, 40, 40, 20, 100, 21},   {kKeyPageUp, 3, 3, 20, 100, 0},
        {kKeyDown, 0, 0, 20, 0, -1},         {'A', 5, 0, 20, 100, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(movedFocusRow(c.key, c.focused, c.top, c.perPage, c.count), c.row) << c.key << " from " << c.focused;
}

TEST(ListKeys, SelectedRowTrackerKnowsFewRowsOrNothing) {
    SelectedRowTracker t;
    t.selected(4);
    t.selected(4);
    t.selectedRange(7, 9);
    t.deselected(8);
    EXPECT_TRUE(t.known());
    EXPECT_EQ(t.rows().size(), 3u);
    t.deselectedRange(0, 7);
    EXPECT_EQ(t.rows(), std::vector<int>{9});
    t.selectedRange(0, static_cast<int>(SelectedRowTracker::kLimit)); // too many to follow
    EXPECT_FALSE(t.known());
    t.selected(1);
    EXPECT_TRUE(t.rows().empty());
    t.cleared();
    EXPECT_TRUE(t.known());
    for (int row = 0; row <= static_cast<int>(SelectedRowTracker::kLimit); ++row)
        t.selected(row);
    EXPECT_FALSE(t.known());
}

TEST(MemoColumnMarks, FormChangesWithTheColumnWidth) {
    EXPECT_EQ(memoMarkForm(25), MemoMarkForm::Letter);
    EXPECT_EQ(memoMarkForm(26), MemoMarkForm::IconAndText);
    EXPECT_EQ(markerMarkForm(0), MarkerMarkForm::None);
    EXPECT_EQ(markerMarkForm(27), MarkerMarkForm::None);
    EXPECT_EQ(markerMarkForm(28), MarkerMarkForm::Number);
    EXPECT_EQ(markerMarkForm(46), MarkerMarkForm::Number);
    EXPECT_EQ(markerMarkForm(47), MarkerMarkForm::Dot);
    EXPECT_EQ(markerDigit(0), u"1");
    EXPECT_EQ(markerDigit(7), u"8");
}

TEST(SortArrows, ImagesFollowTheShownViewsStateRow) {
    EdlDocument doc;
    doc.sortState[sortStateRow(kSearchResult)][kSortSource] = kSortAscending;
    doc.sortState[sortStateRow(kSearchResult)][kSortDuration] = kSortNone;
    doc.sortState[sortStateRow(kSearchResult)][kSortRecord] = kSortNone;
    doc.sortState[sortStateRow(kReelUsage)][kSortSource] = kSortNone;
    doc.sortState[sortStateRow(kReelUsage)][kSortDuration] = kSortDescending;
    doc.sortState[sortStateRow(kReelUsage)][kSortRecord] = kSortNone;
    doc.currentView = kAllEvents;
    SortArrowImages images = sortArrowImages(doc);
    EXPECT_EQ(images.source, 2);
    EXPECT_EQ(images.duration, 2);
    doc.currentView = kSearchResult;
    images = sortArrowImages(doc);
    EXPECT_EQ(images.source, 1);
    EXPECT_EQ(images.record, 2);
    EXPECT_EQ(images.duration, 2);
    doc.currentView = kReelUsage;
    images = sortArrowImages(doc);
    EXPECT_EQ(images.source, 2);
    EXPECT_EQ(images.duration, 0);
}

TEST(ListPosition, TopRowFollowsACurrentRowMoreThanAPageBelow) {
    EXPECT_EQ(adjustedTopRow(10, 0, 20), 0);
    EXPECT_EQ(adjustedTopRow(20, 0, 20), 0); // exactly a page below stays
    EXPECT_EQ(adjustedTopRow(21, 0, 20), 1);
    EXPECT_EQ(adjustedTopRow(100, 30, 20), 80);
    EXPECT_EQ(adjustedTopRow(5, 30, 20), 30); // above the top: left alone
}

TEST(MarkerColours, NineEntriesWithTheLastForUnmarkedRows) {
    EdlDocument doc;
    initNewDocumentHeader(doc, 0);
    doc.noMarkerColour = 0x123456;
    EXPECT_EQ(markerTableColour(doc, 0), 0x000AFFu);
    EXPECT_EQ(markerTableColour(doc, 1), 0xFF0000u);
    EXPECT_EQ(markerTableColour(doc, 7), 0u);
    EXPECT_EQ(markerTableColour(doc, kNoMarker), 0x123456u);
    EXPECT_EQ(markerTableColour(doc, -3), 0x123456u);
}

TEST(SelectionWorker, RowsOfTheSameEditAreThoseAWalkOverTheViewFinds) {
    // Edits of one, two and three events, the view sorted so that they stand apart.
    std::vector<EdlEvent> events(7);
    const int32_t groups[] = {-1, 2, 2, 3, 4, 4, 4};
    for (size_t i = 0; i < events.size(); ++i)
        events[i].editGroup = groups[i];
    std::vector<EdlEvent*> rows;
    for (int i : {4, 1, 0, 6, 3, 2, 5})
        rows.push_back(&events[static_cast<size_t>(i)]);
    SameEditRows edits;
    edits.index(rows.data(), 7);
    std::vector<int32_t> found;
    for (int32_t row = 0; row < 7; ++row) {
        std::vector<int32_t> walked;
        for (int32_t r = row; r >= 0; --r)
            if (rows[r]->editGroup == rows[row]->editGroup)
                walked.push_back(r);
        for (int32_t r = row; r < 7; ++r)
            if (rows[r]->editGroup == rows[row]->editGroup)
                walked.push_back(r);
        edits.rowsOfEditAt(row, found);
        EXPECT_EQ(found, walked) << "row " << row;
    }
    EXPECT_EQ(found, (std::vector<int32_t>{6, 3, 0, 6}));
}
