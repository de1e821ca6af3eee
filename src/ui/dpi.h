#pragma once
// The DPI of the display a window is on. The program declares itself per-monitor aware, so it
// scales its own pixel lengths: every length written for 96 DPI goes through scaleForDpi with the
// DPI asked for here. The functions of newer systems are looked up at run time, so the program
// still starts where they are missing (and then follows the system DPI).

#include <windows.h>

namespace qlp {

// The DPI of the monitor the window is on (the system DPI where the system cannot tell).
int windowDpi(HWND hwnd);

// The DPI of the primary display, which new top-level windows start with.
int systemDpi();

// A system metric (SM_CXICON, SM_CXSMICON...) as the system gives it for a display of the DPI.
int systemMetricForDpi(int index, int dpi);

// Icon resource `id` at a square size, drawn for that size where the icon holds it and otherwise
// made from the next larger image (never enlarged from a smaller one). The caller destroys it.
HICON loadIconAtSize(HINSTANCE instance, int id, int size);

} // namespace qlp
