#include "ops/timecode_entry.h"

#include <gtest/gtest.h>

#include <string>

using namespace qlp;

namespace {

SearchSettings newSettings(int32_t dropFrame) {
    SearchSettings s;
    for (int slot = 0; slot < 6; ++slot)
        s.slotDropFrame[slot] = slot % 3 == 2 ? 0 : dropFrame;
    return s;
}

} // namespace

TEST(TimecodeEntry, DigitsRangesAndModes) {
    struct Row {
        int slot;
        int32_t slotDf; // the slot's mode before OK (the radio buttons of the source first bound)
        int32_t docDf;  // the document's mode
        const char16_t* text;
        BoundEntry result;
        int32_t value;
        const char16_t* shown;
    } rows[] = {
        {2, 0, 0, u"1000", BoundEntry::Accepted, 300, u"00:00:10.00"},
        {0, 0, 0, u"23595929", BoundEntry::Accepted, 2591999, u"23:59:59.29"},
        {0, 0, 0, u"0", BoundEntry::Accepted, 0, u"00:00:00.00"},
        {0, 0, 0, u"24000000", BoundEntry::OutOfRange, -1, nullptr},
        {0, 0, 0, u"00600000", BoundEntry::OutOfRange, -1, nullptr},
        {0, 0, 0, u"00006000", BoundEntry::OutOfRange, -1, nullptr},
        {0, 0, 0, u"00000030", BoundEntry::OutOfRange, -1, nullptr},
        {0, 0, 0, u"00595929", BoundEntry::Accepted, 59 * 1800 + 59 * 30 + 29, u"00:59:59.29"},
        // A skipped DF label becomes frame 02; the next frame and minute 10 stay as they are.
        {0, 1, 0, u"00010000", BoundEntry::Accepted, 1802, u"00:01:00,02"},
        {0, 1, 0, u"00010001", BoundEntry::Accepted, 1802, u"00:01:00,02"},
        {0, 1, 0, u"00010002", BoundEntry::Accepted, 1802, u"00:01:00,02"},
        {0, 1, 0, u"00100000", BoundEntry::Accepted, 18000, u"00:10:00,00"},
        // The record first bound takes the document's mode, whatever the slot held.
        {1, 0, 1, u"00010000", BoundEntry::Accepted, 1802, u"00:01:00,02"},
        {1, 1, 0, u"00010000", BoundEntry::Accepted, 1800, u"00:01:00.00"},
        // A duration is always non-drop.
        {2, 1, 1, u"00010000", BoundEntry::Accepted, 1800, u"00:01:00.00"},
        {2, 0, 0, u"", BoundEntry::Unset, -1, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text, r.text + std::char_traits<char16_t>::length(r.text)) + " in slot " +
                     std::to_string(r.slot));
        SearchSettings s = newSettings(r.docDf);
        s.slotDropFrame[r.slot] = r.slotDf;
        s.slotValue[r.slot] = 77; // an earlier value
        const BoundEntryOutcome o = enterTimecodeBound(s, r.docDf, r.slot, r.text);
        EXPECT_EQ(o.result, r.result);
        EXPECT_EQ(s.slotValue[r.slot], r.value);
        if (r.result == BoundEntry::OutOfRange) {
            EXPECT_EQ(o.message, u"入力値が許容範囲を超えています。\n再度入力して下さい。");
        } else {
            EXPECT_TRUE(o.message.empty());
        }
        if (r.shown) {
            EXPECT_EQ(std::u16string(s.slotText[r.slot]), r.shown);
            EXPECT_EQ(o.value, r.value);
        } else {
            EXPECT_EQ(std::u16string(s.slotText[r.slot]), u""); // the text stays as it was
        }
    }
}

TEST(TimecodeEntry, OrderOfTheBounds) {
    SearchSettings s = newSettings(0);
    // A DF source first bound hands its mode to the second bound.
    s.slotDropFrame[0] = 1;
    ASSERT_EQ(enterTimecodeBound(s, 0, 0, u"01000000").result, BoundEntry::Accepted);
    EXPECT_EQ(s.slotDropFrame[3], 1);
    // Equal to the first: accepted; one frame less: refused, and the slot is unset.
    EXPECT_EQ(enterTimecodeBound(s, 0, 3, u"01000000").result, BoundEntry::Accepted);
    EXPECT_EQ(std::u16string(s.slotText[3]), u"01:00:00,00");
    const BoundEntryOutcome below = enterTimecodeBound(s, 0, 3, u"00595929");
    EXPECT_EQ(below.result, BoundEntry::BelowFirst);
    EXPECT_EQ(below.message,
              u"左のＴＣ以上の値を入力して下さい。\n\n\"なお、２３Ｈ→００Ｈ\"のような０Ｈクロスの入力は出来ません)");
    EXPECT_EQ(s.slotValue[3], -1);
    // A second bound without a first bound is never below it.
    SearchSettings lone = newSettings(0);
    EXPECT_EQ(enterTimecodeBound(lone, 0, 5, u"1").result, BoundEntry::Accepted);

    // A first bound moved above its second unsets the second; one at or below keeps it.
    ASSERT_EQ(enterTimecodeBound(s, 0, 3, u"02000000").result, BoundEntry::Accepted);
    ASSERT_EQ(enterTimecodeBound(s, 0, 0, u"02000000").result, BoundEntry::Accepted);
    EXPECT_EQ(s.slotValue[3], 216000); // 02:00:00,00 as a label count
    ASSERT_EQ(enterTimecodeBound(s, 0, 0, u"02000001").result, BoundEntry::Accepted);
    EXPECT_EQ(s.slotValue[3], -1);
    // Emptying the first bound unsets only it.
    EXPECT_EQ(enterTimecodeBound(s, 0, 0, u"").result, BoundEntry::Unset);
    EXPECT_EQ(s.slotValue[0], -1);
    EXPECT_EQ(std::u16string(s.slotText[0]), u"02:00:00,01");
}

TEST(TimecodeEntry, DialogTitlesModesAndOpeningDigits) {
    const char16_t* titles[] = {u"素材ＴＣを入力-A", u"ＲＥＣ ＴＣを入力-A", u"デュレーションを入力-A",
                                u"素材ＴＣを入力-B", u"ＲＥＣ ＴＣを入力-B", u"デュレーションを入力-B"};
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(timecodeEntryTitle(slot), titles[slot]);
        EXPECT_EQ(timecodeEntryChoosesMode(slot), slot == 0);
    }
    EXPECT_EQ(timecodeEntryTitle(6), u"");
    SearchSettings s = newSettings(0);
    EXPECT_EQ(timecodeEntryDigits(s, 2), u"");
    enterTimecodeBound(s, 0, 2, u"1000");
    EXPECT_EQ(timecodeEntryDigits(s, 2), u"00001000");
}
