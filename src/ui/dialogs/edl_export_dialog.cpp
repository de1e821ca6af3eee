// The EDL export dialog (176) and the main window's export command.

#include "outputs/edl_export.h"
#include "resource.h"
#include "ui/dialogs/output_dialog_parts.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

namespace qlp {

namespace {

constexpr std::wstring_view kEdlFolderTitle = L"ＥＤＬの保存先を選択してください。";
constexpr size_t kNameLimit = 1024;

class EdlExportDialog : public OutputDialog {
public:
    EdlExportDialog(const EdlDocument& doc, std::wstring& folder) : OutputDialog(kEdlFolderTitle, folder), doc_(doc) {}
    using ModalDialog::run;

private:
    bool onInit() override {
        CheckDlgButton(dialog(), IDC_EXPORT_CONVERT, BST_UNCHECKED);
        SetDlgItemTextW(dialog(), IDC_EXPORT_CONVERT,
                        toWide(doc_.dropFrame ? kConvertToNdfText : kConvertToDfText).c_str());
        showDestination();
        return true;
    }

    // Create writes the file and leaves the dialog open.
    void onOk() override {
        const bool convert = IsDlgButtonChecked(dialog(), IDC_EXPORT_CONVERT) == BST_CHECKED;
        std::wstring name = dialogItemText(dialog(), IDC_EXPORT_NAME);
        if (name.size() > kNameLimit)
            name.resize(kNameLimit);
        const std::u16string path = target(name, u".EDL");
        writeWithOverwriteQuestion(
            dialog(),
            [&](bool overwrite) {
                const EdlExportOutcome outcome = exportEdlFile(doc_, path, convert, overwrite);
                return ExportAttempt{outcome.write, outcome.message};
            },
            kEdlCreatedCaption);
    }

    const EdlDocument& doc_;
};

// `folder` is the destination shown first and the one chosen last.
INT_PTR runEdlExportDialog(HWND owner, const EdlDocument& doc, std::wstring& folder) {
    EdlExportDialog dialog(doc, folder);
    return dialog.run(owner, IDD_EDL_EXPORT);
}

} // namespace

void onEdlExportCommand() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    stopWorkers(a.workers);
    runEdlExportDialog(a.mainWindow, a.document, a.dialogs.edlFolder);
    startWorkers(a.workers);
    SetFocus(a.controls.list);
}

} // namespace qlp
