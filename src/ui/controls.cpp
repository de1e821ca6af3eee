#include "ui/controls.h"

#include "resource.h"
#include "screen/window_layout.h"
#include "ui/info_panel.h"
#include "ui/paint_table.h"
#include "ui/ui_state.h"
#include "ui/ui_texts.h"

#include <commctrl.h>

#include <iterator>

namespace qlp {

namespace {

struct ControlDef {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD exStyle;
    DWORD style;
};

constexpr DWORD kPushButton = WS_CHILD | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_CHILD | WS_TABSTOP | BS_FLAT | BS_LEFT | BS_AUTOCHECKBOX;
constexpr DWORD kComboBox = WS_CHILD | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL;
constexpr DWORD kLabel = WS_CHILD;
constexpr DWORD kSunkenCell = WS_CHILD | WS_BORDER | SS_SUNKEN | SS_NOTIFY | SS_OWNERDRAW;
constexpr DWORD kCounterCell = WS_CHILD | WS_BORDER | SS_CENTERIMAGE | SS_OWNERDRAW;
constexpr DWORD kRule = WS_CHILD | SS_NOTIFY | SS_ETCHEDHORZ;

// Every child in creation order; the order fixes the z-order.
const ControlDef kControls[] = {
    {IDC_TAB, WC_TABCONTROLW, L"", 0, WS_CHILD | WS_TABSTOP | TCS_FOCUSNEVER | TCS_HOTTRACK},
    {IDC_LIST, WC_LISTVIEWW, L"", WS_EX_CONTROLPARENT,
     WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | LVS_ALIGNLEFT |
         LVS_OWNERDATA},
    {IDC_MEMO, WC_EDITW, L"", WS_EX_STATICEDGE, WS_CHILD | WS_VSCROLL | ES_MULTILINE},
    {IDC_WRITE_MEMO, WC_BUTTONW, text::kWriteMemo, 0, kPushButton | WS_TABSTOP},
    {IDC_TOGGLE_COMMENT, WC_BUTTONW, text::kToggleComment, 0, kPushButton | WS_TABSTOP},
    {IDC_SEARCH, WC_BUTTONW, text::kSearch, 0, kPushButton | WS_TABSTOP},
    {IDC_CLEAR_SEARCH, WC_BUTTONW, text::kClearSearch, 0, kPushButton},
    {IDC_LAYOUT1, WC_BUTTONW, L"1", 0, kPushButton},
    {IDC_LAYOUT1 + 1, WC_BUTTONW, L"2", 0, kPushButton},
    {IDC_LAYOUT1 + 2, WC_BUTTONW, L"3", 0, kPushButton},
    {IDC_LAYOUT1 + 3, WC_BUTTONW, L"4", 0, kPushButton},
    {IDC_OFFSET, WC_BUTTONW, text::kOffset, 0, kPushButton},
    {IDC_MARKER, WC_BUTTONW, text::kMarker, 0, kPushButton},
    {IDC_SIMPLE_NOTES, WC_BUTTONW, text::kSimpleNotes, 0, kPushButton},
    {IDC_REEL_INFO, WC_BUTTONW, text::kReelInfo, 0, kPushButton},
    {IDC_CHECK_REEL, WC_BUTTONW, text::kCheckReel, 0, kCheckBox},
    {IDC_CHECK_SOURCE, WC_BUTTONW, text::kCheckSource, 0, kCheckBox},
    {IDC_CHECK_RECORD, WC_BUTTONW, text::kCheckRecord, 0, kCheckBox},
    {IDC_CHECK_DURATION, WC_BUTTONW, text::kCheckDuration, 0, kCheckBox},
    {IDC_CHECK_MARKER, WC_BUTTONW, text::kCheckMarker, 0, kCheckBox},
    {IDC_SRC_LOWER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_SRC_UPPER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_REC_LOWER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_REC_UPPER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_DUR_LOWER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_DUR_UPPER_OP, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_SEARCH_REEL, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_SEARCH_MARKER, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, WS_CHILD | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED},
    {IDC_VIEW, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_VIEW_REEL, WC_COMBOBOXW, L"", WS_EX_CLIENTEDGE, kComboBox},
    {IDC_LABEL_COUNT, WC_STATICW, text::kLabelCount, 0, kLabel},
    {IDC_LABEL_REELS, WC_STATICW, text::kLabelReels, 0, kLabel},
    {IDC_LABEL_EDITS, WC_STATICW, text::kLabelEdits, 0, kLabel},
    {IDC_LABEL_VIEW, WC_STATICW, text::kLabelView, 0, kLabel},
    {IDC_LABEL_COLUMNS, WC_STATICW, text::kLabelColumns, 0, kLabel},
    {IDC_MARKER_CELL1, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 1, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 2, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 3, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 4, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 5, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 6, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_MARKER_CELL1 + 7, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_REEL_LINE, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell | SS_NOTIFY},
    {IDC_EDIT_COUNT, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell},
    {IDC_OFFSET_CELL, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell | SS_NOTIFY},
    {IDC_COUNT_MODE, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell},
    {IDC_HIT_COUNTER, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell},
    {IDC_REEL_COUNT, WC_STATICW, L"", WS_EX_CLIENTEDGE, kCounterCell},
    {IDC_SRC_LOWER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_SRC_UPPER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_REC_LOWER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_REC_UPPER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_DUR_LOWER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_DUR_UPPER, WC_STATICW, L"", WS_EX_STATICEDGE, kSunkenCell},
    {IDC_RULE_TOP, WC_STATICW, L"", 0, kRule},
    {IDC_RULE_RIGHT, WC_STATICW, L"", 0, kRule},
    {IDC_RULE_LEFT, WC_STATICW, L"", 0, kRule},
    {IDC_STATUS, STATUSCLASSNAMEW, L"", 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP},
};

void setFont(HWND control, HFONT font) {
    send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

} // namespace

void send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageW(control, message, wParam, lParam);
}

void showEnabled(HWND control, bool visible, bool enabled) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    EnableWindow(control, enabled);
}

