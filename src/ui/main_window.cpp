#include "ui/main_window.h"

#include "ops/tab_commands.h"
#include "resource.h"
#include "screen/window_layout.h"
#include "ui/accelerator_routing.h"
#include "ui/commands/annotation_commands.h"
#include "ui/commands/command_table.h"
#include "ui/commands/document_commands.h"
#include "ui/commands/search_commands.h"
#include "ui/dpi.h"
#include "ui/event_list.h"
#include "ui/guard.h"
#include "ui/info_panel.h"
#include "ui/list_columns.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/window_placement.h"

#include <commctrl.h>

namespace qlp {

namespace {

constexpr int kPopupOffset = 10; // pop-up menus open this far below the cursor

// The command a button of the information panel stands for, or 0.
int buttonCommand(int id) {
    switch (id) {
    case IDC_WRITE_MEMO:
        return IDM_WRITE_MEMO;
    case IDC_TOGGLE_COMMENT:
        return IDM_TOGGLE_COMMENT;
    case IDC_SEARCH:
        return IDM_SEARCH;
    case IDC_CLEAR_SEARCH:
        return IDM_CLEAR_SEARCH;
    case IDC_OFFSET:
        return IDM_OFFSET;
    case IDC_MARKER:
        return IDM_MARKER_SETTINGS;
    case IDC_SIMPLE_NOTES:
        return IDM_SIMPLE_NOTES;
    case IDC_REEL_INFO:
        return IDM_REEL_INFO;
    default:
        return 0;
    }
}

void attachImageLists(const ControlTable& c, const PaintTable& p) {
    ListView_SetImageList(c.list, p.rowIcons, LVSIL_SMALL);
    Header_SetImageList(c.header, p.headerArrows);
    TabCtrl_SetImageList(c.tab, p.tabStates);
}

// The controls would otherwise destroy (the list) or keep using image lists deleted before them.
void detachImageLists(const ControlTable& c) {
    ListView_SetImageList(c.list, nullptr, LVSIL_SMALL);
    Header_SetImageList(c.header, nullptr);
    TabCtrl_SetImageList(c.tab, nullptr);
}

bool loadPopupMenus(ControlTable& c, HINSTANCE instance) {
    c.tabPopupMenu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_TAB_POPUP));
    c.listPopupMenu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_LIST_POPUP));
    c.tabPopup = GetSubMenu(c.tabPopupMenu, 0);
    c.listPopup = GetSubMenu(c.listPopupMenu, 0);
    return c.tabPopup && c.listPopup;
}

void trackPopup(HMENU menu, POINT cursor) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y + kPopupOffset, 0, ui().mainWindow,
                   nullptr);
}

// Right click on the tab strip: the pop-up only over the selected tab; the focus goes to the list.
void showTabPopup() {
    UiState& a = ui();
    POINT cursor;
    GetCursorPos(&cursor);
    POINT inTab = cursor;
    ScreenToClient(a.controls.tab, &inTab);
    const int selected = TabCtrl_GetCurSel(a.controls.tab);
    RECT tabRect;
    if (selected >= 0 && TabCtrl_GetItemRect(a.controls.tab, selected, &tabRect) && PtInRect(&tabRect, inTab)) {
        if (const TabEntry* entry = a.currentEntry; entry && entry->saveState != kModified)
            signalMenuRefresh(a.workers);
        trackPopup(a.controls.tabPopup, cursor);
    }
    SetFocus(a.controls.list);
}

void showListPopup() {
    UiState& a = ui();
    signalMenuRefresh(a.workers);
    POINT cursor;
    GetCursorPos(&cursor);
    trackPopup(a.controls.listPopup, cursor);
    SetFocus(a.controls.list);
}

// The class's icons are drawn for the system DPI; the window shows its own, drawn for the display
// it is on. The window takes the new icons before the old ones are destroyed.
void showWindowIcons(HWND hwnd, PaintTable& paint, HINSTANCE instance, int dpi) {
    PaintTable old;
    old.bigIcon = paint.bigIcon;
    old.smallIcon = paint.smallIcon;
    createWindowIcons(paint, instance, dpi);
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(paint.bigIcon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(paint.smallIcon));
    destroyWindowIcons(old);
}

