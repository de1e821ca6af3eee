#pragma once
// Runs a test's script inside each dialog the program opens, as the user works in it, and answers
// the message boxes the dialog asks and the folder browser it opens.

#include "main_window_fixture.h"

namespace qlp::test {

inline constexpr int kRunScript = 0x7F00; // the recorder's answer that hands a dialog to the test's script

// Sits in front of the recorder: runs the test's script inside each dialog and answers the folder
// browser.
class DialogScripts : public ModalHandler {
public:
    explicit DialogScripts(ModalRecorder& recorder) : recorder_(recorder) {
        previous_ = setModalHandler(this);
        self() = this;
    }
    ~DialogScripts() override {
        setModalHandler(previous_);
        self() = nullptr;
    }
    // Boxes are answered here, without a window: a real box would hand the activation back to the
    // dialog when it closes, and the recorder would take that for a new dialog.
    int messageBox(HWND, std::wstring_view text, std::wstring_view caption, UINT type) override {
        boxes.push_back({utf8(caption), utf8(text), type});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected box: " << boxes.back().text;
            return IDCANCEL;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    INT_PTR dialogBox(HWND owner, int dialogId, DLGPROC proc, LPARAM param) override {
        proc_ = proc;
        recorder_.expect(kRunScript);
        return recorder_.dialogBox(owner, dialogId, scriptedProc, param);
    }
    bool fileDialog(OPENFILENAMEW& dialog, bool save) override { return recorder_.fileDialog(dialog, save); }
    bool browseFolder(HWND, std::wstring_view title, std::wstring& folder) override {
        browserTitles.push_back(utf8(title));
        folder = folderAnswer;
        return true;
    }

    struct Box {
        std::string caption, text;
        UINT type;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::function<void(HWND)> script;
    std::wstring folderAnswer;
    std::vector<std::string> browserTitles;

private:
    static DialogScripts*& self() {
        static DialogScripts* current = nullptr;
        return current;
    }
    static INT_PTR CALLBACK scriptedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && LOWORD(wParam) == kRunScript) {
            self()->script(dialog);
            return TRUE;
        }
        return self()->proc_(dialog, message, wParam, lParam);
    }
    ModalRecorder& recorder_;
    ModalHandler* previous_ = nullptr;
    DLGPROC proc_ = nullptr;
};

} // namespace qlp::test
