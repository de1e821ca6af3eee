#include "ui/modal.h"

#include "ui/guard.h"
#include "ui/ui_state.h"

#include <shlobj.h>

#include <string>

namespace qlp {

namespace {

ModalHandler* gHandler = nullptr;

std::wstring_view asWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

} // namespace

ModalHandler* setModalHandler(ModalHandler* handler) {
    ModalHandler* previous = gHandler;
    gHandler = handler;
    return previous;
}

int showMessageBox(HWND owner, std::wstring_view text, UINT type, std::wstring_view caption) {
    return showMessageBoxCaptioned(owner, text, type, caption.empty() ? std::wstring_view(ui().caption) : caption);
}

int showMessageBoxCaptioned(HWND owner, std::wstring_view text, UINT type, std::wstring_view caption) {
    if (gHandler)
        return gHandler->messageBox(owner, text, caption, type);
    const std::wstring t(text), c(caption);
    return MessageBoxW(owner, t.c_str(), c.c_str(), type);
}

bool askYesNo(HWND owner, std::wstring_view text) {
    return showMessageBox(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

Answer askYesNoCancel(HWND owner, std::wstring_view text) {
    switch (showMessageBox(owner, text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void warn(HWND owner, std::wstring_view text, bool systemModal) {
    showMessageBox(owner, text, MB_OK | MB_ICONWARNING | (systemModal ? MB_SYSTEMMODAL : 0));
}

void inform(HWND owner, std::wstring_view text) {
    showMessageBox(owner, text, MB_OK | MB_ICONINFORMATION);
}

INT_PTR runModal(HWND owner, int dialogId, DLGPROC proc, LPARAM param) {
    if (gHandler)
        return gHandler->dialogBox(owner, dialogId, proc, param);
    return DialogBoxParamW(ui().instance, MAKEINTRESOURCEW(dialogId), owner, proc, param);
}

bool runOpenFileDialog(OPENFILENAMEW& dialog) {
    if (gHandler)
        return gHandler->fileDialog(dialog, false);
    return GetOpenFileNameW(&dialog) != 0;
}

bool runSaveFileDialog(OPENFILENAMEW& dialog) {
    if (gHandler)
        return gHandler->fileDialog(dialog, true);
    return GetSaveFileNameW(&dialog) != 0;
}

namespace {

int CALLBACK folderBrowserStarted(HWND browser, UINT message, LPARAM, LPARAM data) {
    return guarded(
        browser,
        [&] {
            const auto* folder = reinterpret_cast<const std::wstring*>(data);
            if (message == BFFM_INITIALIZED && !folder->empty())
                SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
            return 0;
        },
        [] { return 0; });
}

} // namespace

bool showFolderBrowser(HWND owner, std::wstring_view title, std::wstring& folder) {
    // The new-style browser needs OLE on this thread.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    const std::wstring t(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = t.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = folderBrowserStarted;
    info.lParam = reinterpret_cast<LPARAM>(&folder);
    bool chosen = false;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(item, path)) {
            folder = path;
            chosen = true;
        }
        CoTaskMemFree(item);
    }
    if (ole)
        OleUninitialize();
    return chosen;
}

bool runFolderBrowser(HWND owner, std::wstring_view title, std::wstring& folder) {
    if (gHandler)
        return gHandler->browseFolder(owner, title, folder);
    return showFolderBrowser(owner, title, folder);
}

bool runColourDialog(CHOOSECOLORW& dialog) {
    if (gHandler)
        return gHandler->colourDialog(dialog);
    return ChooseColorW(&dialog) != 0;
}

Answer WinPrompt::askYesNo(std::u16string_view text) {
    return qlp::askYesNo(ui().mainWindow, asWide(text)) ? Answer::Yes : Answer::No;
}

Answer WinPrompt::askYesNoCancel(std::u16string_view text) {
    return qlp::askYesNoCancel(ui().mainWindow, asWide(text));
}

void WinPrompt::warn(std::u16string_view text, bool systemModal) {
    qlp::warn(ui().mainWindow, asWide(text), systemModal);
}

} // namespace qlp
