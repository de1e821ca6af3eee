// Opening, saving and closing documents in the real main window: the start-up command line, the
// open dialog with its four kinds, files dropped on the window, duplicates, tab switches, Save,
// Save As, Close Tab and every question on the way. The tests read what the user sees (tab labels
// and images, status-bar parts, the list's row count, enabled controls, the boxes shown) and the
// files on disk. Every test starts from an empty user registry, a fresh window and scratch folders
// for files and work files.

#include "main_window_fixture.h"

#include "app/startup.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "ops/memos.h"
#include "resource.h"
#include "ui/commands/document_commands.h"
#include "ui/document_view.h"
#include "ui/main_window.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qlp {
namespace {

namespace fs = std::filesystem;
using test::pumpMessages;
using test::utf8;
using test::windowText;

const std::wstring kLoadError = L"ファイルを読込み中にエラーが発生しました。";
constexpr UINT kWarning = MB_OK | MB_ICONWARNING;
constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION;

std::wstring w(const std::u16string& s) {
    return toWide(s);
}

using FilesTest = test::MainWindowTest;
using test::generatedEdl;

// ---- Open ------------------------------------------------------------------------------------------

TEST_F(FilesTest, CommandLineOpensAProjectFileQuotedOrNot) {
    const std::wstring first = makeProject(L"reel one.QLP", "ndf_basic.EDL");
    const std::wstring second = makeProject(L"second.QLP", "comments_cp932.EDL");

    // The shell quotes a path with blanks.
    openCommandLine(L"\"" + first + L"\"");
    const EdlDocument& doc = ui().document;
    ASSERT_TRUE(doc.loaded);
    EXPECT_TRUE(recorder.records.empty());
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"reel one.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(status(0), utf8(L"ファイル数: 1"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + first));
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));
    EXPECT_EQ(listRows(), doc.viewCount[kAllEvents]);
    EXPECT_GT(doc.viewCount[kAllEvents], 0);
    EXPECT_TRUE(hasStyle(IDC_LIST, WS_VISIBLE));
    EXPECT_TRUE(hasStyle(IDC_TAB, WS_VISIBLE));
    EXPECT_TRUE(IsWindowEnabled(ui().controls.list));
    EXPECT_TRUE(IsWindowEnabled(ui().controls.tab));
    ASSERT_NE(ui().currentEntry, nullptr);
    EXPECT_EQ(w(ui().currentEntry->path), first);
    // The project file was copied into the tab's work file, which is what was loaded.
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000"}));
    EXPECT_EQ(bytes((work / L"FILE_ID_0000").wstring()), bytes(first));
    refreshMenus();
    EXPECT_EQ(GetMenuState(ui().controls.menuBar, IDM_SAVE_AS, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(ui().controls.menuBar, IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // Unquoted, the path is made full and long. Another tab is current, so the new one only gets
    // its tab: nothing is reloaded.
    const EdlEvent* shownEvents = doc.events;
    openCommandLine(second);
    EXPECT_TRUE(recorder.records.empty());
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"reel one.QLP", kSaved}, {"second.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(doc.events, shownEvents);
    EXPECT_EQ(w(ui().currentEntry->path), first);
    EXPECT_EQ(status(0), utf8(L"ファイル数: 2"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + first));
    EXPECT_EQ(status(2), utf8(L"状態: 1個のファイルを追加しました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000", L"FILE_ID_0001"}));
}

TEST_F(FilesTest, CommandLinePathForms) {
    const std::wstring project = makeProject(L"a b.QLP", "ndf_basic.EDL");
    EXPECT_EQ(commandLinePath(L"\"" + project + L"\""), project);
    EXPECT_EQ(commandLinePath(L"\"" + project + L"\"  "), project); // blanks after the closing quote
    EXPECT_EQ(commandLinePath(project), project);
    // A relative path is taken from the current directory.
    const fs::path before = fs::current_path();
    fs::current_path(files);
    EXPECT_EQ(commandLinePath(L"a b.QLP"), project);
    fs::current_path(before);
    EXPECT_EQ(commandLinePath(L""), L"");
}

TEST_F(FilesTest, OpenDialogKindsByFilterAndSelection) {
    // Cancelled: nothing changes.
    recorder.cancelFileDialog();
    command(IDM_OPEN);
    ASSERT_EQ(recorder.fileDialogs.size(), 1u);
    const test::FileDialogRecord& dialog = recorder.fileDialogs[0];
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(utf8(dialog.title), utf8(L"EDL/QLPファイルを開く"));
    ASSERT_EQ(dialog.filter.size(), 4u);
    EXPECT_EQ(utf8(dialog.filter[0]), "BVE-9100 EDL(.EDL)");
    EXPECT_EQ(utf8(dialog.filter[1]), "*.EDL");
    EXPECT_EQ(utf8(dialog.filter[2]), utf8(L"ビューアファイル(.QLP)"));
    EXPECT_EQ(utf8(dialog.filter[3]), "*.QLP");
    EXPECT_EQ(dialog.defaultExtension, L"EDL");
    EXPECT_EQ(dialog.flags & (OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY),
              static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY));
    EXPECT_EQ(dialog.bufferLength, 1024u);
    EXPECT_TRUE(tabs().empty());
    EXPECT_FALSE(hasStyle(IDC_LIST, WS_VISIBLE));
    EXPECT_EQ(status(2), utf8(L"状態: 待機中"));

    // Kind 1: two EDLs at once, nothing shown before: the last one is loaded.
    copySample("ndf_basic.EDL");
    copySample("df_reverse.EDL");
    recorder.answerFiles(files.wstring(), {L"ndf_basic.EDL", L"df_reverse.EDL"}, 1);
    command(IDM_OPEN);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"ndf_basic.EDL", kFromEdl}, {"df_reverse.EDL", kFromEdl}}));
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(w(ui().currentEntry->path), (files / L"df_reverse.EDL").wstring());
    EXPECT_EQ(listRows(), ui().document.viewCount[kAllEvents]);
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));

    // Kind 3: two project files with the second filter; the current tab stays.
    makeProject(L"one.QLP", "keys_wipes.EDL");
    makeProject(L"two.QLP", "comments_cp932.EDL");
    recorder.answerFiles(files.wstring(), {L"one.QLP", L"two.QLP"}, 2);
    command(IDM_OPEN);
    // Kind 0: one EDL with the first filter.
    copySample("keys_wipes.EDL");
    recorder.answerFile((files / L"keys_wipes.EDL").wstring(), 1);
    command(IDM_OPEN);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"ndf_basic.EDL", kFromEdl},
                                            {"df_reverse.EDL", kFromEdl},
                                            {"one.QLP", kSaved},
                                            {"two.QLP", kSaved},
                                            {"keys_wipes.EDL", kFromEdl}}));
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(status(0), utf8(L"ファイル数: 5"));
    EXPECT_EQ(status(2), utf8(L"状態: 1個のファイルを追加しました。"));
    EXPECT_EQ(workFiles().size(), 5u);
    // The project files were copied, the EDLs converted.
    EXPECT_EQ(bytes((work / L"FILE_ID_0002").wstring()), bytes((files / L"one.QLP").wstring()));
    EXPECT_TRUE(recorder.records.empty());

    // Kind 2 with an EDL: taken as a project file, and refused when it is loaded (string 116).
    recorder.answerFile((files / L"keys_wipes.EDL").wstring(), 2);
    recorder.expect(IDYES); // it is open already: replace that tab
    command(IDM_OPEN);
    ASSERT_EQ(tabs().size(), 5u);
    EXPECT_EQ(tabs().back(), (TabView{"keys_wipes.EDL", kSaved}));
    recorder.expect(IDOK);
    switchTo(4);
    ASSERT_EQ(recorder.records.size(), 2u);
    EXPECT_EQ(boxTexts()[1], message(test::texts::kWrongFormat, (files / L"keys_wipes.EDL").wstring()));
    EXPECT_EQ(recorder.records[1].type, static_cast<UINT>(kWarning | MB_SYSTEMMODAL));
    EXPECT_EQ(tabs().size(), 4u);
    EXPECT_EQ(selectedTab(), 1);
}

