#pragma once
// Painting of the owner-drawn cells under the list (markers, counters, offset, reel line, search
// timecodes) and of the items of the marker combo box, the clicks on the marker cells, and the
// status bar. Cells are passive: they paint from the current document whenever they are
// invalidated, with placeholders while none is loaded.

#include "model/document.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace qlp {

// Draw-item for cells 300-319.
void drawInfoCell(const DRAWITEMSTRUCT& item);

// Measure-item and draw-item for the marker combo box 127, and the height of its items.
int markerComboItemHeight();
void measureMarkerComboItem(MEASUREITEMSTRUCT& item);
void drawMarkerComboItem(const DRAWITEMSTRUCT& item);

// The text of cell 308-312 or 314-319: the placeholder while no document is loaded.
std::wstring infoCellText(int id, const EdlDocument& doc);

// A click on marker cell k (0..7): k becomes the current marker, the cells are repainted and the
// status line names the marker.
void onMarkerCellClick(int k);

// A click on the offset cell (312): sends the offset command to the main window.
void onOffsetCellClick();

// Invalidates cells 300-319 so they paint again from the document.
void repaintInfoCells();
// Invalidates the hit counter (308) and the eight marker cells.
void repaintHitCounter();
void repaintMarkerCells();

// Status bar (control 132): part 0 the number of files, part 1 the location, part 2 the state.
enum StatusBarPart : int { kStatusBarFiles = 0, kStatusBarLocation = 1, kStatusBarState = 2 };
void setStatusText(StatusBarPart part, std::u16string_view text);
std::wstring statusText(StatusBarPart part);

} // namespace qlp
