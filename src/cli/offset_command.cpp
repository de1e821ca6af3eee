// qlp offset: applies a record-timecode offset as the offset dialog does and writes a project file.

#include "cli/open_file.h"
#include "cli/output_commands.h"
#include "cli/utf.h"
#include "model/project_file.h"
#include "model/timecode.h"
#include "ops/offset.h"

namespace qlp::cli {

namespace {

constexpr std::string_view kOffsetUsage = "qlp offset IN OUT.QLP --new TC [--original TC]";

// Collects the warning a failed save shows.
class MessagePrompt : public Prompt {
public:
    std::u16string message;
    Answer askYesNo(std::u16string_view) override { return Answer::No; }
    Answer askYesNoCancel(std::u16string_view) override { return Answer::Cancel; }
    void warn(std::u16string_view text, bool) override { message = text; }
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// A timecode argument as the dialog's entry takes it: up to eight digits hhmmssff, or hh:mm:ss:ff
// (any of ":", ".", ",", ";" before the frames), which gives its eight digits.
bool entryOf(std::u16string_view arg, std::u16string& entry) {
    entry.clear();
    if (arg.size() <= 8) {
        for (const char16_t c : arg) {
            if (!isDigit(c))
                return false;
        }
        entry = arg;
        return true;
    }
    if (arg.size() != 11 || arg[2] != u':' || arg[5] != u':')
        return false;
    if (arg[8] != u':' && arg[8] != u'.' && arg[8] != u',' && arg[8] != u';')
        return false;
    for (const size_t i : {0, 1, 3, 4, 6, 7, 9, 10}) {
        if (!isDigit(arg[i]))
            return false;
        entry.push_back(arg[i]);
    }
    return true;
}

} // namespace

int runOffset(const std::vector<std::u16string>& args) {
    ParsedArgs parsed;
    std::string problem;
    if (!parseOutputArgs(args, {}, {u"--new", u"--original"}, parsed, problem))
        return outputUsageError(problem, kOffsetUsage);
    if (parsed.paths.size() != 2)
        return outputUsageError("offset takes an input file and the project file to write", kOffsetUsage);
    std::u16string newEntry;
    std::u16string originalEntry;
    bool hasNew = false;
    bool hasOriginal = false;
    for (const auto& [name, value] : parsed.options) {
        std::u16string& entry = name == u"--new" ? newEntry : originalEntry;
        (name == u"--new" ? hasNew : hasOriginal) = true;
        if (!entryOf(value, entry))
            return outputUsageError("not a timecode: " + utf16ToUtf8(value), kOffsetUsage);
    }
    if (!hasNew)
        return outputUsageError("offset needs --new", kOffsetUsage);

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(parsed.paths[0], file, message))
        return outputRefused(message);
    EdlDocument& doc = file.doc;
    if (doc.eventCount() <= 0)
        return outputRefused(u"qlp: " + parsed.paths[0] + u" holds no events: there is no address to move");

    int32_t original = doc.events[0].recInCopy;
    if (hasOriginal) {
        TimecodeParts parts;
        if (!parseTimecode(originalEntry, parts))
            return outputRefused(kMsgOffsetOutOfRange);
        original = parts.hours * kFramesPerHour + parts.minutes * kFramesPerMinute + parts.seconds * 30 + parts.frames;
    }
    const OffsetOutcome outcome = applyOffset(doc, newEntry, original);
    if (outcome.status == OffsetStatus::OutOfRange)
        return outputRefused(kMsgOffsetOutOfRange);
    if (outcome.discardSearch)
        discardSearchResult(doc);

    MessagePrompt prompt;
    if (saveDocument(parsed.paths[1], doc, prompt) != 0)
        return outputRefused(prompt.message);
    return kOutputOk;
}

} // namespace qlp::cli
