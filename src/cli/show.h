#pragma once
// What `qlp show` prints about a loaded file: an aligned summary for people, or every field the
// file holds as JSON for scripts.

#include "cli/open_file.h"
#include "cli/output.h"

namespace qlp::cli {

// The header facts, the reel table and one aligned line per event.
void printSummary(const InspectedFile& file, Output& out);

// The event table of the summary (column texts, marker, C = option comment, M = work memo) for the
// given rows, in their order.
void printEvents(const EdlEvent* const* rows, int32_t count, Output& out);

// Every field of the stored header, the EDL text, the reels, the events and the notes.
void printJson(const InspectedFile& file, Output& out);

} // namespace qlp::cli
