#pragma once
// The search panel in the main window: its check boxes, comparison, reel and marker combo boxes,
// timecode cells, the Search and Clear search commands, and the reel choice of the reel-usage view.

namespace qlp {

// Check boxes 600-604: switch the criterion on or off, then enable buttons 503 and 504.
void onSearchCheckBox(int id);

// Close-up of combo boxes 120-127: the comparison, reel or marker chosen becomes the setting.
void onSearchComboCloseUp(int id);

// A click on timecode cell 314-319: edits the cell's bound in the timecode entry dialog, shows the
// new text and re-evaluates the criterion's second-bound controls.
void onTimecodeCellClick(int id);

// Command 40084 and button 503: collects the events meeting every criterion into kSearchResult.
void onSearch();

// Command 40068 and button 504: clears the search result.
void onClearSearch();

// Close-up of combo box 129: the reel whose events kReelUsage lists.
void onUsageReelCloseUp();

} // namespace qlp
