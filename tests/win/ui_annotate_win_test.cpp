// Annotating events in the real main window: a marker chosen on its cell, set by the menu command
// and deleted again; the comment display switched by its button; a memo typed into
// the memo box and stored when the box loses the focus, not stored when the current row moved
// meanwhile, and removed by the write command; the tab turns modified. The notes, reel information
// and marker settings dialogs driven from inside their modal loops. Every annotating command reached
// from its menu item, its key, its button and the list's pop-up; a colour chosen in the marker
// settings painted on the marked rows and on its marker cell.

#include "common/fail_allocations.h"
#include "dialog_scripts.h"
#include "main_window_fixture.h"

#include "ops/memos.h"
#include "ops/reel_info.h"
#include "ops/simple_notes.h"
#include "ops/single_line.h"

#include <optional>

namespace qlp {
namespace {

using test::windowText;

// Runs a script inside the modal loop of the next dialog the program opens, as a user would act
// on it; the script ends by closing the dialog. The recorder is told to press a button no dialog
// knows (0), so that only the script acts.
class DialogScript {
public:
    DialogScript(test::ModalRecorder& recorder, std::function<void(HWND)> script) {
        current() = std::move(script);
        recorder.expect(0);
        SetTimer(nullptr, 0, 20, onTimer);
    }
    ~DialogScript() { current() = nullptr; }

private:
    static std::function<void(HWND)>& current() {
        static std::function<void(HWND)> script;
        return script;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM found) {
                if (IsWindowVisible(w) && test::className(w) == L"#32770")
                    *reinterpret_cast<HWND*>(found) = w;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || !current())
            return; // not open yet: the timer comes again
        KillTimer(nullptr, id);
        auto script = std::move(current());
        current() = nullptr;
        script(dialog);
    }
};

// Answers the colour picker (the program's own seam) and passes boxes and dialogs to the recorder.
class PickerAnswers : public ModalHandler {
public:
    explicit PickerAnswers(test::ModalRecorder& recorder) : recorder_(recorder) { previous_ = setModalHandler(this); }
    ~PickerAnswers() override { setModalHandler(previous_); }
    int messageBox(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) override {
        return recorder_.messageBox(owner, text, caption, type);
    }
    INT_PTR dialogBox(HWND owner, int id, DLGPROC proc, LPARAM param) override {
        return recorder_.dialogBox(owner, id, proc, param);
    }
    // The user picks `colour` (or cancels with nullopt) after setting the first custom colour.
    bool colourDialog(CHOOSECOLORW& dialog) override {
        startColours.push_back(dialog.rgbResult);
        EXPECT_TRUE(dialog.Flags & CC_FULLOPEN);
        dialog.lpCustColors[0] = customColour;
        const std::optional<COLORREF> answer = answers.front();
        answers.pop_front();
        if (answer)
            dialog.rgbResult = *answer;
        return answer.has_value();
    }
    std::deque<std::optional<COLORREF>> answers;
    std::vector<COLORREF> startColours;
    COLORREF customColour = RGB(7, 8, 9);

private:
    test::ModalRecorder& recorder_;
    ModalHandler* previous_ = nullptr;
};

void clickButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring listBoxLine(HWND listBox, int i) {
    wchar_t text[128] = {};
    SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    return text;
}

class AnnotateTest : public test::MainWindowTest {
protected:
    void command(int id, int code = 0) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, code), 0); }

    void selectOnly(std::initializer_list<int> rows) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (int row : rows)
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    // The user focuses a row; the selection worker makes it the current row.
    void focusRow(int row) {
        selectOnly({row});
        ListView_SetItemState(list, row, LVIS_FOCUSED, LVIS_FOCUSED);
        const uint32_t passes = passMark(ui().workers.selection);
        signalSelectionChanged(ui().workers);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.selection, passes, 5000));
        ASSERT_EQ(ui().document.currentRow[kAllEvents], row);
    }

    // Typing into the memo box as the user does: it gains the focus, gets the text, loses the focus.
    void typeMemo(const wchar_t* text, int moveCurrentRowTo = -1) {
        command(IDC_MEMO, EN_SETFOCUS);
        SetWindowTextW(ui().controls.memo, text);
        if (moveCurrentRowTo >= 0)
            ui().document.currentRow[kAllEvents] = moveCurrentRowTo; // as edit locate does by its accelerator
        command(IDC_MEMO, EN_KILLFOCUS);
    }
};