TEST_F(FilesTest, MissingAndUnrecognisedFiles) {
    // A single missing file ends the operation (string 107); with nothing open nothing changes.
    const std::wstring missing = (files / L"missing.QLP").wstring();
    recorder.expect(IDOK);
    openCommandLine(missing);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kFileNotFound, missing));
    EXPECT_EQ(recorder.records[0].type, kWarning);
    EXPECT_TRUE(tabs().empty());
    EXPECT_EQ(status(0), utf8(L"ファイル数:  0"));
    EXPECT_EQ(status(2), utf8(L"状態: 待機中"));

    // With a tab shown, that tab stays as it was.
    const std::wstring project = makeProject(L"shown.QLP", "ndf_basic.EDL");
    openCommandLine(project);
    recorder.expect(IDOK);
    openCommandLine(missing);
    ASSERT_EQ(recorder.records.size(), 2u);
    EXPECT_EQ(tabs().size(), 1u);
    EXPECT_TRUE(ui().document.loaded);
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));

    // A text that is no BVE-9100 EDL is refused (string 105) and gets no tab.
    writeFile(L"notes.EDL", "just some text\r\n");
    recorder.answerFile((files / L"notes.EDL").wstring(), 1);
    recorder.expect(IDOK);
    command(IDM_OPEN);
    ASSERT_EQ(recorder.records.size(), 3u);
    EXPECT_EQ(boxTexts()[2], message(test::texts::kNotRecognised, (files / L"notes.EDL").wstring()));
    EXPECT_EQ(tabs().size(), 1u);
    EXPECT_EQ(status(2), utf8(L"状態: ファイル読込みエラー"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000"}));
}

TEST_F(FilesTest, DroppedFilesAndTheCommandLineOpenByTheirExtension) {
    EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    // An EDL named on the command line opens as an EDL.
    openCommandLine(L"\"" + copySample("ndf_basic.EDL") + L"\"");
    EXPECT_TRUE(recorder.records.empty());
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"ndf_basic.EDL", kFromEdl}}));
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));

    // Two EDLs (the extension in any case), a missing file, a text, a folder and a project file:
    // the missing file is skipped and the text and the folder refused, as in a multiple selection;
    // the others get tabs in the order dropped, each by its kind, and the shown tab stays.
    const std::wstring lower = (files / L"keys.edl").wstring();
    fs::copy_file(copySample("keys_wipes.EDL"), lower);
    const std::wstring missing = (files / L"gone.EDL").wstring();
    const std::wstring text = writeFile(L"notes.txt", "not a list\r\n");
    const std::wstring folder = (files / L"folder.EDL").wstring();
    fs::create_directory(folder);
    const std::wstring project = makeProject(L"one.QLP", "comments_cp932.EDL");
    for (int box = 0; box < 3; ++box)
        recorder.expect(IDOK);
    dropFiles({copySample("df_reverse.EDL"), missing, lower, text, folder, project});
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{message(test::texts::kFileNotFound, missing),
                                                    message(test::texts::kNotRecognised, text),
                                                    message(test::texts::kNotRecognised, folder)}));
    EXPECT_EQ(
        tabs(),
        (std::vector<TabView>{
            {"ndf_basic.EDL", kFromEdl}, {"df_reverse.EDL", kFromEdl}, {"keys.edl", kFromEdl}, {"one.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(status(0), utf8(L"ファイル数: 4"));
    EXPECT_EQ(status(2), utf8(L"状態: 3個のファイルを追加しました。"));
    // The EDLs were converted, the project file copied.
    EXPECT_EQ(workFiles().size(), 4u);
    EXPECT_EQ(bytes((work / L"FILE_ID_0003").wstring()), bytes(project));

    // The command line keeps opening any name but an EDL's as a project file, as it always did.
    openCommandLine(makeProject(L"backup.BAK", "ndf_basic.EDL"));
    EXPECT_EQ(tabs().back(), (TabView{"backup.BAK", kSaved}));
    EXPECT_EQ(status(2), utf8(L"状態: 1個のファイルを追加しました。"));
}

// ---- Duplicates --------------------------------------------------------------------------------------

TEST_F(FilesTest, OpeningAnOpenFileAgain) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    const std::wstring b = makeProject(L"b.QLP", "comments_cp932.EDL");
    openCommandLine(a);
    openCommandLine(b);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 5; // a change that only the document in memory holds

    // No: the new entry goes, everything stays as it was.
    recorder.expect(IDNO);
    openCommandLine(a);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kAlreadyLoaded, a));
    EXPECT_EQ(recorder.records[0].type, kQuestion);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}, {"b.QLP", kSaved}}));
    EXPECT_EQ(doc.currentMarker, 5);
    EXPECT_EQ(ui().currentEntry->fileId, 0);
    // Nothing failed: the status says that no file was added.
    EXPECT_EQ(status(2), utf8(L"状態: 0個のファイルを追加しました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000", L"FILE_ID_0001"}));

    // Yes for the current tab's file: reloaded from disk into a new tab at the end.
    recorder.expect(IDYES);
    openCommandLine(a);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"b.QLP", kSaved}, {"a.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(doc.currentMarker, 0);
    EXPECT_EQ(w(ui().currentEntry->path), a);
    EXPECT_EQ(ui().currentEntry->fileId, 3); // the refused copy used number 2
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0001", L"FILE_ID_0003"}));

    // Yes for another tab's file: that tab is replaced, the current one stays.
    recorder.expect(IDYES);
    openCommandLine(b);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}, {"b.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(w(ui().currentEntry->path), a);
    EXPECT_EQ(status(2), utf8(L"状態: 1個のファイルを追加しました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0003", L"FILE_ID_0004"}));
    EXPECT_EQ(recorder.records.size(), 3u);
}

