#pragma once
// The rules of the timecode entry dialog, which edits one of the six timecode bounds of the
// search: its title, the digits it opens with, which slots choose their own drop-frame mode, and
// what pressing OK does with the entered digits.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

// The warning for a value outside 00:00:00:00..23:59:59:29.
inline constexpr std::u16string_view kMsgTimecodeRange = u"入力値が許容範囲を超えています。\n再度入力して下さい。";
// The warning for a second bound below its first bound.
inline constexpr std::u16string_view kMsgBoundOrder =
    u"左のＴＣ以上の値を入力して下さい。\n\n\"なお、２３Ｈ→００Ｈ\"のような０Ｈクロスの入力は出来ません)";

// The dialog's title for a slot (0..5); empty for another number.
std::u16string_view timecodeEntryTitle(int slot);

// Only the source first bound lets the user choose DF or NDF.
bool timecodeEntryChoosesMode(int slot);

// The digits the dialog opens with: the slot's text without its separators.
std::u16string timecodeEntryDigits(const SearchSettings& search, int slot);

enum class BoundEntry {
    Accepted,   // value and text stored in the slot
    Unset,      // an empty entry: the slot holds no value
    OutOfRange, // kMsgTimecodeRange; the slot is unset and the dialog stays open
    BelowFirst, // kMsgBoundOrder; the slot is unset and the dialog stays open
};

struct BoundEntryOutcome {
    BoundEntry result = BoundEntry::Unset;
    int32_t value = -1;          // the stored label count when accepted
    std::u16string_view message; // the warning to show, or empty
};

// OK in the dialog for `slot` with the entered text (digits, right-aligned into hhmmssff). The
// record first bound takes the document's mode and durations are non-drop; the value is converted
// in the slot's mode (a skipped drop-frame label becomes frame 02). A second bound below its first
// is refused; a first bound above its second unsets the second and passes it its mode.
BoundEntryOutcome enterTimecodeBound(SearchSettings& search, int32_t documentDropFrame, int slot,
                                     std::u16string_view text);

} // namespace qlp
