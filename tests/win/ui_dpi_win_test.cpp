// The main window and its dialogs on a display of another scale. CTest runs this program at the
// Wine prefix's usual 96 DPI and again in prefixes set to 144 and 192 DPI (QLP_TEST_DPI names the
// DPI the prefix was set to): every rectangle is the 96-DPI one times the scale, and no text of a
// list row, panel cell, button or the status bar is cut off.

#include "dialog_scripts.h"
#include "main_window_fixture.h"

#include "ui/event_list.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qlp {
namespace {

using test::DialogScripts;
using test::MainWindowTest;
using test::PixelCanvas;

// The scale of the display: the system DPI over 96.
double scale() {
    return GetDpiForSystem() / 96.0;
}

void expectScaled(long actual, int at96, const char* what, int id) {
    EXPECT_NEAR(actual, at96 * scale(), 1.0) << what << " of control " << id;
}

RECT childRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Gives the window a client area of the given size.
void setClientSize(HWND hwnd, int width, int height) {
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    SetWindowPos(hwnd, nullptr, 0, 0, width + (window.right - window.left) - client.right,
                 height + (window.bottom - window.top) - client.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

// The smallest rectangle of `area` holding every pixel (x, y) for which `wanted(x, y)` holds.
template <typename Wanted> std::optional<RECT> boundsOf(const RECT& area, Wanted wanted) {
    std::optional<RECT> box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            if (!wanted(x, y))
                continue;
            if (!box)
                box = RECT{x, y, x + 1, y + 1};
            box->left = std::min<LONG>(box->left, x);
            box->right = std::max<LONG>(box->right, x + 1);
            box->top = std::min<LONG>(box->top, y);
            box->bottom = std::max<LONG>(box->bottom, y + 1);
        }
    return box;
}

// The smallest rectangle holding every pixel of `area` that clearly differs from the area's own
// background (the colour of its most common pixel): the ink of the text drawn there.
std::optional<RECT> inkBounds(const PixelCanvas& canvas, const RECT& area) {
    std::unordered_map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ++counts[canvas.at(x, y)];
    COLORREF background = 0;
    int most = 0;
    for (auto [colour, n] : counts)
        if (n > most)
            background = colour, most = n;
    return boundsOf(area, [&canvas, background](int x, int y) {
        const COLORREF c = canvas.at(x, y);
        const int distance = std::abs(GetRValue(c) - GetRValue(background)) +
                             std::abs(GetGValue(c) - GetGValue(background)) +
                             std::abs(GetBValue(c) - GetBValue(background));
        return c != PixelCanvas::kUntouched && distance >= 150;
    });
}

// The ink of the text drawn whole, in the font, black on white with room all round.
SIZE wholeInk(HFONT font, const std::wstring& text) {
    PixelCanvas canvas(1200, 200);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all{0, 0, 1200, 200};
    FillRect(canvas.dc(), &all, white);
    DeleteObject(white);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    TextOutW(canvas.dc(), 20, 20, text.c_str(), static_cast<int>(text.size()));
    SelectObject(canvas.dc(), old);
    const std::optional<RECT> ink = inkBounds(canvas, all);
    return ink ? SIZE{ink->right - ink->left, ink->bottom - ink->top} : SIZE{};
}

// Text drawn in `area` of the canvas is whole: its ink is as tall and as wide as the text's ink
// drawn without limits (one pixel of smoothing aside).
void expectWhole(const PixelCanvas& canvas, const RECT& area, HFONT font, const std::wstring& text,
                 const std::string& what) {
    const SIZE whole = wholeInk(font, text);
    ASSERT_GT(whole.cy, 0) << what;
    const std::optional<RECT> ink = inkBounds(canvas, area);
    ASSERT_TRUE(ink.has_value()) << what << ": nothing drawn";
    EXPECT_GE(ink->bottom - ink->top, whole.cy - 1) << what << ": cut at the top or bottom";
    EXPECT_GE(ink->right - ink->left, whole.cx - 1) << what << ": cut at a side";
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The resource drawn for the DPI the prefix is set to, of the three versions given.
int drawnFor(UINT dpi, int at96, int at144, int at192) {
    return dpi == 144 ? at144 : dpi == 192 ? at192 : at96;
}

// A bitmap's pixels, top row first.
std::vector<COLORREF> pixelsOf(HBITMAP bitmap, SIZE& size) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    size = {info.bmWidth, info.bmHeight};
    BITMAPINFO header{};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> raw(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), raw.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> out;
    out.reserve(raw.size());
    for (DWORD p : raw)
        out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

std::vector<COLORREF> resourcePixels(int id, SIZE& size) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    std::vector<COLORREF> pixels = pixelsOf(bitmap, size);
    DeleteObject(bitmap);
    return pixels;
}

// Image `index` of the image list is bitmap resource `id` exactly, at `at96` pixels times the scale:
// the drawn version, its silver transparent, never the 96-DPI picture stretched.
void expectListShows(HIMAGELIST list, int index, int id, SIZE at96, const char* what) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    EXPECT_NEAR(cx, at96.cx * scale(), 0.5) << what;
    EXPECT_NEAR(cy, at96.cy * scale(), 0.5) << what;
    SIZE size{};
    const std::vector<COLORREF> drawn = resourcePixels(id, size);
    ASSERT_EQ(size.cx, cx) << what;
    ASSERT_EQ(size.cy, cy) << what;
    PixelCanvas canvas(cx, cy);
    ImageList_Draw(list, index, canvas.dc(), 0, 0, ILD_TRANSPARENT);
    int wrong = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const COLORREF want = drawn[static_cast<size_t>(y * cx + x)];
            wrong += canvas.at(x, y) != (want == RGB(192, 192, 192) ? PixelCanvas::kUntouched : want);
        }
    EXPECT_EQ(wrong, 0) << what << ": pixels unlike the drawn picture";
}

