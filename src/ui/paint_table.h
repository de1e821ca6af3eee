#pragma once
// The brushes, fonts and image lists shared by the list and the information panel. Created once
// with the main window and deleted when it closes.

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace qlp {

struct PaintTable {
    HBRUSH selection = nullptr;        // RGB(0, 20, 255): selected rows and marker-combo items
    HBRUSH window = nullptr;           // system window colour: unselected rows
    HBRUSH face = nullptr;             // system button face: disabled cells
    HBRUSH yellow = nullptr;           // selected before focus rectangles
    HBRUSH black = nullptr;            // enabled cells 309-313, marker-cell frames
    HBRUSH white = nullptr;            // enabled cells 314-319
    HBRUSH grey = nullptr;             // behind an unselected search-hit row
    HBRUSH green = nullptr;            // enabled hit counter
    HBRUSH memo = nullptr;             // memo box background while a document is loaded
    HFONT gui = nullptr;               // the system's default GUI font (a stock object)
    HFONT list = nullptr;              // "MS ゴシック" 22 x 11
    HFONT listBold = nullptr;          // "MS ゴシック" 22 x 10, bold
    HFONT panel = nullptr;             // "MS ゴシック" 16 x 8
    HIMAGELIST rowIcons = nullptr;     // 106
    HIMAGELIST headerArrows = nullptr; // 137, 138, 175: sort state 0, 1, 2
    HIMAGELIST tabStates = nullptr;    // 129, 125, 128: saveState 0, 1, 2
};

// Brushes and fonts, in table order.
void createPaintObjects(PaintTable& paint);

// The three image lists, 16 x 16, 24-bit with mask, silver transparent.
void createImageLists(PaintTable& paint, HINSTANCE instance);

// Deletes the brushes and fonts and destroys the image lists (detach them from controls first).
void destroyPaintTable(PaintTable& paint);

} // namespace qlp
