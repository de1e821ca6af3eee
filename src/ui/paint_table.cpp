#include "ui/paint_table.h"

#include "resource.h"
#include "screen/window_layout.h"
#include "ui/dpi.h"

#include <initializer_list>

namespace qlp {

namespace {

constexpr COLORREF kTransparent = RGB(192, 192, 192);

HFONT listFace(int height, int width, int weight, int dpi) {
    return CreateFontW(scaleForDpi(height, dpi), scaleForDpi(width, dpi), 0, 0, weight, FALSE, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_DONTCARE, L"MS ゴシック");
}

// The system's default GUI font at the given DPI: the stock object itself at the system DPI (it
// is made for it), otherwise a font of the same face scaled from it.
HFONT guiFont(int dpi, bool& owned) {
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    owned = false;
    const int system = systemDpi();
    LOGFONTW face{};
    if (dpi == system || !GetObjectW(stock, sizeof face, &face))
        return stock;
    face.lfHeight = MulDiv(face.lfHeight, dpi, system);
    face.lfWidth = MulDiv(face.lfWidth, dpi, system);
    HFONT scaled = CreateFontIndirectW(&face);
    if (!scaled)
        return stock;
    owned = true;
    return scaled;
}

HIMAGELIST imageList(HINSTANCE instance, std::initializer_list<int> bitmaps, int dpi) {
    const int size = scaleForDpi(16, dpi);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(bitmaps.size()), 0);
    if (!list)
        return nullptr;
    for (int id : bitmaps) {
        HBITMAP bitmap = loadBitmapForDpi(instance, id, dpi);
        ImageList_AddMasked(list, bitmap, kTransparent);
        DeleteObject(bitmap);
    }
    return list;
}

template <typename T> void deleteObject(T& object) {
    if (object)
        DeleteObject(object);
    object = nullptr;
}

} // namespace

namespace {

// Every bitmap and its versions drawn for 120, 144 and 192 DPI.
struct DrawnVersions {
    int at96, at120, at144, at192;
};
constexpr DrawnVersions kDrawnVersions[] = {
    {IDB_MEMO, IDB_MEMO_120, IDB_MEMO_144, IDB_MEMO_192},
    {IDB_TAB_FROM_EDL, IDB_TAB_FROM_EDL_120, IDB_TAB_FROM_EDL_144, IDB_TAB_FROM_EDL_192},
    {IDB_TAB_MODIFIED, IDB_TAB_MODIFIED_120, IDB_TAB_MODIFIED_144, IDB_TAB_MODIFIED_192},
    {IDB_TAB_SAVED, IDB_TAB_SAVED_120, IDB_TAB_SAVED_144, IDB_TAB_SAVED_192},
    {IDB_OFFSET_ARROW, IDB_OFFSET_ARROW_120, IDB_OFFSET_ARROW_144, IDB_OFFSET_ARROW_192},
    {IDB_OFFSET_ARROW_PRESSED, IDB_OFFSET_ARROW_PRESSED_120, IDB_OFFSET_ARROW_PRESSED_144,
     IDB_OFFSET_ARROW_PRESSED_192},
    {IDB_SORT_DESCENDING, IDB_SORT_DESCENDING_120, IDB_SORT_DESCENDING_144, IDB_SORT_DESCENDING_192},
    {IDB_SORT_ASCENDING, IDB_SORT_ASCENDING_120, IDB_SORT_ASCENDING_144, IDB_SORT_ASCENDING_192},
    {IDB_SORT_NONE, IDB_SORT_NONE_120, IDB_SORT_NONE_144, IDB_SORT_NONE_192},
    {IDB_ABOUT, IDB_ABOUT_120, IDB_ABOUT_144, IDB_ABOUT_192},
};

int drawnVersionId(int id, int drawnDpi) {
    for (const DrawnVersions& v : kDrawnVersions)
        if (v.at96 == id)
            return drawnDpi == 120 ? v.at120 : drawnDpi == 144 ? v.at144 : drawnDpi == 192 ? v.at192 : v.at96;
    return id;
}

} // namespace

