#pragma once
// The process-wide state of the program, gathered in one place: what start-up sets, the main
// window's controls and drawing resources, the display workers, the open files and the current
// document. Everything here is owned by the user-interface thread; the display workers read the
// document and controls through the pointers in their own blocks.

#include "model/document.h"
#include "ui/controls.h"
#include "ui/paint_table.h"
#include "ui/workers.h"

#include <windows.h>

#include <string>

namespace qlp {

struct AppState {
    HINSTANCE instance = nullptr;
    std::wstring caption;           // string 103: window title and caption of every message box
    std::wstring windowClass;       // string 104
    std::wstring commandLine;       // the arguments the program was started with
    std::wstring workDirectoryPath; // the program's directory followed by "QLP_WORK"
    HACCEL accelerators = nullptr;
    HANDLE instanceMutex = nullptr; // held until the process ends
    HWND mainWindow = nullptr;

    ControlTable controls;
    PaintTable paint;
    DisplayWorkers workers;

    TabList tabs;
    TabEntry* currentEntry = nullptr; // the tab whose document is in memory
    EdlDocument document;             // the current document
};

AppState& app();

} // namespace qlp
