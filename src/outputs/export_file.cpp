#include "outputs/export_file.h"

#include "model/file_io.h"

#include <cerrno>
#include <string>

namespace qlp {

namespace {

// errno after a failed call, or EIO when the call left it unset.
int lastError() {
    return errno != 0 ? errno : EIO;
}

} // namespace

std::u16string exportPath(std::u16string_view folder, std::u16string_view name, std::u16string_view extension) {
    std::u16string path(folder);
    if (folder.size() > 3)
        path.push_back(u'\\');
    path.append(name.substr(0, name.find(u'.')));
    path.append(extension);
    return path;
}

std::u16string formatExportMessage(std::u16string_view templ, std::initializer_list<std::u16string_view> texts,
                                   int number) {
    std::u16string out;
    const std::string digits = std::to_string(number);
    auto next = texts.begin();
    for (size_t i = 0; i < templ.size(); ++i) {
        const char16_t conversion = templ[i] == u'%' && i + 1 < templ.size() ? templ[i + 1] : 0;
        if (conversion == u's') {
            if (next != texts.end())
                out.append(*next++);
            ++i;
        } else if (conversion == u'd') {
            out.append(digits.begin(), digits.end());
            ++i;
        } else {
            out.push_back(templ[i]);
        }
    }
    return out;
}

WriteOutcome writeExportFile(std::u16string_view path, bool overwriteConfirmed,
                             const std::function<bool(ByteSink&)>& writeBytes) {
    WriteOutcome outcome;
    if (!overwriteConfirmed && pathExists(path)) {
        outcome.status = WriteStatus::AskOverwrite;
        return outcome;
    }
    errno = 0;
    AtomicFileWriter file(path);
    if (!file.isOpen() || !writeBytes(file) || file.failed()) {
        outcome.status = WriteStatus::WriteError;
        outcome.errorNumber = lastError();
        return outcome;
    }
    errno = 0;
    if (!file.commit(true)) {
        outcome.status = WriteStatus::WriteError;
        outcome.errorNumber = lastError();
    }
    return outcome;
}

std::u16string writeOutcomeMessage(const WriteOutcome& write, std::u16string_view path, std::u16string written) {
    switch (write.status) {
    case WriteStatus::Written:
        return written;
    case WriteStatus::WriteError:
        return formatExportMessage(kMsgFileAccessError, {path}, write.errorNumber);
    case WriteStatus::AskOverwrite:
    case WriteStatus::Refused:
        break;
    }
    return {};
}

} // namespace qlp
