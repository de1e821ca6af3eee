#include "ui/event_list.h"

#include "ops/views.h"
#include "resource.h"
#include "screen/column_layout.h"
#include "screen/list_view.h"
#include "screen/window_layout.h"
#include "ui/commands/document_commands.h"
#include "ui/document_view.h"
#include "ui/info_panel.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace qlp {

namespace {

constexpr COLORREF kHitFrame = RGB(255, 100, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kMarkText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX; // the "C" and the marker number
constexpr int kIconArea = 18;       // (96-DPI pixels) column 0's text is drawn over the unused icon area
constexpr int kMemoCharacters = 32; // of a work memo shown in the memo column

// The text of a cell as the list asks for it. A request for column 0 comes with every repaint of a
// row, so it is what wakes the selection worker after any change of selection, focus or scroll.
std::u16string_view requestText(const EdlEvent& event, int column) {
    if (column == kColEdit)
        signalSelectionChanged(ui().workers);
    return columnText(event, column);
}

void drawCellText(HDC dc, std::u16string_view text, RECT rect, UINT format) {
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &rect, format);
}

// The search-hit frame: an orange outline one pixel inside the row's top and bottom, filled grey
// (or with the selection colour on a selected row).
void drawHitFrame(HDC dc, const RECT& row, bool selected) {
    const PaintTable& p = ui().paint;
    HPEN pen = CreatePen(PS_SOLID, 1, kHitFrame);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, selected ? p.selection : p.grey);
    Rectangle(dc, row.left, row.top + 1, row.right, row.bottom - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// The work-memo mark in the memo column: the row icon and the memo's first characters, or just "C"
// where the column is too narrow for them.
void drawMemoMark(HDC dc, const EdlEvent& event, const RECT& cell, bool selected) {
    const PaintTable& p = ui().paint;
    SetTextColor(dc, selected ? kWhite : kBlack);
    if (memoMarkForm(unscaleForDpi(cell.right - cell.left, ui().dpi)) == MemoMarkForm::Letter) {
        drawCellText(dc, u"C", cell, DT_LEFT | kMarkText);
        return;
    }
    ImageList_Draw(p.rowIcons, 0, dc, cell.left + px(30), cell.top + px(3), ILD_TRANSPARENT);
    if (!event.workMemo)
        return;
    HGDIOBJ oldFont = SelectObject(dc, p.gui);
    RECT text = cell;
    text.left += px(55);
    drawCellText(dc, textUpToNul(event.workMemo, kMemoCharacters), text, DT_LEFT | kCellText);
    SelectObject(dc, oldFont);
}

// The marker mark in the memo column: a dot in the marker colour, the marker number where the
// column is narrower, nothing where it is narrower still.
void drawMarkerMark(HDC dc, const EdlEvent& event, const RECT& cell, bool selected, COLORREF colour) {
    switch (markerMarkForm(unscaleForDpi(cell.right - cell.left, ui().dpi))) {
    case MarkerMarkForm::Dot: {
        const int left = cell.left + px(5), top = cell.top + px(3), size = px(16);
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        RoundRect(dc, left, top, left + size, top + size, size, size);
        HPEN outline = CreatePen(PS_SOLID, 1, kBlack);
        SelectObject(dc, outline);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, left, top, left + size, top + size, size, size);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(outline);
        DeleteObject(brush);
        DeleteObject(pen);
        break;
    }
    case MarkerMarkForm::Number: {
        RECT text = cell;
        text.left += px(25);
        SetTextColor(dc, selected ? kWhite : kBlack);
        drawCellText(dc, markerDigit(event.marker), text, DT_LEFT | kMarkText);
        break;
    }
    case MarkerMarkForm::None:
        break;
    }
}

void onItemChanged(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
        return;
    const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (change.iItem >= 0)
        selected ? ui().selectedRows.selected(change.iItem) : ui().selectedRows.deselected(change.iItem);
    else
        selected ? ui().selectedRows.lost() : ui().selectedRows.cleared();
}

void onRangeStateChanged(const NMLVODSTATECHANGE& change) {
    if (!((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
        return;
    if (change.uNewState & LVIS_SELECTED)
        ui().selectedRows.selectedRange(change.iFrom, change.iTo);
    else
        ui().selectedRows.deselectedRange(change.iFrom, change.iTo);
}

// Selects or deselects every row. The control visits row by row, and while drawing is on it
// invalidates each row as it goes: on a long list that is one window-system call per row. With
// drawing off only the selection is kept, and the rows in sight are repainted once afterwards.
void setEveryRowSelected(HWND list, bool selected) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(list, -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

// Deselects every row but `keep`. The tracked rows are the whole selection when they are all
// selected and as many as the control counts; otherwise the control clears it row by row.
void deselectAllBut(HWND list, int keep) {
    const std::vector<int>& rows = ui().selectedRows.rows();
    const bool exact = ui().selectedRows.known() && rows.size() == ListView_GetSelectedCount(list) &&
                       std::all_of(rows.begin(), rows.end(),
                                   [&](int row) { return ListView_GetItemState(list, row, LVIS_SELECTED) != 0; });
    if (!exact) {
        setEveryRowSelected(list, false);
        ui().selectedRows.cleared();
        return;
    }
    // The notifications of the changes below edit the tracked rows.
    const std::vector<int> deselect = rows;
    for (int row : deselect)
        if (row != keep)
            ListView_SetItemState(list, row, 0, LVIS_SELECTED);
}

void sendCommand(int command) {
    SendMessageW(ui().mainWindow, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT onGetDispInfo(NMLVDISPINFOW& info) {
    const EdlEvent* event = ui().document.loaded ? rowEvent(ui().document, info.item.iItem) : nullptr;
    if (!event)
        return 0;
    const std::u16string_view text = requestText(*event, info.item.iSubItem);
    if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        const size_t length = std::min<size_t>(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
        std::copy_n(reinterpret_cast<const wchar_t*>(text.data()), length, info.item.pszText);
        info.item.pszText[length] = L'\0';
    }
    return 0;
}

LRESULT onKeyDown(const NMLVKEYDOWN& key) {
    UiState& a = ui();
    switch (listKeyAction(key.wVKey, a.document)) {
    case ListKeyAction::Swallow:
        return 1;
    case ListKeyAction::SignalSelection:
        signalSelectionChanged(a.workers);
        return 0;
    case ListKeyAction::None:
        return 0;
    }
    return 0;
}

void onColumnClick(const NMLISTVIEW& click) {
    const EdlDocument& doc = ui().document;
    if (!doc.loaded)
        return;
    if (const int command = headerClickCommand(click.iSubItem, doc))
        sendCommand(command);
}

// Step 5 of the switch: the list shows the rows of the new view at its stored position.
void presentShownView() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    HWND list = a.controls.list;
    ShowWindow(list, SW_HIDE);
    EnableWindow(list, TRUE);
    ListView_SetItemCount(list, 0);
    const int view = shownView(doc);
    ListView_SetItemCount(list, doc.viewCount[view]);
    UpdateWindow(list);
    ShowWindow(list, SW_SHOW);
    const int top = doc.topRow[view];
    const int last = std::min(top + ListView_GetCountPerPage(list), doc.viewCount[view] - 1);
    if (top >= 0 && top <= last)
        ListView_RedrawItems(list, top, last);
    restoreListPosition();
    setSortArrows(doc.currentView != kAllEvents);
    repaintHitCounter();
}

} // namespace

void drawListRow(const DRAWITEMSTRUCT& item) {
    UiState& a = ui();
    const EdlDocument& doc = a.document;
    if (!doc.loaded || item.itemAction != ODA_DRAWENTIRE)
        return;
    const int row = static_cast<int>(item.itemID);
    const EdlEvent* event = rowEvent(doc, row);
    if (!event)
        return;
    const PaintTable& p = a.paint;
    HWND list = item.hwndItem;
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool hit = event->searchHit != 0;

    RECT cells[kColumnCount] = {};
    ListView_GetItemRect(list, row, &cells[0], LVIR_LABEL);
    for (int c = 1; c < kColumnCount; ++c)
        ListView_GetSubItemRect(list, row, c, LVIR_LABEL, &cells[c]);

    FillRect(dc, &item.rcItem, selected ? p.selection : p.window);
    if (hit)
        drawHitFrame(dc, item.rcItem, selected);

    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, hit ? p.listBold : p.list);
    const COLORREF markerColour = markerTableColour(doc, event->marker);
    SetTextColor(dc, selected ? kWhite : markerColour);

    RECT edit = cells[0];
    edit.left -= px(kIconArea);
    drawCellText(dc, requestText(*event, kColEdit), edit, DT_LEFT | kCellText);
    for (int c = 1; c < kColumnCount; ++c) {
        cells[c].left += px(2);
        const UINT align = kColumnSpecs[c].align == ColumnAlign::Centre ? DT_CENTER : DT_LEFT;
        drawCellText(dc, requestText(*event, c), cells[c], align | kCellText);
    }

    const RECT& memoColumn = cells[kColSpare];
    if (event->hasWorkMemo == 1)
        drawMemoMark(dc, *event, memoColumn, selected);
    if (event->marker != kNoMarker)
        drawMarkerMark(dc, *event, memoColumn, selected, markerColour);

    if (item.itemState & ODS_FOCUS) {
        SelectObject(dc, p.yellow);
        RECT focus = item.rcItem;
        focus.bottom -= 1;
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
}

LRESULT onListNotify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        return onGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
    case LVN_KEYDOWN:
        return onKeyDown(reinterpret_cast<NMLVKEYDOWN&>(header));
    case LVN_ITEMCHANGED:
        onItemChanged(reinterpret_cast<NMLISTVIEW&>(header));
        return 0;
    case LVN_ODSTATECHANGED:
        onRangeStateChanged(reinterpret_cast<NMLVODSTATECHANGE&>(header));
        return 0;
    case LVN_ODFINDITEMW:
        // Typing in the list finds nothing: letters and digits have no meaning there.
        return -1;
    case LVN_COLUMNCLICK:
        onColumnClick(reinterpret_cast<NMLISTVIEW&>(header));
        return 0;
    case NM_DBLCLK:
        if (reinterpret_cast<NMITEMACTIVATE&>(header).iItem >= 0)
            sendCommand(IDM_SET_MARKER);
        return 0;
    default:
        return 0;
    }
}

LRESULT onTabNotify(NMHDR& header) {
    if (header.code == TCN_SELCHANGE)
        onSwitchTab();
    return 0;
}

bool onListMoveKey(HWND list, WPARAM key) {
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0)
        return false;
    const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    const int row = movedFocusRow(static_cast<int>(key), focused, ListView_GetTopIndex(list),
                                  ListView_GetCountPerPage(list), ListView_GetItemCount(list));
    if (row < 0)
        return false;
    // The control tells its parent of every key before acting on it; so does this.
    NMLVKEYDOWN notice{};
    notice.hdr.hwndFrom = list;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    notice.hdr.code = LVN_KEYDOWN;
    notice.wVKey = static_cast<WORD>(key);
    SendMessageW(GetParent(list), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    if (row == focused)
        return true;
    // As the control does it: the new row alone is selected and focused and becomes the anchor of
    // a Shift selection. The control would clear the selection by visiting every row.
    deselectAllBut(list, row);
    constexpr UINT kStates = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(list, row, kStates, kStates);
    ListView_SetSelectionMark(list, row);
    ListView_EnsureVisible(list, row, FALSE);
    UpdateWindow(list);
    return true;
}

void selectAllRows() {
    setEveryRowSelected(ui().controls.list, true);
}

void switchListDisplay() {
    UiState& a = ui();
    if (!a.document.loaded)
        return;
    HWND combo = a.controls[IDC_VIEW];
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    SendMessageW(combo, CB_SETCURSEL, nextListDisplay(selected, a.document.viewCount[kSearchResult]), 0);
    SendMessageW(a.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
}

void onViewComboCloseUp() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    const ControlTable& c = a.controls;
    if (!doc.loaded)
        return;
    const int chosen = static_cast<int>(SendMessageW(c[IDC_VIEW], CB_GETCURSEL, 0, 0));
    if (chosen == doc.currentView) {
        SetFocus(c.list);
        return;
    }
    // The workers read the view arrays; they stay stopped until the new view is in place.
    stopWorkers(a.workers);
    EnableWindow(c.list, FALSE);
    if (chooseView(doc, chosen).fellBack)
        SendMessageW(c[IDC_VIEW], CB_SETCURSEL, kAllEvents, 0);
    EnableWindow(c[IDC_VIEW_REEL], doc.currentView == kReelUsage);
    presentShownView();
    startWorkers(a.workers);
    markDocumentModified();
    signalMenuRefresh(a.workers);
    SetFocus(c.list);
}

} // namespace qlp
