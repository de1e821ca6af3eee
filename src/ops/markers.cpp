#include "ops/markers.h"

#include "ops/single_line.h"

#include <algorithm>
#include <iterator>

namespace qlp {

namespace {

bool isMarkerKind(int k) {
    return k >= 0 && k < kMarkerKinds;
}

// Applies `change` to the event of every listed row of the shown view.
template <typename Change>
MarkerOutcome changeRows(EdlDocument& doc, std::span<const int32_t> selectedRows, Change change) {
    MarkerOutcome outcome;
    const int view = doc.currentView;
    if (view >= kAllEvents && view <= kReelUsage && doc.view[view]) {
        EdlEvent** rows = doc.view[view];
        const int32_t count = doc.viewCount[view];
        for (const int32_t row : selectedRows) {
            if (row < 0 || row >= count)
                continue;
            change(*rows[row]);
            ++outcome.rowsChanged;
        }
    }
    outcome.rerunSearch = view == kSearchResult;
    return outcome;
}

} // namespace

MarkerOutcome setMarker(EdlDocument& doc, std::span<const int32_t> selectedRows) {
    // A value outside the eight kinds can only come from a damaged file; it would mark events
    // with a marker nothing can show, so the first kind stands in for it.
    const int32_t marker = isMarkerKind(doc.currentMarker) ? doc.currentMarker : 0;
    return changeRows(doc, selectedRows, [marker](EdlEvent& event) { event.marker = marker; });
}

MarkerOutcome deleteMarker(EdlDocument& doc, std::span<const int32_t> selectedRows) {
    const bool byMarker = (doc.search.searchFlags & kSearchByMarker) != 0;
    return changeRows(doc, selectedRows, [byMarker](EdlEvent& event) {
        event.marker = kNoMarker;
        if (byMarker)
            event.searchHit = 0;
    });
}

MarkerSettingsEdit beginMarkerSettings(const EdlDocument& doc) {
    MarkerSettingsEdit edit;
    for (int k = 0; k < kMarkerKinds; ++k)
        edit.colours[k] = doc.markerColours[k];
    return edit;
}

uint32_t pickerStartColour(const EdlDocument& doc, int k) {
    return isMarkerKind(k) ? doc.markerColours[k] : 0;
}

void applyPickedColour(const EdlDocument& doc, MarkerSettingsEdit& edit, int k, bool chosen, uint32_t colour) {
    if (isMarkerKind(k))
        edit.colours[k] = chosen ? colour : doc.markerColours[k];
}

void keepCustomColours(EdlDocument& doc, std::span<const uint32_t, 16> customColours) {
    std::copy(customColours.begin(), customColours.end(), doc.customColours);
}

void takeMarkerName(EdlDocument& doc, int k, std::u16string_view text) {
    if (isMarkerKind(k))
        storeFixedText(doc.markerNames[k], std::size(doc.markerNames[k]), singleLineText(text, kMarkerNameChars));
}

void acceptMarkerSettings(EdlDocument& doc, const MarkerSettingsEdit& edit,
                          std::span<const std::u16string_view, kMarkerKinds> names) {
    for (int k = 0; k < kMarkerKinds; ++k) {
        doc.markerColours[k] = edit.colours[k];
        takeMarkerName(doc, k, names[k]);
    }
}

} // namespace qlp
