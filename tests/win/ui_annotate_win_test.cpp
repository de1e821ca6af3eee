// Annotating events in the real main window: a marker chosen on its cell, set by the menu command
// and deleted again; the comment display switched by its button; a memo typed into
// the memo box and stored when the box loses the focus, not stored when the current row moved
// meanwhile, and removed by the write command; the tab turns modified.

#include "main_window_fixture.h"

#include "ops/memos.h"

namespace qlp {
namespace {

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
        const uint32_t passes = ui().workers.selection.passes.load();
        ListView_SetItemState(list, row, LVIS_FOCUSED, LVIS_FOCUSED);
        signalSelectionChanged(ui().workers);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.selection, passes, 5000));
        ASSERT_EQ(ui().document.currentRow[0], row);
    }

    // Typing into the memo box as the user does: it gains the focus, gets the text, loses the focus.
    void typeMemo(const wchar_t* text, int moveCurrentRowTo = -1) {
        command(IDC_MEMO, EN_SETFOCUS);
        SetWindowTextW(ui().controls.memo, text);
        if (moveCurrentRowTo >= 0)
            ui().document.currentRow[0] = moveCurrentRowTo; // as edit locate does by its accelerator
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
    EXPECT_EQ(doc.view[0][2]->marker, 3);
    EXPECT_EQ(doc.view[0][4]->marker, 3);
    EXPECT_EQ(doc.view[0][3]->marker, kNoMarker);
    EXPECT_EQ(entry.saveState, kModified);
    selectOnly({4});
    command(IDM_DELETE_MARKER);
    EXPECT_EQ(doc.view[0][4]->marker, kNoMarker);
    EXPECT_EQ(doc.view[0][2]->marker, 3);

    // The memo belongs to the row that was current while it was typed.
    focusRow(5);
    typeMemo(L"差し替え");
    EXPECT_EQ(workMemoText(*doc.view[0][5]), u"差し替え");
    EXPECT_EQ(doc.view[0][5]->workMemoLength, 5);
    typeMemo(L"lost", 6);
    EXPECT_EQ(doc.view[0][5]->workMemoLength, 5);
    EXPECT_EQ(doc.view[0][6]->hasWorkMemo, 0);

    // In comment mode the box is read-only and the write command does nothing.
    command(IDC_TOGGLE_COMMENT, BN_CLICKED);
    EXPECT_EQ(doc.commentMode, 0);
    EXPECT_TRUE(GetWindowLongW(ui().controls.memo, GWL_STYLE) & ES_READONLY);
    focusRow(5);
    SetWindowTextW(ui().controls.memo, L"");
    command(IDM_WRITE_MEMO);
    EXPECT_EQ(doc.view[0][5]->hasWorkMemo, 1);
    command(IDM_TOGGLE_COMMENT);
    EXPECT_EQ(doc.commentMode, 1);
    SetWindowTextW(ui().controls.memo, L"");
    command(IDM_WRITE_MEMO);
    EXPECT_EQ(doc.view[0][5]->hasWorkMemo, 0);
}

} // namespace
} // namespace qlp
