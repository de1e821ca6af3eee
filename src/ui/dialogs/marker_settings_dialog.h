#pragma once
// The marker settings dialog (172): the colours and descriptions of the eight marker kinds.

#include "model/document.h"

#include <windows.h>

namespace qlp {

// Runs the dialog modally: 1 after OK, 2 after Cancel. Descriptions taken by Enter and the
// picker's custom colours stay in the document either way.
INT_PTR runMarkerSettingsDialog(HWND owner, EdlDocument& doc);

} // namespace qlp