// An icon the window shows is square, of the size, and is the icon file's image of that size.
void expectIcon(HICON icon, int id, int size, const char* what) {
    ASSERT_NE(icon, nullptr) << what;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << what;
    SIZE shown{};
    const std::vector<COLORREF> pixels = pixelsOf(info.hbmColor, shown);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(shown.cx, size) << what;
    EXPECT_EQ(shown.cy, size) << what;
    HICON exact = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ICONINFO exactInfo{};
    GetIconInfo(exact, &exactInfo);
    SIZE exactSize{};
    EXPECT_EQ(pixelsOf(exactInfo.hbmColor, exactSize), pixels) << what << ": not the image drawn for the size";
    DeleteObject(exactInfo.hbmColor);
    DeleteObject(exactInfo.hbmMask);
    DestroyIcon(exact);
}

class DpiTest : public MainWindowTest {};

TEST_F(DpiTest, TheWindowIsOnTheDisplayOfTheScaleSet) {
    const char* set = std::getenv("QLP_TEST_DPI");
    const UINT expected = set ? static_cast<UINT>(std::atoi(set)) : 96u;
    EXPECT_EQ(GetDpiForSystem(), expected);
    EXPECT_EQ(GetDpiForWindow(hwnd), expected);
}

// A client area of 1200 x 700 at 96 DPI, so 1800 x 1050 at 144: every control lies where it lies at
// 96 DPI, times the scale.
TEST_F(DpiTest, ControlsAreTheBaseLayoutTimesTheScale) {
    struct Case {
        int id;
        RECT at96; // left, top, width, height
    };
    const Case cases[] = {
        {IDC_TAB, {2, 0, 1196, 22}},
        {IDC_LIST, {2, 22, 1196, 472}},
        {IDC_REEL_LINE, {100, 496, 1000, 23}},
        {IDC_MEMO, {94, 563, 482, 110}},
        {IDC_OFFSET, {432, 521, 64, 21}},
        {IDC_SEARCH, {769, 522, 85, 28}},
        {IDC_HIT_COUNTER, {946, 522, 160, 28}},
        {IDC_CHECK_REEL, {769, 558, 60, 18}},
        {IDC_MARKER_CELL1, {642, 573, 28, 20}},
        {IDC_SRC_LOWER, {856, 581, 66, 20}},
        {IDC_LAYOUT4, {730, 653, 30, 20}},
        {IDC_RULE_RIGHT, {763, 520, 2, 156}},
    };
    setClientSize(hwnd, static_cast<int>(1200 * scale()), static_cast<int>(700 * scale()));
    for (const Case& c : cases) {
        const RECT r = childRect(hwnd, control(c.id));
        expectScaled(r.left, c.at96.left, "left", c.id);
        expectScaled(r.top, c.at96.top, "top", c.id);
        expectScaled(r.right - r.left, c.at96.right, "width", c.id);
        expectScaled(r.bottom - r.top, c.at96.bottom, "height", c.id);
    }
    // The smallest window a user can drag to follows the scale too.
    MINMAXINFO info{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_NEAR(info.ptMinTrackSize.x, 1024 * scale(), 1.0);
    EXPECT_NEAR(info.ptMinTrackSize.y, 384 * scale(), 1.0);
}

// The list at scale f: a row holds the 22-pixel list font, REEL has its first-use width of 75 and
// the row images are 16 pixels, all scaled; the layout command then stores REEL's width in memory
// `memory` (0-based) as 75, a 96-DPI width.
void expectListAtScale(double f, int layoutCommand, int memory) {
    HWND list = ui().controls.list;
    RECT row;
    ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
    EXPECT_GE(row.bottom - row.top, static_cast<int>(22 * f));
    EXPECT_NEAR(ListView_GetColumnWidth(list, kColReel), 75 * f, 1.0);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &cx, &cy);
    EXPECT_NEAR(cx, 16 * f, 0.5);
    EXPECT_NEAR(cy, 16 * f, 0.5);
    SendMessageW(ui().mainWindow, WM_COMMAND, MAKEWPARAM(layoutCommand, 0), 0);
    const std::vector<int32_t> widths = test::readInts(test::kSettings + L"\\ColumnWidth", L"項目の幅");
    ASSERT_EQ(widths.size(), 56u);
    EXPECT_EQ(widths[14 * memory + kColReel], 75);
}

