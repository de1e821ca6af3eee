// Drives the real main window in this process: its controls, menus, accelerators and their routing,
// the menu states, the layout, the registry values, the column-layout memories, the display
// workers, the version dialog and the close sequence. Every test starts from an empty user
// registry (a scratch key stands in for HKEY_CURRENT_USER) and a freshly created window.

#include "app_test_support.h"

#include "app/app_state.h"
#include "app/startup.h"
#include "app/window_placement.h"
#include "model/edl_reader.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "ops/column_layout.h"
#include "ops/menu_state.h"
#include "ops/window_layout.h"
#include "resource.h"
#include "ui/info_panel.h"
#include "ui/list_columns.h"
#include "ui/main_window.h"
#include "ui/tab_strip.h"
#include "ui/ui_texts.h"
#include "ui/version_dialog.h"
#include "ui/wide.h"
#include "ui/workers.h"

#include <commctrl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <tuple>

namespace qlp {
namespace {

using test::className;
using test::pumpMessages;
using test::pumpUntil;
using test::selectedRows;
using test::utf8;
using test::windowText;

const std::wstring kSettings = L"Software\\QUILLON_9100\\data";

// ---- Fixture --------------------------------------------------------------------------------------

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(initApplication(GetModuleHandleW(nullptr))); }

    void SetUp() override {
        registry_ = std::make_unique<test::ScratchRegistry>();
        openWindow();
    }

    void TearDown() override {
        closeWindow();
        EXPECT_TRUE(recorder.answers.empty()) << recorder.answers.size() << " scripted answers were not used";
        registry_.reset();
    }

    // As start-up does it: create and restore the stored placement. The window stays hidden: without
    // a window manager, Wine waits two seconds for one whenever a shown window goes away.
    void openWindow() {
        const uint32_t passes = app().workers.menu.passes.load();
        hwnd = createMainWindow();
        ASSERT_NE(hwnd, nullptr);
        restoreWindowPlacement(hwnd);
        // The menu worker's first pass, signalled at creation, grays the menus.
        ASSERT_TRUE(waitForWorkerPass(app().workers.menu, passes, 5000));
        // The first showing of a window sends its first size message; this one stays hidden.
        RECT client;
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }

    // Forgets any document a test set up, then closes the window the way the user does.
    void closeWindow() {
        if (!hwnd || !IsWindow(hwnd))
            return;
        forgetDocument();
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        pumpMessages(20); // takes the quit message off the queue
        hwnd = nullptr;
    }

    static void forgetDocument() {
        AppState& a = app();
        stopWorkers(a.workers);
        releaseDocument(a.document);
        EdlDocument blank;
        copyHeader(a.document, blank);
        a.document.loaded = 0;
        for (TabEntry* e = a.tabs.first(); e; e = e->next)
            e->dropped = 1;
        purgeDroppedEntries(a.tabs);
        a.currentEntry = nullptr;
        setMenuWorkerEntry(a.workers, nullptr);
    }

    HWND control(int id) const { return app().controls[id]; }

    // A loaded document without events and one tab for it, enough for the menus and layouts.
    TabEntry* fakeDocument(int32_t saveState) {
        AppState& a = app();
        a.document.loaded = 1;
        TabEntry* entry = a.tabs.append();
        entry->saveState = saveState;
        entry->active = 1;
        entry->path = u"C:\\edits\\reel one.QLP";
        purgeDroppedEntries(a.tabs);
        a.currentEntry = entry;
        setMenuWorkerEntry(a.workers, entry);
        std::wstring label = tabLabel(*entry);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = label.data();
        item.iImage = saveState;
        TabCtrl_InsertItem(a.controls.tab, entry->tabIndex, &item);
        return entry;
    }

    // Signals menuRefresh and waits for the menu worker's pass.
    static void refreshMenus() {
        const uint32_t before = app().workers.menu.passes.load();
        signalMenuRefresh(app().workers);
        ASSERT_TRUE(waitForWorkerPass(app().workers.menu, before, 5000));
    }

    HWND hwnd = nullptr;
    test::ModalRecorder recorder;

private:
    std::unique_ptr<test::ScratchRegistry> registry_;
};

// Sets the modifier keys this thread's key state reports, as TranslateAccelerator reads them.
void setModifiers(bool ctrl, bool shift, bool alt) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
}

struct Key {
    BYTE fVirt; // FCONTROL, FSHIFT, FALT (FVIRTKEY and FNOINVERT always)
    WORD key;
    int command;
};

