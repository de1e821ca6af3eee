#include "ui/dialogs/reel_info_dialog.h"

#include "ops/reel_info.h"
#include "resource.h"
#include "ui/modal.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace qlp {

namespace {

constexpr UINT kEndOfEdit = WM_APP + 1;
constexpr int kColumnTextLimit = 640;

struct ColumnSpec {
    const wchar_t* heading;
    int format;
    int width;
};
constexpr ColumnSpec kColumns[] = {
    {L"リール名", LVCFMT_LEFT, 60},
    {L"使用数", LVCFMT_RIGHT, 52},
    {L"REC時間(H:M:S:F)", LVCFMT_CENTER, 130},
    {L"リールの説明", LVCFMT_LEFT, 550},
};

// The sort state of columns 0 to 2 lasts as long as the program.
int32_t gSortState[3] = {};

// The dialog exists at most once; its state lives for one opening.
struct ReelDialog {
    EdlDocument* doc = nullptr;
    HWND dialog = nullptr;
    HWND list = nullptr;
    HWND edit = nullptr;
    WNDPROC editProc = nullptr;
    int editRow = -1;     // the row whose description is being edited, until it is stored
    bool editing = false; // the editor is shown
    bool edited = false;  // the edit row's cell shows `editedText` until it is stored
    std::u16string editedText;
    std::vector<ReelRow> rows; // what the list shows, in its order: the list asks for each cell
};
ReelDialog gReels;

std::wstring cellText(int row, int column) {
    wchar_t text[kColumnTextLimit + 1] = {};
    ListView_GetItemText(gReels.list, row, column, text, static_cast<int>(std::size(text)));
    return text;
}

// The text of a cell as the list asks for it when it draws or is read. The list holds no texts of
// its own: opening the dialog on thousands of reels computes the rows once and fills nothing.
std::u16string_view cellSource(int row, int column) {
    const ReelRow& r = gReels.rows[static_cast<size_t>(row)];
    switch (column) {
    case kReelColName:
        return reelName(*gReels.doc, r.reel);
    case kReelColCount:
        return r.countText;
    case kReelColTotal:
        return r.totalText;
    default:
        if (gReels.edited && row == gReels.editRow)
            return gReels.editedText;
        return reelDescription(*gReels.doc, r.reel);
    }
}

void onGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iItem < 0 ||
        item.iItem >= static_cast<int>(gReels.rows.size()))
        return;
    const std::u16string_view text = cellSource(item.iItem, item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(text.begin(), length, item.pszText);
    item.pszText[length] = L'\0';
}

void selectRow(int row) {
    if (row < 0)
        return;
    ListView_SetItemState(gReels.list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(gReels.list, row, FALSE);
}

// Enter ends the edit; everything else is the edit's own.
LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && wParam == VK_RETURN) {
        SendMessageW(gReels.dialog, kEndOfEdit, 0, 0);
        return 0;
    }
    return CallWindowProcW(gReels.editProc, edit, message, wParam, lParam);
}

void onInit(HWND dialog, EdlDocument& doc) {
    gReels = ReelDialog{};
    gReels.doc = &doc;
    gReels.dialog = dialog;
    gReels.list = GetDlgItem(dialog, IDC_REEL_INFO_LIST);
    gReels.edit = GetDlgItem(dialog, IDC_REEL_INFO_EDIT);
    SendMessageW(gReels.edit, EM_LIMITTEXT, kReelDescriptionEditLimit, 0);
    gReels.editProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(gReels.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));

    ListView_SetExtendedListViewStyle(gReels.list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = kColumns[c].format;
        column.cx = kColumns[c].width;
        column.pszText = const_cast<wchar_t*>(kColumns[c].heading);
        column.iSubItem = c;
        ListView_InsertColumn(gReels.list, c, &column);
    }
    gReels.rows = reelRows(doc);
    ListView_SetItemCountEx(gReels.list, static_cast<int>(gReels.rows.size()), 0);
    // Rows start in reel-table order, so the current event's reel is its own row number.
    selectRow(currentEventReel(doc));
    SetFocus(gReels.list);
}

