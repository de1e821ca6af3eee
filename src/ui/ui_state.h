#pragma once
// The user interface's state, gathered in one place: the instance and the texts every window and
// box uses, the main window's controls and drawing resources, the display workers, the open files,
// the current document and what the dialogs remember. Everything here is owned by the
// user-interface thread; the display workers reach the document through the pointers in their own
// blocks, and what of it changes while they run they read on this thread (ui/workers.h says which
// fields).

#include "model/document.h"
#include "screen/list_view.h"
#include "ui/controls.h"
#include "ui/paint_table.h"
#include "ui/workers.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

namespace qlp {

// What the dialogs keep from one opening to the next for as long as the program runs.
struct DialogMemory {
    std::wstring edlFolder;                 // the EDL export's destination folder
    std::wstring listingFolder;             // the listing's destination folder, apart from the EDL's
    int pickedMarkerBox = 0;                // the marker settings' colour box clicked last
    std::array<int32_t, 3> reelSortState{}; // the reel list's sort state of columns 0 to 2
};

struct UiState {
    HINSTANCE instance = nullptr;
    std::wstring caption;     // string 103: window title and caption of every message box
    std::wstring windowClass; // string 104
    HWND mainWindow = nullptr;
    int dpi = 96; // of the monitor the main window is on; its layout, fonts and images follow it

    ControlTable controls;
    PaintTable paint;
    DisplayWorkers workers;

    TabList tabs;
    TabEntry* currentEntry = nullptr; // the tab whose document is in memory
    EdlDocument document;             // the current document

    DialogMemory dialogs;

    // What the main window keeps between two of its messages.
    SelectedRowTracker selectedRows; // the list's selected rows as its change notifications told them
    int32_t memoRow = -1;            // the current row when the memo box gained the focus; -1 while it has not
    // Set while a file command runs. The tab strip's selection changes that a command causes itself,
    // and commands that arrive from the nested message loop of a message box, are not acted on.
    bool fileCommandRunning = false;
};

UiState& ui();

// A length of 96-DPI pixels scaled for the DPI the main window is laid out for.
int px(int pixels);

} // namespace qlp