TEST_F(AnnotateTest, MarkersMemosAndTheCommentDisplay) {
    loadGenerated(30);
    show();
    EdlDocument& doc = ui().document;
    TabEntry& entry = *ui().currentEntry;
    ASSERT_EQ(doc.commentMode, 1); // a converted EDL comes up in memo mode

    command(IDC_MARKER_CELL1 + 3, STN_CLICKED);
    selectOnly({2, 4});
    command(IDM_SET_MARKER);
    EXPECT_EQ(doc.view[kAllEvents][2]->marker, 3);
    EXPECT_EQ(doc.view[kAllEvents][4]->marker, 3);
    EXPECT_EQ(doc.view[kAllEvents][3]->marker, kNoMarker);
    EXPECT_EQ(entry.saveState, kModified);
    selectOnly({4});
    command(IDM_DELETE_MARKER);
    EXPECT_EQ(doc.view[kAllEvents][4]->marker, kNoMarker);
    EXPECT_EQ(doc.view[kAllEvents][2]->marker, 3);

    // The memo belongs to the row that was current while it was typed.
    focusRow(5);
    typeMemo(L"差し替え");
    EXPECT_EQ(workMemoText(*doc.view[kAllEvents][5]), u"差し替え");
    EXPECT_EQ(doc.view[kAllEvents][5]->workMemoLength, 5);
    typeMemo(L"lost", 6);
    EXPECT_EQ(doc.view[kAllEvents][5]->workMemoLength, 5);
    EXPECT_EQ(doc.view[kAllEvents][6]->hasWorkMemo, 0);

    // In comment mode the box is read-only and the write command does nothing.
    command(IDC_TOGGLE_COMMENT, BN_CLICKED);
    EXPECT_EQ(doc.commentMode, 0);
    EXPECT_TRUE(GetWindowLongW(ui().controls.memo, GWL_STYLE) & ES_READONLY);
    focusRow(5);
    SetWindowTextW(ui().controls.memo, L"");
    command(IDM_WRITE_MEMO);
    EXPECT_EQ(doc.view[kAllEvents][5]->hasWorkMemo, 1);
    command(IDM_TOGGLE_COMMENT);
    EXPECT_EQ(doc.commentMode, 1);
    SetWindowTextW(ui().controls.memo, L"");
    command(IDM_WRITE_MEMO);
    EXPECT_EQ(doc.view[kAllEvents][5]->hasWorkMemo, 0);
}

// Memory runs out in the middle of a command: the window says so in the system's words, the
// document stays as it was, and the next try works.
TEST_F(AnnotateTest, RunningOutOfMemoryInACommandLeavesTheDocumentAsItWas) {
    loadGenerated(10);
    show();
    EdlDocument& doc = ui().document;
    command(IDC_MARKER_CELL1 + 3, STN_CLICKED);
    selectOnly({2, 4});

    recorder.expect(IDOK);
    test::FailAllocations::count(true); // the workers go on allocating meanwhile
    test::FailAllocations::failAfter(0);
    command(IDM_SET_MARKER);
    test::FailAllocations::failAfter(-1);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(test::utf8(recorder.records[0].text),
              "作業用メモリが不足しているためこれ以上のファイルの追加は出来ません。\nまた、これ以降動作が不安定に"
              "なる可能性が非常に高く、一度アプリケーションを終了することを強くお勧めします。");
    EXPECT_EQ(recorder.records[0].type, UINT(MB_OK | MB_ICONWARNING));
    for (int row : {2, 4})
        EXPECT_EQ(doc.view[0][row]->marker, kNoMarker) << row;
    EXPECT_EQ(ui().currentEntry->saveState, kSaved);

    command(IDM_SET_MARKER);
    EXPECT_EQ(doc.view[0][2]->marker, 3);
    EXPECT_EQ(doc.view[0][4]->marker, 3);
    focusRow(6); // the selection worker still follows the list
}