// The current tab's file is reopened, but the new copy cannot be read: the tab and its document
// stay as they were.
TEST_F(FilesTest, FailedReloadKeepsTheShownTab) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 4;
    const int32_t events = doc.viewCount[kAllEvents];
    writeFile(L"a.QLP", std::string(64, 'x'));

    recorder.expect(IDYES);
    recorder.expect(IDOK);
    recorder.expect(IDOK);
    openCommandLine(a);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{message(test::texts::kAlreadyLoaded, a),
                                                    message(test::texts::kWrongFormat, a), utf8(kLoadError)}));
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}}));
    EXPECT_TRUE(doc.loaded);
    EXPECT_EQ(doc.currentMarker, 4);
    EXPECT_EQ(doc.viewCount[kAllEvents], events);
    EXPECT_EQ(ui().currentEntry->fileId, 0);
    EXPECT_EQ(status(2), utf8(L"状態: 読込みエラー"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000"}));
}

// ---- Switch ------------------------------------------------------------------------------------------

// The left edge of the list's rows in the list's client area: 0 when the list is scrolled fully left.
int rowsLeftEdge(HWND list) {
    RECT row{};
    ListView_GetItemRect(list, ListView_GetTopIndex(list), &row, LVIR_BOUNDS);
    return row.left;
}

// The user clicks the list's horizontal scroll bar right of its thumb, a few times.
void scrollRight(HWND list) {
    for (int i = 0; i < 3; ++i)
        SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), 0);
    SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

