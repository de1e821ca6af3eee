#include "screen/list_view.h"

#include "model/view_order.h"
#include "ops/views.h"
#include "resource.h"

#include <algorithm>

namespace qlp {

int headerClickCommand(int column, const EdlDocument& doc) {
    const int view = doc.currentView;
    if ((view != kSearchResult && view != kReelUsage) || doc.viewCount[view] < 1)
        return 0;
    switch (column) {
    case kColEdit:
        return IDM_SORT_EDIT_ORDER;
    case kColSrcIn:
        return IDM_SORT_SOURCE;
    case kColRecIn:
        return IDM_SORT_RECORD;
    case kColDuration:
        return IDM_SORT_DURATION;
    default:
        return 0;
    }
}

ListKeyAction listKeyAction(int virtualKey, const EdlDocument& doc) {
    if (virtualKey >= 0x30)
        return ListKeyAction::Swallow;
    if (virtualKey != kKeyUp && virtualKey != kKeyDown)
        return ListKeyAction::None;
    // A single row that is already current cannot move; the worker would have nothing to follow.
    const int view = shownView(doc);
    if (doc.viewCount[view] == 1 && doc.currentRow[view] == 0)
        return ListKeyAction::None;
    return ListKeyAction::SignalSelection;
}

int movedFocusRow(int virtualKey, int focusedRow, int topRow, int rowsPerPage, int rowCount) {
    if (rowCount <= 0)
        return -1;
    const int page = rowsPerPage > 0 ? rowsPerPage : 1;
    const int pageEnd = topRow + page - 1;
    int row;
    switch (virtualKey) {
    case kKeyUp:
        row = focusedRow - 1;
        break;
    case kKeyDown:
        row = focusedRow + 1;
        break;
    case kKeyHome:
        row = 0;
        break;
    case kKeyEnd:
        row = rowCount - 1;
        break;
    case kKeyPageUp:
        row = focusedRow == topRow ? topRow - page + 1 : topRow;
        break;
    case kKeyPageDown:
        row = focusedRow == pageEnd ? focusedRow + page - 1 : pageEnd;
        break;
    default:
        return -1;
    }
    return row < 0 ? 0 : (row >= rowCount ? rowCount - 1 : row);
}

void SelectedRowTracker::selected(int row) {
    if (!known_ || std::find(rows_.begin(), rows_.end(), row) != rows_.end())
        return;
    if (rows_.size() >= kLimit)
        lost();
    else
        rows_.push_back(row);
}

void SelectedRowTracker::deselected(int row) {
    if (const auto at = std::find(rows_.begin(), rows_.end(), row); at != rows_.end()) {
        *at = rows_.back();
        rows_.pop_back();
    }
}

void SelectedRowTracker::selectedRange(int first, int last) {
    if (last - first >= static_cast<int>(kLimit)) {
        lost();
        return;
    }
    for (int row = first; row <= last && known_; ++row)
        selected(row);
}

void SelectedRowTracker::deselectedRange(int first, int last) {
    std::erase_if(rows_, [&](int row) { return row >= first && row <= last; });
}

void SelectedRowTracker::cleared() {
    rows_.clear();
    known_ = true;
}

void SelectedRowTracker::lost() {
    rows_.clear();
    known_ = false;
}

MemoMarkForm memoMarkForm(int columnWidth) {
    return columnWidth >= 26 ? MemoMarkForm::IconAndText : MemoMarkForm::Letter;
}

MarkerMarkForm markerMarkForm(int columnWidth) {
    if (columnWidth > 46)
        return MarkerMarkForm::Dot;
    if (columnWidth > 27)
        return MarkerMarkForm::Number;
    return MarkerMarkForm::None;
}

SortArrowImages sortArrowImages(const EdlDocument& doc) {
    SortArrowImages images;
    const int view = doc.currentView;
    if (view < kSearchResult || view >= kViewCount)
        return images;
    const int32_t* state = doc.sortState[sortStateRow(view)];
    images.source = state[kSortSource];
    images.record = state[kSortRecord];
    images.duration = state[kSortDuration];
    return images;
}

int32_t adjustedTopRow(int32_t currentRow, int32_t topRow, int rowsPerPage) {
    if (currentRow - topRow > rowsPerPage)
        return currentRow - rowsPerPage;
    return topRow;
}

void SameEditRows::index(EdlEvent* const* rows, int32_t count) {
    if (rows == rows_ && count == count_)
        return;
    rows_ = rows;
    count_ = count;
    byEdit_.resize(static_cast<size_t>(std::max(count, 0)));
    for (int32_t r = 0; r < count; ++r)
        byEdit_[static_cast<size_t>(r)] = {rows[r]->editGroup, r};
    std::sort(byEdit_.begin(), byEdit_.end());
}

void SameEditRows::rowsOfEditAt(int32_t row, std::vector<int32_t>& out) const {
    out.clear();
    if (row < 0 || row >= count_)
        return;
    // The rows of the edit, ascending; `row` splits them into the downward and the upward run.
    const auto [first, last] = std::equal_range(byEdit_.begin(), byEdit_.end(), std::pair{rows_[row]->editGroup, row},
                                                [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto split = std::lower_bound(first, last, std::pair{rows_[row]->editGroup, row});
    for (auto it = split + 1; it != first;)
        out.push_back((--it)->second);
    for (auto it = split; it != last; ++it)
        out.push_back(it->second);
}

} // namespace qlp
