#include "model/view_order.h"

#include "model/quicksort.h"
#include "model/timecode.h"

namespace qlp {

namespace {

template <typename KeyOf> void sortRows(EdlEvent** rows, long lo, long hi, int32_t direction, KeyOf keyOf) {
    if (!rows || hi < lo)
        return;
    if (direction == kSortAscending)
        hoareQuicksort(rows, lo, hi, keyOf, [](int32_t a, int32_t b) { return a < b; });
    else
        hoareQuicksort(rows, lo, hi, keyOf, [](int32_t a, int32_t b) { return a > b; });
}

int viewIndex(const EdlDocument& doc) {
    return doc.currentView >= 0 && doc.currentView < kViewCount ? doc.currentView : kAllEvents;
}

} // namespace

int32_t hourShift(int32_t label) {
    int32_t shifted = label + kFramesPerHour;
    if (shifted > kNdfFramesPerDay - 1)
        shifted -= kNdfFramesPerDay;
    return shifted;
}

void sortView(EdlDocument& doc, SortField key, long lo, long hi, int32_t direction) {
    EdlEvent** rows = doc.view[viewIndex(doc)];
    switch (key) {
    case SortField::SrcSortKey:
        sortRows(rows, lo, hi, direction, [](const EdlEvent* e) { return e->srcSortKey; });
        break;
    case SortField::Duration:
        sortRows(rows, lo, hi, direction, [](const EdlEvent* e) { return e->duration; });
        break;
    case SortField::RecIn:
        sortRows(rows, lo, hi, direction, [](const EdlEvent* e) { return e->recIn; });
        break;
    case SortField::RecSortKey:
        sortRows(rows, lo, hi, direction, [](const EdlEvent* e) { return e->recSortKey; });
        break;
    case SortField::Sequence:
        sortRows(rows, lo, hi, direction, [](const EdlEvent* e) { return e->sequence; });
        break;
    }
}

void sortByEditOrder(EdlDocument& doc, long lo, long hi) {
    sortView(doc, SortField::Sequence, lo, hi, kSortAscending);
}

namespace {

// True when the given label count of any row of the current view lies in hour 23.
bool anyRowInHour23(const EdlDocument& doc, int32_t EdlEvent::*field) {
    const int v = viewIndex(doc);
    for (int32_t i = 0; doc.view[v] && i < doc.viewCount[v]; ++i)
        if (doc.view[v][i]->*field / kFramesPerHour == 23)
            return true;
    return false;
}

// Sets `key` of every row of the current view to `from`, shifted an hour later when asked.
void setKeys(EdlDocument& doc, int32_t EdlEvent::*key, int32_t EdlEvent::*from, bool shift) {
    const int v = viewIndex(doc);
    for (int32_t i = 0; doc.view[v] && i < doc.viewCount[v]; ++i) {
        EdlEvent* e = doc.view[v][i];
        e->*key = shift ? hourShift(e->*from) : e->*from;
    }
}

} // namespace

void prepareSourceKeys(EdlDocument& doc) {
    setKeys(doc, &EdlEvent::srcSortKey, &EdlEvent::srcIn, anyRowInHour23(doc, &EdlEvent::srcIn));
}

void prepareRecordKeys(EdlDocument& doc) {
    if (anyRowInHour23(doc, &EdlEvent::recIn))
        setKeys(doc, &EdlEvent::recSortKey, &EdlEvent::recIn, true);
}

void reapplySort(EdlDocument& doc) {
    const int v = viewIndex(doc);
    if (v == 0)
        return; // kAllEvents is never reordered
    const int32_t* state = doc.sortState[sortStateRow(v)];
    const long last = static_cast<long>(doc.viewCount[v]) - 1;
    if (state[kSortSource] != kSortNone) {
        prepareSourceKeys(doc);
        sortView(doc, SortField::SrcSortKey, 0, last, state[kSortSource]);
    } else if (state[kSortDuration] != kSortNone) {
        sortView(doc, SortField::Duration, 0, last, state[kSortDuration]);
    } else if (state[kSortRecord] != kSortNone) {
        prepareRecordKeys(doc);
        sortView(doc, SortField::RecSortKey, 0, last, state[kSortRecord]);
    }
}

} // namespace qlp
