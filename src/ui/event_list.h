#pragma once
// The event list (control 110): row drawing, the notifications of the list and the tab strip,
// select all, and switching between the three views.

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace qlp {

// Draw-item for a row of the list. Nothing is drawn while no document is loaded.
void drawListRow(const DRAWITEMSTRUCT& item);

// Notifications of the list (text requests, keys, header clicks, double clicks) and of the tab
// strip (selection changes); right clicks are handled by the main window.
LRESULT onListNotify(NMHDR& header);
LRESULT onTabNotify(NMHDR& header);

// A key pressed in the list. Plain Up, Down, Page Up, Page Down, Home and End move the focus and
// the selection here, touching only the rows that change, and return true; other keys (and these
// with Shift or Ctrl) are left to the control.
bool onListMoveKey(HWND list, WPARAM key);

// Command 40098: selects every row.
void selectAllRows();

// Command 40222: selects the next view in the view combo box (128) and switches to it.
void switchListDisplay();

// Close-up of the view combo box (128): shows the chosen view.
void onViewComboCloseUp();

} // namespace qlp
