#pragma once
// Opening a file for inspection. An EDL and a project file take the same road: an EDL is converted
// in memory into the work file the application would make of it, and either image is then loaded
// the way the application loads a work file.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp::cli {

enum class SourceKind { Edl, Project };

struct InspectedFile {
    SourceKind kind = SourceKind::Project;
    std::vector<uint8_t> image; // the project-file bytes: the file itself or its EDL's work file
    EdlDocument doc;            // loaded from image
};

// True when the bytes start with the project-file magic.
bool hasProjectMagic(const std::vector<uint8_t>& bytes);

// Reads and loads the file at path. On failure returns false with the system's message about the
// file in `message`: not found (107), cannot be opened (111), not a text EDL (105), a project file
// in another format (116) or too large to hold (115). A file the loader refused gets a second line
// saying what was wrong and where.
bool inspectFile(std::u16string_view path, InspectedFile& file, std::u16string& message);

// The index of the reel named `name` in the document's reel table, or -1 with the refusal both
// `search` and `list` give for a name the table does not hold in `message`.
int32_t reelNamed(const EdlDocument& doc, std::u16string_view path, std::u16string_view name, std::u16string& message);

} // namespace qlp::cli
