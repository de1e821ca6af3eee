#pragma once
// 30-frame timecodes, non-drop-frame (NDF) or drop-frame (DF), held as integers on two scales:
//  - the label count: hours*108000 + minutes*1800 + seconds*30 + frames (the digits read linearly);
//  - the real count: the frames that actually elapse since 00:00:00 on the timecode's own counting
//    (equal to the label count for NDF, the label count less the skipped frame numbers for DF).
// Event times are stored as label counts, durations as real counts.

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

inline constexpr int32_t kFramesPerHour = 108000;
inline constexpr int32_t kFramesPerMinute = 1800;
inline constexpr int32_t kNdfFramesPerDay = 2592000;
inline constexpr int32_t kDfFramesPerDay = 2589408; // 2592000 - 24 * 108
// The most hours a count is taken for: far above the 99 a timecode text can hold, and low enough
// that the sum of two counts, a day added for a subtraction across midnight included, stays in
// 32 bits. Only a damaged project file holds more.
inline constexpr int32_t kMaxCountedHours = 9000;

struct TimecodeParts {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    int32_t frames = 0;
};

// The working record of all timecode arithmetic: fill dropFrame, a and b, call calculate, read
// resultReal or resultLabel.
struct TimecodeCalc {
    int32_t dropFrame = 0;
    TimecodeParts a;
    TimecodeParts b;
    int32_t aCount = 0;
    int32_t bCount = 0;
    int32_t resultReal = 0;
    int32_t resultLabel = 0;
    int32_t dropAdjust = 0;
};

// Real count of parts, or -1 when minutes, seconds or frames are out of range or the hours are
// negative or above kMaxCountedHours. A DF timecode that
// names a skipped frame (minutes not a multiple of ten, seconds 0, frames 0 or 1) is first moved to
// frame 2, in place.
int32_t realFrames(int32_t dropFrame, TimecodeParts& parts);

// The number of DF frame numbers skipped up to the minute that an NDF-scale count falls in.
int32_t dropAdjustment(int32_t count);

// Splits a count into hours, minutes, seconds and frames with NDF arithmetic.
void splitFrames(int32_t count, TimecodeParts& parts);

// Parses right-aligned timecode digits ("1:2:3.4", "10000", "01:00:00,00"). A null or empty text is
// 00:00:00.00. Fails on a text longer than 11 characters or a field above 23, 59, 59, 29; the fields
// before the failing one have already been stored.
bool parseTimecode(const char16_t* text, TimecodeParts& parts);
bool parseTimecode(std::u16string_view text, TimecodeParts& parts);

// '+' adds a and b, wrapping past midnight; '-' subtracts b from a, across midnight when a is
// earlier. Fails when an operand is out of range or op is neither.
bool calculate(TimecodeCalc& calc, char op);

// The real count of a DF label count that names a valid frame.
int32_t dfLabelToReal(int32_t label);
// The DF label count of a real count (exact for every real count of the day).
int32_t dfRealToLabel(int32_t real);

// "%02d:%02d:%02d.%02d" of a count split with splitFrames.
std::u16string formatCount(int32_t count);
// hh:mm:ss.ff (NDF) or hh:mm:ss,ff (DF) of a label count.
std::u16string formatTimecode(int32_t labelCount, bool dropFrame);
// "%c%02d:%02d:%02d%c%02d" with a sign character and ',' for DF, '.' for NDF.
std::u16string formatSignedTimecode(char16_t sign, const TimecodeParts& parts, bool dropFrame);

inline constexpr std::u16string_view kNoTimecodeText = u"--:--:--.--";
inline constexpr std::u16string_view kDropFrameLabel = u"D F";
inline constexpr std::u16string_view kNonDropFrameLabel = u"NDF";

} // namespace qlp
