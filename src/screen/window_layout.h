#pragma once
// Where every child of the main window goes for a given client size. The tab strip and the list
// stretch with the window; the lower strip is laid out around the horizontal centre, so a narrow
// window clips it at both sides instead of wrapping it.

#include <vector>

namespace qlp {

// Smallest size the user can drag the main window to.
inline constexpr int kMinTrackWidth = 1024;
inline constexpr int kMinTrackHeight = 384;

// Height of the band at the bottom of the client area that holds the panels and the status bar.
inline constexpr int kLowerStripHeight = 206;

struct ControlPlacement {
    int id; // control identifier
    int x;
    int y;
    int width;
    int height; // for combo boxes: the closed box plus its drop-down list
};

// The placement of every laid-out control (all children except the status bar, which sizes
// itself) for a client area of clientWidth x clientHeight, in control-creation order.
std::vector<ControlPlacement> layoutMainWindow(int clientWidth, int clientHeight);

} // namespace qlp
