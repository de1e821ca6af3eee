#pragma once
// Buffered byte output to a C stream. Everything the tool prints is UTF-8; on Windows the stream is
// switched to binary mode first so that the runtime does not translate the bytes.

#include <cstdio>
#include <string>
#include <string_view>

namespace qlp::cli {

// Puts a standard stream into binary mode (Windows); does nothing elsewhere.
void makeBinary(std::FILE* stream);

class Output {
public:
    explicit Output(std::FILE* stream) : stream_(stream) {}
    ~Output() { flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void write(std::string_view bytes);
    void write(char c);
    // UTF-16 text, written as UTF-8.
    void write(std::u16string_view text);
    // Writes what is buffered; false once any write to the stream has failed.
    bool flush();

private:
    std::FILE* stream_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace qlp::cli
