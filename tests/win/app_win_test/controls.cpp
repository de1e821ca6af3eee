// Controls of the main window before any document: class, title, creation order, styles, fixed
// combo items, status-bar parts, fonts, image lists, list columns, static colours, the cells' no-document
// texts, and the right-click pop-ups.

#include "main_window_fixture.h"

#include "screen/column_layout.h"
#include "ui/list_columns.h"

#include <clocale>
#include <cstdlib>

namespace qlp {
namespace {

using test::className;
using test::MainWindowTest;
using test::utf8;
using test::windowText;

struct ExpectedControl {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    bool visible;
    bool enabled;
};

std::vector<ExpectedControl> expectedControls() {
    std::vector<ExpectedControl> out = {
        {IDC_TAB, L"SysTabControl32", L"", false, false},
        {IDC_LIST, L"SysListView32", L"", false, false},
        {IDC_MEMO, L"Edit", L"", true, false},
        {IDC_WRITE_MEMO, L"Button", L"リストに書込む", true, false},
        {IDC_TOGGLE_COMMENT, L"Button", L"コメント表示切替", true, false},
        {IDC_SEARCH, L"Button", L"検索", true, false},
        {IDC_CLEAR_SEARCH, L"Button", L"検索消去", true, false},
        {IDC_LAYOUT1, L"Button", L"1", true, false},
        {IDC_LAYOUT1 + 1, L"Button", L"2", true, false},
        {IDC_LAYOUT1 + 2, L"Button", L"3", true, false},
        {IDC_LAYOUT4, L"Button", L"4", true, false},
        {IDC_OFFSET, L"Button", L"オフセット", true, false},
        {IDC_MARKER, L"Button", L"マーカー", true, false},
        {IDC_SIMPLE_NOTES, L"Button", L"簡易ノート", true, false},
        {IDC_REEL_INFO, L"Button", L"リール情報", true, false},
        {IDC_CHECK_REEL, L"Button", L" リール名", true, false},
        {IDC_CHECK_SOURCE, L"Button", L"素材ＴＣ", true, false},
        {IDC_CHECK_RECORD, L"Button", L"ＲＥＣ-ＴＣ", true, false},
        {IDC_CHECK_DURATION, L"Button", L"デュレーション", true, false},
        {IDC_CHECK_MARKER, L"Button", L" マーカー", true, false},
    };
    for (int id = IDC_SRC_LOWER_OP; id <= IDC_VIEW_REEL; ++id)
        out.push_back({id, L"ComboBox", L"", true, false});
    out.push_back({IDC_LABEL_COUNT, L"Static", L"カウント", true, true});
    out.push_back({IDC_LABEL_REELS, L"Static", L"リール数", true, true});
    out.push_back({IDC_LABEL_EDITS, L"Static", L"エディット数", true, true});
    out.push_back({IDC_LABEL_VIEW, L"Static", L"リスト表示", true, true});
    out.push_back({IDC_LABEL_COLUMNS, L"Static", L"コラム設定", true, true});
    for (int id = IDC_MARKER_CELL1; id <= IDC_MARKER_CELL8; ++id)
        out.push_back({id, L"Static", L"", true, false});
    for (int id : {IDC_REEL_LINE, IDC_EDIT_COUNT, IDC_OFFSET_CELL, IDC_COUNT_MODE, IDC_HIT_COUNTER, IDC_REEL_COUNT})
        out.push_back({id, L"Static", L"", true, false});
    for (int id = IDC_SRC_LOWER; id <= IDC_DUR_UPPER; ++id)
        out.push_back({id, L"Static", L"", true, false});
    for (int id = IDC_RULE_TOP; id <= IDC_RULE_LEFT; ++id)
        out.push_back({id, L"Static", L"", true, true});
    out.push_back({IDC_STATUS, L"msctls_statusbar32", L"ファイル数:  0", true, true}); // its text is part 0
    return out;
}

TEST_F(MainWindowTest, WindowClassTitleAndMenu) {
    EXPECT_EQ(className(hwnd), L"QUILLONWIN_9100");
    EXPECT_EQ(windowText(hwnd), L"Quillon for SONY BVE-9100 Ver 2.6.0 cs1");
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, static_cast<LONG>(WS_OVERLAPPEDWINDOW));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"QUILLONWIN_9100", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_NE(wc.hIcon, nullptr);
    EXPECT_NE(wc.hIconSm, nullptr);
    EXPECT_NE(GetMenu(hwnd), nullptr);
    // Without a stored placement the window keeps its creation rectangle.
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 1390);
    EXPECT_EQ(r.bottom - r.top, 800);
}

