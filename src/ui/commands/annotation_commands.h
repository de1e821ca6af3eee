#pragma once
// The commands that annotate events from the main window: set and delete marker, the comment
// display switch, writing the work memo, and what the memo box does when it gains or loses the
// focus, the marker settings, notes and reel information dialogs.

namespace qlp {

void onSetMarker();                       // 40203, Ctrl+M, double click on a row
void onDeleteMarker();                    // 40225, Ctrl+Shift+M
void onToggleCommentMode();               // 40066, Ctrl+Space, button 502
void onWriteWorkMemo();                   // 40095, Ctrl+W, button 501
void onMemoFocusChange(int notification); // EN_SETFOCUS and EN_KILLFOCUS of the memo box
void onSimpleNotes();                     // 40256, Ctrl+N, button 511
void onReelInfo();                        // 40127, Ctrl+R, button 512
void onMarkerSettings();                  // 40208, Ctrl+U, button 510

} // namespace qlp
