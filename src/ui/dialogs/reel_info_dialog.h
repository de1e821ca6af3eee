#pragma once
// The reel information dialog (135) over the document's reels.

#include "model/document.h"

#include <windows.h>

#include <array>
#include <cstdint>

namespace qlp {

// The sort state of the list's columns 0 to 2 (reel name, use count, record time).
using ReelSortState = std::array<int32_t, 3>;

// Runs the dialog modally: IDOK after OK (the document is then marked edited), IDCANCEL after Esc.
// Edited descriptions are stored as each edit ends, whichever way the dialog closes. A click on a
// column heading advances that column's `sortState`, which the next opening starts from.
INT_PTR runReelInfoDialog(HWND owner, EdlDocument& doc, ReelSortState& sortState);

} // namespace qlp
