#pragma once
// The list view and the memo box receive the accelerator commands while they have the focus (the
// message loop translates accelerators for the focused window). Their subclasses pass a command
// on to the main window only when its item in the menu bar is enabled, so a grayed item also
// disables its shortcut; the memo box keeps select-all and copy for its own text.

#include <windows.h>

namespace qlp {

// Subclasses the list view and the memo box of the main window.
void subclassAcceleratorTargets(HWND list, HWND memo);

// True when a key press is text for the focused control - a letter or digit without Ctrl or Alt
// while an edit control or a combo box with its list open has the focus - so the message loop
// must not translate it into a command.
bool keyBelongsToFocusedControl(const MSG& msg);

// True when the menu bar item of the command has no state flag set (not grayed, disabled or ticked).
bool menuItemAllowsCommand(HMENU menuBar, int command);

} // namespace qlp
