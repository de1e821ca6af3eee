#pragma once
// The reel information dialog (135) over the document's reels.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog modally: 1 after OK (the document is then marked edited), 2 after Esc. Edited
// descriptions are stored as each edit ends, whichever way the dialog closes.
INT_PTR runReelInfoDialog(HWND owner, EdlDocument& doc);

} // namespace qlp
