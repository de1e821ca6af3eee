#include "ui/dialogs/version_dialog.h"

#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/ui_state.h"

#include <iterator>

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
        return true;
    }
};

} // namespace

INT_PTR runVersionDialog(HWND owner) {
    VersionDialog dialog;
    return dialog.run(owner, IDD_VERSION);
}

} // namespace qlp
