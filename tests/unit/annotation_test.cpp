#include "model/bytes.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "ops/markers.h"
#include "ops/memos.h"
#include "ops/simple_notes.h"
#include "ops/views.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

void loadEdl(const std::string& name, EdlDocument& doc) {
    const std::vector<uint8_t> edl = readBytes(dataPath(name));
    const std::string_view text(reinterpret_cast<const char*>(edl.data()), edl.size());
    MemorySink sink;
    ASSERT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    ASSERT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc), LoadStatus::Ok);
}

// Saves, loads the image into a fresh document and checks that saving that gives the same bytes.
void expectSurvivesSaveAndLoad(EdlDocument& doc, EdlDocument& back) {
    const std::vector<uint8_t> saved = imageOf(doc);
    ASSERT_EQ(loadProjectImage(saved.data(), saved.size(), back), LoadStatus::Ok);
    EXPECT_TRUE(imageOf(back) == saved);
}

std::vector<int32_t> markersOf(const EdlDocument& doc) {
    std::vector<int32_t> markers;
    for (int32_t i = 0; i < doc.eventCount(); ++i)
        markers.push_back(doc.events[i].marker);
    return markers;
}

} // namespace

TEST(Markers, SetAndDeleteOverTheSelectedRowsOfTheShownView) {
    constexpr int32_t N = kNoMarker;
    struct Case {
        const char* name;
        int view;
        bool set;
        int32_t searchFlags;
        std::vector<int32_t> rows;
        std::vector<int32_t> markers; // per event, in EDL order
        std::vector<int32_t> hits;
        int32_t changed;
        bool rerun;
    };
    // kSearchResult holds events 1, 3 and 5 (all marked 2 before a delete); kReelUsage the events of reel TAPE01.
    const Case cases[] = {
        {"set in all events",
         kAllEvents,
         true,
         0,
         {0, 2, 7},
         {4, N, 4, N, N, N, N, 4},
         {0, 1, 0, 1, 0, 1, 0, 0},
         3,
         false},
        {"no row selected", kAllEvents, true, 0, {}, {N, N, N, N, N, N, N, N}, {0, 1, 0, 1, 0, 1, 0, 0}, 0, false},
        {"rows past the view",
         kSearchResult,
         true,
         0,
         {1, 3, -1},
         {N, N, N, 4, N, N, N, N},
         {0, 1, 0, 1, 0, 1, 0, 0},
         1,
         true},
        {"set in reel usage",
         kReelUsage,
         true,
         0,
         {0, 2},
         {4, N, N, N, N, N, 4, N},
         {0, 1, 0, 1, 0, 1, 0, 0},
         2,
         false},
        {"delete, search by reel",
         kSearchResult,
         false,
         1,
         {0, 2},
         {N, N, N, 2, N, N, N, N},
         {0, 1, 0, 1, 0, 1, 0, 0},
         2,
         true},
        {"delete, search by marker",
         kSearchResult,
         false,
         kSearchByMarker | 1,
         {0, 2},
         {N, N, N, 2, N, N, N, N},
         {0, 0, 0, 1, 0, 0, 0, 0},
         2,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EdlDocument doc;
        loadEdl("ndf_basic.EDL", doc);
        for (int i : {1, 3, 5}) {
            doc.events[i].searchHit = 1;
            doc.view[kSearchResult][doc.viewCount[kSearchResult]++] = &doc.events[i];
            if (!c.set)
                doc.events[i].marker = 2;
        }
        doc.reelFilter = 1; // TAPE01: events 0, 3 and 6
        rebuildReelUsageView(doc);
        doc.currentView = c.view;
        doc.currentMarker = 4;
        doc.search.searchFlags = c.searchFlags;

        const MarkerOutcome out = c.set ? setMarker(doc, c.rows) : deleteMarker(doc, c.rows);
        EXPECT_EQ(out.rowsChanged, c.changed);
        EXPECT_EQ(out.rerunSearch, c.rerun);
        EXPECT_EQ(markersOf(doc), c.markers);
        for (int32_t i = 0; i < doc.eventCount(); ++i)
            EXPECT_EQ(doc.events[i].searchHit, c.hits[static_cast<size_t>(i)]) << i;
        // Events that left the search result stay listed in kSearchResult until the search runs again; a
        // load lists only the hits, and from there the file reads back byte for byte.
        EdlDocument loaded, back;
        const std::vector<uint8_t> saved = imageOf(doc);
        ASSERT_EQ(loadProjectImage(saved.data(), saved.size(), loaded), LoadStatus::Ok);
        EXPECT_EQ(loaded.viewCount[kSearchResult], std::count(c.hits.begin(), c.hits.end(), 1));
        EXPECT_EQ(markersOf(loaded), c.markers);
        expectSurvivesSaveAndLoad(loaded, back);
    }
}

TEST(Markers, SettingsKeepColoursUntilAcceptedAndDescriptionsOnOneLine) {
    EdlDocument doc;
    loadEdl("ndf_basic.EDL", doc);
    doc.markerColours[2] = 0x0000AA; // the document's colour differs from every colour passed below
    MarkerSettingsEdit edit = beginMarkerSettings(doc);
    applyPickedColour(doc, edit, 2, true, 0x123456);
    EXPECT_EQ(edit.colours[2], 0x123456u);
    EXPECT_EQ(pickerStartColour(doc, 2), 0x0000AAu); // the picker starts again from the document's colour
    applyPickedColour(doc, edit, 2, false, 0x777777);
    EXPECT_EQ(edit.colours[2], 0x0000AAu); // a cancelled picker resets the kind to the document's colour
    applyPickedColour(doc, edit, 3, true, 0xABCDEF);
    std::array<uint32_t, 16> custom{};
    custom[5] = 0x00FF00;
    keepCustomColours(doc, custom);
    takeMarkerName(doc, 4, u"line\r\nbreak\rand\nmore, and then far too long");
    EXPECT_EQ(std::u16string(doc.markerNames[4]), u"line break and more, a"); // 22 characters
    EXPECT_EQ(doc.markerColours[3], 0u);        // cancelling here would keep the colours...
    EXPECT_EQ(doc.customColours[5], 0x00FF00u); // ...but not the custom colours

    const std::array<std::u16string_view, 8> names{u"a", u"b", u"c", u"d", u"e\n", u"f", u"g", u"h"};
    acceptMarkerSettings(doc, edit, names);
    EXPECT_EQ(doc.markerColours[3], 0xABCDEFu);
    EXPECT_EQ(std::u16string(doc.markerNames[4]), u"e ");
    EdlDocument back;
    expectSurvivesSaveAndLoad(doc, back);
    EXPECT_EQ(back.customColours[5], 0x00FF00u);
}

TEST(WorkMemo, WriteReplaceAndRemoveWithExactLength) {
    const std::u16string longMemo(800, u'メ');
    struct Step {
        int32_t commentMode;
        int32_t currentRow; // in kAllEvents
        std::u16string text;
        MemoResult result;
        int32_t length; // of event 2's memo afterwards
    };
    const Step steps[] = {
        {1, 2, u"差し替え", MemoResult::Stored, 5},
        {1, 2, longMemo, MemoResult::Stored, 801},
        {1, 2, longMemo, MemoResult::Ignored, 801}, // unchanged
        {1, 2, u"短い", MemoResult::Stored, 3},
        {1, 2, longMemo, MemoResult::Stored, 801},
        {0, 2, u"comment mode", MemoResult::Ignored, 801},
        {1, -1, u"no row", MemoResult::Ignored, 801},
        {1, 2, u"", MemoResult::Removed, 0},
        {1, 2, u"x", MemoResult::Stored, 2},
    };
    EdlDocument doc;
    loadEdl("ndf_basic.EDL", doc);
    for (const Step& s : steps) {
        doc.commentMode = s.commentMode;
        doc.currentRow[kAllEvents] = s.currentRow;
        const MemoOutcome out = writeWorkMemo(doc, s.text);
        EXPECT_EQ(out.result, s.result);
        const EdlEvent& ev = doc.events[2];
        EXPECT_EQ(ev.workMemoLength, s.length);
        EXPECT_EQ(ev.hasWorkMemo, s.length ? 1 : 0);
        if (s.result == MemoResult::Stored) {
            EXPECT_EQ(workMemoText(ev), s.text);
        }
        EdlDocument back;
        expectSurvivesSaveAndLoad(doc, back);
        EXPECT_EQ(workMemoText(back.events[2]), workMemoText(ev));
    }
}

// Leaving the memo box stores its text again, and the notes dialog its body: the document's memory,
// released only as a whole, must not grow with it, nor with texts that fit in the block they have.
TEST(WorkMemo, StoringAgainKeepsTheDocumentsMemory) {
    EdlDocument doc;
    loadEdl("ndf_basic.EDL", doc);
    doc.commentMode = 1;
    doc.currentRow[kAllEvents] = 2;
    const std::u16string memo(500, u'メ');
    const std::u16string shorter(300, u'モ');
    ASSERT_EQ(writeWorkMemo(doc, memo).result, MemoResult::Stored);
    SimpleNote* note = newNote(doc);
    ASSERT_TRUE(storeNoteBody(doc, *note, memo));
    const size_t before = doc.heap->bytesReserved();
    const char16_t* block = doc.events[2].workMemo;
    for (int i = 0; i < 10000; ++i) {
        ASSERT_NE(writeWorkMemo(doc, memo).result, MemoResult::NoMemory);
        ASSERT_TRUE(storeNoteBody(doc, *note, memo));
    }
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(writeWorkMemo(doc, i % 2 ? memo : shorter).result, MemoResult::Stored);
        ASSERT_TRUE(storeNoteBody(doc, *note, i % 2 ? memo : shorter));
    }
    EXPECT_EQ(doc.heap->bytesReserved(), before);
    EXPECT_EQ(doc.events[2].workMemo, block);
    EXPECT_EQ(workMemoText(doc.events[2]), memo);
    EXPECT_EQ(noteBody(*note), memo);
    EXPECT_EQ(note->bodySize, static_cast<int32_t>(memo.size() * 2 + 2));
}

// Showing a document flips the mode once; a tab switch flips it once more after showing it.
TEST(CommentMode, ShowSwitchCloseAndReopen) {
    EdlDocument doc;
    loadEdl("ndf_basic.EDL", doc);        // a converted EDL stores 0
    EXPECT_EQ(toggleCommentMode(doc), 1); // opened: memo mode
    // A tab switch, else an opening (or the tab becoming current after a close), and the mode shown.
    const std::pair<bool, int32_t> steps[] = {{true, 1}, {false, 0}, {true, 0}, {false, 1}};
    for (const auto& [switchedTo, mode] : steps) {
        const std::vector<uint8_t> saved = imageOf(doc); // the work file or the project file
        EdlDocument shown;
        ASSERT_EQ(loadProjectImage(saved.data(), saved.size(), shown), LoadStatus::Ok);
        toggleCommentMode(shown);
        if (switchedTo)
            toggleCommentMode(shown);
        EXPECT_EQ(shown.commentMode, mode);
        moveDocument(doc, shown);
    }
}
