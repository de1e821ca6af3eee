#include "outputs/edl_export.h"

#include "model/chunked_writer.h"
#include "model/edl_reader.h"
#include "model/timecode.h"
#include "ops/views.h"

#include <cstdint>
#include <cstring>

namespace qlp {

namespace {

constexpr size_t kTimecodeLength = 11; // hh:mm:ss.ff

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

// The 11 bytes that replace a record timecode, or false (the timecode stays as read) when the
// column text is no 11-character timecode: a damaged column text never puts other bytes, or NUL
// bytes, into the file, and the conversion never makes a time out of such a text.
bool recordBytes(const EdlEvent& event, int column, bool convert, bool dropFrame, std::string& out) {
    const std::u16string_view text = columnText(event, column);
    if (text.size() != kTimecodeLength)
        return false;
    out.resize(kTimecodeLength);
    for (size_t i = 0; i < kTimecodeLength; ++i) {
        if (text[i] >= 0x80)
            return false; // a timecode is ASCII
        out[i] = static_cast<char>(text[i]);
    }
    if (!isTimecodeShaped(out.data()))
        return false;
    return !convert || (convertRecordText(text, dropFrame, out) && isTimecodeShaped(out.data()));
}

// The header line that names the counting the converted record times are written in.
constexpr std::string_view kFcmPrefix = "FCM:";
constexpr std::string_view kFcmDropFrame = "FCM: DROP FRAME";
constexpr std::string_view kFcmNonDropFrame = "FCM: NON-DROP FRAME";

// The end of the physical line that starts at pos: past its line feed, or the end of the text.
size_t physicalLineEnd(std::string_view text, size_t pos) {
    const void* lf = std::memchr(text.data() + pos, '\n', text.size() - pos);
    return lf ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) + 1 : text.size();
}

// The line-ending bytes at the end of text[pos, end): the CR and LF bytes it ends with.
size_t lineEndingStart(std::string_view text, size_t pos, size_t end) {
    while (end > pos && (text[end - 1] == '\n' || text[end - 1] == '\r'))
        --end;
    return end;
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

EdlTextOutcome exportEdlText(const EdlDocument& doc, std::string_view text, bool convert, ByteSink& sink) {
    ChunkedWriter out(sink, static_cast<int64_t>(text.size()));
    const int32_t count = doc.events ? doc.eventCount() : 0;
    const bool dropFrame = doc.dropFrame != 0;
    // The lines before the first event line are the header; converting names the new counting in
    // its FCM line.
    const int64_t headerEnd = count > 0 ? doc.events[0].lineNumber : INT64_MAX;
    std::string recIn;
    std::string recOut;
    std::string longLine;
    // An event whose record times have a text to write but no place in the stored text: the export
    // stops rather than write a file that no longer shows the document.
    auto unplaced = [&](const EdlEvent& event) {
        return recordBytes(event, kColRecIn, convert, dropFrame, recIn) ||
               recordBytes(event, kColRecOut, convert, dropFrame, recOut);
    };
    auto refused = [](const EdlEvent& event) {
        return EdlTextOutcome{EdlTextStatus::Unplaced, static_cast<int64_t>(event.lineNumber) + 1};
    };
    int32_t k = 0;
    int64_t line = 0;
    size_t pos = 0;
    while (pos < text.size() && (k < count || (convert && line < headerEnd))) {
        size_t end = edlLineEnd(text, pos);
        if (convert && line < headerEnd && text.substr(pos, kFcmPrefix.size()) == kFcmPrefix) {
            // The whole line, however many pieces the reader counts in it, as long as all of
            // them lie in the header.
            const size_t lineEnd = physicalLineEnd(text, pos);
            int64_t lastPiece = line;
            while (end < lineEnd) {
                end = edlLineEnd(text, end);
                ++lastPiece;
            }
            if (lastPiece < headerEnd) {
                const std::string_view fcm = dropFrame ? kFcmNonDropFrame : kFcmDropFrame;
                out.write(fcm.data(), fcm.size());
                const size_t ending = lineEndingStart(text, pos, end);
                out.write(text.data() + ending, end - ending);
                pos = end;
                line = lastPiece + 1;
                continue;
            }
            end = edlLineEnd(text, pos);
        }
        // Events are in EDL order, so their lines only grow; a damaged file may say otherwise.
        for (; k < count && doc.events[k].lineNumber < line; ++k)
            if (unplaced(doc.events[k]))
                return refused(doc.events[k]);
        if (k + kPrefetchDistance < count)
            prefetchRecordTexts(doc.events[k + kPrefetchDistance]);
        if (k < count && doc.events[k].lineNumber == line) {
            const EdlEvent& event = doc.events[k];
            const bool haveIn = recordBytes(event, kColRecIn, convert, dropFrame, recIn);
            const bool haveOut = recordBytes(event, kColRecOut, convert, dropFrame, recOut);
            // The record timecodes are rewritten exactly where the reader took them from.
            size_t starts[4];
            if ((haveIn || haveOut) && !eventTimecodeStarts(text, pos, end, starts))
                return refused(event);
            const size_t length = end - pos;
            char* copy;
            if (length <= ChunkedWriter::kLargestRoom) {
                copy = reinterpret_cast<char*>(out.room(length));
            } else {
                longLine.resize(length);
                copy = longLine.data();
            }
            std::memcpy(copy, text.data() + pos, length);
            if (haveIn)
                std::memcpy(copy + (starts[2] - pos), recIn.data(), kTimecodeLength);
            if (haveOut)
                std::memcpy(copy + (starts[3] - pos), recOut.data(), kTimecodeLength);
            if (length <= ChunkedWriter::kLargestRoom)
                out.commit(length);
            else
                out.write(copy, length);
            // A second event of the same line (a damaged file) has no place of its own.
            for (++k; k < count && doc.events[k].lineNumber == line; ++k)
                if (unplaced(doc.events[k]))
                    return refused(doc.events[k]);
        } else {
            out.write(text.data() + pos, end - pos);
        }
        pos = end;
        ++line;
    }
    // Events whose lines lie past the end of the text.
    for (; k < count; ++k)
        if (unplaced(doc.events[k]))
            return refused(doc.events[k]);
    out.write(text.data() + pos, text.size() - pos);
    return {out.finish() ? EdlTextStatus::Written : EdlTextStatus::WriteFailed, 0};
}

EdlExportOutcome exportEdlFile(const EdlDocument& doc, std::u16string_view path, bool convert,
                               bool overwriteConfirmed) {
    EdlExportOutcome outcome;
    const std::string_view text(reinterpret_cast<const char*>(doc.sourceText),
                                doc.sourceText ? static_cast<size_t>(doc.sourceTextSize) : 0);
    EdlTextOutcome written;
    outcome.write = writeExportFile(path, overwriteConfirmed, [&](ByteSink& sink) {
        written = exportEdlText(doc, text, convert, sink);
        return written.status == EdlTextStatus::Written;
    });
    if (written.status == EdlTextStatus::Unplaced) {
        outcome.write = {WriteStatus::Refused, 0};
        const std::string number = std::to_string(written.line);
        outcome.message =
            formatExportMessage(kMsgRecordTimesUnplaced, {path, std::u16string(number.begin(), number.end())});
        return outcome;
    }
    outcome.message = writeOutcomeMessage(outcome.write, path, formatExportMessage(kMsgEdlCreated, {path}));
    return outcome;
}

} // namespace qlp
