#include "model/records.h"

#include "model/bytes.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace qlp {

namespace {

// One description of each image serves both directions: the visitor either stores the field at
// its offset or loads it from there.
struct Writer {
    uint8_t* out;
    void i32(int offset, const int32_t& v) { writeI32(out + offset, v); }
    void u32(int offset, const uint32_t& v) { writeI32(out + offset, static_cast<int32_t>(v)); }
    void pointer(int offset) { writeI32(out + offset, 0); }
    void wide(int offset, const char16_t* text, size_t count) { writeWide(out + offset, text, count); }
    template <size_t N> void raw(int offset, const std::array<uint8_t, N>& bytes) {
        std::memcpy(out + offset, bytes.data(), N);
    }
};

struct Reader {
    const uint8_t* in;
    void i32(int offset, int32_t& v) { v = readI32(in + offset); }
    void u32(int offset, uint32_t& v) { v = static_cast<uint32_t>(readI32(in + offset)); }
    void pointer(int) {}
    void wide(int offset, char16_t* text, size_t count) { readWide(in + offset, text, count); }
    template <size_t N> void raw(int offset, std::array<uint8_t, N>& bytes) {
        std::memcpy(bytes.data(), in + offset, N);
    }
};

template <typename IO, typename T, size_t N> void i32s(IO& io, int offset, T (&values)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if constexpr (std::is_array_v<T>)
            i32s(io, offset + static_cast<int>(i * sizeof(T)), values[i]);
        else if constexpr (std::is_same_v<std::remove_const_t<T>, uint32_t>)
            io.u32(offset + static_cast<int>(4 * i), values[i]);
        else
            io.i32(offset + static_cast<int>(4 * i), values[i]);
    }
}

template <typename IO, typename T, size_t N> void wides(IO& io, int offset, T (&texts)[N]) {
    for (size_t i = 0; i < N; ++i)
        io.wide(offset + static_cast<int>(i * sizeof(texts[0])), texts[i], sizeof(texts[0]) / 2);
}

template <typename IO, typename Doc> void headerFields(IO& io, Doc& d) {
    io.i32(0, d.headerSize);
    io.i32(4, d.eventRecordSize);
    io.i32(8, d.loaded);
    i32s(io, kHeaderEventCount.offset, d.viewCount);
    io.i32(kHeaderReelCount.offset, d.reelCount);
    io.pointer(32); // reelUseCounts
    io.i32(36, d.lastEditNumber);
    io.i32(kHeaderEventsOffset.offset, d.eventsOffset);
    io.i32(kHeaderSourceTextOffset.offset, d.sourceTextOffset);
    io.i32(kHeaderReelNamesOffset.offset, d.reelNamesOffset);
    io.i32(kHeaderReelCommentsOffset.offset, d.reelCommentsOffset);
    io.i32(kHeaderReelCountsOffset.offset, d.reelCountsOffset);
    io.i32(kHeaderNotesOffset.offset, d.notesOffset);
    i32s(io, 64, d.columnOrder);
    i32s(io, 288, d.columnWidth);
    io.i32(512, d.currentLayout);
    i32s(io, 516, d.currentRow);
    i32s(io, 532, d.topRow);
    io.i32(kHeaderNoteCount.offset, d.noteCount);
    io.i32(552, d.rowHeight);
    io.wide(556, d.locateText, 6);
    i32s(io, 568, d.recOffset);
    io.i32(584, d.dropFrame);
    io.i32(588, d.currentView);
    i32s(io, 592, d.sortState);
    io.i32(628, d.edited);
    io.i32(632, d.reserved632);
    io.i32(636, d.commentMode);
    io.i32(640, d.reelFilter);
    io.wide(644, &d.recOffsetSign, 1);
    io.raw(646, d.reserved646);
    io.i32(652, d.hasHour23);
    io.pointer(656); // events
    for (int v = 0; v < kViewCount; ++v)
        io.pointer(660 + 4 * v);
    io.raw(676, d.reserved676);

    auto& s = d.search;
    io.i32(680, s.searchFlags);
    i32s(io, 684, s.lowerOp);
    i32s(io, 696, s.upperOp);
    io.i32(708, s.searchReel);
    io.i32(712, s.searchMarker);
    io.i32(716, s.editSlot);
    i32s(io, 720, s.slotDropFrame);
    i32s(io, 744, s.slotValue);
    io.wide(768, s.searchReelText, 32);
    wides(io, 832, s.slotText);

    wides(io, 1120, d.listBoundText);
    io.raw(1336, d.otherSettings);
    io.i32(1552, d.recOffsetDirection);
    io.wide(1556, d.offsetDisplayText, 16);
    io.wide(1588, d.offsetEntryText, 28);
    io.raw(1644, d.reserved1644);
    io.pointer(1648); // heap
    io.pointer(1652); // noteHead
    io.pointer(1656); // noteCursor
    io.pointer(1660); // reelNames
    io.pointer(1664); // reelComments
    io.pointer(1668); // exportTab
    i32s(io, 1672, d.listOptions);
    io.raw(1744, d.reserved1744);
    i32s(io, 1748, d.customColours);
    i32s(io, 1812, d.markerColours);
    io.u32(1844, d.noMarkerColour);
    io.i32(1848, d.currentMarker);
    wides(io, 1852, d.markerNames);
}

