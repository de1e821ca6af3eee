#pragma once
// Edit locate in the main window: the edit-number dialog (174) and command 40211.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog over `owner`: IDOK when a number from 1 to the last edit number was entered (it
// is kept as the document's locateText), IDCANCEL when cancelled.
INT_PTR runLocateDialog(HWND owner, EdlDocument& doc);

// Command 40211: asks for the edit number, shows the normal EDL list and scrolls the first event of
// that edit to the top, selected.
void onEditLocate();

} // namespace qlp
