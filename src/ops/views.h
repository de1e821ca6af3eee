#pragma once
// The views of a document and the rows they show: which event a row of the shown view holds, the
// text of a cell, which view follows which, choosing a view or the reel whose events kReelUsage lists,
// and the marker colour and digit an event is shown with. The event list, the outputs and the
// document operations all read rows through these.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

// The views the list can show: all events, the search result and the events of one reel.
inline constexpr int kShownViewCount = kReelUsage + 1;

// currentView when it names a view the list shows, else kAllEvents.
int shownView(const EdlDocument& doc);

// The event in row `row` of the shown view, or null when there is no such row.
EdlEvent* rowEvent(EdlDocument& doc, int row);
const EdlEvent* rowEvent(const EdlDocument& doc, int row);

// The event of currentRow of the shown view, or null.
const EdlEvent* currentEvent(const EdlDocument& doc);

// The text of column `column` of an event as the list shows it: at most 31 characters.
std::u16string_view columnText(const EdlEvent& event, int column);

// Command 40222: the view that follows `selectedIndex` (the selection of the view combo box, which
// lists the views in their order): all events, search result, reel usage and round again, passing
// over the search result while it has no rows.
int nextListDisplay(int selectedIndex, int32_t searchRows);

// What choosing a view in the view combo box did to the document.
struct ViewChoice {
    int view = kAllEvents; // the view now shown
    bool fellBack = false; // the chosen view had no rows, so the list fell back to all events
};

// Makes `chosen` the shown view (the caller has checked it differs from currentView). A view
// without rows, or an index that names no view, falls back to kAllEvents. kReelUsage is rebuilt from the
// events of reel reelFilter and ordered by its stored sort state.
ViewChoice chooseView(EdlDocument& doc, int chosen);

// Rebuilds kReelUsage from scratch: the events of kAllEvents, in order, whose reel is reelFilter.
void rebuildReelUsageView(EdlDocument& doc);

// The reel whose events kReelUsage lists, chosen in its combo box: kReelUsage is rebuilt for it, ordered by
// its stored sort state while shown, and its position goes back to row 0. False (nothing changes)
// when the reel is the current one or no reel is chosen.
bool chooseUsageReel(EdlDocument& doc, int reel);

// The colour (0x00BBGGRR) of the marker colour table for an event's marker: the eight marker
// colours, then the colour of rows without a marker (marker 8, and any value outside 0..7).
uint32_t markerTableColour(const EdlDocument& doc, int32_t marker);

// The digit a marker kind (0..7) is shown as: its number 1..8.
std::u16string markerDigit(int32_t marker);

} // namespace qlp