// The list's rows, its columns and the images scale; the widths the user stores stay 96-DPI widths.
TEST_F(DpiTest, ListRowsColumnsAndImagesScale) {
    loadGenerated(20);
    show();
    expectListAtScale(scale(), IDM_REGISTER_LAYOUT2, 1);
}

// Moved to a display of one and a half times the scale, the window takes the rectangle the system offers and lays
// itself out again; rows, columns and images follow, and the widths it stores stay 96-DPI widths.
TEST_F(DpiTest, MovingToADisplayOfAnotherScaleLaysTheWindowOutAgain) {
    loadGenerated(20);
    show();
    const UINT dpi = GetDpiForWindow(hwnd) * 3 / 2;
    const double f = dpi / 96.0;
    // Wider and taller than the smallest window at the new scale, and within the screen.
    const int width = static_cast<int>(1024 * f) + 40, height = static_cast<int>(384 * f) + 200;
    RECT offered{10, 10, 10 + width, 10 + height};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&offered));
    RECT window;
    GetWindowRect(hwnd, &window);
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.right, 10 + width);
    EXPECT_EQ(window.bottom, 10 + height);
    RECT client;
    GetClientRect(hwnd, &client);
    const RECT tab = childRect(hwnd, control(IDC_TAB));
    EXPECT_NEAR(tab.bottom - tab.top, 22 * f, 1.0);
    EXPECT_NEAR(tab.right - tab.left, client.right - 4 * f, 1.0);
    const RECT search = childRect(hwnd, control(IDC_SEARCH));
    EXPECT_NEAR(search.left, client.right / 2 + 169 * f, 1.0);
    EXPECT_NEAR(search.bottom - search.top, 28 * f, 1.0);
    expectListAtScale(f, IDM_REGISTER_LAYOUT3, 2);
}