TEST_F(FilesTest, SwitchingTabsKeepsEachTabsViewRowAndTopRow) {
    const std::wstring a = makeProjectFromText(L"long.QLP", generatedEdl(400));
    const std::wstring b = makeProject(L"short.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    openCommandLine(b);
    UiState& app_ = ui();
    EdlDocument& doc = app_.document;
    HWND list = app_.controls.list;
    ASSERT_EQ(doc.viewCount[kAllEvents], 400);

    // The user scrolls and picks a row in the long list.
    stopWorkers(app_.workers);
    doc.currentRow[kAllEvents] = 230;
    doc.topRow[kAllEvents] = 210;
    restoreListPosition();
    const int topShown = ListView_GetTopIndex(list);
    const int commentMode = doc.commentMode;
    uint32_t passes = passMark(app_.workers.selection);
    startWorkers(app_.workers);
    ASSERT_TRUE(waitForWorkerPass(app_.workers.selection, passes, 5000));

    switchTo(1);
    EXPECT_EQ(w(app_.currentEntry->path), b);
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(listRows(), doc.viewCount[kAllEvents]);
    EXPECT_EQ(status(0), utf8(L"ファイル数:  2"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + b));
    EXPECT_EQ(status(2), utf8(L"状態: " + b + L"を開きました。"));
    EXPECT_EQ(GetFocus(), list);
    // The long list went to its work file with its place in it.
    EdlDocument stored;
    ASSERT_EQ(loadProjectFile((work / L"FILE_ID_0000").u16string(), stored), LoadStatus::Ok);
    EXPECT_EQ(stored.currentRow[kAllEvents], 230);
    EXPECT_EQ(stored.topRow[kAllEvents], topShown);
    // The short one shows the reel view.
    stopWorkers(app_.workers);
    doc.currentView = kReelUsage;
    startWorkers(app_.workers);

    passes = passMark(app_.workers.selection);
    switchTo(0);
    ASSERT_TRUE(waitForWorkerPass(app_.workers.selection, passes, 5000));
    EXPECT_EQ(w(app_.currentEntry->path), a);
    EXPECT_EQ(listRows(), 400);
    EXPECT_EQ(doc.currentRow[kAllEvents], 230);
    EXPECT_EQ(ListView_GetTopIndex(list), topShown);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 230);
    EXPECT_EQ(doc.commentMode, commentMode); // the memo box comes back in the mode it was left in

    // A list scrolled to the right: the other tab, and an EDL opened now, start at their left edge
    // with EDIT and REEL in sight.
    scrollRight(list);
    ASSERT_LT(rowsLeftEdge(list), 0);
    switchTo(1);
    EXPECT_EQ(doc.currentView, kReelUsage);
    EXPECT_EQ(listRows(), doc.viewCount[kReelUsage]);
    EXPECT_EQ(SendMessageW(app_.controls[IDC_VIEW], CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(rowsLeftEdge(list), 0);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), 0);
    scrollRight(list);
    ASSERT_LT(rowsLeftEdge(list), 0);
    recorder.answerFile(copySample("keys_wipes.EDL"), 1);
    command(IDM_OPEN);
    switchTo(2); // it joins the tabs; a click on its tab shows it
    EXPECT_EQ(w(app_.currentEntry->path), (files / L"keys_wipes.EDL").wstring());
    EXPECT_EQ(rowsLeftEdge(list), 0);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), 0);
    EXPECT_TRUE(recorder.records.empty());
}

TEST_F(FilesTest, ATabWhoseWorkFileCannotBeLoadedDisappears) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    const std::wstring b = makeProject(L"b.QLP", "comments_cp932.EDL");
    const std::wstring c = makeProject(L"c.QLP", "keys_wipes.EDL");
    openCommandLine(a);
    recorder.answerFiles(files.wstring(), {L"b.QLP", L"c.QLP"}, 2);
    command(IDM_OPEN);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 6; // the shown document's own state, which must come back
    const int32_t events = doc.viewCount[kAllEvents];
    std::ofstream(work / L"FILE_ID_0001", std::ios::binary | std::ios::trunc) << std::string(40, 'z');

    recorder.expect(IDOK);
    switchTo(1);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kWrongFormat, b));
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}, {"c.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 0);
    EXPECT_EQ(w(ui().currentEntry->path), a);
    EXPECT_TRUE(doc.loaded);
    EXPECT_EQ(doc.currentMarker, 6);
    EXPECT_EQ(listRows(), events);
    EXPECT_EQ(status(0), utf8(L"ファイル数:  2"));
    EXPECT_EQ(status(2), utf8(L"状態: " + a + L"を開きました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000", L"FILE_ID_0002"}));

    // The remaining tabs still switch normally.
    switchTo(1);
    EXPECT_EQ(w(ui().currentEntry->path), c);
    switchTo(0);
    EXPECT_EQ(doc.currentMarker, 6);
}

