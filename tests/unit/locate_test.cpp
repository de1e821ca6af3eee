#include "ops/locate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qlp;

namespace {

// kAllEvents of events with the given EDIT texts.
struct LocateFixture {
    EdlDocument doc;
    std::vector<EdlEvent> events;
    std::vector<EdlEvent*> rows;

    LocateFixture(std::vector<std::u16string> edits, int32_t lastEdit) : events(edits.size()) {
        for (size_t i = 0; i < edits.size(); ++i) {
            edits[i].copy(events[i].text[kColEdit], edits[i].size());
            rows.push_back(&events[i]);
        }
        doc.events = events.data();
        doc.view[kAllEvents] = rows.data();
        doc.viewCount[kAllEvents] = static_cast<int32_t>(rows.size());
        doc.lastEditNumber = lastEdit;
    }
};

} // namespace

TEST(Locate, EnteredNumbers) {
    struct Row {
        const char16_t* text;
        bool accepted;
        const char16_t* stored; // locateText afterwards
    } rows[] = {
        {u"7", true, u"0007"},   {u"250", true, u"0250"},   {u"0250", true, u"0250"}, {u"1", true, u"0001"},
        {u"0", false, u"0099"},  {u"251", false, u"0099"},  {u"", false, u"0099"},    {u"x5", false, u"0099"},
        {u"12x", true, u"0012"}, {u"00250", true, u"0025"}, // the edit holds four characters
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text, r.text + std::char_traits<char16_t>::length(r.text)));
        LocateFixture f({u"0001"}, 250);
        std::u16string(u"0099").copy(f.doc.locateText, 4);
        const LocateEntryOutcome o = enterLocateNumber(f.doc, r.text);
        EXPECT_EQ(o.accepted, r.accepted);
        EXPECT_EQ(locateText(f.doc), r.stored);
        EXPECT_EQ(o.message, r.accepted ? u"" : u"1-250 までの数値を入力して下さい。");
    }
}

TEST(Locate, FirstEventOfTheEditGapsAndShortTexts) {
    LocateFixture f({u"0001", u"0002", u"0002", u"0004", u"7", u"0007"}, 7);
    f.doc.currentView = kSearchResult;
    f.doc.currentRow[kAllEvents] = 5;
    f.doc.topRow[kAllEvents] = 3;
    struct Row {
        const char16_t* entry;
        int32_t row;
    } rows[] = {{u"2", 1}, {u"4", 3}, {u"1", 0}, {u"3", -1}, {u"7", 5}};
    for (const Row& r : rows) {
        ASSERT_TRUE(enterLocateNumber(f.doc, r.entry).accepted);
        const int32_t before = f.doc.currentRow[kAllEvents];
        EXPECT_EQ(locateEdit(f.doc), r.row);
        EXPECT_EQ(f.doc.currentView, kAllEvents);
        if (r.row >= 0) {
            EXPECT_EQ(f.doc.currentRow[kAllEvents], r.row);
            EXPECT_EQ(f.doc.topRow[kAllEvents], r.row);
        } else {
            EXPECT_EQ(f.doc.currentRow[kAllEvents], before); // a gap in the numbers moves nothing
        }
    }
    LocateFixture empty({u"0001"}, 1);
    EXPECT_EQ(findLocatedRow(empty.doc), -1); // nothing located yet
}
