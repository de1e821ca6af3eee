#include "cli/output_commands.h"

#include "cli/output.h"
#include "cli/utf.h"

#include <algorithm>

namespace qlp::cli {

int outputUsageError(std::string_view problem, std::string_view usage) {
    Output err(stderr);
    err.write("qlp: ");
    err.write(problem);
    err.write("\nusage: ");
    err.write(usage);
    err.write('\n');
    return kOutputUsage;
}

int outputRefused(std::u16string_view message) {
    Output err(stderr);
    err.write(message);
    err.write('\n');
    return kOutputRefused;
}

bool parseOutputArgs(const std::vector<std::u16string>& args, const std::vector<std::u16string_view>& flags,
                     const std::vector<std::u16string_view>& valued, ParsedArgs& parsed, std::string& problem) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != u'-') {
            parsed.paths.push_back(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
            parsed.options.emplace_back(arg, std::u16string());
        } else if (std::find(valued.begin(), valued.end(), arg) != valued.end()) {
            if (i + 1 == args.size()) {
                problem = utf16ToUtf8(arg) + " needs a value";
                return false;
            }
            parsed.options.emplace_back(arg, args[++i]);
        } else {
            problem = "unknown option " + utf16ToUtf8(arg);
            return false;
        }
    }
    return true;
}

} // namespace qlp::cli
