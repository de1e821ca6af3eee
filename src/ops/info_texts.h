#pragma once
// The texts of the information panel and the status bar: what each owner-drawn cell under the
// list shows for the current document (or while none is loaded), the reel line of the current
// event, and the status-bar texts this panel writes.

#include "model/document.h"

#include <string>
#include <string_view>

namespace qlp {

// What the cells show while no document is loaded.
inline constexpr std::u16string_view kNoCountModeText = u"---";
inline constexpr std::u16string_view kNoCountText = u"----";
inline constexpr std::u16string_view kNoReferenceText = u"No reference.";

// The labels of the reel line.
inline constexpr std::u16string_view kReelLabel = u"リール:";
inline constexpr std::u16string_view kDescriptionLabel = u"説明:";

// "%d件/[%d件中]": the rows of the search result, of all events.
std::u16string hitCounterText(const EdlDocument& doc);
// "D F" for a drop-frame document, else "NDF".
std::u16string countModeText(const EdlDocument& doc);
// "%04d" of the number of edits and of the number of reels.
std::u16string editCountText(const EdlDocument& doc);
std::u16string reelCountText(const EdlDocument& doc);
// The record-timecode offset as the document keeps it formatted (updateOffsetDisplayText).
std::u16string offsetText(const EdlDocument& doc);

// The search timecode slot (0..5) a timecode cell (314-319) shows, or -1 for another id.
int searchSlotOfCell(int id);
// The slot's text, or "--:--:--.--" while it holds no value.
std::u16string searchTimecodeText(const EdlDocument& doc, int slot);

// The text of cell 308-312 or 314-319, with the placeholders while no document is loaded.
std::u16string panelCellText(int id, const EdlDocument& doc);

// "< %s%s >": the reel name padded with blanks to six characters (a longer name gets none).
std::u16string reelBracketText(std::u16string_view reelName);

// The reel line of the current event.
struct ReelLineTexts {
    bool hasEvent = false;
    std::u16string reel;        // reelBracketText of the event's REEL column
    std::u16string description; // the comment of the event's reel; empty when there is none
};
ReelLineTexts reelLineTexts(const EdlDocument& doc);

// Status-bar texts: part 0 (number of files; afterOpen: one blank after the colon, else two),
// part 1 (location), part 2 after a tab switch and after a marker cell was chosen.
std::u16string fileCountStatus(int files, bool afterOpen);
std::u16string locationStatus(std::u16string_view path);
// Status-bar part 1 while no tab is current.
inline constexpr std::u16string_view kNoLocationStatus = u"参照ファイルはありません。";
std::u16string openedStatus(std::u16string_view path);
std::u16string markerSelectionStatus(int marker, std::u16string_view name);

} // namespace qlp
