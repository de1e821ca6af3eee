#include "model/edl_reader.h"

#include "model/bytes.h"
#include "model/collation.h"
#include "model/cp932.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_layout.h"
#include "model/quicksort.h"
#include "model/records.h"
#include "model/timecode.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace qlp {

namespace {

constexpr size_t kPieceLength = 254; // characters read into the line buffer at a time
constexpr size_t kRecognitionPieces = 25;
constexpr size_t kRecognitionLength = 199;
constexpr size_t kCommentBytes = 511; // the comment buffer holds 512 bytes with its terminator
constexpr size_t kColumnBytes = 31;   // a column buffer holds 32 bytes with its terminator
constexpr size_t kTimecodeChars = 11; // hh:mm:ss.ff

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The next piece as a fixed-size line reader hands it out: up to and including a line feed, or
// kLength characters when the line is longer.
template <size_t kLength> size_t pieceEnd(std::string_view bytes, size_t pos) {
    const size_t limit = std::min(bytes.size(), pos + kLength);
    const void* lf = std::memchr(bytes.data() + pos, '\n', limit - pos);
    return lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) + 1 : limit;
}

// The text of a piece as string functions see it: up to its first NUL byte.
std::string_view pieceText(std::string_view bytes, size_t begin, size_t end) {
    std::string_view piece = bytes.substr(begin, end - begin);
    const size_t nul = piece.find('\0');
    return nul == std::string_view::npos ? piece : piece.substr(0, nul);
}

// The number of ':' in a line, eight bytes at a time: this test runs on every line of the file.
size_t countColons(std::string_view s) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    size_t count = 0;
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        word ^= kOnes * ':';
        // The high bit of each byte that is zero, exactly (no borrow between bytes).
        const uint64_t zero = ~(((word & kLow7) + kLow7) | word | kLow7);
        // One bit per matching byte, at bit 7 of its byte: summed by a multiplication.
        count += static_cast<size_t>(((zero >> 7) * kOnes) >> 56);
    }
    for (; i < s.size(); ++i)
        count += s[i] == ':';
    return count;
}

// A column buffer: at most 31 bytes. Only the first `length` bytes are ever read, so the rest is
// left unset (a line's twelve columns are set up for every line of the file).
struct ColumnText {
    char bytes[kColumnBytes + 1];
    size_t length = 0;

    // An empty view may carry a null pointer, which memcpy must not be given even for 0 bytes.
    void assign(std::string_view s) {
        length = std::min(s.size(), kColumnBytes);
        if (length > 0)
            std::memcpy(bytes, s.data(), length);
    }
    void append(std::string_view s) {
        const size_t n = std::min(s.size(), kColumnBytes - length);
        if (n > 0)
            std::memcpy(bytes + length, s.data(), n);
        length += n;
    }
    std::string_view view() const { return {bytes, length}; }
};

struct EventColumns {
    ColumnText col[12];
};

// The characters from `from` up to the next space, `stop` or the end of the line.
std::string_view takeUntilSpace(std::string_view s, size_t from, size_t stop) {
    size_t end = from;
    const size_t limit = std::min(stop, s.size());
    while (end < limit && s[end] != ' ')
        ++end;
    return from < limit ? s.substr(from, end - from) : std::string_view();
}

// The first index at or after `from` where `token` starts, or npos. Plain loops: the lines are
// short and the tokens rare, so this beats the general string searches by far.
size_t findToken(std::string_view s, size_t from, std::string_view token) {
    if (s.size() < token.size())
        return std::string_view::npos;
    const size_t last = s.size() - token.size();
    for (size_t i = from; i <= last; ++i) {
        const void* hit = std::memchr(s.data() + i, token[0], last + 1 - i);
        if (!hit)
            break;
        i = static_cast<size_t>(static_cast<const char*>(hit) - s.data());
        if (std::memcmp(s.data() + i, token.data(), token.size()) == 0)
            return i;
    }
    return std::string_view::npos;
}

// The byte index of each of the four timecodes of an event line: the first starts 8 characters
// before the line's first '.' or ','; each following one at the first character above the space
// after the character that follows the previous one. False when the line does not hold four
// complete 11-character timecodes there.
bool timecodeStarts(std::string_view s, size_t (&tc)[4]) {
    const size_t n = s.size();
    const void* dot = std::memchr(s.data(), '.', n);
    size_t sep = dot ? static_cast<size_t>(static_cast<const char*>(dot) - s.data()) : n;
    if (const void* comma = std::memchr(s.data(), ',', sep))
        sep = static_cast<size_t>(static_cast<const char*>(comma) - s.data());
    if (sep == n || sep < 8)
        return false;
    tc[0] = sep - 8;
    for (int t = 1; t < 4; ++t) {
        size_t k = tc[t - 1] + 12;
        while (k < n && static_cast<signed char>(s[k]) <= ' ')
            ++k;
        tc[t] = k;
    }
    for (size_t start : tc)
        if (start + kTimecodeChars > n)
            return false;
    return true;
}