TEST_F(AnnotateTest, NotesNewDeleteRenumberAndStoreOnFocusLoss) {
    // Without a document the buttons are grayed and the commands do nothing (no dialog opens).
    for (int id : {IDC_OFFSET, IDC_SIMPLE_NOTES, IDC_REEL_INFO})
        EXPECT_FALSE(IsWindowEnabled(control(id))) << id;
    for (int id : {IDM_SIMPLE_NOTES, IDM_REEL_INFO, IDM_MARKER_SETTINGS})
        command(id);
    EXPECT_TRUE(recorder.records.empty());

    loadGenerated(3);
    show();
    EdlDocument& doc = ui().document;
    auto firstRun = [&](HWND d) {
        HWND lines = GetDlgItem(d, IDC_NOTE_LIST), title = GetDlgItem(d, IDC_NOTE_TITLE);
        HWND body = GetDlgItem(d, IDC_NOTE_BODY);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_NOTE_DELETE)));
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_NOTE_NEW));
        SetFocus(title); // no note: the title stays read-only
        EXPECT_TRUE(GetWindowLongW(title, GWL_STYLE) & ES_READONLY);
        SetFocus(lines);
        for (int i = 0; i < 3; ++i)
            clickButton(d, IDC_NOTE_NEW);
        EXPECT_EQ(listBoxLine(lines, 2), L"03  Untitled");
        EXPECT_EQ(SendMessageW(title, EM_GETLIMITTEXT, 0, 0), 30);
        SetFocus(title);
        EXPECT_FALSE(GetWindowLongW(title, GWL_STYLE) & ES_READONLY);
        SetWindowTextW(title, L"Third note");
        SetFocus(body); // the title is stored as it loses the focus
        SetWindowTextW(body, std::wstring(kNoteBodyChars, L'x').c_str());
        SetFocus(lines);
        EXPECT_EQ(listBoxLine(lines, 2), L"03  Third note");
        SendMessageW(lines, LB_SETCURSEL, 1, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_NOTE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(lines));
        clickButton(d, IDC_NOTE_DELETE);
        EXPECT_EQ(SendMessageW(lines, LB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(listBoxLine(lines, 1), L"02  Third note");
        EXPECT_EQ(SendMessageW(lines, LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(windowText(title), L"Third note");
        clickButton(d, IDOK);
    };
    {
        DialogScript script(recorder, firstRun);
        command(IDC_SIMPLE_NOTES, BN_CLICKED);
    }
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(recorder.records[0].dialogId, IDD_SIMPLE_NOTES);
    ASSERT_EQ(doc.noteCount, 2);
    const SimpleNote& third = *doc.noteHead->next->next;
    EXPECT_EQ(noteTitle(third), u"Third note");
    EXPECT_EQ(noteBody(third).size(), kNoteBodyChars);
    EXPECT_EQ(ui().currentEntry->saveState, kModified);

    // Opened again, New numbers on from the notes the document has; the current note shows.
    auto secondRun = [&](HWND d) {
        HWND lines = GetDlgItem(d, IDC_NOTE_LIST);
        EXPECT_EQ(windowText(GetDlgItem(d, IDC_NOTE_TITLE)), L"Third note");
        EXPECT_EQ(SendMessageW(lines, LB_GETCURSEL, 0, 0), 1);
        clickButton(d, IDC_NOTE_NEW);
        EXPECT_EQ(listBoxLine(lines, 2), L"03  Untitled");
        clickButton(d, IDCANCEL);
    };
    {
        DialogScript script(recorder, secondRun);
        command(IDM_SIMPLE_NOTES);
    }
    EXPECT_EQ(doc.noteCount, 3);
}

// The room for a typed note body cannot be had: whichever allocation fails as the body edit loses
// the focus (the body is longer than a string keeps without allocating), the dialog says so in the system's words, the
// note keeps the body it had, and the next try stores the text.
TEST_F(AnnotateTest, ANoteBodyThatCannotBeAllocatedLeavesTheNoteAsItWas) {
    loadGenerated(3);
    show();
    EdlDocument& doc = ui().document;
    test::DialogScripts scripts(recorder);
    scripts.script = [&](HWND d) {
        HWND lines = GetDlgItem(d, IDC_NOTE_LIST), body = GetDlgItem(d, IDC_NOTE_BODY);
        // Clicks into the body, types over its text, and clicks the list.
        auto typeBody = [&](std::wstring_view text, long failingAllocation) {
            SetFocus(body);
            SendMessageW(body, EM_SETSEL, 0, -1);
            for (wchar_t c : text)
                SendMessageW(body, WM_CHAR, c, 1);
            scripts.answers.assign(1, IDOK);
            test::FailAllocations::count(true); // the workers go on allocating meanwhile
            test::FailAllocations::failAfter(failingAllocation);
            SetFocus(lines);
            return test::FailAllocations::failAfter(-1) < 0; // true: the allocation failed
        };
        clickButton(d, IDC_NOTE_NEW);
        typeBody(L"前の本文", -1);
        ASSERT_EQ(noteBody(*doc.noteHead->next), u"前の本文");
        int failures = 0;
        for (long n = 0; typeBody(L"新しい本文を書き足しました。", n); ++n) {
            SCOPED_TRACE(n);
            ++failures;
            ASSERT_EQ(scripts.boxes.size(), 1u);
            EXPECT_EQ(scripts.boxes[0].text, test::utf8(test::texts::kMemoNoMemory));
            EXPECT_EQ(scripts.boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
            scripts.boxes.clear();
            EXPECT_EQ(noteBody(*doc.noteHead->next), u"前の本文");
            EXPECT_EQ(doc.noteCount, 1);
            EXPECT_EQ(GetFocus(), lines);
            EXPECT_TRUE(GetWindowLongW(body, GWL_STYLE) & ES_READONLY);
        }
        EXPECT_GT(failures, 0);
        EXPECT_TRUE(scripts.boxes.empty());
        EXPECT_EQ(noteBody(*doc.noteHead->next), u"新しい本文を書き足しました。");
        scripts.answers.clear();
        clickButton(d, IDOK);
    };
    command(IDM_SIMPLE_NOTES);
    EXPECT_EQ(doc.noteCount, 1);
    EXPECT_EQ(noteBody(*doc.noteHead->next), u"新しい本文を書き足しました。");
}

TEST_F(AnnotateTest, ReelInformationSortsAndStoresForTheReelNamedInTheRow) {
    loadGenerated(31); // TAPE01 is used 11 times, TAPE02 and TAPE03 10 times each
    show();
    EdlDocument& doc = ui().document;
    auto run = [&](HWND d) {
        HWND reels = GetDlgItem(d, IDC_REEL_INFO_LIST), edit = GetDlgItem(d, IDC_REEL_INFO_EDIT);
        auto cell = [&](int row, int column) {
            wchar_t text[80] = {};
            ListView_GetItemText(reels, row, column, text, 80);
            return std::wstring(text);
        };
        auto clickHeading = [&](int column) {
            NMLISTVIEW click{};
            click.hdr = {reels, IDC_REEL_INFO_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
            click.iItem = -1;
            click.iSubItem = column;
            SendMessageW(d, WM_NOTIFY, IDC_REEL_INFO_LIST, reinterpret_cast<LPARAM>(&click));
        };
        auto doubleClick = [&](int row) {
            NMITEMACTIVATE click{};
            click.hdr = {reels, IDC_REEL_INFO_LIST, static_cast<UINT>(NM_DBLCLK)};
            click.iItem = row;
            click.iSubItem = 3;
            SendMessageW(d, WM_NOTIFY, IDC_REEL_INFO_LIST, reinterpret_cast<LPARAM>(&click));
        };
        EXPECT_EQ(cell(0, 1), L" 11");
        EXPECT_EQ(cell(0, 2), L"00 : 00 : 11 : 00");
        clickHeading(0);
        clickHeading(0); // descending: TAPE03 on top
        EXPECT_EQ(cell(0, 0), L"TAPE03");
        clickHeading(3); // descriptions leave the order
        EXPECT_EQ(cell(0, 0), L"TAPE03");
        clickHeading(1);
        EXPECT_EQ(cell(2, 0), L"TAPE01");
        clickHeading(1);
        EXPECT_EQ(cell(0, 0), L"TAPE01");
        clickHeading(0);
        clickHeading(0);
        // Enter commits; the reel is the one named in the row, not the first of the table.
        doubleClick(0);
        EXPECT_TRUE(IsWindowVisible(edit));
        EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), kReelDescriptionEditLimit);
        SetWindowTextW(edit, std::wstring(50, L'説').c_str());
        SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
        EXPECT_FALSE(IsWindowVisible(edit));
        EXPECT_EQ(cell(0, 3), std::wstring(48, L'説'));
        // Focus loss commits too; a pasted line break is stored as a space.
        doubleClick(1);
        SetWindowTextW(edit, L"B-roll\r\nday 2");
        SetFocus(reels);
        clickButton(d, IDCANCEL);
    };
    {
        DialogScript script(recorder, run);
        command(IDM_REEL_INFO);
    }
    EXPECT_EQ(reelDescription(doc, 2), std::u16string(48, u'説'));
    EXPECT_EQ(reelDescription(doc, 1), u"B-roll day 2");
    EXPECT_EQ(reelDescription(doc, 0), u"");
    EXPECT_EQ(doc.edited, 0); // Esc does not mark it edited, the tab is modified all the same
    EXPECT_EQ(ui().currentEntry->saveState, kModified);
}

TEST_F(AnnotateTest, MarkerSettingsPickerEnterAndCancel) {
    loadGenerated(3);
    show();
    EdlDocument& doc = ui().document;
    PickerAnswers picker(recorder);
    picker.answers = {RGB(10, 20, 30), std::nullopt};
    auto boxPixels = [](HWND d, int id) {
        HWND box = GetDlgItem(d, id);
        RECT r;
        GetClientRect(box, &r);
        auto canvas = std::make_unique<test::PixelCanvas>(r.right, r.bottom);
        DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(id), 0, ODA_DRAWENTIRE, 0, box, canvas->dc(), r, 0};
        SendMessageW(d, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
        return canvas;
    };
    auto cancelled = [&](HWND d) {
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_MARKER_BOX3, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_MARKER_BOX3)));
        EXPECT_EQ(boxPixels(d, IDC_MARKER_BOX3)->at(6, 6), RGB(10, 20, 30));
        EXPECT_GT(boxPixels(d, IDC_MARKER_BOX1)->count(RGB(255, 255, 0)), 0); // the current marker's frame
        HWND fifth = GetDlgItem(d, IDC_MARKER_NAME5);
        SetWindowTextW(fifth, L"Keep me");
        SendMessageW(fifth, WM_CHAR, VK_RETURN, 0);
        EXPECT_EQ(fixedBufferText(doc.markerNames[4], 23), u"Keep me");
        SetWindowTextW(GetDlgItem(d, IDC_MARKER_NAME1), L"Lost");
        clickButton(d, IDCANCEL);
    };
    {
        DialogScript script(recorder, cancelled);
        command(IDM_MARKER_SETTINGS);
    }
    EXPECT_EQ(doc.markerColours[2], 0u);
    EXPECT_EQ(doc.customColours[0], RGB(7, 8, 9)); // kept although the dialog was cancelled
    EXPECT_EQ(fixedBufferText(doc.markerNames[0], 23), u"マーカー 1");
    EXPECT_EQ(ui().currentEntry->saveState, kModified);

    // A cancelled picker puts the document's colour back; OK takes the colours and descriptions.
    auto accepted = [&](HWND d) {
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_MARKER_BOX1, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_MARKER_BOX1)));
        SetWindowTextW(GetDlgItem(d, IDC_MARKER_NAME8), L"Eight");
        clickButton(d, IDOK);
    };
    {
        DialogScript script(recorder, accepted);
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_MARKER, BN_CLICKED), 0);
    }
    EXPECT_EQ(picker.startColours, (std::vector<COLORREF>{0, 0x000AFF}));
    EXPECT_EQ(doc.markerColours[0], 0x000AFFu);
    EXPECT_EQ(fixedBufferText(doc.markerNames[7], 23), u"Eight");
}

