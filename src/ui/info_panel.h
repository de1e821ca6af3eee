#pragma once
// Painting of the owner-drawn cells under the list (markers, counters, offset, reel line, search
// timecodes) and of the items of the marker combo box. Cells are passive: they paint from the
// current document whenever they are invalidated, with placeholders while none is loaded.

#include "model/document.h"

#include <windows.h>

#include <string>

namespace qlp {

// Draw-item for cells 300-319.
void drawInfoCell(const DRAWITEMSTRUCT& item);

// Measure-item and draw-item for the marker combo box 127.
void measureMarkerComboItem(MEASUREITEMSTRUCT& item);
void drawMarkerComboItem(const DRAWITEMSTRUCT& item);

// The text of cell 308-312 or 314-319: the placeholder while no document is loaded.
std::wstring infoCellText(int id, const EdlDocument& doc);

} // namespace qlp
