#pragma once
// The timecode entry dialog (111): edits the search bound of the slot named by editSlot.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog over `owner` for doc.search.editSlot: IDOK when closed with OK (an emptied entry
// included), IDCANCEL when cancelled. The DF/NDF choice is kept either way.
INT_PTR runTimecodeEntryDialog(HWND owner, EdlDocument& doc);

} // namespace qlp
