#pragma once
// The one place where the program shows message boxes and modal dialogs. Every question, warning
// and dialog goes through here, so the Windows tests can watch, answer and record them.

#include "model/prompt.h"

#include <windows.h>
// commdlg.h needs the types of windows.h.
#include <commdlg.h>

#include <string>
#include <string_view>

namespace qlp {

// The shell's folder browser (file-system folders only, new dialog style) titled `title`, with
// `folder` preselected once it has started. On a choice that has a file-system path, `folder` holds
// it and the result is true.
bool showFolderBrowser(HWND owner, std::wstring_view title, std::wstring& folder);

// Takes over the boxes and dialogs (tests). The default shows them with the Windows API.
class ModalHandler {
public:
    virtual ~ModalHandler() = default;
    // Shows or answers a message box; returns the identifier of the button chosen.
    virtual int messageBox(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) = 0;
    // Runs a modal dialog from the program's resources; returns what the dialog ended with.
    virtual INT_PTR dialogBox(HWND owner, int dialogId, DLGPROC proc, LPARAM param) = 0;
    // Shows or answers the open (save false) or save file dialog described by `dialog`. On OK the
    // dialog's file buffer holds the choice and nFilterIndex the filter chosen; false on cancel.
    virtual bool fileDialog(OPENFILENAMEW& dialog, bool save) {
        return save ? GetSaveFileNameW(&dialog) != 0 : GetOpenFileNameW(&dialog) != 0;
    }
    // Shows or answers the folder browser (see showFolderBrowser).
    virtual bool browseFolder(HWND owner, std::wstring_view title, std::wstring& folder) {
        return showFolderBrowser(owner, title, folder);
    }
    // Shows or answers the colour picker described by `dialog`: true with rgbResult set on OK,
    // false on cancel. The custom-colour row it points to may change either way.
    virtual bool colourDialog(CHOOSECOLORW& dialog) { return ChooseColorW(&dialog) != 0; }
};

// Installs a handler; nullptr returns to the real boxes. Returns the previous handler.
ModalHandler* setModalHandler(ModalHandler* handler);

// A message box captioned with the application title (or the given caption).
int showMessageBox(HWND owner, std::wstring_view text, UINT type, std::wstring_view caption = {});

// A message box with exactly this caption, an empty one included.
int showMessageBoxCaptioned(HWND owner, std::wstring_view text, UINT type, std::wstring_view caption);

// Yes/No with the question icon; true for Yes.
bool askYesNo(HWND owner, std::wstring_view text);
// Yes/No/Cancel with the question icon.
Answer askYesNoCancel(HWND owner, std::wstring_view text);
// A warning with an OK button; systemModal keeps it above every window.
void warn(HWND owner, std::wstring_view text, bool systemModal = false);
// Information with an OK button.
void inform(HWND owner, std::wstring_view text);

// Runs dialog `dialogId` of the program's resources modally.
INT_PTR runModal(HWND owner, int dialogId, DLGPROC proc, LPARAM param = 0);

// The common open and save dialogs; false when the user cancels.
bool runOpenFileDialog(OPENFILENAMEW& dialog);
bool runSaveFileDialog(OPENFILENAMEW& dialog);
// The folder browser; false when the user cancels or picks a folder without a file-system path.
bool runFolderBrowser(HWND owner, std::wstring_view title, std::wstring& folder);
// The common colour picker; false when the user cancels.
bool runColourDialog(CHOOSECOLORW& dialog);

// The core's questions and warnings as message boxes over the main window.
class WinPrompt : public Prompt {
public:
    Answer askYesNo(std::u16string_view text) override;
    Answer askYesNoCancel(std::u16string_view text) override;
    void warn(std::u16string_view text, bool systemModal = false) override;
};

} // namespace qlp
