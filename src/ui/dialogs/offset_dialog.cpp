// The offset dialog (113) and the main window's offset command.

#include "ops/offset.h"
#include "ops/views.h"
#include "resource.h"
#include "screen/window_layout.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/dpi.h"
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

namespace qlp {

namespace {

constexpr COLORREF kArrowMask = RGB(192, 192, 192);
constexpr int kEntryLimit = 8;

// The dialog is modal and exists at most once.
struct OffsetDialog {
    EdlDocument* doc = nullptr;
    HIMAGELIST arrows = nullptr; // 0: normal, 1: pressed
    std::wstring original;       // the original address, also what button 1044 copies
    OffsetOutcome outcome;
};
OffsetDialog gOffset;

void closeOffsetDialog(HWND dialog, INT_PTR result) {
    ImageList_Destroy(gOffset.arrows);
    gOffset.arrows = nullptr;
    EndDialog(dialog, result);
}

void initOffsetDialog(HWND dialog, EdlDocument* doc) {
    gOffset.doc = doc;
    gOffset.outcome = {};
    // The arrows are drawn for the dialog's display; a dialog opens on its owner's.
    const int dpi = windowDpi(dialog);
    gOffset.arrows = ImageList_Create(scaleForDpi(24, dpi), scaleForDpi(16, dpi), ILC_COLOR24 | ILC_MASK, 2, 0);
    for (int id : {IDB_OFFSET_ARROW, IDB_OFFSET_ARROW_PRESSED}) {
        HBITMAP picture = loadBitmapForDpi(ui().instance, id, dpi);
        ImageList_AddMasked(gOffset.arrows, picture, kArrowMask);
        DeleteObject(picture);
    }
    HWND entry = GetDlgItem(dialog, IDC_OFFSET_ENTRY);
    SetWindowTextW(entry, toWide(offsetEntryDigits(doc->offsetEntryText)).c_str());
    gOffset.original = toWide(originalAddressText(currentEvent(*doc)->recInCopy));
    SetDlgItemTextW(dialog, IDC_OFFSET_ORIGINAL, gOffset.original.c_str());
    SendMessageW(entry, EM_LIMITTEXT, kEntryLimit, 0);
    SendMessageW(entry, EM_SETSEL, 0, -1);
    SetFocus(entry);
}

void onOffsetOk(HWND dialog) {
    wchar_t entry[16] = {};
    GetDlgItemTextW(dialog, IDC_OFFSET_ENTRY, entry, static_cast<int>(std::size(entry)));
    gOffset.outcome = applyOffsetToCurrentEvent(*gOffset.doc, toU16(entry));
    if (gOffset.outcome.status == OffsetStatus::OutOfRange) {
        showMessageBoxCaptioned(dialog, toWide(kMsgOffsetOutOfRange), MB_OK | MB_ICONWARNING, L"");
        return;
    }
    closeOffsetDialog(dialog, IDOK);
}

// The arrow: the normal picture on a whole redraw and on release, the pressed one a pixel lower and
// further right while the button is held.
void drawArrowButton(const DRAWITEMSTRUCT& item) {
    const bool pressed = item.itemState & ODS_SELECTED;
    if (!(item.itemAction & ODA_DRAWENTIRE) && !(item.itemAction & ODA_SELECT))
        return;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (pressed)
        ImageList_Draw(gOffset.arrows, 1, item.hDC, item.rcItem.left + scaleForWindow(item.hwndItem, 2),
                       item.rcItem.top + scaleForWindow(item.hwndItem, 1), ILD_TRANSPARENT);
    else
        ImageList_Draw(gOffset.arrows, 0, item.hDC, item.rcItem.left + scaleForWindow(item.hwndItem, 1),
                       item.rcItem.top, ILD_TRANSPARENT);
}

INT_PTR CALLBACK offsetDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initOffsetDialog(dialog, reinterpret_cast<EdlDocument*>(lParam));
        return FALSE; // the entry has the focus
    case WM_DRAWITEM:
        if (wParam != IDC_OFFSET_COPY)
            break;
        drawArrowButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_OFFSET_COPY:
            // A quick second click arrives as a double click; it copies as well.
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)
                SetDlgItemTextW(dialog, IDC_OFFSET_ENTRY, gOffset.original.c_str());
            return TRUE;
        case IDOK:
            onOffsetOk(dialog);
            return TRUE;
        case IDCANCEL:
            closeOffsetDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
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
    if (runModal(a.mainWindow, IDD_OFFSET, offsetDialogProc, reinterpret_cast<LPARAM>(&doc)) == IDCANCEL) {
        startWorkers(a.workers);
        return;
    }
    ShowWindow(list, SW_HIDE);
    if (doc.recOffsetDirection != 0) {
        const int top = ListView_GetTopIndex(list);
        ListView_RedrawItems(list, top, top + ListView_GetCountPerPage(list));
        UpdateWindow(list);
    }
    if (gOffset.outcome.discardSearch) {
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
