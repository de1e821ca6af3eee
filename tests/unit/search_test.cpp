#include "model/timecode.h"
#include "model/view_order.h"
#include "ops/search.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qlp;

namespace {

int32_t tc(int h, int m, int s = 0, int f = 0) {
    return h * kFramesPerHour + m * kFramesPerMinute + s * 30 + f;
}

struct Span {
    int32_t in, out;
};

// Events in EDL order: a span, a zero-length event, one crossing midnight (DF source), one ending
// on 01:00:00.00, a DF source, and one whose source runs backwards.
struct EventSpec {
    Span src;
    int32_t srcDf;
    Span rec;
    int32_t duration, reel, marker;
};
const std::vector<EventSpec> kEvents = {
    {{tc(1, 0), tc(1, 0, 10)}, 0, {tc(10, 0), tc(10, 0, 10)}, 300, 0, kNoMarker},
    {{tc(1, 0, 10), tc(1, 0, 10)}, 0, {tc(10, 0, 10), tc(10, 0, 10)}, 0, 1, 2},
    {{tc(23, 59, 50), tc(0, 0, 10)}, 1, {tc(23, 59, 50), tc(0, 0, 10)}, 600, 0, kNoMarker},
    {{tc(0, 59, 50), tc(1, 0)}, 0, {tc(11, 0), tc(11, 0, 5)}, 150, 1, 2},
    {{tc(1, 0, 5), tc(1, 0, 20)}, 1, {tc(12, 0), tc(12, 0, 1)}, 30, 0, 0},
    {{tc(2, 0, 10), tc(2, 0)}, 0, {tc(13, 0), tc(13, 0, 30)}, 900, 2, kNoMarker},
};

struct SearchFixture {
    EdlDocument doc;
    std::vector<EdlEvent> events;
    std::vector<EdlEvent*> rows[3];

    SearchFixture() : events(kEvents.size() + 1) {
        for (size_t i = 0; i < kEvents.size(); ++i) {
            const EventSpec& s = kEvents[i];
            EdlEvent& e = events[i];
            e.srcIn = s.src.in;
            e.srcOut = s.src.out;
            e.srcDropFrame = s.srcDf;
            e.recIn = e.recSortKey = s.rec.in;
            e.recOut = s.rec.out;
            e.duration = s.duration;
            e.reelIndex = s.reel;
            e.marker = s.marker;
            e.sequence = static_cast<int32_t>(i + 1);
        }
        for (auto& r : rows)
            r.assign(events.size(), nullptr);
        for (size_t i = 0; i < kEvents.size(); ++i)
            rows[0][i] = &events[i];
        doc.events = events.data();
        for (int v = 0; v < 3; ++v)
            doc.view[v] = rows[v].data();
        doc.viewCount[kAllEvents] = static_cast<int32_t>(kEvents.size());
        for (auto& row : doc.sortState)
            for (auto& s : row)
                s = kSortNone;
    }
    std::vector<int> hits() const {
        std::vector<int> out;
        for (int32_t i = 0; i < doc.viewCount[kSearchResult]; ++i)
            out.push_back(static_cast<int>(doc.view[kSearchResult][i] - doc.events));
        return out;
    }
    std::vector<int> flagged() const {
        std::vector<int> out;
        for (size_t i = 0; i < kEvents.size(); ++i)
            if (events[i].searchHit)
                out.push_back(static_cast<int>(i));
        return out;
    }
};

} // namespace

