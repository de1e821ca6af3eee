#pragma once
// The questions asked when the program closes: one per project tab modified since it was saved.

#include "model/document.h"
#include "model/prompt.h"

namespace qlp {

// When a document is loaded, asks string 110 (Yes/No) for every entry whose saveState is 2. Yes
// writes the current document to the active entry's path, or copies another entry's work file over
// its path. Entries that came from an EDL and were never saved are not asked about. Closing cannot
// be cancelled. A tab written this way becomes saved. Returns the number of questions asked; when a
// file could not be written (string 106 shown), `failed` is set: that tab's changes exist only in
// the program, which must then stay open.
int saveModifiedTabsOnExit(EdlDocument& doc, TabList& tabs, Prompt& prompt, bool* failed = nullptr);

} // namespace qlp
