#include "ui/dialogs/timecode_entry_dialog.h"

#include "ops/timecode_entry.h"
#include "resource.h"
#include "ui/modal.h"
#include "ui/wide.h"

#include <string>

namespace qlp {

namespace {

constexpr int kMaxDigits = 8;   // hhmmssff
constexpr int kReadLength = 10; // characters read back on OK
constexpr int kMargin = 2;      // pixels left and right of the digits

EdlDocument& documentOf(HWND dialog) {
    return *reinterpret_cast<EdlDocument*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void onInitDialog(HWND dialog, EdlDocument& doc) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&doc));
    const int slot = doc.search.editSlot;
    CheckRadioButton(dialog, IDC_ENTRY_DF, IDC_ENTRY_NDF,
                     doc.search.slotDropFrame[slot] == 1 ? IDC_ENTRY_DF : IDC_ENTRY_NDF);
    // Only the source first bound chooses its mode; the others follow the document, NDF or their
    // first bound.
    const bool choosesMode = timecodeEntryChoosesMode(slot);
    EnableWindow(GetDlgItem(dialog, IDC_ENTRY_DF), choosesMode);
    EnableWindow(GetDlgItem(dialog, IDC_ENTRY_NDF), choosesMode);

    HWND edit = GetDlgItem(dialog, IDC_ENTRY_NUMBER);
    SendMessageW(edit, EM_LIMITTEXT, kMaxDigits, 0);
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
    SetWindowTextW(dialog, toWide(timecodeEntryTitle(slot)).c_str());
    SetWindowTextW(edit, wide(timecodeEntryDigits(doc.search, slot)));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

// OK: the entered digits become the slot's bound, or a warning keeps the dialog open with the
// focus back in the edit.
void onOk(HWND dialog) {
    EdlDocument& doc = documentOf(dialog);
    wchar_t text[kReadLength + 1] = {};
    GetDlgItemTextW(dialog, IDC_ENTRY_NUMBER, text, kReadLength + 1);
    const BoundEntryOutcome outcome = enterTimecodeBound(doc.search, doc.dropFrame, doc.search.editSlot, toU16(text));
    if (!outcome.message.empty()) {
        warn(dialog, toWide(outcome.message));
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_ENTRY_NUMBER)), TRUE);
        return;
    }
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK timecodeEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog, *reinterpret_cast<EdlDocument*>(lParam));
        return FALSE; // the focus is set already
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onOk(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 2);
            return TRUE;
        case IDC_ENTRY_DF:
        case IDC_ENTRY_NDF:
            // The choice holds at once: a later cancel keeps it.
            if (HIWORD(wParam) == BN_CLICKED) {
                EdlDocument& doc = documentOf(dialog);
                doc.search.slotDropFrame[doc.search.editSlot] = LOWORD(wParam) == IDC_ENTRY_DF ? 1 : 0;
            }
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR chooseTimecode(HWND owner, EdlDocument& doc) {
    return runModal(owner, IDD_TIMECODE_ENTRY, timecodeEntryProc, reinterpret_cast<LPARAM>(&doc));
}

} // namespace qlp