// Splits an event line into its twelve column texts, or with kAllColumns false only into EDIT,
// REEL and the four timecodes. False when the line does not hold four complete timecodes after its
// first '.' or ',' - such a line cannot be an event.
template <bool kAllColumns> bool splitEventLine(std::string_view s, EventColumns& c) {
    const size_t n = s.size();
    size_t tc[4];
    if (!timecodeStarts(s, tc))
        return false;
    const size_t tcStart = tc[0];

    // EDIT: the digits from the first digit of the line, at most four.
    size_t p = 0;
    while (p < n && !isDigit(s[p]))
        ++p;
    {
        const size_t begin = p;
        while (p < n && p - begin < 4 && isDigit(s[p]))
            ++p;
        c.col[kColEdit].assign(s.substr(begin, p - begin));
    }

    // REEL: up to six characters from the first non-space after p.
    {
        size_t begin = p + 1;
        while (begin < n && s[begin] == ' ')
            ++begin;
        begin = std::min(begin, n);
        p = begin;
        while (p < n && p - begin < 6 && s[p] != ' ')
            ++p;
        c.col[kColReel].assign(s.substr(begin, p - begin));
        while (p < tcStart && s[p] == ' ')
            ++p;
    }
    for (int t = 0; t < 4; ++t)
        c.col[kColSrcIn + t].assign(s.substr(tc[t], 11));
    if constexpr (!kAllColumns)
        return true;

    // V, or the whole assemble marker.
    if (p < n && s[p] == 'V') {
        c.col[kColV].assign("V");
        ++p;
    }
    if (p < n && findToken(s, p, "ASMBL") != std::string_view::npos)
        c.col[kColV].assign(takeUntilSpace(s, p, n));

    // A: audio channels 1 and 2 before the timecodes.
    ColumnText& audio = c.col[kColA];
    audio.assign("    ");
    if (p < tcStart) {
        size_t i = p;
        while (i < tcStart && s[i] != 'A')
            ++i;
        if (i < tcStart && i + 1 < n) {
            const char next = s[i + 1];
            if (next == ' ' || next == '1') {
                if (next == '1')
                    audio.assign("A1  ");
                p = i + 2;
                for (size_t k = i + 2; k + 1 < n && k < tcStart;) {
                    if (s[k] == 'A' && s[k + 1] == '2') {
                        audio.assign(next == '1' ? "A1A2" : "  A2");
                        p = k + 2;
                        k += 2;
                    } else {
                        ++k;
                    }
                }
            } else if (next == '2') {
                audio.assign("  A2");
                p = i + 2;
            }
        }
    }

    // TYP: the first capital letter before the timecodes and the character after it.
    {
        size_t i = p;
        while (i < tcStart && !(s[i] >= 'A' && s[i] <= 'Z'))
            ++i;
        if (i < tcStart) {
            const size_t len = (i + 1 < n && s[i + 1] != ' ') ? 2 : 1;
            c.col[kColType].assign(s.substr(i, len));
            p = i + len;
        } else {
            p = tcStart;
        }
    }

    size_t q = std::min(p + 1, n);
    while (q < n && s[q] == ' ')
        ++q;

    const std::string_view type = c.col[kColType].view();
    if (type == "KI" || type == "KB" || type == "W") {
        const std::string_view pattern = takeUntilSpace(s, q, tcStart);
        c.col[kColPattern].assign(pattern);
        q += pattern.size();
    }
    while (q < tcStart && s[q] == ' ')
        ++q;
    c.col[kColTransition].assign(takeUntilSpace(s, q, tcStart));

    // SPED after "DM", then audio channels 3 and 4.
    size_t scan = tc[3] + 11;
    if (scan < n) {
        const size_t dm = findToken(s, scan, "DM");
        if (dm != std::string_view::npos) {
            size_t k = dm + 2;
            while (k < n && k - (dm + 2) < 4 && (isDigit(s[k]) || s[k] == '+' || s[k] == '-'))
                ++k;
            c.col[kColSpeed].assign(s.substr(dm + 2, k - (dm + 2)));
            scan = k;
        }
    }
    const size_t a = s.find('A', std::min(scan, n));
    if (a != std::string_view::npos && a + 1 < n) {
        if (s[a + 1] == '3') {
            audio.append("A3");
            if (s.find('4', a + 2) != std::string_view::npos)
                audio.append("A4");
        } else if (s[a + 1] == '4') {
            audio.append("  A4");
        }
    }
    return true;
}

void copyWide(char16_t* dest, size_t capacity, std::u16string_view text) {
    const size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(dest, text.data(), n * sizeof(char16_t));
    dest[n] = 0;
}

