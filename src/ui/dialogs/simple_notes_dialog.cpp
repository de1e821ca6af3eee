#include "ui/dialogs/simple_notes_dialog.h"

#include "ops/memos.h"
#include "ops/simple_notes.h"
#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/modal.h"
#include "ui/wide.h"

#include <new>
#include <optional>
#include <string>

namespace qlp {

namespace {

constexpr COLORREF kReadOnlyGrey = RGB(220, 220, 220);

std::u16string editText(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return toU16(text);
}

class SimpleNotesDialog : public ModalDialog {
public:
    explicit SimpleNotesDialog(EdlDocument& doc) : doc_(doc) {}
    using ModalDialog::run;

private:
    void setText(int id, std::u16string_view text) const { SetDlgItemTextW(dialog(), id, toWide(text).c_str()); }

    void setReadOnly(bool readOnly) const {
        SendMessageW(item(IDC_NOTE_TITLE), EM_SETREADONLY, readOnly, 0);
        SendMessageW(item(IDC_NOTE_BODY), EM_SETREADONLY, readOnly, 0);
    }

    int lineCount() const { return static_cast<int>(SendMessageW(item(IDC_NOTE_LIST), LB_GETCOUNT, 0, 0)); }
    int selectedLine() const { return static_cast<int>(SendMessageW(item(IDC_NOTE_LIST), LB_GETCURSEL, 0, 0)); }

    void addLine(const SimpleNote& note) const {
        const std::wstring line = toWide(noteLine(note.index + 1, note));
        SendMessageW(item(IDC_NOTE_LIST), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }

    // Shows a note: `shownTitle` puts "Untitled" in the title edit for an untitled note.
    void showNote(const SimpleNote* note, bool shownTitle) const {
        if (!note) {
            setText(IDC_NOTE_TITLE, {});
            setText(IDC_NOTE_BODY, {});
            return;
        }
        SendMessageW(item(IDC_NOTE_LIST), LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
        setText(IDC_NOTE_TITLE, shownTitle ? shownNoteTitle(*note) : noteTitle(*note));
        setText(IDC_NOTE_BODY, noteBody(*note));
    }

    // One line per note, in list order, numbered from 1.
    void fillList() const {
        SendMessageW(item(IDC_NOTE_LIST), LB_RESETCONTENT, 0, 0);
        for (const SimpleNote* note = doc_.noteHead->next; note; note = note->next)
            addLine(*note);
    }

    // Without notes only New can be used.
    void focusAfterChange() const {
        if (doc_.noteCount > 0) {
            EnableWindow(item(IDC_NOTE_DELETE), TRUE);
            SetFocus(item(IDC_NOTE_DELETE));
        } else {
            SetFocus(item(IDC_NOTE_NEW));
            EnableWindow(item(IDC_NOTE_DELETE), FALSE);
        }
    }

    bool onInit() override {
        grey_.reset(CreateSolidBrush(kReadOnlyGrey));
        // The title edit takes no more than a note keeps.
        SendMessageW(item(IDC_NOTE_TITLE), EM_LIMITTEXT, kNoteTitleChars, 0);
        SendMessageW(item(IDC_NOTE_BODY), EM_LIMITTEXT, kNoteBodyChars, 0);
        setReadOnly(true);
        current_ = openNotes(doc_);
        fillList();
        showNote(current_, true);
        EnableWindow(item(IDC_NOTE_DELETE), doc_.noteCount > 0);
        SetFocus(item(IDC_NOTE_NEW));
        return false;
    }

    void onTitleKillFocus() const {
        if (SimpleNote* note = current_) {
            storeNoteTitle(*note, editText(item(IDC_NOTE_TITLE)));
            HWND list = item(IDC_NOTE_LIST);
            const std::wstring line = toWide(noteLine(note->index + 1, *note));
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(note->index), 0);
            SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(note->index),
                         reinterpret_cast<LPARAM>(line.c_str()));
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
        }
        SendMessageW(item(IDC_NOTE_TITLE), EM_SETREADONLY, TRUE, 0);
    }

    // Reading the typed text and storing it both take memory; either failing is the same to the
    // user: the note keeps the body it had and the memo's no-memory message says why.
    void onBodyKillFocus() const {
        if (SimpleNote* note = current_) {
            bool stored = false;
            try {
                stored = storeNoteBody(doc_, *note, editText(item(IDC_NOTE_BODY)));
            } catch (const std::bad_alloc&) {
            }
            if (!stored)
                warn(dialog(), toWide(kMsgMemoNoMemory));
        }
        setReadOnly(true);
        // Only while the dialog itself keeps the focus: not when it closes or another window is
        // activated.
        if (GetActiveWindow() == dialog() && IsWindowVisible(dialog()))
            SetFocus(item(IDC_NOTE_LIST));
    }

    void onNew() {
        setText(IDC_NOTE_TITLE, {});
        setText(IDC_NOTE_BODY, {});
        SimpleNote* note = newNote(doc_);
        if (!note) {
            warn(dialog(), toWide(kMsgMemoNoMemory));
            return;
        }
        current_ = note;
        addLine(*note);
        SendMessageW(item(IDC_NOTE_LIST), LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
        EnableWindow(item(IDC_NOTE_DELETE), TRUE);
    }

    void onDelete() {
        if (doc_.noteCount > 0) {
            const int selected = selectedLine();
            setText(IDC_NOTE_TITLE, {});
            setText(IDC_NOTE_BODY, {});
            current_ = deleteNote(doc_, selected);
            fillList();
            showNote(current_, false);
        }
        focusAfterChange();
    }

    void onCommand(int id, int code) override {
        switch (id) {
        case IDC_NOTE_TITLE:
        case IDC_NOTE_BODY:
            if (code == EN_SETFOCUS && lineCount() > 0)
                SendMessageW(item(id), EM_SETREADONLY, FALSE, 0);
            else if (code == EN_KILLFOCUS)
                id == IDC_NOTE_TITLE ? onTitleKillFocus() : onBodyKillFocus();
            break;
        case IDC_NOTE_LIST:
            if (code == LBN_SELCHANGE) {
                current_ = selectNote(doc_, selectedLine());
                showNote(current_, false);
            }
            break;
        case IDC_NOTE_NEW:
            onNew();
            break;
        case IDC_NOTE_DELETE:
            onDelete();
            break;
        default:
            break;
        }
    }

    // The two edits are grey while read-only; other statics take the dialog face.
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_CTLCOLORSTATIC)
            return std::nullopt;
        HDC dc = reinterpret_cast<HDC>(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        SetBkMode(dc, TRANSPARENT);
        if (control == item(IDC_NOTE_TITLE) || control == item(IDC_NOTE_BODY)) {
            SetTextColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<INT_PTR>(grey_.get());
        }
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    EdlDocument& doc_;
    SimpleNote* current_ = nullptr;
    OwnedHandle<HBRUSH> grey_;
};

} // namespace

INT_PTR runSimpleNotesDialog(HWND owner, EdlDocument& doc) {
    SimpleNotesDialog dialog(doc);
    return dialog.run(owner, IDD_SIMPLE_NOTES);
}

} // namespace qlp
