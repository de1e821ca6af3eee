#include "cli/json_writer.h"

#include "cli/utf.h"

#include <cstdio>

namespace qlp::cli {

std::string jsonQuote(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    size_t plainStart = 0;
    auto flushPlain = [&](size_t end) {
        if (end > plainStart)
            out.append(utf16ToUtf8(text.substr(plainStart, end - plainStart)));
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue; // lone surrogates are replaced by the UTF-8 encoder
        flushPlain(i);
        plainStart = i + 1;
        if (c == u'"') {
            out.append("\\\"");
        } else if (c == u'\\') {
            out.append("\\\\");
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out.append(escape);
        }
    }
    flushPlain(text.size());
    out.push_back('"');
    return out;
}

void JsonWriter::newline() {
    out_.write('\n');
    for (size_t i = 0; i < levels_.size(); ++i)
        out_.write("  ");
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& level = levels_.back();
    if (!level.empty)
        out_.write(level.oneLine ? ", " : ",");
    if (!level.oneLine)
        newline();
    level.empty = false;
}

void JsonWriter::beginObject() {
    beforeValue();
    out_.write('{');
    levels_.push_back({false, false});
}

void JsonWriter::endObject() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        newline();
    out_.write('}');
}

void JsonWriter::beginArray(bool oneLine) {
    beforeValue();
    out_.write('[');
    levels_.push_back({true, oneLine});
}

void JsonWriter::endArray() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty && !level.oneLine)
        newline();
    out_.write(']');
}

void JsonWriter::key(std::string_view name) {
    Level& level = levels_.back();
    if (!level.empty)
        out_.write(',');
    newline();
    level.empty = false;
    out_.write('"');
    out_.write(name);
    out_.write("\": ");
    afterKey_ = true;
}

void JsonWriter::number(int64_t value) {
    beforeValue();
    out_.write(std::to_string(value));
}

void JsonWriter::string(std::u16string_view text) {
    beforeValue();
    out_.write(jsonQuote(text));
}

void JsonWriter::ascii(std::string_view text) {
    beforeValue();
    out_.write('"');
    out_.write(text);
    out_.write('"');
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    out_.write(value ? "true" : "false");
}

void JsonWriter::null() {
    beforeValue();
    out_.write("null");
}

void JsonWriter::finish() {
    out_.write('\n');
}

} // namespace qlp::cli
