#pragma once
// The system's messages and captions, written out as the user reads them, so a test compares what
// a box shows with the text itself and a wrong text in the program fails it. "%s" stands for a
// path, "%04d" and "%d" for a number.

namespace qlp::test::texts {

// The main window's title and the caption of the program's message boxes.
inline constexpr const wchar_t* kAppCaption = L"Quillon for SONY BVE-9100 Ver 2.6.0 cs1";

inline constexpr const wchar_t* kNotRecognised = L"\"%s\"\n\nこのファイルは、テキストＥＤＬとして認識できません。\n"
                                                 L"文字化けの場合は、拙著「Glyfix」でテキストに変換して下さい。";
inline constexpr const wchar_t* kCannotOpenPath =
    L"\"%s\"\n\nこのファイルパスを開くことができません。\nストレージの状態などをご確認下さい。";
inline constexpr const wchar_t* kFileNotFound =
    L"\"%s\"\n\nこのファイルが見つかりません。\nストレージの状態などをご確認下"
    L"さい。\nなお、このファイルの処理はスキップされます。";
inline constexpr const wchar_t* kPathLinked =
    L"\"%s\"\n\nこのファイルは現在リンクされているため保存できません。\n再度、別の名前で保存して下さい。";
inline constexpr const wchar_t* kSaveBeforeCloseTab =
    L"\"%s\"\n\nこのファイルは内容が変更されています。閉じる前に保存しますか？";
inline constexpr const wchar_t* kSaveBeforeExit =
    L"\"%s\"\n\nこのファイルには最新の内容が保存されていません。閉じる前に内容を保存しますか？";
inline constexpr const wchar_t* kCannotOpenFile =
    L"\"%s\"\n\nこのファイルを開くことができませんでした。(エラーコード:%04d)";
inline constexpr const wchar_t* kAlreadyLoaded =
    L"\"%s\"\n\nこのファイルパスと同じものが既にロードされています。更新しますか？";
inline constexpr const wchar_t* kOutOfWorkMemory =
    L"作業用メモリが不足しているためこれ以上のファイルの追加は出来ません。\nまた、これ以降動作が不安定になる可能性が非"
    L"常に高く、一度アプリケーションを終了することを強くお勧めします。";
inline constexpr const wchar_t* kNoMemoryToRead = L"\"%s\"\n\nこのファイルを読み込むためのメモリが確保できません。";
inline constexpr const wchar_t* kWrongFormat =
    L"\"%s\"\n\nこのファイルはバイナリー形式が異なるため読込むことができません。";

inline constexpr const wchar_t* kOffsetOutOfRange = L"入力値が有効範囲を超えています。\n再度入力して下さい。";
inline constexpr const wchar_t* kTimecodeRange = L"入力値が許容範囲を超えています。\n再度入力して下さい。";
inline constexpr const wchar_t* kBoundOrder =
    L"左のＴＣ以上の値を入力して下さい。\n\n\"なお、２３Ｈ→００Ｈ\"のような０Ｈクロスの入力は出来ません)";
inline constexpr const wchar_t* kLocateRange = L"1-%d までの数値を入力して下さい。";
inline constexpr const wchar_t* kOverwrite = L"保存先に同名のファイルがあります。\n上書きしますか？";
inline constexpr const wchar_t* kEdlCreated = L"次の場所にＥＤＬファイルを作成しました。\n\n%s";
inline constexpr const wchar_t* kEdlCreatedCaption = L"ＥＤＬ作成";
inline constexpr const wchar_t* kListingCreated = L"次の場所にテキストファイルを作成しました。\n%s\n\n内容: %s";
inline constexpr const wchar_t* kListingCreatedCaption = L"テキスト作成";
inline constexpr const wchar_t* kWriteErrorCaption = L"書込みエラー";
inline constexpr const wchar_t* kNoOptionComment = L"ＥＤＬオプションコメントはありません。";
inline constexpr const wchar_t* kMemoNoMemory = L"メモリが不足しています。\nこれ以上の書き込みは出来ません。";

} // namespace qlp::test::texts
