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
        ListView_SetItemCountEx(list, ui().document.viewCount[0], 0);
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
        const uint32_t selections = w.selection.passes.load();
        startWorkers(w);
        ASSERT_TRUE(waitForWorkerPass(w.selection, selections, 5000));
        const uint32_t comments = w.comment.passes.load();
        signalCommentRefresh(w);
        ASSERT_TRUE(waitForWorkerPass(w.comment, comments, 5000));
    }
};

TEST_F(WorkerTest, SelectionFollowsTheFocusAndSelectsTheWholeEdit) {
    EdlDocument& doc = ui().document;
    ASSERT_GE(doc.viewCount[0], 3);
    ASSERT_EQ(doc.view[0][1]->editGroup, doc.view[0][2]->editGroup); // edit 0002 has two events
    startWorkers(ui().workers);

    // The memo box shows the current event's option comment, or says there is none.
    auto commentOf = [&](int row) {
        const EdlEvent* event = doc.view[0][row];
        return utf8(event->hasOptionComment ? wide(event->optionComment) : test::texts::kNoOptionComment);
    };
    int withComment = -1, withoutComment = -1;
    for (int r = 0; r < doc.viewCount[0]; ++r)
        (doc.view[0][r]->hasOptionComment ? withComment : withoutComment) = r;
    ASSERT_GE(withComment, 0);
    ASSERT_GE(withoutComment, 0);

    focusRow(1);
    EXPECT_EQ(doc.currentRow[0], 1);
    EXPECT_EQ(selectedRows(list), (std::vector<int>{1, 2}));
    EXPECT_EQ(doc.topRow[0], 0);
    EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(1));
    EXPECT_FALSE(IsWindowEnabled(control(IDC_WRITE_MEMO))); // button 501 follows the memo mode

    focusRow(0);
    EXPECT_EQ(doc.currentRow[0], 0);
    EXPECT_EQ(selectedRows(list), (std::vector<int>{0}));
    for (int row : {withComment, withoutComment}) {
        focusRow(row);
        EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(row)) << row;
    }

    // With multi-selection switched off (40205) the worker neither follows the focus nor selects.
    focusRow(0);
    SendMessageW(hwnd, WM_COMMAND, IDM_MULTI_SELECT, 0);
    focusRow(2);
    EXPECT_EQ(doc.currentRow[0], 0);
    EXPECT_TRUE(selectedRows(list).empty());
    EXPECT_EQ(utf8(windowText(control(IDC_MEMO))), commentOf(0)); // still the comment of the earlier row
    SendMessageW(hwnd, WM_COMMAND, IDM_MULTI_SELECT, 0);
    focusRow(2);
    EXPECT_EQ(doc.currentRow[0], 2);

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
    // Signals while stopped change nothing.
    ListView_SetItemState(list, 3, LVIS_FOCUSED, LVIS_FOCUSED);
    signalSelectionChanged(w);
    pumpMessages(100);
    EXPECT_EQ(ui().document.currentRow[0], 1);

    startWorkers(w);
    focusRow(3);
    EXPECT_EQ(ui().document.currentRow[0], 3);

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
    EXPECT_EQ(ui().document.currentRow[0], 4);
}

} // namespace
} // namespace qlp