// A tab from an EDL that was marked asks before Close Tab throws the marks away; Yes saves it as a
// project file through the Save As dialog.
TEST_F(AnnotateTest, ClosingAnEditedEdlTabOffersToSaveIt) {
    loadGenerated(3, kFromEdl);
    show();
    const std::wstring edl = toWide(ui().currentEntry->path);
    selectOnly({1});
    command(IDM_SET_MARKER);
    EXPECT_EQ(tabs()[0].image, kFromEdl);
    const std::filesystem::path kept = files / L"kept.QLP";
    recorder.expect(IDYES);
    recorder.answerFile(kept.wstring());
    command(IDM_CLOSE_TAB);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{message(test::texts::kSaveBeforeCloseTab, edl)});
    ASSERT_EQ(recorder.fileDialogs.size(), 1u);
    EXPECT_TRUE(recorder.fileDialogs[0].save);
    EXPECT_EQ(listRows(), 0);
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(kept.u16string(), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.events[1].marker, 0);
}

// ---- Every command from each of its entry points ----

enum class Entry { Menu, Key, Button, Popup, DoubleClick };
enum class Effect { Marks, Unmarks, TogglesMode, WritesMemo, OpensDialog };

// One way to a command, and what the user then sees.
struct Path {
    int command;
    Entry entry;
    Effect effect;
    int dialog = 0;     // OpensDialog: the dialog's resource id
    int detail = 0;     // Key: the virtual key; Button: the button
    BYTE modifiers = 0; // Key: FCONTROL, FSHIFT
};

