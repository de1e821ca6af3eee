#pragma once
// The main window's commands that re-address and write out the current document: the record
// offset (dialog 113), the BVE-9100 EDL export (dialog 176) and the text and CSV listings
// (dialog 159). Each does nothing while no document is loaded.

namespace qlp {

// 40062 and button 509: runs the offset dialog with the display workers stopped, then repaints the
// list, the offset cell and, when the search result was discarded, the hit counter; marks the tab
// modified. Nothing happens when the shown view has no rows.
void onOffsetCommand();

// 40249: runs the EDL export dialog with the display workers stopped.
void onEdlExportCommand();

// 40152: runs the listing dialog with the display workers stopped.
void onListingCommand();

} // namespace qlp
