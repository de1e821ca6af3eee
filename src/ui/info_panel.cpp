#include "ui/info_panel.h"

#include "ops/info_texts.h"
#include "resource.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

namespace qlp {

namespace {

constexpr COLORREF kDisabledText = RGB(161, 161, 146);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kShadow = RGB(3, 3, 3);

// Where the parts of the reel line start, in pixels from the cell's left edge (at 96 DPI).
constexpr int kReelLabelX = 5;
constexpr int kReelNameX = 65;
constexpr int kDescriptionLabelX = 165;
constexpr int kDescriptionX = 215;
constexpr int kNoReferenceX = 10;

// Colours, font and alignment of one cell group.
struct CellStyle {
    HBRUSH background;
    COLORREF textColour;
    HFONT font;
    UINT align;
};

CellStyle cellStyle(int id, bool enabled) {
    const PaintTable& p = ui().paint;
    if (id == IDC_HIT_COUNTER)
        return {enabled ? p.green : p.face, enabled ? kWhite : kDisabledText, p.panel, DT_CENTER};
    if (id >= IDC_COUNT_MODE && id <= IDC_OFFSET_CELL)
        return {enabled ? p.black : p.face, enabled ? kYellow : kBlack, p.gui, DT_CENTER};
    if (id == IDC_REEL_LINE)
        return {enabled ? p.black : p.face, enabled ? kWhite : kBlack, p.panel, DT_LEFT};
    return {enabled ? p.white : p.face, enabled ? kBlack : kDisabledText, p.gui, DT_CENTER};
}

void drawText(HDC dc, std::wstring_view text, RECT rect, COLORREF colour, UINT align) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
              align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void drawText(HDC dc, std::u16string_view text, RECT rect, COLORREF colour, UINT align) {
    drawText(dc, std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()), rect, colour, align);
}

// The cell from x pixels (at 96 DPI) right of its left edge.
RECT fromLeft(const RECT& cell, int x) {
    RECT rect = cell;
    rect.left += px(x);
    return rect;
}

// Marker cell k: a black frame around the marker's colour, the current marker's cell outlined with
// an inverting dotted frame, and the marker number once a document is loaded.
void drawMarkerCell(const DRAWITEMSTRUCT& item, int k, bool enabled, const EdlDocument& doc) {
    const PaintTable& p = ui().paint;
    HDC dc = item.hDC;
    const RECT cell = item.rcItem;
    FillRect(dc, &cell, p.black);
    RECT inner = cell;
    InflateRect(&inner, -px(1), -px(1));
    if (enabled) {
        HBRUSH colour = CreateSolidBrush(doc.markerColours[k]);
        FillRect(dc, &inner, colour);
        DeleteObject(colour);
    } else {
        FillRect(dc, &inner, p.face);
    }
    if (k == doc.currentMarker) {
        HPEN pen = CreatePen(PS_DOT, 1, kYellow);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        const int oldRop = SetROP2(dc, R2_NOT);
        Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
        SetROP2(dc, oldRop);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    if (doc.loaded) {
        const wchar_t digit[2] = {static_cast<wchar_t>(L'1' + k), 0};
        HGDIOBJ oldFont = SelectObject(dc, p.gui);
        SetBkMode(dc, TRANSPARENT);
        drawText(dc, std::wstring_view(digit, 1), RECT{px(2), px(3), cell.right, cell.bottom}, kShadow, DT_CENTER);
        drawText(dc, std::wstring_view(digit, 1), cell, kWhite, DT_CENTER);
        SelectObject(dc, oldFont);
    }
}

// The reel line: the reel and reel description of the current event, or "No reference." while no
// document is loaded. Without a current event only the labels are drawn.
void drawReelLine(const DRAWITEMSTRUCT& item, const EdlDocument& doc) {
    HDC dc = item.hDC;
    const RECT& cell = item.rcItem;
    if (!doc.loaded) {
        drawText(dc, kNoReferenceText, fromLeft(cell, kNoReferenceX), kBlack, DT_LEFT);
        return;
    }
    const ReelLineTexts line = reelLineTexts(doc);
    drawText(dc, kReelLabel, fromLeft(cell, kReelLabelX), kWhite, DT_LEFT);
    drawText(dc, kDescriptionLabel, fromLeft(cell, kDescriptionLabelX), kWhite, DT_LEFT);
    if (!line.hasEvent)
        return;
    drawText(dc, line.reel, fromLeft(cell, kReelNameX), kYellow, DT_LEFT);
    if (!line.description.empty())
        drawText(dc, line.description, fromLeft(cell, kDescriptionX), kYellow, DT_LEFT);
}

void invalidate(int id) {
    if (HWND cell = ui().controls[id])
        InvalidateRect(cell, nullptr, TRUE);
}

} // namespace

std::wstring infoCellText(int id, const EdlDocument& doc) {
    return toWide(panelCellText(id, doc));
}

void drawInfoCell(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    const bool enabled = IsWindowEnabled(item.hwndItem) != FALSE;
    const EdlDocument& doc = ui().document;
    if (id >= IDC_MARKER_CELL1 && id <= IDC_MARKER_CELL8) {
        drawMarkerCell(item, id - IDC_MARKER_CELL1, enabled, doc);
        return;
    }
    const CellStyle style = cellStyle(id, enabled);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, style.background);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, style.font);
    if (id == IDC_REEL_LINE) {
        drawReelLine(item, doc);
    } else {
        drawText(dc, panelCellText(id, doc), item.rcItem, style.textColour, style.align);
    }
    SelectObject(dc, oldFont);
}

