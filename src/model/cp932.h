#pragma once
// Code page 932 (Windows Japanese Shift-JIS) with the full Windows mapping: JIS X 0208, the NEC
// special rows and selected IBM extensions, the IBM extensions, and the user-defined area.
// Bytes outside the program (EDLs, listings) are CP932; text inside is UTF-16.

#include <cstddef>
#include <string>
#include <string_view>

namespace qlp::cp932 {

// True when b starts a double-byte character.
bool isLeadByte(unsigned char b);

// The length of the longest start of `bytes` that is whole characters and at most `limit` bytes
// long, so that cutting there never splits a double-byte character (a lead byte that ends the
// bytes counts as a character of one byte).
size_t wholeCharactersWithin(std::string_view bytes, size_t limit);

// Decodes bytes the way Windows' MultiByteToWideChar(932, 0, ...) does.
std::u16string decode(std::string_view bytes);

// The number of characters decode(bytes) returns, without decoding them.
size_t decodedLength(std::string_view bytes);

// Decodes into a fixed buffer of `capacity` characters: at most capacity - 1 characters are
// written, always followed by a NUL, and a double-byte character is never split. Returns the
// number of characters written (without the NUL).
size_t decodeInto(std::string_view bytes, char16_t* out, size_t capacity);

// Encodes UTF-16 text; a character that CP932 cannot hold becomes '?'.
std::string encode(std::u16string_view text);

// Encodes text as encode() does into out, which has room for 2 * text.size() bytes; returns the
// end of the bytes written.
char* encodeTo(std::u16string_view text, char* out);

} // namespace qlp::cp932
