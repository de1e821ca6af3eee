#pragma once
// The four sort commands of the search-result and reel-usage views: by source start, by record
// time, by duration (each first ascending, then alternating) and back to edit order. Each keeps
// the view's sort state row and gives the status-bar text to show.

#include "model/document.h"

#include <cstdint>
#include <string>

namespace qlp {

struct SortCommandOutcome {
    bool sorted = false;   // false when the command does not apply (kAllEvents, not a sort command)
    int32_t rows = 0;      // rows of the sorted view
    std::u16string status; // status-bar part 2
};

// Runs sort command IDM_SORT_SOURCE, IDM_SORT_RECORD, IDM_SORT_DURATION or IDM_SORT_EDIT_ORDER on
// the shown view (1 or 2). A sort key's state goes ascending the first time, then alternates; the
// other two states of the row are reset. Lists that run past midnight have their keys moved an
// hour later first, so they sort as one continuous range.
SortCommandOutcome runSortCommand(EdlDocument& doc, int command);

} // namespace qlp