// Start-up puts the C runtime's character conversion and numbers into the Japanese code page.
TEST_F(MainWindowTest, JapaneseLocaleForTheCRuntime) {
    for (int category : {LC_CTYPE, LC_NUMERIC}) {
        const char* name = std::setlocale(category, nullptr);
        ASSERT_NE(name, nullptr);
        EXPECT_NE(std::string(name).find("932"), std::string::npos) << name;
    }
    wchar_t wc = 0;
    EXPECT_EQ(std::mbtowc(&wc, "\x82\xa0", 2), 2);
    EXPECT_EQ(wc, L'\u3042');
}

// Every child in creation order (which is also the z-order), with its class, text and state
// before any document is loaded.
TEST_F(MainWindowTest, EveryControlBeforeAnyDocument) {
    const auto expected = expectedControls();
    std::vector<int> zOrder;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        zOrder.push_back(GetDlgCtrlID(child));
    ASSERT_EQ(zOrder.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ExpectedControl& e = expected[i];
        EXPECT_EQ(zOrder[i], e.id) << "position " << i;
        HWND c = GetDlgItem(hwnd, e.id);
        ASSERT_NE(c, nullptr) << e.id;
        EXPECT_EQ(c, control(e.id)) << e.id;
        EXPECT_EQ(className(c), e.className) << e.id;
        EXPECT_EQ(utf8(windowText(c)), utf8(e.text)) << e.id;
        EXPECT_EQ((GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) != 0, e.visible) << e.id;
        EXPECT_EQ(IsWindowEnabled(c) != FALSE, e.enabled) << e.id;
    }
}