LRESULT onCreate(HWND hwnd) {
    UiState& a = ui();
    ControlTable& c = a.controls;
    a.mainWindow = hwnd;

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    if (!createControls(hwnd, a.instance, c))
        return -1;
    subclassAcceleratorTargets(c.list, c.memo);

    ListView_SetExtendedListViewStyle(c.list,
                                      LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    createListColumns(c.list);
    ListView_SetItemCountEx(c.list, 0, LVSICF_NOINVALIDATEALL);
    c.header = ListView_GetHeader(c.list);

    // The layout, fonts and images follow the display the window opens on.
    a.dpi = windowDpi(hwnd);
    createPaintObjects(a.paint, a.dpi);
    assignFonts(c, a.paint);

    c.menuBar = GetMenu(hwnd);
    if (!loadPopupMenus(c, a.instance))
        return -1;

    showInitialControlStates(c);
    initStatusBar(c);
    createImageLists(a.paint, a.instance, a.dpi);
    attachImageLists(c, a.paint);
    showWindowIcons(hwnd, a.paint, a.instance, a.dpi);
    fillFixedComboItems(c);
    if (!createWorkers(a.workers, hwnd, c, a.document))
        return -1;
    // Files dropped from the shell open as the open dialog's choices do.
    DragAcceptFiles(hwnd, TRUE);
    return 0;
}

void onSize(WPARAM kind, LPARAM size) {
    const ControlTable& c = ui().controls;
    // A minimised window has no client area to lay out; the restore brings the next size message.
    if (kind != SIZE_MINIMIZED)
        layoutControls(c, LOWORD(size), HIWORD(size), ui().dpi);
    SendMessageW(c.status, WM_SIZE, kind, size);
}

void onGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMinTrackSize = {px(kMinTrackWidth), px(kMinTrackHeight)};
}

// The window moved to a display of another scale (or the scale changed): the fonts, images, column
// widths and the parts drawn in code are made again for the new DPI, and the window takes the
// rectangle the system suggests and lays itself out again. The column widths the user set are
// kept: they are read back in 96-DPI pixels before the scale changes.
void onDpiChanged(HWND hwnd, int dpi, const RECT& suggested) {
    UiState& a = ui();
    ControlTable& c = a.controls;
    if (dpi > 0 && dpi != a.dpi) {
        const ColumnLayout columns = readListLayout(c.list);
        a.dpi = dpi;
        // The controls are given the new fonts before the old ones are deleted.
        PaintTable old = a.paint;
        createFonts(a.paint, dpi);
        assignFonts(c, a.paint);
        destroyFonts(old);
        detachImageLists(c);
        destroyImageLists(a.paint);
        createImageLists(a.paint, a.instance, dpi);
        attachImageLists(c, a.paint);
        applyColumnWidths(c.list, columns);
        applyDpiToControls(c);
        showWindowIcons(hwnd, a.paint, a.instance, dpi);
    }
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The same size at another scale brings no size message, so the layout is made here too.
    RECT client;
    GetClientRect(hwnd, &client);
    layoutControls(c, client.right, client.bottom, a.dpi);
    SendMessageW(c.status, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void onPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
}

void onDrawItem(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    if (id == IDC_LIST)
        drawListRow(item);
    else if (id == IDC_SEARCH_MARKER)
        drawMarkerComboItem(item);
    else if (id >= IDC_MARKER_CELL1 && id <= IDC_DUR_UPPER)
        drawInfoCell(item);
}

// Only the marker combo box is measured here; the list takes its row height from its font.
bool onMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlID != IDC_SEARCH_MARKER)
        return false;
    measureMarkerComboItem(item);
    return true;
}

LRESULT onNotify(NMHDR& header) {
    switch (header.idFrom) {
    case IDC_TAB:
        if (header.code == NM_RCLICK) {
            showTabPopup();
            return 0;
        }
        return onTabNotify(header);
    case IDC_LIST:
        if (header.code == NM_RCLICK) {
            showListPopup();
            return 0;
        }
        return onListNotify(header);
    default:
        return 0;
    }
}

void onInitMenu() {
    UiState& a = ui();
    signalMenuRefresh(a.workers);
    SetFocus(a.controls.list);
}

// The memo box is read-only part of the time and then asks for static colours too.
HBRUSH onCtlColorStatic(HDC dc, HWND control) {
    const UiState& a = ui();
    SetBkMode(dc, TRANSPARENT);
    if (control == a.controls.memo) {
        SetTextColor(dc, RGB(0, 0, 0));
        return a.document.loaded ? a.paint.memo : GetSysColorBrush(COLOR_BTNFACE);
    }
    return GetSysColorBrush(COLOR_BTNFACE);
}

// Closing: offer to save modified project tabs, stop the workers, remember the placement, release
// the document and the drawing resources, then destroy the window.
void onClose(HWND hwnd) {
    UiState& a = ui();
    WinPrompt prompt;
    bool saveFailed = false;
    saveModifiedTabsOnExit(a.document, a.tabs, prompt, &saveFailed, &saveAsDialog());
    if (saveFailed) {
        // A file the user wanted saved could not be written, or the user cancelled: closing now
        // would lose changes. The tabs that were saved show it.
        rebuildTabStrip(a.controls.tab, a.tabs);
        selectTab(a.controls.tab, a.currentEntry);
        signalMenuRefresh(a.workers);
        return;
    }
    closeWorkers(a.workers);
    storeWindowPlacement(hwnd);
    releaseDocument(a.document);
    detachImageLists(a.controls);
    destroyPaintTable(a.paint);
    DestroyMenu(a.controls.tabPopupMenu);
    DestroyMenu(a.controls.listPopupMenu);
    a.controls.tabPopupMenu = a.controls.listPopupMenu = nullptr;
    a.controls.tabPopup = a.controls.listPopup = nullptr;
    DestroyWindow(hwnd);
}

