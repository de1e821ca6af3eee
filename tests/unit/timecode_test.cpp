#include "model/timecode.h"

#include <gtest/gtest.h>

using namespace qlp;

namespace {

TimecodeParts parse(std::u16string_view text) {
    TimecodeParts p;
    EXPECT_TRUE(parseTimecode(text, p)) << std::string(text.begin(), text.end());
    return p;
}

int32_t labelOf(int32_t df, std::u16string_view text) {
    TimecodeCalc c;
    c.dropFrame = df;
    c.a = parse(text);
    EXPECT_TRUE(calculate(c, '+'));
    return c.resultLabel;
}

bool same(const TimecodeParts& a, int h, int m, int s, int f) {
    return a.hours == h && a.minutes == m && a.seconds == s && a.frames == f;
}

} // namespace

TEST(ParseTimecode, DigitsAreRightAligned) {
    EXPECT_TRUE(same(parse(u"1:2:3.4"), 1, 2, 3, 4));
    EXPECT_TRUE(same(parse(u"10000"), 0, 1, 0, 0));
    EXPECT_TRUE(same(parse(u"01000000"), 1, 0, 0, 0));
    EXPECT_TRUE(same(parse(u"01:00:00,15"), 1, 0, 0, 15));
    // Digits beyond the eighth from the right are ignored.
    TimecodeParts p;
    EXPECT_TRUE(parseTimecode(u"9901020304", p));
    EXPECT_TRUE(same(p, 1, 2, 3, 4));
}

TEST(ParseTimecode, EmptyNullAndZeroAreMidnight) {
    TimecodeParts p{1, 2, 3, 4};
    EXPECT_TRUE(parseTimecode(static_cast<const char16_t*>(nullptr), p));
    EXPECT_TRUE(same(p, 0, 0, 0, 0));
    EXPECT_TRUE(same(parse(u""), 0, 0, 0, 0));
    EXPECT_TRUE(same(parse(u"00:00:00.00"), 0, 0, 0, 0));
}

TEST(ParseTimecode, RejectsFieldsOutOfRangeAndLongTexts) {
    TimecodeParts p;
    EXPECT_TRUE(parseTimecode(u"23:59:59.29", p));
    EXPECT_FALSE(parseTimecode(u"24:00:00.00", p));
    EXPECT_FALSE(parseTimecode(u"00:60:00.00", p));
    EXPECT_FALSE(parseTimecode(u"00:00:60.00", p));
    EXPECT_FALSE(parseTimecode(u"00:00:00.30", p));
    EXPECT_FALSE(parseTimecode(u"00:00:00:000", p)); // twelve characters
    // Fields before the failing one are stored.
    p = {};
    EXPECT_FALSE(parseTimecode(u"05:70:00.00", p));
    EXPECT_EQ(p.hours, 5);
}

TEST(RealFrames, DropFrameCountsAndSkippedFrames) {
    TimecodeParts p{1, 0, 0, 0};
    EXPECT_EQ(realFrames(1, p), 107892);
    p = {1, 0, 0, 0};
    EXPECT_EQ(realFrames(0, p), 108000);
    // 00:01:00;00 names a skipped frame: it moves to frame 02 in place.
    p = {0, 1, 0, 0};
    EXPECT_EQ(realFrames(1, p), 1800);
    EXPECT_EQ(p.frames, 2);
    p = {0, 10, 0, 0}; // minutes divisible by ten keep frame 00
    EXPECT_EQ(realFrames(1, p), 17982);
    EXPECT_EQ(p.frames, 0);
    p = {0, 0, 60, 0};
    EXPECT_EQ(realFrames(0, p), -1);
}

TEST(Calculate, AdditionWrapsPastMidnight) {
    TimecodeCalc c;
    c.a = {23, 59, 59, 29};
    c.b = {0, 0, 0, 1};
    ASSERT_TRUE(calculate(c, '+'));
    EXPECT_EQ(c.resultLabel, 0);
    c = {};
    c.dropFrame = 1;
    c.a = {23, 59, 59, 29};
    c.b = {0, 0, 0, 1};
    ASSERT_TRUE(calculate(c, '+'));
    EXPECT_EQ(c.resultLabel, 0);
    EXPECT_EQ(c.resultReal, 0);
}

