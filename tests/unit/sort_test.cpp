#include "model/timecode.h"
#include "model/view_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace qlp;

namespace {

// A document whose kSearchResult lists the given events.
struct ViewFixture {
    EdlDocument doc;
    std::vector<EdlEvent> events;
    std::vector<EdlEvent*> rows;

    explicit ViewFixture(std::vector<EdlEvent> evs) : events(std::move(evs)) {
        for (size_t i = 0; i < events.size(); ++i) {
            events[i].sequence = static_cast<int32_t>(i + 1);
            rows.push_back(&events[i]);
        }
        doc.view[kSearchResult] = rows.data();
        doc.viewCount[kSearchResult] = static_cast<int32_t>(rows.size());
        doc.currentView = kSearchResult;
        for (auto& row : doc.sortState)
            for (auto& s : row)
                s = kSortNone;
    }
    std::vector<int32_t> sequences() const {
        std::vector<int32_t> out;
        for (const EdlEvent* e : rows)
            out.push_back(e->sequence);
        return out;
    }
};

EdlEvent at(int32_t srcIn, int32_t recIn = 0, int32_t duration = 0) {
    EdlEvent e;
    e.srcIn = e.srcSortKey = srcIn;
    e.recIn = e.recSortKey = recIn;
    e.duration = duration;
    return e;
}

int32_t tc(int h, int m, int s = 0, int f = 0) {
    return h * 108000 + m * 1800 + s * 30 + f;
}

} // namespace

TEST(SortView, AscendingDescendingAndBackToEditOrder) {
    ViewFixture f({at(30), at(10), at(20), at(40)});
    sortView(f.doc, SortField::SrcSortKey, 0, 3, kSortAscending);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{2, 3, 1, 4}));
    sortView(f.doc, SortField::SrcSortKey, 0, 3, kSortDescending);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{4, 1, 3, 2}));
    sortByEditOrder(f.doc, 0, 3);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{1, 2, 3, 4}));
    // Empty and single-row ranges are left alone.
    sortView(f.doc, SortField::Duration, 0, -1, kSortAscending);
    sortView(f.doc, SortField::Duration, 2, 2, kSortAscending);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{1, 2, 3, 4}));
}

// Equal keys keep the order partitioning leaves them in: the same permutation every time.
TEST(SortView, EqualKeysFollowThePartitioning) {
    ViewFixture f({at(5), at(5), at(1), at(5), at(1)});
    sortView(f.doc, SortField::SrcSortKey, 0, 4, kSortAscending);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{3, 5, 1, 4, 2})); // traced by hand
}

TEST(SortView, LargeViewsAreOrderedAndAdversarialInputStaysFast) {
    std::mt19937 rng(7);
    std::vector<EdlEvent> evs;
    for (int i = 0; i < 20000; ++i)
        evs.push_back(at(0, 0, static_cast<int32_t>(rng() % 5000)));
    ViewFixture f(evs);
    sortView(f.doc, SortField::Duration, 0, 19999, kSortDescending);
    EXPECT_TRUE(std::is_sorted(f.rows.begin(), f.rows.end(),
                               [](const EdlEvent* a, const EdlEvent* b) { return a->duration > b->duration; }));
    // Keys arranged so that the middle row is always the smallest: without a guard this takes
    // quadratic time and deep recursion.
    const int n = 100000;
    std::vector<EdlEvent> killer(n);
    std::vector<int> slot(n);
    for (int i = 0; i < n; ++i)
        slot[i] = i;
    for (int v = 0, lo = 0, hi = n - 1; lo <= hi; ++v) {
        const int mid = lo + (hi - lo) / 2;
        killer[slot[mid]].duration = v;
        std::swap(slot[mid], slot[lo]);
        ++lo;
    }
    ViewFixture k(killer);
    sortView(k.doc, SortField::Duration, 0, n - 1, kSortAscending);
    EXPECT_TRUE(std::is_sorted(k.rows.begin(), k.rows.end(),
                               [](const EdlEvent* a, const EdlEvent* b) { return a->duration < b->duration; }));
}

TEST(ReapplySort, UsesTheStoredStateOfTheView) {
    ViewFixture f({at(tc(1, 0), tc(10, 2), 90), at(tc(2, 0), tc(10, 1), 30), at(tc(3, 0), tc(10, 0), 60)});
    reapplySort(f.doc); // all states 2: EDL order stays
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{1, 2, 3}));
    f.doc.sortState[sortStateRow(kSearchResult)][kSortDuration] = kSortAscending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{2, 3, 1}));
    f.doc.sortState[sortStateRow(kSearchResult)][kSortDuration] = kSortNone;
    f.doc.sortState[sortStateRow(kSearchResult)][kSortRecord] = kSortAscending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{3, 2, 1}));
    // The source state wins: ascending source order is the reverse of the record order left by
    // the previous sort, and of the duration order too.
    f.doc.sortState[sortStateRow(kSearchResult)][kSortSource] = kSortAscending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{1, 2, 3}));
    f.doc.sortState[sortStateRow(kSearchResult)][kSortDuration] = kSortAscending;
    f.doc.sortState[sortStateRow(kSearchResult)][kSortSource] = kSortDescending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{3, 2, 1}));
    f.doc.currentView = kAllEvents; // kAllEvents is never reordered
    f.doc.view[kAllEvents] = f.rows.data();
    f.doc.viewCount[kAllEvents] = 3;
    f.doc.sortState[sortStateRow(kSearchResult)][kSortSource] = kSortAscending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{3, 2, 1}));
}

// A reel whose P-VTR INs are 23:59:00.00 and 00:01:00.00 sorts as one range across midnight, and
// repeating the sort neither reorders nor drifts the keys.
TEST(ReapplySort, ListsRunningPastMidnight) {
    ViewFixture f({at(tc(0, 1)), at(tc(23, 59))});
    f.doc.sortState[sortStateRow(kSearchResult)][kSortSource] = kSortAscending;
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(f.events[1].srcSortKey, tc(0, 59));
    EXPECT_EQ(f.events[0].srcSortKey, tc(1, 1));
    reapplySort(f.doc);
    EXPECT_EQ(f.sequences(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(f.events[1].srcSortKey, tc(0, 59));

    ViewFixture r({at(0, tc(0, 0, 10)), at(0, tc(23, 59, 50))});
    r.doc.sortState[sortStateRow(kSearchResult)][kSortRecord] = kSortAscending;
    reapplySort(r.doc);
    EXPECT_EQ(r.sequences(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(hourShift(tc(23, 30)), tc(0, 30));
}