void onDestroy() {
    UiState& a = ui();
    a.mainWindow = nullptr;
    a.controls = ControlTable{};
    PostQuitMessage(0);
}

// Notifications of the controls of the window; a panel button runs its command.
void onControlCommand(HWND hwnd, int id, int code) {
    switch (id) {
    case IDC_LAYOUT1:
    case IDC_LAYOUT1 + 1:
    case IDC_LAYOUT1 + 2:
    case IDC_LAYOUT4:
        if (code == BN_CLICKED)
            onColumnLayoutButton(id - IDC_LAYOUT1);
        break;
    case IDC_WRITE_MEMO:
    case IDC_TOGGLE_COMMENT:
    case IDC_SEARCH:
    case IDC_CLEAR_SEARCH:
    case IDC_OFFSET:
    case IDC_MARKER:
    case IDC_SIMPLE_NOTES:
    case IDC_REEL_INFO:
        if (code == BN_CLICKED)
            onCommand(hwnd, buttonCommand(id), 0, 0);
        break;
    case IDC_OFFSET_CELL:
        if (code == STN_CLICKED)
            onOffsetCellClick();
        break;
    case IDC_MEMO:
        onMemoFocusChange(code);
        break;
    case IDC_VIEW:
        // Only the closing drop-down switches the view, not every change of its selection.
        if (code == CBN_CLOSEUP)
            onViewComboCloseUp();
        break;
    case IDC_CHECK_REEL:
    case IDC_CHECK_SOURCE:
    case IDC_CHECK_RECORD:
    case IDC_CHECK_DURATION:
    case IDC_CHECK_MARKER:
        if (code == BN_CLICKED)
            onSearchCheckBox(id);
        break;
    case IDC_SRC_LOWER_OP:
    case IDC_SRC_UPPER_OP:
    case IDC_REC_LOWER_OP:
    case IDC_REC_UPPER_OP:
    case IDC_DUR_LOWER_OP:
    case IDC_DUR_UPPER_OP:
    case IDC_SEARCH_REEL:
    case IDC_SEARCH_MARKER:
        if (code == CBN_CLOSEUP)
            onSearchComboCloseUp(id);
        break;
    case IDC_VIEW_REEL:
        if (code == CBN_CLOSEUP)
            onUsageReelCloseUp();
        break;
    case IDC_SRC_LOWER:
    case IDC_SRC_UPPER:
    case IDC_REC_LOWER:
    case IDC_REC_UPPER:
    case IDC_DUR_LOWER:
    case IDC_DUR_UPPER:
        if (code == STN_CLICKED)
            onTimecodeCellClick(id);
        break;
    case IDC_MARKER_CELL1:
    case IDC_MARKER_CELL1 + 1:
    case IDC_MARKER_CELL1 + 2:
    case IDC_MARKER_CELL1 + 3:
    case IDC_MARKER_CELL1 + 4:
    case IDC_MARKER_CELL1 + 5:
    case IDC_MARKER_CELL1 + 6:
    case IDC_MARKER_CELL8:
        if (code == STN_CLICKED)
            onMarkerCellClick(id - IDC_MARKER_CELL1);
        break;
    default:
        break;
    }
}

} // namespace

void onCommand(HWND hwnd, int id, int code, LPARAM lParam) {
    if (!runCommand(hwnd, id, code, lParam))
        onControlCommand(hwnd, id, code);
}

namespace {

LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(hwnd);
    case WM_SIZE:
        onSize(wParam, lParam);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(hwnd, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_PAINT:
        onPaint(hwnd);
        return 0;
    case WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        if (onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        onCommand(hwnd, LOWORD(wParam), HIWORD(wParam), lParam);
        return 0;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENU:
        onInitMenu();
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CLOSE:
        onClose(hwnd);
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case kRunWindowTask:
        return runWindowTask(lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// After a failed message the workers run again, whichever handler stopped them; a window whose
// creation failed is not made.
LRESULT recoverFromFailure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        return -1;
    UiState& a = ui();
    if (a.document.loaded && a.mainWindow)
        startWorkers(a.workers);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReportFailureMessage) {
        reportPostedFailure(hwnd, wParam);
        return 0;
    }
    return guarded(
        hwnd, [&] { return handleMessage(hwnd, message, wParam, lParam); },
        [&] { return recoverFromFailure(hwnd, message, wParam, lParam); });
}

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
    wc.lpszClassName = ui().windowClass.c_str();
    return RegisterClassExW(&wc) != 0;
}

HWND createMainWindow() {
    const UiState& a = ui();
    // A new window opens on the primary display, so its size follows that display's scale.
    const int dpi = systemDpi();
    auto s = [dpi](int pixels) { return scaleForDpi(pixels, dpi); };
    return CreateWindowExW(0, a.windowClass.c_str(), a.caption.c_str(), WS_OVERLAPPEDWINDOW, 0, s(20), s(1390), s(800),
                           nullptr, nullptr, a.instance, nullptr);
}

} // namespace qlp
