#include "model/timecode.h"

#include <cstdio>

namespace qlp {

namespace {

constexpr int32_t kDfFramesPerTenMinutes = 17982; // 10 * 1800 - 9 * 2
constexpr int32_t kDfFramesPerDroppedMinute = 1798;

bool namesSkippedDfFrame(const TimecodeParts& p) {
    return p.minutes % 10 != 0 && p.seconds == 0 && (p.frames == 0 || p.frames == 1);
}

std::u16string widen(const char* s) {
    std::u16string out;
    for (; *s; ++s)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
    return out;
}

} // namespace

int32_t realFrames(int32_t dropFrame, TimecodeParts& parts) {
    if (parts.minutes >= 60 || parts.seconds >= 60 || parts.frames >= 30)
        return -1;
    if (parts.minutes < 0 || parts.seconds < 0 || parts.frames < 0 || parts.hours < 0 || parts.hours > kMaxCountedHours)
        return -1;
    int32_t label = parts.hours * kFramesPerHour + parts.minutes * kFramesPerMinute + parts.seconds * 30 + parts.frames;
    if (!dropFrame)
        return label;
    if (namesSkippedDfFrame(parts)) {
        label += 2 - parts.frames;
        parts.frames = 2;
    }
    return label - (parts.hours * 108 + 2 * (parts.minutes - parts.minutes / 10));
}

int32_t dropAdjustment(int32_t count) {
    const int32_t minutes = (count % kFramesPerHour) / kFramesPerMinute;
    return (count / kFramesPerHour) * 108 + 2 * (minutes - minutes / 10);
}

void splitFrames(int32_t count, TimecodeParts& parts) {
    parts.hours = count / kFramesPerHour;
    parts.minutes = (count % kFramesPerHour) / kFramesPerMinute;
    parts.seconds = (count % kFramesPerHour % kFramesPerMinute) / 30;
    parts.frames = count % 30;
}

bool parseTimecode(const char16_t* text, TimecodeParts& parts) {
    if (text == nullptr)
        return parseTimecode(std::u16string_view(), parts);
    return parseTimecode(std::u16string_view(text), parts);
}

// The digits are placed right-aligned into hhmmssff, walking from the last character: a separator
// after a lone digit makes that digit the low digit of its pair, so "1:2:3.4" reads as 01:02:03.04.
bool parseTimecode(std::u16string_view text, TimecodeParts& parts) {
    char digits[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
    if (text.size() > 11)
        return false;
    int write = 7;
    int count = 0;
    for (size_t i = text.size(); i-- > 0 && write >= 0;) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits[write--] = static_cast<char>(c);
            ++count;
        } else if (count % 2 == 1) {
            --write;
            ++count;
        }
    }
    static constexpr int32_t kLimits[4] = {23, 59, 59, 29};
    int32_t* fields[4] = {&parts.hours, &parts.minutes, &parts.seconds, &parts.frames};
    for (int f = 0; f < 4; ++f) {
        const int32_t value = (digits[2 * f] - '0') * 10 + (digits[2 * f + 1] - '0');
        if (value > kLimits[f])
            return false;
        *fields[f] = value;
    }
    return true;
}

// The DF label of a real count. Each ten minutes hold 17982 real frames; in each of its nine
// dropped minutes the first two frame numbers are skipped. This is exact for every real count,
// where a nested dropAdjustment estimate drifts by a frame near minute boundaries late in the day.
int32_t dfRealToLabel(int32_t real) {
    const int32_t tens = real / kDfFramesPerTenMinutes;
    const int32_t rest = real % kDfFramesPerTenMinutes;
    int32_t skipped = 18 * tens;
    if (rest >= 2)
        skipped += 2 * ((rest - 2) / kDfFramesPerDroppedMinute);
    return real + skipped;
}

int32_t dfLabelToReal(int32_t label) {
    return label - dropAdjustment(label);
}

bool calculate(TimecodeCalc& calc, char op) {
    if (op != '+' && op != '-')
        return false;
    calc.aCount = realFrames(calc.dropFrame, calc.a);
    calc.bCount = realFrames(calc.dropFrame, calc.b);
    if (calc.aCount == -1 || calc.bCount == -1)
        return false;
    if (op == '+') {
        calc.resultReal = calc.aCount + calc.bCount;
        const int32_t day = calc.dropFrame ? kDfFramesPerDay : kNdfFramesPerDay;
        if (calc.resultReal > day - 1)
            calc.resultReal -= day;
    } else {
        if (calc.aCount < calc.bCount) {
            calc.a.hours += 24;
            calc.aCount = realFrames(calc.dropFrame, calc.a);
            calc.bCount = realFrames(calc.dropFrame, calc.b);
            if (calc.aCount == -1)
                return false;
        }
        calc.resultReal = calc.aCount - calc.bCount;
    }

    const int32_t label = calc.dropFrame ? dfRealToLabel(calc.resultReal) : calc.resultReal;
    TimecodeParts digits;
    splitFrames(label, digits);
    calc.resultReal = realFrames(calc.dropFrame, digits);
    calc.dropAdjust = dropAdjustment(label);
    calc.resultLabel = calc.dropFrame ? calc.resultReal + calc.dropAdjust : calc.resultReal;
    return true;
}

std::u16string formatCount(int32_t count) {
    TimecodeParts p;
    splitFrames(count, p);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%02d", p.hours, p.minutes, p.seconds, p.frames);
    return widen(buf);
}

std::u16string formatTimecode(int32_t labelCount, bool dropFrame) {
    TimecodeParts p;
    splitFrames(labelCount, p);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d%c%02d", p.hours, p.minutes, p.seconds, dropFrame ? ',' : '.',
                  p.frames);
    return widen(buf);
}

std::u16string formatSignedTimecode(char16_t sign, const TimecodeParts& parts, bool dropFrame) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d%c%02d", parts.hours, parts.minutes, parts.seconds,
                  dropFrame ? ',' : '.', parts.frames);
    return std::u16string(1, sign) + widen(buf);
}

} // namespace qlp
