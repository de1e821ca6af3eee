#pragma once
// The handler column of the command table: what each menu and accelerator command of the main
// window does.

#include <windows.h>

namespace qlp {

// Runs the handler of command `id` of the command table (code: the notification or 1 for an
// accelerator; lParam: for the start-up Open, the command line). False, doing nothing, for an
// identifier that is no command of the table.
bool runCommand(HWND hwnd, int id, int code, LPARAM lParam);

} // namespace qlp
