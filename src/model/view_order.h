#pragma once
// Ordering the search-result and reel-usage views. Sorting permutes only a view's array of event
// pointers; kAllEvents always stays in EDL order.

#include "model/document.h"

namespace qlp {

// The three sorts, in the order of a sortState row.
enum SortKind : int { kSortSource = 0, kSortDuration = 1, kSortRecord = 2 };

// The event field a sort compares.
enum class SortField { SrcSortKey, Duration, RecIn, RecSortKey, Sequence };

inline constexpr int32_t kSortDescending = 0;
inline constexpr int32_t kSortAscending = 1;
inline constexpr int32_t kSortNone = 2;

// Orders rows lo..hi of the view named by currentView; direction 1 ascending, otherwise descending.
void sortView(EdlDocument& doc, SortField key, long lo, long hi, int32_t direction);
// Orders rows lo..hi of the current view ascending by sequence (EDL order).
void sortByEditOrder(EdlDocument& doc, long lo, long hi);

// Source keys: P-VTR IN, each shifted an hour later when any row of the view starts in hour 23,
// so a list running past midnight sorts as one continuous range.
void prepareSourceKeys(EdlDocument& doc);
// Record keys as reapplySort prepares them: R-VTR IN, shifted an hour when any row's R-VTR IN lies
// in hour 23.
void prepareRecordKeys(EdlDocument& doc);

// Orders the whole current view by its stored sortState row (currentView - 1).
void reapplySort(EdlDocument& doc);

// A label count one hour later, wrapping past midnight.
int32_t hourShift(int32_t label);

} // namespace qlp
