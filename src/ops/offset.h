#pragma once
// The record-timecode offset: the user names the new record address of the event now at an original
// address, and every event's R-VTR IN and OUT are shifted by the difference. The shift is always
// computed from the record times as read from the EDL, so offsets never accumulate.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

// Shown with an empty caption and the warning icon when the entry names no valid timecode.
inline constexpr std::u16string_view kMsgOffsetOutOfRange = u"入力値が有効範囲を超えています。\n再度入力して下さい。";

// The entry of the offset dialog starts with the digits of the current event's R-VTR IN text
// (offsetEntryText): every other character is dropped. A text of 16 or more digits gives its first
// eight.
std::u16string offsetEntryDigits(std::u16string_view entryText);

// The original address as the dialog shows it: "%02d%02d%02d%02d" of a label count.
std::u16string originalAddressText(int32_t labelCount);

enum class OffsetStatus {
    NoEvent,    // no document, or the shown view has no rows: nothing is done
    Empty,      // the entry is empty: confirmed, nothing changed
    OutOfRange, // kMsgOffsetOutOfRange; the dialog stays open with the entry as it is
    Applied,    // every event's record times and texts were recomputed
};

struct OffsetOutcome {
    OffsetStatus status = OffsetStatus::NoEvent;
    // The search result must be discarded (discardSearchResult) because its record criterion no
    // longer describes the shifted times: the dialog was confirmed, a non-zero offset is in force,
    // the record criterion is switched on and the search view holds rows.
    bool discardSearch = false;
};

// Applies the entry (hhmmssff digits, right-aligned) as the new address of the event whose record
// IN was read as `originalLabel`: sets recOffset, recOffsetDirection, recOffsetSign, hasHour23 and
// edited, and every event's recIn, recOut and R-VTR IN/OUT texts.
OffsetOutcome applyOffset(EdlDocument& doc, std::u16string_view entry, int32_t originalLabel);

// The handler's road: the original address is the record IN as read of the current event of the
// shown view; without one nothing happens.
OffsetOutcome applyOffsetToCurrentEvent(EdlDocument& doc, std::u16string_view entry);

// Clears searchHit of every event and empties the search view.
void discardSearchResult(EdlDocument& doc);

} // namespace qlp
