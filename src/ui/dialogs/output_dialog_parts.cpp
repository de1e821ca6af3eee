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

void updateCreateButton(HWND dialog) {
    const bool ready = GetWindowTextLengthW(GetDlgItem(dialog, IDC_EXPORT_FOLDER)) > 0 &&
                       GetWindowTextLengthW(GetDlgItem(dialog, IDC_EXPORT_NAME)) > 0;
    EnableWindow(GetDlgItem(dialog, IDOK), ready);
}

void chooseDestination(HWND dialog, std::wstring_view title, std::wstring& folder) {
    std::wstring chosen = folder;
    if (runFolderBrowser(dialog, title, chosen)) {
        folder = chosen;
        SetDlgItemTextW(dialog, IDC_EXPORT_FOLDER, folder.c_str());
    }
    updateCreateButton(dialog);
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

} // namespace qlp
