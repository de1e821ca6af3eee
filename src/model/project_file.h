#pragma once
// The project file (.QLP) and the work files, which share its format: magic, document header, the
// EDL text as read, the reel table, the events with their option comments and work memos, and
// the simple notes.

#include "model/document.h"
#include "model/edl_reader.h"
#include "model/prompt.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

enum class LoadStatus { Ok, CannotOpen, WrongFormat, NoMemory };

// What a load came to. A refused file says what was wrong and where: the header field, record
// field or section that failed its check, that field's offset in the file (-1 when none applies)
// and what was found there.
struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    std::string_view field;
    int64_t offset = -1;
    std::string_view problem;

    explicit operator bool() const { return status == LoadStatus::Ok; }
    friend bool operator==(const LoadResult& result, LoadStatus status) { return result.status == status; }
};

// One line for a person: "reelCount at offset 60: is more than the file can hold".
std::string describeRefusal(const LoadResult& result);

// True when the bytes begin with the project file's magic.
bool startsWithProjectMagic(const uint8_t* bytes, size_t size) noexcept;
// True when the file at path begins with the project file's magic; false when it cannot be read.
bool fileStartsWithProjectMagic(std::u16string_view path) noexcept;

// Reads a project file into `doc`. Every offset, count and length is checked against the file's
// size before anything is allocated or read; a file that fails a check is WrongFormat, and memory
// exhausted on the way is NoMemory (never an exception). On failure `doc` is left released.
LoadResult loadProjectFile(std::u16string_view path, EdlDocument& doc) noexcept;
LoadResult loadProjectImage(const uint8_t* data, size_t size, EdlDocument& doc) noexcept;

// Writes the whole document in the project-file format: the section offsets, record sizes and
// note count are recomputed in the document as it is written.
bool writeProjectFile(EdlDocument& doc, ByteSink& sink) noexcept;

// Writes the current document to `path`. The file is written beside the target and replaces it
// only when complete, so a failed save leaves the old file as it was. durable also waits until the
// data is on the disk (user files; work files need not). Returns 0, or -1 after string 106.
int saveDocument(std::u16string_view path, EdlDocument& doc, Prompt& prompt, bool durable = true);

// Loads the work file of the active entry (or of the last entry when none is active) into `doc`.
// Returns 1, or 0 after strings 111, 116 or 115 with the entry marked dropped; the previous
// document then stays intact (only its `loaded` is cleared).
int loadDocument(EdlDocument& doc, TabList& list, Prompt& prompt);

} // namespace qlp
