#include "model/cp932.h"

#include <algorithm>

namespace qlp::cp932 {

namespace {

#include "model/cp932_tables.inc"

// Windows writes this character (KATAKANA MIDDLE DOT) for every byte sequence it cannot map.
constexpr char16_t kDefaultChar = 0x30FB;

constexpr bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes the character that starts at bytes[pos] and returns how many bytes it took. The rules
// for malformed input are Windows' own:
// - a lead byte at the end of the input is one default character;
// - a lead byte followed by NUL is a default character, and the NUL is decoded on its own;
// - a lead byte followed by any other byte takes both bytes, even when the second one is not a
//   trail byte (below 0x40, 0x7F, above 0xFC): the pair is one default character.
// Bytes 0x80, 0xA0 and 0xFD-0xFF are single characters (U+0080, U+F8F0-U+F8F3).
inline size_t decodeAt(std::string_view bytes, size_t pos, char16_t& out) {
    const auto b = static_cast<unsigned char>(bytes[pos]);
    if (!isLead(b)) {
        out = kSingleByte[b];
        return 1;
    }
    if (pos + 1 == bytes.size() || bytes[pos + 1] == '\0') {
        out = kDefaultChar;
        return 1;
    }
    const auto t = static_cast<unsigned char>(bytes[pos + 1]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) {
        out = kDefaultChar;
        return 2;
    }
    const unsigned row = b <= 0x9F ? b - 0x81 : b - 0xE0 + 0x1F;
    const unsigned column = t < 0x80 ? t - 0x40 : t - 0x41;
    out = kDoubleByte[row][column];
    return 2;
}

constexpr bool asciiMapsToItself() {
    for (unsigned b = 0; b < 0x80; ++b)
        if (kSingleByte[b] != b)
            return false;
    return true;
}
static_assert(asciiMapsToItself(), "decodeInto copies bytes below 0x80 as they are");

} // namespace

size_t wholeCharactersWithin(std::string_view bytes, size_t limit) {
    size_t end = 0;
    while (end < bytes.size()) {
        const size_t width = isLeadByte(static_cast<unsigned char>(bytes[end])) && end + 1 < bytes.size() ? 2 : 1;
        if (end + width > limit)
            break;
        end += width;
    }
    return end;
}

bool isLeadByte(unsigned char b) {
    return isLead(b);
}

std::u16string decode(std::string_view bytes) {
    // Every character takes at least one byte, so the byte count bounds the result.
    std::u16string out(bytes.size(), u'\0');
    size_t n = 0;
    for (size_t pos = 0; pos < bytes.size(); ++n)
        pos += decodeAt(bytes, pos, out[n]);
    out.resize(n);
    return out;
}

// A character takes two bytes exactly when decodeAt takes two: a lead byte followed by any byte
// but NUL.
size_t decodedLength(std::string_view bytes) {
    size_t n = 0;
    for (size_t pos = 0; pos < bytes.size(); ++n) {
        const bool lead = isLead(static_cast<unsigned char>(bytes[pos]));
        pos += lead && pos + 1 < bytes.size() && bytes[pos + 1] != '\0' ? 2 : 1;
    }
    return n;
}

size_t decodeInto(std::string_view bytes, char16_t* out, size_t capacity) {
    if (capacity == 0)
        return 0;
    // Bytes below 0x80 (the bulk of any EDL column) are their own characters: copy that run first.
    const size_t run = std::min(bytes.size(), capacity - 1);
    size_t n = 0;
    while (n < run && static_cast<unsigned char>(bytes[n]) < 0x80) {
        out[n] = static_cast<unsigned char>(bytes[n]);
        ++n;
    }
    for (size_t pos = n; pos < bytes.size() && n + 1 < capacity; ++n)
        pos += decodeAt(bytes, pos, out[n]);
    out[n] = u'\0';
    return n;
}

// Each UTF-16 unit is converted on its own, as WideCharToMultiByte(932, 0, ...) does: best-fit
// mappings are in the table, and anything else without a mapping, including each half of a
// surrogate pair, is written as '?'.
char* encodeTo(std::u16string_view text, char* out) {
    for (char16_t c : text) {
        if (c < 0x80) { // ASCII is its own code
            *out++ = static_cast<char>(c);
            continue;
        }
        const unsigned short v = kEncodeBlock[kEncodePage[c >> 8]][c & 0xFF];
        if (v >= 0x100)
            *out++ = static_cast<char>(v >> 8);
        *out++ = static_cast<char>(v & 0xFF);
    }
    return out;
}

std::string encode(std::u16string_view text) {
    std::string out(text.size() * 2, '\0');
    out.resize(static_cast<size_t>(encodeTo(text, out.data()) - out.data()));
    return out;
}

} // namespace qlp::cp932