template <typename IO, typename Event> void eventFields(IO& io, Event& e) {
    io.i32(0, e.searchHit);
    io.i32(kEventHasWorkMemo.offset, e.hasWorkMemo);
    io.i32(kEventHasOptionComment.offset, e.hasOptionComment);
    io.i32(kEventEditGroup.offset, e.editGroup);
    io.i32(16, e.srcIn);
    io.i32(20, e.srcOut);
    io.i32(24, e.recIn);
    io.i32(28, e.recOut);
    io.i32(32, e.recInCopy);
    io.i32(36, e.recOutCopy);
    io.i32(40, e.duration);
    io.i32(44, e.srcSortKey);
    io.i32(48, e.recSortKey);
    io.raw(52, e.reserved52);
    io.i32(60, e.fileOffset);
    io.i32(64, e.recordSize);
    io.i32(68, e.lineNumber);
    io.i32(72, e.sequence);
    io.i32(76, e.reserved76);
    io.i32(kEventWorkMemoLength.offset, e.workMemoLength);
    io.i32(kEventOptionCommentLength.offset, e.optionCommentLength);
    io.i32(88, e.srcDropFrame);
    io.i32(kEventReelIndex.offset, e.reelIndex);
    io.i32(kEventMarker.offset, e.marker);
    io.pointer(100); // optionComment
    io.pointer(104); // workMemo
    wides(io, 108, e.text);
}

template <typename IO, typename Note> void noteFields(IO& io, Note& n) {
    io.i32(0, n.index);
    io.i32(4, n.current);
    io.i32(kNoteBodySize.offset, n.bodySize);
    io.wide(12, n.title, kNoteTitleLength);
    io.raw(74, n.unused);
    io.pointer(76); // body
    io.pointer(80); // prev
    io.pointer(84); // next
}

static_assert(108 + kColumnCount * kColumnTextLength * 2 == kEventRecordSize);
static_assert(1852 + 8 * 23 * 2 == kHeaderSize);

} // namespace

void writeHeaderImage(const EdlDocument& doc, uint8_t* out) {
    Writer w{out};
    headerFields(w, doc);
}

void readHeaderImage(const uint8_t* in, EdlDocument& doc) {
    Reader r{in};
    headerFields(r, doc);
}

// On a little-endian machine the record's first 100 bytes (searchHit to marker) and its 896 bytes
// of column texts have the very layout of the struct's members, so loading and converting - which
// run for every event of every document - copy them as two blocks.
constexpr bool kEventFieldsAsOnDisk = std::endian::native == std::endian::little &&
                                      offsetof(EdlEvent, hasWorkMemo) == 4 && offsetof(EdlEvent, srcIn) == 16 &&
                                      offsetof(EdlEvent, reserved52) == 52 && offsetof(EdlEvent, fileOffset) == 60 &&
                                      offsetof(EdlEvent, workMemoLength) == 80 && offsetof(EdlEvent, marker) == 96 &&
                                      sizeof(EdlEvent::text) == kColumnCount * kColumnTextLength * 2;

void writeEventImage(const EdlEvent& event, uint8_t* out) {
    if constexpr (kEventFieldsAsOnDisk) {
        std::memcpy(out, static_cast<const void*>(&event), 100);
        std::memset(out + 100, 0, 8); // the comment and memo pointer slots
        std::memcpy(out + 108, event.text, sizeof event.text);
    } else {
        Writer w{out};
        eventFields(w, event);
    }
}

void readEventImage(const uint8_t* in, EdlEvent& event) {
    if constexpr (kEventFieldsAsOnDisk) {
        std::memcpy(static_cast<void*>(&event), in, 100);
        std::memcpy(event.text, in + 108, sizeof event.text);
    } else {
        Reader r{in};
        eventFields(r, event);
    }
    event.optionComment = nullptr;
    event.workMemo = nullptr;
    event.workMemoCapacity = 0;
}

void writeNoteImage(const SimpleNote& note, uint8_t* out) {
    Writer w{out};
    noteFields(w, note);
}

void readNoteImage(const uint8_t* in, SimpleNote& note) {
    Reader r{in};
    noteFields(r, note);
}

} // namespace qlp
