#pragma once
// Presenting the current document in the window: the list rows of the shown view, the search
// panel's controls, the cells and the memo box.

#include "resource.h"

#include <windows.h>

namespace qlp {

// The search panel's controls of each timecode criterion: source, record, duration in that order.
struct CriterionControls {
    int lowerOpCombo;
    int upperOpCombo;
    int lowerCell;
    int upperCell;
};
inline constexpr CriterionControls kCriterionControls[3] = {
    {IDC_SRC_LOWER_OP, IDC_SRC_UPPER_OP, IDC_SRC_LOWER, IDC_SRC_UPPER},
    {IDC_REC_LOWER_OP, IDC_REC_UPPER_OP, IDC_REC_LOWER, IDC_REC_UPPER},
    {IDC_DUR_LOWER_OP, IDC_DUR_UPPER_OP, IDC_DUR_LOWER, IDC_DUR_UPPER},
};

// Presents the current document after it was loaded: list, column layout, combo boxes, check
// boxes, buttons, cells and memo box. Run between stopWorkers and startWorkers.
void showDocument();

// Scrolls the list to topRow and selects currentRow of the current view.
void restoreListPosition();

// Sets the list's item count to 0 and then to `count`: the list forgets its rows, their selection
// and focus, and takes the new ones.
void resetItemCount(HWND list, int count);

// With show, the header images of columns 8, 10 and 12 show the current view's sort states;
// without, the images are removed.
void setSortArrows(bool show);

// The comment-display switch: flips commentMode (work memo or option comment), sets the memo box
// read-only for the option comment, empties it and lets the comment worker fill it. fromCommand:
// run as the command, which also refreshes the menus.
void toggleCommentMode(bool fromCommand = false);

} // namespace qlp
