#pragma once
// Texts the system shows on one line (reel descriptions, marker descriptions, note titles): the
// edit controls they come from accept Enter and pasted line breaks, so those are stored as spaces.

#include <cstddef>
#include <string>
#include <string_view>

namespace qlp {

// `text` with every line break (CR LF, CR or LF) replaced by one space, cut to maxChars characters.
std::u16string singleLineText(std::u16string_view text, size_t maxChars);

// Copies `text` (at most capacity - 1 characters) into a fixed buffer and fills the rest with zeros,
// so the stored bytes depend only on the text.
void storeFixedText(char16_t* buffer, size_t capacity, std::u16string_view text);

// The text of a fixed buffer: up to its first NUL, at most `capacity` characters.
std::u16string_view fixedBufferText(const char16_t* buffer, size_t capacity);

} // namespace qlp
