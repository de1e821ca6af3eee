#include "ui/paint_table.h"

#include "resource.h"

#include <initializer_list>

namespace qlp {

namespace {

constexpr COLORREF kTransparent = RGB(192, 192, 192);

HFONT listFace(int height, int width, int weight) {
    return CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_DONTCARE, L"MS ゴシック");
}

HIMAGELIST imageList(HINSTANCE instance, std::initializer_list<int> bitmaps) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, static_cast<int>(bitmaps.size()), 0);
    if (!list)
        return nullptr;
    for (int id : bitmaps) {
        HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(id));
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

void createPaintObjects(PaintTable& p) {
    p.selection = CreateSolidBrush(RGB(0, 20, 255));
    p.window = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    p.face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    p.yellow = CreateSolidBrush(RGB(255, 255, 0));
    p.black = CreateSolidBrush(RGB(0, 0, 0));
    p.white = CreateSolidBrush(RGB(255, 255, 255));
    p.grey = CreateSolidBrush(RGB(230, 230, 230));
    p.green = CreateSolidBrush(RGB(0, 70, 40));
    p.memo = CreateSolidBrush(RGB(255, 255, 255));
    p.gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    p.list = listFace(22, 11, FW_NORMAL);
    p.listBold = listFace(22, 10, FW_BOLD);
    p.panel = listFace(16, 8, FW_NORMAL);
}

void createImageLists(PaintTable& p, HINSTANCE instance) {
    p.rowIcons = imageList(instance, {IDB_MEMO});
    p.headerArrows = imageList(instance, {IDB_SORT_DESCENDING, IDB_SORT_ASCENDING, IDB_SORT_NONE});
    p.tabStates = imageList(instance, {IDB_TAB_SAVED, IDB_TAB_FROM_EDL, IDB_TAB_MODIFIED});
}

void destroyPaintTable(PaintTable& p) {
    for (HBRUSH* brush : {&p.selection, &p.window, &p.face, &p.yellow, &p.black, &p.white, &p.grey, &p.green, &p.memo})
        deleteObject(*brush);
    p.gui = nullptr; // a stock object is never deleted
    deleteObject(p.list);
    deleteObject(p.listBold);
    deleteObject(p.panel);
    for (HIMAGELIST* list : {&p.rowIcons, &p.headerArrows, &p.tabStates}) {
        if (*list)
            ImageList_Destroy(*list);
        *list = nullptr;
    }
}

} // namespace qlp
