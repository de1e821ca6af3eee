#pragma once
// Work memos and the memo box's two modes: the work memo (editable) or the EDL option comment
// (read-only).

#include "model/document.h"

#include <cstdint>
#include <string_view>

namespace qlp {

// Shown (warning icon, default caption, no owner) when a memo cannot be stored for lack of memory.
inline constexpr std::u16string_view kMsgMemoNoMemory = u"メモリが不足しています。\nこれ以上の書き込みは出来ません。";

// Flips commentMode: 1 (work memo) becomes 0 (option comment), anything else becomes 1, and returns
// the new mode. Showing a document flips it once and a tab switch once more, so an opened document
// comes up in the mode opposite to the stored one and a document switched back to keeps its mode.
// The switch does not mark the document modified.
int32_t toggleCommentMode(EdlDocument& doc);

enum class MemoResult {
    Ignored,  // not in memo mode, no current row, or the text is the memo already: nothing changed
    Stored,   // the text is the event's memo now
    Removed,  // the text was empty: the event has no memo now
    NoMemory, // the memo could not be allocated; the event keeps its previous memo
};

struct MemoOutcome {
    MemoResult result = MemoResult::Ignored;
    int32_t row = -1; // the row of the shown view whose event was written
};

// Stores `text` as the work memo of the current row's event. The memo's block is reused when the
// text fits in it; otherwise the new memo is allocated before the old one is let go, so a failed
// allocation leaves the event as it was. After Stored and Removed the
// caller redraws the row and marks the document modified; after NoMemory it shows kMsgMemoNoMemory.
MemoOutcome writeWorkMemo(EdlDocument& doc, std::u16string_view text);

// The event's memo text, without its terminator.
std::u16string_view workMemoText(const EdlEvent& event);

} // namespace qlp
