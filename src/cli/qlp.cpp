// qlp: the command-line companion of the application. It converts EDLs into project files, shows
// and searches what an EDL or a project file holds, moves its record times and writes its EDL and
// listings, through the same core the application uses.
//
// Exit status: 0 success, 1 a file was refused or could not be read or written, 2 wrong usage.

#include "cli/open_file.h"
#include "cli/output.h"
#include "cli/output_commands.h"
#include "cli/search.h"
#include "cli/show.h"
#include "cli/utf.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "ops/search.h"
#include "quillon_version.h"

#include <cstdio>

#include <string>
#include <string_view>
#include <vector>

namespace qlp::cli {

namespace {

enum ExitStatus : int { kExitOk = 0, kExitRefused = 1, kExitUsage = 2 };

// Each command: its synopsis (the lines after "usage: ") and what it does.
struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;
    std::string_view description;
};

constexpr CommandHelp kCommands[] = {
    {"convert", "qlp convert IN.EDL OUT.QLP\n",
     "  convert  converts a Sony BVE-9100 EDL into a project file: the same bytes as the work\n"
     "           file the application makes when it opens the EDL\n"},
    {"show", "qlp show [--json] FILE\n",
     "  show     prints the header facts, the reel table and the events of an EDL or a project\n"
     "           file; with --json, every field the file holds, as JSON\n"},
    {"offset", "qlp offset IN OUT.QLP --new TC [--original TC]\n",
     "  offset   moves the record times so that the event at --original (default: the first event's\n"
     "           R-VTR IN as read) starts at --new, and writes a project file (TC: hhmmssff or hh:mm:ss:ff)\n"},
    {"export", "qlp export [--format bve9100|cmx3600] IN OUT.EDL [--convert] [--title TITLE]\n",
     "  export   writes the BVE-9100 EDL with the document's record times; --convert converts them\n"
     "           between drop-frame and non-drop-frame. --format cmx3600 writes a CMX 3600 EDL of the\n"
     "           events instead (CP932, CR LF), titled TITLE or the output file's name\n"},
    {"list",
     "qlp list IN OUT [--csv] [--kind edl|search|reels] [--reel NAME]\n"
     "                [--sort edit|source|source-desc|duration|duration-desc] [--comments option,work,marker]\n",
     "  list     writes the text or CSV listing; options left out take the document's choices;\n"
     "           --reel NAME (with --kind reels) lists that one reel; SOURCE_DATE_EPOCH, when set,\n"
     "           gives the creation time (UTC)\n"},
    {"search",
     "qlp search FILE [--reel NAME] [--source OP TC [OP2 TC2]] [--record OP TC [OP2 TC2]]\n"
     "                  [--duration OP TC [OP2 TC2]] [--marker N|none] [--json]\n",
     "  search   prints the events that meet every criterion given, in EDL order, as show prints\n"
     "           them; without criteria, runs the search stored in a project file. With --json:\n"
     "           {\"count\": N, \"of\": M, \"hits\": [0-based event indices]}\n"
     "           OP is ge, gt, le or lt; OP2 (le or lt) only after ge or gt. TC is hh:mm:ss:ff,\n"
     "           hh:mm:ss.ff, hh:mm:ss,ff (',' or ';' makes a source bound drop-frame; record bounds\n"
     "           take the file's mode, durations are non-drop) or up to eight digits (hhmmssff).\n"
     "           --marker takes 1 to 8, or none for events without a marker.\n"},
};

constexpr std::string_view kExitStatusText = "exit status: 0 success, 1 file refused or unreadable, 2 wrong usage\n";

// Every command's synopsis, then what each does.
std::string fullUsage() {
    std::string usage;
    for (const CommandHelp& c : kCommands)
        usage.append(usage.empty() ? "usage: " : "       ").append(c.synopsis);
    usage.append("       qlp --help | --version | COMMAND --help\n\n");
    for (const CommandHelp& c : kCommands)
        usage.append(c.description);
    usage.append("\n").append(kExitStatusText);
    return usage;
}

// One command's synopsis and what it does.
std::string commandUsage(const CommandHelp& c) {
    std::string usage = "usage: ";
    usage.append(c.synopsis).append("\n").append(c.description).append("\n").append(kExitStatusText);
    return usage;
}

// True when the arguments ask for help (before any "--" that ends the options).
bool asksForHelp(const std::vector<std::u16string>& args) {
    for (const std::u16string& arg : args) {
        if (arg == u"--")
            return false;
        if (arg == u"--help" || arg == u"-h")
            return true;
    }
    return false;
}

int usageError(std::string_view problem) {
    Output err(stderr);
    err.write("qlp: ");
    err.write(problem);
    err.write("\n\n");
    err.write(fullUsage());
    return kExitUsage;
}

int refuse(std::u16string_view message) {
    Output err(stderr);
    err.write(message);
    err.write('\n');
    return kExitRefused;
}

int runConvert(const std::vector<std::u16string>& args) {
    if (args.size() != 2)
        return usageError("convert takes an EDL and the project file to write");
    const std::u16string& in = args[0];
    const std::u16string& out = args[1];
    if (!pathExists(in))
        return refuse(formatMessage(kMsgFileNotFound, in));
    switch (convertEdlFile(in, out)) {
    case ConvertStatus::Ok:
        return kExitOk;
    case ConvertStatus::CannotRead:
        return refuse(formatMessage(kMsgCannotOpenFile, in, 0));
    case ConvertStatus::NotRecognised:
        return refuse(formatMessage(kMsgNotRecognised, in));
    case ConvertStatus::NoMemory:
        return refuse(formatMessage(kMsgNoMemoryToRead, in));
    case ConvertStatus::CannotWrite:
        break;
    }
    return refuse(formatMessage(kMsgCannotOpenPath, out));
}

int runShow(const std::vector<std::u16string>& args) {
    bool json = false;
    bool optionsEnded = false;
    std::vector<std::u16string> paths;
    for (const std::u16string& arg : args) {
        if (!optionsEnded && arg == u"--json") {
            json = true;
        } else if (!optionsEnded && arg == u"--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == u'-') {
            return usageError("unknown option " + utf16ToUtf8(arg));
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 1)
        return usageError("show takes one file");

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(paths[0], file, message))
        return refuse(message);
    Output out(stdout);
    if (json)
        printJson(file, out);
    else
        printSummary(file, out);
    return out.flush() ? kExitOk : kExitRefused;
}

int runSearch(const std::vector<std::u16string>& args) {
    SearchArguments parsed;
    std::string problem;
    if (!parseSearchArguments(args, parsed, problem))
        return usageError(problem);

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(parsed.path, file, message))
        return refuse(message);
    EdlDocument& doc = file.doc;
    if (parsed.reel && reelNamed(doc, parsed.path, *parsed.reel, message) < 0)
        return refuse(message);
    if (parsed.hasCriteria()) {
        if (!applySearchArguments(parsed, doc, problem))
            return usageError(problem);
    } else if (file.kind == SourceKind::Edl) {
        return usageError("an EDL holds no stored search: give at least one criterion");
    } else if (doc.search.searchFlags == 0) {
        return usageError("the project file holds no stored search: give at least one criterion");
    }
    // The hits are listed in EDL order, as the search collects them into kSearchResult.
    doc.currentView = kAllEvents;
    const SearchOutcome outcome = runSearch(doc);