// The open dialog's filter does not make a file what it is not. An EDL chosen with the project
// filter is taken as a project file and refused when it is loaded; a project file chosen with the
// EDL filter opens as the project it is, with its markers and memos, not as an EDL of its bytes.
TEST_F(FilesTest, TheOpenFilterDoesNotChangeWhatAFileIs) {
    const std::wstring edl = copySample("ndf_basic.EDL");
    recorder.answerFile(edl, 2);
    recorder.expect(IDOK);
    recorder.expect(IDOK);
    command(IDM_OPEN);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{message(test::texts::kWrongFormat, edl), utf8(kLoadError)}));
    EXPECT_EQ(recorder.records[0].type, static_cast<UINT>(kWarning | MB_SYSTEMMODAL));
    EXPECT_EQ(recorder.records[1].type, kWarning);
    EXPECT_TRUE(tabs().empty());
    EXPECT_FALSE(ui().document.loaded);
    EXPECT_EQ(ui().currentEntry, nullptr);
    EXPECT_FALSE(hasStyle(IDC_LIST, WS_VISIBLE));
    EXPECT_EQ(status(0), utf8(L"ファイル数: 0"));
    EXPECT_EQ(status(1), utf8(L"参照ファイルはありません。"));
    EXPECT_EQ(status(2), utf8(L"状態: 読込みエラー"));
    EXPECT_TRUE(workFiles().empty());

    // A project whose second event carries marker 4 and whose third carries a memo.
    const std::wstring project = makeProject(L"annotated.QLP", "ndf_basic.EDL");
    {
        EdlDocument annotated;
        ASSERT_EQ(loadProjectFile(toU16(project), annotated), LoadStatus::Ok);
        annotated.view[kAllEvents][1]->marker = 4;
        annotated.commentMode = 1;
        annotated.currentRow[kAllEvents] = 2;
        ASSERT_EQ(writeWorkMemo(annotated, u"差し替え").result, MemoResult::Stored);
        WinPrompt prompt;
        ASSERT_EQ(saveDocument(toU16(project), annotated, prompt), 0);
    }
    recorder.answerFile(project, 1);
    command(IDM_OPEN);
    EXPECT_EQ(recorder.records.size(), 2u); // nothing more is said
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"annotated.QLP", kSaved}}));
    const EdlDocument& doc = ui().document;
    ASSERT_TRUE(doc.loaded);
    EdlDocument expected;
    ASSERT_EQ(loadProjectFile(toU16(project), expected), LoadStatus::Ok);
    ASSERT_EQ(doc.viewCount[kAllEvents], expected.viewCount[kAllEvents]);
    EXPECT_EQ(listRows(), expected.viewCount[kAllEvents]);
    for (int i = 0; i < expected.viewCount[kAllEvents]; ++i) {
        const EdlEvent& shown = *doc.view[kAllEvents][i];
        EXPECT_EQ(shown.marker, i == 1 ? 4 : kNoMarker) << i;
        EXPECT_EQ(workMemoText(shown), i == 2 ? u"差し替え" : u"") << i;
        EXPECT_EQ(std::u16string(shown.text[0]), std::u16string(expected.view[kAllEvents][i]->text[0])) << i;
    }
    EXPECT_EQ(status(0), utf8(L"ファイル数: 1"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + project));
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));
    // Its work file is a copy of the project file, not a conversion of it.
    EXPECT_EQ(bytes((work / L"FILE_ID_0001").wstring()), bytes(project));
}

// ---- Save and Save As ----------------------------------------------------------------------------------