const Path kPaths[] = {
    {IDM_SET_MARKER, Entry::Menu, Effect::Marks},
    {IDM_SET_MARKER, Entry::Key, Effect::Marks, 0, 'M', FCONTROL},
    {IDM_SET_MARKER, Entry::DoubleClick, Effect::Marks},
    {IDM_DELETE_MARKER, Entry::Menu, Effect::Unmarks},
    {IDM_DELETE_MARKER, Entry::Key, Effect::Unmarks, 0, 'M', FCONTROL | FSHIFT},
    {IDM_DELETE_MARKER, Entry::Popup, Effect::Unmarks},
    {IDM_MARKER_SETTINGS, Entry::Menu, Effect::OpensDialog, IDD_MARKER_SETTINGS},
    {IDM_MARKER_SETTINGS, Entry::Key, Effect::OpensDialog, IDD_MARKER_SETTINGS, 'U', FCONTROL},
    {IDM_MARKER_SETTINGS, Entry::Button, Effect::OpensDialog, IDD_MARKER_SETTINGS, IDC_MARKER},
    {IDM_MARKER_SETTINGS, Entry::Popup, Effect::OpensDialog, IDD_MARKER_SETTINGS},
    {IDM_TOGGLE_COMMENT, Entry::Menu, Effect::TogglesMode},
    {IDM_TOGGLE_COMMENT, Entry::Key, Effect::TogglesMode, 0, VK_SPACE, FCONTROL},
    {IDM_TOGGLE_COMMENT, Entry::Button, Effect::TogglesMode, 0, IDC_TOGGLE_COMMENT},
    {IDM_WRITE_MEMO, Entry::Menu, Effect::WritesMemo},
    {IDM_WRITE_MEMO, Entry::Key, Effect::WritesMemo, 0, 'W', FCONTROL},
    {IDM_WRITE_MEMO, Entry::Button, Effect::WritesMemo, 0, IDC_WRITE_MEMO},
    {IDM_REEL_INFO, Entry::Menu, Effect::OpensDialog, IDD_REEL_INFO},
    {IDM_REEL_INFO, Entry::Key, Effect::OpensDialog, IDD_REEL_INFO, 'R', FCONTROL},
    {IDM_REEL_INFO, Entry::Button, Effect::OpensDialog, IDD_REEL_INFO, IDC_REEL_INFO},
    {IDM_REEL_INFO, Entry::Popup, Effect::OpensDialog, IDD_REEL_INFO},
    {IDM_SIMPLE_NOTES, Entry::Menu, Effect::OpensDialog, IDD_SIMPLE_NOTES},
    {IDM_SIMPLE_NOTES, Entry::Key, Effect::OpensDialog, IDD_SIMPLE_NOTES, 'N', FCONTROL},
    {IDM_SIMPLE_NOTES, Entry::Button, Effect::OpensDialog, IDD_SIMPLE_NOTES, IDC_SIMPLE_NOTES},
    {IDM_SIMPLE_NOTES, Entry::Popup, Effect::OpensDialog, IDD_SIMPLE_NOTES},
};

