#pragma once
// The reel information list: every reel of the document with its use count, the total record time
// of its events and its description; sorting by a column; storing an edited description.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

inline constexpr size_t kReelDescriptionChars = 48;
// The description editor takes two characters more than are stored.
inline constexpr int kReelDescriptionEditLimit = 50;

enum ReelColumn : int { kReelColName = 0, kReelColCount, kReelColTotal, kReelColDescription };

struct ReelRow {
    int32_t reel = 0;         // index into the reel table
    int32_t useCount = 0;     // reelUseCounts of the reel
    int64_t totalFrames = 0;  // sum of the durations of its events, frames
    std::u16string countText; // "%3d"
    std::u16string totalText; // "%02d : %02d : %02d : %02d", split as a non-drop count
};

// One row per reel, in reel-table order. The totals come from one pass over the events of kAllEvents.
std::vector<ReelRow> reelRows(const EdlDocument& doc);

// A frame total as the list shows it: hours, minutes, seconds and frames of a non-drop count.
std::u16string reelTotalText(int64_t frames);

std::u16string_view reelName(const EdlDocument& doc, int32_t reel);
std::u16string_view reelDescription(const EdlDocument& doc, int32_t reel);

// The reel of the current event (whose row is preselected), or -1.
int32_t currentEventReel(const EdlDocument& doc);

// A column's next sort state after a click on its heading: 1 (ascending) becomes 2 (descending),
// anything else becomes 1.
int32_t nextReelSortState(int32_t state);

// Orders the rows by a column: names and totals by the reel-name collation of their texts, counts
// as numbers; state 2 reverses. Descriptions do not order the rows.
void sortReelRows(const EdlDocument& doc, std::vector<ReelRow>& rows, int column, int32_t state);

// Stores an edited description for the reel named `name` (found by name, since the rows may have
// been re-sorted): one line, at most 48 characters. False when no reel has that name.
bool storeReelDescription(EdlDocument& doc, std::u16string_view name, std::u16string_view text);

} // namespace qlp
