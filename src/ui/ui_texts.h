#pragma once
// Texts of the main window that are not in the string table: control labels, combo-box items,
// status-bar texts at start and the memo box without an option comment.

namespace qlp::text {

inline constexpr const wchar_t* kAlreadyRunning = L"Quillon for SONY BVE-9100 はすでに起動しています。";

// Buttons 501-512 and the check boxes 600-604.
inline constexpr const wchar_t* kWriteMemo = L"リストに書込む";
inline constexpr const wchar_t* kToggleComment = L"コメント表示切替";
inline constexpr const wchar_t* kSearch = L"検索";
inline constexpr const wchar_t* kClearSearch = L"検索消去";
inline constexpr const wchar_t* kOffset = L"オフセット";
inline constexpr const wchar_t* kMarker = L"マーカー";
inline constexpr const wchar_t* kSimpleNotes = L"簡易ノート";
inline constexpr const wchar_t* kReelInfo = L"リール情報";
inline constexpr const wchar_t* kCheckReel = L" リール名";
inline constexpr const wchar_t* kCheckSource = L"素材ＴＣ";
inline constexpr const wchar_t* kCheckRecord = L"ＲＥＣ-ＴＣ";
inline constexpr const wchar_t* kCheckDuration = L"デュレーション";
inline constexpr const wchar_t* kCheckMarker = L" マーカー";

// Labels 200-204.
inline constexpr const wchar_t* kLabelCount = L"カウント";
inline constexpr const wchar_t* kLabelEdits = L"エディット数";
inline constexpr const wchar_t* kLabelReels = L"リール数";
inline constexpr const wchar_t* kLabelView = L"リスト表示";
inline constexpr const wchar_t* kLabelColumns = L"コラム設定";

// Combo-box items: first and second comparison of a timecode criterion, and the three views.
inline constexpr const wchar_t* kLowerOps[] = {L"以上", L"超過", L"以下", L"未満"};
inline constexpr const wchar_t* kUpperOps[] = {L"以下", L"未満"};
inline constexpr const wchar_t* kViews[] = {L"通常のＥＤＬリスト", L"検索結果", L"リールの使用アドレス"};

// Status bar at start.
inline constexpr const wchar_t* kStatusNoFiles = L"ファイル数:  0";
inline constexpr const wchar_t* kStatusNoLocation = L"場所: 参照ファイルはありません。";
inline constexpr const wchar_t* kStatusWaiting = L"状態: 待機中";

// The memo box when the current event has no option comment.
inline constexpr const wchar_t* kNoOptionComment = L"ＥＤＬオプションコメントはありません。";

} // namespace qlp::text
