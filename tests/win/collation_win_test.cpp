// Checks the portable reel-name comparison against Windows' own lstrcmpW: every pair of ASCII
// characters, and every pair of a few thousand generated reel names.

#include "model/collation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace qlp {
namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

const wchar_t* wide(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

int lstrcmpSign(const std::u16string& a, const std::u16string& b) {
    return sign(lstrcmpW(wide(a), wide(b)));
}

// What lstrcmpW gives on a Japanese Windows, whatever the user locale of this process.
int japaneseSign(const std::u16string& a, const std::u16string& b) {
    const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
    return CompareStringW(japanese, 0, wide(a), -1, wide(b), -1) - CSTR_EQUAL;
}

std::string printable(const std::u16string& s) {
    std::string out = "\"";
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out + "\"";
}

// Compares every pair and reports the first disagreements with both names.
template <typename WindowsCompare>
void expectSameOrderAsWindows(const std::vector<std::u16string>& names, WindowsCompare windowsCompare) {
    int mismatches = 0;
    for (const auto& a : names) {
        for (const auto& b : names) {
            const int expected = windowsCompare(a, b);
            const int actual = sign(compareReelNames(a, b));
            if (expected != actual && ++mismatches <= 20) {
                ADD_FAILURE() << printable(a) << " vs " << printable(b) << ": Windows " << expected << ", ours "
                              << actual;
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << names.size() * names.size() << " pairs";
}

TEST(CollationWinTest, EveryPairOfAsciiCharactersOrdersAsWindows) {
    std::vector<std::u16string> names{u""};
    for (char16_t c = 1; c < 0x80; ++c) {
        names.push_back(std::u16string(1, c));
    }
    expectSameOrderAsWindows(names, lstrcmpSign);
}

// Reel names of 1 to 6 characters. Half are drawn afresh; the other half are near copies of an
// earlier name (a case flipped, a hyphen or apostrophe put in, a character dropped, replaced or
// swapped with its neighbour), which are the pairs that only the later levels of the comparison
// tell apart.
std::vector<std::u16string> generatedNames(std::size_t count) {
    const std::u16string common = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.#+&()/ '";
    std::u16string everything;
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        everything += c;
    }
    std::mt19937 rng(9100);
    auto pick = [&](const std::u16string& from) { return from[rng() % from.size()]; };
    auto anyChar = [&] { return rng() % 8 == 0 ? pick(everything) : pick(common); };

    std::vector<std::u16string> names;
    while (names.size() < count) {
        std::u16string name;
        if (names.empty() || rng() % 2 == 0) {
            const std::size_t length = 1 + rng() % 6;
            for (std::size_t i = 0; i < length; ++i) {
                name += anyChar();
            }
        } else {
            name = names[rng() % names.size()];
            const std::size_t at = rng() % name.size();
            switch (rng() % 5) {
            case 0:
                if (name[at] >= u'a' && name[at] <= u'z') {
                    name[at] = static_cast<char16_t>(name[at] - u'a' + u'A');
                } else if (name[at] >= u'A' && name[at] <= u'Z') {
                    name[at] = static_cast<char16_t>(name[at] - u'A' + u'a');
                }
                break;
            case 1:
                name.insert(name.begin() + static_cast<std::ptrdiff_t>(rng() % (name.size() + 1)),
                            rng() % 2 ? u'-' : u'\'');
                break;
            case 2:
                name.erase(at, 1);
                break;
            case 3:
                name[at] = anyChar();
                break;
            default:
                if (at + 1 < name.size()) {
                    std::swap(name[at], name[at + 1]);
                }
                break;
            }
            if (name.empty() || name.size() > 6) {
                continue;
            }
        }
        names.push_back(name);
    }
    return names;
}

TEST(CollationWinTest, EveryPairOfGeneratedReelNamesOrdersAsWindows) {
    expectSameOrderAsWindows(generatedNames(2500), lstrcmpSign);
}

// A Japanese Windows sorts the backslash as the yen sign, after '~'; every other ASCII character
// keeps its place, so names without a backslash order the same there too.
TEST(CollationWinTest, JapaneseWindowsAgreesExceptOnTheBackslash) {
    std::vector<std::u16string> names = generatedNames(1200);
    std::erase_if(names, [](const std::u16string& name) { return name.find(u'\\') != std::u16string::npos; });
    expectSameOrderAsWindows(names, japaneseSign);

    EXPECT_LT(compareReelNames(u"A\\", u"A~"), 0);
    EXPECT_GT(japaneseSign(u"A\\", u"A~"), 0) << "the one difference, documented in the comparison";
}

} // namespace
} // namespace qlp
