// The menu bar, the pop-ups, the accelerator table and where its keys go, and the menu states that
// follow the document.

#include "main_window_fixture.h"

#include <set>
#include <stdexcept>
#include <tuple>

namespace qlp {
namespace {

using test::MainWindowTest;
using test::setModifiers;
using test::utf8;
using test::windowText;

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
    EXPECT_EQ(GetMenuItemCount(ui().controls.tabPopup), 4);
    EXPECT_EQ(GetMenuItemCount(ui().controls.listPopup), 17);
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
    ui().document.currentView = kSearchResult;
    ui().document.search.searchFlags = 1;
    ui().document.viewCount[kSearchResult] = 2;
    ui().document.commentMode = 1;
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
    ui().currentEntry->saveState = kSaved;
    ui().document.currentView = kAllEvents;
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
    ui().document.commentMode = 1;
    refreshMenus();
    press(memo, keyFor(IDM_TOGGLE_COMMENT));
    press(memo, keyFor(IDM_WRITE_MEMO));
    EXPECT_EQ(spy.commands, (std::vector<int>{IDM_TOGGLE_COMMENT, IDM_WRITE_MEMO}));
}

// ---- Menu states ------------------------------------------------------------------------------------

// The commands whose items a menu and its sub-menus show grayed.
void collectGrayed(HMENU menu, std::set<int>& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        if (info.hSubMenu)
            collectGrayed(info.hSubMenu, out);
        else if (!(info.fType & MFT_SEPARATOR) && (info.fState & MFS_GRAYED))
            out.insert(static_cast<int>(info.wID));
    }
}

std::set<int> grayed(HMENU menu) {
    std::set<int> out;
    collectGrayed(menu, out);
    return out;
}

TEST_F(MainWindowTest, MenuStatesFollowTheDocument) {
    const ControlTable& c = ui().controls;
    const std::set<int> sorts = {IDM_SORT_SOURCE, IDM_SORT_RECORD, IDM_SORT_DURATION, IDM_SORT_EDIT_ORDER};
    const auto with = [](std::set<int> a, std::initializer_list<int> b) {
        a.insert(b);
        return a;
    };

    // No document: everything but open, exit, version and multi-selection is grayed in the bar; the
    // pop-ups gray only what they keep in step.
    const std::set<int> withoutDocument = {IDM_SAVE,
                                           IDM_SAVE_AS,
                                           IDM_CLOSE_TAB,
                                           IDM_TEXT_LISTING,
                                           IDM_EDL_EXPORT,
                                           IDM_SELECT_ALL,
                                           IDM_SWITCH_VIEW,
                                           IDM_SEARCH,
                                           IDM_CLEAR_SEARCH,
                                           IDM_WRITE_MEMO,
                                           IDM_TOGGLE_COMMENT,
                                           IDM_SET_MARKER,
                                           IDM_DELETE_MARKER,
                                           IDM_EDIT_LOCATE,
                                           IDM_OFFSET,
                                           IDM_MARKER_SETTINGS,
                                           IDM_REGISTER_LAYOUT1,
                                           IDM_REGISTER_LAYOUT2,
                                           IDM_REGISTER_LAYOUT3,
                                           IDM_REGISTER_LAYOUT4,
                                           IDM_RECALL_LAYOUT1,
                                           IDM_RECALL_LAYOUT2,
                                           IDM_RECALL_LAYOUT3,
                                           IDM_RECALL_LAYOUT4,
                                           IDM_RESET_LAYOUT,
                                           IDM_REEL_INFO,
                                           IDM_SIMPLE_NOTES,
                                           IDM_SORT_SOURCE,
                                           IDM_SORT_RECORD,
                                           IDM_SORT_DURATION,
                                           IDM_SORT_EDIT_ORDER};
    EXPECT_EQ(grayed(c.menuBar), withoutDocument);
    EXPECT_EQ(grayed(c.tabPopup), (std::set<int>{IDM_CLOSE_TAB, IDM_SAVE, IDM_SAVE_AS}));
    EXPECT_EQ(grayed(c.listPopup), with(sorts, {IDM_SAVE, IDM_SAVE_AS}));

    // A freshly opened EDL: everything but save, memo, search and sorts.
    TabEntry* entry = fakeDocument(kFromEdl);
    refreshMenus();
    EXPECT_EQ(grayed(c.menuBar), with(sorts, {IDM_SAVE, IDM_WRITE_MEMO, IDM_SEARCH, IDM_CLEAR_SEARCH}));
    EXPECT_EQ(grayed(c.tabPopup), (std::set<int>{IDM_SAVE}));
    EXPECT_EQ(grayed(c.listPopup), with(sorts, {IDM_SAVE}));

    // A modified tab in work-memo mode, with search criteria and hits, showing the reel usage: nothing
    // is grayed.
    EdlDocument& doc = ui().document;
    entry->saveState = kModified;
    doc.commentMode = 1;
    doc.search.searchFlags = 2;
    doc.viewCount[kSearchResult] = 5;
    doc.currentView = kReelUsage;
    refreshMenus();
    EXPECT_EQ(grayed(c.menuBar), std::set<int>{});
    EXPECT_EQ(grayed(c.tabPopup), std::set<int>{});
    EXPECT_EQ(grayed(c.listPopup), std::set<int>{});

    // Back in the list of all events the sorts gray again; the menu-initialising message signals the
    // worker too.
    doc.currentView = kAllEvents;
    const uint32_t before = passMark(ui().workers.menu);
    SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(c.menuBar), 0);
    ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, before, 5000));
    EXPECT_EQ(grayed(c.menuBar), sorts);
    EXPECT_EQ(grayed(c.listPopup), sorts);
}

// Marking a document modified turns a saved project tab into a modified one, never an EDL tab.
TEST_F(MainWindowTest, MarkingTheDocumentModified) {
    TabEntry* entry = fakeDocument(kSaved);
    refreshMenus();
    EXPECT_EQ(menuState(ui().controls.menuBar, IDM_SAVE), static_cast<UINT>(MF_GRAYED));
    const uint32_t before = passMark(ui().workers.menu);
    markDocumentModified();
    ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, before, 5000));
    EXPECT_EQ(entry->saveState, kModified);
    TCITEMW item{};
    wchar_t text[64] = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 64;
    ASSERT_TRUE(TabCtrl_GetItem(control(IDC_TAB), 0, &item));
    EXPECT_EQ(item.iImage, kModified);
    EXPECT_EQ(utf8(text), "reel one.QLP");
    EXPECT_EQ(menuState(ui().controls.menuBar, IDM_SAVE), 0u);
    EXPECT_EQ(menuState(ui().controls.tabPopup, IDM_SAVE), 0u);

    entry->saveState = kFromEdl;
    markDocumentModified();
    EXPECT_EQ(entry->saveState, kFromEdl);
}

} // namespace
} // namespace qlp