// A timecode column as nearly every EDL writes it: eleven ASCII characters, two digits in each
// field and a non-digit between the fields ("01:00:00.00", "01:00:00,00").
// Returns false for any other column. Otherwise the fields are stored as parseTimecode stores
// them - in order, up to the first one out of range - without widening the column first.
bool plainTimecodeParts(std::string_view t, TimecodeParts& parts) {
    if (t.size() != 11)
        return false;
    const auto* u = reinterpret_cast<const unsigned char*>(t.data());
    // A byte below '0' wraps to a large value, so one comparison tests a digit.
    const auto digit = [u](int i) { return static_cast<unsigned>(u[i]) - '0'; };
    const auto separator = [u](int i) { return u[i] < 0x80 && (u[i] < '0' || u[i] > '9'); };
    const unsigned h1 = digit(0), h0 = digit(1), m1 = digit(3), m0 = digit(4);
    const unsigned s1 = digit(6), s0 = digit(7), f1 = digit(9), f0 = digit(10);
    if ((h1 > 9) | (h0 > 9) | (m1 > 9) | (m0 > 9) | (s1 > 9) | (s0 > 9) | (f1 > 9) | (f0 > 9) || !separator(2) ||
        !separator(5) || !separator(8))
        return false;
    const auto hours = static_cast<int32_t>(h1 * 10 + h0);
    const auto minutes = static_cast<int32_t>(m1 * 10 + m0);
    const auto seconds = static_cast<int32_t>(s1 * 10 + s0);
    const auto frames = static_cast<int32_t>(f1 * 10 + f0);
    if (hours > 23)
        return true;
    parts.hours = hours;
    if (minutes > 59)
        return true;
    parts.minutes = minutes;
    if (seconds > 59)
        return true;
    parts.seconds = seconds;
    if (frames <= 29)
        parts.frames = frames;
    return true;
}

// The fields of a timecode column. Columns of another shape are widened and parsed the general way.
TimecodeParts timecodeParts(std::string_view column) {
    TimecodeParts parts;
    if (!plainTimecodeParts(column, parts)) {
        char16_t text[kColumnTextLength];
        cp932::decodeInto(column, text, kColumnTextLength);
        parseTimecode(text, parts);
    }
    return parts;
}

// The label count of a timecode (the calculator's '+' with a zero operand).
int32_t labelOf(const TimecodeParts& parts, int32_t dropFrame) {
    TimecodeCalc calc;
    calc.dropFrame = dropFrame;
    calc.a = parts;
    if (!dropFrame) {
        // Every field is in range here, and for non-drop-frame the calculator's label is then the
        // plain count of the digits.
        return parts.hours * kFramesPerHour + parts.minutes * kFramesPerMinute + parts.seconds * 30 + parts.frames;
    }
    return calculate(calc, '+') ? calc.resultLabel : 0;
}

int32_t durationOf(const TimecodeParts& in, const TimecodeParts& out, int32_t dropFrame) {
    TimecodeCalc calc;
    calc.dropFrame = dropFrame;
    calc.a = out;
    calc.b = in;
    return calculate(calc, '-') ? calc.resultReal : 0;
}

// The DURATION column: "%02d:%02d:%02d.%02d" of the count split into fields.
void writeDurationText(char16_t* dest, int32_t count) {
    TimecodeParts p;
    splitFrames(count, p);
    const int32_t fields[4] = {p.hours, p.minutes, p.seconds, p.frames};
    for (int32_t f : fields) {
        if (f < 0 || f > 99) {
            copyWide(dest, kColumnTextLength, formatCount(count));
            return;
        }
    }
    for (int f = 0; f < 4; ++f) {
        dest[3 * f] = static_cast<char16_t>(u'0' + fields[f] / 10);
        dest[3 * f + 1] = static_cast<char16_t>(u'0' + fields[f] % 10);
        if (f < 3)
            dest[3 * f + 2] = f < 2 ? u':' : u'.';
    }
    dest[11] = 0;
}

int32_t toInt(const char16_t* text) {
    int64_t value = 0;
    for (; *text >= u'0' && *text <= u'9' && value < INT32_MAX / 10; ++text)
        value = value * 10 + (*text - u'0');
    return static_cast<int32_t>(value);
}

// The option comment being collected from comment lines, and the one attached last.
class CommentState {
public:
    // Appends a comment line from byte `from`; the buffer keeps at most 511 bytes and never ends
    // inside a double-byte character.
    void append(std::string_view line, size_t from) {
        size_t end = from;
        size_t room = kCommentBytes - length_;
        while (end < line.size()) {
            const size_t width =
                (cp932::isLeadByte(static_cast<unsigned char>(line[end])) && end + 1 < line.size()) ? 2 : 1;
            if (width > room)
                break;
            room -= width;
            end += width;
        }
        std::memcpy(buffer_ + length_, line.data() + from, end - from);
        length_ += end - from;
        pending_ = true;
    }

    // Attaches the comment to the event with this EDIT text: the index of its text in the pool, or
    // -1 without a comment. With kKeepText false the text is only measured (the pool stays as it
    // is and the index returned is 0).
    template <bool kKeepText> int64_t attach(std::u16string_view edit, std::vector<char16_t>& pool) {
        int64_t result = -1;
        if (pending_) {
            remembered_.assign(edit);
            current_ = -1;
            const std::string_view bytes(buffer_, length_);
            if constexpr (kKeepText) {
                // Every character takes at least one byte, so the bytes bound the text's length.
                const size_t start = pool.size();
                pool.resize(start + length_ + 1);
                const size_t length = cp932::decodeInto(bytes, pool.data() + start, length_ + 1);
                pool.resize(length > 0 ? start + length + 1 : start);
                if (length > 0) {
                    current_ = static_cast<int64_t>(start);
                    currentLength_ = static_cast<int32_t>(length);
                }
            } else if (const size_t length = cp932::decodedLength(bytes); length > 0) {
                current_ = 0;
                currentLength_ = static_cast<int32_t>(length);
            }
            pending_ = false;
            result = current_;
        } else if (edit == remembered_) {
            result = current_;
        } else {
            remembered_.clear();
            current_ = -1;
        }
        length_ = 0;
        return result;
    }
    int32_t currentLength() const { return currentLength_; }

private:
    char buffer_[kCommentBytes + 1];
    size_t length_ = 0;
    bool pending_ = false;
    std::u16string remembered_;
    int64_t current_ = -1;
    int32_t currentLength_ = 0;
};

