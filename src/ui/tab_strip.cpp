#include "ui/tab_strip.h"

#include "app/app_state.h"
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

void markDocumentModified() {
    AppState& a = app();
    if (TabEntry* entry = a.currentEntry; entry && entry->saveState == kSaved) {
        entry->saveState = kModified;
        setTabLabel(a.controls.tab, *entry);
    }
    signalMenuRefresh(a.workers);
}

} // namespace qlp
