#include "model/edl_reader.h"

#include "model/bytes.h"
#include "model/collation.h"
#include "model/cp932.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/quicksort.h"
#include "model/records.h"
#include "model/timecode.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>

namespace qlp {

namespace {

constexpr size_t kPieceLength = 254;       // characters read into the line buffer at a time
constexpr size_t kRecognitionPieces = 25;
constexpr size_t kRecognitionLength = 199;
constexpr size_t kCommentBytes = 511;      // the comment buffer holds 512 bytes with its terminator
constexpr size_t kColumnBytes = 31;        // a column buffer holds 32 bytes with its terminator
constexpr int32_t kSourceTextOffset = 32 + kHeaderSize;
constexpr size_t kWriteChunk = 1 << 20;

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

// A column buffer: at most 31 bytes.
struct ColumnText {
    char bytes[kColumnBytes + 1] = {};
    size_t length = 0;

    void assign(std::string_view s) {
        length = std::min(s.size(), kColumnBytes);
        std::memcpy(bytes, s.data(), length);
    }
    void append(std::string_view s) {
        const size_t n = std::min(s.size(), kColumnBytes - length);
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

// Splits an event line into its twelve column texts. False when the line does not hold four
// complete timecodes after its first '.' or ',' - such a line cannot be an event.
bool splitEventLine(std::string_view s, EventColumns& c) {
    const size_t n = s.size();
    const size_t sep = s.find_first_of(".,");
    if (sep == std::string_view::npos || sep < 8)
        return false;
    const size_t tcStart = sep - 8;

    // The four timecodes: eleven characters each, separated by blanks.
    size_t tc[4];
    tc[0] = tcStart;
    for (int t = 1; t < 4; ++t) {
        size_t k = tc[t - 1] + 12;
        while (k < n && static_cast<signed char>(s[k]) <= ' ')
            ++k;
        tc[t] = k;
    }
    for (size_t start : tc)
        if (start + 11 > n)
            return false;

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

    // V, or the whole assemble marker.
    if (p < n && s[p] == 'V') {
        c.col[kColV].assign("V");
        ++p;
    }
    if (p < n && s.substr(p).find("ASMBL") != std::string_view::npos)
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

    for (int t = 0; t < 4; ++t)
        c.col[kColSrcIn + t].assign(s.substr(tc[t], 11));

    // SPED after "DM", then audio channels 3 and 4.
    size_t scan = tc[3] + 11;
    if (scan < n) {
        const size_t dm = s.find("DM", scan);
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

int32_t labelOf(const char16_t* text, int32_t dropFrame) {
    TimecodeCalc calc;
    calc.dropFrame = dropFrame;
    parseTimecode(text, calc.a);
    return calculate(calc, '+') ? calc.resultLabel : 0;
}

int32_t durationOf(const char16_t* inText, const char16_t* outText, int32_t dropFrame) {
    TimecodeCalc calc;
    calc.dropFrame = dropFrame;
    parseTimecode(outText, calc.a);
    parseTimecode(inText, calc.b);
    return calculate(calc, '-') ? calc.resultReal : 0;
}

void copyWide(char16_t* dest, size_t capacity, std::u16string_view text) {
    const size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(dest, text.data(), n * sizeof(char16_t));
    dest[n] = 0;
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
            const size_t width = (cp932::isLeadByte(static_cast<unsigned char>(line[end])) && end + 1 < line.size()) ? 2 : 1;
            if (width > room)
                break;
            room -= width;
            end += width;
        }
        std::memcpy(buffer_ + length_, line.data() + from, end - from);
        length_ += end - from;
        pending_ = true;
    }

    // Attaches the comment to the event with this EDIT text, as an index into the pool, or -1.
    int64_t attach(std::u16string_view edit, std::vector<char16_t>& pool) {
        int64_t result = -1;
        if (pending_) {
            remembered_.assign(edit);
            current_ = -1;
            std::u16string wide = cp932::decode(std::string_view(buffer_, length_));
            if (!wide.empty()) {
                current_ = static_cast<int64_t>(pool.size());
                currentLength_ = static_cast<int32_t>(wide.size());
                pool.insert(pool.end(), wide.begin(), wide.end());
                pool.push_back(0);
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
    char buffer_[kCommentBytes + 1] = {};
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

void buildReelTable(ParsedEdl& parsed) {
    std::unordered_map<std::u16string_view, int32_t> firstSeen;
    std::vector<std::u16string_view> names;
    std::vector<int32_t> order(parsed.events.size());
    for (size_t i = 0; i < parsed.events.size(); ++i) {
        const std::u16string_view name(parsed.events[i].text[kColReel]);
        auto [it, added] = firstSeen.emplace(name, static_cast<int32_t>(names.size()));
        if (added)
            names.push_back(name);
        order[i] = it->second;
    }
    std::vector<int32_t> sorted(names.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = static_cast<int32_t>(i);
    if (!sorted.empty()) {
        hoareQuicksort(
            sorted.data(), 0, static_cast<long>(sorted.size()) - 1, [&](int32_t i) { return names[i]; },
            [](std::u16string_view a, std::u16string_view b) { return compareReelNames(a, b) < 0; });
    }
    std::vector<int32_t> rank(names.size());
    parsed.reelNames.resize(names.size());
    for (size_t r = 0; r < sorted.size(); ++r) {
        rank[sorted[r]] = static_cast<int32_t>(r);
        parsed.reelNames[r] = std::u16string(names[sorted[r]]);
    }
    parsed.reelUseCounts.assign(names.size(), 0);
    for (size_t i = 0; i < parsed.events.size(); ++i) {
        const int32_t r = rank[order[i]];
        parsed.events[i].reelIndex = r;
        ++parsed.reelUseCounts[r];
    }
}

class ChunkedSink {
public:
    explicit ChunkedSink(ByteSink& sink) : sink_(sink) { buffer_.reserve(kWriteChunk); }
    void write(const void* data, size_t size) {
        if (buffer_.size() + size > kWriteChunk)
            flush();
        if (size > kWriteChunk) {
            ok_ = ok_ && sink_.write(data, size);
            return;
        }
        const auto* p = static_cast<const uint8_t*>(data);
        buffer_.insert(buffer_.end(), p, p + size);
    }
    bool finish() {
        flush();
        return ok_;
    }

private:
    void flush() {
        if (!buffer_.empty())
            ok_ = ok_ && sink_.write(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    ByteSink& sink_;
    std::vector<uint8_t> buffer_;
    bool ok_ = true;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(AtomicFileWriter& writer) : writer_(writer) {}
    bool write(const void* data, size_t size) override { return writer_.write(data, size); }

private:
    AtomicFileWriter& writer_;
};

} // namespace

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
    std::vector<int64_t> commentOf;
    commentOf.reserve(parsed.events.capacity());
    CommentState comment;
    int32_t runningOffset = 0;
    int64_t lineIndex = 0;

    for (size_t pos = 0; pos < bytes.size(); ++lineIndex) {
        const size_t end = pieceEnd<kPieceLength>(bytes, pos);
        const std::string_view line = pieceText(bytes, pos, end);
        pos = end;

        if (std::count(line.begin(), line.end(), ':') < 8) {
            const size_t start = commentStart(line);
            if (start != std::string_view::npos)
                comment.append(line, start);
            continue;
        }

        EventColumns columns;
        if (!splitEventLine(line, columns))
            continue;

        EdlEvent& ev = parsed.events.emplace_back();
        for (int c = 0; c < 12; ++c)
            cp932::decodeInto(columns.col[c].view(), ev.text[c], kColumnTextLength);

        const int64_t commentIndex = comment.attach(ev.text[kColEdit], parsed.commentPool);
        commentOf.push_back(commentIndex);
        if (commentIndex >= 0) {
            ev.optionCommentLength = comment.currentLength();
            ev.hasOptionComment = 1;
        }

        const std::string_view srcInText = columns.col[kColSrcIn].view();
        const std::string_view recInText = columns.col[kColRecIn].view();
        ev.srcDropFrame = srcInText[8] == ',' ? 1 : 0;
        ev.srcIn = labelOf(ev.text[kColSrcIn], ev.srcDropFrame);
        ev.srcOut = labelOf(ev.text[kColSrcOut], ev.srcDropFrame);
        ev.recIn = labelOf(ev.text[kColRecIn], ev.srcDropFrame);
        ev.recOut = labelOf(ev.text[kColRecOut], ev.srcDropFrame);
        ev.srcSortKey = ev.srcIn;
        ev.recInCopy = ev.recSortKey = ev.recIn;
        ev.recOutCopy = ev.recOut;
        if (ev.srcOut < ev.srcIn && ev.text[kColSpeed][0] == u'-') {
            std::swap(ev.srcIn, ev.srcOut);
            ev.srcSortKey = ev.srcIn;
        }
        const int32_t recDropFrame = recInText[8] == ',' ? 1 : 0;
        ev.duration = durationOf(ev.text[kColRecIn], ev.text[kColRecOut], recDropFrame);
        copyWide(ev.text[kColDuration], kColumnTextLength, formatCount(ev.duration));

        ev.fileOffset = runningOffset;
        ev.recordSize = kEventRecordSize + 2 * ev.optionCommentLength;
        runningOffset += ev.recordSize;
        ev.lineNumber = static_cast<int32_t>(lineIndex);
        ev.sequence = static_cast<int32_t>(parsed.events.size());
        ev.marker = kNoMarker;
        ev.editGroup = -1;
        parsed.dropFrame = recDropFrame;
    }
    parsed.lineCount = lineIndex;

    auto& events = parsed.events;
    for (size_t i = 0; i < events.size(); ++i)
        if (commentOf[i] >= 0)
            events[i].optionComment = parsed.commentPool.data() + commentOf[i];

    int32_t group = 1;
    for (size_t i = 1; i < events.size(); ++i) {
        if (std::u16string_view(events[i].text[kColEdit]) != std::u16string_view(events[i - 1].text[kColEdit]))
            ++group;
        else
            events[i - 1].editGroup = group;
        events[i].editGroup = group;
    }
    for (const EdlEvent& ev : events)
        if (ev.recInCopy / kFramesPerHour == 23)
            parsed.hasHour23 = 1;
    buildReelTable(parsed);
    if (!events.empty())
        parsed.lastEditNumber = toInt(events.back().text[kColEdit]);
    return parsed;
}

bool writeWorkFile(const ParsedEdl& parsed, std::string_view edlBytes, ByteSink& sink) {
    const int64_t reels = static_cast<int64_t>(parsed.reelNames.size());
    int64_t eventBytes = 0;
    for (const EdlEvent& ev : parsed.events)
        eventBytes += ev.recordSize;
    const int64_t reelNamesOffset = kSourceTextOffset + static_cast<int64_t>(edlBytes.size());
    const int64_t eventsOffset = reelNamesOffset + (14 + 4 + 98) * reels;
    if (eventsOffset + eventBytes > INT32_MAX)
        return false; // the format's offsets are 32-bit

    EdlDocument header;
    initNewDocumentHeader(header, parsed.dropFrame);
    header.viewCount[0] = static_cast<int32_t>(parsed.events.size());
    header.reelCount = static_cast<int32_t>(reels);
    header.lastEditNumber = parsed.lastEditNumber;
    header.hasHour23 = parsed.hasHour23;
    header.sourceTextOffset = kSourceTextOffset;
    header.reelNamesOffset = static_cast<int32_t>(reelNamesOffset);
    header.reelCountsOffset = static_cast<int32_t>(reelNamesOffset + 14 * reels);
    header.reelCommentsOffset = static_cast<int32_t>(header.reelCountsOffset + 4 * reels);
    header.eventsOffset = static_cast<int32_t>(eventsOffset);

    ChunkedSink out(sink);
    uint8_t image[kHeaderSize];
    writeWide(image, kProjectMagic.data(), kProjectMagic.size());
    out.write(image, 32);
    writeHeaderImage(header, image);
    out.write(image, kHeaderSize);
    out.write(edlBytes.data(), edlBytes.size());
    for (const std::u16string& name : parsed.reelNames) {
        char16_t padded[kReelNameLength] = {};
        copyWide(padded, kReelNameLength, name);
        writeWide(image, padded, kReelNameLength);
        out.write(image, 14);
    }
    for (int32_t count : parsed.reelUseCounts) {
        writeI32(image, count);
        out.write(image, 4);
    }
    std::memset(image, 0, 98);
    for (int64_t r = 0; r < reels; ++r)
        out.write(image, 98);
    for (const EdlEvent& ev : parsed.events) {
        writeEventImage(ev, image);
        out.write(image, kEventRecordSize);
        if (ev.hasOptionComment) {
            for (int32_t written = 0; written < ev.optionCommentLength;) {
                const int32_t n = std::min<int32_t>(ev.optionCommentLength - written, kHeaderSize / 2);
                writeWide(image, ev.optionComment + written, n);
                out.write(image, 2 * n);
                written += n;
            }
        }
    }
    return out.finish();
}

ConvertStatus convertEdlFile(std::u16string_view edlPath, std::u16string_view workPath) {
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
    std::vector<uint8_t> bytes;
    if (!readWholeFile(edlPath, bytes))
        return ConvertStatus::CannotRead;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    AtomicFileWriter writer(workPath);
    if (!writer.isOpen())
        return ConvertStatus::CannotWrite;
    const ParsedEdl parsed = parseEdl(text);
    FileSink sink(writer);
    if (!writeWorkFile(parsed, text, sink) || !writer.commit(false))
        return ConvertStatus::CannotWrite;
    return ConvertStatus::Ok;
}

std::vector<std::u16string> expandSelection(std::u16string_view paths, bool multiple) {
    std::vector<std::u16string> result;
    if (!multiple) {
        const size_t nul = paths.find(u'\0');
        result.emplace_back(paths.substr(0, nul));
        return result;
    }
    size_t pos = paths.find(u'\0');
    if (pos == std::u16string_view::npos) {
        result.emplace_back(paths);
        return result;
    }
    const std::u16string_view directory = paths.substr(0, pos);
    while (++pos < paths.size() && paths[pos] != u'\0') {
        size_t end = paths.find(u'\0', pos);
        if (end == std::u16string_view::npos)
            end = paths.size();
        result.push_back(joinPath(directory, paths.substr(pos, end - pos)));
        pos = end;
    }
    return result;
}

void resolveDuplicate(TabList& list, TabEntry* entry, Prompt& prompt) {
    for (TabEntry* earlier = list.first(); earlier && earlier != entry; earlier = earlier->next) {
        if (earlier->path != entry->path)
            continue;
        if (prompt.askYesNo(formatMessage(kMsgAlreadyLoaded, entry->path)) == Answer::Yes) {
            if (earlier->active) {
                entry->active = 1;
                entry->reloadPending = 1;
            }
            earlier->dropped = 1;
            earlier->workFileReady = 0;
            entry->dropped = 0;
        } else {
            earlier->dropped = 0;
            entry->dropped = 1;
            entry->workFileReady = 0;
            entry->reloadPending = 0;
        }
    }
}

int convertEdl(TabList& list, std::u16string_view paths, int kind, Prompt& prompt) {
    const bool multiple = kind == 1;
    TabEntry* firstNew = nullptr;
    int result = 1;
    for (const std::u16string& path : expandSelection(paths, multiple)) {
        if (!pathExists(path)) {
            prompt.warn(formatMessage(kMsgFileNotFound, path));
            if (!multiple)
                return 0;
            continue;
        }
        TabEntry* entry = list.append();
        if (!entry) {
            prompt.warn(kMsgOutOfWorkMemory);
            result = 0;
            break;
        }
        entry->path = path;
        entry->saveState = kFromEdl;
        if (!firstNew)
            firstNew = entry;
    }

    for (TabEntry* entry = firstNew; entry; entry = entry->next) {
        resolveDuplicate(list, entry, prompt);
        entry->workPath = list.workPathFor(list.nextFileId);
        if (!entry->dropped && !entry->workFileReady) {
            switch (convertEdlFile(entry->path, entry->workPath)) {
            case ConvertStatus::Ok:
                entry->dropped = 0;
                entry->workFileReady = 1;
                break;
            case ConvertStatus::CannotRead:
                entry->dropped = 1;
                break;
            case ConvertStatus::NotRecognised:
                prompt.warn(formatMessage(kMsgNotRecognised, entry->path));
                entry->dropped = 1;
                break;
            case ConvertStatus::CannotWrite:
                prompt.warn(formatMessage(kMsgCannotCreateWorkFile, entry->path));
                entry->dropped = 1;
                break;
            }
            if (entry->dropped)
                entry->workFileReady = 0;
        }
        entry->fileId = list.nextFileId++;
    }
    return result;
}

} // namespace qlp
