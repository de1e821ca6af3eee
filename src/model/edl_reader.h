#pragma once
// The Sony BVE-9100 text EDL: recognising a file, parsing its event and comment lines into
// events, and converting it into a work file in the project-file format.

#include "model/chunked_writer.h"
#include "model/document.h"
#include "model/large_block.h"
#include "model/prompt.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

// Everything one conversion learns from an EDL's bytes.
struct ParsedEdl {
    // In file order; optionComment points into commentPool.
    std::vector<EdlEvent, LargeBlockAllocator<EdlEvent>> events;
    std::vector<char16_t> commentPool;     // the distinct option comments, each NUL-terminated
    std::vector<std::u16string> reelNames; // sorted
    std::vector<int32_t> reelUseCounts;
    int32_t dropFrame = 0;
    int32_t hasHour23 = 0;
    int32_t lastEditNumber = 0;
    int64_t lineCount = 0; // pieces read
};

// True when one of the first 25 pieces of at most 199 characters contains "P-VTR".
bool looksLikeBve9100(std::string_view bytes);

// The end of the line that starts at pos, counted as the reader counts lines (event lineNumber):
// up to and including a line feed, or 254 bytes when the line is longer (the rest is a line of its
// own). A lone CR does not end a line.
size_t edlLineEnd(std::string_view bytes, size_t pos);

// Where the reader finds the four timecodes (P-VTR IN, P-VTR OUT, R-VTR IN, R-VTR OUT) of the line
// bytes[begin, end) (a line as edlLineEnd counts it): the index in bytes of each 11-character
// field. False when the reader takes no event from that line.
bool eventTimecodeStarts(std::string_view bytes, size_t begin, size_t end, size_t (&starts)[4]);

// Parses the whole EDL text. Never reads outside the given bytes, whatever they hold.
ParsedEdl parseEdl(std::string_view bytes);

// Writes the work file of a parsed EDL: magic, header, the EDL's bytes, the reel table and the
// events with their comments. False when the sink fails.
bool writeWorkFile(const ParsedEdl& parsed, std::string_view edlBytes, ByteSink& sink);

// Converts EDL text into the bytes of its work file - those of writeWorkFile(parseEdl(text)) -
// without holding every event in memory. False when the sink fails, the file would be too large or
// memory runs out.
bool convertEdlText(std::string_view text, ByteSink& sink) noexcept;

// Reads, parses and writes one EDL into a work file at workPath: the file cannot be read, is not
// a BVE-9100 EDL, its work file cannot be written, or memory ran out while converting it (string
// 115 in the window). Nothing is thrown.
enum class ConvertStatus { Ok, CannotRead, NotRecognised, CannotWrite, NoMemory };
ConvertStatus convertEdlFile(std::u16string_view edlPath, std::u16string_view workPath) noexcept;

} // namespace qlp
