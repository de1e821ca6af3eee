#pragma once
// The quicksort the system orders its views and reel table with: Hoare partitioning around the
// value of the middle row, no secondary key, so rows with equal keys end up where partitioning
// leaves them. The order it produces is part of what the user sees, so every caller shares it.

#include <algorithm>

namespace qlp {

// Orders rows[lo..hi]. keyOf(row) gives a row's key; before(a, b) is true when key a belongs in
// front of key b (a < b ascending, a > b descending). The smaller part is sorted recursively and
// the larger one in the loop, which keeps the stack shallow and leaves the result unchanged
// (the parts are disjoint). A range that partitions badly for too long - only crafted input does
// that - is finished with a heap sort so that no input can make a sort take quadratic time.
template <typename Row, typename KeyOf, typename Before>
void hoareQuicksort(Row* rows, long lo, long hi, const KeyOf& keyOf, const Before& before, int depthLeft = -1) {
    if (depthLeft < 0) {
        depthLeft = 8;
        for (long n = hi - lo + 1; n > 1; n >>= 1)
            depthLeft += 3;
    }
    while (lo < hi) {
        if (depthLeft-- == 0) {
            auto rowBefore = [&](const Row& a, const Row& b) { return before(keyOf(a), keyOf(b)); };
            std::make_heap(rows + lo, rows + hi + 1, rowBefore);
            std::sort_heap(rows + lo, rows + hi + 1, rowBefore);
            return;
        }
        const auto pivot = keyOf(rows[lo + (hi - lo) / 2]);
        long i = lo - 1;
        long j = hi + 1;
        for (;;) {
            do
                ++i;
            while (before(keyOf(rows[i]), pivot));
            do
                --j;
            while (before(pivot, keyOf(rows[j])));
            if (i >= j)
                break;
            std::swap(rows[i], rows[j]);
        }
        // Left part lo..i-1, right part j+1..hi.
        if (i - 1 - lo < hi - (j + 1)) {
            if (lo < i - 1)
                hoareQuicksort(rows, lo, i - 1, keyOf, before, depthLeft);
            lo = j + 1;
        } else {
            if (j + 1 < hi)
                hoareQuicksort(rows, j + 1, hi, keyOf, before, depthLeft);
            hi = i - 1;
        }
    }
}

} // namespace qlp
