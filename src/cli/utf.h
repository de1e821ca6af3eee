#pragma once
// UTF-8 <-> UTF-16 for the command line: arguments arrive as UTF-8 bytes on Linux, and everything
// the tool prints is UTF-8, while the core works in UTF-16.

#include <string>
#include <string_view>

namespace qlp::cli {

// Decodes UTF-8; every ill-formed sequence (stray continuation byte, overlong form, encoded
// surrogate, value above U+10FFFF, truncated sequence) becomes one U+FFFD per maximal bad subpart.
std::u16string utf8ToUtf16(std::string_view bytes);

// Encodes UTF-16; a surrogate that is not part of a pair becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// Columns a text takes in a terminal: two for East Asian wide and full-width characters, one for
// everything else.
size_t displayWidth(std::u16string_view text);

} // namespace qlp::cli
