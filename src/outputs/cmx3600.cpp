#include "outputs/cmx3600.h"

#include "model/cp932.h"
#include "model/timecode.h"
#include "ops/views.h"
#include "outputs/export_file.h"

#include <array>
#include <cstring>

namespace qlp {

namespace {

constexpr size_t kEventLineLength = 76;
constexpr size_t kTimecodeLength = 11;
// 0-based starts of the fields of the lines (see the header for the 1-based columns).
constexpr size_t kAtNumber = 0;
constexpr size_t kAtReel = 5;
constexpr size_t kReelWidth = 8;
constexpr size_t kAtChannel = 14;
constexpr size_t kAtType = 20;
constexpr size_t kAtTransition = 25;
constexpr size_t kAtSrcIn = 29;
constexpr size_t kAtSrcOut = 41;
constexpr size_t kAtRecIn = 53;
constexpr size_t kAtRecOut = 65;
constexpr size_t kAtSpeedEnd = 27; // one past the speed, which ends in column 27
constexpr size_t kSpeedWidth = 7;

using Timecode = std::array<char, kTimecodeLength>;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The leading digits of a column text as a number (an optional sign first); false when it holds
// no digit. Digits past the eighth are ignored, so a damaged text cannot overflow.
bool leadingNumber(std::u16string_view text, int& value) {
    size_t i = 0;
    bool negative = false;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int digits = 0;
    value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (digits++ < 8)
            value = value * 10 + (text[i] - u'0');
    }
    if (negative)
        value = -value;
    return digits > 0;
}

void putNumber(char* at, int width, int value) {
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = static_cast<char>('0' + value % 10);
}

Timecode timecodeOf(const TimecodeParts& parts, bool dropFrame) {
    Timecode tc{};
    putNumber(&tc[0], 2, parts.hours % 100);
    tc[2] = ':';
    putNumber(&tc[3], 2, parts.minutes);
    tc[5] = ':';
    putNumber(&tc[6], 2, parts.seconds);
    tc[8] = dropFrame ? ';' : ':';
    putNumber(&tc[9], 2, parts.frames);
    return tc;
}

// A column timecode text in CMX 3600 form; the label count stands in for a text that is no
// timecode (only a damaged project file holds one).
Timecode columnTimecode(std::u16string_view text, int32_t fallbackLabel, bool dropFrame) {
    TimecodeParts parts;
    if (text.empty() || !parseTimecode(text, parts))
        splitFrames(fallbackLabel < 0 ? 0 : fallbackLabel, parts);
    return timecodeOf(parts, dropFrame);
}

Timecode recordTimecode(const EdlEvent& event, int column, int32_t label, bool docDropFrame, bool convert) {
    const std::u16string_view text = columnText(event, column);
    std::string converted;
    if (convert && convertRecordText(text, docDropFrame, converted)) {
        const std::u16string wide(converted.begin(), converted.end());
        return columnTimecode(wide, 0, !docDropFrame);
    }
    return columnTimecode(text, label, docDropFrame != convert);
}

Timecode sourceTimecode(const EdlEvent& event, int column) {
    return columnTimecode(columnText(event, column), column == kColSrcIn ? event.srcIn : event.srcOut,
                          event.srcDropFrame != 0);
}

// A text as the CP932 bytes of one line: a control character (a lone CR in a damaged reel, a line
// break in a marker description) becomes '?', so that every line stays one line. A tab is kept
// where `keepTab` says so. CP932 trail bytes are never control characters.
std::string oneLineBytes(std::u16string_view text, bool keepTab) {
    std::string bytes = cp932::encode(text);
    for (char& c : bytes) {
        if ((static_cast<unsigned char>(c) < 0x20 && !(keepTab && c == '\t')) || c == 0x7F)
            c = '?';
    }
    return bytes;
}

// The reel as its CP932 bytes on one line, cut to the reel field without splitting a double-byte
// character.
std::string reelBytes(std::u16string_view reel) {
    std::string bytes = oneLineBytes(reel, false);
    bytes.resize(cp932::wholeCharactersWithin(bytes, kReelWidth));
    return bytes;
}

struct Channels {
    bool video = false, a1 = false, a2 = false, a3 = false, a4 = false;
};

Channels channelsOf(const EdlEvent& event) {
    Channels c;
    const std::u16string_view v = columnText(event, kColV);
    const std::u16string_view a = columnText(event, kColA);
    c.video = !v.empty() && v[0] == u'V';
    // An assemble edit records video and both audio channels.
    if (v.find(u"ASMBL") != std::u16string_view::npos)
        c.video = c.a1 = c.a2 = true;
    c.a1 = c.a1 || a.find(u"A1") != std::u16string_view::npos;
    c.a2 = c.a2 || a.find(u"A2") != std::u16string_view::npos;
    c.a3 = a.find(u"A3") != std::u16string_view::npos;
    c.a4 = a.find(u"A4") != std::u16string_view::npos;
    return c;
}

std::string_view channelField(const Channels& c) {
    if (c.video)
        return c.a1 ? (c.a2 ? "AA/V" : "B") : (c.a2 ? "A2/V" : "V");
    if (c.a1)
        return c.a2 ? "AA" : "A";
    return c.a2 ? "A2" : "NONE";
}

enum class Kind { Cut, Dissolve, Wipe, Key, KeyBackground, KeyOut };

Kind kindOf(const EdlEvent& event) {
    const std::u16string_view type = columnText(event, kColType);
    if (type == u"D")
        return Kind::Dissolve;
    if (type == u"W")
        return Kind::Wipe;
    if (type == u"KB")
        return Kind::KeyBackground;
    if (type == u"KO")
        return Kind::KeyOut;
    if (type == u"KI" || type == u"K")
        return Kind::Key;
    return Kind::Cut;
}

int editNumberOf(const EdlEvent& event) {
    int n = 0;
    return leadingNumber(columnText(event, kColEdit), n) && n > 0 ? n : 0;
}

struct EventLine {
    int number = 0;
    std::string_view reel;
    std::string_view channels;
    char type[5] = {};
    int transition = -1; // -1: blank
    Timecode srcIn{}, srcOut{}, recIn{}, recOut{};
};

void appendEventLine(std::string& out, const EventLine& line) {
    char buf[kEventLineLength];
    std::memset(buf, ' ', sizeof buf);
    putNumber(buf + kAtNumber, 3, line.number);
    std::memcpy(buf + kAtReel, line.reel.data(), std::min(line.reel.size(), kReelWidth));
    std::memcpy(buf + kAtChannel, line.channels.data(), line.channels.size());
    std::memcpy(buf + kAtType, line.type, std::strlen(line.type));
    if (line.transition >= 0)
        putNumber(buf + kAtTransition, 3, line.transition);
    std::memcpy(buf + kAtSrcIn, line.srcIn.data(), kTimecodeLength);
    std::memcpy(buf + kAtSrcOut, line.srcOut.data(), kTimecodeLength);
    std::memcpy(buf + kAtRecIn, line.recIn.data(), kTimecodeLength);
    std::memcpy(buf + kAtRecOut, line.recOut.data(), kTimecodeLength);
    out.append(buf, sizeof buf);
    out.append("\r\n");
}

// Speed lines: the SPED column is a percentage of normal play (100 = 30 frames per second), so the
// rate in tenths of a frame per second is three times it, exactly.
void appendSpeedLine(std::string& out, std::string_view reel, int percent, const Timecode& srcIn) {
    const int tenths = percent * 3;
    const int magnitude = tenths < 0 ? -tenths : tenths;
    std::string speed(1, tenths < 0 ? '-' : '+');
    std::string whole = std::to_string(magnitude / 10);
    if (whole.size() < 3)
        whole.insert(0, 3 - whole.size(), '0');
    speed += whole;
    speed += '.';
    speed += static_cast<char>('0' + magnitude % 10);
    std::string line(kAtSrcIn + kTimecodeLength, ' ');
    line.replace(0, 2, "M2");
    line.replace(kAtReel, std::min(reel.size(), kReelWidth), reel.substr(0, kReelWidth));
    if (speed.size() <= kSpeedWidth)
        line.replace(kAtSpeedEnd - speed.size(), speed.size(), speed);
    else
        line.replace(kAtSpeedEnd - kSpeedWidth, kSpeedWidth, speed.substr(speed.size() - kSpeedWidth));
    line.replace(kAtSrcIn, kTimecodeLength, srcIn.data(), kTimecodeLength);
    out += line;
    out.append("\r\n");
}

// Each line of a wide text (CR LF, LF or CR between lines; blank lines left out) as a comment line
// with the prefix.
void appendCommentLines(std::string& out, std::u16string_view text, std::string_view prefix, bool keepStar) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n' && text[end] != 0)
            ++end;
        const std::u16string_view line = text.substr(pos, end - pos);
        if (line.find_first_not_of(u" \t\u3000") != std::u16string_view::npos) {
            if (!(keepStar && line[0] == u'*'))
                out.append(prefix);
            out += oneLineBytes(line, true);
            out.append("\r\n");
        }
        if (end < text.size() && text[end] == 0)
            break;
        pos = end + 1;
    }
}