// Accelerator table 102.
const Key kAccelerators[] = {
    {0, VK_F1, IDM_RECALL_LAYOUT1},
    {0, VK_F2, IDM_RECALL_LAYOUT2},
    {0, VK_F3, IDM_RECALL_LAYOUT3},
    {0, VK_F4, IDM_RECALL_LAYOUT4},
    {FCONTROL, VK_F1, IDM_REGISTER_LAYOUT1},
    {FCONTROL, VK_F2, IDM_REGISTER_LAYOUT2},
    {FCONTROL, VK_F3, IDM_REGISTER_LAYOUT3},
    {FCONTROL, VK_F4, IDM_REGISTER_LAYOUT4},
    {FCONTROL, VK_DELETE, IDM_CLOSE_TAB},
    {FCONTROL, VK_SPACE, IDM_TOGGLE_COMMENT},
    {FCONTROL, 'W', IDM_WRITE_MEMO},
    {FCONTROL, 'B', IDM_MULTI_SELECT},
    {FCONTROL, 'C', IDM_COPY_MEMO},
    {FCONTROL, 'L', IDM_EDIT_LOCATE},
    {FCONTROL | FSHIFT, 'M', IDM_DELETE_MARKER},
    {FCONTROL, 'E', IDM_CLEAR_SEARCH},
    {FCONTROL, 'G', IDM_OFFSET},
    {FCONTROL, 'M', IDM_SET_MARKER},
    {FCONTROL, 'N', IDM_SIMPLE_NOTES},
    {FCONTROL, 'O', IDM_OPEN},
    {FALT, VK_F4, IDM_EXIT},
    {FCONTROL, 'R', IDM_REEL_INFO},
    {FCONTROL | FSHIFT, 'C', IDM_RESET_LAYOUT},
    {FCONTROL, 'S', IDM_SAVE},
    {FCONTROL | FSHIFT, 'S', IDM_SAVE_AS},
    {FCONTROL, 'F', IDM_SEARCH},
    {FCONTROL, 'A', IDM_SELECT_ALL},
    {FCONTROL, 'U', IDM_MARKER_SETTINGS},
    {FCONTROL, 'D', IDM_SWITCH_VIEW},
    {FSHIFT, 'D', IDM_SORT_DURATION},
    {FSHIFT, 'E', IDM_SORT_EDIT_ORDER},
    {FSHIFT, 'P', IDM_SORT_SOURCE},
    {FSHIFT, 'R', IDM_SORT_RECORD},
    {FCONTROL, 'H', IDM_ABOUT},
    {FCONTROL, 'T', IDM_TEXT_LISTING},
    {FCONTROL | FSHIFT, 'T', IDM_EDL_EXPORT},
};

// Presses the key with its modifiers on `target` through the program's accelerator translation.
bool press(HWND target, const Key& key) {
    setModifiers(key.fVirt & FCONTROL, key.fVirt & FSHIFT, key.fVirt & FALT);
    MSG msg{};
    msg.hwnd = target;
    msg.message = (key.fVirt & FALT) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = key.key;
    msg.lParam = (key.fVirt & FALT) ? (1 << 29) | 1 : 1;
    const bool translated = translateAccelerator(msg);
    setModifiers(false, false, false);
    return translated;
}

const Key& keyFor(int command) {
    for (const Key& k : kAccelerators)
        if (k.command == command)
            return k;
    throw std::logic_error("no accelerator");
}

// The texts, identifiers and states of a menu, one line per item: "popup > item|id", separators
// as "popup > ---", grayed items marked "|grayed".
void flattenMenu(HMENU menu, const std::wstring& path, std::vector<std::wstring>& out, bool withState) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        const std::wstring prefix = path.empty() ? L"" : path + L" > ";
        if (info.fType & MFT_SEPARATOR) {
            out.push_back(prefix + L"---");
            continue;
        }
        if (info.hSubMenu) {
            out.push_back(prefix + text);
            flattenMenu(info.hSubMenu, prefix + text, out, withState);
            continue;
        }
        std::wstring line = prefix + text + L"|" + std::to_wstring(info.wID);
        if (withState && (info.fState & MFS_GRAYED))
            line += L"|grayed";
        out.push_back(line);
    }
}

std::vector<std::wstring> flatten(HMENU menu, bool withState = false) {
    std::vector<std::wstring> out;
    flattenMenu(menu, L"", out, withState);
    return out;
}

void expectLines(const std::vector<std::wstring>& actual, const std::vector<std::wstring>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(utf8(actual[i]), utf8(expected[i])) << "item " << i;
}

UINT menuState(HMENU menu, int command) {
    return GetMenuState(menu, command, MF_BYCOMMAND);
}

RECT childRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// ---- Controls -------------------------------------------------------------------------------------

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
    const PaintTable& p = app().paint;
    auto font = [&](HWND c) { return reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)); };
    EXPECT_EQ(font(control(IDC_LIST)), p.list);
    EXPECT_EQ(font(app().controls.header), GetStockObject(DEFAULT_GUI_FONT));
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
    HIMAGELIST arrows = Header_GetImageList(app().controls.header);
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
    ASSERT_EQ(Header_GetItemCount(app().controls.header), kColumnCount);
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
    EXPECT_EQ(brush(IDC_MEMO), app().paint.memo);
    EXPECT_EQ(brush(IDC_CHECK_REEL), GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(hwnd, dc);
}