// Puts the edited text into the row's description cell and hides the editor. The cell is written
// before the editor goes, since hiding it may already take its focus away.
void endEdit() {
    if (!gReels.editing)
        return;
    gReels.editing = false;
    wchar_t text[kReelDescriptionChars + 1] = {};
    GetWindowTextW(gReels.edit, text, static_cast<int>(std::size(text)));
    gReels.editedText = toU16(text);
    gReels.edited = true;
    ListView_Update(gReels.list, gReels.editRow);
    if (GetCapture() == gReels.edit)
        ReleaseCapture();
    ShowWindow(gReels.edit, SW_HIDE);
    EnableWindow(gReels.edit, FALSE);
    SetFocus(gReels.list);
}

// The editor lost the focus: the row's description goes to the reel named in the row, which after
// a re-sort need not be the reel of the same position.
void commitEdit() {
    if (gReels.editRow < 0)
        return;
    endEdit();
    const int row = gReels.editRow;
    storeReelDescription(*gReels.doc, toU16(cellText(row, 0)), toU16(cellText(row, 3)));
    // From now on the cell shows what was stored: one line, at most 48 characters.
    gReels.editRow = -1;
    gReels.edited = false;
    ListView_Update(gReels.list, row);
}

void beginEdit(int row) {
    RECT cell{};
    if (row < 0 || !ListView_GetSubItemRect(gReels.list, row, 3, LVIR_BOUNDS, &cell))
        return;
    gReels.editRow = row;
    gReels.edited = false;
    MapWindowPoints(gReels.list, gReels.dialog, reinterpret_cast<POINT*>(&cell), 2);
    SetWindowPos(gReels.edit, HWND_TOP, cell.left + 2, cell.top, cell.right - cell.left - 2, cell.bottom - cell.top + 5,
                 0);
    EnableWindow(gReels.edit, TRUE);
    const std::wstring text = cellText(row, 3).substr(0, kReelDescriptionChars);
    SetWindowTextW(gReels.edit, text.c_str());
    SendMessageW(gReels.edit, EM_SETSEL, text.size(), text.size());
    gReels.editing = true;
    ShowWindow(gReels.edit, SW_SHOW);
    SetFocus(gReels.edit);
    SetCapture(gReels.edit);
}

void onColumnClick(int column) {
    if (column < 0 || column > 2)
        return; // descriptions do not order the rows
    gSortState[column] = nextReelSortState(gSortState[column]);
    const int selected = ListView_GetNextItem(gReels.list, -1, LVNI_SELECTED);
    const int32_t selectedReel = selected >= 0 ? gReels.rows[static_cast<size_t>(selected)].reel : -1;
    sortReelRows(*gReels.doc, gReels.rows, column, gSortState[column]);
    InvalidateRect(gReels.list, nullptr, TRUE);
    for (int r = 0; r < static_cast<int>(gReels.rows.size()); ++r)
        if (gReels.rows[static_cast<size_t>(r)].reel == selectedReel)
            selectRow(r);
}

LRESULT onNotify(NMHDR& header) {
    if (header.idFrom != IDC_REEL_INFO_LIST)
        return 0;
    if (header.code == LVN_GETDISPINFOW)
        onGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
    else if (header.code == LVN_COLUMNCLICK)
        onColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    else if (header.code == NM_DBLCLK)
        beginEdit(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    return 0;
}

INT_PTR CALLBACK reelDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog, *reinterpret_cast<EdlDocument*>(lParam));
        return FALSE; // the focus is set
    case kEndOfEdit:
        endEdit();
        return TRUE;
    case WM_NOTIFY:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, onNotify(*reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_REEL_INFO_EDIT:
            if (HIWORD(wParam) == EN_KILLFOCUS)
                commitEdit();
            return TRUE;
        case IDOK:
            commitEdit();
            gReels.doc->edited = 1;
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            commitEdit();
            EndDialog(dialog, 2);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        SetWindowLongPtrW(gReels.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gReels.editProc));
        gReels = ReelDialog{};
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR runReelInfoDialog(HWND owner, EdlDocument& doc) {
    return runModal(owner, IDD_REEL_INFO, reelDialogProc, reinterpret_cast<LPARAM>(&doc));
}

} // namespace qlp
