// What the window writes to the registry: column defaults at creation, the placement at close, the
// shell registration.

#include "main_window_fixture.h"

namespace qlp {
namespace {

using test::kSettings;
using test::MainWindowTest;
using test::pumpMessages;
using test::utf8;

TEST_F(MainWindowTest, ColumnDefaultsWrittenAtCreation) {
    std::vector<BYTE> data;
    DWORD type = 0;
    ASSERT_TRUE(test::readValue(kSettings + L"\\DefColumnOrder", L"項目の順序(デフォルト値)", data, &type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data.size(), 56u);
    EXPECT_EQ(test::readInts(kSettings + L"\\DefColumnOrder", L"項目の順序(デフォルト値)"),
              (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(test::readInts(kSettings + L"\\DefColumnWidth", L"項目の幅(デフォルト値)"),
              (std::vector<int32_t>{60, 75, 100, 100, 100, 60, 88, 60, 140, 140, 140, 140, 170, 200}));
    // The memories appear only when a document is shown; the placement only when the window closes.
    EXPECT_FALSE(test::readValue(kSettings + L"\\ColumnOrder", L"項目の順序", data));
    EXPECT_FALSE(test::readValue(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos", data));
}

TEST_F(MainWindowTest, PlacementStoredOnCloseAndRestoredAtStart) {
    SetWindowPos(hwnd, nullptr, 30, 40, 1200, 700, SWP_NOZORDER);
    closeWindow();
    EXPECT_EQ(test::readInts(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos"),
              (std::vector<int32_t>{30, 40, 1200, 700}));

    openWindow();
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 1200);
    EXPECT_EQ(r.bottom - r.top, 700);

    // A maximised window stores its restored rectangle.
    ShowWindow(hwnd, SW_MAXIMIZE);
    pumpMessages(50);
    closeWindow();
    EXPECT_EQ(test::readInts(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos"),
              (std::vector<int32_t>{30, 40, 1200, 700}));

    // With a taskbar at the top or the left, the window still comes back where it was.
    RECT screenArea;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &screenArea, 0));
    for (const RECT workArea :
         {RECT{0, 48, screenArea.right, screenArea.bottom}, RECT{64, 0, screenArea.right, screenArea.bottom}}) {
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, const_cast<RECT*>(&workArea), 0));
        openWindow();
        SetWindowPos(hwnd, nullptr, 100, 120, 1100, 650, SWP_NOZORDER);
        closeWindow();
        openWindow();
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.left, 100) << workArea.left << "," << workArea.top;
        EXPECT_EQ(r.top, 120) << workArea.left << "," << workArea.top;
        EXPECT_EQ(r.right - r.left, 1100);
        closeWindow();
    }
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &screenArea, 0);
}

TEST_F(MainWindowTest, ShellRegistration) {
    registerShellFileType(L"C:\\Program Files\\Quillon 2.6\\quillon.exe");
    const std::wstring progId = L"Software\\Classes\\QUILLON_9100";
    DWORD type = 0;
    // The registry keeps whatever follows the text in memory when it is a NUL (Windows does the
    // same), so the values are compared as strings.
    auto stored = [](const std::wstring& key, const wchar_t* name, DWORD* type = nullptr) {
        std::wstring value = test::readStoredString(key, name, type);
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
        return utf8(value);
    };
    // The program's own values.
    EXPECT_EQ(stored(progId + L"\\shell\\開く(&O)\\command", nullptr, &type),
              "C:\\Program Files\\Quillon 2.6\\quillon %1");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored(progId + L"\\DefaultIcon", L"デフォルトアイコンの場所"),
              "C:\\Program Files\\Quillon 2.6\\quillon.exe,2");
    EXPECT_EQ(stored(L"Software\\Classes\\.qlp", L"ファイルの種類"), utf8(L"Quillon・ドキュメント"));
    // The form the shell reads.
    EXPECT_EQ(stored(L"Software\\Classes\\.qlp", nullptr), "QUILLON_9100");
    EXPECT_EQ(stored(progId, nullptr), utf8(L"Quillon・ドキュメント"));
    EXPECT_EQ(stored(progId + L"\\shell\\open\\command", nullptr),
              "\"C:\\Program Files\\Quillon 2.6\\quillon.exe\" \"%1\"");
    EXPECT_EQ(stored(progId + L"\\DefaultIcon", nullptr), "C:\\Program Files\\Quillon 2.6\\quillon.exe,2");
    EXPECT_EQ(stored(progId + L"\\shell", nullptr), "open");
    // Icon index 2 of the program file exists: the document icon.
    EXPECT_NE(FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DOCUMENT), RT_GROUP_ICON), nullptr);
    const std::wstring self = programPath();
    HICON documentIcon = ExtractIconW(GetModuleHandleW(nullptr), self.c_str(), 2);
    EXPECT_NE(documentIcon, nullptr);
    EXPECT_EQ(ExtractIconW(GetModuleHandleW(nullptr), self.c_str(), 3), nullptr);
    if (documentIcon)
        DestroyIcon(documentIcon);
}

} // namespace
} // namespace qlp
