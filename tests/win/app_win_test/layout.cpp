// Where the controls sit at two window sizes, and the smallest window.

#include "main_window_fixture.h"

#include "screen/window_layout.h"

namespace qlp {
namespace {

using test::className;
using test::MainWindowTest;

RECT childRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class LayoutSizes : public MainWindowTest, public ::testing::WithParamInterface<SIZE> {};

TEST_P(LayoutSizes, ControlsSitWhereTheLayoutPutsThem) {
    const SIZE size = GetParam();
    SetWindowPos(hwnd, nullptr, 0, 20, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd, &client);
    ASSERT_GT(client.right, 0);
    for (const ControlPlacement& p : layoutMainWindow(client.right, client.bottom)) {
        const RECT r = childRect(hwnd, control(p.id));
        EXPECT_EQ(r.left, p.x) << p.id;
        EXPECT_EQ(r.top, p.y) << p.id;
        EXPECT_EQ(r.right - r.left, p.width) << p.id;
        // A combo box reports its closed height, not the height handed over with its drop-down.
        if (className(control(p.id)) != L"ComboBox") {
            EXPECT_EQ(r.bottom - r.top, p.height) << p.id;
        }
    }
    const RECT status = childRect(hwnd, control(IDC_STATUS));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.left, 0);
    EXPECT_EQ(status.right, client.right);
}

INSTANTIATE_TEST_SUITE_P(TwoWindowSizes, LayoutSizes, ::testing::Values(SIZE{1390, 800}, SIZE{1100, 560}));

TEST_F(MainWindowTest, MinimumTrackingSize) {
    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1024);
    EXPECT_EQ(info.ptMinTrackSize.y, 384);
}

} // namespace
} // namespace qlp