class EntryPointTest : public AnnotateTest {
protected:
    // As the user reaches the command: the menu bar's item (only while it is enabled), the key
    // through the program's accelerator translation on the focused list, a click on the button, the
    // list's pop-up worked with the keyboard, or a double click on the selected row.
    void reach(const Path& path, int row) {
        switch (path.entry) {
        case Entry::Menu:
            EXPECT_FALSE(GetMenuState(ui().controls.menuBar, path.command, MF_BYCOMMAND) & MF_GRAYED);
            SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(path.command, 0), 0);
            break;
        case Entry::Key: {
            SetFocus(list);
            test::setModifiers(path.modifiers & FCONTROL, path.modifiers & FSHIFT, false);
            MSG msg{list, WM_KEYDOWN, static_cast<WPARAM>(path.detail), 1, 0, {}};
            EXPECT_TRUE(translateAccelerator(msg));
            test::setModifiers(false, false, false);
            break;
        }
        case Entry::Button:
            EXPECT_TRUE(IsWindowEnabled(control(path.detail)));
            SendMessageW(control(path.detail), BM_CLICK, 0, 0);
            break;
        case Entry::Popup:
            pickFromListPopup(path.command);
            break;
        case Entry::DoubleClick: {
            RECT r;
            ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
            SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2));
            SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(r.left + 60, (r.top + r.bottom) / 2));
            break;
        }
        }
    }

    // Right click on the list; once its pop-up waits for input, Down moves to the item and Enter
    // chooses it. The pop-up posts the item's command to the window, which the pump delivers.
    void pickFromListPopup(int command) {
        HMENU popup = ui().controls.listPopup;
        int downs = 0;
        for (int i = 0, found = 0; i < GetMenuItemCount(popup) && !found; ++i) {
            if (GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR)
                continue;
            ++downs;
            found = GetMenuItemID(popup, i) == static_cast<UINT>(command);
        }
        static int pendingDowns = 0;
        pendingDowns = downs;
        const auto choose = [](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (msg == WM_ENTERIDLE && w == MSGF_MENU && pendingDowns > 0) {
                for (; pendingDowns > 0; --pendingDowns)
                    PostMessageW(h, WM_KEYDOWN, VK_DOWN, 1);
                PostMessageW(h, WM_KEYDOWN, VK_RETURN, 1);
            }
            return DefSubclassProc(h, msg, w, l);
        };
        SetWindowSubclass(hwnd, choose, 79, 0);
        NMHDR header{list, IDC_LIST, static_cast<UINT>(NM_RCLICK)};
        SendMessageW(hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&header));
        RemoveWindowSubclass(hwnd, choose, 79);
        EXPECT_EQ(pendingDowns, 0) << "the pop-up did not open";
        test::pumpMessages(50);
    }
};

