#include "model/cmx3600_reader.h"

#include "model/cp932.h"
#include "model/messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace qlp {

namespace {

constexpr int kMaxEdits = 9999;
constexpr size_t kRecognitionLines = 200;
constexpr int kRecognitionAttempts = 3; // event-like lines tried before a file is refused
constexpr size_t kMaxTokens = 64;
constexpr size_t kReelWidth = 6;
constexpr size_t kTimecodeLength = 11;
// A comment line is read in pieces of 254 characters; its text is cut well before that.
constexpr size_t kCommentChunk = 240;
constexpr size_t kTitleLimit = 240;       // bytes of the title line, "TITLE: " included
constexpr size_t kDescriptionLength = 48; // a reel description holds 48 characters
constexpr int kMaxSpeed = 999;            // SPED holds a sign and three digits

constexpr std::string_view kHeaderLine =
    "EDIT  REEL   V  A1A2 TYP PTRN TRANST   P-VTR IN    P-VTR OUT   R-VTR IN    R-VTR OUT\r\n";
constexpr std::string_view kCommentIndent = "          "; // comment text stands in the 11th column
constexpr char kCtrlZ = 0x1A;

enum Channel : uint8_t { kVideo = 1, kA1 = 2, kA2 = 4, kA3 = 8, kA4 = 16 };

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
inline char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}
bool equalsUpper(std::string_view s, std::string_view upperText) {
    if (s.size() != upperText.size())
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (upper(s[i]) != upperText[i])
            return false;
    return true;
}
bool startsUpper(std::string_view s, std::string_view upperText) {
    return s.size() >= upperText.size() && equalsUpper(s.substr(0, upperText.size()), upperText);
}
std::string_view trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}
// Digits as a number; more than nine digits saturate (no event number that long is real).
int64_t numberOf(std::string_view digits) {
    int64_t v = 0;
    for (char c : digits)
        v = v < 100000000000LL ? v * 10 + (c - '0') : v;
    return v;
}

