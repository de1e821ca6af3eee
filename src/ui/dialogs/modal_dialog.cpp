#include "ui/dialogs/modal_dialog.h"

#include "screen/window_layout.h"
#include "ui/dpi.h"
#include "ui/guard.h"
#include "ui/modal.h"
#include "ui/wide.h"

namespace qlp {

INT_PTR ModalDialog::run(HWND owner, int dialogId) {
    return runModal(owner, dialogId, procedure, reinterpret_cast<LPARAM>(this));
}

int ModalDialog::scaled(int pixels) const {
    return scaleForDpi(pixels, dpi_);
}

bool ModalDialog::focusEntry(int field) const {
    SendMessageW(item(field), EM_SETSEL, 0, -1);
    SetFocus(item(field));
    return false;
}

std::u16string ModalDialog::entryText(int field, int limit) const {
    std::wstring text(static_cast<size_t>(limit) + 1, L'\0');
    text.resize(static_cast<size_t>(GetDlgItemTextW(dialog_, field, text.data(), limit + 1)));
    return toU16(text);
}

void ModalDialog::refocus(int field) const {
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(field)), TRUE);
}

void ModalDialog::refuseEntry(int field, std::u16string_view message) const {
    warn(dialog_, toWide(message));
    refocus(field);
}

INT_PTR ModalDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        dpi_ = windowDpi(dialog_);
        return onInit() ? TRUE : FALSE;
    case WM_DPICHANGED:
        // The system has already resized the dialog and its controls from the template; what the
        // dialog made in code for the old scale is made again, and every part is drawn anew.
        if (const int dpi = HIWORD(wParam); dpi > 0 && dpi != dpi_) {
            dpi_ = dpi;
            onDpiChanged();
            RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onOk();
            break;
        case IDCANCEL:
            onCancel();
            break;
        default:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            break;
        }
        return TRUE;
    case WM_DESTROY:
        // What the controls send while they are destroyed (losing the focus) finds no object.
        onDestroy();
        SetWindowLongPtrW(dialog_, DWLP_USER, 0);
        return FALSE;
    default:
        return onMessage(message, wParam, lParam).value_or(FALSE);
    }
}

// Messages that come before WM_INITDIALOG (the font, the creation) find no object yet and go to
// the dialog manager.
INT_PTR CALLBACK ModalDialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<ModalDialog*>(lParam)->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    return guarded(
        dialog, [&] { return self->handle(message, wParam, lParam); },
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG)
                EndDialog(dialog, IDCANCEL);
            return FALSE;
        });
}

} // namespace qlp
