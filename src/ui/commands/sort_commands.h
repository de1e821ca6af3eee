#pragma once
// The four sort commands of the search-result and reel-usage views in the window.

namespace qlp {

// Commands 40165, 40163, 40164 and 40235 (menu, list pop-up, accelerators, header clicks): orders
// the shown view with the display workers stopped, shows the sort state on the headers, keeps the
// list position, writes the status text and marks the document modified.
void onSortCommand(int command);

} // namespace qlp