HBITMAP loadBitmapForDpi(HINSTANCE instance, int id, int dpi) {
    const PictureChoice choice = choosePicture(dpi);
    HBITMAP picture = LoadBitmapW(instance, MAKEINTRESOURCEW(drawnVersionId(id, choice.drawnDpi)));
    BITMAP info{};
    if (!picture || !GetObjectW(picture, sizeof info, &info))
        return picture;
    const int width = scaleForDpi(unscaleForDpi(info.bmWidth, choice.drawnDpi), dpi);
    const int height = scaleForDpi(unscaleForDpi(info.bmHeight, choice.drawnDpi), dpi);
    const int shownWidth = info.bmWidth * choice.repeat, shownHeight = info.bmHeight * choice.repeat;
    if (shownWidth == width && shownHeight == height && choice.repeat == 1)
        return picture;
    // A version repeated a whole number of times, or one smaller than the size asked for, centred in
    // it on the transparent colour.
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP shown = CreateCompatibleBitmap(screen, width, height);
    if (from && to && shown) {
        HGDIOBJ oldFrom = SelectObject(from, picture);
        HGDIOBJ oldTo = SelectObject(to, shown);
        HBRUSH transparent = CreateSolidBrush(kTransparent);
        const RECT all{0, 0, width, height};
        FillRect(to, &all, transparent);
        DeleteObject(transparent);
        // COLORONCOLOR copies whole pixels: with a whole factor each picture pixel covers the same
        // square of screen pixels, never blended with its neighbours.
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, (width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth, shownHeight, from, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    ReleaseDC(nullptr, screen);
    if (!shown)
        return picture;
    DeleteObject(picture);
    return shown;
}

void createPaintObjects(PaintTable& p, int dpi) {
    p.selection = CreateSolidBrush(RGB(0, 20, 255));
    p.window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    p.face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    p.yellow = CreateSolidBrush(RGB(255, 255, 0));
    p.black = CreateSolidBrush(RGB(0, 0, 0));
    p.white = CreateSolidBrush(RGB(255, 255, 255));
    p.grey = CreateSolidBrush(RGB(230, 230, 230));
    p.green = CreateSolidBrush(RGB(0, 70, 40));
    p.memo = CreateSolidBrush(RGB(255, 255, 255));
    createFonts(p, dpi);
}

void createFonts(PaintTable& p, int dpi) {
    p.gui = guiFont(dpi, p.ownsGui);
    p.list = listFace(22, 11, FW_NORMAL, dpi);
    p.listBold = listFace(22, 10, FW_BOLD, dpi);
    p.panel = listFace(16, 8, FW_NORMAL, dpi);
}

void destroyFonts(PaintTable& p) {
    if (p.ownsGui)
        deleteObject(p.gui);
    p.gui = nullptr; // a stock object is never deleted
    p.ownsGui = false;
    deleteObject(p.list);
    deleteObject(p.listBold);
    deleteObject(p.panel);
}

void createImageLists(PaintTable& p, HINSTANCE instance, int dpi) {
    p.rowIcons = imageList(instance, {IDB_MEMO}, dpi);
    p.headerArrows = imageList(instance, {IDB_SORT_DESCENDING, IDB_SORT_ASCENDING, IDB_SORT_NONE}, dpi);
    p.tabStates = imageList(instance, {IDB_TAB_SAVED, IDB_TAB_FROM_EDL, IDB_TAB_MODIFIED}, dpi);
}

void destroyImageLists(PaintTable& p) {
    for (HIMAGELIST* list : {&p.rowIcons, &p.headerArrows, &p.tabStates}) {
        if (*list)
            ImageList_Destroy(*list);
        *list = nullptr;
    }
}

void createWindowIcons(PaintTable& p, HINSTANCE instance, int dpi) {
    p.bigIcon = loadIconAtSize(instance, IDI_APP, systemMetricForDpi(SM_CXICON, dpi));
    p.smallIcon = loadIconAtSize(instance, IDI_APP_SMALL, systemMetricForDpi(SM_CXSMICON, dpi));
}

void destroyWindowIcons(PaintTable& p) {
    for (HICON* icon : {&p.bigIcon, &p.smallIcon}) {
        if (*icon)
            DestroyIcon(*icon);
        *icon = nullptr;
    }
}

void destroyPaintTable(PaintTable& p) {
    for (HBRUSH* brush : {&p.selection, &p.window, &p.face, &p.yellow, &p.black, &p.white, &p.grey, &p.green, &p.memo})
        deleteObject(*brush);
    destroyFonts(p);
    destroyImageLists(p);
    destroyWindowIcons(p);
}

} // namespace qlp
