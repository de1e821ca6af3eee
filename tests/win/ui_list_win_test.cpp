// The event list in the real main window: the rows of the three views, presenting a document,
// returning to the stored position, switching views, header clicks, keys, double clicks, select
// all, and how a row is drawn.

#include "main_window_fixture.h"

#include "model/timecode.h"
#include "model/view_order.h"
#include "ops/views.h"
#include "screen/column_layout.h"
#include "ui/event_list.h"

namespace qlp {
namespace {

using test::click;
using test::MainCommandSpy;
using test::PixelCanvas;
using test::selectedRows;
using test::utf8;
using test::wasSignalled;

constexpr int kEvents = 120;
constexpr COLORREF kSelection = RGB(0, 20, 255);
constexpr COLORREF kGrey = RGB(230, 230, 230);
constexpr COLORREF kOrange = RGB(255, 100, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class EventListTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        loadGenerated(kEvents);
    }

    void clickHeader(int column) {
        HWND header = ui().controls.header;
        RECT r;
        ASSERT_TRUE(Header_GetItemRect(header, column, &r));
        click(header, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(EventListTest, RowsShowTheColumnTextsOfTheShownView) {
    show();
    const EdlDocument& doc = ui().document;
    ASSERT_EQ(doc.viewCount[kAllEvents], kEvents);
    EXPECT_EQ(ListView_GetItemCount(list), kEvents);
    EXPECT_EQ(rowText(0, kColEdit), L"0001");
    EXPECT_EQ(rowText(0, kColReel), L"TAPE01");
    EXPECT_EQ(rowText(0, kColSrcIn), L"01:20:00.00");
    EXPECT_EQ(rowText(1, kColReel), L"TAPE02");
    EXPECT_EQ(rowText(kEvents - 1, kColEdit), L"0120");
    EXPECT_EQ(rowText(kEvents - 1, kColRecOut), L"10:02:00.00");
    EXPECT_EQ(rowText(kEvents - 1, kColSpare), L"");
    for (int c = 0; c < kColumnCount; ++c)
        EXPECT_EQ(rowText(5, c), toWide(columnText(*doc.view[kAllEvents][5], c))) << c;

    // Only a request for column 0 (every repaint of a row asks for it) wakes the selection worker.
    DisplayWorkers& w = ui().workers;
    stopWorkers(w);
    wasSignalled(w.selectionChanged());
    rowText(3, kColReel);
    EXPECT_FALSE(wasSignalled(w.selectionChanged()));
    rowText(3, kColEdit);
    EXPECT_TRUE(wasSignalled(w.selectionChanged()));
    startWorkers(w);
}

TEST_F(EventListTest, ShowingPresentsTheDocumentsSearchPanelAndControls) {
    EdlDocument& doc = ui().document;
    SearchSettings& s = doc.search;
    s.searchFlags = 2 | 16; // source timecode and marker
    s.lowerOp[0] = 1;
    s.upperOp[0] = 1;
    s.slotValue[0] = kFramesPerHour; // source has a first bound
    s.lowerOp[1] = 0;                // record has none
    s.lowerOp[2] = 2;                // duration: "以下" takes no second bound
    s.slotValue[2] = 30;
    s.searchReel = 2;
    s.searchMarker = 1;
    doc.reelFilter = 1;
    show();

    const ControlTable& c = ui().controls;
    EXPECT_TRUE(GetWindowLongW(c.tab, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(c.tab)); // the file commands enable it when they are done
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(IsWindowEnabled(list));

    // Reel combo boxes list the reels in reel order; the marker combo box points at the names.
    for (int id : {IDC_SEARCH_REEL, IDC_VIEW_REEL}) {
        ASSERT_EQ(SendMessageW(control(id), CB_GETCOUNT, 0, 0), 3) << id;
        wchar_t text[16] = {};
        SendMessageW(control(id), CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, L"TAPE03");
    }
    ASSERT_EQ(SendMessageW(control(IDC_SEARCH_MARKER), CB_GETCOUNT, 0, 0), 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(SendMessageW(control(IDC_SEARCH_MARKER), CB_GETITEMDATA, k, 0),
                  reinterpret_cast<LRESULT>(doc.markerNames[k]));

    EXPECT_EQ(comboSelection(IDC_SRC_LOWER_OP), 1);
    EXPECT_EQ(comboSelection(IDC_SRC_UPPER_OP), 1);
    EXPECT_EQ(comboSelection(IDC_DUR_LOWER_OP), 2);
    EXPECT_EQ(comboSelection(IDC_SEARCH_REEL), 2);
    EXPECT_EQ(comboSelection(IDC_SEARCH_MARKER), 1);
    EXPECT_EQ(comboSelection(IDC_VIEW), kAllEvents);
    EXPECT_EQ(comboSelection(IDC_VIEW_REEL), 1);
    for (int id : {IDC_SRC_LOWER_OP, IDC_REC_LOWER_OP, IDC_DUR_LOWER_OP, IDC_SEARCH_REEL, IDC_SEARCH_MARKER, IDC_VIEW,
                   IDC_SRC_UPPER_OP})
        EXPECT_TRUE(IsWindowEnabled(control(id))) << id;
    for (int id : {IDC_REC_UPPER_OP, IDC_DUR_UPPER_OP, IDC_VIEW_REEL})
        EXPECT_FALSE(IsWindowEnabled(control(id))) << id;
    // Second-bound cells follow their first bound only.
    EXPECT_TRUE(IsWindowEnabled(control(IDC_SRC_UPPER)));
    EXPECT_FALSE(IsWindowEnabled(control(IDC_REC_UPPER)));
    EXPECT_TRUE(IsWindowEnabled(control(IDC_DUR_UPPER)));

    const int checked[] = {0, 1, 0, 0, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(IsWindowEnabled(control(IDC_CHECK_REEL + i)));
        EXPECT_EQ(SendMessageW(control(IDC_CHECK_REEL + i), BM_GETCHECK, 0, 0), checked[i]) << i;
    }
    for (int id = IDC_TOGGLE_COMMENT; id <= IDC_REEL_INFO; ++id) {
        if (id != IDC_CLEAR_SEARCH) {
            EXPECT_TRUE(IsWindowEnabled(control(id))) << id;
        }
    }
    EXPECT_FALSE(IsWindowEnabled(control(IDC_CLEAR_SEARCH))); // no search result
    for (int id : {IDC_HIT_COUNTER, IDC_COUNT_MODE, IDC_EDIT_COUNT, IDC_REEL_COUNT, IDC_OFFSET_CELL, IDC_REEL_LINE,
                   IDC_SRC_LOWER, IDC_REC_LOWER, IDC_DUR_LOWER, IDC_MARKER_CELL1, IDC_MARKER_CELL8})
        EXPECT_TRUE(IsWindowEnabled(control(id))) << id;

    // A freshly converted EDL stores the comment mode; showing it flips to the work memo, which
    // can be edited.
    EXPECT_EQ(doc.commentMode, 1);
    EXPECT_TRUE(IsWindowEnabled(c.memo));
    EXPECT_FALSE(GetWindowLongW(c.memo, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(doc.search.slotDropFrame[1], doc.dropFrame);
}

TEST_F(EventListTest, ShowingAStoredCommentModeAndSearchResult) {
    EdlDocument& doc = ui().document;
    doc.commentMode = 1; // saved in memo mode: comes up showing option comments, read-only
    addHit(3);
    addHit(9);
    doc.currentView = kSearchResult;
    doc.sortState[sortStateRow(kSearchResult)][kSortRecord] = kSortDescending;
    show();
    EXPECT_EQ(doc.commentMode, 0);
    EXPECT_TRUE(GetWindowLongW(control(IDC_MEMO), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(rowText(1, kColEdit), L"0010");
    EXPECT_EQ(comboSelection(IDC_VIEW), kSearchResult);
    EXPECT_TRUE(IsWindowEnabled(control(IDC_CLEAR_SEARCH)));
    EXPECT_EQ(headerImage(kColSrcIn), kSortNone);
    EXPECT_EQ(headerImage(kColRecIn), kSortDescending);
    EXPECT_EQ(headerImage(kColDuration), kSortNone);
    EXPECT_EQ(headerImage(kColEdit), -1);
    EXPECT_EQ(headerImage(kColSrcOut), -1);
}

TEST_F(EventListTest, RestoringThePositionScrollsAndSelectsTheCurrentRow) {
    EdlDocument& doc = ui().document;
    doc.topRow[kAllEvents] = 40;
    doc.currentRow[kAllEvents] = 45;
    show();
    stopWorkers(ui().workers); // nothing moves the rows behind the test's back
    const int perPage = ListView_GetCountPerPage(list);
    ASSERT_GT(perPage, 5);
    ASSERT_LT(perPage, 60);
    RECT row0;
    ListView_GetItemRect(list, 0, &row0, LVIR_LABEL);
    EXPECT_EQ(doc.rowHeight, row0.bottom - row0.top);
    EXPECT_GT(doc.rowHeight, 15);
    EXPECT_EQ(ListView_GetTopIndex(list), 40);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 45);
    EXPECT_EQ(selectedRows(list), std::vector<int>{45});

    // A current row more than a page below the top row pulls the top row down to a page above it.
    doc.topRow[kAllEvents] = 0;
    doc.currentRow[kAllEvents] = 100;
    restoreListPosition();
    EXPECT_EQ(doc.topRow[kAllEvents], 100 - perPage);
    // The scroll goes to that row; Wine's list then brings the newly focused row, which lies just
    // below the page, fully into view.
    EXPECT_GE(ListView_GetTopIndex(list), 100 - perPage);
    EXPECT_LE(ListView_GetTopIndex(list), 100 - perPage + 1);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 100);

    // Back up to the top; without a current row nothing more is selected.
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    doc.topRow[kAllEvents] = 0;
    doc.currentRow[kAllEvents] = -1;
    restoreListPosition();
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    EXPECT_TRUE(selectedRows(list).empty());
    startWorkers(ui().workers);
}

// Switch List Display steps from the normal list to the search result (only when it has rows), to
// the reel usage and back. Each step shows the view's rows and selects its combo item; only the
// reel usage offers the reel choice, only the search result and the reel usage show sort arrows,
// and the document is marked modified, since the shown view is stored with it.
struct ViewSwitch {
    const char* name;
    std::vector<int> hits;
    std::vector<int> views; // the view shown after each switch
};

class SwitchListDisplay : public EventListTest, public ::testing::WithParamInterface<ViewSwitch> {};

TEST_P(SwitchListDisplay, StepsThroughTheViewsThatHaveRows) {
    const ViewSwitch& p = GetParam();
    EdlDocument& doc = ui().document;
    for (int i : p.hits)
        addHit(i);
    show();
    TabEntry* entry = ui().currentEntry;
    ASSERT_EQ(entry->saveState, kSaved);

    for (int view : p.views) {
        command(IDM_SWITCH_VIEW);
        ASSERT_EQ(doc.currentView, view);
        EXPECT_EQ(comboSelection(IDC_VIEW), view);
        // Every event, the hits, or the events of the first reel, TAPE01 (every third), by edit.
        std::vector<int> events;
        for (int i = 0; i < kEvents; ++i)
            if (view == kAllEvents || (view == kReelUsage && i % 3 == 0))
                events.push_back(i);
        if (view == kSearchResult)
            events = p.hits;
        ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(events.size())) << view;
        for (size_t r = 0; r < events.size(); ++r) {
            std::wstring edit = std::to_wstring(events[r] + 1);
            edit.insert(0, 4 - edit.size(), L'0');
            EXPECT_EQ(rowText(static_cast<int>(r), kColEdit), edit) << "view " << view << " row " << r;
        }
        EXPECT_EQ(IsWindowEnabled(control(IDC_VIEW_REEL)) != FALSE, view == kReelUsage) << view;
        for (int column : {kColSrcIn, kColRecIn, kColDuration})
            EXPECT_EQ(headerImage(column), view == kAllEvents ? -1 : kSortNone) << view << " " << column;
        EXPECT_EQ(entry->saveState, kModified);
        EXPECT_TRUE(IsWindowEnabled(list));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EventListTest, SwitchListDisplay,
    ::testing::Values(
        ViewSwitch{"WithHitsCyclesThroughTheThreeViews", {2, 4, 7, 50}, {kSearchResult, kReelUsage, kAllEvents}},
        ViewSwitch{"WithoutHitsGoesStraightToReelUsageAndBack", {}, {kReelUsage, kAllEvents}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventListTest, EachViewComesBackAtItsOwnRow) {
    EdlDocument& doc = ui().document;
    for (int i = 0; i < 60; ++i)
        addHit(i);
    doc.currentRow[kAllEvents] = 70;
    doc.topRow[kAllEvents] = 65;
    doc.currentRow[kSearchResult] = 30;
    doc.topRow[kSearchResult] = 25;
    show();
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kSearchResult);
    EXPECT_EQ(ListView_GetTopIndex(list), 25);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 30);
    command(IDM_SWITCH_VIEW);
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kAllEvents);
    EXPECT_EQ(ListView_GetTopIndex(list), 65);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 70);
}

TEST_F(EventListTest, TheViewSwitchesOnlyWhenTheDropDownCloses) {
    EdlDocument& doc = ui().document;
    doc.reelFilter = 2;
    doc.sortState[sortStateRow(kReelUsage)][kSortSource] = kSortAscending;
    show();
    HWND combo = control(IDC_VIEW);
    // Arrow keys in the closed box change the selection, which alone switches nothing.
    SendMessageW(combo, CB_SETCURSEL, kReelUsage, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(doc.currentView, kAllEvents);
    EXPECT_EQ(ListView_GetItemCount(list), kEvents);

    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(doc.currentView, kReelUsage);
    // kReelUsage is rebuilt for the chosen reel and ordered by its stored sort: ascending source times,
    // which fall with the edit number in this EDL.
    ASSERT_EQ(ListView_GetItemCount(list), kEvents / 3);
    EXPECT_EQ(rowText(0, kColEdit), L"0120");
    EXPECT_EQ(rowText(0, kColReel), L"TAPE03");
    EXPECT_EQ(rowText(39, kColEdit), L"0003");
    EXPECT_EQ(headerImage(kColSrcIn), kSortAscending);
    EXPECT_EQ(headerImage(kColDuration), kSortNone);

    // Closing the box on the view already shown changes nothing.
    ui().currentEntry->saveState = kSaved;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(ui().currentEntry->saveState, kSaved);
}

TEST_F(EventListTest, ChoosingAViewWithoutRowsFallsBackToTheNormalList) {
    EdlDocument& doc = ui().document;
    show();
    command(IDM_SWITCH_VIEW); // to kReelUsage
    ASSERT_EQ(doc.currentView, kReelUsage);
    HWND combo = control(IDC_VIEW);
    SendMessageW(combo, CB_SETCURSEL, kSearchResult, 0); // empty
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(doc.currentView, kAllEvents);
    EXPECT_EQ(comboSelection(IDC_VIEW), kAllEvents);
    EXPECT_EQ(ListView_GetItemCount(list), kEvents);
    EXPECT_FALSE(IsWindowEnabled(control(IDC_VIEW_REEL)));
    EXPECT_EQ(headerImage(kColSrcIn), -1);
}

TEST_F(EventListTest, HeaderClicksSortOnlyTheSearchResultAndReelUsage) {
    for (int i : {1, 2, 3})
        addHit(i);
    show();
    MainCommandSpy spy(hwnd);
    for (int column : {kColEdit, kColSrcIn, kColRecIn, kColDuration})
        clickHeader(column);
    EXPECT_TRUE(spy.commands.empty()) << "all events are never sorted";

    switchListDisplay(); // the spy would keep command 40222 from the window
    ASSERT_EQ(ui().document.currentView, kSearchResult);
    for (int column : {kColEdit, kColReel, kColSrcIn, kColSrcOut, kColRecIn, kColDuration, kColSpare})
        clickHeader(column);
    EXPECT_EQ(spy.commands,
              (std::vector<int>{IDM_SORT_EDIT_ORDER, IDM_SORT_SOURCE, IDM_SORT_RECORD, IDM_SORT_DURATION}));
}

TEST_F(EventListTest, DoubleClickSetsTheMarkerAndLettersAreSwallowed) {
    show();
    MainCommandSpy spy(hwnd);
    RECT row;
    ListView_GetItemRect(list, 2, &row, LVIR_BOUNDS);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 100, (row.top + row.bottom) / 2));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(row.left + 100, (row.top + row.bottom) / 2));
    EXPECT_EQ(spy.commands, std::vector<int>{IDM_SET_MARKER});

    // The key-down notification: digits and letters are answered with 1; Up and Down wake the
    // selection worker unless a one-row view's only row is already current.
    DisplayWorkers& w = ui().workers;
    stopWorkers(w);
    wasSignalled(w.selectionChanged());
    auto keyDown = [&](WORD key) {
        NMLVKEYDOWN nm{};
        nm.hdr.hwndFrom = list;
        nm.hdr.idFrom = IDC_LIST;
        nm.hdr.code = LVN_KEYDOWN;
        nm.wVKey = key;
        return SendMessageW(hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
    };
    EXPECT_EQ(keyDown('A'), 1);
    EXPECT_EQ(keyDown('7'), 1);
    EXPECT_FALSE(wasSignalled(w.selectionChanged()));
    EXPECT_EQ(keyDown(VK_DOWN), 0);
    EXPECT_TRUE(wasSignalled(w.selectionChanged()));
    EXPECT_EQ(keyDown(VK_UP), 0);
    EXPECT_TRUE(wasSignalled(w.selectionChanged()));
    EXPECT_EQ(keyDown(VK_NEXT), 0);
    EXPECT_FALSE(wasSignalled(w.selectionChanged()));
    startWorkers(w);

    // Typing in the list moves nothing.
    ListView_SetItemState(list, 5, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    SendMessageW(list, WM_CHAR, 'T', 1);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 5);
}

TEST_F(EventListTest, SelectAllSelectsEveryRow) {
    show();
    command(IDM_SELECT_ALL);
    EXPECT_EQ(ListView_GetSelectedCount(list), static_cast<UINT>(kEvents));
}

// ---- Drawing a row ------------------------------------------------------------------------------------

class RowDrawingTest : public EventListTest {
protected:
    void SetUp() override {
        EventListTest::SetUp();
        EdlDocument& doc = ui().document;
        doc.markerColours[2] = RGB(0, 160, 0);
        doc.view[kAllEvents][0]->marker = 2;
        addHit(1);
        doc.view[kAllEvents][2]->marker = 2;
        addMemo(3, u"Check 照明");
        show();
        stopWorkers(ui().workers);
        // As wide as the rows, which run past the list's client area.
        RECT client, row;
        GetClientRect(list, &client);
        ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
        canvas = std::make_unique<PixelCanvas>(std::max(client.right, row.right + 400), client.bottom);
    }
    void TearDown() override {
        canvas.reset();
        EventListTest::TearDown();
    }

    // Draws row `row` into the cleared canvas as the list would ask for it, and returns its
    // rectangle.
    RECT draw(int row, UINT state = 0) {
        canvas->clear();
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = IDC_LIST;
        item.itemID = row;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = list;
        item.hDC = canvas->dc();
        ListView_GetItemRect(list, row, &item.rcItem, LVIR_BOUNDS);
        drawListRow(item);
        return item.rcItem;
    }

    // The memo column of a row as the row drawing uses it (moved 2 pixels right).
    RECT memoColumn(int row) {
        RECT r;
        ListView_GetSubItemRect(list, row, kColSpare, LVIR_LABEL, &r);
        r.left += 2;
        return r;
    }

    // Sets the memo column so that the drawing sees it `width` pixels wide.
    void setMemoWidth(int width) {
        const int column = ListView_GetColumnWidth(list, kColSpare);
        const RECT r = memoColumn(0);
        ListView_SetColumnWidth(list, kColSpare, column + width - (r.right - r.left));
        const RECT check = memoColumn(0);
        ASSERT_EQ(check.right - check.left, width);
    }

    std::unique_ptr<PixelCanvas> canvas;
};

TEST_F(RowDrawingTest, PlainSelectedAndFocusedRows) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    RECT r = draw(5);
    const int area = (r.right - r.left) * (r.bottom - r.top);
    EXPECT_GT(canvas->count(window, r), area * 8 / 10);
    EXPECT_GT(canvas->count(kBlack, r), 20); // unmarked rows take the ninth colour: black
    EXPECT_EQ(canvas->count(kOrange, r), 0);

    r = draw(6, ODS_SELECTED);
    EXPECT_GT(canvas->count(kSelection, r), area * 8 / 10);
    EXPECT_GT(canvas->count(kWhite, r), 20);
    EXPECT_EQ(canvas->count(kBlack, r), 0);

    // The focus rectangle runs along the row's edge, its bottom a pixel above the row's.
    r = draw(7, ODS_SELECTED | ODS_FOCUS);
    int changed = 0;
    for (int x = r.left; x < r.right; ++x)
        changed += canvas->at(x, r.top) != kSelection;
    EXPECT_GT(changed, (r.right - r.left) / 4);
    EXPECT_EQ(canvas->at(r.left + 300, r.bottom - 1), kSelection);

    // Nothing is drawn while no document is loaded.
    ui().document.loaded = 0;
    const RECT untouched = draw(8);
    EXPECT_EQ(canvas->count(PixelCanvas::kUntouched, untouched),
              (untouched.right - untouched.left) * (untouched.bottom - untouched.top));
    ui().document.loaded = 1;
}

TEST_F(RowDrawingTest, SearchHitsKeepTheirOrangeFrameWhenSelected) {
    RECT r = draw(1);
    EXPECT_EQ(canvas->at(r.left, r.top + 1), kOrange);
    EXPECT_EQ(canvas->at(r.right - 1, r.bottom - 2), kOrange);
    EXPECT_EQ(canvas->at(r.left + 300, r.top + 1), kOrange);
    EXPECT_EQ(canvas->at(r.left + 300, r.top), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(canvas->at(r.left + 300, r.top + 2), kGrey);
    EXPECT_GT(canvas->count(kGrey, r), (r.right - r.left) * (r.bottom - r.top) / 2);

    r = draw(1, ODS_SELECTED);
    EXPECT_EQ(canvas->at(r.left, r.top + 1), kOrange);
    EXPECT_EQ(canvas->at(r.left + 300, r.top + 2), kSelection);
    EXPECT_EQ(canvas->count(kGrey, r), 0);
    EXPECT_GT(canvas->count(kWhite, r), 20);
}

TEST_F(RowDrawingTest, MarkerColourTextAndDotOrNumberByColumnWidth) {
    const COLORREF green = RGB(0, 160, 0);
    setMemoWidth(200);
    RECT r = draw(0);
    RECT memo = memoColumn(0);
    // The row's text in the marker colour; the dot centred at (left + 13, top + 11).
    EXPECT_GT(canvas->count(green, RECT{r.left, r.top, memo.left, r.bottom}), 20);
    EXPECT_EQ(canvas->at(memo.left + 13, memo.top + 11), green);
    EXPECT_EQ(canvas->at(memo.left + 5, memo.top + 11), kBlack); // its black outline
    // Selected: white text, the dot keeps the marker colour.
    r = draw(0, ODS_SELECTED);
    EXPECT_EQ(canvas->count(green, RECT{r.left, r.top, memo.left, r.bottom}), 0);
    EXPECT_EQ(canvas->at(memo.left + 13, memo.top + 11), green);

    auto markIn = [&](int width, COLORREF colour) {
        setMemoWidth(width);
        const RECT row = draw(0);
        const RECT m = memoColumn(0);
        return canvas->count(colour, RECT{m.left, row.top, m.right, row.bottom});
    };
    EXPECT_GT(markIn(47, green), 40); // dot
    EXPECT_EQ(markIn(46, green), 0);  // no dot ...
    EXPECT_GT(markIn(46, kBlack), 5); // ... but the number, in black
    EXPECT_GT(markIn(28, kBlack), 0); // cut at the column's edge
    EXPECT_EQ(markIn(27, kBlack), 0); // no mark at all
    EXPECT_EQ(markIn(27, green), 0);
}

TEST_F(RowDrawingTest, MemoIconAndTextOrJustC) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    setMemoWidth(300);
    RECT r = draw(3);
    RECT memo = memoColumn(3);
    // The icon at (left + 30, top + 3), 16 x 16, and the memo text from left + 55.
    const RECT icon{memo.left + 30, memo.top + 3, memo.left + 46, memo.top + 19};
    EXPECT_LT(canvas->count(window, icon), 16 * 16 - 20);
    EXPECT_GT(canvas->count(kBlack, RECT{memo.left + 55, r.top, memo.right, r.bottom}), 20);
    EXPECT_EQ(canvas->count(kBlack, RECT{memo.left, r.top, memo.left + 29, r.bottom}), 0);
    r = draw(3, ODS_SELECTED);
    EXPECT_GT(canvas->count(kWhite, RECT{memo.left + 55, r.top, memo.right, r.bottom}), 20);

    setMemoWidth(26);
    r = draw(3);
    memo = memoColumn(3);
    EXPECT_LT(canvas->count(window, RECT{memo.left + 30, memo.top + 3, memo.left + 46, memo.top + 19}), 16 * 16 - 20);

    // Narrower: just "C" at the column's left.
    setMemoWidth(25);
    r = draw(3);
    memo = memoColumn(3);
    EXPECT_GT(canvas->count(kBlack, RECT{memo.left, r.top, memo.left + 12, r.bottom}), 5);
    EXPECT_EQ(canvas->count(kBlack, RECT{memo.left + 14, r.top, memo.left + 60, r.bottom}), 0);
}

// Reel names are matched against tape labels: every character, down to an underscore's lowest
// pixels, is drawn whole, in the list font and in the bold font of a search hit.
TEST_F(RowDrawingTest, UnderscoresInReelNamesAreDrawn) {
    const PaintTable& p = ui().paint;
    struct Case {
        int row;
        HFONT font;
        COLORREF background;
    };
    for (const Case& c : {Case{5, p.list, GetSysColor(COLOR_WINDOW)}, Case{1, p.listBold, kGrey}}) {
        constexpr char16_t kReel[] = u"CAM_C";
        std::copy(std::begin(kReel), std::end(kReel), ui().document.view[kAllEvents][c.row]->text[kColReel]);
        const RECT r = draw(c.row);
        RECT cell;
        ListView_GetSubItemRect(list, c.row, kColReel, LVIR_LABEL, &cell);
        HGDIOBJ old = SelectObject(canvas->dc(), c.font);
        TEXTMETRICW metrics;
        GetTextMetricsW(canvas->dc(), &metrics);
        SIZE before;
        GetTextExtentPoint32W(canvas->dc(), L"CAM", 3, &before);
        SelectObject(canvas->dc(), old);
        // The text is centred in the row; the underscore lies in its own cell from the capitals'
        // lowest row (the row above the baseline) down to the hit frame's lower edge.
        const int baseline = r.top + (r.bottom - r.top - metrics.tmHeight) / 2 + metrics.tmAscent;
        const int left = cell.left + 2 + before.cx;
        const RECT underscore{left, baseline - 1, left + metrics.tmAveCharWidth, r.bottom - 2};
        const int area = (underscore.right - underscore.left) * (underscore.bottom - underscore.top);
        EXPECT_GT(area - canvas->count(c.background, underscore), metrics.tmAveCharWidth / 2) << c.row;
    }
}

// ---- Keys that move the focus -------------------------------------------------------------------------

// A key press as the keyboard delivers it to the focused list, with Shift held or not.
void pressKey(HWND list, WORD key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageW(list, WM_KEYDOWN, key, 1);
    SendMessageW(list, WM_KEYUP, key, 0xC0000001);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    UpdateWindow(list);
}

TEST_F(EventListTest, MovingKeysKeepTheSelectionRules) {
    show();
    ShowWindow(hwnd, SW_SHOW);
    SetFocus(list);
    DisplayWorkers& w = ui().workers;
    const EdlDocument& doc = ui().document;
    auto focused = [&] { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); };
    // The worker follows the focus after each repaint: settled once it has and its passes stop.
    auto settled = [&] {
        const DWORD start = GetTickCount();
        for (;;) {
            const uint32_t passes = w.selection.passes.load();
            test::pumpMessages(60);
            if (passes == w.selection.passes.load() && doc.currentRow[kAllEvents] == focused())
                return true;
            if (GetTickCount() - start > 5000)
                return false;
        }
    };
    // Events 10 and 11 form one edit, so the worker selects both whichever of them is current.
    ui().document.view[kAllEvents][11]->editGroup = ui().document.view[kAllEvents][10]->editGroup;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 9, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(settled());
    const int page = ListView_GetCountPerPage(list);
    const int top = ListView_GetTopIndex(list);
    struct Step {
        WORD key;
        bool shift;
        int focus;
        std::vector<int> selected;
    };
    const Step steps[] = {
        {VK_DOWN, false, 10, {10, 11}}, // the worker adds the rest of the edit
        {VK_DOWN, false, 11, {10, 11}},
        {VK_DOWN, false, 12, {12}},
        {VK_UP, false, 11, {10, 11}},
        {VK_DOWN, true, 12, {11, 12}}, // Shift selects from the anchor, the last row moved to
        {VK_DOWN, true, 13, {11, 12, 13}},
        {VK_UP, false, 12, {12}},
        {VK_NEXT, false, top + page - 1, {top + page - 1}}, // to the page's last row first
        {VK_HOME, false, 0, {0}},
        {VK_END, false, kEvents - 1, {kEvents - 1}},
        {VK_PRIOR, false, kEvents - page, {kEvents - page}},
    };
    for (const Step& step : steps) {
        pressKey(list, step.key, step.shift);
        ASSERT_TRUE(settled()) << step.key;
        EXPECT_EQ(focused(), step.focus) << step.key;
        EXPECT_EQ(test::selectedRows(list), step.selected) << step.key;
    }
    // With the same-edit selection off, the arrow moves focus and selection alone.
    toggleMultiSelection(w);
    pressKey(list, VK_HOME);
    pressKey(list, VK_DOWN);
    EXPECT_EQ(focused(), 1);
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{1});
    toggleMultiSelection(w);
    ShowWindow(hwnd, SW_HIDE);
}

// 100 presses of Down with the workers running move the focus 100 rows in a large list as in a
// small one (what they cost is the timing program's business: qlp_ui_timings).
class ListKeysTest : public test::MainWindowTest {
protected:
    int focusAfterHundredDowns(int events) {
        loadGenerated(events);
        show();
        ShowWindow(hwnd, SW_SHOW);
        SetFocus(list);
        for (int i = 0; i < 100; ++i) {
            pressKey(list, VK_DOWN);
            test::pumpMessages(0);
        }
        const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        ShowWindow(hwnd, SW_HIDE);
        forgetDocument();
        TabCtrl_DeleteAllItems(ui().controls.tab);
        return focused;
    }
};

TEST_F(ListKeysTest, HundredDownsMoveTheFocusInASmallAndALargeList) {
    EXPECT_EQ(focusAfterHundredDowns(100), 99);
    EXPECT_EQ(focusAfterHundredDowns(100000), 100);
}

} // namespace
} // namespace qlp
