#pragma once
// The file commands of the main window: Open, Save, Save As and Close Tab, and the switch between
// tabs. Each one stops the display workers while it replaces what they read, and writes the
// status bar: part 0 the number of open files, part 1 the current file, part 2 what happened.

#include "ops/tab_commands.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

namespace qlp {

// What the Open command was asked to open: the command line at start-up, files dropped on the
// window, or else what the open dialog returns.
struct OpenRequest {
    bool fromCommandLine = false;
    std::wstring_view commandLine;       // the arguments, when fromCommandLine
    std::vector<std::u16string> dropped; // full paths in the order they were dropped
};

void onOpen(const OpenRequest& request); // 40113
void onSave();                           // 40057
void onSaveAs();                         // 40051
void onCloseTab();                       // 40128
void onSwitchTab();                      // the tab strip's selection changed

// Files dropped on the main window open by their names' kinds, in the order they were dropped.
void onDropFiles(HDROP drop);

// The Save As dialog as the place where an edited tab from an EDL is saved when it is closed; a
// path another tab refers to is refused with string 108.
SaveAsTarget& saveAsDialog();

// The path the start-up command line names: a quoted text loses its first and last characters;
// either way the result is made a full path in its long form (up to 1024 characters).
std::wstring commandLinePath(std::wstring_view commandLine);

} // namespace qlp
