#pragma once
// `qlp search`: the command line's criteria turned into the document's search settings, through
// the same bound-entry rules as the timecode entry dialog, and the search run on the file.

#include "model/document.h"

#include <optional>
#include <string>
#include <vector>

namespace qlp::cli {

// One timecode bound as given: its comparison, the digits to enter, and the mode its frame
// separator names (-1 none given, 0 '.' or ':', 1 ',' or ';').
struct BoundArgument {
    int32_t op = 0;
    std::u16string digits;
    int32_t dropFrame = -1;
};

struct RangeArgument {
    bool given = false;
    BoundArgument first;
    std::optional<BoundArgument> second;
};

struct SearchArguments {
    std::u16string path;
    bool json = false;
    std::optional<std::u16string> reel;
    std::optional<int32_t> marker; // 0..7, or 8 for none
    RangeArgument ranges[3];       // source, record, duration
    bool hasCriteria() const;
};

// Parses the arguments after "search"; on wrong usage returns false with what was wrong.
bool parseSearchArguments(const std::vector<std::u16string>& args, SearchArguments& parsed, std::string& problem);

// Fills the document's search settings from the criteria, as a new document's settings changed by
// the panel and the timecode entry dialog would be. Returns false with what was wrong when a bound
// is out of range, a second bound lies below its first, or a source bound's mode differs from the
// first bound's.
bool applySearchArguments(const SearchArguments& parsed, EdlDocument& doc, std::string& problem);

} // namespace qlp::cli
