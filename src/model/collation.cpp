#include "model/collation.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qlp {

namespace {

// lstrcmpW is a "word sort": the hyphen, the apostrophe and the control characters are left out
// of the main comparison and only break ties at the very end, while every other character
// carries a primary weight. The comparison then runs in three levels:
//   1. primary weights of the weighted characters, letters case-folded
//      (symbols < digits < letters; a name that is a prefix of another sorts first);
//   2. case of the weighted characters, position by position (lowercase before uppercase);
//   3. the left-out characters in order of appearance, each ranked first by how many weighted
//      characters precede it (more sorts first: "ab-" < "a-b" < "-ab") and then by its own
//      weight (controls < apostrophe < hyphen); a name with fewer of them sorts first on a tie.
// Windows also has a diacritic level, but no ASCII character carries a diacritic.
// The order is that of Windows' default table. Under a Japanese user locale Windows sorts the
// backslash as the yen sign (it is one in code page 932), after '~' instead of after '['; every
// other ASCII character keeps its place there.

// Symbols in the order Windows sorts them; they all sort before digits, digits before letters.
constexpr std::u16string_view kSymbolOrder = u" \t\n\v\f\r!\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::u16string_view kLowercase = u"abcdefghijklmnopqrstuvwxyz";

struct Weight {
    std::uint32_t primary = 0; // 0: left out of the primary level
    std::uint8_t special = 0;  // rank among the left-out characters, when primary is 0
    bool upper = false;
};

constexpr std::array<Weight, 128> makeAsciiWeights() {
    std::array<Weight, 128> table{};
    std::uint8_t special = 1;
    for (char16_t c = 1; c < 0x20; ++c) {
        if (c < u'\t' || c > u'\r') {
            table[c].special = special++;
        }
    }
    table[0x7F].special = special++;
    table[u'\''].special = special++;
    table[u'-'].special = special++;

    std::uint32_t primary = 1;
    for (char16_t c : kSymbolOrder) {
        table[c].primary = primary++;
    }
    for (char16_t c : kDigits) {
        table[c].primary = primary++;
    }
    for (char16_t c : kLowercase) {
        table[c].primary = primary;
        table[c - u'a' + u'A'] = Weight{primary, 0, true};
        ++primary;
    }
    return table;
}

constexpr std::array<Weight, 128> kAsciiWeights = makeAsciiWeights();

// Outside ASCII there is no promise to match Windows; code-unit order after every ASCII
// character keeps the comparison a total order.
Weight weightOf(char16_t c) {
    if (c < 0x80) {
        return kAsciiWeights[c];
    }
    return Weight{0x100u + c, 0, false};
}

// lstrcmpW reads up to the terminator, so a NUL-padded name buffer compares as its text.
std::u16string_view untilNul(std::u16string_view s) {
    return s.substr(0, s.find(u'\0'));
}

// Walks either the weighted or the left-out characters of a name, counting the weighted
// characters it passes over (for a left-out character, the weighted characters before it).
class CharWalk {
public:
    CharWalk(std::u16string_view s, bool leftOut) : s_(s), leftOut_(leftOut) { skip(); }
    bool done() const { return pos_ == s_.size(); }
    Weight current() const { return weightOf(s_[pos_]); }
    std::size_t weightedBefore() const { return weightedBefore_; }
    void next() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        for (; pos_ < s_.size() && (current().primary == 0) != leftOut_; ++pos_) {
            weightedBefore_ += current().primary != 0;
        }
    }
    std::u16string_view s_;
    bool leftOut_;
    std::size_t pos_ = 0;
    std::size_t weightedBefore_ = 0;
};

int comparePrimary(std::u16string_view a, std::u16string_view b) {
    CharWalk x(a, false), y(b, false);
    for (; !x.done() && !y.done(); x.next(), y.next()) {
        if (x.current().primary != y.current().primary) {
            return x.current().primary < y.current().primary ? -1 : 1;
        }
    }
    return int(y.done()) - int(x.done()); // the name that ran out first sorts first
}

// Only called when the primary level ties, so both names have the same weighted characters.
int compareCase(std::u16string_view a, std::u16string_view b) {
    for (CharWalk x(a, false), y(b, false); !x.done() && !y.done(); x.next(), y.next()) {
        if (x.current().upper != y.current().upper) {
            return x.current().upper ? 1 : -1;
        }
    }
    return 0;
}

int compareLeftOut(std::u16string_view a, std::u16string_view b) {
    CharWalk x(a, true), y(b, true);
    for (; !x.done() && !y.done(); x.next(), y.next()) {
        if (x.weightedBefore() != y.weightedBefore()) {
            return x.weightedBefore() > y.weightedBefore() ? -1 : 1;
        }
        if (x.current().special != y.current().special) {
            return x.current().special < y.current().special ? -1 : 1;
        }
    }
    return int(y.done()) - int(x.done()); // the name that ran out first sorts first
}

} // namespace

namespace {
ReelNameCompare installedCompare = nullptr;
}

void setReelNameCollation(ReelNameCompare compare) {
    installedCompare = compare;
}

int compareReelNames(std::u16string_view a, std::u16string_view b) {
    if (installedCompare)
        return installedCompare(a, b);
    return comparePortable(a, b);
}

int comparePortable(std::u16string_view a, std::u16string_view b) {
    a = untilNul(a);
    b = untilNul(b);
    if (int r = comparePrimary(a, b)) {
        return r;
    }
    if (int r = compareCase(a, b)) {
        return r;
    }
    return compareLeftOut(a, b);
}

} // namespace qlp
