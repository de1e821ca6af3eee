#pragma once
// The qlp commands that write what the application's output dialogs write: a project file with a
// record offset applied, a BVE-9100 EDL, a text or CSV listing.

#include <string>
#include <string_view>
#include <vector>

namespace qlp::cli {

// qlp offset IN OUT.QLP --new TC [--original TC]
int runOffset(const std::vector<std::u16string>& args);
// qlp export [--format bve9100|cmx3600] IN OUT.EDL [--convert] [--title TITLE]
int runExport(const std::vector<std::u16string>& args);
// qlp list IN OUT [--csv] [--kind K] [--reel NAME] [--sort S] [--comments LIST]
int runList(const std::vector<std::u16string>& args);

// Shared by the three: exit statuses and the two ways a command fails.
enum OutputExit : int { kOutputOk = 0, kOutputRefused = 1, kOutputUsage = 2 };
// Prints "qlp: problem" and the command's usage line on stderr; returns 2.
int outputUsageError(std::string_view problem, std::string_view usage);
// Prints the message on stderr; returns 1.
int outputRefused(std::u16string_view message);

// Splits arguments into paths and "--name value" / "--flag" options; false on an unknown option or
// a missing value (problem says which).
struct ParsedArgs {
    std::vector<std::u16string> paths;
    std::vector<std::pair<std::u16string, std::u16string>> options; // in order; flags have no value
};
bool parseOutputArgs(const std::vector<std::u16string>& args, const std::vector<std::u16string_view>& flags,
                     const std::vector<std::u16string_view>& valued, ParsedArgs& parsed, std::string& problem);

} // namespace qlp::cli
