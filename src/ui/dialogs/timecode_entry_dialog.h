#pragma once
// The timecode entry dialog (111): edits the search bound of the slot named by editSlot.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog over `owner` for doc.search.editSlot. 1 when closed with OK (an emptied entry
// included), 2 when cancelled.
INT_PTR chooseTimecode(HWND owner, EdlDocument& doc);

} // namespace qlp