TEST_F(MainWindowTest, ControlStyles) {
    auto style = [&](int id) { return static_cast<DWORD>(GetWindowLongW(control(id), GWL_STYLE)); };
    auto exStyle = [&](int id) { return static_cast<DWORD>(GetWindowLongW(control(id), GWL_EXSTYLE)); };
    const DWORD list = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | LVS_OWNERDATA;
    EXPECT_EQ(style(IDC_LIST) & list, list);
    EXPECT_TRUE(exStyle(IDC_LIST) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(ListView_GetExtendedListViewStyle(control(IDC_LIST)) &
                  (LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB),
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB));
    EXPECT_EQ(ListView_GetItemCount(control(IDC_LIST)), 0);
    EXPECT_TRUE(style(IDC_TAB) & TCS_FOCUSNEVER);
    EXPECT_TRUE(style(IDC_TAB) & TCS_HOTTRACK);
    EXPECT_TRUE(style(IDC_MEMO) & ES_MULTILINE);
    EXPECT_TRUE(style(IDC_MEMO) & WS_VSCROLL);
    EXPECT_TRUE(exStyle(IDC_MEMO) & WS_EX_STATICEDGE);
    EXPECT_EQ(SendMessageW(control(IDC_MEMO), EM_GETLIMITTEXT, 0, 0), 800);
    EXPECT_EQ(SendMessageW(control(IDC_MEMO), EM_GETMARGINS, 0, 0), MAKELONG(4, 4));
    EXPECT_TRUE(style(IDC_SEARCH) & WS_TABSTOP);
    EXPECT_FALSE(style(IDC_CLEAR_SEARCH) & WS_TABSTOP);
    EXPECT_EQ(style(IDC_CHECK_RECORD) & (BS_TYPEMASK | BS_FLAT), static_cast<DWORD>(BS_AUTOCHECKBOX | BS_FLAT));
    EXPECT_EQ(style(IDC_VIEW) & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_TRUE(style(IDC_SEARCH_MARKER) & CBS_OWNERDRAWFIXED);
    EXPECT_FALSE(style(IDC_SEARCH_MARKER) & WS_TABSTOP);
    EXPECT_EQ(SendMessageW(control(IDC_SEARCH_MARKER), CB_GETITEMHEIGHT, 0, 0), 15);
    EXPECT_EQ(style(IDC_MARKER_CELL1) & SS_TYPEMASK, static_cast<DWORD>(SS_OWNERDRAW));
    EXPECT_TRUE(style(IDC_MARKER_CELL1) & SS_NOTIFY);
    EXPECT_TRUE(style(IDC_OFFSET_CELL) & SS_NOTIFY);
    EXPECT_FALSE(style(IDC_EDIT_COUNT) & SS_NOTIFY);
    EXPECT_TRUE(exStyle(IDC_HIT_COUNTER) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(style(IDC_RULE_TOP) & SS_TYPEMASK, static_cast<DWORD>(SS_ETCHEDHORZ));
    EXPECT_TRUE(style(IDC_STATUS) & SBARS_SIZEGRIP);
}

TEST_F(MainWindowTest, FixedComboItems) {
    auto items = [&](int id) {
        std::vector<std::wstring> out;
        HWND c = control(id);
        for (int i = 0; i < SendMessageW(c, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[64] = {};
            SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    };
    for (int id : {IDC_SRC_LOWER_OP, IDC_REC_LOWER_OP, IDC_DUR_LOWER_OP})
        EXPECT_EQ(items(id), (std::vector<std::wstring>{L"以上", L"超過", L"以下", L"未満"})) << id;
    for (int id : {IDC_SRC_UPPER_OP, IDC_REC_UPPER_OP, IDC_DUR_UPPER_OP})
        EXPECT_EQ(items(id), (std::vector<std::wstring>{L"以下", L"未満"})) << id;
    EXPECT_EQ(items(IDC_VIEW),
              (std::vector<std::wstring>{L"通常のＥＤＬリスト", L"検索結果", L"リールの使用アドレス"}));
    EXPECT_TRUE(items(IDC_SEARCH_REEL).empty());
    EXPECT_TRUE(items(IDC_VIEW_REEL).empty());
}

TEST_F(MainWindowTest, StatusBarPartsAndStartTexts) {
    HWND status = control(IDC_STATUS);
    int edges[4] = {};
    ASSERT_EQ(SendMessageW(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 800);
    EXPECT_EQ(edges[2], 2000);
    const wchar_t* texts[] = {L"ファイル数:  0", L"場所: 参照ファイルはありません。", L"状態: 待機中"};
    for (int part = 0; part < 3; ++part) {
        wchar_t text[128] = {};
        SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(utf8(text), utf8(texts[part])) << part;
    }
}

TEST_F(MainWindowTest, FontsAndImageLists) {
    const PaintTable& p = ui().paint;
    auto font = [&](HWND c) { return reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)); };
    EXPECT_EQ(font(control(IDC_LIST)), p.list);
    EXPECT_EQ(font(ui().controls.header), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(font(control(IDC_HIT_COUNTER)), p.panel);
    EXPECT_EQ(font(control(IDC_REEL_LINE)), p.panel);
    for (int id : {IDC_TAB, IDC_MEMO, IDC_WRITE_MEMO, IDC_REEL_INFO, IDC_LABEL_COLUMNS, IDC_CHECK_MARKER, IDC_VIEW,
                   IDC_COUNT_MODE, IDC_OFFSET_CELL, IDC_SRC_LOWER, IDC_DUR_UPPER})
        EXPECT_EQ(font(control(id)), GetStockObject(DEFAULT_GUI_FONT)) << id;

    LOGFONTW lf{};
    GetObjectW(p.list, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, 22);
    EXPECT_EQ(lf.lfWidth, 11);
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(utf8(lf.lfFaceName), utf8(L"MS ゴシック"));
    GetObjectW(p.listBold, sizeof lf, &lf);
    EXPECT_EQ(lf.lfWidth, 10);
    EXPECT_EQ(lf.lfWeight, 700);
    GetObjectW(p.panel, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, 16);
    EXPECT_EQ(lf.lfWidth, 8);

    HIMAGELIST rows = ListView_GetImageList(control(IDC_LIST), LVSIL_SMALL);
    HIMAGELIST arrows = Header_GetImageList(ui().controls.header);
    HIMAGELIST tabs = TabCtrl_GetImageList(control(IDC_TAB));
    ASSERT_TRUE(rows && arrows && tabs);
    EXPECT_EQ(ImageList_GetImageCount(rows), 1);
    EXPECT_EQ(ImageList_GetImageCount(arrows), 3);
    EXPECT_EQ(ImageList_GetImageCount(tabs), 3);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(tabs, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(MainWindowTest, ListColumnsAtCreation) {
    HWND list = control(IDC_LIST);
    ASSERT_EQ(Header_GetItemCount(ui().controls.header), kColumnCount);
    const wchar_t* headers[] = {
        L"EDIT", L"REEL",     L"  V  ",     L"AUDIO",    L"TYP",       L"PTRN",     L"TRANST",
        L"SPED", L"P-VTR IN", L"P-VTR OUT", L"R-VTR IN", L"R-VTR OUT", L"DURATION", L" マーカー・ユーザーコメント "};
    int order[kColumnCount] = {};
    ASSERT_TRUE(ListView_GetColumnOrderArray(list, kColumnCount, order));
    for (int i = 0; i < kColumnCount; ++i) {
        wchar_t text[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = 64;
        ASSERT_TRUE(ListView_GetColumn(list, i, &column)) << i;
        EXPECT_EQ(utf8(text), utf8(headers[i])) << i;
        const bool centred = (i == 2 || (i >= 4 && i <= 12));
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, centred ? LVCFMT_CENTER : LVCFMT_LEFT) << i;
        if (i > 0) {
            EXPECT_EQ(column.cx, kCreationWidths[i]) << i;
        }
        EXPECT_EQ(order[i], i);
    }
}

// The memo box asks for static colours while it is read-only: button face without a document,
// the memo brush with one; every other static gets the button face. All with transparent text.
TEST_F(MainWindowTest, StaticColours) {
    HDC dc = GetDC(hwnd);
    SetBkMode(dc, OPAQUE);
    auto brush = [&](int id) {
        return reinterpret_cast<HBRUSH>(
            SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control(id))));
    };
    EXPECT_EQ(brush(IDC_MEMO), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(brush(IDC_LABEL_VIEW), GetSysColorBrush(COLOR_BTNFACE));
    fakeDocument(kFromEdl);
    EXPECT_EQ(brush(IDC_MEMO), ui().paint.memo);
    EXPECT_EQ(brush(IDC_CHECK_REEL), GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(hwnd, dc);
}

TEST_F(MainWindowTest, CellsShowTheirNoDocumentTexts) {
    const EdlDocument& doc = ui().document;
    EXPECT_EQ(infoCellText(IDC_HIT_COUNTER, doc), L"");
    EXPECT_EQ(infoCellText(IDC_COUNT_MODE, doc), L"---");
    EXPECT_EQ(infoCellText(IDC_EDIT_COUNT, doc), L"----");
    EXPECT_EQ(infoCellText(IDC_REEL_COUNT, doc), L"----");
    EXPECT_EQ(infoCellText(IDC_OFFSET_CELL, doc), L"--:--:--.--");
    for (int id = IDC_SRC_LOWER; id <= IDC_DUR_UPPER; ++id)
        EXPECT_EQ(infoCellText(id, doc), L"--:--:--.--") << id;

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Disabled cells: button face; the offset's placeholder in black, the search cells' in grey.
    const auto offset = paint(IDC_OFFSET_CELL, 80, 20);
    EXPECT_EQ(offset->at(1, 1), face);
    EXPECT_GT(offset->count(RGB(0, 0, 0)), 10);
    const auto search = paint(IDC_REC_LOWER, 66, 20);
    EXPECT_EQ(search->at(1, 1), face);
    EXPECT_EQ(search->count(RGB(0, 0, 0)), 0);
    EXPECT_GT(search->count(RGB(161, 161, 146)), 10);
    const auto hits = paint(IDC_HIT_COUNTER, 160, 28);
    EXPECT_EQ(hits->count(face), 160 * 28); // nothing written
    const auto reel = paint(IDC_REEL_LINE, 1000, 23);
    EXPECT_GT(reel->count(RGB(0, 0, 0)), 20); // "No reference."
    EXPECT_EQ(reel->at(5, 10), face);         // the text starts 10 pixels in

    // Marker cells: a black frame around the button face, no digit; the enabled cell shows its
    // marker's colour.
    const auto marker = paint(IDC_MARKER_CELL1 + 2, 28, 20);
    EXPECT_EQ(marker->at(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(marker->at(27, 19), RGB(0, 0, 0));
    EXPECT_EQ(marker->count(face), 26 * 18);
    ui().document.markerColours[2] = RGB(0, 200, 0);
    EnableWindow(control(IDC_MARKER_CELL1 + 2), TRUE);
    const auto enabled = paint(IDC_MARKER_CELL1 + 2, 28, 20);
    EXPECT_EQ(enabled->count(RGB(0, 200, 0)), 26 * 18);
}

// Right clicks open the pop-ups: the list's always, the tab strip's only over the selected tab;
// either way the focus ends on the list.
TEST_F(MainWindowTest, RightClickPopups) {
    static std::vector<HMENU> shown;
    shown.clear();
    const auto watch = [](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (msg == WM_INITMENUPOPUP)
            shown.push_back(reinterpret_cast<HMENU>(w));
        if (msg == WM_ENTERIDLE && w == MSGF_MENU)
            EndMenu();
        return DefSubclassProc(h, msg, w, l);
    };
    SetWindowSubclass(hwnd, watch, 78, 0);
    ShowWindow(control(IDC_LIST), SW_SHOW);
    EnableWindow(control(IDC_LIST), TRUE);
    auto rightClick = [&](int id) {
        SetFocus(hwnd);
        NMHDR header{control(id), static_cast<UINT_PTR>(id), static_cast<UINT>(NM_RCLICK)};
        SendMessageW(hwnd, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    };

    rightClick(IDC_LIST);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), ui().controls.listPopup);
    EXPECT_EQ(GetFocus(), control(IDC_LIST));

    // No tab at all: no pop-up.
    shown.clear();
    rightClick(IDC_TAB);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(GetFocus(), control(IDC_LIST));

    // Over the selected tab.
    fakeDocument(kSaved);
    TabCtrl_SetCurSel(control(IDC_TAB), 0);
    SetWindowPos(control(IDC_TAB), nullptr, 2, 0, 600, 22, SWP_NOZORDER);
    RECT tabRect;
    ASSERT_TRUE(TabCtrl_GetItemRect(control(IDC_TAB), 0, &tabRect));
    POINT inside{(tabRect.left + tabRect.right) / 2, (tabRect.top + tabRect.bottom) / 2};
    ClientToScreen(control(IDC_TAB), &inside);
    SetCursorPos(inside.x, inside.y);
    rightClick(IDC_TAB);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), ui().controls.tabPopup);
    EXPECT_EQ(GetFocus(), control(IDC_LIST));

    // Beside it: nothing.
    shown.clear();
    POINT outside{tabRect.right + 200, (tabRect.top + tabRect.bottom) / 2};
    ClientToScreen(control(IDC_TAB), &outside);
    SetCursorPos(outside.x, outside.y);
    rightClick(IDC_TAB);
    EXPECT_TRUE(shown.empty());
    RemoveWindowSubclass(hwnd, watch, 78);
}

} // namespace
} // namespace qlp
