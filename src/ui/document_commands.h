#pragma once
// The file commands of the main window: Open, Save, Save As and Close Tab.

#include <windows.h>

#include <string_view>

namespace qlp {

// What the Open command was asked to open: the command line at start-up, or the open dialog.
struct OpenRequest {
    bool fromCommandLine = false;
    std::wstring_view commandLine; // the arguments, when fromCommandLine
};

void onOpen(const OpenRequest& request); // 40113
void onSave();                           // 40057
void onSaveAs();                         // 40051
void onCloseTab();                       // 40128
void onSwitchTab();                      // the tab strip's selection changed

} // namespace qlp
