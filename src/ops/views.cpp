#include "ops/views.h"

#include "model/view_order.h"

namespace qlp {

namespace {

bool isShownView(int view) {
    return view >= kAllEvents && view < kShownViewCount;
}

} // namespace

int shownView(const EdlDocument& doc) {
    return isShownView(doc.currentView) ? doc.currentView : kAllEvents;
}

EdlEvent* rowEvent(EdlDocument& doc, int row) {
    const int view = doc.currentView;
    if (!isShownView(view) || !doc.view[view] || row < 0 || row >= doc.viewCount[view])
        return nullptr;
    return doc.view[view][row];
}

const EdlEvent* rowEvent(const EdlDocument& doc, int row) {
    return rowEvent(const_cast<EdlDocument&>(doc), row);
}

const EdlEvent* currentEvent(const EdlDocument& doc) {
    const int view = doc.currentView;
    return isShownView(view) ? rowEvent(doc, doc.currentRow[view]) : nullptr;
}

std::u16string_view columnText(const EdlEvent& event, int column) {
    if (column < 0 || column >= kColumnCount)
        return {};
    // The list's buffer takes 31 characters and the terminator.
    return textUpToNul(event.text[column], kColumnTextLength - 1);
}

int nextListDisplay(int selectedIndex, int32_t searchRows) {
    int next = selectedIndex + 1;
    if (next > kReelUsage)
        next = kAllEvents;
    else if (next == kSearchResult && searchRows == 0)
        next = kReelUsage;
    return next;
}

void rebuildReelUsageView(EdlDocument& doc) {
    EdlEvent** all = doc.view[kAllEvents];
    EdlEvent** usage = doc.view[kReelUsage];
    int32_t count = 0;
    if (all && usage) {
        for (int32_t i = 0; i < doc.viewCount[kAllEvents]; ++i)
            if (all[i]->reelIndex == doc.reelFilter)
                usage[count++] = all[i];
    }
    doc.viewCount[kReelUsage] = count;
}

bool chooseUsageReel(EdlDocument& doc, int reel) {
    if (reel < 0 || reel == doc.reelFilter)
        return false;
    doc.reelFilter = reel;
    rebuildReelUsageView(doc);
    if (doc.currentView == kReelUsage)
        reapplySort(doc);
    doc.topRow[kReelUsage] = 0;
    doc.currentRow[kReelUsage] = 0;
    return true;
}

ViewChoice chooseView(EdlDocument& doc, int chosen) {
    ViewChoice choice;
    if (!isShownView(chosen) || doc.viewCount[chosen] == 0) {
        choice.fellBack = true;
        chosen = kAllEvents;
    }
    doc.currentView = chosen;
    if (chosen == kReelUsage) {
        rebuildReelUsageView(doc);
        reapplySort(doc);
    }
    choice.view = chosen;
    return choice;
}

uint32_t markerTableColour(const EdlDocument& doc, int32_t marker) {
    return marker >= 0 && marker < 8 ? doc.markerColours[marker] : doc.noMarkerColour;
}

std::u16string markerDigit(int32_t marker) {
    return std::u16string(1, static_cast<char16_t>(u'1' + marker));
}

} // namespace qlp
