#pragma once
// The main window's children: creating them in their fixed order with their classes, styles and
// texts, and the table of handles through which every part of the program reaches them.

#include <windows.h>

#include <array>

namespace qlp {

struct PaintTable;

// Handles of all children, the three menus and the list header, kept for the life of the window.
struct ControlTable {
    HWND main = nullptr;
    HWND tab = nullptr;    // 100
    HWND list = nullptr;   // 110
    HWND header = nullptr; // header of the list
    HWND memo = nullptr;   // 130
    HWND status = nullptr; // 132
    HMENU menuBar = nullptr;
    HMENU tabPopup = nullptr;      // first sub-menu of menu 134
    HMENU listPopup = nullptr;     // first sub-menu of menu 158
    HMENU tabPopupMenu = nullptr;  // menu 134 itself, destroyed at shutdown
    HMENU listPopupMenu = nullptr; // menu 158 itself

    // Child handles by control identifier (all main-window controls are below 1000).
    std::array<HWND, 1000> byId{};

    HWND operator[](int id) const { return id >= 0 && id < 1000 ? byId[id] : nullptr; }
};

// SendMessageW for the calls whose answer does not matter.
void send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Shows or hides a control, and enables or disables it.
void showEnabled(HWND control, bool visible, bool enabled);

// Creates every child in creation order (which fixes the z-order), all at position and size 0
// except the status bar, and stores the handles. False when one cannot be created.
bool createControls(HWND main, HINSTANCE instance, ControlTable& controls);

// Gives every control its font: the GUI font to most, the list font to the list, the panel font
// to cells 308 and 313.
void assignFonts(const ControlTable& controls, const PaintTable& paint);

// The look before any document is loaded: tab strip and list hidden and disabled; rules, labels
// and status bar shown and enabled; everything else shown but disabled. Also limits the memo box
// to 800 characters with 4-pixel margins (at 96 DPI).
void showInitialControlStates(const ControlTable& controls);

// Status bar parts with right edges 100, 800 and 2000 (at 96 DPI), and their texts at start.
void initStatusBar(const ControlTable& controls);

// The fixed items of combo boxes 120-125 and 128.
void fillFixedComboItems(const ControlTable& controls);

// Moves every laid-out control for the given client size at the given DPI (and repaints it).
void layoutControls(const ControlTable& controls, int clientWidth, int clientHeight, int dpi);

// The lengths the controls keep themselves, for the main window's DPI: the memo box's margins,
// the status-bar part edges and the marker combo box's item height.
void applyDpiToControls(const ControlTable& controls);

} // namespace qlp
