#include "ui/dialogs/simple_notes_dialog.h"

#include "ops/memos.h"
#include "ops/simple_notes.h"
#include "resource.h"
#include "ui/modal.h"
#include "ui/wide.h"

#include <string>

namespace qlp {

namespace {

constexpr COLORREF kReadOnlyGrey = RGB(220, 220, 220);

// The dialog exists at most once; its state lives for one opening.
struct NotesDialog {
    EdlDocument* doc = nullptr;
    SimpleNote* current = nullptr;
    HBRUSH grey = nullptr;
};
NotesDialog gNotes;

HWND item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

std::u16string editText(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return toU16(text);
}

void setText(HWND dialog, int id, std::u16string_view text) {
    SetDlgItemTextW(dialog, id, toWide(text).c_str());
}

void setReadOnly(HWND dialog, bool readOnly) {
    SendMessageW(item(dialog, IDC_NOTE_TITLE), EM_SETREADONLY, readOnly, 0);
    SendMessageW(item(dialog, IDC_NOTE_BODY), EM_SETREADONLY, readOnly, 0);
}

int lineCount(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_GETCOUNT, 0, 0));
}

void addLine(HWND dialog, const SimpleNote& note) {
    const std::wstring line = toWide(noteLine(note.index + 1, note));
    SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

// Shows a note: `shownTitle` puts "Untitled" in the title edit for an untitled note.
void showNote(HWND dialog, const SimpleNote* note, bool shownTitle) {
    if (!note) {
        setText(dialog, IDC_NOTE_TITLE, {});
        setText(dialog, IDC_NOTE_BODY, {});
        return;
    }
    SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
    setText(dialog, IDC_NOTE_TITLE, shownTitle ? shownNoteTitle(*note) : noteTitle(*note));
    setText(dialog, IDC_NOTE_BODY, noteBody(*note));
}

// One line per note, in list order, numbered from 1.
void fillList(HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_RESETCONTENT, 0, 0);
    for (const SimpleNote* note = gNotes.doc->noteHead->next; note; note = note->next)
        addLine(dialog, *note);
}

// Without notes only New can be used.
void focusAfterChange(HWND dialog) {
    const bool any = gNotes.doc->noteCount > 0;
    if (any) {
        EnableWindow(item(dialog, IDC_NOTE_DELETE), TRUE);
        SetFocus(item(dialog, IDC_NOTE_DELETE));
    } else {
        SetFocus(item(dialog, IDC_NOTE_NEW));
        EnableWindow(item(dialog, IDC_NOTE_DELETE), FALSE);
    }
}

void onInit(HWND dialog, EdlDocument& doc) {
    gNotes.doc = &doc;
    gNotes.grey = CreateSolidBrush(kReadOnlyGrey);
    // The title edit takes no more than a note keeps.
    SendDlgItemMessageW(dialog, IDC_NOTE_TITLE, EM_LIMITTEXT, kNoteTitleChars, 0);
    SendDlgItemMessageW(dialog, IDC_NOTE_BODY, EM_LIMITTEXT, kNoteBodyChars, 0);
    setReadOnly(dialog, true);
    gNotes.current = openNotes(doc);
    fillList(dialog);
    showNote(dialog, gNotes.current, true);
    EnableWindow(item(dialog, IDC_NOTE_DELETE), doc.noteCount > 0);
    SetFocus(item(dialog, IDC_NOTE_NEW));
}

void onTitleKillFocus(HWND dialog) {
    if (SimpleNote* note = gNotes.current) {
        storeNoteTitle(*note, editText(item(dialog, IDC_NOTE_TITLE)));
        HWND list = item(dialog, IDC_NOTE_LIST);
        const std::wstring line = toWide(noteLine(note->index + 1, *note));
        SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(note->index), 0);
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(note->index), reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
    }
    SendDlgItemMessageW(dialog, IDC_NOTE_TITLE, EM_SETREADONLY, TRUE, 0);
}

void onBodyKillFocus(HWND dialog) {
    if (SimpleNote* note = gNotes.current) {
        if (!storeNoteBody(*gNotes.doc, *note, editText(item(dialog, IDC_NOTE_BODY))))
            warn(dialog, toWide(kMsgMemoNoMemory));
    }
    setReadOnly(dialog, true);
    // Only while the dialog itself keeps the focus: not when it closes or another window is activated.
    if (GetActiveWindow() == dialog && IsWindowVisible(dialog))
        SetFocus(item(dialog, IDC_NOTE_LIST));
}

void onNew(HWND dialog) {
    setText(dialog, IDC_NOTE_TITLE, {});
    setText(dialog, IDC_NOTE_BODY, {});
    SimpleNote* note = newNote(*gNotes.doc);
    if (!note) {
        warn(dialog, toWide(kMsgMemoNoMemory));
        return;
    }
    gNotes.current = note;
    addLine(dialog, *note);
    SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_SETCURSEL, static_cast<WPARAM>(note->index), 0);
    EnableWindow(item(dialog, IDC_NOTE_DELETE), TRUE);
}

void onDelete(HWND dialog) {
    if (gNotes.doc->noteCount > 0) {
        const int selected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_GETCURSEL, 0, 0));
        setText(dialog, IDC_NOTE_TITLE, {});
        setText(dialog, IDC_NOTE_BODY, {});
        gNotes.current = deleteNote(*gNotes.doc, selected);
        fillList(dialog);
        showNote(dialog, gNotes.current, false);
    }
    focusAfterChange(dialog);
}

void onSelectionChange(HWND dialog) {
    const int selected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NOTE_LIST, LB_GETCURSEL, 0, 0));
    gNotes.current = selectNote(*gNotes.doc, selected);
    showNote(dialog, gNotes.current, false);
}

void onCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_NOTE_TITLE:
    case IDC_NOTE_BODY:
        if (code == EN_SETFOCUS && lineCount(dialog) > 0)
            SendDlgItemMessageW(dialog, id, EM_SETREADONLY, FALSE, 0);
        else if (code == EN_KILLFOCUS)
            id == IDC_NOTE_TITLE ? onTitleKillFocus(dialog) : onBodyKillFocus(dialog);
        break;
    case IDC_NOTE_LIST:
        if (code == LBN_SELCHANGE)
            onSelectionChange(dialog);
        break;
    case IDC_NOTE_NEW:
        onNew(dialog);
        break;
    case IDC_NOTE_DELETE:
        onDelete(dialog);
        break;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, id);
        break;
    default:
        break;
    }
}

// The two edits are grey while read-only; other statics take the dialog face.
HBRUSH onCtlColorStatic(HWND dialog, HDC dc, HWND control) {
    SetBkMode(dc, TRANSPARENT);
    if (control == item(dialog, IDC_NOTE_TITLE) || control == item(dialog, IDC_NOTE_BODY)) {
        SetTextColor(dc, RGB(0, 0, 0));
        return gNotes.grey;
    }
    return GetSysColorBrush(COLOR_BTNFACE);
}

INT_PTR CALLBACK notesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog, *reinterpret_cast<EdlDocument*>(lParam));
        return FALSE; // the focus is set
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            onCtlColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DESTROY:
        DeleteObject(gNotes.grey);
        gNotes = NotesDialog{};
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR runSimpleNotesDialog(HWND owner, EdlDocument& doc) {
    return runModal(owner, IDD_SIMPLE_NOTES, notesDialogProc, reinterpret_cast<LPARAM>(&doc));
}

} // namespace qlp
