#include "ui/dialogs/version_dialog.h"

#include "resource.h"
#include "ui/modal.h"
#include "ui/ui_state.h"

#include <iterator>

namespace qlp {

namespace {

void onInitDialog(HWND dialog) {
    wchar_t contact[128] = {};
    LoadStringW(ui().instance, IDS_CONTACT, contact, static_cast<int>(std::size(contact)));
    SetDlgItemTextW(dialog, IDC_VERSION_CONTACT, contact);
}

INT_PTR CALLBACK versionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR runVersionDialog(HWND owner) {
    return runModal(owner, IDD_VERSION, versionDialogProc);
}

} // namespace qlp
