#include "ui/dialogs/locate_dialog.h"

#include "ops/locate.h"
#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/document_view.h"
#include "ui/modal.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

namespace qlp {

namespace {

constexpr int kMaxDigits = 4;

// The bold font given to the edit is deleted, and the edit gets its own font back, when the dialog
// ends.
class LocateDialog : public ModalDialog {
public:
    explicit LocateDialog(EdlDocument& doc) : doc_(doc) {}
    using ModalDialog::run;

private:
    bool onInit() override {
        SetWindowTextW(dialog(), toWide(kLocateTitle).c_str());
        HWND edit = item(IDC_ENTRY_NUMBER);
        previous_ = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
        makeBoldFont();
        SendMessageW(edit, EM_LIMITTEXT, kMaxDigits, 0);
        SetWindowTextW(edit, toWide(locateText(doc_)).c_str());
        return focusEntry(IDC_ENTRY_NUMBER);
    }

    // The entry's bold font, for the dialog's display; the edit takes the new font before the old
    // one is deleted.
    void makeBoldFont() {
        OwnedHandle<HFONT> old = std::move(bold_);
        bold_.reset(CreateFontW(scaled(20), scaled(12), 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                L"MS ゴシック"));
        SendMessageW(item(IDC_ENTRY_NUMBER), WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), TRUE);
    }

    void onDpiChanged() override { makeBoldFont(); }

    void onOk() override {
        const LocateEntryOutcome outcome = enterLocateNumber(doc_, entryText(IDC_ENTRY_NUMBER, kMaxDigits));
        if (outcome.accepted)
            end(IDOK);
        else
            refuseEntry(IDC_ENTRY_NUMBER, outcome.message);
    }

    void onDestroy() override {
        SendMessageW(item(IDC_ENTRY_NUMBER), WM_SETFONT, reinterpret_cast<WPARAM>(previous_), FALSE);
    }

    EdlDocument& doc_;
    OwnedHandle<HFONT> bold_;
    HFONT previous_ = nullptr; // the edit's own font
};

} // namespace

INT_PTR runLocateDialog(HWND owner, EdlDocument& doc) {
    LocateDialog dialog(doc);
    return dialog.run(owner, IDD_EDIT_LOCATE);
}

void onEditLocate() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded || runLocateDialog(a.mainWindow, doc) != IDOK)
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
