// Checks the portable CP932 codec against Windows' own conversion for every single byte, every
// byte pair, and every UTF-16 unit.

#include "model/cp932.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace qlp::cp932 {
namespace {

constexpr UINT kCodePage = 932;

std::u16string windowsDecode(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(kCodePage, 0, bytes.data(), size, nullptr, 0);
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(kCodePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

std::string windowsEncode(const std::u16string& text) {
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(kCodePage, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kCodePage, 0, wide, size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string hex(const std::string& bytes) {
    std::string s;
    char part[4];
    for (unsigned char b : bytes) {
        std::snprintf(part, sizeof part, "%02X ", b);
        s += part;
    }
    return s;
}

std::string hex(const std::u16string& text) {
    std::string s;
    char part[8];
    for (char16_t c : text) {
        std::snprintf(part, sizeof part, "%04X ", static_cast<unsigned>(c));
        s += part;
    }
    return s;
}

// Reports the first few differences in full and counts the rest, so a wrong table does not
// flood the log with tens of thousands of lines.
class Differences {
public:
    template <typename In, typename Out> void check(const In& in, const Out& ours, const Out& windows) {
        if (ours == windows)
            return;
        if (++count_ <= 20)
            ADD_FAILURE() << "input " << hex(in) << ": ours " << hex(ours) << "; Windows " << hex(windows);
    }
    ~Differences() { EXPECT_EQ(count_, 0) << "differences in total"; }

private:
    int count_ = 0;
};

TEST(Cp932Windows, CodePageIsInstalled) {
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(kCodePage, &info));
    EXPECT_EQ(info.MaxCharSize, 2u);
}

TEST(Cp932Windows, LeadBytes) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(isLeadByte(static_cast<unsigned char>(b)), IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(b)) != 0)
            << b;
}

TEST(Cp932Windows, DecodesEverySingleByte) {
    Differences diff;
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        diff.check(bytes, decode(bytes), windowsDecode(bytes));
    }
}

TEST(Cp932Windows, DecodesEveryBytePair) {
    Differences diff;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string bytes = {static_cast<char>(first), static_cast<char>(second)};
            diff.check(bytes, decode(bytes), windowsDecode(bytes));
        }
    }
}

TEST(Cp932Windows, DecodesWhatFollowsAPair) {
    // Shows whether a pair took one byte or two: a malformed pair must consume exactly what
    // Windows consumes, so the text after it stays intact.
    Differences diff;
    for (int lead = 0x80; lead < 256; ++lead) {
        for (int second = 0; second < 256; ++second) {
            const std::string bytes = {static_cast<char>(lead), static_cast<char>(second), 'A', '\x82'};
            diff.check(bytes, decode(bytes), windowsDecode(bytes));
        }
    }
}

TEST(Cp932Windows, EncodesEveryUtf16Unit) {
    // Surrogates are included: on their own each one is an unmappable unit.
    Differences diff;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::u16string text(1, static_cast<char16_t>(unit));
        diff.check(text, encode(text), windowsEncode(text));
    }
}

TEST(Cp932Windows, EncodesSurrogatePairsAndLoneHalves) {
    Differences diff;
    for (const std::u16string& text :
         {std::u16string(u"a\U0001F600b"), std::u16string(u"\U00020B9F"), std::u16string(u"\xD800\x41"),
          std::u16string(u"A\xDC00"), std::u16string(u"\xDBFF\xDBFF\xDFFF"), std::u16string(u"x\xD800")})
        diff.check(text, encode(text), windowsEncode(text));
}

TEST(Cp932Windows, MixedText) {
    const std::u16string text = u"001  AX   V     C        00:59:58:00 01:00:08:00 ソ表能①纊ⅰ\uE000ｱ¥é\U0001F600";
    EXPECT_EQ(encode(text), windowsEncode(text));
    const std::string bytes = windowsEncode(text);
    EXPECT_EQ(decode(bytes), windowsDecode(bytes));
    char16_t buffer[16];
    const size_t n = decodeInto(bytes, buffer, 16);
    EXPECT_EQ(std::u16string(buffer, n), windowsDecode(bytes).substr(0, 15));
}

} // namespace
} // namespace qlp::cp932
