#include "ops/info_texts.h"

#include "model/timecode.h"
#include "ops/views.h"
#include "resource.h"

#include <cstdio>
#include <iterator>

namespace qlp {

namespace {

std::u16string widen(const char* ascii) {
    std::u16string out;
    for (; *ascii; ++ascii)
        out.push_back(static_cast<unsigned char>(*ascii));
    return out;
}

std::u16string decimal(int32_t value, const char* format = "%d") {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    return widen(buf);
}

} // namespace

std::u16string hitCounterText(const EdlDocument& doc) {
    return decimal(doc.viewCount[kSearchResult]) + u"件/[" + decimal(doc.viewCount[kAllEvents]) + u"件中]";
}

std::u16string countModeText(const EdlDocument& doc) {
    return std::u16string(doc.dropFrame ? kDropFrameLabel : kNonDropFrameLabel);
}

std::u16string editCountText(const EdlDocument& doc) {
    return decimal(doc.lastEditNumber, "%04d");
}

std::u16string reelCountText(const EdlDocument& doc) {
    return decimal(doc.reelCount, "%04d");
}

std::u16string offsetText(const EdlDocument& doc) {
    return std::u16string(textUpToNul(doc.offsetDisplayText));
}

int searchSlotOfCell(int id) {
    switch (id) {
    case IDC_SRC_LOWER:
        return 0;
    case IDC_REC_LOWER:
        return 1;
    case IDC_DUR_LOWER:
        return 2;
    case IDC_SRC_UPPER:
        return 3;
    case IDC_REC_UPPER:
        return 4;
    case IDC_DUR_UPPER:
        return 5;
    default:
        return -1;
    }
}

std::u16string searchTimecodeText(const EdlDocument& doc, int slot) {
    if (slot < 0 || slot >= 6 || doc.search.slotValue[slot] == -1)
        return std::u16string(kNoTimecodeText);
    return std::u16string(textUpToNul(doc.search.slotText[slot]));
}

std::u16string panelCellText(int id, const EdlDocument& doc) {
    const bool loaded = doc.loaded != 0;
    switch (id) {
    case IDC_HIT_COUNTER:
        return loaded ? hitCounterText(doc) : std::u16string();
    case IDC_COUNT_MODE:
        return loaded ? countModeText(doc) : std::u16string(kNoCountModeText);
    case IDC_EDIT_COUNT:
        return loaded ? editCountText(doc) : std::u16string(kNoCountText);
    case IDC_REEL_COUNT:
        return loaded ? reelCountText(doc) : std::u16string(kNoCountText);
    case IDC_OFFSET_CELL:
        return loaded ? offsetText(doc) : std::u16string(kNoTimecodeText);
    default:
        break;
    }
    const int slot = searchSlotOfCell(id);
    if (slot < 0)
        return {};
    return loaded ? searchTimecodeText(doc, slot) : std::u16string(kNoTimecodeText);
}

std::u16string reelBracketText(std::u16string_view reelName) {
    constexpr size_t kPaddedLength = 6;
    std::u16string text = u"< ";
    text += reelName;
    if (reelName.size() < kPaddedLength)
        text.append(kPaddedLength - reelName.size(), u' ');
    text += u" >";
    return text;
}

ReelLineTexts reelLineTexts(const EdlDocument& doc) {
    ReelLineTexts line;
    const EdlEvent* event = currentEvent(doc);
    if (!event)
        return line;
    line.hasEvent = true;
    line.reel = reelBracketText(columnText(*event, kColReel));
    if (doc.reelComments && event->reelIndex >= 0 && event->reelIndex < doc.reelCount)
        line.description = textUpToNul(doc.reelComments[event->reelIndex]);
    return line;
}

std::u16string fileCountStatus(int files, bool afterOpen) {
    return (afterOpen ? u"ファイル数: " : u"ファイル数:  ") + decimal(files);
}

std::u16string locationStatus(std::u16string_view path) {
    return u"場所:  " + std::u16string(path);
}

std::u16string openedStatus(std::u16string_view path) {
    return u"状態: " + std::u16string(path) + u"を開きました。";
}

std::u16string markerSelectionStatus(int marker, std::u16string_view name) {
    return u"マーカー選択: [" + decimal(marker + 1) + u"] " + std::u16string(name);
}

} // namespace qlp
