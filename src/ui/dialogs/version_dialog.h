#pragma once
// The version dialog (command 40017).

#include <windows.h>

namespace qlp {

// Shows dialog 40017 modally over owner; returns IDOK or IDCANCEL, whichever ended it.
INT_PTR runVersionDialog(HWND owner);

} // namespace qlp