// Paints one cell into a bitmap of its own and returns the pixels.
class CellPainting {
public:
    CellPainting(HWND cell, int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = GetDlgCtrlID(cell);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = cell;
        item.hDC = dc_;
        item.rcItem = {0, 0, width, height};
        drawInfoCell(item);
        GdiFlush();
    }
    ~CellPainting() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF at(int x, int y) const {
        const DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int count(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += at(x, y) == colour;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

TEST_F(MainWindowTest, CellsShowTheirNoDocumentTexts) {
    const EdlDocument& doc = app().document;
    EXPECT_EQ(infoCellText(IDC_HIT_COUNTER, doc), L"");
    EXPECT_EQ(infoCellText(IDC_COUNT_MODE, doc), L"---");
    EXPECT_EQ(infoCellText(IDC_EDIT_COUNT, doc), L"----");
    EXPECT_EQ(infoCellText(IDC_REEL_COUNT, doc), L"----");
    EXPECT_EQ(infoCellText(IDC_OFFSET_CELL, doc), L"--:--:--.--");
    for (int id = IDC_SRC_LOWER; id <= IDC_DUR_UPPER; ++id)
        EXPECT_EQ(infoCellText(id, doc), L"--:--:--.--") << id;

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Disabled cells: button face; the offset's placeholder in black, the search cells' in grey.
    CellPainting offset(control(IDC_OFFSET_CELL), 80, 20);
    EXPECT_EQ(offset.at(1, 1), face);
    EXPECT_GT(offset.count(RGB(0, 0, 0)), 10);
    CellPainting search(control(IDC_REC_LOWER), 66, 20);
    EXPECT_EQ(search.at(1, 1), face);
    EXPECT_EQ(search.count(RGB(0, 0, 0)), 0);
    EXPECT_GT(search.count(RGB(161, 161, 146)), 10);
    CellPainting hits(control(IDC_HIT_COUNTER), 160, 28);
    EXPECT_EQ(hits.count(face), 160 * 28); // nothing written
    CellPainting reel(control(IDC_REEL_LINE), 1000, 23);
    EXPECT_GT(reel.count(RGB(0, 0, 0)), 20); // "No reference."
    EXPECT_EQ(reel.at(5, 10), face);         // the text starts 10 pixels in

    // Marker cells: a black frame around the button face, no digit; the enabled cell shows its
    // marker's colour.
    CellPainting marker(control(IDC_MARKER_CELL1 + 2), 28, 20);
    EXPECT_EQ(marker.at(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(marker.at(27, 19), RGB(0, 0, 0));
    EXPECT_EQ(marker.count(face), 26 * 18);
    app().document.markerColours[2] = RGB(0, 200, 0);
    EnableWindow(control(IDC_MARKER_CELL1 + 2), TRUE);
    CellPainting enabled(control(IDC_MARKER_CELL1 + 2), 28, 20);
    EXPECT_EQ(enabled.count(RGB(0, 200, 0)), 26 * 18);
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
    EXPECT_EQ(shown.front(), app().controls.listPopup);
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
    EXPECT_EQ(shown.front(), app().controls.tabPopup);
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

// ---- Menus and accelerators -----------------------------------------------------------------------

TEST_F(MainWindowTest, MenuBar101) {
    expectLines(flatten(GetMenu(hwnd)),
                {
                    L"ファイル(&F)",
                    L"ファイル(&F) > 開く(&O)\tCtrl+O|40113",
                    L"ファイル(&F) > ---",
                    L"ファイル(&F) > 保存(&S)\tCtrl+S|40057",
                    L"ファイル(&F) > 名前を付けて保存(&N)\tCtrl+Shift+S|40051",
                    L"ファイル(&F) > タブを閉じる(&C)\tCtrl+DEL|40128",
                    L"ファイル(&F) > ---",
                    L"ファイル(&F) > テキストファイルを作成(&W)\tCtrl+T|40152",
                    L"ファイル(&F) > ＥＤＬファイルを作成(&E)\tCtrl+Shift+T|40249",
                    L"ファイル(&F) > ---",
                    L"ファイル(&F) > 終了(&X)\tAlt+F4|40018",
                    L"操作(&O)",
                    L"操作(&O) > すぺてを選択(&A)\tCtrl+A|40098",
                    L"操作(&O) > ---",
                    L"操作(&O) > リスト表示の切り替え(&D)\tCtrl+D|40222",
                    L"操作(&O) > ---",
                    L"操作(&O) > 検索（&S)\tCtrl+F|40084",
                    L"操作(&O) > 検索結果を消去(&E)\tCtrl+E|40068",
                    L"操作(&O) > 並べ替え",
                    L"操作(&O) > 並べ替え > 素材開始タイムでソート(昇順・降順)(&P)\tShift+P|40165",
                    L"操作(&O) > 並べ替え > RECタイムでソート(昇順・降順)(&R)\tShift+R|40163",
                    L"操作(&O) > 並べ替え > デュレーションタイムでソート(昇順・降順)(&D)\tShift+D|40164",
                    L"操作(&O) > 並べ替え > エディット番号順に戻す(&E)\tShift+E|40235",
                    L"操作(&O) > ---",
                    L"操作(&O) > 作業メモを書き込む(&W)\tCtrl+W|40095",
                    L"操作(&O) > 作業メモ/EDLオプションコメントの切替(&C)\tCtrl+Space|40066",
                    L"操作(&O) > ---",
                    L"操作(&O) > マーカーを付ける(&M)\tCtrl+M|40203",
                    L"操作(&O) > マーカーを削除(&N)\tCtrl+Shift+M|40225",
                    L"操作(&O) > ---",
                    L"操作(&O) > エディット・ロケート(&L)\tCtrl+L|40211",
                    L"設定(&S)",
                    L"設定(&S) > オフセット(&O)\tCtrl+G|40062",
                    L"設定(&S) > ---",
                    L"設定(&S) > マーカー設定(&M)\tCtrl+U|40208",
                    L"設定(&S) > ---",
                    L"設定(&S) > 項目レイアウトを登録",
                    L"設定(&S) > 項目レイアウトを登録 > メモリ 1(&1)\tCtrl+F1|40069",
                    L"設定(&S) > 項目レイアウトを登録 > メモリ 2(&2)\tCtrl+F2|40070",
                    L"設定(&S) > 項目レイアウトを登録 > メモリ 3(&3)\tCtrl+F3|40071",
                    L"設定(&S) > 項目レイアウトを登録 > メモリ 4(&4)\tCtrl+F4|40072",
                    L"設定(&S) > 項目レイアウトを再現",
                    L"設定(&S) > 項目レイアウトを再現 > メモリ 1(&1)\tF1|40074",
                    L"設定(&S) > 項目レイアウトを再現 > メモリ 2(&2)\tF2|40075",
                    L"設定(&S) > 項目レイアウトを再現 > メモリ 3(&3)\tF3|40076",
                    L"設定(&S) > 項目レイアウトを再現 > メモリ 4(&4)\tF4|40077",
                    L"設定(&S) > 項目順序を初期状態に戻す(&C）\tCtrl+Shift+C|40227",
                    L"設定(&S) > ---",
                    L"設定(&S) > リール情報・コメントの設定(&R)\tCtrl+R|40127",
                    L"設定(&S) > 簡易ノートを開く(&N)\tCtrl+N|40256",
                    L"設定(&S) > ---",
                    L"設定(&S) > 同一エディットのカーソル複数選択 ON/OFF　(&B)\tCtrl+B|40205",
                    L"その他(&E)",
                    L"その他(&E) > バージョン情報(&H)\tCtrl+H|40017",
                });
}

// The pop-ups as stored in the resources: the tab pop-up's first three items grayed.
TEST_F(MainWindowTest, PopupMenus134And158) {
    HMENU tab = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TAB_POPUP));
    HMENU list = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LIST_POPUP));
    expectLines(flatten(tab, true), {
                                        L"dummy",
                                        L"dummy > タブを閉じる(&C)|40128|grayed",
                                        L"dummy > 保存(&S)|40057|grayed",
                                        L"dummy > 名前を付けて保存(&N)|40051|grayed",
                                        L"dummy > ＥＤＬファイルを作成(&E)|40249",
                                    });
    expectLines(flatten(list, true), {
                                         L"dummy",
                                         L"dummy > 並べ替え",
                                         L"dummy > 並べ替え > 素材開始タイムでソート(昇順・降順)(&P)|40165",
                                         L"dummy > 並べ替え > RECタイムでソート(昇順・降順)(&R)|40163",
                                         L"dummy > 並べ替え > デュレーションタイムでソート(昇順・降順)(&D)|40164",
                                         L"dummy > 並べ替え > エディット順に戻す（&E)|40235",
                                         L"dummy > ---",
                                         L"dummy > ロケート(&L)|40211",
                                         L"dummy > ---",
                                         L"dummy > 開く(&O)|40113",
                                         L"dummy > 保存(&S)|40057",
                                         L"dummy > 名前を付けて保存(&N)|40051",
                                         L"dummy > ---",
                                         L"dummy > テキストファイルを作成(&T)|40152",
                                         L"dummy > ＥＤＬファイルを作成(&L)|40249",
                                         L"dummy > 簡易ノートを開く(&N)|40256",
                                         L"dummy > ---",
                                         L"dummy > マーカー設定(&M)|40208",
                                         L"dummy > マーカーを消去(&E)|40225",
                                         L"dummy > ---",
                                         L"dummy > オフセットを設定(&O)|40062",
                                         L"dummy > リール情報・コメントの設定(&R)|40127",
                                     });
    DestroyMenu(tab);
    DestroyMenu(list);
    // The window keeps the first sub-menus of its own copies.
    EXPECT_EQ(GetMenuItemCount(app().controls.tabPopup), 4);
    EXPECT_EQ(GetMenuItemCount(app().controls.listPopup), 17);
}

TEST_F(MainWindowTest, AcceleratorTable102) {
    const int count = CopyAcceleratorTableW(app().accelerators, nullptr, 0);
    std::vector<ACCEL> table(count);
    CopyAcceleratorTableW(app().accelerators, table.data(), count);
    ASSERT_EQ(count, static_cast<int>(std::size(kAccelerators)));
    std::set<std::tuple<int, int, int>> actual, expected;
    for (const ACCEL& a : table) {
        EXPECT_EQ(a.fVirt & (FVIRTKEY | FNOINVERT), FVIRTKEY | FNOINVERT) << a.cmd;
        actual.insert({a.fVirt & (FCONTROL | FSHIFT | FALT), a.key, a.cmd});
    }
    for (const Key& k : kAccelerators)
        expected.insert({k.fVirt, k.key, k.command});
    EXPECT_EQ(actual, expected);
}

// Every key combination of the table, pressed on a window without a menu, delivers its command.
TEST_F(MainWindowTest, EveryAcceleratorDeliversItsCommand) {
    static std::vector<int>* received = nullptr;
    std::vector<int> commands;
    received = &commands;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && received)
            received->push_back(LOWORD(w));
        return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlpAcceleratorProbe";
    RegisterClassW(&wc);
    HWND probe = CreateWindowW(L"QlpAcceleratorProbe", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(probe, nullptr);
    for (const Key& key : kAccelerators) {
        commands.clear();
        EXPECT_TRUE(press(probe, key)) << key.command;
        EXPECT_EQ(commands, std::vector<int>{key.command}) << key.command;
    }
    commands.clear();
    EXPECT_FALSE(press(probe, Key{FSHIFT, 'O', 0}));
    EXPECT_FALSE(press(probe, Key{0, 'D', 0}));
    EXPECT_TRUE(commands.empty());
    DestroyWindow(probe);
    received = nullptr;
}

// While the list has the focus a command goes on only when its menu item is enabled.
TEST_F(MainWindowTest, GrayedItemsAcceleratorsAreDeadInTheList) {
    HWND list = control(IDC_LIST);
    ShowWindow(list, SW_SHOW);
    EnableWindow(list, TRUE);
    test::MainCommandSpy spy(hwnd);
    for (const Key& key : kAccelerators)
        press(list, key);
    // Without a document only the always-enabled items pass; copy is never the list's.
    EXPECT_EQ(spy.commands, (std::vector<int>{IDM_MULTI_SELECT, IDM_OPEN, IDM_EXIT, IDM_ABOUT}));

    fakeDocument(kModified);
    app().document.currentView = 1;
    app().document.search.searchFlags = 1;
    app().document.viewCount[1] = 2;
    app().document.commentMode = 1;
    refreshMenus();
    spy.commands.clear();
    for (const Key& key : kAccelerators)
        press(list, key);
    std::vector<int> expected;
    for (const Key& key : kAccelerators)
        if (key.command != IDM_COPY_MEMO)
            expected.push_back(key.command);
    EXPECT_EQ(spy.commands, expected);

    // A saved tab in the normal list: save and the sorts are grayed, so their keys do nothing.
    app().currentEntry->saveState = kSaved;
    app().document.currentView = 0;
    refreshMenus();
    spy.commands.clear();
    for (int command : {IDM_SAVE, IDM_SORT_DURATION, IDM_SORT_SOURCE, IDM_SAVE_AS, IDM_SET_MARKER})
        press(list, keyFor(command));
    EXPECT_EQ(spy.commands, (std::vector<int>{IDM_SAVE_AS, IDM_SET_MARKER}));
}

TEST_F(MainWindowTest, MemoBoxKeepsSelectAllAndCopy) {
    HWND memo = control(IDC_MEMO);
    EnableWindow(memo, TRUE);
    SetWindowTextW(memo, L"作業メモ memo text");
    test::MainCommandSpy spy(hwnd);

    EXPECT_TRUE(press(memo, keyFor(IDM_SELECT_ALL)));
    DWORD start = 1, end = 0;
    SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 14u);

    EXPECT_TRUE(press(memo, keyFor(IDM_COPY_MEMO)));
    ASSERT_TRUE(OpenClipboard(hwnd));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(utf8(static_cast<const wchar_t*>(GlobalLock(data))), utf8(L"作業メモ memo text"));
    GlobalUnlock(data);
    CloseClipboard();

    // Other commands do nothing there (not even a capital letter's sort), and the memo commands
    // follow their menu items, grayed without a document.
    for (int command : {IDM_OPEN, IDM_SORT_DURATION, IDM_WRITE_MEMO, IDM_TOGGLE_COMMENT})
        press(memo, keyFor(command));
    EXPECT_TRUE(spy.commands.empty());
    EXPECT_EQ(utf8(windowText(memo)), utf8(L"作業メモ memo text"));

    fakeDocument(kFromEdl);
    app().document.commentMode = 1;
    refreshMenus();
    press(memo, keyFor(IDM_TOGGLE_COMMENT));
    press(memo, keyFor(IDM_WRITE_MEMO));
    EXPECT_EQ(spy.commands, (std::vector<int>{IDM_TOGGLE_COMMENT, IDM_WRITE_MEMO}));
}

// ---- Menu states ------------------------------------------------------------------------------------

TEST_F(MainWindowTest, MenuStatesFollowTheDocument) {
    const ControlTable& c = app().controls;
    auto check = [&](const MenuStateInput& input, const char* when) {
        for (const MenuItemState& item : menuItemStates(input)) {
            const UINT expected = item.enabled ? 0 : MF_GRAYED;
            if (item.menus & kMenuBar) {
                EXPECT_EQ(menuState(c.menuBar, item.command) & MF_GRAYED, expected) << when << " bar " << item.command;
            }
            if (item.menus & kTabPopup) {
                EXPECT_EQ(menuState(c.tabPopup, item.command) & MF_GRAYED, expected) << when << " tab " << item.command;
            }
            if (item.menus & kListPopup) {
                EXPECT_EQ(menuState(c.listPopup, item.command) & MF_GRAYED, expected)
                    << when << " list " << item.command;
            }
        }
        // Items outside the table stay enabled.
        for (int command : {IDM_OPEN, IDM_EXIT, IDM_ABOUT, IDM_MULTI_SELECT})
            EXPECT_EQ(menuState(c.menuBar, command), 0u) << when << " " << command;
        EXPECT_EQ(menuState(c.tabPopup, IDM_EDL_EXPORT), 0u) << when;
        EXPECT_EQ(menuState(c.listPopup, IDM_OFFSET), 0u) << when;
        EXPECT_EQ(menuState(c.listPopup, IDM_OPEN), 0u) << when;
    };

    check(MenuStateInput{}, "no document");
    EXPECT_EQ(menuState(c.menuBar, IDM_SAVE_AS), static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(menuState(c.tabPopup, IDM_CLOSE_TAB), static_cast<UINT>(MF_GRAYED));

    // A freshly opened EDL: everything but save, memo, search and sorts.
    TabEntry* entry = fakeDocument(kFromEdl);
    refreshMenus();
    check(menuStateInput(app().document, entry), "fresh EDL");
    EXPECT_EQ(menuState(c.menuBar, IDM_SAVE), static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(menuState(c.menuBar, IDM_RESET_LAYOUT), 0u);

    EdlDocument& doc = app().document;
    entry->saveState = kModified;
    doc.commentMode = 1;
    doc.search.searchFlags = 2;
    doc.viewCount[1] = 5;
    doc.currentView = 2;
    refreshMenus();
    check(menuStateInput(doc, entry), "everything on");
    EXPECT_EQ(menuState(c.listPopup, IDM_SAVE), 0u);
    EXPECT_EQ(menuState(c.listPopup, IDM_SORT_EDIT_ORDER), 0u);

    // The menu-initialising message signals the worker too.
    doc.currentView = 0;
    const uint32_t before = app().workers.menu.passes.load();
    SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(c.menuBar), 0);
    ASSERT_TRUE(waitForWorkerPass(app().workers.menu, before, 5000));
    EXPECT_EQ(menuState(c.menuBar, IDM_SORT_RECORD), static_cast<UINT>(MF_GRAYED));
}

// Marking a document modified turns a saved project tab into a modified one, never an EDL tab.
TEST_F(MainWindowTest, MarkingTheDocumentModified) {
    TabEntry* entry = fakeDocument(kSaved);
    refreshMenus();
    EXPECT_EQ(menuState(app().controls.menuBar, IDM_SAVE), static_cast<UINT>(MF_GRAYED));
    const uint32_t before = app().workers.menu.passes.load();
    markDocumentModified();
    ASSERT_TRUE(waitForWorkerPass(app().workers.menu, before, 5000));
    EXPECT_EQ(entry->saveState, kModified);
    TCITEMW item{};
    wchar_t text[64] = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 64;
    ASSERT_TRUE(TabCtrl_GetItem(control(IDC_TAB), 0, &item));
    EXPECT_EQ(item.iImage, kModified);
    EXPECT_EQ(utf8(text), "reel one.QLP");
    EXPECT_EQ(menuState(app().controls.menuBar, IDM_SAVE), 0u);
    EXPECT_EQ(menuState(app().controls.tabPopup, IDM_SAVE), 0u);

    entry->saveState = kFromEdl;
    markDocumentModified();
    EXPECT_EQ(entry->saveState, kFromEdl);
}

// ---- Layout ---------------------------------------------------------------------------------------------

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

// ---- Registry -------------------------------------------------------------------------------------------

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
    for (const RECT workArea : {RECT{0, 48, screenArea.right, screenArea.bottom},
                                RECT{64, 0, screenArea.right, screenArea.bottom}}) {
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

// ---- Column layouts -----------------------------------------------------------------------------------

class ColumnLayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        entry = fakeDocument(kSaved);
        app().document.currentRow[0] = 0;
        list = control(IDC_LIST);
        ShowWindow(list, SW_SHOW);
        EnableWindow(list, TRUE);
    }
    int width(int column) const { return ListView_GetColumnWidth(list, column); }
    std::vector<int32_t> storedWidths() const { return test::readInts(kSettings + L"\\ColumnWidth", L"項目の幅"); }
    std::vector<int32_t> storedOrders() const { return test::readInts(kSettings + L"\\ColumnOrder", L"項目の順序"); }

    TabEntry* entry = nullptr;
    HWND list = nullptr;
};

// The very first document of a user: V and TYP are 60 wide; after a reset they are 100 wide.
TEST_F(ColumnLayoutTest, FirstUseWidthsThenReset) {
    applyStoredColumnLayout(app().document, list);
    EXPECT_EQ(width(kColV), 60);
    EXPECT_EQ(width(kColType), 60);
    EXPECT_EQ(width(kColEdit), 60);
    EXPECT_EQ(width(kColSpare), 200);
    ASSERT_EQ(storedWidths().size(), 56u);
    EXPECT_EQ(storedOrders().size(), 56u);
    EXPECT_EQ(storedWidths()[3 * kColumnCount + kColV], 60);

    SendMessageW(hwnd, WM_COMMAND, IDM_RESET_LAYOUT, 0);
    EXPECT_EQ(width(kColV), 100);
    EXPECT_EQ(width(kColType), 100);
    EXPECT_EQ(storedWidths()[kColV], 100);
    EXPECT_EQ(storedWidths()[2 * kColumnCount + kColType], 100);
    EXPECT_EQ(entry->saveState, kSaved); // a reset does not mark the document modified
}

// Ctrl held on button "3" stores memory 3; F1 and F3 then switch between the memories.
TEST_F(ColumnLayoutTest, RegisterWithCtrlOnAButtonAndRecall) {
    applyStoredColumnLayout(app().document, list);
    ListView_SetColumnWidth(list, kColType, 33);
    int order[kColumnCount] = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ListView_SetColumnOrderArray(list, kColumnCount, order);

    setModifiers(true, false, false);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT1 + 2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_LAYOUT1 + 2)));
    setModifiers(false, false, false);
    EXPECT_EQ(storedWidths()[2 * kColumnCount + kColType], 33);
    EXPECT_EQ(storedOrders()[2 * kColumnCount + 0], 1);
    EXPECT_EQ(storedWidths()[kColType], 60); // memory 1 untouched
    EXPECT_EQ(entry->saveState, kModified);  // registering marks the document modified
    EXPECT_EQ(app().document.currentLayout, 0);

    SendMessageW(hwnd, WM_COMMAND, IDM_RECALL_LAYOUT1, 0);
    EXPECT_EQ(width(kColType), 60);
    ListView_GetColumnOrderArray(list, kColumnCount, order);
    EXPECT_EQ(order[0], 0);
    EXPECT_EQ(app().document.currentLayout, 0);

    // Without Ctrl the button recalls.
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT1 + 2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_LAYOUT1 + 2)));
    EXPECT_EQ(width(kColType), 33);
    ListView_GetColumnOrderArray(list, kColumnCount, order);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(app().document.currentLayout, 2);

    // The register menu command does the same as Ctrl on a button.
    ListView_SetColumnWidth(list, kColSpare, 44);
    SendMessageW(hwnd, WM_COMMAND, IDM_REGISTER_LAYOUT4, 0);
    EXPECT_EQ(storedWidths()[3 * kColumnCount + kColSpare], 44);
}

