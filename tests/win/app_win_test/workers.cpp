// The display workers behind a real document: selection, comments, stop and restart.

#include "main_window_fixture.h"

#include "ui/ui_texts.h"

namespace qlp {
namespace {

using test::MainWindowTest;
using test::pumpMessages;
using test::selectedRows;
using test::utf8;
using test::windowText;

// A real document (the sample EDL converted and loaded) shown in the list.
class WorkerTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        loadEdl((std::filesystem::path(QLP_TEST_DATA_DIR) / "ndf_basic.EDL").u16string(), kFromEdl);
        ShowWindow(list, SW_SHOW);
        EnableWindow(list, TRUE);
        ListView_SetItemCountEx(list, ui().document.viewCount[kAllEvents], 0);
    }

    // Focuses a row (and nothing else selected) and lets the workers make their passes. The workers
    // are stopped while the row changes, so the selection pass waited for is the one that sees it.
    // The comment worker may have made a pass of its own meanwhile, before the selection worker
    // moved the current row, so the comment pass waited for is one asked for after that.
    void focusRow(int row) {
        DisplayWorkers& w = ui().workers;
        stopWorkers(w);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(list, row, LVIS_FOCUSED, LVIS_FOCUSED);
        const uint32_t selections = passMark(w.selection);
        startWorkers(w);
        ASSERT_TRUE(waitForWorkerPass(w.selection, selections, 5000));
        const uint32_t comments = passMark(w.comment);
        signalCommentRefresh(w);
        ASSERT_TRUE(waitForWorkerPass(w.comment, comments, 5000));
    }
};

TEST_F(WorkerTest, SelectionFollowsTheFocusAndSelectsTheWholeEdit) {
    EdlDocument& doc = ui().document;
    ASSERT_GE(doc.viewCount[kAllEvents], 3);
    ASSERT_EQ(doc.view[kAllEvents][1]->editGroup, doc.view[kAllEvents][2]->editGroup); // edit 0002 has two events
    startWorkers(ui().workers);

    // The memo box shows the current event's option comment, or says there is none.
    auto commentOf = [&](int row) {
        const EdlEvent* event = doc.view[kAllEvents][row];
        return utf8(event->hasOptionComment ? wide(event->optionComment) : test::texts::kNoOptionComment);
    };
    int withComment = -1, withoutComment = -1;
    for (int r = 0; r < doc.viewCount[kAllEvents]; ++r)
        (doc.view[kAllEvents][r]->hasOptionComment ? withComment : withoutComment) = r;
    ASSERT_GE(withComment, 0);
    ASSERT_GE(withoutComment, 0);

    focusRow(1);
    EXPECT_EQ(doc.currentRow[kAllEvents], 1);
    EXPECT_EQ(selectedRows(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(doc.topRow[kAllEvents], 0);
    EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(1));
    EXPECT_FALSE(IsWindowEnabled(control(IDC_WRITE_MEMO))); // button 501 follows the memo mode

    focusRow(0);
    EXPECT_EQ(doc.currentRow[kAllEvents], 0);
    EXPECT_EQ(selectedRows(list), (std::vector<int>{0}));
    for (int row : {withComment, withoutComment}) {
        focusRow(row);
        EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(row)) << row;
    }

    // With multi-selection switched off (40205) the worker neither follows the focus nor selects.
    focusRow(0);
    SendMessageW(hwnd, WM_COMMAND, IDM_MULTI_SELECT, 0);
    focusRow(2);
    EXPECT_EQ(doc.currentRow[kAllEvents], 0);
    EXPECT_TRUE(selectedRows(list).empty());
    EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(0)); // still the comment of the earlier row
    SendMessageW(hwnd, WM_COMMAND, IDM_MULTI_SELECT, 0);
    focusRow(2);
    EXPECT_EQ(doc.currentRow[kAllEvents], 2);

    doc.commentMode = 1;
    focusRow(0);
    EXPECT_EQ(windowText(control(IDC_MEMO)), L""); // no work memo
    EXPECT_TRUE(IsWindowEnabled(control(IDC_WRITE_MEMO)));
}

