// The EDL export dialog (176) and the main window's export command.

#include "outputs/edl_export.h"
#include "resource.h"
#include "ui/dialogs/output_dialog_parts.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/modal.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

namespace qlp {

namespace {

constexpr std::wstring_view kEdlFolderTitle = L"ＥＤＬの保存先を選択してください。";
constexpr size_t kNameLimit = 1024;

// Remembered from one use of the dialog to the next while the program runs.
std::wstring gEdlFolder;
const EdlDocument* gEdlDocument = nullptr;

void initEdlExportDialog(HWND dialog, const EdlDocument* doc) {
    gEdlDocument = doc;
    CheckDlgButton(dialog, IDC_EXPORT_CONVERT, BST_UNCHECKED);
    SetDlgItemTextW(dialog, IDC_EXPORT_CONVERT, toWide(doc->dropFrame ? kConvertToNdfText : kConvertToDfText).c_str());
    SetDlgItemTextW(dialog, IDC_EXPORT_FOLDER, gEdlFolder.c_str());
    updateCreateButton(dialog);
}

void onEdlCreate(HWND dialog) {
    const bool convert = IsDlgButtonChecked(dialog, IDC_EXPORT_CONVERT) == BST_CHECKED;
    std::wstring name = dialogItemText(dialog, IDC_EXPORT_NAME);
    if (name.size() > kNameLimit)
        name.resize(kNameLimit);
    const std::u16string path = exportPath(toU16(gEdlFolder), toU16(name), u".EDL");
    writeWithOverwriteQuestion(
        dialog,
        [&](bool overwrite) {
            const EdlExportOutcome outcome = exportEdlFile(*gEdlDocument, path, convert, overwrite);
            return ExportAttempt{outcome.write, outcome.message};
        },
        kEdlCreatedCaption);
}

INT_PTR CALLBACK edlExportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initEdlExportDialog(dialog, reinterpret_cast<const EdlDocument*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_EXPORT_NAME:
            if (HIWORD(wParam) == EN_CHANGE)
                updateCreateButton(dialog);
            return TRUE;
        case IDC_EXPORT_BROWSE:
            chooseDestination(dialog, kEdlFolderTitle, gEdlFolder);
            return TRUE;
        case IDOK:
            onEdlCreate(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void onEdlExportCommand() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    stopWorkers(a.workers);
    runModal(a.mainWindow, IDD_EDL_EXPORT, edlExportDialogProc, reinterpret_cast<LPARAM>(&a.document));
    startWorkers(a.workers);
    SetFocus(a.controls.list);
}

} // namespace qlp
