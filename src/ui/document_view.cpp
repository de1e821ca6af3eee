#include "ui/document_view.h"

#include "ops/memos.h"
#include "ops/search.h"
#include "ops/views.h"
#include "resource.h"
#include "screen/list_view.h"
#include "ui/info_panel.h"
#include "ui/list_columns.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <string>
#include <utility>

namespace qlp {

namespace {

void fillReelCombo(HWND combo, const EdlDocument& doc) {
    send(combo, CB_RESETCONTENT);
    for (int32_t r = 0; doc.reelNames && r < doc.reelCount; ++r) {
        const std::wstring text = toWide(textUpToNul(doc.reelNames[r]));
        send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

// The search panel's combo boxes: their items, selections and enabled states from the document.
void presentSearchCombos(const ControlTable& c, const EdlDocument& doc) {
    fillReelCombo(c[IDC_SEARCH_REEL], doc);
    fillReelCombo(c[IDC_VIEW_REEL], doc);
    // The marker combo box keeps no strings: each item's data points at the marker's name in the
    // document, so a renamed marker shows at once.
    HWND markers = c[IDC_SEARCH_MARKER];
    send(markers, CB_RESETCONTENT);
    for (const auto& name : doc.markerNames)
        send(markers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));

    for (int id : {IDC_SRC_LOWER_OP, IDC_REC_LOWER_OP, IDC_DUR_LOWER_OP, IDC_SEARCH_REEL, IDC_SEARCH_MARKER, IDC_VIEW})
        EnableWindow(c[id], TRUE);
    const SearchSettings& s = doc.search;
    for (int k = 0; k < 3; ++k) {
        EnableWindow(c[kCriterionControls[k].upperOpCombo], secondBoundEnabled(s, k));
        send(c[kCriterionControls[k].lowerOpCombo], CB_SETCURSEL, s.lowerOp[k]);
        send(c[kCriterionControls[k].upperOpCombo], CB_SETCURSEL, s.upperOp[k]);
    }
    EnableWindow(c[IDC_VIEW_REEL], doc.currentView == kReelUsage);
    send(c[IDC_SEARCH_REEL], CB_SETCURSEL, s.searchReel);
    send(c[IDC_SEARCH_MARKER], CB_SETCURSEL, s.searchMarker);
    send(c[IDC_VIEW], CB_SETCURSEL, doc.currentView);
    send(c[IDC_VIEW_REEL], CB_SETCURSEL, doc.reelFilter);
}

void presentMemoAndChecks(const ControlTable& c, const EdlDocument& doc) {
    SetWindowTextW(c.memo, L"");
    showEnabled(c.memo, true, true);
    if (doc.commentMode == 0)
        send(c.memo, EM_SETREADONLY, TRUE);
    for (int i = 0; i < 5; ++i) {
        HWND box = c[IDC_CHECK_REEL + i];
        EnableWindow(box, TRUE);
        send(box, BM_SETCHECK, (doc.search.searchFlags & (1 << i)) ? BST_CHECKED : BST_UNCHECKED);
    }
}

void presentButtonsAndCells(const ControlTable& c, const EdlDocument& doc) {
    for (int id = IDC_WRITE_MEMO; id <= IDC_REEL_INFO; ++id)
        showEnabled(c[id], true, true);
    showEnabled(c[IDC_OFFSET_CELL], true, true);
    for (int k = 0; k < 3; ++k) {
        showEnabled(c[kCriterionControls[k].lowerCell], true, true);
        showEnabled(c[kCriterionControls[k].upperCell], true, doc.search.slotValue[k] != -1);
    }
    for (int id : {IDC_HIT_COUNTER, IDC_REEL_LINE, IDC_COUNT_MODE, IDC_EDIT_COUNT, IDC_REEL_COUNT})
        showEnabled(c[id], true, true);
    for (int id = IDC_MARKER_CELL1; id <= IDC_MARKER_CELL8; ++id)
        showEnabled(c[id], true, true);
    repaintInfoCells();
    EnableWindow(c[IDC_SEARCH], searchButtonEnabled(doc));
    EnableWindow(c[IDC_CLEAR_SEARCH], clearSearchButtonEnabled(doc));
}

} // namespace

void showDocument() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    const ControlTable& c = a.controls;
    HWND list = c.list;

