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

// Symbols in the order Windows sorts them; they all sort before digits, digits before letters.
constexpr std::u16string_view kSymbolOrder = u" \t\n\v\f\r!\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::u16string_view kLowercase = u"abcdefghijklmnopqrstuvwxyz";

struct Weight {
    std::uint16_t primary = 0; // 0: left out of the primary level
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

    std::uint16_t primary = 1;
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
    return Weight{static_cast<std::uint16_t>(0x100 + (c - 0x80)), 0, false};
}

int sign(int v) { return (v > 0) - (v < 0); }

// lstrcmpW reads up to the terminator, so a NUL-padded name buffer compares as its text.
std::u16string_view untilNul(std::u16string_view s) { return s.substr(0, s.find(u'\0')); }

// Walks the weighted characters of a name, skipping the left-out ones.
class WeightedChars {
public:
    explicit WeightedChars(std::u16string_view s) : s_(s) { skip(); }
    bool done() const { return pos_ == s_.size(); }
    Weight current() const { return weightOf(s_[pos_]); }
    void next() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < s_.size() && weightOf(s_[pos_]).primary == 0) {
            ++pos_;
        }
    }
    std::u16string_view s_;
    std::size_t pos_ = 0;
};

// Walks the left-out characters of a name, each with the number of weighted characters before it.
class LeftOutChars {
public:
    explicit LeftOutChars(std::u16string_view s) : s_(s) { skip(); }
    bool done() const { return pos_ == s_.size(); }
    std::size_t weightedBefore() const { return weightedBefore_; }
    std::uint8_t rank() const { return weightOf(s_[pos_]).special; }
    void next() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < s_.size() && weightOf(s_[pos_]).primary != 0) {
            ++weightedBefore_;
            ++pos_;
        }
    }
    std::u16string_view s_;
    std::size_t pos_ = 0;
    std::size_t weightedBefore_ = 0;
};

int comparePrimary(std::u16string_view a, std::u16string_view b) {
    WeightedChars x(a), y(b);
    for (; !x.done() && !y.done(); x.next(), y.next()) {
        if (x.current().primary != y.current().primary) {
            return sign(x.current().primary - y.current().primary);
        }
    }
    return int(y.done()) - int(x.done()); // the name that ran out first sorts first
}

// Only called when the primary level ties, so both names have the same weighted characters.
int compareCase(std::u16string_view a, std::u16string_view b) {
    for (WeightedChars x(a), y(b); !x.done() && !y.done(); x.next(), y.next()) {
        if (x.current().upper != y.current().upper) {
            return x.current().upper ? 1 : -1;
        }
    }
    return 0;
}

int compareLeftOut(std::u16string_view a, std::u16string_view b) {
    LeftOutChars x(a), y(b);
    for (; !x.done() && !y.done(); x.next(), y.next()) {
        if (x.weightedBefore() != y.weightedBefore()) {
            return x.weightedBefore() > y.weightedBefore() ? -1 : 1;
        }
        if (x.rank() != y.rank()) {
            return sign(x.rank() - y.rank());
        }
    }
    return int(y.done()) - int(x.done()); // the name that ran out first sorts first
}

} // namespace

int compareReelNames(std::u16string_view a, std::u16string_view b) {
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
