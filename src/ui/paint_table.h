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
    HFONT gui = nullptr;               // the system's default GUI font (the stock object at the system DPI)
    bool ownsGui = false;              // gui was made for another DPI and is deleted with the others
    HFONT list = nullptr;              // "MS ゴシック" 22 x 11 (at 96 DPI; all fonts follow the DPI)
    HFONT listBold = nullptr;          // "MS ゴシック" 22 x 10, bold
    HFONT panel = nullptr;             // "MS ゴシック" 16 x 8
    HIMAGELIST rowIcons = nullptr;     // 106
    HIMAGELIST headerArrows = nullptr; // 137, 138, 175: sort state 0, 1, 2
    HIMAGELIST tabStates = nullptr;    // 129, 125, 128: saveState 0, 1, 2
    HICON bigIcon = nullptr;           // 163 at the window's DPI (the caption and Alt+Tab)
    HICON smallIcon = nullptr;         // 168 at the window's DPI (the caption and the task bar)
};

// Brushes and fonts, in table order, the fonts for the given DPI.
void createPaintObjects(PaintTable& paint, int dpi);

// The fonts alone, for the given DPI, and their deletion (take them from the controls first):
// a move to a display of another scale replaces them.
void createFonts(PaintTable& paint, int dpi);
void destroyFonts(PaintTable& paint);

// The three image lists, 16 x 16 at 96 DPI and as many pixels more as the DPI asks for, 24-bit
// with mask, silver transparent; and their destruction (detach them from the controls first).
void createImageLists(PaintTable& paint, HINSTANCE instance, int dpi);
void destroyImageLists(PaintTable& paint);

// A bitmap resource at the size the DPI asks for: the version drawn for the DPI (96, 120, 144 or
// 192), or one drawn for a whole fraction of it with each pixel repeated, or else the largest that
// fits, centred on the transparent silver. Never a stretch by an uneven factor.
HBITMAP loadBitmapForDpi(HINSTANCE instance, int id, int dpi);

// The window's big and small icons drawn for the DPI, and their destruction (after the window has
// been given others or is gone).
void createWindowIcons(PaintTable& paint, HINSTANCE instance, int dpi);
void destroyWindowIcons(PaintTable& paint);

// Deletes the brushes and fonts and destroys the image lists (detach them from controls first).
void destroyPaintTable(PaintTable& paint);

} // namespace qlp