std::u16string_view optionCommentOf(const EdlEvent& event) {
    if (!event.hasOptionComment || !event.optionComment || event.optionCommentLength <= 0)
        return {};
    return {event.optionComment, static_cast<size_t>(event.optionCommentLength)};
}

std::u16string_view workMemoOf(const EdlEvent& event) {
    if (!event.hasWorkMemo || !event.workMemo || event.workMemoLength <= 0)
        return {};
    return textUpToNul(event.workMemo, static_cast<size_t>(event.workMemoLength));
}

} // namespace

int cmx3600EventNumber(int editNumber) {
    if (editNumber <= 999)
        return editNumber < 0 ? 0 : editNumber;
    return (editNumber - 1) % 999 + 1;
}

std::string_view cmx3600ColourName(uint32_t colour) {
    struct Named {
        std::string_view name;
        int r, g, b;
    };
    static constexpr Named kNames[] = {
        {"RED", 255, 0, 0},       {"GREEN", 0, 255, 0},    {"BLUE", 0, 0, 255}, {"CYAN", 0, 255, 255},
        {"MAGENTA", 255, 0, 255}, {"YELLOW", 255, 255, 0}, {"BLACK", 0, 0, 0},  {"WHITE", 255, 255, 255},
    };
    const int r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    std::string_view best;
    int bestDistance = 0;
    for (const Named& n : kNames) {
        const int d = (r - n.r) * (r - n.r) + (g - n.g) * (g - n.g) + (b - n.b) * (b - n.b);
        if (best.empty() || d < bestDistance) {
            best = n.name;
            bestDistance = d;
        }
    }
    return best;
}

