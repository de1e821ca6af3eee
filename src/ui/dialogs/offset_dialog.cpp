// The offset dialog (113) and the main window's offset command.

#include "ops/offset.h"
#include "ops/views.h"
#include "resource.h"
#include "screen/window_layout.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/info_panel.h"
#include "ui/modal.h"
#include "ui/paint_table.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

namespace qlp {

namespace {

constexpr COLORREF kArrowMask = RGB(192, 192, 192);
constexpr int kEntryLimit = 8;
constexpr int kReadLength = 15; // characters read back on OK

// The original address is shown, and copied into the entry by the arrow button. OK applies the
// offset to the document, or refuses an entry out of range and stays open.
class OffsetDialog : public ModalDialog {
public:
    explicit OffsetDialog(EdlDocument& doc) : doc_(doc) {}
    using ModalDialog::run;

    const OffsetOutcome& outcome() const { return outcome_; }

private:
    // The arrows are drawn for the dialog's display: the one it opens on (its owner's), and again
    // for each display it is moved to.
    void makeArrows() {
        arrows_.reset(ImageList_Create(scaled(24), scaled(16), ILC_COLOR24 | ILC_MASK, 2, 0));
        for (int id : {IDB_OFFSET_ARROW, IDB_OFFSET_ARROW_PRESSED}) {
            HBITMAP picture = loadBitmapForDpi(ui().instance, id, dpi());
            ImageList_AddMasked(arrows_.get(), picture, kArrowMask);
            DeleteObject(picture);
        }
    }

    void onDpiChanged() override { makeArrows(); }

    bool onInit() override {
        makeArrows();
        HWND entry = item(IDC_OFFSET_ENTRY);
        SetWindowTextW(entry, toWide(offsetEntryDigits(doc_.offsetEntryText)).c_str());
        original_ = toWide(originalAddressText(currentEvent(doc_)->recInCopy));
        SetDlgItemTextW(dialog(), IDC_OFFSET_ORIGINAL, original_.c_str());
        SendMessageW(entry, EM_LIMITTEXT, kEntryLimit, 0);
        return focusEntry(IDC_OFFSET_ENTRY);
    }

    // An entry out of range is refused with the range message: the entry keeps its text and the
    // focus, ready for a new value.
    void onOk() override {
        outcome_ = applyOffsetToCurrentEvent(doc_, entryText(IDC_OFFSET_ENTRY, kReadLength));
        if (outcome_.status == OffsetStatus::OutOfRange) {
            showMessageBoxCaptioned(dialog(), toWide(kMsgOffsetOutOfRange), MB_OK | MB_ICONWARNING, L"");
            refocus(IDC_OFFSET_ENTRY);
            return;
        }
        end(IDOK);
    }

    void onCommand(int id, int code) override {
        // A quick second click arrives as a double click; it copies as well.
        if (id == IDC_OFFSET_COPY && (code == BN_CLICKED || code == BN_DOUBLECLICKED))
            SetDlgItemTextW(dialog(), IDC_OFFSET_ENTRY, original_.c_str());
    }

    // The arrow: the normal picture on a whole redraw and on release, the pressed one a pixel lower
    // and further right while the button is held.
    void drawArrowButton(const DRAWITEMSTRUCT& draw) const {
        const bool pressed = draw.itemState & ODS_SELECTED;
        if (!(draw.itemAction & ODA_DRAWENTIRE) && !(draw.itemAction & ODA_SELECT))
            return;
        FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed)
            ImageList_Draw(arrows_.get(), 1, draw.hDC, draw.rcItem.left + scaled(2), draw.rcItem.top + scaled(1),
                           ILD_TRANSPARENT);
        else
            ImageList_Draw(arrows_.get(), 0, draw.hDC, draw.rcItem.left + scaled(1), draw.rcItem.top, ILD_TRANSPARENT);
    }

    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_DRAWITEM || wParam != IDC_OFFSET_COPY)
            return std::nullopt;
        drawArrowButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }

    EdlDocument& doc_;
    OwnedHandle<HIMAGELIST> arrows_; // 0: normal, 1: pressed
    std::wstring original_;          // the original address, also what the arrow button copies
    OffsetOutcome outcome_;
};

// What OK applied, or nothing after Esc.
std::optional<OffsetOutcome> runOffsetDialog(HWND owner, EdlDocument& doc) {
    OffsetDialog dialog(doc);
    if (dialog.run(owner, IDD_OFFSET) != IDOK)
        return std::nullopt;
    return dialog.outcome();
}

} // namespace

void onOffsetCommand() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    const EdlEvent* current = doc.loaded ? currentEvent(doc) : nullptr;
    if (!current)
        return;
    HWND list = a.controls.list;
    signalSelectionChanged(a.workers);
    stopWorkers(a.workers);
    current = currentEvent(doc); // the selection worker may have moved the current row
    std::copy_n(current->text[10], std::size(doc.offsetEntryText) - 1, doc.offsetEntryText);
    doc.offsetEntryText[std::size(doc.offsetEntryText) - 1] = u'\0';
    const std::optional<OffsetOutcome> outcome = runOffsetDialog(a.mainWindow, doc);
    if (!outcome) {
        startWorkers(a.workers);
        return;
    }
    ShowWindow(list, SW_HIDE);
    if (doc.recOffsetDirection != 0) {
        const int top = ListView_GetTopIndex(list);
        ListView_RedrawItems(list, top, top + ListView_GetCountPerPage(list));
        UpdateWindow(list);
    }
    if (outcome->discardSearch) {
        discardSearchResult(doc);
        if (shownView(doc) == kSearchResult)
            ListView_SetItemCountEx(list, 0, 0);
        repaintHitCounter();
    }
    InvalidateRect(a.controls[IDC_OFFSET_CELL], nullptr, TRUE);
    ShowWindow(list, SW_SHOW);
    SetFocus(list);
    markDocumentEdited(); // a tab from an EDL remembers it, so that closing it asks first
    startWorkers(a.workers);
}

} // namespace qlp
