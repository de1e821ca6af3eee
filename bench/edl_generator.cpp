#include "edl_generator.h"

#include "model/cp932.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace qlp::bench {

namespace {

constexpr int64_t kNdfFramesPerDay = 24 * 108000;
constexpr int64_t kDfFramesPerDay = kNdfFramesPerDay - 24 * 108;
constexpr int kMaxEditNumber = 9999; // the EDIT column holds four digits

// SplitMix64: tiny, fast and the same on every platform and standard library.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n).
    int64_t below(int64_t n) { return static_cast<int64_t>(next() % static_cast<uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    uint64_t state_;
};

// A drop-frame label count (the digits read linearly) of a count of real frames: two frame
// numbers are skipped at the start of every minute except each tenth.
int64_t dfLabelOfReal(int64_t real) {
    const int64_t tens = real / 17982;
    const int64_t rest = real % 17982;
    int64_t skipped = 18 * tens;
    if (rest >= 2)
        skipped += 2 * ((rest - 2) / 1798);
    return real + skipped;
}

void appendTimecode(std::string& out, int64_t real, bool dropFrame) {
    const int64_t day = dropFrame ? kDfFramesPerDay : kNdfFramesPerDay;
    real %= day;
    const int64_t label = dropFrame ? dfLabelOfReal(real) : real;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d%c%02d", static_cast<int>(label / 108000),
                  static_cast<int>(label % 108000 / 1800), static_cast<int>(label % 1800 / 30), dropFrame ? ',' : '.',
                  static_cast<int>(label % 30));
    out += text;
}

// Fifty reel names of the kinds a real session mixes: tapes, camera cards, graphics, black and
// auxiliary sources, a few in lower case.
std::vector<std::string> reelPool() {
    std::vector<std::string> reels;
    char name[8];
    for (int i = 1; i <= 12; ++i) {
        std::snprintf(name, sizeof name, "TAPE%02d", i);
        reels.emplace_back(name);
    }
    for (int i = 1; i <= 10; ++i) {
        std::snprintf(name, sizeof name, "A%03d", i);
        reels.emplace_back(name);
    }
    for (int i = 1; i <= 8; ++i) {
        std::snprintf(name, sizeof name, "B%03d", i);
        reels.emplace_back(name);
    }
    for (const char* fixed : {"CAM_A", "CAM_B", "CAM_C", "BL", "AX", "AUX"})
        reels.emplace_back(fixed);
    for (int i = 1; i <= 5; ++i) {
        std::snprintf(name, sizeof name, "GFX%02d", i);
        reels.emplace_back(name);
    }
    for (int i = 1; i <= 9; ++i) {
        std::snprintf(name, sizeof name, i <= 4 ? "r%d" : "R%d", i);
        reels.emplace_back(name);
    }
    return reels;
}

// `count` reels named R00001, R00002, ...
std::vector<std::string> numberedReels(int count) {
    std::vector<std::string> reels;
    char name[16];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(name, sizeof name, "R%05d", i % 100000);
        reels.emplace_back(name);
    }
    return reels;
}

std::string cp932Text(std::u16string_view text) {
    return cp932::encode(text);
}

class Writer {
public:
    explicit Writer(const EdlGeneratorOptions& options)
        : options_(options), random_(options.seed),
          reels_(options.reels > 0 ? numberedReels(options.reels) : reelPool()) {
        for (std::u16string_view text :
             {std::u16string_view(u"* カメラＡ 寄りのカット"), std::u16string_view(u"* テロップ差し替え予定"),
              std::u16string_view(u"* 音声レベル調整済み"), std::u16string_view(u"* 色補正 ソフト 確認"),
              std::u16string_view(u"* ＢＧＭ入り"), std::u16string_view(u"* ナレーション 収録待ち")})
            japanese_.push_back(cp932Text(text));
        recordReal_ = options.dropFrame ? 107892 : 108000; // 01:00:00 on the record timecode
    }

    std::string run() {
        out_.reserve(static_cast<size_t>(options_.events) * 100 + 512);
        out_ += cp932Text(u"TITLE: ベンチマーク番組 第");
        out_ += std::to_string(options_.seed);
        out_ += cp932Text(u"回\r\n");
        out_ += options_.dropFrame ? "FCM: DROP FRAME\r\n" : "FCM: NON-DROP FRAME\r\n";
        out_ += "\r\n";
        out_ += "EDIT  REEL   V  A1A2 TYP PTRN TRANST   P-VTR IN    P-VTR OUT   R-VTR IN    R-VTR OUT\r\n";
        out_ += "\r\n";

        int edit = 0;
        if (options_.plain) {
            for (int64_t i = 0; i < options_.events; ++i) {
                edit = edit % kMaxEditNumber + 1;
                plainLine(edit, i);
            }
            return std::move(out_);
        }
        for (int64_t written = 0; written < options_.events;) {
            edit = edit % kMaxEditNumber + 1;
            if (random_.chance(10))
                commentLines();
            if (written + 2 <= options_.events && random_.chance(8)) {
                // A transition over two lines: the outgoing source, then the incoming one.
                const int reel = pickReel();
                eventLine(edit, reel, "C              ", "");
                eventLine(edit, pickOtherReel(reel), transitionArea(), tail());
                written += 2;
            } else {
                const int64_t kind = random_.below(100);
                eventLine(edit, pickReel(), kind < 85 ? std::string("C              ") : transitionArea(), tail());
                written += 1;
            }
        }
        return std::move(out_);
    }

private:
    int pickReel() {
        // A few reels carry most of a programme.
        const int64_t n = static_cast<int64_t>(reels_.size());
        if (options_.reels > 0)
            return static_cast<int>(random_.below(n));
        return static_cast<int>(random_.chance(60) ? random_.below(15) : random_.below(n));
    }
    int pickOtherReel(int reel) {
        const int other = pickReel();
        return other == reel ? (other + 1) % static_cast<int>(reels_.size()) : other;
    }
    // Three reels run in the other timecode mode, as a tape from another facility would.
    bool reelDropFrame(int reel) const { return (reel % 17 == 5) != options_.dropFrame; }

