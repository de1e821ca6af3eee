#pragma once
// The project file (.QLP) and the work files, which share its format: magic, document header, the
// EDL text as read, the reel table, the events with their option comments and work memos, and
// the simple notes.

#include "model/document.h"
#include "model/edl_reader.h"
#include "model/prompt.h"

#include <cstdint>
#include <string_view>

namespace qlp {

enum class LoadStatus { Ok, CannotOpen, WrongFormat, NoMemory };

// Reads a project file into `doc`, which must hold no document. Every offset, count and length is
// checked against the file's size before anything is allocated or read; a file that fails a check
// is WrongFormat. On failure `doc` is left released.
LoadStatus loadProjectFile(std::u16string_view path, EdlDocument& doc);
LoadStatus loadProjectImage(const uint8_t* data, size_t size, EdlDocument& doc);

// Writes the whole document in the project-file format: the section offsets, record sizes and
// note count are recomputed in the document as it is written.
bool writeProjectFile(EdlDocument& doc, ByteSink& sink);

// Writes the current document to `path`. The file is written beside the target and replaces it
// only when complete, so a failed save leaves the old file as it was. durable also waits until the
// data is on the disk (user files; work files need not). Returns 0, or -1 after string 106.
int saveDocument(std::u16string_view path, EdlDocument& doc, Prompt& prompt, bool durable = true);

// Loads the work file of the active entry (or of the last entry when none is active) into `doc`.
// Returns 1, or 0 after strings 111, 116 or 115 with the entry marked dropped; the previous
// document then stays intact (only its `loaded` is cleared).
int loadDocument(EdlDocument& doc, TabList& list, Prompt& prompt);

} // namespace qlp
