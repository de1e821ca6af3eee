#include "ops/single_line.h"

#include <algorithm>

namespace qlp {

std::u16string singleLineText(std::u16string_view text, size_t maxChars) {
    std::u16string line;
    line.reserve(std::min(text.size(), maxChars));
    for (size_t i = 0; i < text.size() && line.size() < maxChars; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            // A CR LF pair is one line break.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            line.push_back(u' ');
        } else {
            line.push_back(c);
        }
    }
    return line;
}

void storeFixedText(char16_t* buffer, size_t capacity, std::u16string_view text) {
    if (capacity == 0)
        return;
    const size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, buffer);
    std::fill(buffer + length, buffer + capacity, u'\0');
}

std::u16string_view fixedBufferText(const char16_t* buffer, size_t capacity) {
    return {buffer, static_cast<size_t>(std::find(buffer, buffer + capacity, u'\0') - buffer)};
}

} // namespace qlp