TEST_F(EntryPointTest, EveryAnnotatingCommandFromEachOfItsEntryPoints) {
    loadGenerated(30);
    show();
    EdlDocument& doc = ui().document;
    command(IDC_MARKER_CELL1 + 5, STN_CLICKED);
    int row = 0;
    for (const Path& path : kPaths) {
        SCOPED_TRACE(testing::Message() << "command " << path.command << " entry " << static_cast<int>(path.entry));
        EdlEvent& event = *doc.view[kAllEvents][++row];
        event.marker = path.effect == Effect::Unmarks ? 2 : kNoMarker;
        const bool memo = path.effect == Effect::WritesMemo;
        if (memo && doc.commentMode != 1)
            command(IDM_TOGGLE_COMMENT);
        refreshMenus();
        const uint32_t commentPasses = passMark(ui().workers.comment);
        focusRow(row);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.comment, commentPasses, 5000));
        const int32_t mode = doc.commentMode;
        const size_t records = recorder.records.size();
        const std::wstring text = L"memo " + std::to_wstring(row);
        if (path.effect == Effect::OpensDialog)
            recorder.expect(IDCANCEL);
        if (memo) {
            // Typed while the workers keep still, as they do while the box has the focus.
            ASSERT_TRUE(test::pumpUntil([&] { return IsWindowEnabled(control(IDC_WRITE_MEMO)) != FALSE; }));
            stopWorkers(ui().workers);
            SetWindowTextW(ui().controls.memo, text.c_str());
        }
        reach(path, row);
        if (memo)
            startWorkers(ui().workers);
        switch (path.effect) {
        case Effect::Marks:
        case Effect::Unmarks:
            EXPECT_EQ(event.marker, path.effect == Effect::Marks ? 5 : kNoMarker);
            break;
        case Effect::TogglesMode:
            EXPECT_EQ(doc.commentMode, mode == 1 ? 0 : 1);
            EXPECT_EQ((GetWindowLongW(ui().controls.memo, GWL_STYLE) & ES_READONLY) != 0, doc.commentMode == 0);
            break;
        case Effect::WritesMemo:
            EXPECT_EQ(workMemoText(event), toU16(text));
            break;
        case Effect::OpensDialog:
            ASSERT_EQ(recorder.records.size(), records + 1);
            EXPECT_EQ(recorder.records.back().dialogId, path.dialog);
            break;
        }
    }
    EXPECT_EQ(ui().currentEntry->saveState, kModified);
}

