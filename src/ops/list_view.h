#pragma once
// The rules behind the event list: which event a row shows, the text of a cell, which view the
// list switches to, what a header click or a key does, the form the memo and marker marks take in
// a column of a given width, and the scroll position the list returns to. The window code applies
// them to the list control.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qlp {

// The views the list can show: 0 all events, 1 the search result, 2 the events of one reel.
inline constexpr int kShownViewCount = 3;

// currentView when it names a view the list shows (0..2), else 0.
int shownView(const EdlDocument& doc);

// The event in row `row` of the shown view, or null when there is no such row.
EdlEvent* rowEvent(EdlDocument& doc, int row);
const EdlEvent* rowEvent(const EdlDocument& doc, int row);

// The event of currentRow of the shown view, or null.
const EdlEvent* currentEvent(const EdlDocument& doc);

// The text of column `column` of an event as the list shows it: at most 31 characters.
std::u16string_view columnText(const EdlEvent& event, int column);

// Command 40222: the view that follows `selectedIndex` (the selection of the view combo box):
// 0, 1, 2 and round again, passing over the search result while it has no rows.
int nextListDisplay(int selectedIndex, int32_t searchRows);

// What choosing a view in the view combo box did to the document.
struct ViewChoice {
    int view = 0;          // the view now shown
    bool fellBack = false; // the chosen view had no rows, so the list fell back to view 0
};

// Makes `chosen` the shown view (the caller has checked it differs from currentView). A view
// without rows, or an index that names no view, falls back to view 0. View 2 is rebuilt from the
// events of reel reelFilter and ordered by its stored sort state.
ViewChoice chooseView(EdlDocument& doc, int chosen);

// Rebuilds view 2 from scratch: the events of view 0, in order, whose reel is reelFilter.
void rebuildReelUsageView(EdlDocument& doc);

// The reel whose usage view 2 lists, chosen in its combo box: view 2 is rebuilt for it, ordered by
// its stored sort state while shown, and its position goes back to row 0. False (nothing changes)
// when the reel is the current one or no reel is chosen.
bool chooseUsageReel(EdlDocument& doc, int reel);

// The command a click on the header of `column` sends to the main window, or 0. Only views 1 and
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

// The colour (0x00BBGGRR) of the marker colour table for an event's marker: the eight marker
// colours, then the colour of rows without a marker (marker 8, and any value outside 0..7).
uint32_t markerTableColour(const EdlDocument& doc, int32_t marker);

// The digit a marker kind (0..7) is shown as: its number 1..8.
std::u16string markerDigit(int32_t marker);

// Header images (sort states: 0 descending, 1 ascending, 2 unsorted) of the P-VTR IN, R-VTR IN
// and DURATION columns for the shown view; all 2 for view 0.
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
