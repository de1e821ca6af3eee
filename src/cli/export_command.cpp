// qlp export: writes the EDL of a document with the record times it holds, as a BVE-9100 EDL (the
// stored text with its record timecodes rewritten) or as a CMX 3600 EDL.

#include "cli/open_file.h"
#include "cli/output_commands.h"
#include "outputs/cmx3600.h"
#include "outputs/edl_export.h"

namespace qlp::cli {

namespace {

constexpr std::string_view kExportUsage =
    "qlp export [--format bve9100|cmx3600] IN OUT.EDL [--convert] [--title TITLE]";

} // namespace

int runExport(const std::vector<std::u16string>& args) {
    ParsedArgs parsed;
    std::string problem;
    if (!parseOutputArgs(args, {u"--convert"}, {u"--format", u"--title"}, parsed, problem))
        return outputUsageError(problem, kExportUsage);
    if (parsed.paths.size() != 2)
        return outputUsageError("export takes an input file and the EDL to write", kExportUsage);
    bool convert = false;
    bool cmx = false;
    const std::u16string* title = nullptr;
    for (const auto& [name, value] : parsed.options) {
        if (name == u"--convert") {
            convert = true;
        } else if (name == u"--title") {
            title = &value;
        } else if (value == u"cmx3600") {
            cmx = true;
        } else if (value == u"bve9100") {
            cmx = false;
        } else {
            return outputUsageError("--format takes bve9100 or cmx3600", kExportUsage);
        }
    }
    if (title && !cmx)
        return outputUsageError("--title needs --format cmx3600", kExportUsage);

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(parsed.paths[0], file, message))
        return outputRefused(message);
    const std::u16string& out = parsed.paths[1];
    const EdlExportOutcome outcome =
        cmx ? exportCmx3600File(file.doc, out, title ? *title : cmx3600DefaultTitle(out), convert, true)
            : exportEdlFile(file.doc, out, convert, true);
    if (outcome.write.status != WriteStatus::Written)
        return outputRefused(outcome.message);
    return kOutputOk;
}

} // namespace qlp::cli
