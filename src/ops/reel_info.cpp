#include "ops/reel_info.h"

#include "model/collation.h"
#include "ops/single_line.h"
#include "ops/views.h"

#include <algorithm>
#include <cstdio>

namespace qlp {

namespace {

constexpr int64_t kFramesPerHour = 108000;
constexpr int64_t kFramesPerMinute = 1800;
constexpr int64_t kFramesPerSecond = 30;

std::u16string ascii(const char* text) {
    std::u16string wide;
    for (const char* p = text; *p; ++p)
        wide.push_back(static_cast<char16_t>(*p));
    return wide;
}

} // namespace

std::u16string reelTotalText(int64_t frames) {
    char text[96];
    std::snprintf(text, sizeof text, "%02lld : %02lld : %02lld : %02lld",
                  static_cast<long long>(frames / kFramesPerHour),
                  static_cast<long long>(frames % kFramesPerHour / kFramesPerMinute),
                  static_cast<long long>(frames % kFramesPerMinute / kFramesPerSecond),
                  static_cast<long long>(frames % kFramesPerSecond));
    return ascii(text);
}

std::vector<ReelRow> reelRows(const EdlDocument& doc) {
    const int32_t reels = std::max<int32_t>(doc.reelCount, 0);
    std::vector<int64_t> totals(static_cast<size_t>(reels), 0);
    if (doc.view[kAllEvents]) {
        for (int32_t i = 0; i < doc.viewCount[kAllEvents]; ++i) {
            const EdlEvent& event = *doc.view[kAllEvents][i];
            if (event.reelIndex >= 0 && event.reelIndex < reels)
                totals[static_cast<size_t>(event.reelIndex)] += event.duration;
        }
    }
    std::vector<ReelRow> rows(static_cast<size_t>(reels));
    char count[16];
    for (int32_t r = 0; r < reels; ++r) {
        ReelRow& row = rows[static_cast<size_t>(r)];
        row.reel = r;
        row.useCount = doc.reelUseCounts ? doc.reelUseCounts[r] : 0;
        row.totalFrames = totals[static_cast<size_t>(r)];
        std::snprintf(count, sizeof count, "%3d", row.useCount);
        row.countText = ascii(count);
        row.totalText = reelTotalText(row.totalFrames);
    }
    return rows;
}

std::u16string_view reelName(const EdlDocument& doc, int32_t reel) {
    if (!doc.reelNames || reel < 0 || reel >= doc.reelCount)
        return {};
    return fixedBufferText(doc.reelNames[reel], kReelNameLength);
}

std::u16string_view reelDescription(const EdlDocument& doc, int32_t reel) {
    if (!doc.reelComments || reel < 0 || reel >= doc.reelCount)
        return {};
    return fixedBufferText(doc.reelComments[reel], kReelDescriptionChars);
}

int32_t currentEventReel(const EdlDocument& doc) {
    const EdlEvent* event = currentEvent(doc);
    if (!event || event->reelIndex < 0 || event->reelIndex >= doc.reelCount)
        return -1;
    return event->reelIndex;
}

int32_t nextReelSortState(int32_t state) {
    return state == 1 ? 2 : 1;
}

void sortReelRows(const EdlDocument& doc, std::vector<ReelRow>& rows, int column, int32_t state) {
    const int direction = state == 2 ? -1 : 1;
    auto order = [&](auto compare) {
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const ReelRow& a, const ReelRow& b) { return direction * compare(a, b) < 0; });
    };
    switch (column) {
    case kReelColName:
        order([&](const ReelRow& a, const ReelRow& b) {
            return compareReelNames(reelName(doc, a.reel), reelName(doc, b.reel));
        });
        break;
    case kReelColCount:
        order([](const ReelRow& a, const ReelRow& b) { return (a.useCount > b.useCount) - (a.useCount < b.useCount); });
        break;
    case kReelColTotal:
        order([](const ReelRow& a, const ReelRow& b) { return compareReelNames(a.totalText, b.totalText); });
        break;
    default:
        // Every pair of descriptions compares equal: the order stays as it is.
        break;
    }
}

bool storeReelDescription(EdlDocument& doc, std::u16string_view name, std::u16string_view text) {
    for (int32_t r = 0; r < doc.reelCount && doc.reelComments; ++r) {
        if (reelName(doc, r) == name) {
            storeFixedText(doc.reelComments[r], kReelCommentLength, singleLineText(text, kReelDescriptionChars));
            return true;
        }
    }
    return false;
}

} // namespace qlp