// Texts a user reads all day are drawn whole: a list row, the panel's cells, its buttons and the
// status bar.
TEST_F(DpiTest, TextsAreNotCutOff) {
    loadGenerated(20);
    show();
    stopWorkers(ui().workers);
    RECT client;
    GetClientRect(hwnd, &client);
    PixelCanvas canvas(client.right, client.bottom);
    const int inset = 3; // the borders of buttons and status-bar parts

    // A list row: the reel cell, in the list font.
    {
        canvas.clear();
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = IDC_LIST;
        item.itemID = 0;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = list;
        item.hDC = canvas.dc();
        ListView_GetItemRect(list, 0, &item.rcItem, LVIR_BOUNDS);
        drawListRow(item);
        RECT cell;
        ListView_GetSubItemRect(list, 0, kColReel, LVIR_LABEL, &cell);
        cell.top = item.rcItem.top, cell.bottom = item.rcItem.bottom;
        expectWhole(canvas, cell, ui().paint.list, L"TAPE01", "list row");
    }
    // Panel cells, as the panel draws them.
    for (int id : {IDC_EDIT_COUNT, IDC_SRC_LOWER, IDC_HIT_COUNTER}) {
        canvas.clear();
        HWND cell = control(id);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = id;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = cell;
        item.hDC = canvas.dc();
        GetClientRect(cell, &item.rcItem);
        drawInfoCell(item);
        expectWhole(canvas, item.rcItem, fontOf(cell), infoCellText(id, ui().document),
                    "panel cell " + std::to_string(id));
    }
    // Buttons, as they paint themselves.
    struct Painted {
        HWND control;
        std::wstring text;
        RECT area;
    };
    std::vector<Painted> painted;
    for (auto [id, text] : {std::pair{IDC_SEARCH, L"検索"},
                            {IDC_WRITE_MEMO, L"リストに書込む"},
                            {IDC_MARKER, L"マーカー"},
                            {IDC_OFFSET, L"オフセット"}}) {
        RECT r;
        GetClientRect(control(id), &r);
        painted.push_back({control(id), text, r});
    }
    for (const Painted& p : painted) {
        canvas.clear();
        // The common controls paint into a device context handed to them with the paint message.
        SendMessageW(p.control, WM_PAINT, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        RECT inside = p.area;
        InflateRect(&inside, -inset, -inset);
        expectWhole(canvas, inside, fontOf(p.control), p.text, test::utf8(p.text));
    }
    // Check boxes and labels of the lower strip: the ink their text adds to the control, painted
    // with it and without it, is the whole text.
    for (auto [id, text] : {std::pair{IDC_CHECK_REEL, L" リール名"},
                            {IDC_CHECK_SOURCE, L"素材ＴＣ"},
                            {IDC_CHECK_RECORD, L"ＲＥＣ-ＴＣ"},
                            {IDC_CHECK_DURATION, L"デュレーション"},
                            {IDC_CHECK_MARKER, L" マーカー"},
                            {IDC_LABEL_COUNT, L"カウント"},
                            {IDC_LABEL_EDITS, L"エディット数"},
                            {IDC_LABEL_REELS, L"リール数"},
                            {IDC_LABEL_VIEW, L"リスト表示"},
                            {IDC_LABEL_COLUMNS, L"コラム設定"}}) {
        HWND c = control(id);
        ASSERT_EQ(test::windowText(c), text);
        RECT r;
        GetClientRect(c, &r);
        PixelCanvas bare(r.right, r.bottom);
        SetWindowTextW(c, L"");
        SendMessageW(c, WM_PAINT, reinterpret_cast<WPARAM>(bare.dc()), 0);
        SetWindowTextW(c, text);
        canvas.clear();
        SendMessageW(c, WM_PAINT, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        const std::optional<RECT> ink = boundsOf(r, [&](int x, int y) { return canvas.at(x, y) != bare.at(x, y); });
        const SIZE whole = wholeInk(fontOf(c), text);
        ASSERT_TRUE(ink.has_value()) << test::utf8(text) << ": nothing drawn";
        EXPECT_GE(ink->right - ink->left, whole.cx - 1) << test::utf8(text) << ": cut at a side";
        EXPECT_GE(ink->bottom - ink->top, whole.cy - 1) << test::utf8(text) << ": cut at the top or bottom";
    }
    // The status bar paints only while it is on the screen, and this window stays hidden: its
    // parts must hold their texts' cells in the bar's own font.
    HWND bar = ui().controls.status;
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, fontOf(bar));
    for (auto [part, text] : {std::pair{0, L"ファイル数:  1"}, {2, L"状態: 待機中"}}) {
        RECT r;
        SendMessageW(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        SIZE extent;
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
        EXPECT_GE(r.right - r.left - 2 * inset, extent.cx) << "status part " << part;
        EXPECT_GE(r.bottom - r.top, extent.cy) << "status part " << part;
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
}

// Every dialog opens at its 96-DPI size (in the prefix's stand-in fonts) times the scale.
TEST_F(DpiTest, DialogsOpenAtTheScaledSize) {
    loadGenerated(20);
    show();
    struct Case {
        int command;
        int dialog;
        SIZE at96;
    };
    const Case cases[] = {
        {IDM_ABOUT, IDD_VERSION, {456, 161}},        {IDM_MARKER_SETTINGS, IDD_MARKER_SETTINGS, {270, 221}},
        {IDM_OFFSET, IDD_OFFSET, {282, 98}},         {IDM_EDIT_LOCATE, IDD_EDIT_LOCATE, {158, 52}},
        {IDM_REEL_INFO, IDD_REEL_INFO, {747, 338}},  {IDM_SIMPLE_NOTES, IDD_SIMPLE_NOTES, {974, 345}},
        {IDM_TEXT_LISTING, IDD_LISTING, {410, 268}}, {IDM_EDL_EXPORT, IDD_EDL_EXPORT, {357, 105}},
    };
    for (const Case& c : cases) {
        recorder.expect(IDCANCEL);
        command(c.command);
        ASSERT_FALSE(recorder.records.empty()) << c.dialog;
        const test::ModalRecord& shown = recorder.records.back();
        EXPECT_EQ(shown.dialogId, c.dialog);
        // Dialog units follow the dialog font. The stand-in's average width grows a little less
        // than the scale where its cell is large (at 192 DPI a dialog's width is 0.91-0.94 of twice
        // its 96-DPI width, its height 0.96-1.0; at 144 DPI 0.98-1.0 both ways), so a dialog comes
        // within 0.9 and 1.02 of the scaled size; one left at its 96-DPI size would be two thirds
        // or half of it.
        for (auto [actual, at96] : {std::pair{shown.client.cx, c.at96.cx}, {shown.client.cy, c.at96.cy}}) {
            EXPECT_GE(actual, at96 * scale() * 0.9) << c.dialog;
            EXPECT_LE(actual, at96 * scale() * 1.02) << c.dialog;
        }
    }
}

// Every picture the window shows is the version drawn for the display's scale, at the scaled size:
// the list's memo mark, the header's sort arrows, the tab images and the window's two icons.
TEST_F(DpiTest, PicturesAreDrawnForTheScale) {
    loadGenerated(20);
    show();
    const UINT dpi = GetDpiForWindow(hwnd);
    HIMAGELIST rows = ListView_GetImageList(list, LVSIL_SMALL);
    HIMAGELIST header = Header_GetImageList(ListView_GetHeader(list));
    HIMAGELIST tabs = TabCtrl_GetImageList(control(IDC_TAB));
    struct Case {
        const char* what;
        HIMAGELIST list;
        int index;
        int at96, at144, at192;
    };
    const Case cases[] = {
        {"memo mark", rows, 0, IDB_MEMO, IDB_MEMO_144, IDB_MEMO_192},
        {"sorted descending", header, 0, IDB_SORT_DESCENDING, IDB_SORT_DESCENDING_144, IDB_SORT_DESCENDING_192},
        {"sorted ascending", header, 1, IDB_SORT_ASCENDING, IDB_SORT_ASCENDING_144, IDB_SORT_ASCENDING_192},
        {"not sorted", header, 2, IDB_SORT_NONE, IDB_SORT_NONE_144, IDB_SORT_NONE_192},
        {"saved tab", tabs, 0, IDB_TAB_SAVED, IDB_TAB_SAVED_144, IDB_TAB_SAVED_192},
        {"tab from an EDL", tabs, 1, IDB_TAB_FROM_EDL, IDB_TAB_FROM_EDL_144, IDB_TAB_FROM_EDL_192},
        {"modified tab", tabs, 2, IDB_TAB_MODIFIED, IDB_TAB_MODIFIED_144, IDB_TAB_MODIFIED_192},
    };
    for (const Case& c : cases)
        expectListShows(c.list, c.index, drawnFor(dpi, c.at96, c.at144, c.at192), SIZE{16, 16}, c.what);
    const int big = static_cast<int>(std::lround(32 * scale())), small = static_cast<int>(std::lround(16 * scale()));
    expectIcon(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)), IDI_APP, big, "big icon");
    expectIcon(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)), IDI_APP_SMALL, small,
               "small icon");

    // Moved to a display of twice the scale, the window shows the pictures and icons drawn for it.
    RECT window;
    GetWindowRect(hwnd, &window);
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&window));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &cx, &cy);
    EXPECT_EQ(cx, static_cast<int>(32 * dpi / 96));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)), &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(bitmap.bmWidth, static_cast<int>(32 * dpi / 96));
}

