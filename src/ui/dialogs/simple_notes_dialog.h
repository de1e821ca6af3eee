#pragma once
// The simple notes dialog (177) over the document's notes.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog modally; notes are stored as the user leaves each edit. Returns how it closed.
INT_PTR runSimpleNotesDialog(HWND owner, EdlDocument& doc);

} // namespace qlp
