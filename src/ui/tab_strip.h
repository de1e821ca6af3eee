#pragma once
// Tab labels: each tab shows the file-name part of its entry's path and the image of its save state.

#include "model/document.h"

#include <windows.h>

#include <string>

namespace qlp {

// What follows the last backslash of the path.
std::wstring tabLabel(const TabEntry& entry);

// Sets the text and image of the entry's tab (at its tabIndex).
void setTabLabel(HWND tab, const TabEntry& entry);

// Removes every tab and inserts one per entry of the list, in list order, at its tabIndex.
void rebuildTabStrip(HWND tab, TabList& tabs);

// Selects the entry's tab (and gives it the tab strip's focus mark) without a selection-change
// notification; nothing when there is no entry.
void selectTab(HWND tab, const TabEntry* entry);

// The entry whose tabIndex is `index`, or nullptr.
TabEntry* entryAtTab(TabList& tabs, int index);

// After every change the project file stores: a saved project tab becomes modified (and its label
// is set again); a tab that came from an EDL keeps its state. Signals menuRefresh.
void markDocumentModified();
// The same after an editing command (markers, memos, notes, descriptions), which a tab from an EDL
// also remembers, so that closing it asks before its changes are thrown away.
void markDocumentEdited();

} // namespace qlp
