#include "ui/dialogs/reel_info_dialog.h"

#include "ops/reel_info.h"
#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/modal.h"
#include "ui/subclass.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <optional>
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

// Enter ends the edit; everything else is the edit's own.
std::optional<LRESULT> descriptionEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM, DWORD_PTR) {
    if (message == WM_CHAR && wParam == VK_RETURN) {
        SendMessageW(GetParent(edit), kEndOfEdit, 0, 0);
        return 0;
    }
    return std::nullopt;
}

class ReelInfoDialog : public ModalDialog {
public:
    ReelInfoDialog(EdlDocument& doc, ReelSortState& sortState) : doc_(doc), sortState_(sortState) {}
    using ModalDialog::run;

private:
    std::wstring cellText(int row, int column) const {
        wchar_t text[kColumnTextLimit + 1] = {};
        ListView_GetItemText(list_, row, column, text, static_cast<int>(std::size(text)));
        return text;
    }

    // The text of a cell as the list asks for it when it draws or is read. The list holds no texts
    // of its own: opening the dialog on thousands of reels computes the rows once and fills nothing.
    std::u16string_view cellSource(int row, int column) const {
        const ReelRow& r = rows_[static_cast<size_t>(row)];
        switch (column) {
        case kReelColName:
            return reelName(doc_, r.reel);
        case kReelColCount:
            return r.countText;
        case kReelColTotal:
            return r.totalText;
        default:
            if (edited_ && row == editRow_)
                return editedText_;
            return reelDescription(doc_, r.reel);
        }
    }

    void onGetDispInfo(NMLVDISPINFOW& info) const {
        LVITEMW& cell = info.item;
        if (!(cell.mask & LVIF_TEXT) || !cell.pszText || cell.cchTextMax <= 0 || cell.iItem < 0 ||
            cell.iItem >= static_cast<int>(rows_.size()))
            return;
        const std::u16string_view text = cellSource(cell.iItem, cell.iSubItem);
        const size_t length = std::min(text.size(), static_cast<size_t>(cell.cchTextMax - 1));
        std::copy_n(text.begin(), length, cell.pszText);
        cell.pszText[length] = L'\0';
    }

    void selectRow(int row) const {
        if (row < 0)
            return;
        ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, row, FALSE);
    }

    bool onInit() override {
        list_ = item(IDC_REEL_INFO_LIST);
        edit_ = item(IDC_REEL_INFO_EDIT);
        SendMessageW(edit_, EM_LIMITTEXT, kReelDescriptionEditLimit, 0);
        subclassControl(edit_, descriptionEditMessage);

        ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
            column.fmt = kColumns[c].format;
            column.cx = kColumns[c].width;
            column.pszText = const_cast<wchar_t*>(kColumns[c].heading);
            column.iSubItem = c;
            ListView_InsertColumn(list_, c, &column);
        }
        rows_ = reelRows(doc_);
        ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
        // Rows start in reel-table order, so the current event's reel is its own row number.
        selectRow(currentEventReel(doc_));
        SetFocus(list_);
        return false;
    }

    // Puts the edited text into the row's description cell and hides the editor. The cell is
    // written before the editor goes, since hiding it may already take its focus away.
    void endEdit() {
        if (!editing_)
            return;
        editing_ = false;
        wchar_t text[kReelDescriptionChars + 1] = {};
        GetWindowTextW(edit_, text, static_cast<int>(std::size(text)));
        editedText_ = toU16(text);
        edited_ = true;
        ListView_Update(list_, editRow_);
        if (GetCapture() == edit_)
            ReleaseCapture();
        ShowWindow(edit_, SW_HIDE);
        EnableWindow(edit_, FALSE);
        SetFocus(list_);
    }

    // The editor lost the focus: the row's description goes to the reel named in the row, which
    // after a re-sort need not be the reel of the same position.
    void commitEdit() {
        if (editRow_ < 0)
            return;
        endEdit();
        const int row = editRow_;
        storeReelDescription(doc_, toU16(cellText(row, 0)), toU16(cellText(row, 3)));
        // From now on the cell shows what was stored: one line, at most 48 characters.
        editRow_ = -1;
        edited_ = false;
        ListView_Update(list_, row);
    }

    void beginEdit(int row) {
        RECT cell{};
        if (row < 0 || !ListView_GetSubItemRect(list_, row, 3, LVIR_BOUNDS, &cell))
            return;
        editRow_ = row;
        edited_ = false;
        MapWindowPoints(list_, dialog(), reinterpret_cast<POINT*>(&cell), 2);
        SetWindowPos(edit_, HWND_TOP, cell.left + 2, cell.top, cell.right - cell.left - 2, cell.bottom - cell.top + 5,
                     0);
        EnableWindow(edit_, TRUE);
        const std::wstring text = cellText(row, 3).substr(0, kReelDescriptionChars);
        SetWindowTextW(edit_, text.c_str());
        SendMessageW(edit_, EM_SETSEL, text.size(), text.size());
        editing_ = true;
        ShowWindow(edit_, SW_SHOW);
        SetFocus(edit_);
        SetCapture(edit_);
    }

    void onColumnClick(int column) {
        if (column < 0 || column > 2)
            return; // descriptions do not order the rows
        int32_t& state = sortState_[static_cast<size_t>(column)];
        state = nextReelSortState(state);
        const int selected = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
        const int32_t selectedReel = selected >= 0 ? rows_[static_cast<size_t>(selected)].reel : -1;
        sortReelRows(doc_, rows_, column, state);
        InvalidateRect(list_, nullptr, TRUE);
        for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
            if (rows_[static_cast<size_t>(r)].reel == selectedReel)
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

    // Descriptions are stored as each edit ends, whichever way the dialog closes; OK also marks
    // the document edited.
    void onOk() override {
        commitEdit();
        doc_.edited = 1;
        end(IDOK);
    }
    void onCancel() override {
        commitEdit();
        end(IDCANCEL);
    }
    void onCommand(int id, int code) override {
        if (id == IDC_REEL_INFO_EDIT && code == EN_KILLFOCUS)
            commitEdit();
    }

    std::optional<INT_PTR> onMessage(UINT message, WPARAM, LPARAM lParam) override {
        if (message == kEndOfEdit) {
            endEdit();
            return TRUE;
        }
        if (message == WM_NOTIFY) {
            SetWindowLongPtrW(dialog(), DWLP_MSGRESULT, onNotify(*reinterpret_cast<NMHDR*>(lParam)));
            return TRUE;
        }
        return std::nullopt;
    }

    EdlDocument& doc_;
    ReelSortState& sortState_; // lasts as long as the program
    HWND list_ = nullptr;
    HWND edit_ = nullptr;
    int editRow_ = -1;     // the row whose description is being edited, until it is stored
    bool editing_ = false; // the editor is shown
    bool edited_ = false;  // the edit row's cell shows `editedText_` until it is stored
    std::u16string editedText_;
    std::vector<ReelRow> rows_; // what the list shows, in its order: the list asks for each cell
};

} // namespace

INT_PTR runReelInfoDialog(HWND owner, EdlDocument& doc, ReelSortState& sortState) {
    ReelInfoDialog dialog(doc, sortState);
    return dialog.run(owner, IDD_REEL_INFO);
}

} // namespace qlp
