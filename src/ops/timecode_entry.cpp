#include "ops/timecode_entry.h"

#include "model/timecode.h"
#include "ops/search.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace qlp {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kSearchSlotCount;
}

void storeText(char16_t (&field)[24], std::u16string_view text) {
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy_n(text.begin(), std::min(text.size(), std::size(field) - 1), field);
}

} // namespace

std::u16string_view timecodeEntryTitle(int slot) {
    static constexpr std::array<std::u16string_view, kSearchSlotCount> kTitles = {
        u"素材ＴＣを入力-A", u"ＲＥＣ ＴＣを入力-A", u"デュレーションを入力-A",
        u"素材ＴＣを入力-B", u"ＲＥＣ ＴＣを入力-B", u"デュレーションを入力-B",
    };
    return validSlot(slot) ? kTitles[static_cast<size_t>(slot)] : std::u16string_view();
}

bool timecodeEntryChoosesMode(int slot) {
    return slot == kCriterionSource;
}

std::u16string timecodeEntryDigits(const SearchSettings& search, int slot) {
    std::u16string digits;
    if (!validSlot(slot))
        return digits;
    for (char16_t c : search.slotText[slot]) {
        if (c == 0)
            break;
        if (c >= u'0' && c <= u'9')
            digits.push_back(c);
    }
    return digits;
}

BoundEntryOutcome enterTimecodeBound(SearchSettings& s, int32_t documentDropFrame, int slot, std::u16string_view text) {
    BoundEntryOutcome outcome;
    if (!validSlot(slot)) {
        outcome.result = BoundEntry::OutOfRange;
        outcome.message = kMsgTimecodeRange;
        return outcome;
    }
    // The edit is read into a buffer of ten characters.
    text = text.substr(0, 10);
    if (text.empty()) {
        s.slotValue[slot] = -1;
        return outcome;
    }
    if (slot == kCriterionRecord)
        s.slotDropFrame[slot] = documentDropFrame;
    else if (slot == kCriterionDuration)
        s.slotDropFrame[slot] = 0;

    TimecodeCalc calc;
    calc.dropFrame = s.slotDropFrame[slot];
    if (!parseTimecode(text, calc.b) || !calculate(calc, '+')) {
        s.slotValue[slot] = -1;
        outcome.result = BoundEntry::OutOfRange;
        outcome.message = kMsgTimecodeRange;
        return outcome;
    }
    const int32_t value = calc.resultLabel;
    s.slotValue[slot] = value;

    if (slot >= kSecondBoundOffset) {
        if (value < s.slotValue[slot - kSecondBoundOffset]) {
            s.slotValue[slot] = -1;
            outcome.result = BoundEntry::BelowFirst;
            outcome.message = kMsgBoundOrder;
            return outcome;
        }
    } else {
        const int second = slot + kSecondBoundOffset;
        if (value > s.slotValue[second])
            s.slotValue[second] = -1;
        s.slotDropFrame[second] = s.slotDropFrame[slot];
    }
    storeText(s.slotText[slot], formatTimecode(value, s.slotDropFrame[slot] == 1));
    outcome.result = BoundEntry::Accepted;
    outcome.value = value;
    return outcome;
}

} // namespace qlp
