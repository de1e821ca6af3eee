// The sort commands in the real main window: header clicks, menu commands and accelerators order
// the search result and the reel usage, show their state on the headers and in the status bar,
// and mark the tab modified; capitals typed into the memo box stay text while Ctrl and function keys
// stay accelerators there.

#include "main_window_fixture.h"

#include "model/view_order.h"
#include "ui/info_panel.h"

namespace qlp {
namespace {

using test::click;

constexpr int kEvents = 30;

class SortCommandsTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        loadGenerated(kEvents);
    }

    std::vector<int> images() const {
        return {headerImage(kColSrcIn), headerImage(kColDuration), headerImage(kColRecIn)};
    }

    void command(int id) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    void clickHeader(int column) {
        HWND header = ui().controls.header;
        RECT r;
        ASSERT_TRUE(Header_GetItemRect(header, column, &r));
        click(header, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    // A key pressed in the focused window with the modifiers held (FSHIFT, FCONTROL), through the
    // message loop's accelerator translation; true when it became a command.
    bool press(int key, BYTE modifiers = FSHIFT) {
        test::setModifiers(modifiers & FCONTROL, modifiers & FSHIFT, false);
        bool translated = false;
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg{};
            msg.hwnd = GetFocus();
            msg.message = message;
            msg.wParam = static_cast<WPARAM>(key);
            msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001);
            if (translateAccelerator(msg)) {
                translated = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            test::pumpMessages(10);
        }
        test::setModifiers(false, false, false);
        return translated;
    }

    std::vector<std::wstring> editColumn() const {
        std::vector<std::wstring> out;
        for (int row = 0; row < ListView_GetItemCount(list); ++row)
            out.push_back(rowText(row, kColEdit));
        return out;
    }

    int tabImage() const {
        TCITEMW item{};
        item.mask = TCIF_IMAGE;
        TabCtrl_GetItem(ui().controls.tab, 0, &item);
        return item.iImage;
    }

    void waitForMenus() {
        const uint32_t passes = passMark(ui().workers.menu);
        signalMenuRefresh(ui().workers);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, passes, 5000));
    }
};

TEST_F(SortCommandsTest, SortingTheSearchResultAndTheReelUsage) {
    EdlDocument& doc = ui().document;
    for (int i : {3, 10, 20})
        addHit(i);
    show();
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kSearchResult);
    ui().currentEntry->saveState = kSaved;
    using Rows = std::vector<std::wstring>;
    EXPECT_EQ(editColumn(), (Rows{L"0004", L"0011", L"0021"}));

    // The header of P-VTR IN: ascending first (source times fall as edit numbers rise).
    clickHeader(kColSrcIn);
    EXPECT_EQ(editColumn(), (Rows{L"0021", L"0011", L"0004"}));
    EXPECT_EQ(images(), (std::vector<int>{kSortAscending, kSortNone, kSortNone}));
    EXPECT_EQ(statusText(kStatusBarState), L"状態: 3件のデータをP-VTR(素材TC)でソートしました。");
    EXPECT_EQ(ui().currentEntry->saveState, kModified);
    EXPECT_EQ(tabImage(), kModified);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), doc.currentRow[kSearchResult]);

    // The menu command again: descending.
    command(IDM_SORT_SOURCE);
    EXPECT_EQ(editColumn(), (Rows{L"0004", L"0011", L"0021"}));
    EXPECT_EQ(images(), (std::vector<int>{kSortDescending, kSortNone, kSortNone}));

    // Shift+P and Shift+R in the list; the record sort resets the source state.
    waitForMenus();
    SetFocus(list);
    press('P');
    EXPECT_EQ(editColumn(), (Rows{L"0021", L"0011", L"0004"}));
    press('R');
    EXPECT_EQ(editColumn(), (Rows{L"0004", L"0011", L"0021"}));
    EXPECT_EQ(images(), (std::vector<int>{kSortNone, kSortNone, kSortAscending}));
    EXPECT_EQ(statusText(kStatusBarState), L"状態: 3件のデータをR-VTR(REC-TC)でソートしました。");
    press('P');
    command(IDM_SORT_EDIT_ORDER);
    EXPECT_EQ(editColumn(), (Rows{L"0004", L"0011", L"0021"}));
    EXPECT_EQ(images(), (std::vector<int>{kSortNone, kSortNone, kSortNone}));
    EXPECT_EQ(statusText(kStatusBarState), L"状態: 3件のデータをEDIT順にしました。");

    // In the memo box capitals are text, while Ctrl and function keys stay accelerators: the box
    // keeps select-all and write-memo and ignores the rest (search, clear, view switch, layouts).
    HWND memo = control(IDC_MEMO);
    if (doc.commentMode != 1)
        command(IDM_TOGGLE_COMMENT);
    command(IDM_SORT_SOURCE);
    const Rows sorted = editColumn();
    const std::wstring status = statusText(kStatusBarState);
    SetFocus(memo);
    ASSERT_EQ(GetFocus(), memo);
    // The box holding the focus stops the workers, so none rewrites it; typing starts after.
    ASSERT_TRUE(test::pumpUntil(test::workersAtRest));
    SetWindowTextW(memo, L"");
    for (int key : {'P', 'R', 'D', 'E'})
        EXPECT_FALSE(press(key));
    EXPECT_EQ(test::windowText(memo), L"PRDE");
    for (int key : {'F', 'E', 'D'})
        EXPECT_TRUE(press(key, FCONTROL));
    EXPECT_TRUE(press(VK_F1, 0));
    EXPECT_EQ(test::windowText(memo), L"PRDE");
    EXPECT_EQ(editColumn(), sorted);
    EXPECT_EQ(images(), (std::vector<int>{kSortAscending, kSortNone, kSortNone}));
    EXPECT_EQ(statusText(kStatusBarState), status);
    EXPECT_TRUE(press('A', FCONTROL));
    DWORD from = 1, to = 0;
    SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(DWORD{0}, DWORD{4}));
    const EdlEvent* current = doc.view[kSearchResult][doc.currentRow[kSearchResult]];
    EXPECT_TRUE(press('W', FCONTROL));
    ASSERT_EQ(current->hasWorkMemo, 1);
    EXPECT_EQ(std::u16string_view(current->workMemo), u"PRDE");
    EXPECT_EQ(GetFocus(), list);

    // kReelUsage keeps its own state row: the duration header sorts the ten events of TAPE01.
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kReelUsage);
    clickHeader(kColDuration);
    EXPECT_EQ(images(), (std::vector<int>{kSortNone, kSortAscending, kSortNone}));
    EXPECT_EQ(statusText(kStatusBarState), L"状態: 10件のデータをデュレーションでソートしました。");
    EXPECT_EQ(doc.sortState[sortStateRow(kSearchResult)][kSortSource], kSortAscending);
    SetFocus(memo);
    ASSERT_TRUE(test::pumpUntil(test::workersAtRest));
    EXPECT_FALSE(press('P'));
    EXPECT_EQ(images(), (std::vector<int>{kSortNone, kSortAscending, kSortNone}));
}

} // namespace
} // namespace qlp
