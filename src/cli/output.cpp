#include "cli/output.h"

#include "cli/utf.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace qlp::cli {

namespace {
constexpr size_t kFlushSize = 1 << 16;
}

void makeBinary(std::FILE* stream) {
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

void Output::write(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushSize)
        flush();
}

void Output::write(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kFlushSize)
        flush();
}

void Output::write(std::u16string_view text) {
    write(utf16ToUtf8(text));
}

bool Output::flush() {
    if (!buffer_.empty() && !failed_)
        failed_ = std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size();
    buffer_.clear();
    if (!failed_)
        failed_ = std::fflush(stream_) != 0;
    return !failed_;
}

} // namespace qlp::cli
