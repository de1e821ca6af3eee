#pragma once
// A small streaming JSON writer: two-space indentation, arrays of scalars optionally on one line,
// strings escaped for any UTF-16 input.

#include "cli/output.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp::cli {

// The JSON string literal of a UTF-16 text: quotes, backslashes and control characters escaped
// (controls as \uXXXX), the rest as UTF-8; a surrogate that is not part of a pair becomes U+FFFD.
std::string jsonQuote(std::u16string_view text);

class JsonWriter {
public:
    explicit JsonWriter(Output& out) : out_(out) {}

    void beginObject();
    void endObject();
    // oneLine keeps the whole array on one line; meant for arrays of numbers.
    void beginArray(bool oneLine = false);
    void endArray();
    // The name of the next member of the current object.
    void key(std::string_view name);

    void number(int64_t value);
    void string(std::u16string_view text);
    // A string known to be ASCII.
    void ascii(std::string_view text);
    void boolean(bool value);
    void null();

    // Shorthands for a member: key followed by its value.
    void member(std::string_view name, int64_t value) {
        key(name);
        number(value);
    }
    void member(std::string_view name, std::u16string_view text) {
        key(name);
        string(text);
    }

    // Ends the document with a line break.
    void finish();

private:
    struct Level {
        bool array;
        bool oneLine;
        bool empty = true;
    };
    void beforeValue();
    void newline();

    Output& out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace qlp::cli
