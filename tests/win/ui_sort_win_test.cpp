// The sort commands in the real main window: header clicks, menu commands and accelerators order
// the search result and the reel usage, show their state on the headers and in the status bar,
// and mark the tab modified; capitals typed into the memo box stay text.

#include "main_window_fixture.h"

#include "model/view_order.h"
#include "ui/accelerator_routing.h"
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

    int headerImage(int column) const {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        Header_GetItem(ui().controls.header, column, &item);
        return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
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

    // A key pressed in the focused window, through the message loop's accelerator translation.
    void press(int key, bool ctrl = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = ctrl ? 0 : 0x80;
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg{};
            msg.hwnd = GetFocus();
            msg.message = message;
            msg.wParam = static_cast<WPARAM>(key);
            msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001);
            if (!translateAccelerator(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            test::pumpMessages(10);
        }
        keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
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
        const uint32_t passes = ui().workers.menu.passes.load();
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
    ASSERT_EQ(doc.currentView, 1);
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
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), doc.currentRow[1]);

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

    // Capitals typed into the memo box are text; Ctrl accelerators still reach it.
    HWND memo = control(IDC_MEMO);
    SendMessageW(memo, EM_SETREADONLY, FALSE, 0);
    command(IDM_SORT_SOURCE);
    const Rows sorted = editColumn();
    SetFocus(memo);
    ASSERT_EQ(GetFocus(), memo);
    // The comment worker fills the memo box when the focus leaves the list; typing starts after.
    test::pumpMessages(800);
    SetWindowTextW(memo, L"");
    for (int key : {'P', 'R', 'D', 'E'})
        press(key);
    wchar_t typed[16] = {};
    GetWindowTextW(memo, typed, 16);
    EXPECT_STREQ(typed, L"PRDE");
    EXPECT_EQ(editColumn(), sorted);
    EXPECT_EQ(images(), (std::vector<int>{kSortAscending, kSortNone, kSortNone}));

    // Only plain letters stay with the memo box: Ctrl and function-key accelerators are translated.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG ctrlF{};
    ctrlF.hwnd = memo;
    ctrlF.message = WM_KEYDOWN;
    ctrlF.wParam = 'F';
    EXPECT_FALSE(keyBelongsToFocusedControl(ctrlF));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    MSG f1 = ctrlF;
    f1.wParam = VK_F1;
    EXPECT_FALSE(keyBelongsToFocusedControl(f1));
    MSG shiftP = ctrlF;
    shiftP.wParam = 'P';
    EXPECT_TRUE(keyBelongsToFocusedControl(shiftP));

    // View 2 keeps its own state row: the duration header sorts the ten events of TAPE01.
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, 2);
    clickHeader(kColDuration);
    EXPECT_EQ(images(), (std::vector<int>{kSortNone, kSortAscending, kSortNone}));
    EXPECT_EQ(statusText(kStatusBarState), L"状態: 10件のデータをデュレーションでソートしました。");
    EXPECT_EQ(doc.sortState[0][kSortSource], kSortAscending);
}

} // namespace
} // namespace qlp
