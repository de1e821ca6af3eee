#pragma once
// What the export and listing dialogs share: reading an edit, the destination folder button, the
// Create button's state, and writing a file with the overwrite question and the result message.

#include "outputs/export_file.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qlp {

std::wstring dialogItemText(HWND dialog, int id);

// Create (IDOK) is enabled only while both the folder and the file name are non-empty.
void updateCreateButton(HWND dialog);

// The destination button: the folder browser starts at `folder`; a choice is shown and remembered.
void chooseDestination(HWND dialog, std::wstring_view title, std::wstring& folder);

// Writes through `write` (called with the overwrite confirmation); an existing file is replaced only
// after Yes to the overwrite question. Shows the success or write-error message. The outcome of
// `write` is its status and the message to show.
struct ExportAttempt {
    WriteOutcome write;
    std::u16string message;
};
void writeWithOverwriteQuestion(HWND dialog, const std::function<ExportAttempt(bool)>& write,
                                std::u16string_view successCaption);

} // namespace qlp
