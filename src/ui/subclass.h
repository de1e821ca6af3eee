#pragma once
// The one way a control is subclassed: SetWindowSubclass with a handler that sees each message
// first, inside the guard. What the handler passes on, and any message whose handling failed, goes
// on to the control's own procedure. The subclass removes itself when the control is destroyed.

#include <windows.h>

#include <optional>

namespace qlp {

// Handles a message of a subclassed control and returns its result, or nothing to pass it on.
// `data` is what subclassControl was given.
using SubclassHandler = std::optional<LRESULT> (*)(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                                   DWORD_PTR data);

// Subclasses `control` with `handler`. A control takes each handler once.
bool subclassControl(HWND control, SubclassHandler handler, DWORD_PTR data = 0);

} // namespace qlp
