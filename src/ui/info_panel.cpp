#include "ui/info_panel.h"

#include "app/app_state.h"
#include "resource.h"
#include "ui/ui_texts.h"
#include "ui/wide.h"

namespace qlp {

namespace {

constexpr COLORREF kDisabledText = RGB(161, 161, 146);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Colours, font and alignment of one cell group.
struct CellStyle {
    HBRUSH background;
    COLORREF textColour;
    HFONT font;
    UINT align;
};

CellStyle cellStyle(int id, bool enabled) {
    const PaintTable& p = app().paint;
    if (id == IDC_HIT_COUNTER)
        return {enabled ? p.green : p.face, enabled ? kWhite : kDisabledText, p.panel, DT_CENTER};
    if (id >= IDC_COUNT_MODE && id <= IDC_OFFSET_CELL)
        return {enabled ? p.black : p.face, enabled ? kYellow : kBlack, p.gui, DT_CENTER};
    if (id == IDC_REEL_LINE)
        return {enabled ? p.black : p.face, enabled ? kWhite : kBlack, p.panel, DT_LEFT};
    return {enabled ? p.white : p.face, enabled ? kBlack : kDisabledText, p.gui, DT_CENTER};
}

void drawText(HDC dc, const std::wstring& text, RECT rect, COLORREF colour, UINT align) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), -1, &rect, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// Marker cell k: a black frame around the marker's colour, the current marker's cell outlined with
// an inverting dotted frame, and the marker number once a document is loaded.
void drawMarkerCell(const DRAWITEMSTRUCT& item, int k, bool enabled, const EdlDocument& doc) {
    const PaintTable& p = app().paint;
    HDC dc = item.hDC;
    RECT cell = item.rcItem;
    FillRect(dc, &cell, p.black);
    RECT inner = cell;
    InflateRect(&inner, -1, -1);
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
        drawText(dc, digit, RECT{2, 3, cell.right, cell.bottom}, RGB(3, 3, 3), DT_CENTER);
        drawText(dc, digit, cell, kWhite, DT_CENTER);
        SelectObject(dc, oldFont);
    }
}

// The reel line: the reel and reel description of the current event, or "No reference.".
// The reel and description of the current event come with the document's contents; until one is
// loaded the line says so.
void drawReelLine(const DRAWITEMSTRUCT& item, const EdlDocument& doc) {
    if (doc.loaded)
        return;
    RECT rect = item.rcItem;
    rect.left += 10;
    drawText(item.hDC, text::kNoReference, rect, kBlack, DT_LEFT);
}

} // namespace

std::wstring infoCellText(int id, const EdlDocument& doc) {
    if (!doc.loaded) {
        switch (id) {
        case IDC_HIT_COUNTER:
            return {};
        case IDC_COUNT_MODE:
            return text::kNoCountMode;
        case IDC_EDIT_COUNT:
        case IDC_REEL_COUNT:
            return text::kNoCount;
        default:
            return text::kNoTimecode; // the offset and the six search timecodes
        }
    }
    return {}; // the document's own texts come with the information panel's contents
}

void drawInfoCell(const DRAWITEMSTRUCT& item) {
    const int id = static_cast<int>(item.CtlID);
    const bool enabled = IsWindowEnabled(item.hwndItem) != FALSE;
    const EdlDocument& doc = app().document;
    if (id >= IDC_MARKER_CELL1 && id <= IDC_MARKER_CELL8) {
        drawMarkerCell(item, id - IDC_MARKER_CELL1, enabled, doc);
        return;
    }
    const CellStyle style = cellStyle(id, enabled);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, style.background);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, style.font);
    if (id == IDC_REEL_LINE)
        drawReelLine(item, doc);
    else
        drawText(dc, infoCellText(id, doc), item.rcItem, style.textColour, style.align);
    SelectObject(dc, oldFont);
}

void measureMarkerComboItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = 15;
    item.itemWidth = 220;
}

void drawMarkerComboItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const PaintTable& p = app().paint;
    const EdlDocument& doc = app().document;
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
        RECT box = {rect.left + 1, rect.top + 1, 16, rect.bottom - 1};
        FrameRect(dc, &box, p.black);
        if (!(item.itemState & ODS_DISABLED)) {
            RECT fill = {rect.left + 2, rect.top + 2, 15, rect.bottom - 2};
            HBRUSH colour = CreateSolidBrush(doc.markerColours[item.itemID]);
            FillRect(dc, &fill, colour);
            DeleteObject(colour);
        }
    }
    // Each item's data points at the marker's name in the document, so a renamed marker shows at once.
    if (const auto* name = reinterpret_cast<const char16_t*>(item.itemData)) {
        RECT textRect = rect;
        textRect.left += 20;
        SetBkMode(dc, TRANSPARENT);
        drawText(dc, wide(name), textRect, selected ? kWhite : kBlack, DT_LEFT);
    }
}

} // namespace qlp
