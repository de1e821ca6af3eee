#pragma once
// The main window: the only top-level window of the program. Its procedure builds every child at
// creation, lays them out on every size change, owns the shared drawing resources and pop-up
// menus, and passes menu, accelerator, control and notification messages to their handlers.

#include <windows.h>

namespace qlp {

// Registers the window class named by string 104 (ui().windowClass must be loaded).
bool registerMainWindowClass(HINSTANCE instance);

// Creates the main window at (0, 20), 1390 x 800, titled with the application caption; nullptr
// when it cannot be created.
HWND createMainWindow();

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Handles a command by its identifier, as WM_COMMAND does: a command of the command table runs its
// handler, anything else is a notification of a control of the window (code: the notification or
// 1 for an accelerator; lParam: the control or, for the start-up Open, the command line).
void onCommand(HWND hwnd, int id, int code, LPARAM lParam);

} // namespace qlp
