#pragma once
// The main window's remembered position: "WindowSize/ScreenPos" under the settings key, four i32
// (left, top, width, height) of the window's normal (restored) rectangle, in the workspace
// coordinates of the window's placement, in 96-DPI pixels (scaled by the DPI of the window's
// display when read and written).

#include <windows.h>

namespace qlp {

inline constexpr const wchar_t* kPlacementKey = L"WindowPosSize";
inline constexpr const wchar_t* kPlacementValue = L"WindowSize/ScreenPos";

// Moves and sizes the window to the stored rectangle, if one is stored; otherwise the window keeps
// its creation rectangle.
void restoreWindowPlacement(HWND hwnd);

// Stores the window's normal rectangle, also when it is maximised or minimised.
void storeWindowPlacement(HWND hwnd);

} // namespace qlp