bool createControls(HWND main, HINSTANCE instance, ControlTable& controls) {
    controls.main = main;
    for (const ControlDef& def : kControls) {
        const int height = def.id == IDC_STATUS ? px(13) : 0;
        HWND hwnd = CreateWindowExW(def.exStyle, def.className, def.text, def.style, 0, 0, 0, height, main,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), instance, nullptr);
        if (!hwnd)
            return false;
        controls.byId[def.id] = hwnd;
    }
    controls.tab = controls[IDC_TAB];
    controls.list = controls[IDC_LIST];
    controls.memo = controls[IDC_MEMO];
    controls.status = controls[IDC_STATUS];
    return true;
}

void assignFonts(const ControlTable& c, const PaintTable& paint) {
    // The list passes its font on to its header, so the header gets the GUI font afterwards.
    setFont(c.list, paint.list);
    const int guiFontIds[] = {IDC_TAB,          IDC_MEMO,          IDC_SRC_LOWER_OP, IDC_SRC_UPPER_OP,
                              IDC_REC_LOWER_OP, IDC_REC_UPPER_OP,  IDC_DUR_LOWER_OP, IDC_DUR_UPPER_OP,
                              IDC_SEARCH_REEL,  IDC_SEARCH_MARKER, IDC_VIEW,         IDC_VIEW_REEL,
                              IDC_COUNT_MODE,   IDC_EDIT_COUNT,    IDC_REEL_COUNT,   IDC_OFFSET_CELL};
    for (int id : guiFontIds)
        setFont(c[id], paint.gui);
    setFont(c.header, paint.gui);
    for (int id = IDC_WRITE_MEMO; id <= IDC_REEL_INFO; ++id)
        setFont(c[id], paint.gui);
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        setFont(c[id], paint.gui);
    for (int id = IDC_LABEL_COUNT; id <= IDC_LABEL_COLUMNS; ++id)
        setFont(c[id], paint.gui);
    for (int id = IDC_SRC_LOWER; id <= IDC_DUR_UPPER; ++id)
        setFont(c[id], paint.gui);
    setFont(c[IDC_HIT_COUNTER], paint.panel);
    setFont(c[IDC_REEL_LINE], paint.panel);
}

void showInitialControlStates(const ControlTable& c) {
    showEnabled(c.tab, false, false);
    showEnabled(c.list, false, false);
    for (int id = IDC_RULE_TOP; id <= IDC_RULE_LEFT; ++id)
        showEnabled(c[id], true, true);
    for (int id = IDC_WRITE_MEMO; id <= IDC_REEL_INFO; ++id)
        showEnabled(c[id], true, false);
    send(c.memo, EM_SETLIMITTEXT, 800);
    applyDpiToControls(c);
    showEnabled(c.memo, true, false);
    for (int id = IDC_MARKER_CELL1; id <= IDC_DUR_UPPER; ++id)
        showEnabled(c[id], true, false);
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        showEnabled(c[id], true, false);
    for (int id = IDC_SRC_LOWER_OP; id <= IDC_VIEW_REEL; ++id)
        showEnabled(c[id], true, false);
    for (int id = IDC_LABEL_COUNT; id <= IDC_LABEL_COLUMNS; ++id)
        showEnabled(c[id], true, true);
    showEnabled(c.status, true, true);
}

void applyDpiToControls(const ControlTable& c) {
    send(c.memo, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(px(4), px(4)));
    int edges[3] = {px(100), px(800), px(2000)};
    send(c.status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    // The marker combo box measured its items once, when it was created.
    for (int item : {-1, 0})
        send(c[IDC_SEARCH_MARKER], CB_SETITEMHEIGHT, static_cast<WPARAM>(item), markerComboItemHeight());
}

void initStatusBar(const ControlTable& c) {
    applyDpiToControls(c);
    send(c.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text::kStatusNoFiles));
    send(c.status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text::kStatusNoLocation));
    send(c.status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(text::kStatusWaiting));
}

void fillFixedComboItems(const ControlTable& c) {
    auto fill = [&](int id, const wchar_t* const* items, size_t count) {
        for (size_t i = 0; i < count; ++i)
            send(c[id], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    };
    for (int id : {IDC_SRC_LOWER_OP, IDC_REC_LOWER_OP, IDC_DUR_LOWER_OP})
        fill(id, text::kLowerOps, std::size(text::kLowerOps));
    for (int id : {IDC_SRC_UPPER_OP, IDC_REC_UPPER_OP, IDC_DUR_UPPER_OP})
        fill(id, text::kUpperOps, std::size(text::kUpperOps));
    fill(IDC_VIEW, text::kViews, std::size(text::kViews));
}

void layoutControls(const ControlTable& c, int clientWidth, int clientHeight, int dpi) {
    for (const ControlPlacement& p : layoutMainWindow(clientWidth, clientHeight, dpi))
        MoveWindow(c[p.id], p.x, p.y, p.width, p.height, TRUE);
}

} // namespace qlp