// stopWorkers returns only when all three threads have ended; startWorkers brings them back.
TEST_F(WorkerTest, StopIsSynchronousAndStartRestarts) {
    DisplayWorkers& w = ui().workers;
    startWorkers(w);
    focusRow(1);
    stopWorkers(w);
    EXPECT_EQ(w.comment.thread, nullptr);
    EXPECT_EQ(w.selection.thread, nullptr);
    EXPECT_EQ(w.menu.thread, nullptr);
    // Signals while stopped change nothing: no thread takes them.
    ListView_SetItemState(list, 3, LVIS_FOCUSED, LVIS_FOCUSED);
    signalSelectionChanged(w);
    EXPECT_EQ(WaitForSingleObject(w.selection.wake, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(ui().document.currentRow[kAllEvents], 1);

    startWorkers(w);
    focusRow(3);
    EXPECT_EQ(ui().document.currentRow[kAllEvents], 3);

    // Without a loaded document the selection and comment workers end at their next signal.
    ui().document.loaded = 0;
    signalSelectionChanged(w);
    signalCommentRefresh(w);
    EXPECT_EQ(WaitForSingleObject(w.selection.thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(w.comment.thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(w.menu.thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ui().document.loaded = 1;
    startWorkers(w);
    focusRow(4);
    EXPECT_EQ(ui().document.currentRow[kAllEvents], 4);
}

// The user runs up and down the list while switching the memo mode and the reel criterion: the
// selection worker follows every key, the comment and menu workers read the mode and the search
// flags the clicks change. Every row the window reads meanwhile is one of the list's, and once the
// workers settle, the current row, the memo box, button 501 and the menus show the final state.
TEST_F(WorkerTest, RunningThroughTheListWhileTheStateChanges) {
    show();
    EdlDocument& doc = ui().document;
    const int count = doc.viewCount[kAllEvents];
    ASSERT_GE(count, 3);
    SetFocus(list);
    auto press = [&](WORD key) {
        SendMessageW(list, WM_KEYDOWN, key, 1);
        SendMessageW(list, WM_KEYUP, key, 0xC0000001);
        pumpMessages(0);
    };
    auto clickButton = [&](int id) { SendMessageW(control(id), BM_CLICK, 0, 0); };
    const int32_t startMode = doc.commentMode;
    // 21 clicks of the toggle and 25 of the check box: both end the other way round.
    for (int i = 0; i <= 120; ++i) {
        press((i / count) % 2 == 0 ? VK_DOWN : VK_UP);
        if (i % 6 == 0)
            clickButton(IDC_TOGGLE_COMMENT);
        if (i % 5 == 0) {
            clickButton(IDC_CHECK_REEL);
            SetFocus(list);
        }
        ASSERT_GE(doc.currentRow[kAllEvents], 0) << i;
        ASSERT_LT(doc.currentRow[kAllEvents], count) << i;
        ASSERT_GE(doc.topRow[kAllEvents], 0) << i;
        ASSERT_LT(doc.topRow[kAllEvents], count) << i;
    }

    DisplayWorkers& w = ui().workers;
    const uint32_t selections = passMark(w.selection);
    signalSelectionChanged(w);
    ASSERT_TRUE(waitForWorkerPass(w.selection, selections, 5000));
    const uint32_t comments = passMark(w.comment);
    signalCommentRefresh(w);
    ASSERT_TRUE(waitForWorkerPass(w.comment, comments, 5000));
    refreshMenus();

    const int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    EXPECT_EQ(doc.currentRow[kAllEvents], row);
    const EdlEvent& event = *doc.view[kAllEvents][row];
    ASSERT_NE(doc.commentMode, startMode);
    const bool memoMode = doc.commentMode == 1;
    const std::wstring shown = memoMode                 ? L""
                               : event.hasOptionComment ? std::wstring(wide(event.optionComment))
                                                        : L"ＥＤＬオプションコメントはありません。";
    EXPECT_EQ(windowText(control(IDC_MEMO)), shown);
    EXPECT_EQ(IsWindowEnabled(control(IDC_WRITE_MEMO)) != FALSE, memoMode);
    const HMENU bar = ui().controls.menuBar;
    EXPECT_EQ(GetMenuState(bar, IDM_WRITE_MEMO, MF_BYCOMMAND) & MF_GRAYED, memoMode ? 0u : MF_GRAYED);
    ASSERT_EQ(SendMessageW(control(IDC_CHECK_REEL), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetMenuState(bar, IDM_SEARCH, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

} // namespace
} // namespace qlp
