#pragma once
// The layout of a project file, which every work file shares: the magic, the document header,
// the EDL text, the three reel tables, the event blocks and the note blocks, in this order. The
// converter, the writer and the loader take every size and offset from here.

#include "model/document.h"

#include <cstdint>
#include <string_view>

namespace qlp {

// The first 32 bytes of every project and work file: these 16 characters as UTF-16LE.
inline constexpr std::u16string_view kProjectMagic = u"Zorvanthelix_QLP";
inline constexpr int32_t kMagicSize = 2 * static_cast<int32_t>(kProjectMagic.size());
inline constexpr int32_t kHeaderOffset = kMagicSize;
// The EDL text follows the header directly.
inline constexpr int32_t kSourceTextOffset = kHeaderOffset + kHeaderSize;

// One entry of each reel table: a NUL-padded name, a use count, a NUL-padded comment.
inline constexpr int32_t kReelNameSlotSize = 2 * kReelNameLength;
inline constexpr int32_t kReelCountSlotSize = 4;
inline constexpr int32_t kReelCommentSlotSize = 2 * kReelCommentLength;
inline constexpr int32_t kReelSlotsSize = kReelNameSlotSize + kReelCountSlotSize + kReelCommentSlotSize;

// A note block: the record, its title again, then a body area of twice bodySize bytes.
inline constexpr int32_t kNoteTitleSize = 2 * kNoteTitleLength;
inline constexpr int32_t kNoteBlockMinimum = kNoteRecordSize + kNoteTitleSize;

static_assert(kMagicSize == 32 && kSourceTextOffset == 2252);
static_assert(kReelNameSlotSize == 14 && kReelCommentSlotSize == 98 && kNoteTitleSize == 62);

// A field of a stored image: its name, as a refused file reports it, and its offset in the image.
struct ImageField {
    std::string_view name;
    int32_t offset;
};

// Header fields that place and size the sections.
inline constexpr ImageField kHeaderEventCount{"viewCount[0]", 12};
inline constexpr ImageField kHeaderReelCount{"reelCount", 28};
inline constexpr ImageField kHeaderEventsOffset{"eventsOffset", 40};
inline constexpr ImageField kHeaderSourceTextOffset{"sourceTextOffset", 44};
inline constexpr ImageField kHeaderReelNamesOffset{"reelNamesOffset", 48};
inline constexpr ImageField kHeaderReelCommentsOffset{"reelCommentsOffset", 52};
inline constexpr ImageField kHeaderReelCountsOffset{"reelCountsOffset", 56};
inline constexpr ImageField kHeaderNotesOffset{"notesOffset", 60};
inline constexpr ImageField kHeaderNoteCount{"noteCount", 548};

// Event-record fields the loader checks, and those the converter fills in late.
inline constexpr ImageField kEventHasWorkMemo{"hasWorkMemo", 4};
inline constexpr ImageField kEventHasOptionComment{"hasOptionComment", 8};
inline constexpr ImageField kEventEditGroup{"editGroup", 12};
inline constexpr ImageField kEventWorkMemoLength{"workMemoLength", 80};
inline constexpr ImageField kEventOptionCommentLength{"optionCommentLength", 84};
inline constexpr ImageField kEventReelIndex{"reelIndex", 92};
inline constexpr ImageField kEventMarker{"marker", 96};

inline constexpr ImageField kNoteBodySize{"bodySize", 8};

// Where each section of a document's file starts, and where the file ends.
struct SectionOffsets {
    int64_t sourceText = kSourceTextOffset;
    int64_t reelNames = 0;
    int64_t reelCounts = 0;
    int64_t reelComments = 0;
    int64_t events = 0;
    int64_t notes = 0;
    int64_t end = 0;

    // Every offset the header stores fits its 32-bit field.
    constexpr bool fitInHeader() const { return notes <= INT32_MAX; }
};

// The sections of a file holding `sourceTextSize` bytes of EDL text, `reelCount` reels, event
// blocks of `eventBytes` and note blocks of `noteBytes` in all.
constexpr SectionOffsets sectionOffsets(int64_t sourceTextSize, int64_t reelCount, int64_t eventBytes,
                                        int64_t noteBytes = 0) {
    SectionOffsets s;
    s.reelNames = s.sourceText + sourceTextSize;
    s.reelCounts = s.reelNames + kReelNameSlotSize * reelCount;
    s.reelComments = s.reelCounts + kReelCountSlotSize * reelCount;
    s.events = s.reelComments + kReelCommentSlotSize * reelCount;
    s.notes = s.events + eventBytes;
    s.end = s.notes + noteBytes;
    return s;
}

// Stores the offsets of the EDL text, the reel tables and the events in the header fields; the
// notes offset is the writer's to set (a converted file has none).
inline void storeSectionOffsets(const SectionOffsets& s, EdlDocument& doc) {
    doc.sourceTextOffset = static_cast<int32_t>(s.sourceText);
    doc.reelNamesOffset = static_cast<int32_t>(s.reelNames);
    doc.reelCountsOffset = static_cast<int32_t>(s.reelCounts);
    doc.reelCommentsOffset = static_cast<int32_t>(s.reelComments);
    doc.eventsOffset = static_cast<int32_t>(s.events);
}

} // namespace qlp
