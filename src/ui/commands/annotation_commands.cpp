#include "ui/commands/annotation_commands.h"

#include "ui/dialogs/marker_settings_dialog.h"
#include "ui/dialogs/reel_info_dialog.h"
#include "ui/dialogs/simple_notes_dialog.h"
#include "ui/info_panel.h"

#include "ops/markers.h"
#include "ops/memos.h"
#include "ops/views.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <numeric>
#include <string>
#include <vector>

namespace qlp {

namespace {

std::vector<int32_t> selectedRows(HWND list) {
    const int selected = static_cast<int>(ListView_GetSelectedCount(list));
    std::vector<int32_t> rows(static_cast<size_t>(std::max(selected, 0)));
    // Every row selected (select all): the rows are known without asking the control for each.
    if (selected == ListView_GetItemCount(list)) {
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
    rows.clear();
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

// Repaints the rows from `first` to `last` that are in sight; the others are drawn as they are
// scrolled to. Asking the control to redraw rows out of sight costs one call per row under Wine.
void redrawVisibleRows(HWND list, int first, int last) {
    const int top = ListView_GetTopIndex(list);
    first = std::max(first, top);
    last = std::min(last, top + ListView_GetCountPerPage(list));
    if (first <= last)
        ListView_RedrawItems(list, first, last);
    UpdateWindow(list);
}

using MarkerCommand = MarkerOutcome (*)(EdlDocument&, std::span<const int32_t>);

// Both marker commands: change the selected rows, redraw them, mark the document modified (also
// when no row was selected) and let the search rebuild kSearchResult when it is shown.
void runMarkerCommand(MarkerCommand command) {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    HWND list = a.controls.list;
    const std::vector<int32_t> rows = selectedRows(list);
    const MarkerOutcome outcome = command(a.document, rows);
    if (!rows.empty())
        redrawVisibleRows(list, rows.front(), rows.back());
    markDocumentEdited();
    if (outcome.rerunSearch)
        SendMessageW(a.mainWindow, WM_COMMAND, MAKEWPARAM(IDM_SEARCH, 0), 0);
}

std::u16string memoBoxText(HWND memo) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(memo)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(memo, text.data(), static_cast<int>(text.size()))));
    return toU16(text);
}

} // namespace

void onSetMarker() {
    runMarkerCommand(setMarker);
}

void onDeleteMarker() {
    runMarkerCommand(deleteMarker);
}

void onToggleCommentMode() {
    if (ui().document.loaded)
        toggleCommentMode(true);
}

void onWriteWorkMemo() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded)
        return;
    HWND list = a.controls.list;
    // Reading the box's text allocates too: running out there is the same failure as in the store,
    // and never an exception out of the window procedure.
    MemoOutcome outcome;
    try {
        outcome = writeWorkMemo(doc, memoBoxText(a.controls.memo));
    } catch (const std::bad_alloc&) {
        outcome.result = MemoResult::NoMemory;
    }
    switch (outcome.result) {
    case MemoResult::Ignored:
        return;
    case MemoResult::NoMemory:
        showMessageBox(nullptr, toWide(kMsgMemoNoMemory), MB_OK | MB_ICONWARNING);
        SetFocus(list);
        return;
    case MemoResult::Stored:
    case MemoResult::Removed:
        ListView_Update(list, outcome.row);
        InvalidateRect(list, nullptr, TRUE);
        markDocumentEdited();
        SetFocus(list);
        return;
    }
}

void onMemoFocusChange(int notification) {
    UiState& a = ui();
    const EdlDocument& doc = a.document;
    if (!doc.loaded)
        return;
    if (notification == EN_SETFOCUS) {
        // While the box has the focus no worker rewrites it or moves the current row. The row is
        // taken once the workers have stopped, so it is the one whose memo the box shows.
        signalSelectionChanged(a.workers);
        stopWorkers(a.workers);
        a.memoRow = doc.currentRow[shownView(doc)];
    } else if (notification == EN_KILLFOCUS) {
        startWorkers(a.workers);
        const bool sameRow = a.memoRow == doc.currentRow[shownView(doc)];
        a.memoRow = -1;
        if (sameRow)
            onWriteWorkMemo();
    }
}

void onSimpleNotes() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    // The notes are the document's own; the workers stay away from it while the dialog runs.
    stopWorkers(a.workers);
    runSimpleNotesDialog(a.mainWindow, a.document);
    startWorkers(a.workers);
    markDocumentEdited();
    SetFocus(a.controls.list);
}

void onReelInfo() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    runReelInfoDialog(a.mainWindow, a.document, a.dialogs.reelSortState);
    // Descriptions are stored as they are edited, so Esc marks the document too.
    markDocumentEdited();
    InvalidateRect(a.controls[IDC_REEL_LINE], nullptr, TRUE);
    SetFocus(a.controls.list);
}

void onMarkerSettings() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded)
        return;
    runMarkerSettingsDialog(a.mainWindow, doc, a.dialogs.pickedMarkerBox);
    // Whatever closed the dialog: the rows, the marker cells and the marker combo box show the
    // colours and descriptions as they are now.
    HWND list = a.controls.list;
    const int top = ListView_GetTopIndex(list);
    ListView_RedrawItems(list, top, top + ListView_GetCountPerPage(list));
    repaintMarkerCells();
    UpdateWindow(list);
    InvalidateRect(a.controls[IDC_SEARCH_MARKER], nullptr, TRUE);
    markDocumentEdited();
    SetFocus(list);
}

} // namespace qlp
