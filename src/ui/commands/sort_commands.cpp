#include "ui/commands/sort_commands.h"

#include "ops/sort_commands.h"
#include "ui/document_view.h"
#include "ui/info_panel.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/workers.h"

#include <commctrl.h>

namespace qlp {

void onSortCommand(int command) {
    UiState& a = ui();
    EdlDocument& doc = a.document;
    if (!doc.loaded)
        return;
    // The workers read the shown view's array from their threads; it is permuted while they rest.
    stopWorkers(a.workers);
    const SortCommandOutcome outcome = runSortCommand(doc, command);
    if (outcome.sorted) {
        HWND list = a.controls.list;
        setSortArrows(true);
        resetItemCount(list, outcome.rows);
        UpdateWindow(list);
        restoreListPosition();
    }
    startWorkers(a.workers);
    if (!outcome.sorted)
        return;
    markDocumentModified();
    setStatusText(kStatusBarState, outcome.status);
}

} // namespace qlp