// A recall while the view has no current row only marks the document modified.
TEST_F(ColumnLayoutTest, RecallWithoutCurrentRowKeepsTheColumns) {
    applyStoredColumnLayout(app().document, list);
    app().document.columnWidth[1][kColType] = 90;
    app().document.currentRow[0] = -1;
    SendMessageW(hwnd, WM_COMMAND, IDM_RECALL_LAYOUT2, 0);
    EXPECT_EQ(width(kColType), 60);
    EXPECT_EQ(app().document.currentLayout, 0);
    EXPECT_EQ(entry->saveState, kModified);
}

TEST_F(ColumnLayoutTest, ResetWithoutStoredDefaultsWritesNoZeroWidths) {
    applyStoredColumnLayout(app().document, list);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kSettings + L"\\DefColumnWidth").c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegDeleteValueW(key, L"項目の幅(デフォルト値)");
    RegCloseKey(key);
    SendMessageW(hwnd, WM_COMMAND, IDM_RESET_LAYOUT, 0);
    const auto widths = storedWidths();
    ASSERT_EQ(widths.size(), 56u);
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_EQ(widths[i], kCreationWidths[i % kColumnCount]) << i;
    EXPECT_EQ(width(kColV), 100);
}

// ---- Display workers --------------------------------------------------------------------------------

