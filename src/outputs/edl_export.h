#pragma once
// Writing the current document back out as a BVE-9100 EDL: the EDL text exactly as it was read, with
// the two record timecodes of each event line replaced in place by the event's record times (which
// carry the offset), optionally converted between drop-frame and non-drop-frame counting. Every
// other byte is written as read, except the header's FCM line when converting.

#include "model/document.h"
#include "outputs/export_file.h"

#include <cstdint>
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

// Refused export: an event's record times have no place in the stored text (the path, the line).
inline constexpr std::u16string_view kMsgRecordTimesUnplaced =
    u"%s\n\n%s 行目のイベントのレコードタイムコードを書き込む位置がないため、\n処理が中断されました。";

enum class EdlTextStatus {
    Written,
    WriteFailed, // the sink failed
    Unplaced,    // an event's record times have no place in the text: the bytes are incomplete
};

struct EdlTextOutcome {
    EdlTextStatus status = EdlTextStatus::Written;
    int64_t line = 0; // Unplaced: the 1-based line of that event
};

// Writes the bytes of the exported EDL to sink: `text` (the stored EDL) with the record timecodes
// of each event line replaced where the reader found them (lines counted as the reader counted
// them when it set each event's lineNumber). A record text that is no 11-character timecode
// leaves its timecode as read. With `convert`, the times are written in the other counting and a
// header line starting with "FCM:" names that counting (its line end kept). An event whose record
// times are to be written but whose line holds no event is Unplaced.
EdlTextOutcome exportEdlText(const EdlDocument& doc, std::string_view text, bool convert, ByteSink& sink);

struct EdlExportOutcome {
    WriteOutcome write;
    std::u16string message; // the success or write-error text to show, empty for AskOverwrite
};

// Writes the document's exported EDL to path.
EdlExportOutcome exportEdlFile(const EdlDocument& doc, std::u16string_view path, bool convert, bool overwriteConfirmed);

} // namespace qlp
