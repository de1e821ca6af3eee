#pragma once
// The system's own texts that the core shows, and their formatting with a file path.

#include "quillon_version.h"

#include <string>
#include <string_view>

namespace qlp {

inline constexpr std::u16string_view kAppCaption = u"" QUILLON_APP_CAPTION; // string 103

// String-table templates about a file: each begins with the quoted path, "\"%s\"\n\n".
inline constexpr std::u16string_view kMsgNotRecognised = // string 105
    u"\"%"
    u"s\"\n\nこのファイルは、テキストＥＤＬとして認識できません。\n文字化けの場合は、拙著「Glyfix」でテキストに変換して"
    u"下さい。";
inline constexpr std::u16string_view kMsgCannotOpenPath = // string 106
    u"\"%s\"\n\nこのファイルパスを開くことができません。\nストレージの状態などをご確認下さい。";
inline constexpr std::u16string_view kMsgFileNotFound = // string 107
    u"\"%"
    u"s\"\n\nこのファイルが見つかりません。\nストレージの状態などをご確認下さい。\nなお、このファイルの処理はスキップさ"
    u"れます。";
inline constexpr std::u16string_view kMsgPathLinked = // string 108
    u"\"%s\"\n\nこのファイルは現在リンクされているため保存できません。\n再度、別の名前で保存して下さい。";
inline constexpr std::u16string_view kMsgSaveBeforeCloseTab = // string 109
    u"\"%s\"\n\nこのファイルは内容が変更されています。閉じる前に保存しますか？";
inline constexpr std::u16string_view kMsgSaveBeforeExit = // string 110
    u"\"%s\"\n\nこのファイルには最新の内容が保存されていません。閉じる前に内容を保存しますか？";
inline constexpr std::u16string_view kMsgCannotOpenFile = // string 111 (path, then error code)
    u"\"%s\"\n\nこのファイルを開くことができませんでした。(エラーコード:%04d)";
inline constexpr std::u16string_view kMsgAlreadyLoaded = // string 112
    u"\"%s\"\n\nこのファイルパスと同じものが既にロードされています。更新しますか？";
inline constexpr std::u16string_view kMsgOutOfWorkMemory = // string 113
    u"作業用メモリが不足しているためこれ以上のファイルの追加は出来ません。\nまた、これ以降動作が不安定になる可能性が非"
    u"常に高く、一度アプリケーションを終了することを強くお勧めします。";
inline constexpr std::u16string_view kMutexName = u"QUILLN9100project"; // string 114
inline constexpr std::u16string_view kMsgNoMemoryToRead =               // string 115
    u"\"%s\"\n\nこのファイルを読み込むためのメモリが確保できません。";
inline constexpr std::u16string_view kMsgWrongFormat = // string 116
    u"\"%s\"\n\nこのファイルはバイナリー形式が異なるため読込むことができません。";
// The warning shown when a work file cannot be created while an EDL is converted.
inline constexpr std::u16string_view kMsgCannotCreateWorkFile =
    u"\"%"
    u"s\"\n\n作業ファイルを作成できません。\n作業フォルダの状態などをご確認下さい。\nなお、このファイルの処理はスキップ"
    u"されます。";

// CMX 3600 lists that cannot become BVE-9100 EDLs.
inline constexpr std::u16string_view kMsgCmxTooManyEdits =
    u"\"%s\"\n\nこのCMX 3600 EDLは編集が9999を超えるため、BVE-9100 EDLとして読込むことができません。";
inline constexpr std::u16string_view kMsgCmxFrameRate =
    u"\"%s\"\n\nこのCMX 3600 EDLには30以上のフレーム番号があります。\n50/60フレームのEDLは読込むことができません。";
// What the translation of a CMX 3600 list changed, after the status of opening it.
inline constexpr std::u16string_view kCmxReportHead = u"CMX 3600 から変換: ";
inline constexpr std::u16string_view kCmxReportSeparator = u"、";
inline constexpr std::u16string_view kCmxReportNothing = u"変更なし";
inline constexpr std::u16string_view kCmxReelsShortened = u"個のリール名を短縮";
inline constexpr std::u16string_view kCmxLinesKeptAsComments = u"行をコメントとして保持";
inline constexpr std::u16string_view kCmxChannelsDropped = u"個のA5以降の音声チャンネルを削除";
inline constexpr std::u16string_view kCmxCharactersReplaced = u"文字を?に置換";
inline constexpr std::u16string_view kCmxTitleBytesCut = u"バイトをタイトルから削除";

// Replaces the first "%s" of a template with the path and a "%04d" with the number.
std::u16string formatMessage(std::u16string_view templ, std::u16string_view path, int number = 0);

} // namespace qlp
