#include "ui/window_placement.h"

#include "screen/window_layout.h"
#include "ui/dpi.h"
#include "ui/registry.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace qlp {

void restoreWindowPlacement(HWND hwnd) {
    RegistryKey key(HKEY_CURRENT_USER, kSettingsKey, kPlacementKey);
    std::vector<uint8_t> bytes;
    if (!key || !readRegistryBytes(key.get(), kPlacementValue, bytes, 16) || bytes.size() != 16)
        return;
    int32_t rect[4];
    std::memcpy(rect, bytes.data(), sizeof rect);
    // Stored in 96-DPI pixels, so a placement saved on a display of one scale opens at the same
    // size on another.
    const int dpi = windowDpi(hwnd);
    for (int32_t& value : rect)
        value = scaleForDpi(value, dpi);
    // The rectangle was read from the window's placement, in workspace coordinates, which differ
    // from screen coordinates by a taskbar at the top or left. Set back through the placement it
    // lands where it was; moved there as screen coordinates it would creep at every start.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd, &placement))
        return;
    placement.flags = 0;
    placement.showCmd = SW_HIDE;
    placement.rcNormalPosition = RECT{rect[0], rect[1], rect[0] + rect[2], rect[1] + rect[3]};
    SetWindowPlacement(hwnd, &placement);
}

void storeWindowPlacement(HWND hwnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd, &placement))
        return;
    const RECT& r = placement.rcNormalPosition;
    const int dpi = windowDpi(hwnd);
    const int32_t rect[4] = {unscaleForDpi(r.left, dpi), unscaleForDpi(r.top, dpi),
                             unscaleForDpi(r.right - r.left, dpi), unscaleForDpi(r.bottom - r.top, dpi)};
    RegistryKey key(HKEY_CURRENT_USER, kSettingsKey, kPlacementKey);
    if (key)
        writeRegistryBinary(key.get(), kPlacementValue, rect, sizeof rect);
}

} // namespace qlp