int markerComboItemHeight() {
    return px(15);
}

void measureMarkerComboItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = markerComboItemHeight();
    item.itemWidth = px(220);
}

void drawMarkerComboItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const PaintTable& p = ui().paint;
    const EdlDocument& doc = ui().document;
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &rect, selected ? p.selection : p.white);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = rect;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
    if (item.itemID < 8) {
        RECT box = {rect.left + px(1), rect.top + px(1), px(16), rect.bottom - px(1)};
        FrameRect(dc, &box, p.black);
        if (!(item.itemState & ODS_DISABLED)) {
            RECT fill = {rect.left + px(2), rect.top + px(2), px(15), rect.bottom - px(2)};
            HBRUSH colour = CreateSolidBrush(doc.markerColours[item.itemID]);
            FillRect(dc, &fill, colour);
            DeleteObject(colour);
        }
    }
    // Each item's data points at the marker's name in the document, so a renamed marker shows at once.
    if (const auto* name = reinterpret_cast<const wchar_t*>(item.itemData)) {
        SetBkMode(dc, TRANSPARENT);
        drawText(dc, std::wstring_view(name), fromLeft(rect, 20), selected ? kWhite : kBlack, DT_LEFT);
    }
}

void onMarkerCellClick(int k) {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded || k < 0 || k >= 8)
        return;
    doc.currentMarker = k;
    repaintMarkerCells();
    UpdateWindow(a.controls.list);
    SetFocus(a.controls.list);
    setStatusText(kStatusBarState, markerSelectionStatus(k, textUpToNul(doc.markerNames[k])));
}

void onOffsetCellClick() {
    SendMessageW(ui().mainWindow, WM_COMMAND, MAKEWPARAM(IDM_OFFSET, 0), 0);
}

void repaintInfoCells() {
    for (int id = IDC_MARKER_CELL1; id <= IDC_DUR_UPPER; ++id)
        invalidate(id);
}

void repaintHitCounter() {
    invalidate(IDC_HIT_COUNTER);
}

void repaintMarkerCells() {
    for (int id = IDC_MARKER_CELL1; id <= IDC_MARKER_CELL8; ++id)
        invalidate(id);
}

void setStatusText(StatusBarPart part, std::u16string_view text) {
    const std::wstring value = toWide(text);
    SendMessageW(ui().controls.status, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(value.c_str()));
}

std::wstring statusText(StatusBarPart part) {
    HWND status = ui().controls.status;
    const int length = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

} // namespace qlp