    showEnabled(c.tab, true, false);
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, FALSE);
    ListView_SetItemCount(list, 0);
    ListView_SetItemCount(list, doc.viewCount[shownView(doc)]);
    UpdateWindow(list);

    applyStoredColumnLayout(doc, list);
    // The control keeps its horizontal scroll across item counts: a document shown now starts at
    // its left edge, with EDIT and REEL in sight, whatever the previous one was scrolled to.
    SCROLLINFO horizontal{sizeof horizontal, SIF_POS};
    if (GetScrollInfo(list, SB_HORZ, &horizontal) && horizontal.nPos != 0)
        ListView_Scroll(list, -horizontal.nPos, 0);
    setSortArrows(false);
    showEnabled(list, true, true);
    if (doc.currentView != kAllEvents)
        setSortArrows(true);

    presentSearchCombos(c, doc);
    presentMemoAndChecks(c, doc);
    presentButtonsAndCells(c, doc);

    // The first record bound is entered in the document's own count mode.
    doc.search.slotDropFrame[1] = doc.dropFrame;
    toggleCommentMode();
}

void restoreListPosition() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    HWND list = a.controls.list;
    const int view = shownView(doc);

    RECT first;
    if (ListView_GetItemRect(list, 0, &first, LVIR_LABEL))
        doc.rowHeight = first.bottom - first.top;
    const int rowsPerPage = ListView_GetCountPerPage(list);
    doc.topRow[view] = adjustedTopRow(doc.currentRow[view], doc.topRow[view], rowsPerPage);
    // One scroll from where the list stands to the stored first row: each scroll repaints the list
    // at once, so going by the very top would draw a page that is never seen.
    const int rows = doc.topRow[view] - ListView_GetTopIndex(list);
    if (rows != 0)
        ListView_Scroll(list, 0, rows * doc.rowHeight);

    const int row = doc.currentRow[view];
    // Row -1 would address every row; a row beyond the view has nothing to select.
    if (row >= 0 && row < doc.viewCount[view]) {
        constexpr UINT kStates = LVIS_SELECTED | LVIS_FOCUSED;
        ListView_SetItemState(list, row, kStates, kStates);
    }
}

void resetItemCount(HWND list, int count) {
    // Drawing is off in between, so the scroll bars are worked out and the rows invalidated once,
    // for the new count, rather than once for an empty list and again for the new one.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCount(list, 0);
    ListView_SetItemCount(list, count);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    // Not every list view invalidates itself when drawing is switched back on.
    InvalidateRect(list, nullptr, TRUE);
}

void setSortArrows(bool show) {
    UiState& a = ui();
    HWND header = a.controls.header;
    const SortArrowImages images = sortArrowImages(a.document);
    const std::pair<int, int32_t> columns[] = {
        {kColSrcIn, images.source}, {kColRecIn, images.record}, {kColDuration, images.duration}};
    for (const auto& [column, image] : columns) {
        // Through the header: the list view's own column format has no flag for a header image.
        HDITEMW item{};
        item.mask = HDI_FORMAT | (show ? HDI_IMAGE : 0);
        item.fmt = HDF_CENTER | HDF_STRING | (show ? HDF_IMAGE : 0);
        item.iImage = image;
        Header_SetItem(header, column, &item);
    }
}

void toggleCommentMode(bool fromCommand) {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    toggleCommentMode(doc);
    SendMessageW(a.controls.memo, EM_SETREADONLY, doc.commentMode == 0, 0);
    SetWindowTextW(a.controls.memo, L"");
    signalCommentRefresh(a.workers);
    SetFocus(a.controls.list);
    if (fromCommand)
        signalMenuRefresh(a.workers);
}

} // namespace qlp