// A comment line's text starts at its first visible single-byte character from the second
// column on, standing in column 11, 12 or 13. Bytes of 0x80 and above count as blank in that
// test; when the character found is the second byte of a double-byte character, the text starts
// at that character's first byte so no character is cut in half. Returns npos for other lines.
size_t commentStart(std::string_view s) {
    size_t k = 1;
    while (k < s.size() && static_cast<signed char>(s[k]) <= ' ')
        ++k;
    if (k >= s.size() || k < 10 || k > 12)
        return std::string_view::npos;
    size_t start = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t width = (cp932::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
        if (k < i + width) {
            start = i;
            break;
        }
        i += width;
    }
    return start;
}

// The distinct reel names in order of first appearance, and each event's name as an index into them.
class ReelCollector {
public:
    void add(const char16_t* name) {
        std::u16string key(name);
        auto it = firstSeen_.find(key);
        if (it == firstSeen_.end()) {
            it = firstSeen_.emplace(std::move(key), static_cast<int32_t>(names_.size())).first;
            names_.push_back(it->first);
        }
        perEvent_.push_back(it->second);
    }

    // Sorts the names with the reel collation (a quicksort with the middle element as pivot; the
    // names are distinct, so the order is fully determined) and counts their use. rank[i] is the
    // sorted position of the i-th name seen.
    void finish(std::vector<std::u16string>& sortedNames, std::vector<int32_t>& useCounts) {
        std::vector<int32_t> sorted(names_.size());
        for (size_t i = 0; i < sorted.size(); ++i)
            sorted[i] = static_cast<int32_t>(i);
        if (!sorted.empty()) {
            hoareQuicksort(
                sorted.data(), 0, static_cast<long>(sorted.size()) - 1,
                [&](int32_t i) { return std::u16string_view(names_[i]); },
                [](std::u16string_view a, std::u16string_view b) { return compareReelNames(a, b) < 0; });
        }
        rank_.assign(names_.size(), 0);
        sortedNames.resize(names_.size());
        for (size_t r = 0; r < sorted.size(); ++r) {
            rank_[sorted[r]] = static_cast<int32_t>(r);
            sortedNames[r] = names_[sorted[r]];
        }
        useCounts.assign(names_.size(), 0);
        for (int32_t first : perEvent_)
            ++useCounts[rank_[first]];
    }
    // The reelIndex of event i (after finish).
    int32_t reelIndexOf(size_t event) const { return rank_[perEvent_[event]]; }
    void reserve(size_t events) { perEvent_.reserve(events); }

private:
    std::unordered_map<std::u16string, int32_t> firstSeen_;
    std::vector<std::u16string> names_;
    std::vector<int32_t> perEvent_;
    std::vector<int32_t> rank_;
};

// editGroup, walking the events in order: an event that repeats the EDIT text of the one before
// it shares its group, and that one then takes the group too (the first event keeps -1 unless the
// second shares its edit number).
class EditGroups {
public:
    void add(const char16_t* edit) {
        const std::u16string_view text(edit);
        if (groups_.empty()) {
            groups_.push_back(-1);
        } else {
            if (text != previous_)
                ++counter_;
            else
                groups_.back() = counter_;
            groups_.push_back(counter_);
        }
        previous_.assign(text);
    }
    int32_t of(size_t event) const { return groups_[event]; }
    void reserve(size_t events) { groups_.reserve(events); }

private:
    std::vector<int32_t> groups_;
    std::u16string previous_;
    int32_t counter_ = 1;
};

// How much of each event the line loop fills in: everything, or only what the header, the reel
// table and the layout of a work file depend on (EDIT, REEL, R-VTR IN and the comment lengths).
enum class Detail { Layout, Full };

struct LineTotals {
    int64_t lineCount = 0;
    int32_t dropFrame = 0; // the record DF flag of the last event line
};

