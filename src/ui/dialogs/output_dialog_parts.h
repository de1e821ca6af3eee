#pragma once
// What the export and listing dialogs share: the destination folder, chosen with the folder
// browser and remembered while the program runs, the file name, Create (IDOK) enabled only while
// both are non-empty, and writing a file with the overwrite question and the result message.

#include "outputs/export_file.h"
#include "ui/dialogs/modal_dialog.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qlp {

std::wstring dialogItemText(HWND dialog, int id);

// Writes through `write` (called with the overwrite confirmation); an existing file is replaced only
// after Yes to the overwrite question. Shows the success or write-error message. The outcome of
// `write` is its status and the message to show.
struct ExportAttempt {
    WriteOutcome write;
    std::u16string message;
};
void writeWithOverwriteQuestion(HWND dialog, const std::function<ExportAttempt(bool)>& write,
                                std::u16string_view successCaption);

class OutputDialog : public ModalDialog {
protected:
    // `folderTitle` titles the folder browser; `folder` is the remembered destination.
    OutputDialog(std::wstring_view folderTitle, std::wstring& folder) : folderTitle_(folderTitle), folder_(folder) {}

    // Shows the remembered folder and sets Create's state; for onInit.
    void showDestination() const;
    // The file the folder and the typed name make (see exportPath).
    std::u16string target(std::wstring_view name, std::u16string_view extension) const;

    // The name edit and the destination button.
    void onCommand(int id, int code) override;

private:
    void updateCreateButton() const;

    std::wstring_view folderTitle_;
    std::wstring& folder_;
};

} // namespace qlp
