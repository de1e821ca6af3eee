#include "ui/dialogs/output_dialog_parts.h"

#include "resource.h"
#include "ui/modal.h"
#include "ui/wide.h"

namespace qlp {

std::wstring dialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void writeWithOverwriteQuestion(HWND dialog, const std::function<ExportAttempt(bool)>& write,
                                std::u16string_view successCaption) {
    ExportAttempt attempt = write(false);
    if (attempt.write.status == WriteStatus::AskOverwrite) {
        if (showMessageBox(dialog, toWide(kMsgOverwrite), MB_YESNO | MB_ICONWARNING) != IDYES)
            return;
        attempt = write(true);
    }
    if (attempt.write.status == WriteStatus::Written)
        showMessageBoxCaptioned(nullptr, toWide(attempt.message), MB_OK | MB_ICONINFORMATION, toWide(successCaption));
    else
        showMessageBoxCaptioned(nullptr, toWide(attempt.message), MB_OK | MB_ICONWARNING, toWide(kWriteErrorCaption));
}

void OutputDialog::showDestination() const {
    SetDlgItemTextW(dialog(), IDC_EXPORT_FOLDER, folder_.c_str());
    updateCreateButton();
}

std::u16string OutputDialog::target(std::wstring_view name, std::u16string_view extension) const {
    return exportPath(toU16(folder_), toU16(name), extension);
}

void OutputDialog::updateCreateButton() const {
    const bool ready =
        GetWindowTextLengthW(item(IDC_EXPORT_FOLDER)) > 0 && GetWindowTextLengthW(item(IDC_EXPORT_NAME)) > 0;
    EnableWindow(item(IDOK), ready);
}

// The folder browser starts at the remembered folder; a choice is shown and remembered.
void OutputDialog::onCommand(int id, int code) {
    if (id == IDC_EXPORT_NAME && code == EN_CHANGE) {
        updateCreateButton();
    } else if (id == IDC_EXPORT_BROWSE) {
        std::wstring chosen = folder_;
        if (runFolderBrowser(dialog(), folderTitle_, chosen)) {
            folder_ = chosen;
            SetDlgItemTextW(dialog(), IDC_EXPORT_FOLDER, folder_.c_str());
        }
        updateCreateButton();
    }
}

} // namespace qlp