TEST_F(FilesTest, SaveWritesTheProjectFileAndMarksTheTabSaved) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 3;
    markDocumentModified();
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kModified}}));

    command(IDM_SAVE);
    EXPECT_TRUE(recorder.records.empty());
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}}));
    EXPECT_EQ(ui().currentEntry->saveState, kSaved);
    EXPECT_EQ(status(2), utf8(a + L" を保存しました。"));
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(toU16(a), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 3);
    EXPECT_EQ(saved.viewCount[kAllEvents], doc.viewCount[kAllEvents]);
    for (int i = 0; i < doc.viewCount[kAllEvents]; ++i)
        for (int col = 0; col < kColumnCount; ++col)
            EXPECT_EQ(std::u16string(saved.events[i].text[col]), std::u16string(doc.events[i].text[col]));
    refreshMenus();
    EXPECT_NE(GetMenuState(ui().controls.menuBar, IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

// A file that cannot be written shows string 106 and the tab stays modified, so that neither Save
// again, Close Tab nor closing the window lose the change.
TEST_F(FilesTest, AFailedSaveKeepsTheChanges) {
    fs::create_directories(files / L"gone");
    const std::wstring a = makeProject(L"gone\\a.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    ui().document.currentMarker = 2;
    markDocumentModified();
    fs::remove_all(files / L"gone");

    recorder.expect(IDOK);
    command(IDM_SAVE);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kCannotOpenPath, a));
    EXPECT_EQ(recorder.records[0].type, kWarning);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kModified}}));
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));

    // Close Tab, Yes, and the save fails: the tab stays open and current.
    recorder.expect(IDYES);
    recorder.expect(IDOK);
    command(IDM_CLOSE_TAB);
    ASSERT_EQ(recorder.records.size(), 3u);
    EXPECT_EQ(boxTexts()[1], message(test::texts::kSaveBeforeCloseTab, a));
    EXPECT_EQ(boxTexts()[2], message(test::texts::kCannotOpenPath, a));
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kModified}}));
    EXPECT_TRUE(ui().document.loaded);
    EXPECT_EQ(ui().document.currentMarker, 2);
    EXPECT_TRUE(IsWindowEnabled(ui().controls.list));

    // Closing the window, Yes, and the save fails: the window stays.
    recorder.expect(IDYES);
    recorder.expect(IDOK);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd));
    ASSERT_EQ(recorder.records.size(), 5u);
    EXPECT_EQ(boxTexts()[3], message(test::texts::kSaveBeforeExit, a));
    EXPECT_EQ(boxTexts()[4], message(test::texts::kCannotOpenPath, a));
    EXPECT_TRUE(ui().document.loaded);

    // Once the folder is back, Save works.
    fs::create_directories(files / L"gone");
    command(IDM_SAVE);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}}));
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(toU16(a), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 2);
}

// A project file marked read-only is not replaced: Save, Close Tab → Yes and closing the window →
// Yes show string 106, and the file keeps its content and its mark.
TEST_F(FilesTest, AReadOnlyProjectFileIsNotReplaced) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    ASSERT_TRUE(SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<uint8_t> original = bytes(a);
    openCommandLine(a);
    ui().document.currentMarker = 2;
    markDocumentModified();

    recorder.expect(IDOK);
    command(IDM_SAVE);
    recorder.expect(IDYES);
    recorder.expect(IDOK);
    command(IDM_CLOSE_TAB);
    recorder.expect(IDYES);
    recorder.expect(IDOK);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(hwnd));
    const std::string cannotWrite = message(test::texts::kCannotOpenPath, a);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{cannotWrite, message(test::texts::kSaveBeforeCloseTab, a), cannotWrite,
                                        message(test::texts::kSaveBeforeExit, a), cannotWrite}));
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kModified}}));
    EXPECT_EQ(status(2), utf8(L"状態: ファイルを読み込みました。"));
    EXPECT_EQ(bytes(a), original);
    EXPECT_NE(GetFileAttributesW(a.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FilesTest, SaveAsTurnsAnEdlTabIntoAProjectTab) {
    const std::wstring edl = copySample("comments_cp932.EDL");
    recorder.answerFile(edl, 1);
    command(IDM_OPEN);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"comments_cp932.EDL", kFromEdl}}));
    refreshMenus();
    EXPECT_NE(GetMenuState(ui().controls.menuBar, IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 7;

    // Cancelled: nothing written, the status says the command ended.
    recorder.cancelFileDialog();
    command(IDM_SAVE_AS);
    ASSERT_EQ(recorder.fileDialogs.size(), 2u);
    const test::FileDialogRecord& dialog = recorder.fileDialogs[1];
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(utf8(dialog.title), utf8(L"名前を付けて保存"));
    ASSERT_EQ(dialog.filter.size(), 2u);
    EXPECT_EQ(dialog.filter[0], L"(*.QLP)");
    EXPECT_EQ(dialog.filter[1], L"*.QLP");
    EXPECT_EQ(dialog.defaultExtension, L"QLP");
    const DWORD flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NODEREFERENCELINKS | OFN_HIDEREADONLY;
    EXPECT_EQ(dialog.flags & flags, flags);
    EXPECT_EQ(dialog.bufferLength, 1000u);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"comments_cp932.EDL", kFromEdl}}));
    EXPECT_EQ(status(2), utf8(L"[別名で保存] 完了"));

    // Saving over the EDL itself, which the tab refers to, is refused (string 108).
    const std::vector<uint8_t> edlBytes = bytes(edl);
    recorder.answerFile(edl);
    recorder.expect(IDOK);
    command(IDM_SAVE_AS);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kPathLinked, edl));
    EXPECT_EQ(recorder.records[0].type, kWarning);
    EXPECT_EQ(bytes(edl), edlBytes);

    const std::wstring project = (files / L"saved.QLP").wstring();
    recorder.answerFile(project);
    command(IDM_SAVE_AS);
    EXPECT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"saved.QLP", kSaved}}));
    EXPECT_EQ(w(ui().currentEntry->path), project);
    EXPECT_EQ(status(0), utf8(L"ファイル数:  1"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + project));
    EXPECT_EQ(status(2), utf8(L"[別名で保存] 完了"));
    // The tab's work file was written and copied: the new file loads back equal to the document.
    EXPECT_EQ(bytes(project), bytes((work / L"FILE_ID_0000").wstring()));
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(toU16(project), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 7);
    ASSERT_EQ(saved.viewCount[kAllEvents], doc.viewCount[kAllEvents]);
    for (int i = 0; i < doc.viewCount[kAllEvents]; ++i) {
        EXPECT_EQ(saved.events[i].optionCommentLength, doc.events[i].optionCommentLength);
        if (doc.events[i].optionComment) {
            EXPECT_EQ(std::u16string(saved.events[i].optionComment), std::u16string(doc.events[i].optionComment));
        }
    }
    refreshMenus();
    EXPECT_NE(GetMenuState(ui().controls.menuBar, IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // From now on the tab is a project tab: a change makes it modified, Save writes the new file.
    doc.currentMarker = 1;
    markDocumentModified();
    command(IDM_SAVE);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"saved.QLP", kSaved}}));
    ASSERT_EQ(loadProjectFile(toU16(project), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 1);
    EXPECT_EQ(bytes(edl), edlBytes);
}