    void commentLines() {
        const int64_t lines = random_.chance(70) ? 1 : 2;
        for (int64_t i = 0; i < lines; ++i) {
            out_ += "          ";
            char text[96];
            switch (random_.below(6)) {
            case 0:
            case 1:
                out_ += japanese_[static_cast<size_t>(random_.below(static_cast<int64_t>(japanese_.size())))];
                break;
            case 2:
                std::snprintf(text, sizeof text, "* FROM CLIP NAME: SHOT_%04d.MOV",
                              static_cast<int>(random_.below(10000)));
                out_ += text;
                break;
            case 3:
                std::snprintf(text, sizeof text, "* SOURCE FILE: A%03dC%03d_%06d.MXF",
                              static_cast<int>(random_.below(20)), static_cast<int>(random_.below(400)),
                              static_cast<int>(random_.below(1000000)));
                out_ += text;
                break;
            case 4:
                if (options_.longComments && random_.chance(50)) {
                    out_ += "* NOTE ";
                    out_.append(static_cast<size_t>(random_.below(300)), 'X');
                    break;
                }
                out_ += "* EFFECT NAME: CROSS DISSOLVE";
                break;
            default:
                out_ += "* CHECK AUDIO SYNC BEFORE ONLINE";
                break;
            }
            out_ += "\r\n";
        }
    }

    // TYP, PTRN and TRANST: fifteen characters ending three blanks before the first timecode.
    std::string transitionArea() {
        char area[32];
        const int length = static_cast<int>(10 + random_.below(50));
        const int64_t kind = random_.below(10);
        if (kind < 5)
            std::snprintf(area, sizeof area, "D    %03d       ", length);
        else if (kind < 8)
            std::snprintf(area, sizeof area, "W    %03d %03d   ", static_cast<int>(random_.below(30)), length);
        else
            std::snprintf(area, sizeof area, "KB   %03d %03d   ", static_cast<int>(random_.below(20)), length);
        return area;
    }

    // What may follow the four timecodes: a speed, audio channels 3 and 4.
    std::string tail() {
        const int64_t k = random_.below(100);
        if (k < 2)
            return " DM-100";
        if (k < 3)
            return " DM+050";
        if (k < 6)
            return " A3A4";
        if (k < 7)
            return " A4";
        return "";
    }

    void eventLine(int edit, int reel, const std::string& area, const std::string& after) {
        char head[32];
        const int64_t channels = random_.below(100);
        const char* video = channels < 85 ? "V" : " ";
        const char* audio = channels < 65   ? "A1A2"
                            : channels < 75 ? "    "
                            : channels < 93 ? "A1  "
                            : channels < 97 ? "  A2"
                                            : "A1A2";
        std::snprintf(head, sizeof head, "%04d  %-6s %s  %s ", edit, reels_[static_cast<size_t>(reel)].c_str(), video,
                      audio);
        out_ += head;
        out_ += area;

        // Most edits run one to eight seconds; a few hold for up to a minute.
        const int64_t duration = random_.chance(5) ? 300 + random_.below(1500) : 15 + random_.below(225);
        const bool sourceDf = reelDropFrame(reel);
        const int64_t sourceStart = random_.below(23 * (sourceDf ? 107892 : 108000) - duration);
        const bool reverse = after == " DM-100";
        appendTimecode(out_, reverse ? sourceStart + duration : sourceStart, sourceDf);
        out_ += ' ';
        appendTimecode(out_, reverse ? sourceStart : sourceStart + duration, sourceDf);
        out_ += ' ';
        appendTimecode(out_, recordReal_, options_.dropFrame);
        out_ += ' ';
        recordReal_ += duration;
        appendTimecode(out_, recordReal_, options_.dropFrame);
        out_ += after;
        out_ += "\r\n";
    }

    void plainLine(int edit, int64_t i) {
        char head[48];
        std::snprintf(head, sizeof head, "%04d  TAPE%02d V  A1A2 C              ", edit, static_cast<int>(i % 3 + 1));
        out_ += head;
        const int64_t source = 108000 + 300 * (options_.events - i);
        const int64_t record = 10 * 108000 + 30 * i;
        appendTimecode(out_, source, options_.dropFrame);
        out_ += ' ';
        appendTimecode(out_, source + 30, options_.dropFrame);
        out_ += ' ';
        appendTimecode(out_, record, options_.dropFrame);
        out_ += ' ';
        appendTimecode(out_, record + 30, options_.dropFrame);
        out_ += "\r\n";
    }

    const EdlGeneratorOptions options_;
    Random random_;
    std::vector<std::string> reels_;
    std::vector<std::string> japanese_;
    int64_t recordReal_ = 0;
    std::string out_;
};

} // namespace

std::string generateEdl(const EdlGeneratorOptions& options) {
    return Writer(options).run();
}

} // namespace qlp::bench
