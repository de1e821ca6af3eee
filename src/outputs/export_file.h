#pragma once
// What the EDL export and the listings share: the destination path rule, the overwrite question,
// the write-error message, and writing the finished bytes so that an existing file is replaced only
// once the new one is complete.

#include "model/byte_sink.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qlp {

// Asked (application title as caption, warning icon, Yes/No) before an existing file is replaced.
inline constexpr std::u16string_view kMsgOverwrite = u"保存先に同名のファイルがあります。\n上書きしますか？";
// The read and write errors of both exports: the path, then the error number.
inline constexpr std::u16string_view kMsgFileAccessError =
    u"%s\n\nこのファイルへのアクセスで、エラーが発生したため、\n処理が中断されました。\n\tERROR CODE: %d";
inline constexpr std::u16string_view kReadErrorCaption = u"読込みエラー";
inline constexpr std::u16string_view kWriteErrorCaption = u"書込みエラー";

// The folder, a backslash only when the folder text is longer than 3 characters (a drive root such
// as "C:\" ends in one), the file name cut at its first ".", then the extension.
std::u16string exportPath(std::u16string_view folder, std::u16string_view name, std::u16string_view extension);

// Replaces the "%s" of a template with the texts in order and every "%d" with the number.
std::u16string formatExportMessage(std::u16string_view templ, std::initializer_list<std::u16string_view> texts,
                                   int number = 0);

enum class WriteStatus {
    Written,
    AskOverwrite, // the path exists and the overwrite was not confirmed: nothing was written
    WriteError,   // kMsgFileAccessError with errorNumber; an existing file is left as it was
    Refused,      // the content could not be written as the document shows it: nothing was written
};

struct WriteOutcome {
    WriteStatus status = WriteStatus::Written;
    int errorNumber = 0;
};

// Unless the path exists and the overwrite is not confirmed, has writeBytes write the file's bytes
// beside the path (false when a write failed) and renames them over it once complete and on the disk.
WriteOutcome writeExportFile(std::u16string_view path, bool overwriteConfirmed,
                             const std::function<bool(ByteSink&)>& writeBytes);

// What a finished write shows: `written` when the file was written, the access error with the path
// and the error number when it failed, nothing while the overwrite question is still open.
std::u16string writeOutcomeMessage(const WriteOutcome& write, std::u16string_view path, std::u16string written);

} // namespace qlp
