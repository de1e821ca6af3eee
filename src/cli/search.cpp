#include "cli/search.h"

#include "cli/open_file.h"
#include "cli/utf.h"
#include "model/timecode.h"
#include "ops/search.h"
#include "ops/timecode_entry.h"

#include <algorithm>
#include <iterator>

namespace qlp::cli {

namespace {

constexpr const char* kCriterionOptions[3] = {"--source", "--record", "--duration"};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// "ge", "gt", "le", "lt" as the first comparison (0..3), or -1.
int32_t lowerOpOf(std::u16string_view word) {
    if (word == u"ge")
        return kOpAtOrAbove;
    if (word == u"gt")
        return kOpAbove;
    if (word == u"le")
        return kOpAtOrBelow;
    if (word == u"lt")
        return kOpBelow;
    return -1;
}

// "le", "lt" as the second comparison (0, 1), or -1.
int32_t upperOpOf(std::u16string_view word) {
    if (word == u"le")
        return kUpperAtOrBelow;
    if (word == u"lt")
        return kUpperBelow;
    return -1;
}

// hh:mm:ss:ff, hh:mm:ss.ff, hh:mm:ss,ff, hh:mm:ss;ff, or one to eight digits.
bool parseTimecodeArgument(std::u16string_view text, BoundArgument& bound) {
    if (!text.empty() && text.size() <= 8 && std::all_of(text.begin(), text.end(), isDigit)) {
        bound.digits = text;
        bound.dropFrame = -1;
        return true;
    }
    if (text.size() != 11 || text[2] != u':' || text[5] != u':')
        return false;
    const char16_t frameSeparator = text[8];
    if (frameSeparator != u':' && frameSeparator != u'.' && frameSeparator != u',' && frameSeparator != u';')
        return false;
    bound.digits.clear();
    for (size_t i = 0; i < text.size(); i += 3) {
        if (!isDigit(text[i]) || !isDigit(text[i + 1]))
            return false;
        bound.digits.append(text.substr(i, 2));
    }
    bound.dropFrame = frameSeparator == u',' || frameSeparator == u';' ? 1 : 0;
    return true;
}

std::string shown(std::u16string_view text) {
    return "'" + utf16ToUtf8(text) + "'";
}

} // namespace

bool SearchArguments::hasCriteria() const {
    return reel || marker || ranges[0].given || ranges[1].given || ranges[2].given;
}

bool parseSearchArguments(const std::vector<std::u16string>& args, SearchArguments& parsed, std::string& problem) {
    std::vector<std::u16string> paths;
    bool optionsEnded = false;
    const size_t n = args.size();
    for (size_t i = 0; i < n; ++i) {
        const std::u16string& arg = args[i];
        const std::string name = utf16ToUtf8(arg);
        auto value = [&](const char* what) -> const std::u16string* {
            if (i + 1 >= n) {
                problem = name + " needs " + what;
                return nullptr;
            }
            return &args[++i];
        };
        if (optionsEnded || arg.size() < 2 || arg[0] != u'-') {
            paths.push_back(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--json") {
            parsed.json = true;
        } else if (arg == u"--reel") {
            if (parsed.reel) {
                problem = "--reel given twice";
                return false;
            }
            const std::u16string* reel = value("a reel name");
            if (!reel)
                return false;
            parsed.reel = *reel;
        } else if (arg == u"--marker") {
            if (parsed.marker) {
                problem = "--marker given twice";
                return false;
            }
            const std::u16string* marker = value("a marker number 1 to 8, or none");
            if (!marker)
                return false;
            if (*marker == u"none")
                parsed.marker = kNoMarker;
            else if (marker->size() == 1 && (*marker)[0] >= u'1' && (*marker)[0] <= u'8')
                parsed.marker = (*marker)[0] - u'1';
            else {
                problem = "--marker takes a number 1 to 8, or none, not " + shown(*marker);
                return false;
            }
        } else {
            const auto option = std::find(std::begin(kCriterionOptions), std::end(kCriterionOptions), name);
            if (option == std::end(kCriterionOptions)) {
                problem = "unknown option " + name;
                return false;
            }
            RangeArgument& range = parsed.ranges[option - std::begin(kCriterionOptions)];
            if (range.given) {
                problem = name + " given twice";
                return false;
            }
            range.given = true;
            const std::u16string* op = value("a comparison (ge, gt, le or lt) and a timecode");
            if (!op)
                return false;
            range.first.op = lowerOpOf(*op);
            if (range.first.op < 0) {
                problem = name + ": the comparison must be ge, gt, le or lt, not " + shown(*op);
                return false;
            }
            const std::u16string* tc = value("a timecode after its comparison");
            if (!tc)
                return false;
            if (!parseTimecodeArgument(*tc, range.first)) {
                problem = name + ": " + shown(*tc) +
                          " is not a timecode (hh:mm:ss:ff, hh:mm:ss.ff, hh:mm:ss,ff or up to eight digits)";
                return false;
            }
            if (i + 1 < n && upperOpOf(args[i + 1]) >= 0) {
                if (range.first.op != kOpAtOrAbove && range.first.op != kOpAbove) {
                    problem = name + ": a second bound (le, lt) follows only ge or gt";
                    return false;
                }
                BoundArgument second;
                second.op = upperOpOf(args[++i]);
                const std::u16string* tc2 = value("a timecode after its comparison");
                if (!tc2)
                    return false;
                if (!parseTimecodeArgument(*tc2, second)) {
                    problem = name + ": " + shown(*tc2) +
                              " is not a timecode (hh:mm:ss:ff, hh:mm:ss.ff, hh:mm:ss,ff or up to eight digits)";
                    return false;
                }
                range.second = second;
            }
        }
    }
    if (paths.size() != 1) {
        problem = "search takes one file";
        return false;
    }
    parsed.path = paths[0];
    return true;
}

bool applySearchArguments(const SearchArguments& parsed, EdlDocument& doc, std::string& problem) {
    // The settings of a new document: nothing on, no marker chosen, no bounds; source and record
    // bounds in the document's mode, durations non-drop.
    SearchSettings s;
    for (int slot = 0; slot < kSearchSlotCount; ++slot)
        s.slotDropFrame[slot] = slot % kSecondBoundOffset == kCriterionDuration ? 0 : doc.dropFrame;

    if (parsed.reel) {
        setSearchFlag(s, kSearchReel, true);
        // The caller refuses a name the reel table does not hold; here it matches no event.
        std::u16string unknown;
        s.searchReel = reelNamed(doc, u"", *parsed.reel, unknown);
        setSearchReelText(s, *parsed.reel);
    }
    if (parsed.marker) {
        setSearchFlag(s, kSearchMarker, true);
        s.searchMarker = *parsed.marker;
    }
    constexpr int32_t kBits[3] = {kSearchSource, kSearchRecord, kSearchDuration};
    for (int c = 0; c < 3; ++c) {
        const RangeArgument& range = parsed.ranges[c];
        if (!range.given)
            continue;
        const std::string name = kCriterionOptions[c];
        setSearchFlag(s, kBits[c], true);
        s.lowerOp[c] = range.first.op;
        // Only the source bound chooses its mode; the record bound takes the document's, a
        // duration is non-drop.
        if (c == kCriterionSource && range.first.dropFrame >= 0)
            s.slotDropFrame[c] = range.first.dropFrame;
        BoundEntryOutcome first = enterTimecodeBound(s, doc.dropFrame, c, range.first.digits);
        if (first.result == BoundEntry::OutOfRange) {
            problem = name + ": " + utf16ToUtf8(range.first.digits) +
                      " is out of range (hours 00-23, minutes and seconds 00-59, frames 00-29)";
            return false;
        }
        if (!range.second)
            continue;
        const int second = c + kSecondBoundOffset;
        if (c == kCriterionSource && range.second->dropFrame >= 0 &&
            range.second->dropFrame != s.slotDropFrame[second]) {
            problem = "--source: the second bound must be drop-frame (',' or ';') exactly when the first is";
            return false;
        }
        s.upperOp[c] = range.second->op;
        const BoundEntryOutcome outcome = enterTimecodeBound(s, doc.dropFrame, second, range.second->digits);
        if (outcome.result == BoundEntry::OutOfRange) {
            problem = name + ": " + utf16ToUtf8(range.second->digits) +
                      " is out of range (hours 00-23, minutes and seconds 00-59, frames 00-29)";
            return false;
        }
        if (outcome.result == BoundEntry::BelowFirst) {
            problem = name + ": the second bound lies below the first (" +
                      utf16ToUtf8(formatTimecode(first.value, s.slotDropFrame[c] == 1)) +
                      "); a range cannot cross midnight";
            return false;
        }
    }
    doc.search = s;
    return true;
}

} // namespace qlp::cli
