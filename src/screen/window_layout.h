#pragma once
// Where every child of the main window goes for a given client size. The tab strip and the list
// stretch with the window; the lower strip is laid out around the horizontal centre, so a narrow
// window clips it at both sides instead of wrapping it.

#include <vector>

namespace qlp {

// Smallest size the user can drag the main window to.
inline constexpr int kMinTrackWidth = 1024;
inline constexpr int kMinTrackHeight = 384;

// The DPI at which every length here is given; at another DPI each is scaled by dpi / 96.
inline constexpr int kBaseDpi = 96;

// A length of 96-DPI pixels at the given DPI, rounded to the nearest pixel (halves away from
// zero), as Windows scales lengths for a display.
int scaleForDpi(int pixels, int dpi);

// The inverse: a length in pixels at the given DPI back in 96-DPI pixels, rounded the same way. A
// length scaled up and back comes out unchanged, so widths stored in 96-DPI pixels keep their
// value through a session on a larger scale.
int unscaleForDpi(int pixels, int dpi);

// The scales the program's pictures are drawn at, in DPI: 100 %, 125 %, 150 % and 200 %.
inline constexpr int kDrawnDpis[] = {96, 120, 144, 192};

// Which drawn version of a picture shows at a DPI: the one drawn for `drawnDpi`, each of its pixels
// repeated `repeat` times each way. Its size is the picture's size at the DPI when drawnDpi times
// repeat is the DPI; otherwise it is the largest that fits there and is centred in that size.
struct PictureChoice {
    int drawnDpi;
    int repeat;
    bool operator==(const PictureChoice&) const = default;
};
PictureChoice choosePicture(int dpi);

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
// itself) for a client area of clientWidth x clientHeight pixels at the given DPI, in
// control-creation order. Every fixed offset and size is scaled for the DPI; at 96 DPI they are
// the pixels written here.
std::vector<ControlPlacement> layoutMainWindow(int clientWidth, int clientHeight, int dpi = kBaseDpi);

} // namespace qlp