// The lines of the list: CR LF, LF or CR ends them; a Ctrl-Z ends the text.
class Lines {
public:
    explicit Lines(std::string_view bytes) : bytes_(bytes) {
        if (const size_t z = bytes_.find(kCtrlZ); z != std::string_view::npos)
            bytes_ = bytes_.substr(0, z);
        if (bytes_.substr(0, 3) == "\xEF\xBB\xBF")
            bytes_.remove_prefix(3);
    }
    bool next(std::string_view& line) {
        if (pos_ >= bytes_.size())
            return false;
        const char* start = bytes_.data() + pos_;
        const size_t left = bytes_.size() - pos_;
        size_t n = 0;
        while (n < left && start[n] != '\n' && start[n] != '\r')
            ++n;
        line = std::string_view(start, n);
        pos_ += n;
        // CR LF, LF or a lone CR.
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r')
            ++pos_;
        else if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
        if (n < left && start[n] == '\r' && pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
        return true;
    }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

struct Tokens {
    std::string_view line;
    std::string_view at[kMaxTokens];
    size_t count = 0;

    explicit Tokens(std::string_view s) : line(s) {
        size_t i = 0;
        while (count < kMaxTokens) {
            while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
                ++i;
            if (i >= s.size())
                break;
            const size_t begin = i;
            while (i < s.size() && static_cast<unsigned char>(s[i]) > ' ')
                ++i;
            at[count++] = s.substr(begin, i - begin);
        }
    }
    // The text of the line from token a to token b, inclusive, with its own spacing.
    std::string_view span(size_t a, size_t b) const {
        const char* begin = at[a].data();
        const char* end = at[b].data() + at[b].size();
        return std::string_view(begin, static_cast<size_t>(end - begin));
    }
};

// hh:mm:ss:ff, any of ':' ';' '.' ',' between the fields.
bool isTimecode(std::string_view t) {
    if (t.size() != kTimecodeLength)
        return false;
    for (size_t i : {0, 1, 3, 4, 6, 7, 9, 10})
        if (!isDigit(t[i]))
            return false;
    for (size_t i : {2, 5, 8})
        if (t[i] != ':' && t[i] != ';' && t[i] != '.' && t[i] != ',')
            return false;
    return true;
}
int field(std::string_view t, size_t at) {
    return (t[at] - '0') * 10 + (t[at + 1] - '0');
}

enum class Kind : uint8_t { Cut, Dissolve, Wipe, Key, KeyBackground, KeyOut };

// An edit type: C, D, Wnnn, K (or KI), KB, KO, in either case.
bool parseType(std::string_view t, Kind& kind, int& pattern) {
    pattern = -1;
    if (equalsUpper(t, "C")) {
        kind = Kind::Cut;
    } else if (equalsUpper(t, "D")) {
        kind = Kind::Dissolve;
    } else if (equalsUpper(t, "K") || equalsUpper(t, "KI")) {
        kind = Kind::Key;
    } else if (equalsUpper(t, "KB")) {
        kind = Kind::KeyBackground;
    } else if (equalsUpper(t, "KO")) {
        kind = Kind::KeyOut;
    } else if (!t.empty() && upper(t[0]) == 'W' && t.size() <= 5 && (t.size() == 1 || isDigits(t.substr(1)))) {
        kind = Kind::Wipe;
        pattern = t.size() > 1 ? static_cast<int>(numberOf(t.substr(1))) : 0;
    } else {
        return false;
    }
    return true;
}

// A channel field: V, A, A2, AA, B, NONE, An, joined by '/' (A2/V, AA/V). Channels above A4 are
// counted in `dropped`.
bool parseChannels(std::string_view t, uint8_t& bits, int& dropped) {
    bits = 0;
    dropped = 0;
    while (!t.empty()) {
        const size_t slash = t.find('/');
        const std::string_view part = t.substr(0, slash);
        t = slash == std::string_view::npos ? std::string_view() : t.substr(slash + 1);
        if (equalsUpper(part, "V")) {
            bits |= kVideo;
        } else if (equalsUpper(part, "A")) {
            bits |= kA1;
        } else if (equalsUpper(part, "AA")) {
            bits |= kA1 | kA2;
        } else if (equalsUpper(part, "B")) {
            bits |= kVideo | kA1;
        } else if (equalsUpper(part, "NONE")) {
        } else if (part.size() >= 2 && part.size() <= 4 && upper(part[0]) == 'A' && isDigits(part.substr(1))) {
            const int64_t n = numberOf(part.substr(1));
            if (n >= 1 && n <= 4)
                bits |= static_cast<uint8_t>(kA1 << (n - 1));
            else
                ++dropped;
        } else {
            return false;
        }
    }
    return true;
}

struct EventLine {
    int64_t number = 0;
    std::string_view reel; // as written, before any conversion
    uint8_t channels = 0;
    int dropped = 0;
    Kind kind = Kind::Cut;
    int pattern = -1;
    int length = -1;
    int speed = 0;
    bool hasSpeed = false;
    std::string_view tc[4];
    bool badFrames = false; // a frame number of 30 or more
};

// An event line: number, reel (which may hold spaces), channels, type, length, four timecodes and
// anything after them. False for any other line.
bool parseEventLine(const Tokens& tk, EventLine& ev) {
    if (tk.count < 8 || !isDigits(tk.at[0]) || tk.at[0].size() > 9)
        return false;
    size_t t = 4;
    for (; t + 3 < tk.count; ++t)
        if (isTimecode(tk.at[t]) && isTimecode(tk.at[t + 1]) && isTimecode(tk.at[t + 2]) && isTimecode(tk.at[t + 3]))
            break;
    if (t + 3 >= tk.count)
        return false;
    size_t j = t - 1;
    Kind kind;
    int pattern;
    if (isDigits(tk.at[j]) && j >= 4 && parseType(tk.at[j - 1], kind, pattern)) {
        ev.length = static_cast<int>(std::min<int64_t>(numberOf(tk.at[j]), 99999));
        --j;
    }
    if (!parseType(tk.at[j], ev.kind, ev.pattern))
        return false;
    --j;
    if (j < 2 || !parseChannels(tk.at[j], ev.channels, ev.dropped))
        return false;
    --j;
    ev.reel = tk.span(1, j);
    ev.number = numberOf(tk.at[0]);
    for (int k = 0; k < 4; ++k) {
        const std::string_view tc = tk.at[t + k];
        if (field(tc, 0) > 23 || field(tc, 3) > 59 || field(tc, 6) > 59)
            return false;
        if (field(tc, 9) >= 30)
            ev.badFrames = true;
        ev.tc[k] = tc;
    }
    return true;
}

// An M2 line: "M2", reel, speed in frames per second, source IN.
bool parseSpeedLine(const Tokens& tk, std::string_view& reel, double& fps) {
    if (tk.count < 3 || !equalsUpper(tk.at[0], "M2"))
        return false;
    size_t t = 2;
    while (t < tk.count && !isTimecode(tk.at[t]))
        ++t;
    if (t >= tk.count)
        return false;
    const std::string_view speed = tk.at[t - 1];
    size_t i = 0;
    if (i < speed.size() && (speed[i] == '+' || speed[i] == '-'))
        ++i;
    bool digits = false, dot = false;
    for (; i < speed.size(); ++i) {
        if (isDigit(speed[i]))
            digits = true;
        else if (speed[i] == '.' && !dot)
            dot = true;
        else
            return false;
    }
    if (!digits)
        return false;
    fps = std::strtod(std::string(speed).c_str(), nullptr);
    reel = t >= 3 ? tk.span(1, t - 2) : std::string_view();
    return true;
}

// UTF-8: valid sequences only (no overlong forms, no surrogates). Characters beyond the first
// plane, which code page 932 never holds, become '?' (counted in `beyond`).
bool decodeUtf8(std::string_view s, std::u16string* out, int* beyond = nullptr) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        uint32_t cp;
        size_t n;
        if (b < 0x80) {
            cp = b;
            n = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F;
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F;
            n = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07;
            n = 4;
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (out) {
            if (cp >= 0x10000) {
                out->push_back(u'?');
                if (beyond)
                    ++*beyond;
            } else {
                out->push_back(static_cast<char16_t>(cp));
            }
        }
        i += n;
    }
    return true;
}

bool hasHighByte(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Translates the list line by line. Event lines of one CMX event are held until the next event
// starts, so that the comment lines that follow them can be written before them.
class Translator {
public:
    explicit Translator(std::string_view bytes) : bytes_(bytes) {
        utf8_ = hasHighByte(bytes) && decodeUtf8(bytes, nullptr);
    }

    CmxTranslation run() {
        CmxTranslation result;
        body_.reserve(bytes_.size() + bytes_.size() / 2 + 512);
        Lines lines(bytes_);
        std::string_view line;
        while (lines.next(line)) {
            const CmxStatus status = readLine(line);
            if (status != CmxStatus::Ok) {
                result.status = status;
                return result;
            }
        }
        if (!flushGroup()) {
            result.status = CmxStatus::TooManyEdits;
            return result;
        }
        if (body_.empty())
            writeHeader();
        nameReels(result);
        result.text = std::move(body_);
        result.report = report_;
        return result;
    }

private:
    struct Reel {
        std::string name; // code page 932
        bool kept = false;
        std::string shortName;
    };
    struct Pending {
        EventLine line;
        int reel = 0;
        bool recordDropFrame = false;
    };

    CmxStatus readLine(std::string_view raw) {
        const std::string_view line = trim(raw);
        if (line.empty())
            return CmxStatus::Ok;
        if (line[0] == '*') {
            addComment(line);
            return CmxStatus::Ok;
        }
        const Tokens tk(line);
        if (isDigit(line[0])) {
            EventLine ev;
            if (!parseEventLine(tk, ev)) {
                keepAsComment(line);
                return CmxStatus::Ok;
            }
            if (ev.badFrames)
                return CmxStatus::FrameRate;
            if (!pending_.empty() && ev.number != groupNumber_ && !flushGroup())
                return CmxStatus::TooManyEdits;
            groupNumber_ = ev.number;
            report_.channelsDropped += ev.dropped;
            pending_.push_back({ev, reelOf(ev.reel), recordDropFrame_});
            return CmxStatus::Ok;
        }
        if (startsUpper(line, "TITLE:") || equalsUpper(tk.at[0], "TITLE")) {
            if (!titleSeen_ && pending_.empty() && edits_ == 0) {
                titleSeen_ = true;
                std::string_view rest = line.substr(5);
                if (!rest.empty() && rest[0] == ':')
                    rest.remove_prefix(1);
                title_ = "TITLE: " + convert(trim(rest));
                // The title is one line of the header: cut at a whole character so that a very long
                // one cannot push the column header out of the part of the file a reader looks at.
                if (title_.size() > kTitleLimit) {
                    const size_t cut = cp932::wholeCharactersWithin(title_, kTitleLimit);
                    report_.titleBytesCut += static_cast<int>(title_.size() - cut);
                    title_.resize(cut);
                }
                guardColons(title_);
            } else {
                keepAsComment(line);
            }
            return CmxStatus::Ok;
        }
        if (startsUpper(line, "FCM")) {
            std::string mode;
            for (char c : line)
                mode.push_back(upper(c));
            recordDropFrame_ = mode.find("DROP") != std::string::npos && mode.find("NON") == std::string::npos;
            return CmxStatus::Ok;
        }
        std::string_view reel;
        double fps = 0;
        if (parseSpeedLine(tk, reel, fps) && !pending_.empty()) {
            applySpeed(reel, fps);
            return CmxStatus::Ok;
        }
        if (equalsUpper(tk.at[0], "AUD") && tk.count > 1 && !pending_.empty() && applyAudio(tk))
            return CmxStatus::Ok;
        keepAsComment(line);
        return CmxStatus::Ok;
    }

    // The text in code page 932: a UTF-8 list is converted, characters CP932 cannot hold become
    // '?' (and are counted); control characters become spaces so that every line stays one line.
    std::string convert(std::string_view text) {
        std::string out;
        if (utf8_ && hasHighByte(text)) {
            std::u16string wide;
            int beyond = 0;
            decodeUtf8(text, &wide, &beyond);
            out = cp932::encode(wide);
            const auto questions = [](auto&& s) { return std::count(s.begin(), s.end(), '?'); };
            report_.charactersReplaced += beyond + static_cast<int>(questions(out) - questions(wide));
        } else {
            out.assign(text);
        }
        for (char& c : out)
            if (static_cast<unsigned char>(c) < ' ' || c == 0x7F)
                c = ' ';
        return out;
    }

    void keepAsComment(std::string_view line) {
        ++report_.linesKeptAsComments;
        addComment(line);
    }

    // A comment line before the held event lines, as written, from the 11th column: the reader takes
    // a line as a comment when a visible ASCII character stands there (a continuation that begins
    // otherwise gets a '*'). Eight colons would make it an event line: the eighth and later become
    // full-width colons. Long texts are split over several lines.
    void addComment(std::string_view rawText) {
        std::string text = convert(rawText);
        guardColons(text);
        const auto visibleAscii = [](char c) { return c > ' ' && c < 0x7F; };
        size_t pos = 0;
        while (pos < text.size()) {
            const size_t end = pos + cp932::wholeCharactersWithin(std::string_view(text).substr(pos), kCommentChunk);
            std::string_view chunk = trim(std::string_view(text).substr(pos, end - pos));
            pos = end;
            if (chunk.empty())
                continue;
            comments_.append(kCommentIndent);
            if (!visibleAscii(chunk[0]))
                comments_.append("* ");
            comments_.append(chunk).append("\r\n");
        }
    }

    // A line of eight colons or more is an event line to the reader, which counts the bytes: the
    // eighth and later ':' bytes become full-width colons.
    static void guardColons(std::string& text) {
        if (std::count(text.begin(), text.end(), ':') < 8)
            return;
        std::string guarded;
        guarded.reserve(text.size() + 16);
        int colons = 0;
        for (const char c : text) {
            if (c == ':' && ++colons >= 8)
                guarded.append("\x81\x46");
            else
                guarded.push_back(c);
        }
        text.swap(guarded);
    }

    int reelOf(std::string_view written) {
        const std::string_view name = trim(written);
        if (const auto it = reelIds_.find(name); it != reelIds_.end())
            return it->second;
        Reel reel;
        reel.name = convert(name);
        reel.kept = reel.name.size() <= kReelWidth && std::none_of(reel.name.begin(), reel.name.end(), [](char c) {
                        return static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F ||
                               c == '.' || c == ',' || c == ':';
                    });
        if (equalsUpper(reel.name, "BL") || equalsUpper(reel.name, "AX"))
            reel.kept = true;
        reels_.push_back(std::move(reel));
        const std::string& key = keys_.emplace_back(name);
        const int id = static_cast<int>(reels_.size() - 1);
        reelIds_.emplace(key, id);
        return id;
    }

    // M2 applies to the held line of its reel, or to the last one.
    void applySpeed(std::string_view reel, double fps) {
        Pending* target = &pending_.back();
        if (const auto it = reelIds_.find(trim(reel)); it != reelIds_.end()) {
            for (Pending& p : pending_)
                if (p.reel == it->second)
                    target = &p;
        }
        const double percent = std::round(fps * 100.0 / 30.0);
        target->line.speed = static_cast<int>(std::clamp(percent, -double(kMaxSpeed), double(kMaxSpeed)));
        target->line.hasSpeed = true;
    }

    // "AUD 3", "AUD 4", "AUD 3 4": channels 3 and 4 of the last held line.
    bool applyAudio(const Tokens& tk) {
        for (size_t i = 1; i < tk.count; ++i)
            if (!isDigits(tk.at[i]))
                return false;
        EventLine& ev = pending_.back().line;
        for (size_t i = 1; i < tk.count; ++i) {
            const int64_t n = numberOf(tk.at[i]);
            if (n >= 1 && n <= 4)
                ev.channels |= static_cast<uint8_t>(kA1 << (n - 1));
            else
                ++report_.channelsDropped;
        }
        return true;
    }

    // Writes the held CMX event as one edit: its comment lines, then its event lines.
    bool flushGroup() {
        if (pending_.empty())
            return true;
        if (++edits_ > kMaxEdits)
            return false;
        // The title can no longer change once an event is held, so the header goes first now and
        // the text is built in place, without a copy at the end.
        if (body_.empty())
            writeHeader();
        body_.append(comments_);
        comments_.clear();
        for (const Pending& p : pending_)
            writeEventLine(p);
        pending_.clear();
        return true;
    }

    void writeHeader() { body_.append(titleSeen_ ? title_ : "TITLE: ").append("\r\n").append(kHeaderLine); }

    static void putNumber(std::string& out, int value, size_t width) {
        char digits[16];
        size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0 && n < sizeof digits);
        for (size_t i = n; i < width; ++i)
            out.push_back('0');
        while (n > 0)
            out.push_back(digits[--n]);
    }

    static void putTimecode(std::string& out, std::string_view tc, bool dropFrame) {
        out.append(tc.substr(0, 2)).push_back(':');
        out.append(tc.substr(3, 2)).push_back(':');
        out.append(tc.substr(6, 2)).push_back(dropFrame ? ',' : '.');
        out.append(tc.substr(9, 2));
    }

    // One event line in the reader's columns: EDIT 1-4, REEL 7-12, V 14, A 17-20, TYP 22-23, PTRN
    // 27-29, TRANST 31-33, the four timecodes from column 37, then DM and the speed, then A3/A4.
    void writeEventLine(const Pending& p) {
        const EventLine& ev = p.line;
        putNumber(body_, edits_, 4);
        body_.append("  ");
        const Reel& reel = reels_[static_cast<size_t>(p.reel)];
        if (reel.kept) {
            body_.append(reel.name).append(kReelWidth - reel.name.size(), ' ');
        } else {
            reelSlots_.emplace_back(body_.size(), p.reel);
            body_.append(kReelWidth, ' ');
        }
        body_.push_back(' ');
        body_.push_back(ev.channels & kVideo ? 'V' : ' ');
        body_.append("  ");
        body_.append(ev.channels & kA1 ? "A1" : "  ").append(ev.channels & kA2 ? "A2" : "  ");
        body_.push_back(' ');
        static constexpr std::string_view kTypes[] = {"C ", "D ", "W ", "KI", "KB", "KO"};
        body_.append(kTypes[static_cast<int>(ev.kind)]).append("   ");
        // The reader takes the pattern of W, KI and KB from the token after the type: a length
        // without a pattern needs one written before it.
        const bool patterned = ev.kind == Kind::Wipe || ev.kind == Kind::Key || ev.kind == Kind::KeyBackground;
        const bool hasLength = ev.length >= 0 && ev.kind != Kind::Cut;
        if (patterned && (ev.pattern >= 0 || hasLength))
            putNumber(body_, std::max(ev.pattern, 0), 3);
        else
            body_.append("   ");
        body_.push_back(' ');
        if (hasLength)
            putNumber(body_, ev.length, 3);
        else
            body_.append("   ");
        body_.append("   ");
        const bool sourceDropFrame = ev.tc[0][8] == ';' || ev.tc[0][8] == ',';
        const bool sourceOutDropFrame = ev.tc[1][8] == ';' || ev.tc[1][8] == ',';
        putTimecode(body_, ev.tc[0], sourceDropFrame);
        body_.push_back(' ');
        putTimecode(body_, ev.tc[1], sourceOutDropFrame);
        body_.push_back(' ');
        putTimecode(body_, ev.tc[2], p.recordDropFrame);
        body_.push_back(' ');
        putTimecode(body_, ev.tc[3], p.recordDropFrame);
        if (ev.hasSpeed) {
            body_.append(" DM").push_back(ev.speed < 0 ? '-' : '+');
            putNumber(body_, ev.speed < 0 ? -ev.speed : ev.speed, 3);
        }
        if (ev.channels & (kA3 | kA4))
            body_.append(" ").append(ev.channels & kA3 ? "A3" : "").append(ev.channels & kA4 ? "A4" : "");
        body_.append("\r\n");
    }

    // Reels the event line cannot hold get a short name, unique in the list: the first six usable
    // characters of the name, or fewer of them followed by a number.
    void nameReels(CmxTranslation& result) {
        std::unordered_set<std::string> taken;
        for (const Reel& reel : reels_)
            if (reel.kept)
                taken.insert(reel.name);
        std::unordered_map<std::string, int> nextNumber;
        for (Reel& reel : reels_) {
            if (reel.kept)
                continue;
            std::string base;
            for (char c : reel.name) {
                if (base.size() == kReelWidth)
                    break;
                if (c > ' ' && c < 0x7F && c != '.' && c != ',' && c != ':')
                    base.push_back(c);
            }
            if (base.empty())
                base = "R";
            std::string candidate = base;
            if (taken.count(candidate)) {
                int& n = nextNumber[base];
                do {
                    const std::string suffix = std::to_string(++n);
                    candidate = base.substr(0, kReelWidth - std::min(suffix.size(), kReelWidth - 1)) + suffix;
                } while (taken.count(candidate));
            }
            taken.insert(candidate);
            reel.shortName = candidate;
            ++report_.reelsShortened;
            std::u16string description = cp932::decode(reel.name);
            if (description.size() > kDescriptionLength)
                description.resize(kDescriptionLength);
            result.reelDescriptions.push_back({std::u16string(candidate.begin(), candidate.end()), description});
        }
        for (const auto& [offset, id] : reelSlots_) {
            const std::string& name = reels_[static_cast<size_t>(id)].shortName;
            std::memcpy(body_.data() + offset, name.data(), name.size());
        }
    }

    std::string_view bytes_;
    bool utf8_ = false;
    bool recordDropFrame_ = false;
    bool titleSeen_ = false;
    std::string title_;
    std::string body_;
    std::string comments_; // the comment lines of the held event
    std::vector<Pending> pending_;
    int64_t groupNumber_ = -1;
    int edits_ = 0;
    std::vector<Reel> reels_;
    std::deque<std::string> keys_; // the reel names as written, which reelIds_ refers to
    std::unordered_map<std::string_view, int> reelIds_;
    std::vector<std::pair<size_t, int>> reelSlots_; // where a short name is to be written
    CmxReport report_;
};

} // namespace

