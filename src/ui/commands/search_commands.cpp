#include "ui/commands/search_commands.h"

#include "ops/info_texts.h"
#include "ops/search.h"
#include "ops/views.h"
#include "resource.h"
#include "ui/dialogs/timecode_entry_dialog.h"
#include "ui/document_view.h"
#include "ui/info_panel.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

#include <string>

namespace qlp {

namespace {

int comboSelection(int id) {
    return static_cast<int>(SendMessageW(ui().controls[id], CB_GETCURSEL, 0, 0));
}

// Buttons Search and Clear search follow the criteria switched on and the rows of kSearchResult.
void enableSearchButtons() {
    const UiState& a = ui();
    EnableWindow(a.controls[IDC_SEARCH], searchButtonEnabled(a.document));
    EnableWindow(a.controls[IDC_CLEAR_SEARCH], clearSearchButtonEnabled(a.document));
}

// The second-bound combo box and cell of a criterion are always shown, and usable only as `enabled`.
void showSecondBound(int criterion, bool enabled) {
    const ControlTable& c = ui().controls;
    showEnabled(c[kCriterionControls[criterion].upperOpCombo], true, enabled);
    showEnabled(c[kCriterionControls[criterion].upperCell], true, enabled);
    InvalidateRect(c[kCriterionControls[criterion].upperCell], nullptr, TRUE);
}

// The comparisons and reel text as the combo boxes show them when the search starts. A combo box
// with nothing chosen keeps the stored setting.
void readSearchCombos(SearchSettings& s) {
    for (int k = 0; k < 3; ++k) {
        if (const int op = comboSelection(kCriterionControls[k].lowerOpCombo); op >= 0)
            s.lowerOp[k] = op;
        if (const int op = comboSelection(kCriterionControls[k].upperOpCombo); op >= 0)
            s.upperOp[k] = op;
    }
    wchar_t reel[64] = {};
    GetWindowTextW(ui().controls[IDC_SEARCH_REEL], reel, 64);
    setSearchReelText(s, toU16(reel));
}

// The list again shows kAllEvents from its stored position, without sort images.
void presentNormalList() {
    UiState& a = ui();
    HWND list = a.controls.list;
    SendMessageW(a.controls[IDC_VIEW], CB_SETCURSEL, kAllEvents, 0);
    setSortArrows(false);
    resetItemCount(list, a.document.viewCount[kAllEvents]);
    restoreListPosition();
}

void presentSearchResult(SearchViewEffect effect) {
    UiState& a = ui();
    HWND list = a.controls.list;
    switch (effect) {
    case SearchViewEffect::Redraw:
        // The rows stay; every row on the page is drawn again with or without its hit frame.
        InvalidateRect(list, nullptr, FALSE);
        break;
    case SearchViewEffect::Reordered:
        resetItemCount(list, a.document.viewCount[kSearchResult]);
        restoreListPosition();
        break;
    case SearchViewEffect::FellBack:
        EnableWindow(a.controls.memo, TRUE);
        presentNormalList();
        break;
    case SearchViewEffect::None:
        break;
    }
    UpdateWindow(list);
}

} // namespace

void onSearchCheckBox(int id) {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    const bool on = SendMessageW(a.controls[id], BM_GETCHECK, 0, 0) == BST_CHECKED;
    setSearchFlag(a.document.search, 1 << (id - IDC_CHECK_REEL), on);
    enableSearchButtons();
    signalMenuRefresh(a.workers);
    SetFocus(a.controls.list);
}

void onSearchComboCloseUp(int id) {
    UiState& a = ui();
    SearchSettings& s = a.document.search;
    const int selected = comboSelection(id);
    // Closed without a choice (an empty reel list, a marker never chosen): the setting stays.
    if (!a.document.loaded || selected < 0) {
        SetFocus(a.controls.list);
        return;
    }
    switch (id) {
    case IDC_SRC_LOWER_OP:
    case IDC_REC_LOWER_OP:
    case IDC_DUR_LOWER_OP: {
        const int k = (id - IDC_SRC_LOWER_OP) / 2;
        s.lowerOp[k] = selected;
        showSecondBound(k, takesSecondBound(selected));
        break;
    }
    case IDC_SRC_UPPER_OP:
    case IDC_REC_UPPER_OP:
    case IDC_DUR_UPPER_OP:
        s.upperOp[(id - IDC_SRC_UPPER_OP) / 2] = selected;
        break;
    case IDC_SEARCH_REEL:
        s.searchReel = selected;
        break;
    case IDC_SEARCH_MARKER:
        s.searchMarker = selected;
        break;
    default:
        break;
    }
    SetFocus(a.controls.list);
}

void onTimecodeCellClick(int id) {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    const int slot = searchSlotOfCell(id);
    if (!doc.loaded || slot < 0)
        return;
    doc.search.editSlot = slot;
    runTimecodeEntryDialog(a.mainWindow, doc);
    SetWindowTextW(a.controls[id], wide(doc.search.slotText[slot]));
    InvalidateRect(a.controls[id], nullptr, TRUE);
    if (slot < kSecondBoundOffset)
        showSecondBound(slot, secondBoundEnabled(doc.search, slot));
    markDocumentModified();
    SetFocus(a.controls.list);
}

void onSearch() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded || doc.search.searchFlags == 0)
        return;
    readSearchCombos(doc.search);
    // The workers read the shown view from their threads; kSearchResult is rebuilt while they rest.
    stopWorkers(a.workers);
    const SearchOutcome outcome = runSearch(doc);
    repaintHitCounter();
    presentSearchResult(outcome.effect);
    startWorkers(a.workers);
    enableSearchButtons();
    markDocumentModified();
    setStatusText(kStatusBarState, kSearchDoneStatus);
    signalMenuRefresh(a.workers);
    SetFocus(a.controls.list);
}

void onClearSearch() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded)
        return;
    stopWorkers(a.workers);
    const SearchViewEffect effect = clearSearch(doc);
    repaintHitCounter();
    if (effect == SearchViewEffect::FellBack)
        presentNormalList();
    enableSearchButtons();
    markDocumentModified();
    startWorkers(a.workers);
    HWND list = a.controls.list;
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    SetFocus(list);
}

void onUsageReelCloseUp() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    HWND list = a.controls.list;
    if (!doc.loaded)
        return;
    const int reel = comboSelection(IDC_VIEW_REEL);
    if (reel < 0 || reel == doc.reelFilter) {
        SetFocus(list);
        return;
    }
    stopWorkers(a.workers);
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, FALSE);
    chooseUsageReel(doc, reel);
    ListView_SetItemCount(list, 0);
    ListView_SetItemCount(list, doc.viewCount[kReelUsage]);
    UpdateWindow(list);
    constexpr UINT kStates = LVIS_SELECTED | LVIS_FOCUSED;
    if (doc.viewCount[kReelUsage] > 0)
        ListView_SetItemState(list, 0, kStates, kStates);
    showEnabled(list, true, true);
    repaintHitCounter();
    startWorkers(a.workers);
    markDocumentModified();
    signalSelectionChanged(a.workers);
    SetFocus(list);
}

} // namespace qlp