// Reads the EDL line by line, collecting comments and building one event per event line. `store`
// supplies each event's record (newEvent) and takes it back completed (add, with the index of its
// comment in commentPool or -1). The events' editGroup and reelIndex are left to the caller.
template <Detail kDetail, typename Store>
LineTotals parseLines(std::string_view bytes, std::vector<char16_t>& commentPool, Store& store) {
    LineTotals totals;
    CommentState comment;
    int32_t runningOffset = 0;
    int32_t eventCount = 0;
    int64_t lineIndex = 0;

    for (size_t pos = 0; pos < bytes.size(); ++lineIndex) {
        const size_t end = pieceEnd<kPieceLength>(bytes, pos);
        const std::string_view line = pieceText(bytes, pos, end);
        pos = end;

        if (countColons(line) < 8) {
            const size_t start = commentStart(line);
            if (start != std::string_view::npos)
                comment.append(line, start);
            continue;
        }

        EventColumns columns;
        if (!splitEventLine<kDetail == Detail::Full>(line, columns))
            continue;

        EdlEvent& ev = store.newEvent();
        if constexpr (kDetail == Detail::Full) {
            for (int c = 0; c < 12; ++c)
                cp932::decodeInto(columns.col[c].view(), ev.text[c], kColumnTextLength);
        } else {
            for (int c : {kColEdit, kColReel})
                cp932::decodeInto(columns.col[c].view(), ev.text[c], kColumnTextLength);
        }

        const int64_t commentIndex = comment.attach<kDetail == Detail::Full>(ev.text[kColEdit], commentPool);
        ev.hasOptionComment = 0;
        ev.optionCommentLength = 0;
        if (commentIndex >= 0) {
            ev.optionCommentLength = comment.currentLength();
            ev.hasOptionComment = 1;
        }

        ev.srcDropFrame = columns.col[kColSrcIn].view()[8] == ',' ? 1 : 0;
        const int32_t recDropFrame = columns.col[kColRecIn].view()[8] == ',' ? 1 : 0;
        const TimecodeParts recIn = timecodeParts(columns.col[kColRecIn].view());
        if constexpr (kDetail == Detail::Full) {
            const TimecodeParts recOut = timecodeParts(columns.col[kColRecOut].view());
            ev.srcIn = labelOf(timecodeParts(columns.col[kColSrcIn].view()), ev.srcDropFrame);
            ev.srcOut = labelOf(timecodeParts(columns.col[kColSrcOut].view()), ev.srcDropFrame);
            ev.recIn = labelOf(recIn, ev.srcDropFrame);
            ev.recOut = labelOf(recOut, ev.srcDropFrame);
            ev.srcSortKey = ev.srcIn;
            ev.recInCopy = ev.recSortKey = ev.recIn;
            ev.recOutCopy = ev.recOut;
            if (ev.srcOut < ev.srcIn && ev.text[kColSpeed][0] == u'-') {
                std::swap(ev.srcIn, ev.srcOut);
                ev.srcSortKey = ev.srcIn;
            }
            ev.duration = durationOf(recIn, recOut, recDropFrame);
            writeDurationText(ev.text[kColDuration], ev.duration);
        } else {
            ev.recInCopy = labelOf(recIn, ev.srcDropFrame);
        }

        ev.fileOffset = runningOffset;
        ev.recordSize = kEventRecordSize + 2 * ev.optionCommentLength;
        runningOffset += ev.recordSize;
        ev.lineNumber = static_cast<int32_t>(lineIndex);
        ev.sequence = ++eventCount;
        ev.marker = kNoMarker;
        ev.editGroup = -1;
        totals.dropFrame = recDropFrame;
        store.add(ev, commentIndex);
    }
    totals.lineCount = lineIndex;
    return totals;
}

// Everything written before the events: the header's values and the sorted reel table.
struct WorkFileHead {
    int64_t eventCount = 0;
    int64_t eventBytes = 0; // the events block: records and comments
    const std::vector<std::u16string>* reelNames = nullptr;
    const std::vector<int32_t>* reelUseCounts = nullptr;
    int32_t dropFrame = 0;
    int32_t hasHour23 = 0;
    int32_t lastEditNumber = 0;
};

// Writes the magic, the header of a new document, the EDL's bytes and the reel table. False when
// the file would outgrow the format's 32-bit offsets.
bool writeHead(const WorkFileHead& head, std::string_view edlBytes, ByteSink& sink,
               std::unique_ptr<ChunkedWriter>& out) {
    const int64_t reels = static_cast<int64_t>(head.reelNames->size());
    const SectionOffsets sections = sectionOffsets(static_cast<int64_t>(edlBytes.size()), reels, head.eventBytes);
    if (!sections.fitInHeader())
        return false;

    EdlDocument header;
    initNewDocumentHeader(header, head.dropFrame);
    header.viewCount[kAllEvents] = static_cast<int32_t>(head.eventCount);
    header.reelCount = static_cast<int32_t>(reels);
    header.lastEditNumber = head.lastEditNumber;
    header.hasHour23 = head.hasHour23;
    storeSectionOffsets(sections, header);

    out = std::make_unique<ChunkedWriter>(sink, sections.end);
    if (!out->ok())
        return false;
    uint8_t image[kHeaderSize];
    writeWide(image, kProjectMagic.data(), kProjectMagic.size());
    out->write(image, kMagicSize);
    writeHeaderImage(header, image);
    out->write(image, kHeaderSize);
    out->writeInPlace(reinterpret_cast<const uint8_t*>(edlBytes.data()), edlBytes.size());
    for (const std::u16string& name : *head.reelNames) {
        char16_t padded[kReelNameLength] = {};
        copyWide(padded, kReelNameLength, name);
        writeWide(image, padded, kReelNameLength);
        out->write(image, kReelNameSlotSize);
    }
    for (int32_t count : *head.reelUseCounts) {
        writeI32(image, count);
        out->write(image, kReelCountSlotSize);
    }
    out->zeros(static_cast<size_t>(kReelCommentSlotSize * reels));
    return true;
}

