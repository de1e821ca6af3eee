#include "ops/memos.h"

#include "ops/views.h"

#include <algorithm>
#include <cstdint>

namespace qlp {

int32_t toggleCommentMode(EdlDocument& doc) {
    doc.commentMode = doc.commentMode == 1 ? 0 : 1;
    return doc.commentMode;
}

MemoOutcome writeWorkMemo(EdlDocument& doc, std::u16string_view text) {
    MemoOutcome outcome;
    if (doc.commentMode != 1 || !doc.heap)
        return outcome;
    const int view = shownView(doc);
    const int32_t row = doc.currentRow[view];
    EdlEvent* event = rowEvent(doc, row);
    if (!event)
        return outcome;
    outcome.row = row;

    if (text.empty()) {
        // The arena releases the old memo's room with the document.
        event->workMemo = nullptr;
        event->workMemoCapacity = 0;
        event->workMemoLength = 0;
        event->hasWorkMemo = 0;
        outcome.result = MemoResult::Removed;
        return outcome;
    }
    if (text.size() >= static_cast<size_t>(INT32_MAX)) {
        outcome.result = MemoResult::NoMemory;
        return outcome;
    }
    if (event->hasWorkMemo && workMemoText(*event) == text) {
        // Leaving the memo box stores its text again: an unchanged memo is no change.
        outcome.result = MemoResult::Ignored;
        return outcome;
    }
    // The document's memory is released only as a whole, so a block that holds the new text is
    // used again rather than taking a new one on every store.
    const size_t capacity =
        event->workMemo ? static_cast<size_t>(std::max(event->workMemoCapacity, event->workMemoLength)) : 0;
    char16_t* memo = event->workMemo;
    if (text.size() + 1 > capacity) {
        memo = doc.heap->allocateForOverwrite<char16_t>(text.size() + 1);
        if (!memo) {
            outcome.result = MemoResult::NoMemory;
            return outcome;
        }
        event->workMemoCapacity = static_cast<int32_t>(text.size() + 1);
    }
    std::copy(text.begin(), text.end(), memo);
    memo[text.size()] = u'\0';
    event->workMemo = memo;
    event->workMemoLength = static_cast<int32_t>(text.size() + 1);
    event->hasWorkMemo = 1;
    outcome.result = MemoResult::Stored;
    return outcome;
}

std::u16string_view workMemoText(const EdlEvent& event) {
    if (!event.workMemo || event.workMemoLength <= 0)
        return {};
    return {event.workMemo, static_cast<size_t>(event.workMemoLength - 1)};
}

} // namespace qlp