TEST(Calculate, SubtractionAcrossMidnight) {
    TimecodeCalc c;
    c.a = {0, 0, 10, 0};
    c.b = {23, 59, 50, 0};
    ASSERT_TRUE(calculate(c, '-'));
    EXPECT_EQ(c.resultReal, 600);
    c = {};
    c.a = {10, 0, 5, 0};
    c.b = {10, 0, 0, 0};
    ASSERT_TRUE(calculate(c, '-'));
    EXPECT_EQ(c.resultReal, 150);
}

TEST(Calculate, RejectsOperandsOutOfRangeAndUnknownOperators) {
    TimecodeCalc c;
    c.a = {0, 0, 0, 30};
    EXPECT_FALSE(calculate(c, '+'));
    c = {};
    EXPECT_FALSE(calculate(c, '*'));
    // Hours no timecode text holds (a damaged project's times) are refused, never overflowed.
    for (const char op : {'+', '-'}) {
        c = {};
        c.a = {19883, 0, 0, 0};
        c.b = {5, 0, 0, 0};
        EXPECT_FALSE(calculate(c, op)) << op;
        c = {};
        c.a = {kMaxCountedHours, 0, 0, 0};
        c.b = {kMaxCountedHours, 0, 0, 0};
        c.dropFrame = 1;
        EXPECT_TRUE(calculate(c, op)) << op;
        c.a = {kMaxCountedHours, 0, 0, 0};
        c.b = {kMaxCountedHours, 0, 0, 1};
        EXPECT_EQ(calculate(c, op), op == '+') << op; // across midnight, a day past the limit
    }
}

TEST(Calculate, DropFrameLabelOfSkippedNumberMovesToFrameTwo) {
    EXPECT_EQ(labelOf(1, u"00:01:00,00"), 1802);
    EXPECT_EQ(labelOf(1, u"00:01:00,01"), 1802);
    EXPECT_EQ(labelOf(1, u"16:41:00,00"), 16 * 108000 + 41 * 1800 + 2);
}

// Every valid drop-frame label of the day survives the calculator unchanged, and every real count
// maps to a label and back. A nested-adjustment conversion is a frame off for hundreds of counts
// after 16:42 (16:42:00,03 came back as 16:42:00,02).
TEST(Calculate, EveryDropFrameCountOfTheDayRoundTrips) {
    EXPECT_EQ(labelOf(1, u"16:42:00,03"), 16 * 108000 + 42 * 1800 + 3);
    int mismatches = 0;
    for (int32_t real = 0; real < kDfFramesPerDay; ++real) {
        const int32_t label = dfRealToLabel(real);
        TimecodeCalc c;
        c.dropFrame = 1;
        splitFrames(label, c.a);
        if (!calculate(c, '+') || c.resultReal != real || c.resultLabel != label || dfLabelToReal(label) != real)
            ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(dfRealToLabel(kDfFramesPerDay - 1), 23 * 108000 + 59 * 1800 + 59 * 30 + 29);
}

TEST(Calculate, NonDropFrameCountsAreLabels) {
    for (int32_t label : {0, 1, 1799, 1800, 107999, 108000, kNdfFramesPerDay - 1}) {
        TimecodeCalc c;
        splitFrames(label, c.a);
        ASSERT_TRUE(calculate(c, '+'));
        EXPECT_EQ(c.resultLabel, label);
        EXPECT_EQ(c.resultReal, label);
    }
}

TEST(TimecodeText, FormsOfTheSystem) {
    EXPECT_EQ(formatCount(108000 + 2 * 1800 + 3 * 30 + 4), u"01:02:03.04");
    EXPECT_EQ(formatTimecode(1802, true), u"00:01:00,02");
    EXPECT_EQ(formatTimecode(1802, false), u"00:01:00.02");
    EXPECT_EQ(formatSignedTimecode(u'+', {1, 2, 3, 4}, true), u"+01:02:03,04");
    EXPECT_EQ(formatSignedTimecode(u'-', {1, 2, 3, 4}, false), u"-01:02:03.04");
}

TEST(TimecodeSplit, DropAdjustmentPerMinute) {
    EXPECT_EQ(dropAdjustment(0), 0);
    EXPECT_EQ(dropAdjustment(1800), 2);
    EXPECT_EQ(dropAdjustment(10 * 1800), 18);
    EXPECT_EQ(dropAdjustment(108000), 108);
}