TEST_F(FilesTest, SaveAsOfAProjectTabWritesACopy) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    const std::vector<uint8_t> original = bytes(a);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 6;
    markDocumentModified();

    const std::wstring copy = (files / L"copy.QLP").wstring();
    recorder.answerFile(copy);
    command(IDM_SAVE_AS);
    EXPECT_TRUE(recorder.records.empty());
    // The tab keeps its file and its state; the copy holds the document as it is now.
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kModified}}));
    EXPECT_EQ(w(ui().currentEntry->path), a);
    EXPECT_EQ(bytes(a), original);
    EXPECT_EQ(bytes(copy), bytes((work / L"copy000000000").wstring()));
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(toU16(copy), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 6);
    EXPECT_EQ(status(2), utf8(L"[別名で保存] 完了"));

    // A copy onto a folder that does not exist fails with string 106; the status does not say done.
    SendMessageW(ui().controls.status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"-"));
    const std::wstring nowhere = (files / L"no folder" / L"x.QLP").wstring();
    recorder.answerFile(nowhere);
    recorder.expect(IDOK);
    command(IDM_SAVE_AS);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kCannotOpenPath, nowhere));
    EXPECT_EQ(status(2), "-");
}

// ---- Close Tab -------------------------------------------------------------------------------------------

TEST_F(FilesTest, CloseTabQuestionsAndWhichTabComesNext) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    const std::wstring b = makeProject(L"b.QLP", "comments_cp932.EDL");
    const std::wstring c = makeProject(L"c.QLP", "keys_wipes.EDL");
    openCommandLine(a);
    recorder.answerFiles(files.wstring(), {L"b.QLP", L"c.QLP"}, 2);
    command(IDM_OPEN);
    switchTo(1);
    EdlDocument& doc = ui().document;
    doc.currentMarker = 5;
    markDocumentModified();
    const std::vector<uint8_t> bOnDisk = bytes(b);

    // Cancel: the tab stays open and current.
    recorder.expect(IDCANCEL);
    command(IDM_CLOSE_TAB);
    ASSERT_EQ(recorder.records.size(), 1u);
    EXPECT_EQ(boxTexts()[0], message(test::texts::kSaveBeforeCloseTab, b));
    EXPECT_EQ(recorder.records[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(tabs().size(), 3u);
    EXPECT_EQ(w(ui().currentEntry->path), b);
    EXPECT_EQ(doc.currentMarker, 5);
    EXPECT_TRUE(IsWindowEnabled(ui().controls.tab));

    // No: closed unsaved; the next tab becomes current.
    recorder.expect(IDNO);
    command(IDM_CLOSE_TAB);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}, {"c.QLP", kSaved}}));
    EXPECT_EQ(selectedTab(), 1);
    EXPECT_EQ(w(ui().currentEntry->path), c);
    EXPECT_EQ(listRows(), doc.viewCount[kAllEvents]);
    EXPECT_EQ(bytes(b), bOnDisk);
    EXPECT_EQ(status(0), utf8(L"ファイル数:  2"));
    EXPECT_EQ(status(1), utf8(L"場所:  " + c));
    EXPECT_EQ(status(2), utf8(L"タブを閉じました。"));
    EXPECT_EQ(workFiles(), (std::vector<std::wstring>{L"FILE_ID_0000", L"FILE_ID_0002"}));

    // Yes: saved, then closed; the last tab's predecessor becomes current.
    doc.currentMarker = 4;
    markDocumentModified();
    recorder.expect(IDYES);
    command(IDM_CLOSE_TAB);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}}));
    EXPECT_EQ(w(ui().currentEntry->path), a);
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(toU16(c), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 4);
    EXPECT_EQ(recorder.records.size(), 3u);
    // A saved tab closes without a question.
    command(IDM_CLOSE_TAB);
    EXPECT_EQ(recorder.records.size(), 3u);
    EXPECT_TRUE(tabs().empty());
}