// A real document (the sample EDL converted and loaded) shown in the list.
class WorkerTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dir = std::filesystem::temp_directory_path() / ("qlp-app-workers-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(dir);
        AppState& a = app();
        a.tabs.setWorkDirectory(dir.u16string());
        TabEntry* entry = a.tabs.append();
        entry->path = (std::filesystem::path(QLP_TEST_DATA_DIR) / "ndf_basic.EDL").u16string();
        entry->saveState = kFromEdl;
        entry->workPath = a.tabs.workPathFor(0);
        ASSERT_EQ(convertEdlFile(entry->path, entry->workPath), ConvertStatus::Ok);
        WinPrompt prompt;
        ASSERT_EQ(loadDocument(a.document, a.tabs, prompt), 1);
        a.document.loaded = 1;
        a.currentEntry = entry;
        list = control(IDC_LIST);
        ShowWindow(list, SW_SHOW);
        EnableWindow(list, TRUE);
        ListView_SetItemCountEx(list, a.document.viewCount[0], 0);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Focuses a row (and nothing else selected) and lets the workers make their passes. The workers
    // are stopped while the row changes, so the selection pass waited for is the one that sees it.
    // The comment worker may have made a pass of its own meanwhile, before the selection worker
    // moved the current row, so the comment pass waited for is one asked for after that.
    void focusRow(int row) {
        DisplayWorkers& w = app().workers;
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
    std::filesystem::path dir;
    HWND list = nullptr;
};

TEST_F(WorkerTest, SelectionFollowsTheFocusAndSelectsTheWholeEdit) {
    EdlDocument& doc = app().document;
    ASSERT_GE(doc.viewCount[0], 3);
    ASSERT_EQ(doc.view[0][1]->editGroup, doc.view[0][2]->editGroup); // edit 0002 has two events
    startWorkers(app().workers);

    // The memo box shows the current event's option comment, or says there is none.
    auto commentOf = [&](int row) {
        const EdlEvent* event = doc.view[0][row];
        return utf8(event->hasOptionComment ? wide(event->optionComment) : text::kNoOptionComment);
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
    DisplayWorkers& w = app().workers;
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
    EXPECT_EQ(app().document.currentRow[0], 1);

    startWorkers(w);
    focusRow(3);
    EXPECT_EQ(app().document.currentRow[0], 3);

    // Without a loaded document the selection and comment workers end at their next signal.
    app().document.loaded = 0;
    signalSelectionChanged(w);
    signalCommentRefresh(w);
    EXPECT_EQ(WaitForSingleObject(w.selection.thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(w.comment.thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(w.menu.thread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    app().document.loaded = 1;
    startWorkers(w);
    focusRow(4);
    EXPECT_EQ(app().document.currentRow[0], 4);
}

// ---- Version dialog, strings, close -------------------------------------------------------------------

TEST_F(MainWindowTest, VersionDialog) {
    recorder.expect(IDOK);
    EXPECT_EQ(runVersionDialog(hwnd), IDOK);
    ASSERT_EQ(recorder.records.size(), 1u);
    const test::ModalRecord& dialog = recorder.records[0];
    EXPECT_EQ(dialog.dialogId, IDD_VERSION);
    EXPECT_EQ(utf8(dialog.caption), utf8(L"Quillonについて"));
    std::vector<std::string> texts;
    for (const auto& t : dialog.children)
        texts.push_back(utf8(t));
    ASSERT_EQ(texts.size(), 9u);
    texts[4] = "<picture>"; // a picture control's text is the resource ordinal of its bitmap
    EXPECT_EQ(texts, (std::vector<std::string>{"Quillon for SONY BVE-9100", "Version: 2.6.0 cs1", "Build: 2011/10/01",
                                               "Update: 2019/07/05", "<picture>", "", utf8(L"お問合せ"),
                                               "support@quillon.invalid",
                                               utf8(L"■BVE-9100はSony Corporationの登録商標です")}));
    EXPECT_EQ(dialog.childIds[7], IDC_VERSION_CONTACT);
    EXPECT_EQ(dialog.bitmaps, 1);

    // Escape ends it with Cancel; the accelerator reaches it from the main window too.
    recorder.expect(IDCANCEL);
    EXPECT_EQ(runVersionDialog(hwnd), IDCANCEL);
    recorder.expect(IDOK);
    SendMessageW(hwnd, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(recorder.records.size(), 3u);
}

TEST_F(MainWindowTest, StringTable) {
    auto load = [](UINT id) {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
        return std::u16string(reinterpret_cast<const char16_t*>(text), length);
    };
    EXPECT_EQ(load(IDS_APP_CAPTION), kAppCaption);
    EXPECT_EQ(load(IDS_WINDOW_CLASS), u"QUILLONWIN_9100");
    EXPECT_EQ(load(IDS_NOT_RECOGNISED), kMsgNotRecognised);
    EXPECT_EQ(load(IDS_CANNOT_OPEN_PATH), kMsgCannotOpenPath);
    EXPECT_EQ(load(IDS_FILE_NOT_FOUND), kMsgFileNotFound);
    EXPECT_EQ(load(IDS_PATH_LINKED), kMsgPathLinked);
    EXPECT_EQ(load(IDS_SAVE_BEFORE_CLOSE_TAB), kMsgSaveBeforeCloseTab);
    EXPECT_EQ(load(IDS_SAVE_BEFORE_EXIT), kMsgSaveBeforeExit);
    EXPECT_EQ(load(IDS_CANNOT_OPEN_FILE), kMsgCannotOpenFile);
    EXPECT_EQ(load(IDS_ALREADY_LOADED), kMsgAlreadyLoaded);
    EXPECT_EQ(load(IDS_OUT_OF_WORK_MEMORY), kMsgOutOfWorkMemory);
    EXPECT_EQ(load(IDS_MUTEX_NAME), kMutexName);
    EXPECT_EQ(load(IDS_NO_MEMORY_TO_READ), kMsgNoMemoryToRead);
    EXPECT_EQ(load(IDS_WRONG_FORMAT), kMsgWrongFormat);
    EXPECT_EQ(load(IDS_CONTACT), u"support@quillon.invalid");
}

// Closing asks once per modified project tab (Yes/No, question icon); Yes copies a tab's work file.
TEST_F(MainWindowTest, CloseAsksAboutEveryModifiedProjectTab) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("qlp-app-close-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(dir);
    AppState& a = app();
    a.document.loaded = 1;
    const int32_t states[] = {kModified, kSaved, kFromEdl, kModified};
    std::vector<TabEntry*> entries;
    for (int i = 0; i < 4; ++i) {
        TabEntry* e = a.tabs.append();
        e->saveState = states[i];
        e->path = (dir / ("tab" + std::to_string(i) + ".QLP")).u16string();
        e->workPath = (dir / ("FILE_ID_000" + std::to_string(i))).u16string();
        FILE* f = _wfopen(wide(e->workPath), L"wb");
        fputs("work file", f);
        fclose(f);
        entries.push_back(e);
    }
    a.currentEntry = entries[1];
    entries[1]->active = 1;

    recorder.expect(IDNO);
    recorder.expect(IDYES);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    hwnd = nullptr;
    pumpMessages(20);
    ASSERT_EQ(recorder.records.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const auto& box = recorder.records[i];
        EXPECT_EQ(box.caption, L"Quillon for SONY BVE-9100 Ver 2.6.0 cs1");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(utf8(box.text), utf8(toWide(formatMessage(kMsgSaveBeforeExit, entries[i == 0 ? 0 : 3]->path))));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "tab0.QLP"));
    EXPECT_TRUE(std::filesystem::exists(dir / "tab3.QLP"));
    forgetDocument();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace
} // namespace qlp