// One event block: the record and its option comment. Returns where the record was built.
template <typename Out> uint8_t* writeEventBlock(Out& out, const EdlEvent& ev, const char16_t* comment) {
    uint8_t* record = out.room(kEventRecordSize);
    writeEventImage(ev, record);
    out.commit(kEventRecordSize);
    if (ev.hasOptionComment && ev.optionCommentLength > 0)
        out.wide(comment, static_cast<size_t>(ev.optionCommentLength));
    return record;
}

// parseEdl's store: every event in a vector.
struct VectorStore {
    ParsedEdl& parsed;
    std::vector<int64_t> commentOf;
    EdlEvent& newEvent() { return parsed.events.emplace_back(); }
    void add(const EdlEvent&, int64_t commentIndex) { commentOf.push_back(commentIndex); }
};

// The first pass of a conversion: only what the work file's head and each event's editGroup and
// reelIndex need, a few bytes per event.
struct LayoutStore {
    EdlEvent scratch;
    ReelCollector reels;
    EditGroups groups;
    int64_t count = 0;
    int64_t eventBytes = 0;
    int32_t hasHour23 = 0;
    int32_t lastEditNumber = 0;
    EdlEvent& newEvent() { return scratch; }
    void add(const EdlEvent& ev, int64_t) {
        reels.add(ev.text[kColReel]);
        groups.add(ev.text[kColEdit]);
        if (ev.recInCopy / kFramesPerHour == 23)
            hasHour23 = 1;
        eventBytes += ev.recordSize;
        lastEditNumber = toInt(ev.text[kColEdit]);
        ++count;
    }
};

// Event blocks of the second pass made before the first pass has finished: they wait in memory,
// their editGroup and reelIndex still to be filled in, until the head of the work file is known.
class EventSpool {
public:
    static constexpr size_t kPieceSize = 2 << 20;

    bool ok() const { return ok_; }
    uint8_t* room(size_t n) {
        if (!ok_)
            return scratch_;
        if (pieces_.empty() || used_ + n > kPieceSize) {
            if (!pieces_.empty())
                pieces_.back().size = used_;
            auto buffer = std::make_unique<LargeBuffer>(kPieceSize);
            if (!buffer->data()) {
                ok_ = false; // memory exhausted: the conversion fails
                return scratch_;
            }
            pieces_.push_back({std::move(buffer), 0});
            used_ = 0;
        }
        return pieces_.back().buffer->data() + used_;
    }
    void commit(size_t n) {
        if (ok_)
            used_ += n;
    }
    void wide(const char16_t* text, size_t count) {
        writeWide(room(2 * count), text, count);
        commit(2 * count);
    }
    // Remembers where the next held event's record is.
    void addRecord(uint8_t* record) { records_.push_back(record); }

    // Fills in each held event's editGroup and reelIndex and hands the blocks to the writer.
    template <typename GroupOf, typename ReelOf> void release(ChunkedWriter& out, GroupOf groupOf, ReelOf reelOf) {
        if (!ok_)
            return;
        for (size_t i = 0; i < records_.size(); ++i) {
            writeI32(records_[i] + kEditGroupOffset, groupOf(i));
            writeI32(records_[i] + kReelIndexOffset, reelOf(i));
        }
        if (!pieces_.empty())
            pieces_.back().size = used_;
        for (Piece& piece : pieces_)
            out.writeBuffer(std::move(piece.buffer), piece.size);
        pieces_.clear();
        records_.clear();
    }

private:
    // Where the record image keeps the two fields; the struct's first 100 bytes follow the image.
    static constexpr size_t kEditGroupOffset = kEventEditGroup.offset;
    static constexpr size_t kReelIndexOffset = kEventReelIndex.offset;
    static_assert(offsetof(EdlEvent, editGroup) == kEditGroupOffset &&
                  offsetof(EdlEvent, reelIndex) == kReelIndexOffset);
    struct Piece {
        std::unique_ptr<LargeBuffer> buffer;
        size_t size = 0;
    };
    std::vector<Piece> pieces_;
    std::vector<uint8_t*> records_;
    size_t used_ = 0;
    bool ok_ = true;
    uint8_t scratch_[kEventRecordSize + 2 * (kCommentBytes + 1)]; // takes the writes once memory ran out
};

// The first pass of a conversion, run on a thread of its own.
class LayoutPass {
public:
    explicit LayoutPass(std::string_view text) : text_(text) {
        // An event line takes some 80 bytes: room for the per-event tables saves growing them step by step.
        layout_.reels.reserve(text.size() / 80 + 1);
        layout_.groups.reserve(text.size() / 80 + 1);
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            run();
        }
    }
    ~LayoutPass() {
        if (thread_.joinable())
            thread_.join();
    }
    LayoutPass(const LayoutPass&) = delete;
    LayoutPass& operator=(const LayoutPass&) = delete;

    bool done() const { return done_.load(std::memory_order_acquire); }
    // Waits for the pass; rethrows what it threw (memory exhausted).
    const LayoutStore& wait() {
        if (thread_.joinable())
            thread_.join();
        if (error_) {
            std::exception_ptr error = std::move(error_);
            error_ = nullptr;
            std::rethrow_exception(error);
        }
        return layout_;
    }
    const LineTotals& totals() const { return totals_; }
    const std::vector<std::u16string>& reelNames() const { return reelNames_; }
    const std::vector<int32_t>& reelUseCounts() const { return reelUseCounts_; }

