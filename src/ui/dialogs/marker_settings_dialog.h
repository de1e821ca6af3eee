#pragma once
// The marker settings dialog (172): the colours and descriptions of the eight marker kinds.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog modally: IDOK after OK, IDCANCEL after Cancel. Descriptions taken by Enter and
// the picker's custom colours stay in the document either way. `pickedBox` is the colour box
// clicked last, framed when the dialog opens and updated by each click.
INT_PTR runMarkerSettingsDialog(HWND owner, EdlDocument& doc, int& pickedBox);

} // namespace qlp
