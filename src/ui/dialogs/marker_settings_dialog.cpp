#include "ui/dialogs/marker_settings_dialog.h"

#include "ops/markers.h"
#include "ops/single_line.h"
#include "resource.h"
#include "ui/dialogs/modal_dialog.h"
#include "ui/modal.h"
#include "ui/subclass.h"
#include "ui/wide.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <string>

namespace qlp {

namespace {

// Sent to the dialog by a description edit when Enter is typed in it; wParam is the kind.
constexpr UINT kTakeDescription = WM_APP + 2;
constexpr COLORREF kDigitShadow = RGB(3, 3, 3);
constexpr COLORREF kCurrentFrame = RGB(255, 255, 0);

constexpr std::array<int, kMarkerKinds> kBoxIds = {IDC_MARKER_BOX1, IDC_MARKER_BOX2, IDC_MARKER_BOX3, IDC_MARKER_BOX4,
                                                   IDC_MARKER_BOX5, IDC_MARKER_BOX6, IDC_MARKER_BOX7, IDC_MARKER_BOX8};
constexpr std::array<int, kMarkerKinds> kNameIds = {IDC_MARKER_NAME1, IDC_MARKER_NAME2, IDC_MARKER_NAME3,
                                                    IDC_MARKER_NAME4, IDC_MARKER_NAME5, IDC_MARKER_NAME6,
                                                    IDC_MARKER_NAME7, IDC_MARKER_NAME8};

int kindOf(const std::array<int, kMarkerKinds>& ids, int id) {
    for (int k = 0; k < kMarkerKinds; ++k)
        if (ids[static_cast<size_t>(k)] == id)
            return k;
    return -1;
}

// Ctrl+A selects the whole description; Enter hands it to the dialog at once and stays out of
// the text, which is one line.
std::optional<LRESULT> nameEditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM, DWORD_PTR) {
    if (message == WM_CHAR && wParam == 1) { // Ctrl+A
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_CHAR && wParam == VK_RETURN) {
        SendMessageW(GetParent(edit), kTakeDescription, static_cast<WPARAM>(kindOf(kNameIds, GetDlgCtrlID(edit))), 0);
        return 0;
    }
    return std::nullopt;
}

void frame(HDC dc, const RECT& r, HPEN pen, int rop) {
    const int oldRop = SetROP2(dc, rop);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SetROP2(dc, oldRop);
}

class MarkerSettingsDialog : public ModalDialog {
public:
    MarkerSettingsDialog(EdlDocument& doc, int& pickedBox) : doc_(doc), pickedBox_(pickedBox) {}
    using ModalDialog::run;

private:
    bool onInit() override {
        for (int k = 0; k < kMarkerKinds; ++k) {
            HWND edit = item(kNameIds[static_cast<size_t>(k)]);
            SendMessageW(edit, EM_LIMITTEXT, kMarkerNameChars, 0);
            subclassControl(edit, nameEditMessage);
            const std::wstring name = toWide(fixedBufferText(doc_.markerNames[k], std::size(doc_.markerNames[k])));
            SetWindowTextW(edit, name.c_str());
        }
        edit_ = beginMarkerSettings(doc_);
        return true;
    }

    std::u16string nameText(int k) const { return entryText(kNameIds[static_cast<size_t>(k)], kMarkerNameChars); }

    // A colour box: black edge, the working colour inside, the shadowed digit of the kind, and the
    // frames of the current marker and of the box picked last.
    void drawBox(const DRAWITEMSTRUCT& draw) const {
        const int k = kindOf(kBoxIds, static_cast<int>(draw.CtlID));
        if (k < 0)
            return;
        HDC dc = draw.hDC;
        const RECT box = draw.rcItem;
        auto s = [this](int pixels) { return scaled(pixels); }; // 96-DPI pixels at the dialog's display
        HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        FillRect(dc, &box, black);
        DeleteObject(black);
        RECT inner = box;
        InflateRect(&inner, -s(1), -s(1));
        HBRUSH colour = CreateSolidBrush(edit_.colours[static_cast<size_t>(k)]);
        FillRect(dc, &inner, colour);
        DeleteObject(colour);

        const wchar_t digit[2] = {static_cast<wchar_t>(L'1' + k), L'\0'};
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog(), WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        RECT shadow{s(2), s(2), box.right, box.bottom};
        SetTextColor(dc, kDigitShadow);
        DrawTextW(dc, digit, 1, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        RECT face{0, 0, box.right, box.bottom};
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, digit, 1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);

        if (k == doc_.currentMarker) {
            // A 2-pixel pen centred on a rectangle one pixel in covers the two outer pixel rings.
            HPEN yellow = CreatePen(PS_SOLID, s(2), kCurrentFrame);
            frame(dc, RECT{box.left + s(1), box.top + s(1), box.right, box.bottom}, yellow, R2_COPYPEN);
            DeleteObject(yellow);
        }
        if (k == pickedBox_) {
            HPEN dotted = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
            frame(dc, box, dotted, R2_NOT);
            DeleteObject(dotted);
        }
    }

    void repaintBox(int k) const {
        HWND box = item(kBoxIds[static_cast<size_t>(k)]);
        InvalidateRect(box, nullptr, TRUE);
        UpdateWindow(box);
    }

    // The picker starts from the document's colour of the kind and shows the document's custom
    // colours, which it keeps even when the dialog is cancelled later.
    void onBoxClick(int k) {
        const int previous = pickedBox_;
        pickedBox_ = k;
        repaintBox(previous);
        std::array<COLORREF, 16> custom{};
        std::copy(std::begin(doc_.customColours), std::end(doc_.customColours), custom.begin());
        CHOOSECOLORW picker{};
        picker.lStructSize = sizeof picker;
        picker.hwndOwner = dialog();
        picker.rgbResult = pickerStartColour(doc_, k);
        picker.lpCustColors = custom.data();
        picker.Flags = CC_FULLOPEN | CC_RGBINIT;
        const bool chosen = runColourDialog(picker);
        std::array<uint32_t, 16> kept{};
        std::copy(custom.begin(), custom.end(), kept.begin());
        keepCustomColours(doc_, kept);
        applyPickedColour(doc_, edit_, k, chosen, picker.rgbResult);
        repaintBox(k);
    }

    void onOk() override {
        std::array<std::u16string, kMarkerKinds> texts;
        std::array<std::u16string_view, kMarkerKinds> names;
        for (int k = 0; k < kMarkerKinds; ++k) {
            texts[static_cast<size_t>(k)] = nameText(k);
            names[static_cast<size_t>(k)] = texts[static_cast<size_t>(k)];
        }
        acceptMarkerSettings(doc_, edit_, names);
        end(IDOK);
    }

    void onCommand(int id, int code) override {
        if (const int k = kindOf(kBoxIds, id); k >= 0 && code == STN_CLICKED)
            onBoxClick(k);
    }

    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DRAWITEM) {
            drawBox(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (message == kTakeDescription) {
            takeMarkerName(doc_, static_cast<int>(wParam), nameText(static_cast<int>(wParam)));
            SetFocus(dialog());
            return TRUE;
        }
        return std::nullopt;
    }

    EdlDocument& doc_;
    int& pickedBox_; // keeps its dotted frame from one opening to the next
    MarkerSettingsEdit edit_;
};

} // namespace

INT_PTR runMarkerSettingsDialog(HWND owner, EdlDocument& doc, int& pickedBox) {
    MarkerSettingsDialog dialog(doc, pickedBox);
    return dialog.run(owner, IDD_MARKER_SETTINGS);
}

} // namespace qlp
