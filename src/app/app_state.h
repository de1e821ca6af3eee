#pragma once
// What only the program's start-up and message loop hold: the command line, the work directory,
// the accelerator table and the single-instance mutex. The windows' own state (controls, workers,
// open files, the current document) is the user interface's: see ui/ui_state.h.

#include <windows.h>

#include <string>

namespace qlp {

struct AppState {
    std::wstring commandLine;       // the arguments the program was started with
    std::wstring workDirectoryPath; // the program's directory followed by "QLP_WORK"
    HACCEL accelerators = nullptr;
    HANDLE instanceMutex = nullptr; // held until the process ends
};

AppState& app();

} // namespace qlp