CmxReport& CmxReport::operator+=(const CmxReport& other) {
    reelsShortened += other.reelsShortened;
    linesKeptAsComments += other.linesKeptAsComments;
    channelsDropped += other.channelsDropped;
    charactersReplaced += other.charactersReplaced;
    titleBytesCut += other.titleBytesCut;
    return *this;
}

bool looksLikeCmx3600(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    int attempts = 0;
    for (size_t n = 0; n < kRecognitionLines && attempts < kRecognitionAttempts && lines.next(line); ++n) {
        const std::string_view text = trim(line);
        if (text.empty() || !isDigit(text[0]))
            continue;
        EventLine ev;
        if (parseEventLine(Tokens(text), ev))
            return true;
        ++attempts;
    }
    return false;
}

CmxTranslation translateCmx3600(std::string_view bytes) {
    return Translator(bytes).run();
}

namespace {

// "head" and each nonzero count with its text, or "head" and "none".
template <typename Text, typename Part, size_t N>
Text reportText(Text out, const Part (&parts)[N], Text separator, Text none) {
    bool any = false;
    for (const Part& part : parts) {
        if (part.count == 0)
            continue;
        if (any)
            out += separator;
        const std::string digits = std::to_string(part.count);
        out.append(digits.begin(), digits.end());
        out += part.text;
        any = true;
    }
    return any ? out : out + none;
}

} // namespace

std::u16string cmx3600ReportStatus(const CmxReport& r) {
    struct Part {
        int count;
        std::u16string_view text;
    };
    const Part parts[] = {{r.reelsShortened, kCmxReelsShortened},
                          {r.linesKeptAsComments, kCmxLinesKeptAsComments},
                          {r.channelsDropped, kCmxChannelsDropped},
                          {r.charactersReplaced, kCmxCharactersReplaced},
                          {r.titleBytesCut, kCmxTitleBytesCut}};
    return reportText(std::u16string(kCmxReportHead), parts, std::u16string(kCmxReportSeparator),
                      std::u16string(kCmxReportNothing));
}

std::string cmx3600ReportText(const CmxReport& r) {
    struct Part {
        int count;
        std::string_view text;
    };
    const Part parts[] = {{r.reelsShortened, " reel(s) shortened"},
                          {r.linesKeptAsComments, " line(s) kept as comments"},
                          {r.channelsDropped, " audio channel(s) above A4 dropped"},
                          {r.charactersReplaced, " character(s) written as '?'"},
                          {r.titleBytesCut, " byte(s) cut from the title"}};
    return reportText(std::string("CMX 3600 translated: "), parts, std::string(", "), std::string("nothing changed"));
}

} // namespace qlp
