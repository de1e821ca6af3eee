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
    std::vector<char16_t> commentPool; // the distinct option comments, each NUL-terminated
    std::vector<std::u16string> reelNames; // sorted
    std::vector<int32_t> reelUseCounts;
    int32_t dropFrame = 0;
    int32_t hasHour23 = 0;
    int32_t lastEditNumber = 0;
    int64_t lineCount = 0; // pieces read
};

// True when one of the first 25 pieces of at most 199 characters contains "P-VTR".
bool looksLikeBve9100(std::string_view bytes);

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

// Opens EDLs into new tab entries. `paths` is one full path (kind 0) or a multiple selection
// (kind 1): a directory, a NUL, the file names each followed by a NUL, and a final NUL. Returns 0
// when opening had to stop (a single file missing, or no memory for an entry), else 1. The new
// entries are converted to work files but not loaded.
int convertEdl(TabList& list, std::u16string_view paths, int kind, Prompt& prompt);

// Splits a path argument into full paths: one path for a single file, the directory joined with
// each name for a multiple selection.
std::vector<std::u16string> expandSelection(std::u16string_view paths, bool multiple);

// The duplicate question and work-path assignment shared by EDL and project-file opening: for each
// entry from `firstNew` on, in list order, asks string 112 for every earlier entry with the same
// path and applies the answer.
void resolveDuplicate(TabList& list, TabEntry* entry, Prompt& prompt);

} // namespace qlp
