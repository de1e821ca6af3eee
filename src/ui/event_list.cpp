#include "ui/event_list.h"

#include "ui/document_commands.h"

#include "app/app_state.h"

namespace qlp {

void drawListRow(const DRAWITEMSTRUCT& item) {
    if (!app().document.loaded || item.itemAction != ODA_DRAWENTIRE)
        return;
}

LRESULT onListNotify(NMHDR&) {
    return 0;
}

LRESULT onTabNotify(NMHDR& header) {
    if (header.code == TCN_SELCHANGE)
        onSwitchTab();
    return 0;
}

} // namespace qlp
