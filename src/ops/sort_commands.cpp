#include "ops/sort_commands.h"

#include "model/view_order.h"
#include "resource.h"

#include <cstdio>

namespace qlp {

namespace {

std::u16string rowsText(int32_t rows) {
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "%d", rows);
    return std::u16string(buf, buf + n);
}

// The next state of a key sorted again: ascending after anything but ascending.
int32_t toggledState(int32_t state) {
    if (state == kSortNone)
        state = kSortDescending;
    return state == kSortDescending ? kSortAscending : kSortDescending;
}

// With the document running into hour 23, every record key is R-VTR IN an hour later.
void shiftRecordKeys(EdlDocument& doc, int view) {
    EdlEvent** rows = doc.view[view];
    for (int32_t i = 0; rows && i < doc.viewCount[view]; ++i)
        rows[i]->recSortKey = hourShift(rows[i]->recIn);
}

} // namespace

SortCommandOutcome runSortCommand(EdlDocument& doc, int command) {
    SortCommandOutcome outcome;
    const int v = doc.currentView;
    if ((v != 1 && v != 2) || !doc.view[v])
        return outcome;
    int32_t* state = doc.sortState[sortStateRow(v)];
    const int32_t rows = doc.viewCount[v];
    const long last = static_cast<long>(rows) - 1;

    int kind = -1;
    SortField field = SortField::Sequence;
    const char16_t* byWhat = nullptr;
    switch (command) {
    case IDM_SORT_SOURCE:
        prepareSourceKeys(doc);
        kind = kSortSource;
        field = SortField::SrcSortKey;
        byWhat = u"件のデータをP-VTR(素材TC)でソートしました。";
        break;
    case IDM_SORT_RECORD:
        kind = kSortRecord;
        if (doc.hasHour23) {
            shiftRecordKeys(doc, v);
            field = SortField::RecSortKey;
        } else {
            field = SortField::RecIn;
        }
        byWhat = u"件のデータをR-VTR(REC-TC)でソートしました。";
        break;
    case IDM_SORT_DURATION:
        kind = kSortDuration;
        field = SortField::Duration;
        byWhat = u"件のデータをデュレーションでソートしました。";
        break;
    case IDM_SORT_EDIT_ORDER:
        sortByEditOrder(doc, 0, last);
        for (int k = 0; k < 3; ++k)
            state[k] = kSortNone;
        outcome.sorted = true;
        outcome.rows = rows;
        outcome.status = u"状態: " + rowsText(rows) + u"件のデータをEDIT順にしました。";
        return outcome;
    default:
        return outcome;
    }

    const int32_t direction = toggledState(state[kind]);
    state[kind] = direction;
    sortView(doc, field, 0, last, direction);
    for (int k = 0; k < 3; ++k)
        if (k != kind)
            state[k] = kSortNone;
    outcome.sorted = true;
    outcome.rows = rows;
    outcome.status = u"状態: " + rowsText(rows) + byWhat;
    return outcome;
}

} // namespace qlp