private:
    void run() {
        try {
            std::vector<char16_t> comments;
            totals_ = parseLines<Detail::Layout>(text_, comments, layout_);
            layout_.reels.finish(reelNames_, reelUseCounts_);
        } catch (...) {
            error_ = std::current_exception();
        }
        done_.store(true, std::memory_order_release);
    }

    std::string_view text_;
    LayoutStore layout_;
    LineTotals totals_;
    std::vector<std::u16string> reelNames_;
    std::vector<int32_t> reelUseCounts_;
    std::exception_ptr error_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// The second pass: each event completed and written at once, or held in the spool while the
// first pass is still running. The work file's head is written as soon as that pass has finished.
class WritingStore {
public:
    WritingStore(LayoutPass& layout, std::string_view text, ByteSink& sink, std::vector<char16_t>& commentPool)
        : layout_(layout), text_(text), sink_(sink), commentPool_(commentPool) {}

    EdlEvent& newEvent() {
        scratch_ = EdlEvent{};
        return scratch_;
    }
    void add(EdlEvent& ev, int64_t commentIndex) {
        const char16_t* comment = commentIndex >= 0 ? commentPool_.data() + commentIndex : nullptr;
        if (!layoutStore_ && layout_.done())
            startFile();
        if (!layoutStore_) {
            spool_.addRecord(writeEventBlock(spool_, ev, comment));
        } else if (out_) {
            if (index_ < static_cast<size_t>(layoutStore_->count)) {
                ev.editGroup = layoutStore_->groups.of(index_);
                ev.reelIndex = layoutStore_->reels.reelIndexOf(index_);
            }
            writeEventBlock(*out_, ev, comment);
        }
        ++index_;
    }
    // Completes the file; false when it could not be written.
    bool finish() {
        if (!layoutStore_)
            startFile();
        return out_ && spool_.ok() && index_ == static_cast<size_t>(layoutStore_->count) && out_->finish();
    }

private:
    // Writes the head, then the held events with their editGroup and reelIndex filled in. Without
    // a head (the file would outgrow the format) nothing more is written.
    void startFile() {
        layoutStore_ = &layout_.wait();
        WorkFileHead head;
        head.eventCount = layoutStore_->count;
        head.eventBytes = layoutStore_->eventBytes;
        head.reelNames = &layout_.reelNames();
        head.reelUseCounts = &layout_.reelUseCounts();
        head.dropFrame = layout_.totals().dropFrame;
        head.hasHour23 = layoutStore_->hasHour23;
        head.lastEditNumber = layoutStore_->lastEditNumber;
        if (!writeHead(head, text_, sink_, out_)) {
            out_.reset();
            return;
        }
        const size_t known = static_cast<size_t>(layoutStore_->count);
        spool_.release(
            *out_, [&](size_t i) { return i < known ? layoutStore_->groups.of(i) : -1; },
            [&](size_t i) { return i < known ? layoutStore_->reels.reelIndexOf(i) : 0; });
    }

    LayoutPass& layout_;
    const LayoutStore* layoutStore_ = nullptr; // once the first pass has finished
    std::string_view text_;
    ByteSink& sink_;
    std::vector<char16_t>& commentPool_;
    EdlEvent scratch_;
    EventSpool spool_;
    std::unique_ptr<ChunkedWriter> out_;
    size_t index_ = 0;
};

// Converts without holding every event in memory. A first pass learns the head of the work file;
// the second, run at the same time, parses again and writes each event as it is completed, holding
// back only those it makes before the first pass has finished. The bytes are those of
// writeWorkFile(parseEdl(text)).
bool convertStreaming(std::string_view text, ByteSink& sink) {
    LayoutPass layout(text);
    std::vector<char16_t> comments;
    WritingStore writing(layout, text, sink, comments);
    parseLines<Detail::Full>(text, comments, writing);
    return writing.finish();
}

// The whole EDL, read into a buffer that the next conversion reuses rather than into fresh memory.
// A file that grows while it is read is read again to its end, as readWholeFile reads it.
class EdlBytes {
public:
    bool read(std::u16string_view path) {
        const int64_t size = isRegularFile(path) ? fileSize(path) : -1;
        std::FILE* f = size >= 0 ? openFile(path, "rb") : nullptr;
        if (!f)
            return false;
        buffer_ = std::make_unique<LargeBuffer>(static_cast<size_t>(size));
        size_ = static_cast<size_t>(size);
        const bool ok = buffer_->data() && std::fread(buffer_->data(), 1, size_, f) == size_;
        const bool atEnd = ok && std::fgetc(f) == EOF && !std::ferror(f);
        std::fclose(f);
        if (atEnd)
            return true;
        buffer_.reset();
        return readWholeFile(path, grown_);
    }
    std::string_view text() const {
        if (buffer_)
            return {reinterpret_cast<const char*>(buffer_->data()), size_};
        return {reinterpret_cast<const char*>(grown_.data()), grown_.size()};
    }

private:
    std::unique_ptr<LargeBuffer> buffer_;
    size_t size_ = 0;
    std::vector<uint8_t> grown_;
};

} // namespace