std::u16string cmx3600DefaultTitle(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"/\\");
    std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::u16string(name);
}

std::string cmx3600Text(const EdlDocument& doc, std::u16string_view title, bool convert) {
    const int32_t count = doc.events ? doc.eventCount() : 0;
    const bool docDropFrame = doc.dropFrame != 0;
    const bool recordDropFrame = docDropFrame != convert;
    std::string out;
    out.reserve(64 + static_cast<size_t>(count) * 100);

    std::u16string oneLineTitle(title);
    for (char16_t& c : oneLineTitle) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    out.append("TITLE: ").append(oneLineBytes(oneLineTitle, true)).append("\r\n");
    out.append(recordDropFrame ? "FCM: DROP FRAME\r\n" : "FCM: NON-DROP FRAME\r\n");
    out.append("\r\n");

    int previousNumber = -1;
    for (int32_t k = 0; k < count; ++k) {
        const EdlEvent& event = doc.events[k];
        const EdlEvent* previous = k > 0 ? &doc.events[k - 1] : nullptr;
        // An edit is the run of lines with the same EDIT text. A new edit never takes the number of
        // the one before it ("0003" then "003", or 0001 then 1000 after the wrap): a CMX reader
        // would join them into one event, so it takes the next number instead.
        const bool sameEdit = previous && columnText(*previous, kColEdit) == columnText(event, kColEdit);
        int number = sameEdit ? previousNumber : cmx3600EventNumber(editNumberOf(event));
        if (!sameEdit && number == previousNumber)
            number = number % 999 + 1;
        previousNumber = number;
        const std::string reel = reelBytes(columnText(event, kColReel));
        const Channels channels = channelsOf(event);
        const Kind kind = kindOf(event);

        EventLine line;
        line.number = number;
        line.reel = reel;
        line.channels = channelField(channels);
        line.srcIn = sourceTimecode(event, kColSrcIn);
        line.srcOut = sourceTimecode(event, kColSrcOut);
        line.recIn = recordTimecode(event, kColRecIn, event.recIn, docDropFrame, convert);
        line.recOut = recordTimecode(event, kColRecOut, event.recOut, docDropFrame, convert);
        int transition = 0;
        const bool hasTransition = leadingNumber(columnText(event, kColTransition), transition);
        transition = std::min(std::max(transition, 0), 999);

        switch (kind) {
        case Kind::Cut:
            std::strcpy(line.type, "C");
            break;
        case Kind::Dissolve:
        case Kind::Wipe: {
            if (kind == Kind::Dissolve) {
                std::strcpy(line.type, "D");
            } else {
                int pattern = 0;
                leadingNumber(columnText(event, kColPattern), pattern);
                line.type[0] = 'W';
                putNumber(line.type + 1, 3, std::min(std::max(pattern, 0), 999));
            }
            line.transition = transition;
            // The outgoing side: a cut of zero length at the transition's record IN, from where the
            // event before it ends. A zero-length cut of the same edit already written is that line.
            const bool outgoingWritten = sameEdit && kindOf(*previous) == Kind::Cut &&
                                         previous->recIn == previous->recOut && previous->recOut == event.recIn;
            if (!outgoingWritten) {
                const std::string fromReel = previous ? reelBytes(columnText(*previous, kColReel)) : "BL";
                EventLine from = line;
                from.reel = fromReel;
                std::strcpy(from.type, "C");
                from.transition = -1;
                from.srcIn = from.srcOut = previous ? sourceTimecode(*previous, kColSrcOut)
                                                    : timecodeOf(TimecodeParts{}, event.srcDropFrame != 0);
                from.recOut = from.recIn;
                appendEventLine(out, from);
            }
            break;
        }
        case Kind::Key:
        case Kind::KeyBackground:
        case Kind::KeyOut:
            std::strcpy(line.type, kind == Kind::Key ? "K" : kind == Kind::KeyBackground ? "KB" : "KO");
            if (hasTransition)
                line.transition = transition;
            break;
        }
        appendEventLine(out, line);

        if (channels.a3 || channels.a4) {
            out.append("AUD  ").append(channels.a3 ? "3" : "4");
            if (channels.a3 && channels.a4)
                out.append("    4");
            out.append("\r\n");
        }
        int percent = 0;
        if (leadingNumber(columnText(event, kColSpeed), percent))
            appendSpeedLine(out, reel, percent, line.srcIn);

        // An edit written over several lines carries its comment on each; it is written once.
        const std::u16string_view comment = optionCommentOf(event);
        if (!comment.empty() && !(sameEdit && optionCommentOf(*previous) == comment))
            appendCommentLines(out, comment, "* ", true);
        appendCommentLines(out, workMemoOf(event), "* COMMENT: ", false);
        if (event.marker >= 0 && event.marker < 8) {
            out.append("* LOC: ").append(line.recIn.data(), kTimecodeLength).append(" ");
            std::string colour(cmx3600ColourName(doc.markerColours[event.marker]));
            colour.resize(7, ' ');
            out.append(colour).append(" ");
            out.append(oneLineBytes(textUpToNul(doc.markerNames[event.marker]), true)).append("\r\n");
        }
    }
    return out;
}

EdlExportOutcome exportCmx3600File(const EdlDocument& doc, std::u16string_view path, std::u16string_view title,
                                   bool convert, bool overwriteConfirmed) {
    EdlExportOutcome outcome;
    outcome.write = writeExportFile(path, overwriteConfirmed, [&](ByteSink& sink) {
        const std::string bytes = cmx3600Text(doc, title, convert);
        sink.expectSize(static_cast<int64_t>(bytes.size()));
        return sink.write(bytes.data(), bytes.size());
    });
    outcome.message = writeOutcomeMessage(outcome.write, path, formatExportMessage(kMsgEdlCreated, {path}));
    return outcome;
}

} // namespace qlp
