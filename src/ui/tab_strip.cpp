#include "ui/tab_strip.h"

#include "ops/tab_commands.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <commctrl.h>

namespace qlp {

std::wstring tabLabel(const TabEntry& entry) {
    const std::wstring path = toWide(entry.path);
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void setTabLabel(HWND tab, const TabEntry& entry) {
    std::wstring label = tabLabel(entry);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = label.data();
    item.iImage = entry.saveState;
    TabCtrl_SetItem(tab, entry.tabIndex, &item);
}

void rebuildTabStrip(HWND tab, TabList& tabs) {
    // The strip is redrawn once, after the last insertion.
    SendMessageW(tab, WM_SETREDRAW, FALSE, 0);
    TabCtrl_DeleteAllItems(tab);
    for (const TabEntry* entry = tabs.first(); entry; entry = entry->next) {
        std::wstring label = tabLabel(*entry);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = label.data();
        item.iImage = entry->saveState;
        TabCtrl_InsertItem(tab, entry->tabIndex, &item);
    }
    SendMessageW(tab, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tab, nullptr, TRUE);
}

void selectTab(HWND tab, const TabEntry* entry) {
    if (!entry)
        return;
    // Selecting first makes the focus change below a no-op for the selection: moving the focus to
    // another tab than the selected one would select it and notify the window.
    TabCtrl_SetCurSel(tab, entry->tabIndex);
    TabCtrl_SetCurFocus(tab, entry->tabIndex);
}

TabEntry* entryAtTab(TabList& tabs, int index) {
    for (TabEntry* entry = tabs.first(); entry; entry = entry->next)
        if (entry->tabIndex == index)
            return entry;
    return nullptr;
}

void markDocumentModified() {
    UiState& a = ui();
    if (TabEntry* entry = a.currentEntry; entry && entry->saveState == kSaved) {
        entry->saveState = kModified;
        setTabLabel(a.controls.tab, *entry);
    }
    signalMenuRefresh(a.workers);
}

void markDocumentEdited() {
    UiState& a = ui();
    if (TabEntry* entry = a.currentEntry; entry && markTabEdited(*entry))
        setTabLabel(a.controls.tab, *entry);
    signalMenuRefresh(a.workers);
}

} // namespace qlp
