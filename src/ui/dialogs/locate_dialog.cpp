#include "ui/dialogs/locate_dialog.h"

#include "ops/locate.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/dpi.h"
#include "ui/modal.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

namespace qlp {

namespace {

constexpr int kMaxDigits = 4;

// What one opening of the dialog keeps: the document, the bold font given to the edit and the
// edit's own font, which it gets back before the dialog ends.
struct LocateDialog {
    EdlDocument* doc = nullptr;
    HFONT bold = nullptr;
    HFONT previous = nullptr;
};

LocateDialog& stateOf(HWND dialog) {
    return *reinterpret_cast<LocateDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void onInitDialog(HWND dialog, LocateDialog& state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    SetWindowTextW(dialog, toWide(kLocateTitle).c_str());
    HWND edit = GetDlgItem(dialog, IDC_ENTRY_NUMBER);
    state.bold = CreateFontW(scaleForWindow(dialog, 20), scaleForWindow(dialog, 12), 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS ゴシック");
    state.previous = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(state.bold), TRUE);
    SendMessageW(edit, EM_LIMITTEXT, kMaxDigits, 0);
    SetWindowTextW(edit, toWide(locateText(*state.doc)).c_str());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

// The edit gets its own font back and the bold one is deleted before the dialog ends.
void endDialog(HWND dialog, INT_PTR result) {
    LocateDialog& state = stateOf(dialog);
    SendMessageW(GetDlgItem(dialog, IDC_ENTRY_NUMBER), WM_SETFONT, reinterpret_cast<WPARAM>(state.previous), FALSE);
    DeleteObject(state.bold);
    state.bold = nullptr;
    EndDialog(dialog, result);
}

void onLoc(HWND dialog) {
    wchar_t text[kMaxDigits + 1] = {};
    GetDlgItemTextW(dialog, IDC_ENTRY_NUMBER, text, kMaxDigits + 1);
    const LocateEntryOutcome outcome = enterLocateNumber(*stateOf(dialog).doc, toU16(text));
    if (outcome.accepted) {
        endDialog(dialog, 1);
        return;
    }
    warn(dialog, toWide(outcome.message));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_ENTRY_NUMBER)), TRUE);
}

INT_PTR CALLBACK locateDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog, *reinterpret_cast<LocateDialog*>(lParam));
        return FALSE; // the focus is set already
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            onLoc(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            endDialog(dialog, 2);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR runLocateDialog(HWND owner, EdlDocument& doc) {
    LocateDialog state;
    state.doc = &doc;
    const INT_PTR result = runModal(owner, IDD_EDIT_LOCATE, locateDialogProc, reinterpret_cast<LPARAM>(&state));
    if (state.bold) // a dialog that could not be created never ended through endDialog
        DeleteObject(state.bold);
    return result;
}

void onEditLocate() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded || runLocateDialog(a.mainWindow, doc) != 1)
        return;
    HWND list = a.controls.list;
    // The shown view changes under the workers: they rest until the list shows kAllEvents again.
    stopWorkers(a.workers);
    const int32_t row = locateEdit(doc);
    SendMessageW(a.controls[IDC_VIEW], CB_SETCURSEL, kAllEvents, 0);
    EnableWindow(a.controls[IDC_VIEW_REEL], FALSE);
    setSortArrows(false);
    resetItemCount(list, doc.viewCount[kAllEvents]);
    restoreListPosition();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    // The located event becomes the top row, selected and focused; an edit number no event carries
    // leaves the list where it was with nothing selected.
    if (row >= 0)
        restoreListPosition();
    startWorkers(a.workers);
    SetFocus(list);
}

} // namespace qlp