TEST_F(FilesTest, ClosingTheLastTabEmptiesEveryPanel) {
    const std::wstring a = makeProject(L"a.QLP", "ndf_basic.EDL");
    openCommandLine(a);
    const ControlTable& c = ui().controls;
    SendMessageW(c[IDC_CHECK_SOURCE], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(c[IDC_VIEW], CB_SETCURSEL, kSearchResult, 0);
    SetWindowTextW(c.memo, L"memo");
    ASSERT_TRUE(IsWindowEnabled(c[IDC_OFFSET_CELL]));
    // The memo box's background: white with a document, the button face without one.
    ShowWindow(hwnd, SW_SHOW);
    auto memoBackground = [&] {
        UpdateWindow(c.memo);
        RECT client;
        GetClientRect(c.memo, &client);
        HDC dc = GetDC(c.memo);
        const COLORREF colour = GetPixel(dc, client.right / 2, client.bottom - 3);
        ReleaseDC(c.memo, dc);
        return colour;
    };
    EXPECT_EQ(memoBackground(), RGB(255, 255, 255));

    command(IDM_CLOSE_TAB);
    EXPECT_EQ(memoBackground(), GetSysColor(COLOR_BTNFACE));
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_TRUE(recorder.records.empty());
    EXPECT_FALSE(hasStyle(IDC_LIST, WS_VISIBLE));
    EXPECT_FALSE(hasStyle(IDC_TAB, WS_VISIBLE));
    EXPECT_EQ(listRows(), 0);
    EXPECT_TRUE(tabs().empty());
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id) {
        EXPECT_EQ(SendMessageW(c[id], BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
        EXPECT_TRUE(hasStyle(id, WS_VISIBLE)) << id;
        EXPECT_FALSE(IsWindowEnabled(c[id])) << id;
    }
    // Buttons 501-512, the panel's combo boxes, cells 300-319.
    const std::pair<int, int> ranges[] = {
        {IDC_WRITE_MEMO, IDC_REEL_INFO}, {IDC_SRC_LOWER_OP, IDC_VIEW_REEL}, {IDC_MARKER_CELL1, IDC_DUR_UPPER}};
    for (const auto& [first, last] : ranges) {
        for (int id = first; id <= last; ++id) {
            EXPECT_TRUE(hasStyle(id, WS_VISIBLE)) << id;
            EXPECT_FALSE(IsWindowEnabled(c[id])) << id;
        }
    }
    EXPECT_EQ(SendMessageW(c[IDC_VIEW], CB_GETCURSEL, 0, 0), 0);
    for (int id = IDC_SRC_LOWER_OP; id <= IDC_SEARCH_MARKER; ++id)
        EXPECT_EQ(SendMessageW(c[id], CB_GETCURSEL, 0, 0), CB_ERR) << id;
    EXPECT_EQ(windowText(c.memo), L"");
    const EdlDocument& doc = ui().document;
    EXPECT_FALSE(doc.loaded);
    EXPECT_EQ(doc.headerSize, 0);
    EXPECT_EQ(doc.viewCount[kAllEvents], 0);
    EXPECT_EQ(doc.events, nullptr);
    EXPECT_EQ(doc.search.searchMarker, 0);
    EXPECT_EQ(ui().currentEntry, nullptr);
    EXPECT_EQ(status(0), utf8(L"ファイル数:  0"));
    EXPECT_EQ(status(1), utf8(L"参照ファイルはありません。"));
    EXPECT_EQ(status(2), utf8(L"タブを閉じました。"));
    EXPECT_TRUE(workFiles().empty());
    refreshMenus();
    for (int item : {IDM_SAVE, IDM_SAVE_AS, IDM_CLOSE_TAB})
        EXPECT_NE(GetMenuState(c.menuBar, item, MF_BYCOMMAND) & MF_GRAYED, 0u) << item;

    // Nothing is current, so the file commands have nothing to act on; Open starts afresh.
    command(IDM_SAVE);
    command(IDM_CLOSE_TAB);
    openCommandLine(a);
    EXPECT_EQ(tabs(), (std::vector<TabView>{{"a.QLP", kSaved}}));
    EXPECT_TRUE(hasStyle(IDC_LIST, WS_VISIBLE));
    EXPECT_EQ(status(0), utf8(L"ファイル数: 1"));
    EXPECT_TRUE(recorder.records.empty());
}

} // namespace
} // namespace qlp