TEST(SpanTest, BoundsOperatorsAndMidnight) {
    const int32_t A = tc(1, 0);
    const int32_t B = tc(1, 0, 20);
    struct Row {
        const char* what;
        Span span;
        int32_t op, a, b;
        bool match;
    } rows[] = {
        {"ge: OUT equal to A is outside", {tc(0, 59, 50), A}, kOpAtOrAbove, A, -1, false},
        {"ge: OUT one frame past A", {tc(0, 59, 50), A + 1}, kOpAtOrAbove, A, -1, true},
        {"ge: zero-length on A", {A, A}, kOpAtOrAbove, A, -1, false},
        {"gt: zero-length on A", {A, A}, kOpAbove, A, -1, true},
        {"gt: zero-length a frame before A", {A - 1, A - 1}, kOpAbove, A, -1, false},
        {"gt: span ending on A", {A - 30, A}, kOpAbove, A, -1, false},
        {"le: IN on A", {A, A + 30}, kOpAtOrBelow, A, -1, false},
        {"le: IN a frame before A", {A - 1, A + 30}, kOpAtOrBelow, A, -1, true},
        {"lt: IN a frame before A", {A - 1, A + 30}, kOpBelow, A, -1, true},
        {"lt: IN on A", {A, A + 30}, kOpBelow, A, -1, false},
        {"le ignores a second bound", {A - 1, A}, kOpAtOrBelow, A, A - 5, true},
        {"ge with B: IN a frame before B", {B - 1, B + 5}, kOpAtOrAbove, A, B, true},
        {"ge with B: IN on B", {B, B + 5}, kOpAtOrAbove, A, B, false},
        {"gt with B: zero-length on A", {A, A}, kOpAbove, A, B, true},
        {"reversed span is taken OUT..IN", {A + 30, A - 30}, kOpAtOrBelow, A, -1, true},
        {"reversed span reaches past A", {A + 30, A - 30}, kOpAtOrAbove, A, -1, true},
        {"midnight: ge 23:59:55", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrAbove, tc(23, 59, 55), -1, true},
        {"midnight: ge 00:00:05", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrAbove, tc(0, 0, 5), -1, true},
        {"midnight: ge 00:00:10", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrAbove, tc(0, 0, 10), -1, false},
        {"midnight: le 23:59:50", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrBelow, tc(23, 59, 50), -1, false},
        {"midnight: le 00:00:00", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrBelow, tc(0, 0), -1, true},
        // A bound in hour 23 wraps to hour 0 when shifted: compared as 00:30:00.00.
        {"midnight: le 23:30:00", {tc(23, 59, 50), tc(0, 0, 10)}, kOpAtOrBelow, tc(23, 30), -1, false},
        {"midnight: ge 23:59:55 with B 00:00:05",
         {tc(23, 59, 50), tc(0, 0, 10)},
         kOpAtOrAbove,
         tc(23, 59, 55),
         tc(0, 0, 5),
         true},
        {"hour 22 reversed is not midnight", {tc(22, 0, 10), tc(22, 0)}, kOpAtOrBelow, tc(22, 0, 5), -1, true},
        {"first bound unset", {A, A + 30}, kOpAtOrAbove, -1, -1, false},
        {"first bound unset, zero-length on -1 (a damaged project)", {-1, -1}, kOpAbove, -1, -1, false},
        {"unknown comparison", {A, A + 30}, 4, A, -1, false},
        {"end of day", {tc(23, 59, 59, 28), tc(23, 59, 59, 29)}, kOpAtOrAbove, tc(23, 59, 59, 28), -1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(spanTest(r.span.in, r.span.out, r.op, r.a, r.b), r.match) << r.what;
}

TEST(DurationTest, EveryComparison) {
    struct Row {
        int32_t d, lowerOp, upperOp, a, b;
        bool match;
    } rows[] = {
        {300, kOpAtOrAbove, 0, 300, -1, true},
        {299, kOpAtOrAbove, 0, 300, -1, false},
        {300, kOpAbove, 0, 300, -1, false},
        {301, kOpAbove, 0, 300, -1, true},
        {300, kOpAtOrBelow, 0, 300, -1, true},
        {300, kOpBelow, 0, 300, -1, false},
        {299, kOpBelow, 0, 300, -1, true},
        {600, kOpAtOrAbove, kUpperAtOrBelow, 300, 600, true},
        {600, kOpAtOrAbove, kUpperBelow, 300, 600, false},
        {599, kOpAbove, kUpperBelow, 300, 600, true},
        {0, kOpAtOrBelow, kUpperBelow, 300, 0, true}, // a second bound only follows ge and gt
        {0, kOpAtOrAbove, 0, 0, -1, true},
        {5, kOpAtOrAbove, 0, -1, -1, false},
        {5, kOpAtOrAbove, 7, 0, 10, false},
        {INT32_MAX, kOpAbove, 0, INT32_MAX, -1, false}, // no bound overflows
        {INT32_MIN, kOpBelow, 0, INT32_MIN, -1, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(durationTest(r.d, r.lowerOp, r.upperOp, r.a, r.b), r.match)
            << r.d << " op " << r.lowerOp << "/" << r.upperOp << " " << r.a << ".." << r.b;
}

TEST(RunSearch, EachCriterionAndTheirCombination) {
    struct Row {
        const char* what;
        int32_t flags;
        int32_t reel, marker;
        int32_t srcOp, srcDf, srcA, srcB;
        int32_t recOp, recA, recB;
        int32_t durOp, durUpper, durA, durB;
        std::vector<int> hits;
    } rows[] = {
        // clang-format off
        {"source ge NDF", kSearchSource, 0, 8, kOpAtOrAbove, 0, tc(1, 0), -1, 0, -1, -1, 0, 0, -1, -1, {0, 1, 5}},
        {"source gt NDF", kSearchSource, 0, 8, kOpAbove, 0, tc(1, 0, 10), -1, 0, -1, -1, 0, 0, -1, -1, {1, 5}},
        {"source ge on a zero-length", kSearchSource, 0, 8, kOpAtOrAbove, 0, tc(1, 0, 10), -1, 0, -1, -1, 0, 0, -1, -1, {5}},
        {"source le NDF", kSearchSource, 0, 8, kOpAtOrBelow, 0, tc(1, 0), -1, 0, -1, -1, 0, 0, -1, -1, {3}},
        {"source lt NDF", kSearchSource, 0, 8, kOpBelow, 0, tc(1, 0), -1, 0, -1, -1, 0, 0, -1, -1, {3}},
        {"source window", kSearchSource, 0, 8, kOpAtOrAbove, 0, tc(1, 0), tc(1, 0, 10), 0, -1, -1, 0, 0, -1, -1, {0}},
        {"source DF across midnight", kSearchSource, 0, 8, kOpAtOrAbove, 1, tc(23, 59, 55), -1, 0, -1, -1, 0, 0, -1, -1, {2}},
        {"source DF before 01:00:06", kSearchSource, 0, 8, kOpBelow, 1, tc(1, 0, 6), -1, 0, -1, -1, 0, 0, -1, -1, {2, 4}},
        {"source unset", kSearchSource, 0, 8, kOpAtOrAbove, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {}},
        {"record across midnight", kSearchRecord, 0, 8, 0, 0, -1, -1, kOpAtOrAbove, tc(23, 59, 55), -1, 0, 0, -1, -1, {2}},
        {"record le", kSearchRecord, 0, 8, 0, 0, -1, -1, kOpAtOrBelow, tc(10, 0, 10), -1, 0, 0, -1, -1, {0, 2}},
        {"record window", kSearchRecord, 0, 8, 0, 0, -1, -1, kOpAtOrAbove, tc(10, 0, 5), tc(12, 0), 0, 0, -1, -1, {0, 1, 3}},
        {"duration ge le", kSearchDuration, 0, 8, 0, 0, -1, -1, 0, -1, -1, kOpAtOrAbove, kUpperAtOrBelow, 300, 600, {0, 2}},
        {"duration ge lt", kSearchDuration, 0, 8, 0, 0, -1, -1, 0, -1, -1, kOpAtOrAbove, kUpperBelow, 300, 600, {0}},
        {"duration gt", kSearchDuration, 0, 8, 0, 0, -1, -1, 0, -1, -1, kOpAbove, 0, 300, -1, {2, 5}},
        {"duration le", kSearchDuration, 0, 8, 0, 0, -1, -1, 0, -1, -1, kOpAtOrBelow, 0, 150, -1, {1, 3, 4}},
        {"duration lt", kSearchDuration, 0, 8, 0, 0, -1, -1, 0, -1, -1, kOpBelow, 0, 150, -1, {1, 4}},
        {"reel", kSearchReel, 1, 8, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {1, 3}},
        {"marker", kSearchMarker, 0, 2, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {1, 3}},
        {"no marker", kSearchMarker, 0, 8, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {0, 2, 5}},
        {"all five", 31, 0, 8, kOpAtOrAbove, 1, tc(23, 59, 55), -1, kOpAbove, tc(23, 0), tc(23, 59, 51), kOpAtOrAbove, kUpperAtOrBelow, 600, 600, {2}},
        {"all five, one fails", 31, 0, 8, kOpAtOrAbove, 1, tc(23, 59, 55), -1, kOpAbove, tc(23, 0), tc(23, 59, 51), kOpAtOrAbove, kUpperBelow, 600, 600, {}},
        {"a bit that names no criterion", 32, 0, 8, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {}},
        {"marker and an unknown bit", kSearchMarker | 64, 0, 8, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {}},
        {"the sign bit", INT32_MIN | kSearchReel, 1, 8, 0, 0, -1, -1, 0, -1, -1, 0, 0, -1, -1, {}},
        // clang-format on
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SearchFixture f;
        SearchSettings& s = f.doc.search;
        s.searchFlags = r.flags;
        s.searchReel = r.reel;
        s.searchMarker = r.marker;
        s.lowerOp[0] = r.srcOp;
        s.slotDropFrame[0] = r.srcDf;
        s.slotValue[0] = r.srcA;
        s.slotValue[3] = r.srcB;
        s.lowerOp[1] = r.recOp;
        s.slotValue[1] = r.recA;
        s.slotValue[4] = r.recB;
        s.lowerOp[2] = r.durOp;
        s.upperOp[2] = r.durUpper;
        s.slotValue[2] = r.durA;
        s.slotValue[5] = r.durB;
        // A stale hit of an earlier search is cleared first.
        f.events[4].searchHit = 1;
        f.rows[1][0] = &f.events[4];
        f.doc.viewCount[kSearchResult] = 1;
        const SearchOutcome outcome = runSearch(f.doc);
        EXPECT_TRUE(outcome.ran);
        EXPECT_EQ(outcome.hits, static_cast<int32_t>(r.hits.size()));
        EXPECT_EQ(outcome.effect, SearchViewEffect::Redraw);
        EXPECT_EQ(f.hits(), r.hits);
        EXPECT_EQ(f.flagged(), r.hits);
    }
}

TEST(RunSearch, WhatTheShownViewBecomes) {
    SearchFixture f;
    // No criterion: nothing runs.
    f.doc.search.searchFlags = 0;
    EXPECT_FALSE(runSearch(f.doc).ran);
    EXPECT_FALSE(searchButtonEnabled(f.doc));
    setSearchFlag(f.doc.search, kSearchDuration, true);
    f.doc.search.slotValue[2] = 0;
    EXPECT_TRUE(searchButtonEnabled(f.doc));

    // Shown kSearchResult with hits is ordered by its stored sort state, keeping its position.
    f.doc.currentView = kSearchResult;
    f.doc.currentRow[kSearchResult] = 2;
    f.doc.sortState[sortStateRow(kSearchResult)][kSortDuration] = kSortDescending;
    SearchOutcome outcome = runSearch(f.doc);
    EXPECT_EQ(outcome.effect, SearchViewEffect::Reordered);
    EXPECT_EQ(f.hits(), (std::vector<int>{5, 2, 0, 3, 4, 1}));
    EXPECT_EQ(f.doc.currentRow[kSearchResult], 2);
    EXPECT_TRUE(clearSearchButtonEnabled(f.doc));

    // Shown kSearchResult left without hits falls back to kAllEvents.
    f.doc.search.lowerOp[2] = kOpBelow;
    outcome = runSearch(f.doc);
    EXPECT_EQ(outcome.effect, SearchViewEffect::FellBack);
    EXPECT_EQ(outcome.hits, 0);
    EXPECT_EQ(f.doc.currentView, kAllEvents);
    EXPECT_EQ(f.doc.currentRow[kSearchResult], 0);
    EXPECT_EQ(f.flagged(), std::vector<int>{});
    EXPECT_FALSE(clearSearchButtonEnabled(f.doc));

    // Clearing: hits and flags go; a shown kSearchResult gives way to kAllEvents, kReelUsage is only redrawn.
    f.doc.search.lowerOp[2] = kOpAtOrAbove;
    runSearch(f.doc);
    f.doc.currentView = kSearchResult;
    f.doc.topRow[kSearchResult] = 3;
    EXPECT_EQ(clearSearch(f.doc), SearchViewEffect::FellBack);
    EXPECT_EQ(f.doc.currentView, kAllEvents);
    EXPECT_EQ(f.doc.topRow[kSearchResult], 0);
    EXPECT_EQ(f.doc.viewCount[kSearchResult], 0);
    EXPECT_EQ(f.flagged(), std::vector<int>{});
    runSearch(f.doc);
    f.doc.currentView = kReelUsage;
    EXPECT_EQ(clearSearch(f.doc), SearchViewEffect::Redraw);
    EXPECT_EQ(f.doc.currentView, kReelUsage);
}

TEST(SearchSettings, PanelRules) {
    SearchSettings s;
    setSearchFlag(s, kSearchReel, true);
    setSearchFlag(s, kSearchMarker, true);
    setSearchFlag(s, kSearchReel, false);
    EXPECT_EQ(s.searchFlags, kSearchMarker);
    // The second bound is open after at or above and above, once the first bound is set.
    EXPECT_EQ(std::vector<bool>({takesSecondBound(kOpAtOrAbove), takesSecondBound(kOpAbove),
                                 takesSecondBound(kOpAtOrBelow), takesSecondBound(kOpBelow)}),
              std::vector<bool>({true, true, false, false}));
    EXPECT_FALSE(secondBoundEnabled(s, kCriterionRecord));
    s.slotValue[kCriterionRecord] = 0;
    EXPECT_TRUE(secondBoundEnabled(s, kCriterionRecord));
    s.lowerOp[kCriterionRecord] = kOpAtOrBelow;
    EXPECT_FALSE(secondBoundEnabled(s, kCriterionRecord));
    EXPECT_FALSE(secondBoundEnabled(s, 3));
    setSearchReelText(s, u"TAPE0123");
    EXPECT_EQ(std::u16string(s.searchReelText), u"TAPE012");
}
