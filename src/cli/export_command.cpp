// qlp export: writes the BVE-9100 EDL of a document with the record times it holds.

#include "cli/open_file.h"
#include "cli/output_commands.h"
#include "dialogs/edl_export.h"

namespace qlp::cli {

namespace {

constexpr std::string_view kExportUsage = "qlp export IN OUT.EDL [--convert]";

} // namespace

int runExport(const std::vector<std::u16string>& args) {
    ParsedArgs parsed;
    std::string problem;
    if (!parseOutputArgs(args, {u"--convert"}, {}, parsed, problem))
        return outputUsageError(problem, kExportUsage);
    if (parsed.paths.size() != 2)
        return outputUsageError("export takes an input file and the EDL to write", kExportUsage);
    const bool convert = !parsed.options.empty();

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(parsed.paths[0], file, message))
        return outputRefused(message);
    const EdlExportOutcome outcome = exportEdlFile(file.doc, parsed.paths[1], convert, true);
    if (outcome.write.status != WriteStatus::Written)
        return outputRefused(outcome.message);
    return kOutputOk;
}

} // namespace qlp::cli
