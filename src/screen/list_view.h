#pragma once
// The rules behind the event list control: what a header click or a key does, the form the memo
// and marker marks take in a column of a given width, the selection the window tracks, the sort
// arrows of the header, and the scroll position the list returns to. The window code applies them
// to the list control.

#include "model/document.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace qlp {

// The command a click on the header of `column` sends to the main window, or 0. Only kSearchResult and
// 2 with rows are sorted from the header, by columns EDIT, P-VTR IN, R-VTR IN and DURATION.
int headerClickCommand(int column, const EdlDocument& doc);

// Virtual-key codes the list reacts to (the values Windows gives them).
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyEnd = 0x23;
inline constexpr int kKeyHome = 0x24;
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyDown = 0x28;

enum class ListKeyAction {
    Swallow,         // digits and letters: answered with 1, nothing else happens
    SignalSelection, // Up and Down: the selection worker follows the focus
    None,
};

ListKeyAction listKeyAction(int virtualKey, const EdlDocument& doc);

// The row a plain Up, Down, Page Up, Page Down, Home or End (no Shift, no Ctrl) moves the focus
// to in a list of `rowCount` rows showing `rowsPerPage` rows from `topRow`: Page Down goes to the
// page's last row, or a page further when the focus is there already; Page Up likewise upwards.
// -1 for any other key or an empty list.
int movedFocusRow(int virtualKey, int focusedRow, int topRow, int rowsPerPage, int rowCount);

// The rows of the list that are selected, as the window saw them change one by one. A change it
// could not follow row by row (a whole range, every row) makes it unknown until it is cleared.
// Holds few rows: beyond kLimit it gives up and becomes unknown too.
class SelectedRowTracker {
public:
    static constexpr size_t kLimit = 256;

    void selected(int row);
    void deselected(int row);
    void selectedRange(int first, int last);
    void deselectedRange(int first, int last);
    void cleared();
    void lost();

    bool known() const { return known_; }
    // Each selected row once, in no particular order; meaningful only while known().
    const std::vector<int>& rows() const { return rows_; }

private:
    std::vector<int> rows_;
    bool known_ = true;
};

// How a work memo is marked in the memo column of a given width (pixels).
enum class MemoMarkForm {
    IconAndText, // the row icon and the first characters of the memo
    Letter,      // just "C"
};
MemoMarkForm memoMarkForm(int columnWidth);

// How a marker is marked in the memo column of a given width (pixels).
enum class MarkerMarkForm {
    None,
    Number, // the marker number 1..8
    Dot,    // a round dot in the marker colour
};
MarkerMarkForm markerMarkForm(int columnWidth);

// Header images (sort states: 0 descending, 1 ascending, 2 unsorted) of the P-VTR IN, R-VTR IN
// and DURATION columns for the shown view; all 2 for kAllEvents.
struct SortArrowImages {
    int32_t source = 2;
    int32_t record = 2;
    int32_t duration = 2;
};
SortArrowImages sortArrowImages(const EdlDocument& doc);

// The top row to scroll to so the current row stays within reach: when currentRow lies more than a
// page below topRow, the row a page above currentRow.
int32_t adjustedTopRow(int32_t currentRow, int32_t topRow, int rowsPerPage);

// The rows of a view grouped by edit (editGroup), so that the rows of one edit are found without
// visiting the whole view. Valid while the view's array and its events stay as they were built.
class SameEditRows {
public:
    // Groups rows 0..count-1 of `rows`, unless it holds exactly that view already.
    void index(EdlEvent* const* rows, int32_t count);

    // The rows whose event has the edit of `row`'s event (row lies in 0..count-1): from `row` down
    // to row 0, then from `row` up to the last row, `row` itself in both runs - the order a walk
    // over the whole view meets them.
    void rowsOfEditAt(int32_t row, std::vector<int32_t>& out) const;

private:
    EdlEvent* const* rows_ = nullptr;
    int32_t count_ = -1;
    std::vector<std::pair<int32_t, int32_t>> byEdit_; // (editGroup, row), ascending
};

} // namespace qlp
