#pragma once
// Helpers for the tests that drive the real main window: a scratch registry that stands in for the
// current user's, a recorder that answers message boxes and dialogs (through the program's modal
// seam and a CBT hook) while keeping their exact texts, and message pumping.

#include "ui/modal.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qlp::test {

inline std::wstring windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(length + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

// Records the commands that reach the main window instead of executing them.
class MainCommandSpy {
public:
    explicit MainCommandSpy(HWND main) : main_(main) {
        SetWindowSubclass(main_, proc, 78, reinterpret_cast<DWORD_PTR>(this));
    }
    ~MainCommandSpy() { RemoveWindowSubclass(main_, proc, 78); }
    std::vector<int> commands;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        if (msg == WM_COMMAND && LOWORD(wParam) >= 40000) {
            reinterpret_cast<MainCommandSpy*>(self)->commands.push_back(LOWORD(wParam));
            return 0;
        }
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    HWND main_;
};

// The rows of a list view that are selected, in order.
inline std::vector<int> selectedRows(HWND list) {
    std::vector<int> rows;
    for (int r = ListView_GetNextItem(list, -1, LVNI_SELECTED); r >= 0;
         r = ListView_GetNextItem(list, r, LVNI_SELECTED))
        rows.push_back(r);
    return rows;
}

inline std::wstring className(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

// gtest prints std::string readably; wide texts are converted for failure messages.
inline std::string utf8(std::wstring_view text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// Delivers posted and sent messages for about `ms` milliseconds.
inline void pumpMessages(DWORD ms = 50) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// Pumps messages until the condition holds; false after the timeout.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        pumpMessages(10);
    }
    return true;
}

// Replaces HKEY_CURRENT_USER of this process by a fresh scratch key for the life of the object, so a
// test starts from an empty user registry and leaves nothing behind.
class ScratchRegistry {
public:
    ScratchRegistry() {
        static int counter = 0;
        path_ =
            L"Software\\QuillonTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, key_), ERROR_SUCCESS);
    }
    ~ScratchRegistry() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

// Reads a value below HKEY_CURRENT_USER; false when it is missing.
inline bool readValue(const std::wstring& keyPath, const wchar_t* name, std::vector<BYTE>& data,
                      DWORD* type = nullptr) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data.resize(size);
        status = RegQueryValueExW(key, name, nullptr, type, data.data(), &size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline std::vector<int32_t> readInts(const std::wstring& keyPath, const wchar_t* name) {
    std::vector<BYTE> data;
    if (!readValue(keyPath, name, data))
        return {};
    std::vector<int32_t> ints(data.size() / 4);
    memcpy(ints.data(), data.data(), ints.size() * 4);
    return ints;
}

// A string value exactly as stored (a terminating NUL, if stored, is kept).
inline std::wstring readStoredString(const std::wstring& keyPath, const wchar_t* name, DWORD* type = nullptr) {
    std::vector<BYTE> data;
    if (!readValue(keyPath, name, data, type))
        return L"<missing>";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
}

// One message box or dialog as it appeared on the screen.
struct ModalRecord {
    std::wstring caption;
    std::wstring text;                  // message boxes: the message
    std::vector<std::wstring> children; // dialogs: the texts of all controls, in z-order
    std::vector<int> childIds;
    int bitmaps = 0;  // dialogs: picture controls showing a bitmap
    UINT type = 0;    // message boxes: the MB_ flags asked for
    int dialogId = 0; // dialogs: the resource id
    bool throughSeam = false;
};

// One open or save dialog as the program described it.
struct FileDialogRecord {
    bool save = false;
    std::wstring title;
    std::vector<std::wstring> filter; // name, pattern, name, pattern...
    std::wstring defaultExtension;
    DWORD flags = 0;
    DWORD bufferLength = 0;
};

// What the next file dialog returns: its buffer (NULs included) and the filter chosen, or a cancel.
struct FileDialogAnswer {
    bool ok = false;
    std::wstring buffer;
    DWORD filterIndex = 1;
};

// Answers message boxes and dialogs. Both are really shown: the program's seam records the request,
// a CBT hook sees the window when it activates, records its texts and presses the scripted button.
// A box or dialog nobody scripted an answer for is recorded and fails the test.
class ModalRecorder : public ModalHandler {
public:
    ModalRecorder() {
        instance() = this;
        hook_ = SetWindowsHookExW(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
        previous_ = setModalHandler(this);
    }
    ~ModalRecorder() override {
        setModalHandler(previous_);
        UnhookWindowsHookEx(hook_);
        instance() = nullptr;
    }

    // The next box or dialog is answered with this button (IDYES, IDNO, IDOK, IDCANCEL...).
    void expect(int button) { answers.push_back(button); }

    int messageBox(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) override {
        pendingType_ = type;
        pendingText_ = text;
        const std::wstring t(text), c(caption);
        return MessageBoxW(owner, t.c_str(), c.c_str(), type);
    }
    INT_PTR dialogBox(HWND owner, int dialogId, DLGPROC proc, LPARAM param) override {
        pendingDialog_ = dialogId;
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialogId), owner, proc, param);
    }

    // The next file dialog returns one file chosen with filter `filterIndex` (1-based).
    void answerFile(const std::wstring& path, DWORD filterIndex = 1) {
        fileAnswers.push_back({true, path + L'\0', filterIndex});
    }
    // The next file dialog returns several files of one directory, as a multiple selection does.
    void answerFiles(const std::wstring& directory, const std::vector<std::wstring>& names, DWORD filterIndex) {
        std::wstring buffer = directory + L'\0';
        for (const std::wstring& name : names)
            buffer += name + L'\0';
        fileAnswers.push_back({true, buffer, filterIndex});
    }
    void cancelFileDialog() { fileAnswers.push_back({}); }

    // File dialogs are answered in the seam: the common dialog itself is the platform's.
    bool fileDialog(OPENFILENAMEW& dialog, bool save) override {
        FileDialogRecord record;
        record.save = save;
        record.title = dialog.lpstrTitle ? dialog.lpstrTitle : L"";
        for (const wchar_t* f = dialog.lpstrFilter; f && *f; f += wcslen(f) + 1)
            record.filter.push_back(f);
        record.defaultExtension = dialog.lpstrDefExt ? dialog.lpstrDefExt : L"";
        record.flags = dialog.Flags;
        record.bufferLength = dialog.nMaxFile;
        fileDialogs.push_back(record);
        if (fileAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog \"" << utf8(record.title) << "\"";
            return false;
        }
        const FileDialogAnswer answer = fileAnswers.front();
        fileAnswers.pop_front();
        // The buffer ends with one NUL more than the answer holds; a choice that does not fit
        // fails as the dialog does.
        if (!answer.ok || answer.buffer.size() + 1 > dialog.nMaxFile)
            return false;
        std::copy(answer.buffer.begin(), answer.buffer.end(), dialog.lpstrFile);
        dialog.lpstrFile[answer.buffer.size()] = L'\0';
        dialog.nFilterIndex = answer.filterIndex;
        return true;
    }

    std::vector<ModalRecord> records;
    std::deque<int> answers;
    std::vector<FileDialogRecord> fileDialogs;
    std::deque<FileDialogAnswer> fileAnswers;
    int unexpected = 0;

private:
    static ModalRecorder*& instance() {
        static ModalRecorder* current = nullptr;
        return current;
    }

    void onActivate(HWND window) {
        if (className(window) != L"#32770" || handled_ == window)
            return;
        handled_ = window;
        ModalRecord record;
        record.caption = windowText(window);
        record.type = pendingType_;
        record.dialogId = pendingDialog_;
        record.throughSeam = pendingType_ != 0 || pendingDialog_ != 0;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            record.children.push_back(windowText(child));
            record.childIds.push_back(GetDlgCtrlID(child));
            if (SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0))
                ++record.bitmaps;
        }
        if (pendingType_) {
            record.text = windowText(GetDlgItem(window, 0xFFFF)); // the message of a message box
            // Wine activates a system-modal box before it sets its message; the box then shows
            // the text it was given.
            if (record.text.empty() && (pendingType_ & MB_SYSTEMMODAL))
                record.text = pendingText_;
        }
        pendingType_ = 0;
        pendingDialog_ = 0;
        int button = IDCANCEL;
        if (!answers.empty()) {
            button = answers.front();
            answers.pop_front();
        } else {
            ++unexpected;
            ADD_FAILURE() << "unexpected box \"" << utf8(record.caption) << "\": " << utf8(record.text);
        }
        if (!record.throughSeam)
            ADD_FAILURE() << "a box or dialog bypassed the program's modal seam: " << utf8(record.caption);
        records.push_back(std::move(record));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    static LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && instance())
            instance()->onActivate(reinterpret_cast<HWND>(wParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
    ModalHandler* previous_ = nullptr;
    UINT pendingType_ = 0;
    std::wstring pendingText_;
    int pendingDialog_ = 0;
    HWND handled_ = nullptr;
};

} // namespace qlp::test