// A colour chosen for marker 3 in the marker settings is what the window paints: the text and dot of
// the rows marked with it, and its marker cell; the other rows and cells do not show it.
TEST_F(AnnotateTest, ChosenMarkerColourPaintsTheMarkedRowsAndItsCell) {
    constexpr COLORREF kChosen = RGB(20, 160, 90);
    loadGenerated(8);
    show();
    EdlDocument& doc = ui().document;
    PickerAnswers picker(recorder);
    picker.answers = {kChosen};
    {
        DialogScript script(recorder, [](HWND d) {
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_MARKER_BOX3, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_MARKER_BOX3)));
            clickButton(d, IDOK);
        });
        command(IDM_MARKER_SETTINGS);
    }
    ASSERT_EQ(doc.markerColours[2], kChosen);
    command(IDC_MARKER_CELL1 + 2, STN_CLICKED);
    selectOnly({1, 4});
    command(IDM_SET_MARKER);
    selectOnly({}); // a selected row is drawn in white
    stopWorkers(ui().workers);

    // The controls paint into a bitmap of the test's own, as they paint on the screen.
    auto capture = [](HWND control) {
        RECT client;
        GetClientRect(control, &client);
        auto canvas = std::make_unique<test::PixelCanvas>(client.right, client.bottom);
        SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT | PRF_ERASEBKGND);
        return canvas;
    };
    const auto rows = capture(list);
    for (int row = 0; row < 8; ++row) {
        RECT r;
        ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
        if (row == 1 || row == 4) {
            EXPECT_GT(rows->count(kChosen, r), 60) << row; // the row's texts and its dot
        } else {
            EXPECT_EQ(rows->count(kChosen, r), 0) << row;
        }
    }
    RECT cell;
    GetClientRect(control(IDC_MARKER_CELL1 + 2), &cell);
    // Inside its frame, all but the digit and its shadow.
    EXPECT_GT(capture(control(IDC_MARKER_CELL1 + 2))->count(kChosen), (cell.right - 2) * (cell.bottom - 2) * 3 / 4);
    for (int k : {0, 1, 3})
        EXPECT_EQ(capture(control(IDC_MARKER_CELL1 + k))->count(kChosen), 0) << k;
    startWorkers(ui().workers);
}

} // namespace
} // namespace qlp
