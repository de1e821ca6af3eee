#include "ui/list_columns.h"

#include "screen/window_layout.h"
#include "ui/registry.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <commctrl.h>

namespace qlp {

bool RegistryColumnStore::openKey(std::u16string_view subKey, bool& created) {
    RegistryKey key(HKEY_CURRENT_USER, kSettingsKey, toWide(subKey), &created);
    return static_cast<bool>(key);
}

bool RegistryColumnStore::read(std::u16string_view subKey, std::u16string_view name, std::vector<uint8_t>& bytes,
                               size_t maxSize) {
    RegistryKey key(HKEY_CURRENT_USER, kSettingsKey, toWide(subKey));
    return key && readRegistryBytes(key.get(), toWide(name), bytes, maxSize);
}

bool RegistryColumnStore::write(std::u16string_view subKey, std::u16string_view name,
                                const std::vector<uint8_t>& bytes) {
    RegistryKey key(HKEY_CURRENT_USER, kSettingsKey, toWide(subKey));
    return key && writeRegistryBinary(key.get(), toWide(name), bytes.data(), bytes.size());
}

void createListColumns(HWND list) {
    RegistryColumnStore store;
    writeColumnDefaults(store);

    const ColumnLayout defaults = defaultColumnLayout();
    for (int i = 0; i < kColumnCount; ++i) {
        std::wstring header = toWide(kColumnSpecs[i].header);
        LVCOLUMNW column{};
        column.fmt = kColumnSpecs[i].align == ColumnAlign::Centre ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.pszText = header.data();
        if (i == 0) {
            // Column 0 gets its width when a document is shown.
            column.mask = LVCF_FMT | LVCF_TEXT;
        } else {
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | LVCF_ORDER;
            column.cx = px(defaults.width[i]);
            column.iSubItem = i;
            column.iOrder = i;
        }
        ListView_InsertColumn(list, i, &column);
    }
    applyColumnOrder(list, defaults);
}

ColumnLayout readListLayout(HWND list) {
    ColumnLayout layout{};
    int order[kColumnCount] = {};
    ListView_GetColumnOrderArray(list, kColumnCount, order);
    for (int i = 0; i < kColumnCount; ++i) {
        layout.order[i] = order[i];
        layout.width[i] = unscaleForDpi(ListView_GetColumnWidth(list, i), ui().dpi);
    }
    return layout;
}

void applyColumnWidths(HWND list, const ColumnLayout& layout) {
    for (int i = 0; i < kColumnCount; ++i)
        ListView_SetColumnWidth(list, i, px(appliedColumnWidth(layout.width[i])));
}

void applyColumnOrder(HWND list, const ColumnLayout& layout) {
    int order[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i)
        order[i] = layout.order[i];
    ListView_SetColumnOrderArray(list, kColumnCount, order);
}

void applyStoredColumnLayout(EdlDocument& doc, HWND list) {
    RegistryColumnStore store;
    loadColumnMemories(doc, store);
    const ColumnLayout layout = columnMemory(doc, doc.currentLayout);
    applyColumnWidths(list, layout);
    applyColumnOrder(list, layout);
}

void registerColumnLayout(int k) {
    UiState& a = ui();
    // The memories belong to a document; without one there is nothing to register into.
    if (!a.document.loaded)
        return;
    RegistryColumnStore store;
    registerColumnMemory(a.document, k, readListLayout(a.controls.list), store);
    markDocumentModified();
    SetFocus(a.controls.list);
}

void recallColumnLayout(int k) {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded || k < 0 || k >= kLayoutCount)
        return;
    const int view = doc.currentView;
    if (view >= 0 && view < kViewCount && doc.currentRow[view] != -1) {
        HWND list = a.controls.list;
        ShowWindow(list, SW_HIDE);
        doc.currentLayout = k;
        const ColumnLayout layout = columnMemory(doc, k);
        applyColumnOrder(list, layout);
        applyColumnWidths(list, layout);
        UpdateWindow(list);
        ShowWindow(list, SW_SHOW);
    }
    markDocumentModified();
    SetFocus(a.controls.list);
}

void onColumnLayoutButton(int k) {
    if (GetKeyState(VK_CONTROL) < 0)
        registerColumnLayout(k);
    else
        recallColumnLayout(k);
}

void resetColumnLayouts() {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    RegistryColumnStore store;
    resetColumnMemories(doc, store);
    const ColumnLayout layout = columnMemory(doc, doc.currentLayout);
    HWND list = a.controls.list;
    applyColumnWidths(list, layout);
    applyColumnOrder(list, layout);
    InvalidateRect(list, nullptr, TRUE);
    SetFocus(list);
}

} // namespace qlp
