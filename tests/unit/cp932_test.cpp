#include "model/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

using namespace std::string_literals;
using namespace std::string_view_literals;

namespace qlp::cp932 {
namespace {

std::string twoBytes(unsigned lead, unsigned trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

TEST(Cp932, AsciiAndControlBytesAreThemselves) {
    std::string bytes;
    std::u16string chars;
    for (int b = 0; b < 0x80; ++b) {
        bytes.push_back(static_cast<char>(b));
        chars.push_back(static_cast<char16_t>(b));
    }
    EXPECT_EQ(decode(bytes), chars);
    EXPECT_EQ(encode(chars), bytes);
    // 0x5C is the backslash and 0x7E the tilde, not the yen sign and overline of JIS X 0201.
    EXPECT_EQ(decode("\\~"), u"\\~");
}

TEST(Cp932, HalfWidthKatakanaAreSingleBytes) {
    for (int b = 0xA1; b <= 0xDF; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        const std::u16string chars(1, static_cast<char16_t>(0xFF61 + b - 0xA1));
        EXPECT_FALSE(isLeadByte(static_cast<unsigned char>(b)));
        EXPECT_EQ(decode(bytes), chars);
        EXPECT_EQ(encode(chars), bytes);
    }
}

TEST(Cp932, KanjiAndKana) {
    EXPECT_EQ(decode("\x88\x9F\x8A\xBF\x8E\x9A\x82\xA0"), u"亜漢字あ");
    EXPECT_EQ(encode(u"亜漢字あ"), "\x88\x9F\x8A\xBF\x8E\x9A\x82\xA0");
}

TEST(Cp932, TrailByte5CIsNotABackslash) {
    // ソ 表 能 十 予 end in 0x5C; a byte-wise scan for '\\' must not cut them.
    const std::string bytes = "\x83\x5C\x95\x5C\x94\x5C\x8F\x5C\x97\x5C\\"s;
    EXPECT_EQ(decode(bytes), u"ソ表能十予\\");
    EXPECT_EQ(encode(u"ソ表能十予\\"), bytes);
}

TEST(Cp932, NecAndIbmExtensions) {
    // NEC row 13.
    EXPECT_EQ(decode("\x87\x40\x87\x8A\x87\x82"), u"①㈱№");
    EXPECT_EQ(encode(u"①㈱№"), "\x87\x40\x87\x8A\x87\x82");
    // IBM extensions, including one whose trail byte is 0x5C.
    EXPECT_EQ(decode("\xFA\x5C\xFB\xFC\xFA\xB1\xFA\x40"), u"纊髙﨑ⅰ");
    EXPECT_EQ(encode(u"纊髙﨑ⅰ"), "\xFA\x5C\xFB\xFC\xFA\xB1\xFA\x40");
    // The NEC-selected copies (lead ED/EE) decode to the same characters but are never written.
    EXPECT_EQ(decode("\xED\x40\xEE\xEF"), u"纊ⅰ");
    EXPECT_EQ(encode(decode("\xED\x40\xEE\xEF")), "\xFA\x5C\xFA\x40");
}

TEST(Cp932, UserDefinedArea) {
    EXPECT_EQ(decode("\xF0\x40\xF0\x80\xF9\xFC"), u"\uE000\uE03F\uE757");
    EXPECT_EQ(encode(u"\uE000\uE03F\uE757"), "\xF0\x40\xF0\x80\xF9\xFC");
    EXPECT_EQ(encode(u"\uE758"), "?");
}

TEST(Cp932, DuplicatesEncodeToThePreferredForm) {
    // Characters with several sequences encode to JIS X 0208 first, then NEC row 13, then the
    // IBM extensions; the NEC-selected rows ED/EE are never written.
    const std::map<unsigned, unsigned> expected = {
        {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
        {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE}, {0xFA4A, 0x8754},
        {0xFA4B, 0x8755}, {0xFA4C, 0x8756}, {0xFA4D, 0x8757}, {0xFA4E, 0x8758}, {0xFA4F, 0x8759},
        {0xFA50, 0x875A}, {0xFA51, 0x875B}, {0xFA52, 0x875C}, {0xFA53, 0x875D}, {0xFA54, 0x81CA},
        {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6}, {0xEEF9, 0x81CA}};
    for (auto [from, to] : expected) {
        const std::u16string c = decode(twoBytes(from >> 8, from & 0xFF));
        EXPECT_EQ(encode(c), twoBytes(to >> 8, to & 0xFF)) << std::hex << from;
    }
}

TEST(Cp932, EveryMappedDoubleByteSequenceRoundTrips) {
    // Except the duplicates above and the NEC-selected rows, every mapped sequence comes back.
    int roundTrips = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string bytes = twoBytes(lead, trail);
            const std::u16string c = decode(bytes);
            ASSERT_EQ(c.size(), 1u);
            if (c[0] == 0x30FB && bytes != "\x81\x45")
                continue; // unmapped
            const std::string back = encode(c);
            EXPECT_EQ(decode(back), c) << std::hex << lead << trail;
            if (back == bytes) {
                ++roundTrips;
            } else if (lead != 0xED && lead != 0xEE) {
                EXPECT_TRUE(lead == 0x87 || lead == 0xFA) << std::hex << lead << trail;
            }
        }
    }
    // 9604 mapped sequences: 374 in rows ED/EE and 24 other duplicates do not come back.
    EXPECT_EQ(roundTrips, 9206);
}

TEST(Cp932, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(encode(u"A\u0100B"), "A?B");
    EXPECT_EQ(encode(u"\u20AC"), "?");
    // Python's codec writes these three; Windows does not, because no sequence decodes to them.
    EXPECT_EQ(encode(u"\u2016\u2212\u301C"), "???");
    // Each half of a surrogate pair is one unmappable unit, as in WideCharToMultiByte.
    EXPECT_EQ(encode(u"a\U0001F600b"), "a??b");
    EXPECT_EQ(encode(u"\xD800x\xDC00"), "?x?");
}

TEST(Cp932, BestFitMappings) {
    EXPECT_EQ(encode(u"¥é©"), "\\ec");
    EXPECT_EQ(encode(u"ゔ«"), "\x83\x94\x81\xE1");
    EXPECT_EQ(encode(u"¢£¬"), "\x81\x91\x81\x92\x81\xCA");
}

TEST(Cp932, SingleBytesWithoutJisMeaning) {
    EXPECT_EQ(decode("\x80\xA0\xFD\xFE\xFF"), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_EQ(encode(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
    for (unsigned b : {0x80u, 0xA0u, 0xFDu, 0xFEu, 0xFFu, 0x7Fu, 0xDFu})
        EXPECT_FALSE(isLeadByte(static_cast<unsigned char>(b))) << b;
    for (unsigned b : {0x81u, 0x9Fu, 0xE0u, 0xEFu, 0xF0u, 0xFCu})
        EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(b))) << b;
}

TEST(Cp932, MalformedInputDecodesLikeWindows) {
    // A lead byte at the end is one default character.
    EXPECT_EQ(decode("A\x82"), u"A・");
    // A lead byte before NUL: a default character, then the NUL.
    EXPECT_EQ(decode("\x82\0B"sv), u"・\0B"s);
    // A lead byte before a byte that cannot follow it swallows that byte (0x42 is 'B').
    EXPECT_EQ(decode("\x82 B"), u"・B");
    EXPECT_EQ(decode("\x82\x7F\x42"), u"・B");
    EXPECT_EQ(decode("\x82\xFD\x42"), u"・B");
    // A valid pair without a character.
    EXPECT_EQ(decode("\x85\x40\x42"), u"・B");
    EXPECT_EQ(decode("\xEB\x40\xEF\xFC"), u"・・");
    // The middle dot itself (81 45) encodes back normally.
    EXPECT_EQ(encode(u"・"), "\x81\x45");
}

TEST(Cp932, DecodeIntoMatchesDecodeAndNeverSplits) {
    const std::string bytes = "A\x82\xA0\x83\x5C\x42\xFA\x5C\xB1\x82 C\x80\x82"s;
    const std::u16string whole = decode(bytes);
    ASSERT_EQ(whole, u"AあソB纊ｱ・C\u0080・");
    for (size_t capacity = 0; capacity <= whole.size() + 2; ++capacity) {
        char16_t buffer[32];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        const size_t n = decodeInto(bytes, buffer, capacity);
        if (capacity == 0) {
            EXPECT_EQ(n, 0u);
            EXPECT_EQ(buffer[0], u'#');
            continue;
        }
        EXPECT_EQ(n, std::min(capacity - 1, whole.size()));
        EXPECT_EQ(std::u16string(buffer, n), whole.substr(0, n));
        EXPECT_EQ(buffer[n], u'\0');
        EXPECT_EQ(buffer[n + 1], u'#') << "wrote past the terminator";
    }
}

TEST(Cp932, EmptyInput) {
    EXPECT_EQ(decode(""), u"");
    EXPECT_EQ(encode(u""), "");
    char16_t buffer[2] = {u'#', u'#'};
    EXPECT_EQ(decodeInto("", buffer, 2), 0u);
    EXPECT_EQ(buffer[0], u'\0');
}

} // namespace
} // namespace qlp::cp932
