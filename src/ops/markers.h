#pragma once
// Markers: setting and deleting the current marker on the selected rows of the shown view, and the
// data of the marker settings (colours, the picker's custom colours, descriptions).

#include "model/document.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace qlp {

inline constexpr int kMarkerKinds = 8;
inline constexpr size_t kMarkerNameChars = 22;
// The bit of searchFlags that searches by marker.
inline constexpr int32_t kSearchByMarker = 16;

// What a marker command did. The caller marks the document modified in every case (even when no
// row was selected), redraws the selected rows and, with rerunSearch, runs the search again so
// that kSearchResult shows its new result.
struct MarkerOutcome {
    int32_t rowsChanged = 0;
    bool rerunSearch = false;
};

// Gives the event of every listed row of the shown view the current marker. `selectedRows` holds
// row numbers of the shown view; rows outside it are passed over.
MarkerOutcome setMarker(EdlDocument& doc, std::span<const int32_t> selectedRows);

// Removes the marker of the event of every listed row. While the search selects by marker, the
// event also leaves the search result (its searchHit is cleared).
MarkerOutcome deleteMarker(EdlDocument& doc, std::span<const int32_t> selectedRows);

// The colours the marker settings work on while they are open; the document keeps its own until
// they are accepted.
struct MarkerSettingsEdit {
    std::array<uint32_t, kMarkerKinds> colours{};
};

MarkerSettingsEdit beginMarkerSettings(const EdlDocument& doc);

// The colour the picker starts from for kind k: the document's, not one chosen earlier while the
// settings are open.
uint32_t pickerStartColour(const EdlDocument& doc, int k);

// Takes the picker's answer for kind k: the chosen colour, or the document's colour when the picker
// was cancelled.
void applyPickedColour(const EdlDocument& doc, MarkerSettingsEdit& edit, int k, bool chosen, uint32_t colour);

// The picker's custom-colour row belongs to the document and is kept even when the settings are
// cancelled.
void keepCustomColours(EdlDocument& doc, std::span<const uint32_t, 16> customColours);

// Stores the description of kind k at once (Enter in its edit): one line, at most 22 characters.
void takeMarkerName(EdlDocument& doc, int k, std::u16string_view text);

// OK: the working colours and all eight descriptions become the document's.
void acceptMarkerSettings(EdlDocument& doc, const MarkerSettingsEdit& edit,
                          std::span<const std::u16string_view, kMarkerKinds> names);

} // namespace qlp
