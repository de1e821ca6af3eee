#include "ops/views.h"

#include "model/view_order.h"

namespace qlp {

namespace {

bool isShownView(int view) {
    return view >= 0 && view < kShownViewCount;
}

} // namespace

int shownView(const EdlDocument& doc) {
    return isShownView(doc.currentView) ? doc.currentView : 0;
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
    if (next > 2)
        next = 0;
    else if (next == 1 && searchRows == 0)
        next = 2;
    return next;
}

void rebuildReelUsageView(EdlDocument& doc) {
    EdlEvent** all = doc.view[0];
    EdlEvent** usage = doc.view[2];
    int32_t count = 0;
    if (all && usage) {
        for (int32_t i = 0; i < doc.viewCount[0]; ++i)
            if (all[i]->reelIndex == doc.reelFilter)
                usage[count++] = all[i];
    }
    doc.viewCount[2] = count;
}

bool chooseUsageReel(EdlDocument& doc, int reel) {
    if (reel < 0 || reel == doc.reelFilter)
        return false;
    doc.reelFilter = reel;
    rebuildReelUsageView(doc);
    if (doc.currentView == 2)
        reapplySort(doc);
    doc.topRow[2] = 0;
    doc.currentRow[2] = 0;
    return true;
}

ViewChoice chooseView(EdlDocument& doc, int chosen) {
    ViewChoice choice;
    if (!isShownView(chosen) || doc.viewCount[chosen] == 0) {
        choice.fellBack = true;
        chosen = 0;
    }
    doc.currentView = chosen;
    if (chosen == 2) {
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