// An open dialog moved to a display of twice the scale draws its pictures again for it: the offset
// dialog's arrow (12 x 12 pixels of light blue at 96 DPI), the version dialog's picture and the
// yellow frame (2 pixels at 96 DPI) round the marker settings' box of the current marker.
TEST_F(DpiTest, OpenDialogsFollowAChangeOfScale) {
    loadGenerated(20, kFromEdl);
    show();
    DialogScripts scripts(recorder);
    const UINT dpi = GetDpiForWindow(hwnd);
    const auto moveToDoubleScale = [&](HWND d) {
        RECT r;
        GetWindowRect(d, &r);
        SendMessageW(d, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&r));
    };
    // The arrow as the dialog draws it into its button.
    const auto arrowSize = [](HWND d) {
        PixelCanvas canvas(200, 200);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_OFFSET_COPY;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = GetDlgItem(d, IDC_OFFSET_COPY);
        item.hDC = canvas.dc();
        item.rcItem = {0, 0, 200, 200};
        SendMessageW(d, WM_DRAWITEM, IDC_OFFSET_COPY, reinterpret_cast<LPARAM>(&item));
        const std::optional<RECT> arrow =
            boundsOf(RECT{0, 0, 200, 200}, [&](int x, int y) { return canvas.at(x, y) == RGB(110, 190, 250); });
        return arrow ? SIZE{arrow->right - arrow->left, arrow->bottom - arrow->top} : SIZE{};
    };
    std::vector<SIZE> arrows;
    scripts.script = [&](HWND d) {
        arrows.push_back(arrowSize(d));
        moveToDoubleScale(d);
        arrows.push_back(arrowSize(d));
        EndDialog(d, IDCANCEL);
    };
    command(IDM_OFFSET);
    ASSERT_EQ(arrows.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const double f = scale() * static_cast<double>(i + 1);
        EXPECT_NEAR(arrows[i].cx, 12 * f, 1.0) << "arrow width, move " << i;
        EXPECT_NEAR(arrows[i].cy, 12 * f, 1.0) << "arrow height, move " << i;
    }

    std::vector<int> frames;
    scripts.script = [&](HWND d) {
        for (int move = 0; move < 2; ++move) {
            if (move)
                moveToDoubleScale(d);
            PixelCanvas canvas(120, 80);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = IDC_MARKER_BOX1;
            item.itemAction = ODA_DRAWENTIRE;
            item.hwndItem = GetDlgItem(d, IDC_MARKER_BOX1);
            item.hDC = canvas.dc();
            item.rcItem = {0, 0, 120, 80};
            SendMessageW(d, WM_DRAWITEM, IDC_MARKER_BOX1, reinterpret_cast<LPARAM>(&item));
            frames.push_back(canvas.count(RGB(255, 255, 0), RECT{0, 40, 60, 41}));
        }
        EndDialog(d, IDCANCEL);
    };
    command(IDM_MARKER_SETTINGS);
    ASSERT_EQ(frames.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_NEAR(frames[i], 2 * scale() * static_cast<double>(i + 1), 1.0) << "frame, move " << i;

    std::vector<SIZE> pictures;
    scripts.script = [&](HWND d) {
        for (int move = 0; move < 2; ++move) {
            if (move)
                moveToDoubleScale(d);
            // The picture is the one static showing a bitmap.
            HBITMAP shown = nullptr;
            for (HWND c = GetWindow(d, GW_CHILD); c && !shown; c = GetWindow(c, GW_HWNDNEXT))
                shown = reinterpret_cast<HBITMAP>(SendMessageW(c, STM_GETIMAGE, IMAGE_BITMAP, 0));
            SIZE size{};
            pixelsOf(shown, size);
            pictures.push_back(size);
        }
        EndDialog(d, IDCANCEL);
    };
    command(IDM_ABOUT);
    ASSERT_EQ(pictures.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const double f = scale() * static_cast<double>(i + 1);
        EXPECT_NEAR(pictures[i].cx, 120 * f, 0.5) << "picture width, move " << i;
        EXPECT_NEAR(pictures[i].cy, 112 * f, 0.5) << "picture height, move " << i;
    }
}

} // namespace
} // namespace qlp
