// The reel-name comparison orders names the way Windows' lstrcmpW does. The Windows suite checks
// it against lstrcmpW itself on thousands of names; these cases pin the rules by name.

#include "model/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qlp {
namespace {

// Expects a < b, and the mirror image.
void expectBefore(std::u16string_view a, std::u16string_view b) {
    EXPECT_LT(compareReelNames(a, b), 0) << "first name should sort first";
    EXPECT_GT(compareReelNames(b, a), 0) << "comparison must be antisymmetric";
}

TEST(CollationTest, CaseIsOnlyATieBreakLowercaseFirst) {
    expectBefore(u"a", u"A");
    expectBefore(u"A", u"b");    // letters compare case-folded first: A < b, not B < a as in code order
    expectBefore(u"aB", u"Ab");  // the first case difference decides
    expectBefore(u"Ab", u"ab0"); // a longer name wins over any case difference
    EXPECT_EQ(compareReelNames(u"REEL1", u"REEL1"), 0);
}

TEST(CollationTest, SymbolsSortBeforeDigitsBeforeLetters) {
    std::vector<std::u16string> names{u"A01", u"001", u"#01", u"_01", u"+01", u" 01", u"a01", u"(01"};
    std::sort(names.begin(), names.end(), [](auto& a, auto& b) { return compareReelNames(a, b) < 0; });
    // Among symbols Windows' own order holds: space first, '+' after '_' (not code order).
    const std::vector<std::u16string> expected{u" 01", u"#01", u"(01", u"_01", u"+01", u"001", u"a01", u"A01"};
    EXPECT_EQ(names, expected);
}

TEST(CollationTest, DigitsCompareAsCharactersNotNumbers) {
    expectBefore(u"10", u"9");
    expectBefore(u"A10", u"A9");
    expectBefore(u"A1", u"A10"); // a prefix sorts first
}

TEST(CollationTest, HyphenAndApostropheOnlyBreakTies) {
    // Ignored while anything else differs: "a-c" sorts as "ac", after "ab".
    expectBefore(u"ab", u"a-c");
    expectBefore(u"a-b", u"ac");
    expectBefore(u"a-B", u"Ab"); // case outranks the hyphen
    // On a tie the name without them comes first, the apostrophe before the hyphen, and a later one
    // before an earlier one.
    expectBefore(u"ab", u"a-b");
    expectBefore(u"a'b", u"a-b");
    expectBefore(u"ab-", u"a-b");
    expectBefore(u"a-b", u"-ab");
    expectBefore(u"", u"'");
    expectBefore(u"'", u"-");
    expectBefore(u"-", u" "); // a space is a weighted symbol, unlike the hyphen
}

TEST(CollationTest, StopsAtTheTerminatorOfAPaddedBuffer) {
    const std::u16string padded(u"AB\0\0\0\0", 6);
    EXPECT_EQ(compareReelNames(padded, u"AB"), 0);
    expectBefore(padded, u"AB-");
}

TEST(CollationTest, NonAsciiSortsAfterAsciiInCodeUnitOrder) {
    // No promise to match Windows here, only a total order: after every ASCII name, by code unit,
    // across the whole UTF-16 range (half-width katakana and the full-width yen sign included).
    const std::vector<std::u16string> ordered{u"~",      u"Z",      u"\u00E9", u"\u3042",
                                              u"\uFF21", u"\uFF9E", u"\uFFE5", u"\uFFFF"};
    for (std::size_t i = 0; i + 1 < ordered.size(); ++i) {
        expectBefore(ordered[i], ordered[i + 1]);
    }
    expectBefore(u"A\u3042", u"a\u3044"); // the primary level still decides before case
}

} // namespace
} // namespace qlp