size_t edlLineEnd(std::string_view bytes, size_t pos) {
    return pieceEnd<kPieceLength>(bytes, pos);
}

bool eventTimecodeStarts(std::string_view bytes, size_t begin, size_t end, size_t (&starts)[4]) {
    const std::string_view line = pieceText(bytes, begin, end);
    if (countColons(line) < 8 || !timecodeStarts(line, starts))
        return false;
    for (size_t& start : starts)
        start += begin;
    return true;
}

bool looksLikeBve9100(std::string_view bytes) {
    size_t pos = 0;
    for (size_t piece = 0; piece < kRecognitionPieces && pos < bytes.size(); ++piece) {
        const size_t end = pieceEnd<kRecognitionLength>(bytes, pos);
        if (pieceText(bytes, pos, end).find("P-VTR") != std::string_view::npos)
            return true;
        pos = end;
    }
    return false;
}

ParsedEdl parseEdl(std::string_view bytes) {
    ParsedEdl parsed;
    parsed.events.reserve(bytes.size() / 80 + 1);
    VectorStore store{parsed, {}};
    store.commentOf.reserve(parsed.events.capacity());
    const LineTotals totals = parseLines<Detail::Full>(bytes, parsed.commentPool, store);
    parsed.lineCount = totals.lineCount;
    parsed.dropFrame = totals.dropFrame;

    auto& events = parsed.events;
    for (size_t i = 0; i < events.size(); ++i)
        if (store.commentOf[i] >= 0)
            events[i].optionComment = parsed.commentPool.data() + store.commentOf[i];

    EditGroups groups;
    ReelCollector reels;
    for (const EdlEvent& ev : events) {
        groups.add(ev.text[kColEdit]);
        reels.add(ev.text[kColReel]);
        if (ev.recInCopy / kFramesPerHour == 23)
            parsed.hasHour23 = 1;
    }
    reels.finish(parsed.reelNames, parsed.reelUseCounts);
    for (size_t i = 0; i < events.size(); ++i) {
        events[i].editGroup = groups.of(i);
        events[i].reelIndex = reels.reelIndexOf(i);
    }
    if (!events.empty())
        parsed.lastEditNumber = toInt(events.back().text[kColEdit]);
    return parsed;
}

bool convertEdlText(std::string_view text, ByteSink& sink) noexcept {
    try {
        return convertStreaming(text, sink);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

bool writeWorkFile(const ParsedEdl& parsed, std::string_view edlBytes, ByteSink& sink) {
    WorkFileHead head;
    head.eventCount = static_cast<int64_t>(parsed.events.size());
    for (const EdlEvent& ev : parsed.events)
        head.eventBytes += ev.recordSize;
    head.reelNames = &parsed.reelNames;
    head.reelUseCounts = &parsed.reelUseCounts;
    head.dropFrame = parsed.dropFrame;
    head.hasHour23 = parsed.hasHour23;
    head.lastEditNumber = parsed.lastEditNumber;
    std::unique_ptr<ChunkedWriter> out;
    if (!writeHead(head, edlBytes, sink, out))
        return false;
    for (const EdlEvent& ev : parsed.events)
        writeEventBlock(*out, ev, ev.optionComment);
    return out->finish();
}

namespace {

ConvertStatus convertFile(std::u16string_view edlPath, std::u16string_view workPath) {
    // Recognition reads only the start of the file, so a large file of another kind is refused
    // without being read whole.
    {
        std::FILE* f = isRegularFile(edlPath) ? openFile(edlPath, "rb") : nullptr;
        if (!f)
            return ConvertStatus::CannotRead;
        char head[kRecognitionPieces * kRecognitionLength];
        const size_t got = std::fread(head, 1, sizeof head, f);
        std::fclose(f);
        if (!looksLikeBve9100(std::string_view(head, got)))
            return ConvertStatus::NotRecognised;
    }
    EdlBytes bytes;
    if (!bytes.read(edlPath))
        return ConvertStatus::CannotRead;
    const std::string_view text = bytes.text();
    AtomicFileWriter writer(workPath);
    if (!writer.isOpen())
        return ConvertStatus::CannotWrite;
    if (!convertStreaming(text, writer) || !writer.commit(false))
        return ConvertStatus::CannotWrite;
    return ConvertStatus::Ok;
}

} // namespace

ConvertStatus convertEdlFile(std::u16string_view edlPath, std::u16string_view workPath) noexcept {
    // Both passes keep growing tables (reels, edit groups, comments); memory exhausted in either -
    // the first pass's thread hands its exception over when it is joined - ends the conversion
    // here. The partly written work file is discarded as the writer unwinds.
    try {
        return convertFile(edlPath, workPath);
    } catch (const std::bad_alloc&) {
        return ConvertStatus::NoMemory;
    } catch (const std::length_error&) {
        return ConvertStatus::NoMemory;
    }
}

} // namespace qlp
