#include "outputs/edl_export.h"

#include "model/chunked_writer.h"
#include "model/edl_reader.h"
#include "model/timecode.h"
#include "ops/views.h"

#include <cstring>

namespace qlp {

namespace {

constexpr size_t kTimecodeLength = 11; // hh:mm:ss.ff
constexpr size_t kDigitSearchFloor = 10;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isFrameSeparator(char c) {
    return c == '.' || c == ',' || c == ':' || c == ';';
}

// True when the 11 characters at text have the shape hh:mm:ss.ff (any of . , : ; before the frames).
bool isTimecodeShaped(const char* text) {
    for (const int i : {0, 1, 3, 4, 6, 7, 9, 10}) {
        if (!isDigit(text[i]))
            return false;
    }
    return text[2] == ':' && text[5] == ':' && isFrameSeparator(text[8]);
}

// The start of the last timecode that begins before `from` in line[0, length): back over what is
// not a digit (not below position 10) to the last digit, back to the separator before its frames,
// then 8 characters further back when a digit precedes that separator. npos when no whole
// timecode (hh:mm:ss.ff) lies there: such a line is not rewritten.
size_t timecodeBefore(const char* line, size_t length, size_t from) {
    size_t i = from;
    while (i > kDigitSearchFloor && (i >= length || !isDigit(line[i])))
        --i;
    while (i > 0 && (i >= length || !isFrameSeparator(line[i])))
        --i;
    if (i >= length || !isFrameSeparator(line[i]) || i < 8 || !isDigit(line[i - 1]))
        return std::string_view::npos;
    const size_t start = i - 8;
    return start + kTimecodeLength <= length && isTimecodeShaped(line + start) ? start : std::string_view::npos;
}

// Rewrites the record timecodes of one event line in place. The line is what the reader parsed: up
// to a NUL byte, without its line-ending bytes.
void rewriteLine(char* line, size_t length, const std::string* recIn, const std::string* recOut) {
    const char* nul = static_cast<const char*>(std::memchr(line, 0, length));
    if (nul)
        length = static_cast<size_t>(nul - line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        --length;
    const size_t outStart = timecodeBefore(line, length, length);
    if (outStart == std::string_view::npos)
        return;
    const size_t inStart = timecodeBefore(line, outStart, outStart);
    if (inStart == std::string_view::npos)
        return;
    if (recOut)
        std::memcpy(line + outStart, recOut->data(), kTimecodeLength);
    if (recIn)
        std::memcpy(line + inStart, recIn->data(), kTimecodeLength);
}

// The 11 bytes that replace a record timecode, or false (the timecode stays as read) when the text
// is no timecode: a damaged column text never puts other bytes, or NUL bytes, into the file.
bool recordBytes(const EdlEvent& event, int column, bool convert, bool dropFrame, std::string& out) {
    const std::u16string_view text = columnText(event, column);
    if (convert)
        return convertRecordText(text, dropFrame, out) && isTimecodeShaped(out.data());
    if (text.size() != kTimecodeLength)
        return false;
    out.resize(kTimecodeLength);
    for (size_t i = 0; i < kTimecodeLength; ++i) {
        if (text[i] >= 0x80)
            return false; // a timecode is ASCII
        out[i] = static_cast<char>(text[i]);
    }
    return isTimecodeShaped(out.data());
}

// Events lie about a kilobyte apart, too far for the processor to fetch them ahead by itself: the
// walk asks for the record texts of an event a few lines before it reaches them.
constexpr int32_t kPrefetchDistance = 8;

void prefetchRecordTexts(const EdlEvent& event) {
#if defined(__GNUC__)
    __builtin_prefetch(&event.lineNumber);
    __builtin_prefetch(event.text[kColRecIn]);
    __builtin_prefetch(event.text[kColRecOut]);
    __builtin_prefetch(event.text[kColRecOut] + kColumnTextLength - 1);
#else
    (void)event;
#endif
}

void putTwoDigits(char* at, int32_t value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

} // namespace

bool convertRecordText(std::u16string_view text, bool fromDropFrame, std::string& out) {
    TimecodeParts a;
    if (!parseTimecode(text, a))
        return false;
    TimecodeParts result;
    if (fromDropFrame) {
        TimecodeCalc calc;
        calc.dropFrame = 1;
        calc.a = a;
        if (!calculate(calc, '-'))
            return false;
        splitFrames(calc.resultReal, result);
    } else {
        // The drop-frame label of the same real count, so that the converted time names the same
        // frame; a count past the end of a drop-frame day wraps as the calculator's sum does.
        int32_t real = realFrames(0, a);
        if (real < 0)
            return false;
        if (real >= kDfFramesPerDay)
            real -= kDfFramesPerDay;
        splitFrames(dfRealToLabel(real), result);
    }
    if (result.hours > 99)
        return false;
    out.assign("00:00:00.00");
    putTwoDigits(&out[0], result.hours);
    putTwoDigits(&out[3], result.minutes);
    putTwoDigits(&out[6], result.seconds);
    out[8] = fromDropFrame ? '.' : ',';
    putTwoDigits(&out[9], result.frames);
    return true;
}

bool exportEdlText(const EdlDocument& doc, std::string_view text, bool convert, ByteSink& sink) {
    ChunkedWriter out(sink, static_cast<int64_t>(text.size()));
    const int32_t count = doc.events ? doc.eventCount() : 0;
    const bool dropFrame = doc.dropFrame != 0;
    int32_t k = 0;
    int64_t line = 0;
    std::string recIn;
    std::string recOut;
    std::string longLine;
    size_t pos = 0;
    for (; pos < text.size() && k < count; ++line) {
        const size_t end = edlLineEnd(text, pos);
        // Events are in EDL order, so their lines only grow; a damaged file may say otherwise, and
        // an event whose line was already passed is left out.
        while (k < count && doc.events[k].lineNumber < line)
            ++k;
        if (k + kPrefetchDistance < count)
            prefetchRecordTexts(doc.events[k + kPrefetchDistance]);
        if (k < count && doc.events[k].lineNumber == line) {
            const EdlEvent& event = doc.events[k];
            const bool haveIn = recordBytes(event, kColRecIn, convert, dropFrame, recIn);
            const bool haveOut = recordBytes(event, kColRecOut, convert, dropFrame, recOut);
            const size_t length = end - pos;
            char* copy;
            if (length <= ChunkedWriter::kLargestRoom) {
                copy = reinterpret_cast<char*>(out.room(length));
            } else {
                longLine.resize(length);
                copy = longLine.data();
            }
            std::memcpy(copy, text.data() + pos, length);
            rewriteLine(copy, length, haveIn ? &recIn : nullptr, haveOut ? &recOut : nullptr);
            if (length <= ChunkedWriter::kLargestRoom)
                out.commit(length);
            else
                out.write(copy, length);
            while (k < count && doc.events[k].lineNumber == line)
                ++k;
        } else {
            out.write(text.data() + pos, end - pos);
        }
        pos = end;
    }
    out.write(text.data() + pos, text.size() - pos);
    return out.finish();
}

EdlExportOutcome exportEdlFile(const EdlDocument& doc, std::u16string_view path, bool convert,
                               bool overwriteConfirmed) {
    EdlExportOutcome outcome;
    const std::string_view text(reinterpret_cast<const char*>(doc.sourceText),
                                doc.sourceText ? static_cast<size_t>(doc.sourceTextSize) : 0);
    outcome.write = writeExportFile(path, overwriteConfirmed,
                                    [&](ByteSink& sink) { return exportEdlText(doc, text, convert, sink); });
    outcome.message = writeOutcomeMessage(outcome.write, path, formatExportMessage(kMsgEdlCreated, {path}));
    return outcome;
}

} // namespace qlp
