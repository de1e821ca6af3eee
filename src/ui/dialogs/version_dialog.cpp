#include "ui/dialogs/version_dialog.h"

#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/paint_table.h"
#include "ui/ui_state.h"

#include <iterator>
#include <utility>

namespace qlp {

namespace {

class VersionDialog : public ModalDialog {
public:
    using ModalDialog::run;

private:
    bool onInit() override {
        wchar_t contact[128] = {};
        LoadStringW(ui().instance, IDS_CONTACT, contact, static_cast<int>(std::size(contact)));
        SetDlgItemTextW(dialog(), IDC_VERSION_CONTACT, contact);
        showPicture();
        return true;
    }

    // The template's picture is the 96-DPI one; the version drawn for the dialog's display takes its
    // place, and again when the dialog moves to a display of another scale.
    // The picture control has no id of its own: it is the one static that shows a bitmap.
    HWND pictureControl() const {
        for (HWND c = GetWindow(dialog(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
                return c;
        return nullptr;
    }

    void showPicture() {
        HWND control = pictureControl();
        if (!control)
            return;
        OwnedHandle<HBITMAP> picture(loadBitmapForDpi(ui().instance, IDB_ABOUT, dpi()));
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get())));
        // The control hands back the picture it showed: the one it loaded from the template is the
        // program's to delete; one set here before is deleted as picture_ takes the new one.
        if (previous && !picture_)
            DeleteObject(previous);
        picture_ = std::move(picture);
    }

    void onDpiChanged() override { showPicture(); }

    OwnedHandle<HBITMAP> picture_; // the picture shown, for the dialog's display
};

} // namespace

INT_PTR runVersionDialog(HWND owner) {
    VersionDialog dialog;
    return dialog.run(owner, IDD_VERSION);
}

} // namespace qlp