    Output out(stdout);
    if (parsed.json) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "{\"count\": %d, \"of\": %d, \"hits\": [", outcome.hits, doc.eventCount());
        out.write(buf);
        for (int32_t i = 0; i < outcome.hits; ++i) {
            std::snprintf(buf, sizeof buf, i ? ", %d" : "%d",
                          static_cast<int>(doc.view[kSearchResult][i] - doc.events));
            out.write(buf);
        }
        out.write("]}\n");
    } else {
        out.write("hits:       " + std::to_string(outcome.hits) + " of " + std::to_string(doc.eventCount()) + "\n\n");
        printEvents(doc.view[kSearchResult], outcome.hits, out);
    }
    return out.flush() ? kExitOk : kExitRefused;
}

} // namespace

int run(std::vector<std::u16string> args) {
    makeBinary(stdout);
    makeBinary(stderr);
    if (args.empty())
        return usageError("no command given");
    const std::u16string command = args.front();
    args.erase(args.begin());
    if (command == u"--help" || command == u"-h" || command == u"help") {
        if (!args.empty())
            return usageError("--help takes no arguments");
        Output out(stdout);
        out.write(fullUsage());
        return out.flush() ? kExitOk : kExitRefused;
    }
    for (const CommandHelp& c : kCommands) {
        if (command == utf8ToUtf16(c.name) && asksForHelp(args)) {
            Output out(stdout);
            out.write(commandUsage(c));
            return out.flush() ? kExitOk : kExitRefused;
        }
    }
    if (command == u"--version") {
        if (!args.empty())
            return usageError("--version takes no arguments");
        Output out(stdout);
        out.write("qlp " QUILLON_VERSION_TEXT "\n");
        return out.flush() ? kExitOk : kExitRefused;
    }
    if (command == u"convert")
        return runConvert(args);
    if (command == u"show")
        return runShow(args);
    if (command == u"offset")
        return runOffset(args);
    if (command == u"export")
        return runExport(args);
    if (command == u"list")
        return runList(args);
    if (command == u"search")
        return runSearch(args);
    return usageError("unknown command " + utf16ToUtf8(command));
}

} // namespace qlp::cli

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return qlp::cli::run(std::move(args));
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(qlp::cli::utf8ToUtf16(argv[i]));
    return qlp::cli::run(std::move(args));
}
#endif
