#pragma once
// Writing the current document back out as a BVE-9100 EDL: the EDL text exactly as it was read, with
// the two record timecodes of each event line replaced in place by the event's record times (which
// carry the offset), optionally converted between drop-frame and non-drop-frame counting. Every
// other byte is written as read.

#include "model/document.h"
#include "outputs/export_file.h"

#include <string>
#include <string_view>

namespace qlp {

inline constexpr std::u16string_view kEdlCreatedCaption = u"ＥＤＬ作成";
inline constexpr std::u16string_view kMsgEdlCreated = u"次の場所にＥＤＬファイルを作成しました。\n\n%s";
// The text of the conversion check box, by the document's counting.
inline constexpr std::u16string_view kConvertToDfText = u"DFに変換";
inline constexpr std::u16string_view kConvertToNdfText = u"NDFに変換";

// The record time a label or column text names, written for the other counting: a non-drop time as
// the drop-frame label of the same real frame count (wrapping past the end of a drop-frame day), a
// drop-frame time as its real count in non-drop digits. False when the text is no timecode.
bool convertRecordText(std::u16string_view text, bool fromDropFrame, std::string& out);

// Writes the bytes of the exported EDL to sink: `text` (the stored EDL) with each event line's record
// timecodes replaced. Lines are counted as the reader counted them when it set each event's
// lineNumber; an event line in which the two timecodes cannot be found is written unchanged. False
// when a write failed.
bool exportEdlText(const EdlDocument& doc, std::string_view text, bool convert, ByteSink& sink);

struct EdlExportOutcome {
    WriteOutcome write;
    std::u16string message; // the success or write-error text to show, empty for AskOverwrite
};

// Writes the document's exported EDL to path.
EdlExportOutcome exportEdlFile(const EdlDocument& doc, std::u16string_view path, bool convert, bool overwriteConfirmed);

} // namespace qlp
