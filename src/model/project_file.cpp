#include "model/project_file.h"

#include "model/bytes.h"
#include "model/chunked_writer.h"
#include "model/file_io.h"
#include "model/large_block.h"
#include "model/messages.h"
#include "model/project_layout.h"
#include "model/records.h"
#include "model/view_order.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace qlp {

namespace {

// Loading reads chunks small enough to be still in the core's own cache when their events are
// copied out.
constexpr size_t kChunkSize = 256 * 1024;

// Reads a project file sequentially in large chunks (or straight from memory), so that events are
// decoded while their bytes are still in the cache. Every read is checked against the size.
class ChunkReader {
public:
    // Every read asks for a chunk or more, so the stream's own buffer would only add a copy.
    ChunkReader(std::FILE* file, int64_t size)
        : file_(file), size_(size), buffer_(std::make_unique<LargeBuffer>(kChunkSize)) {
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    ChunkReader(const uint8_t* data, size_t size) : memory_(data), size_(static_cast<int64_t>(size)) {}

    int64_t size() const { return size_; }
    int64_t position() const { return pos_; }
    int64_t remaining() const { return size_ - pos_; }
    bool fits(int64_t offset, int64_t length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    bool seek(int64_t offset) {
        if (offset < 0 || offset > size_)
            return false;
        pos_ = offset;
        return true;
    }
    // n contiguous bytes at the current position (n at most one chunk), then advances.
    const uint8_t* take(size_t n) {
        if (!fits(pos_, static_cast<int64_t>(n)))
            return nullptr;
        const uint8_t* p;
        if (memory_) {
            p = memory_ + pos_;
        } else {
            if (pos_ < bufferStart_ || pos_ + static_cast<int64_t>(n) > bufferStart_ + bufferLength_) {
                if (!fill(pos_))
                    return nullptr;
                if (static_cast<int64_t>(n) > bufferLength_)
                    return nullptr;
            }
            p = buffer_->data() + (pos_ - bufferStart_);
        }
        pos_ += static_cast<int64_t>(n);
        return p;
    }
    bool read(void* dest, size_t n) {
        // A long run (the EDL text) goes from the file straight into place rather than through
        // the buffer, which would copy every byte twice.
        if (file_ && n > kChunkSize) {
            if (!fits(pos_, static_cast<int64_t>(n)) || !readFile(pos_, dest, n))
                return false;
            pos_ += static_cast<int64_t>(n);
            return true;
        }
        auto* out = static_cast<uint8_t*>(dest);
        while (n > 0) {
            const size_t step = std::min(n, kChunkSize);
            const uint8_t* p = take(step);
            if (!p)
                return false;
            std::memcpy(out, p, step);
            out += step;
            n -= step;
        }
        return true;
    }

private:
    // Reads n bytes at `offset` of the file, seeking only when the file is not there already.
    bool readFile(int64_t offset, void* dest, size_t n) {
        if (offset != filePos_) {
            if (offset > LONG_MAX || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
                return false;
            filePos_ = offset;
        }
        const size_t got = std::fread(dest, 1, n, file_);
        filePos_ += static_cast<int64_t>(got);
        return got == n;
    }
    // Makes the buffer start at `offset`. The bytes from there that it holds already (the start of
    // a record cut by the chunk's end) move to its front, so reading on through the file never
    // seeks back.
    bool fill(int64_t offset) {
        uint8_t* buffer = buffer_->data();
        if (!buffer)
            return false;
        size_t kept = 0;
        if (offset >= bufferStart_ && offset < bufferStart_ + bufferLength_) {
            kept = static_cast<size_t>(bufferStart_ + bufferLength_ - offset);
            std::memmove(buffer, buffer + (offset - bufferStart_), kept);
        }
        const int64_t from = offset + static_cast<int64_t>(kept);
        const size_t want = static_cast<size_t>(std::min<int64_t>(kChunkSize - kept, size_ - from));
        const bool ok = readFile(from, buffer + kept, want);
        bufferStart_ = offset;
        bufferLength_ = ok ? static_cast<int64_t>(kept + want) : 0;
        return ok;
    }

    std::FILE* file_ = nullptr;
    const uint8_t* memory_ = nullptr;
    int64_t size_ = 0;
    int64_t pos_ = 0;
    std::unique_ptr<LargeBuffer> buffer_; // filled before it is read
    int64_t bufferStart_ = 0;
    int64_t bufferLength_ = 0;
    int64_t filePos_ = 0; // where the next fread reads
};

template <size_t N> void terminate(char16_t (&text)[N]) {
    text[N - 1] = 0;
}

template <size_t M, size_t N> void terminate(char16_t (&texts)[M][N]) {
    for (auto& t : texts)
        t[N - 1] = 0;
}

// Text fields are shown with functions that stop at a NUL, so each one gets its terminator back.
void terminateHeaderTexts(EdlDocument& doc) {
    terminate(doc.locateText);
    terminate(doc.search.searchReelText);
    terminate(doc.search.slotText);
    terminate(doc.listBoundText);
    terminate(doc.offsetDisplayText);
    terminate(doc.offsetEntryText);
    terminate(doc.markerNames);
}

// The views kAllEvents to kReelUsage: all events, the search hits, the events of the filtered reel. Each event is added
// as soon as it is read, while its record is still in the cache.
class ViewBuilder {
public:
    explicit ViewBuilder(EdlDocument& doc) : doc_(doc) {}

    void add(EdlEvent* ev) {
        doc_.view[kAllEvents][all_++] = ev;
        if (ev->searchHit)
            doc_.view[kSearchResult][hits_++] = ev;
        if (ev->reelIndex == doc_.reelFilter)
            doc_.view[kReelUsage][reelRows_++] = ev;
    }

    // Sets the counts and orders kSearchResult and kReelUsage by their stored sort state. The arrays come unfilled
    // from the arena, so the slots past each count are set to null here.
    void finish() {
        const int32_t n = doc_.viewCount[kAllEvents];
        doc_.viewCount[kSearchResult] = hits_;
        doc_.viewCount[kReelUsage] = reelRows_;
        std::fill(doc_.view[kAllEvents] + all_, doc_.view[kAllEvents] + n + 1, nullptr);
        std::fill(doc_.view[kSearchResult] + hits_, doc_.view[kSearchResult] + n + 1, nullptr);
        std::fill(doc_.view[kReelUsage] + reelRows_, doc_.view[kReelUsage] + n + 1, nullptr);
        const int32_t shownView = doc_.currentView;
        for (int v = 1; v <= 2; ++v) {
            if (doc_.viewCount[v] != 0) {
                doc_.currentView = v;
                reapplySort(doc_);
            }
        }
        doc_.currentView = shownView;
    }

private:
    EdlDocument& doc_;
    int32_t all_ = 0;
    int32_t hits_ = 0;
    int32_t reelRows_ = 0;
};

LoadResult refused(std::string_view field, int64_t offset, std::string_view problem) {
    return {LoadStatus::WrongFormat, field, offset, problem};
}

LoadResult refused(const ImageField& field, int64_t imageOffset, std::string_view problem) {
    return refused(field.name, imageOffset + field.offset, problem);
}

LoadResult noMemory(std::string_view what, int64_t offset) {
    return {LoadStatus::NoMemory, what, offset, "cannot be allocated"};
}

constexpr std::string_view kPastTheEnd = "runs past the end of the file";
constexpr std::string_view kNegative = "is negative";
constexpr std::string_view kMoreThanTheFileHolds = "is more than the file can hold";
constexpr std::string_view kOutOfRange = "is out of range";

// The header's counts and section offsets, checked against the file's size before anything is
// allocated: each section must lie within the file.
LoadResult checkSections(const ChunkReader& in, const EdlDocument& doc) {
    const int64_t events = doc.viewCount[kAllEvents];
    const int64_t reels = doc.reelCount;
    const int64_t notes = doc.noteCount;
    const int64_t size = in.size();
    for (auto [count, field] : {std::pair{events, &kHeaderEventCount}, std::pair{reels, &kHeaderReelCount},
                                std::pair{notes, &kHeaderNoteCount}})
        if (count < 0)
            return refused(*field, kHeaderOffset, kNegative);
    if (kEventRecordSize * events > size)
        return refused(kHeaderEventCount, kHeaderOffset, kMoreThanTheFileHolds);
    if (kReelCommentSlotSize * reels > size)
        return refused(kHeaderReelCount, kHeaderOffset, kMoreThanTheFileHolds);
    if (kNoteBlockMinimum * notes > size)
        return refused(kHeaderNoteCount, kHeaderOffset, kMoreThanTheFileHolds);
    if (events > 0 && reels == 0)
        return refused(kHeaderReelCount, kHeaderOffset, "is 0 while there are events");
    if (!in.fits(doc.sourceTextOffset, 0))
        return refused(kHeaderSourceTextOffset, kHeaderOffset, kPastTheEnd);
    const struct {
        const ImageField& field;
        int64_t offset;
        int64_t length;
    } sections[] = {
        {kHeaderReelNamesOffset, doc.sourceTextOffset, int64_t(doc.reelNamesOffset) - doc.sourceTextOffset},
        {kHeaderReelNamesOffset, doc.reelNamesOffset, kReelNameSlotSize * reels},
        {kHeaderReelCountsOffset, doc.reelCountsOffset, kReelCountSlotSize * reels},
        {kHeaderReelCommentsOffset, doc.reelCommentsOffset, kReelCommentSlotSize * reels},
        {kHeaderEventsOffset, doc.eventsOffset, kEventRecordSize * events},
        {kHeaderNotesOffset, doc.notesOffset, kNoteBlockMinimum * notes},
    };
    for (const auto& section : sections) {
        if (&section.field == &kHeaderNotesOffset && notes == 0)
            continue; // a file without notes need not say where they would be
        if (!in.fits(section.offset, section.length))
            return refused(section.field, kHeaderOffset, kPastTheEnd);
    }
    return {};
}

LoadResult readProject(ChunkReader& in, EdlDocument& doc) {
    const uint8_t* magic = in.take(kMagicSize);
    if (!magic)
        return refused("magic", 0, kPastTheEnd);
    char16_t magicText[kProjectMagic.size()];
    readWide(magic, magicText, kProjectMagic.size());
    if (std::u16string_view(magicText, kProjectMagic.size()) != kProjectMagic)
        return refused("magic", 0, "is not the project-file magic");
    const uint8_t* header = in.take(kHeaderSize);
    if (!header)
        return refused("header", kHeaderOffset, kPastTheEnd);
    readHeaderImage(header, doc);
    terminateHeaderTexts(doc);
    updateOffsetDisplayText(doc);
    if (LoadResult sections = checkSections(in, doc); !sections)
        return sections;

    const int64_t events = doc.viewCount[kAllEvents];
    const int64_t reels = doc.reelCount;
    const int64_t notes = doc.noteCount;
    if (doc.currentView < kAllEvents || doc.currentView > kReelUsage)
        doc.currentView = kAllEvents;
    if (doc.currentLayout < 0 || doc.currentLayout >= kLayoutCount)
        doc.currentLayout = 0;

    // Everything allocated below is bounded by the file's size, checked above or as it is read.
    // The event records, the views and the EDL text are written whole below, so they are not
    // zero-filled first: for a large list that would be one more pass over all of its memory.
    doc.heap = std::make_unique<Arena>();
    Arena& heap = *doc.heap;
    doc.events = heap.allocateForOverwrite<EdlEvent>(static_cast<size_t>(events) + 1);
    for (int v = 0; v < 3; ++v)
        doc.view[v] = heap.allocateForOverwrite<EdlEvent*>(static_cast<size_t>(events) + 1);
    if (!doc.events || !doc.view[kAllEvents] || !doc.view[kSearchResult] || !doc.view[kReelUsage])
        return noMemory("event records", doc.eventsOffset);
    doc.reelUseCounts = heap.allocate<int32_t>(static_cast<size_t>(reels) + 1);
    doc.reelNames = heap.allocate<char16_t[kReelNameLength]>(static_cast<size_t>(reels) + 1);
    doc.reelComments = heap.allocate<char16_t[kReelCommentLength]>(static_cast<size_t>(reels) + 1);
    if (!doc.reelUseCounts || !doc.reelNames || !doc.reelComments)
        return noMemory("reel tables", doc.reelNamesOffset);
    doc.sourceTextSize = doc.reelNamesOffset - doc.sourceTextOffset;
    auto* sourceText = heap.allocateForOverwrite<uint8_t>(static_cast<size_t>(doc.sourceTextSize) + 1);
    doc.sourceText = sourceText;
    if (!sourceText)
        return noMemory("EDL text", doc.sourceTextOffset);
    // The record after the last event stays zero-filled, and the text keeps a terminator.
    std::memset(static_cast<void*>(doc.events + events), 0, sizeof(EdlEvent));
    sourceText[doc.sourceTextSize] = 0;

    if (!in.seek(doc.sourceTextOffset) || !in.read(sourceText, static_cast<size_t>(doc.sourceTextSize)))
        return refused("EDL text", doc.sourceTextOffset, kPastTheEnd);
    if (!in.seek(doc.reelNamesOffset))
        return refused(kHeaderReelNamesOffset, kHeaderOffset, kPastTheEnd);
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(kReelNameSlotSize);
        if (!p)
            return refused("reel names", in.position(), kPastTheEnd);
        readWide(p, doc.reelNames[r], kReelNameLength);
        terminate(doc.reelNames[r]);
    }
    if (!in.seek(doc.reelCountsOffset))
        return refused(kHeaderReelCountsOffset, kHeaderOffset, kPastTheEnd);
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(kReelCountSlotSize);
        if (!p)
            return refused("reel use counts", in.position(), kPastTheEnd);
        doc.reelUseCounts[r] = readI32(p);
    }
    if (!in.seek(doc.reelCommentsOffset))
        return refused(kHeaderReelCommentsOffset, kHeaderOffset, kPastTheEnd);
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(kReelCommentSlotSize);
        if (!p)
            return refused("reel comments", in.position(), kPastTheEnd);
        readWide(p, doc.reelComments[r], kReelCommentLength);
        terminate(doc.reelComments[r]);
    }

    if (!in.seek(doc.eventsOffset))
        return refused(kHeaderEventsOffset, kHeaderOffset, kPastTheEnd);
    ViewBuilder views(doc);
    for (int64_t i = 0; i < events; ++i) {
        EdlEvent& ev = doc.events[i];
        const int64_t record = in.position();
        const uint8_t* p = in.take(kEventRecordSize);
        if (!p)
            return refused("event record", record, kPastTheEnd);
        readEventImage(p, ev);
        terminate(ev.text);
        if (ev.optionCommentLength < 0)
            return refused(kEventOptionCommentLength, record, kNegative);
        if (ev.workMemoLength < 0)
            return refused(kEventWorkMemoLength, record, kNegative);
        if ((ev.optionCommentLength != 0) != (ev.hasOptionComment != 0))
            return refused(kEventHasOptionComment, record, "disagrees with optionCommentLength");
        if ((ev.workMemoLength != 0) != (ev.hasWorkMemo != 0))
            return refused(kEventHasWorkMemo, record, "disagrees with workMemoLength");
        if (ev.marker < 0 || ev.marker > kNoMarker)
            return refused(kEventMarker, record, kOutOfRange);
        if (ev.reelIndex < 0 || ev.reelIndex >= reels)
            return refused(kEventReelIndex, record, kOutOfRange);
        for (auto [length, text, field] :
             {std::tuple{ev.optionCommentLength, &ev.optionComment, &kEventOptionCommentLength},
              std::tuple{ev.workMemoLength, &ev.workMemo, &kEventWorkMemoLength}}) {
            if (length == 0)
                continue;
            // Checked before allocating: the text must be in the file.
            if (2 * int64_t(length) > in.remaining())
                return refused(*field, record, kPastTheEnd);
            char16_t* buffer = heap.allocate<char16_t>(static_cast<size_t>(length) + 1);
            if (!buffer)
                return noMemory(field == &kEventWorkMemoLength ? "work memo" : "option comment", in.position());
            if (!in.read(buffer, 2 * static_cast<size_t>(length)))
                return refused(*field, record, kPastTheEnd);
            if constexpr (std::endian::native != std::endian::little)
                readWide(reinterpret_cast<const uint8_t*>(buffer), buffer, static_cast<size_t>(length));
            *text = buffer;
        }
        if (ev.workMemo)
            ev.workMemo[ev.workMemoLength - 1] = 0;
        views.add(&ev);
    }
    views.finish();

    if (notes > 0 && !in.seek(doc.notesOffset))
        return refused(kHeaderNotesOffset, kHeaderOffset, kPastTheEnd);
    SimpleNote* tail = doc.noteHead;
    for (int64_t n = 0; n < notes; ++n) {
        const int64_t record = in.position();
        const uint8_t* p = in.take(kNoteRecordSize);
        if (!p)
            return refused("note record", record, kPastTheEnd);
        auto* note = new (std::nothrow) SimpleNote;
        if (!note)
            return noMemory("note record", record);
        readNoteImage(p, *note);
        note->prev = tail;
        tail->next = note;
        tail = note;
        const uint8_t* title = in.take(kNoteTitleSize);
        if (!title)
            return refused("note title", record + kNoteRecordSize, kPastTheEnd);
        readWide(title, note->title, kNoteTitleLength);
        terminate(note->title);
        if (note->bodySize < 0)
            return refused(kNoteBodySize, record, kNegative);
        if (note->bodySize > 0) {
            const int64_t area = 2 * int64_t(note->bodySize);
            if (area > in.remaining())
                return refused(kNoteBodySize, record, kPastTheEnd);
            // Allocated as characters so the body is aligned for them: area + 2 bytes.
            char16_t* body = heap.allocate<char16_t>(static_cast<size_t>(note->bodySize) + 1);
            if (!body)
                return noMemory("note body", in.position());
            if (!in.read(body, static_cast<size_t>(area)))
                return refused("note body", in.position(), kPastTheEnd);
            note->body = body;
            note->body[area / 2] = 0;
            // The text ends within its first bodySize bytes.
            note->body[std::max<int64_t>(0, note->bodySize / 2 - 1)] = 0;
        }
    }
    doc.loaded = 1;
    return {};
}

// Runs a read; memory exhausted in any of its containers is reported as such rather than thrown
// to the caller, and a failed read leaves nothing of the document behind.
template <typename Read> LoadResult guardedLoad(EdlDocument& doc, Read read) noexcept {
    LoadResult result;
    try {
        result = read();
    } catch (const std::bad_alloc&) {
        result = noMemory("document memory", -1);
    } catch (const std::length_error&) {
        result = noMemory("document memory", -1);
    }
    if (!result)
        releaseDocument(doc);
    return result;
}

} // namespace

std::string describeRefusal(const LoadResult& result) {
    std::string text(result.field);
    if (result.offset >= 0)
        text += " at offset " + std::to_string(result.offset);
    if (!result.problem.empty())
        text += (text.empty() ? "" : ": ") + std::string(result.problem);
    return text;
}

LoadResult loadProjectFile(std::u16string_view path, EdlDocument& doc) noexcept {
    releaseDocument(doc);
    return guardedLoad(doc, [&] {
        const int64_t size = fileSize(path);
        std::FILE* f = (size >= 0 && isRegularFile(path)) ? openFile(path, "rb") : nullptr;
        if (!f)
            return LoadResult{LoadStatus::CannotOpen, {}, -1, "cannot be opened"};
        struct Closer {
            std::FILE* f;
            ~Closer() { std::fclose(f); }
        } closer{f};
        ChunkReader in(f, size);
        return readProject(in, doc);
    });
}

bool startsWithProjectMagic(const uint8_t* bytes, size_t size) noexcept {
    if (size < static_cast<size_t>(kMagicSize))
        return false;
    for (size_t i = 0; i < kProjectMagic.size(); ++i) {
        if (static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8) != kProjectMagic[i])
            return false;
    }
    return true;
}

bool fileStartsWithProjectMagic(std::u16string_view path) noexcept {
    std::FILE* file = openFile(path, "rb");
    if (!file)
        return false;
    uint8_t head[kMagicSize];
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return startsWithProjectMagic(head, got);
}

LoadResult loadProjectImage(const uint8_t* data, size_t size, EdlDocument& doc) noexcept {
    releaseDocument(doc);
    return guardedLoad(doc, [&] {
        ChunkReader in(data, size);
        return readProject(in, doc);
    });
}

namespace {

bool writeSections(EdlDocument& doc, ByteSink& sink) {
    const int64_t reels = doc.reelCount;
    const int32_t events = doc.viewCount[kAllEvents];
    EdlEvent** order = doc.view[kAllEvents];

    int64_t eventBytes = 0;
    for (int32_t i = 0; i < events; ++i) {
        EdlEvent& ev = order ? *order[i] : doc.events[i];
        ev.recordSize = kEventRecordSize + 2 * (ev.optionCommentLength + ev.workMemoLength);
        eventBytes += ev.recordSize;
    }
    int32_t noteCount = 0;
    int64_t noteBytes = 0;
    for (const SimpleNote* note = doc.noteHead->next; note; note = note->next) {
        ++noteCount;
        // The record, the title, and a body buffer followed by as many zero bytes.
        noteBytes += kNoteBlockMinimum + (note->bodySize > 0 ? 2 * int64_t(note->bodySize) : 0);
    }

    const SectionOffsets sections = sectionOffsets(doc.sourceTextSize, reels, eventBytes, noteBytes);
    if (!sections.fitInHeader())
        return false;
    storeSectionOffsets(sections, doc);
    doc.notesOffset = static_cast<int32_t>(sections.notes);
    doc.noteCount = noteCount;

    ChunkedWriter out(sink, sections.end);
    if (!out.ok())
        return false;
    uint8_t image[kHeaderSize];
    writeWide(image, kProjectMagic.data(), kProjectMagic.size());
    out.write(image, kMagicSize);
    writeHeaderImage(doc, image);
    out.write(image, kHeaderSize);
    out.write(doc.sourceText, static_cast<size_t>(doc.sourceTextSize));
    for (int64_t r = 0; r < reels; ++r)
        out.wide(doc.reelNames[r], kReelNameLength);
    for (int64_t r = 0; r < reels; ++r) {
        writeI32(image, doc.reelUseCounts[r]);
        out.write(image, kReelCountSlotSize);
    }
    for (int64_t r = 0; r < reels; ++r)
        out.wide(doc.reelComments[r], kReelCommentLength);
    for (int32_t i = 0; i < events; ++i) {
        const EdlEvent& ev = order ? *order[i] : doc.events[i];
        writeEventImage(ev, out.room(kEventRecordSize));
        out.commit(kEventRecordSize);
        if (ev.hasOptionComment && ev.optionCommentLength > 0)
            out.wide(ev.optionComment, static_cast<size_t>(ev.optionCommentLength));
        if (ev.hasWorkMemo && ev.workMemoLength > 0)
            out.wide(ev.workMemo, static_cast<size_t>(ev.workMemoLength));
    }
    for (const SimpleNote* note = doc.noteHead->next; note; note = note->next) {
        writeNoteImage(*note, image);
        out.write(image, kNoteRecordSize);
        out.wide(note->title, kNoteTitleLength);
        if (note->bodySize > 0) {
            const size_t textBytes = static_cast<size_t>(note->bodySize);
            out.wide(note->body, textBytes / 2);
            out.zeros(textBytes % 2 + textBytes);
        }
    }
    return out.finish();
}

} // namespace

bool writeProjectFile(EdlDocument& doc, ByteSink& sink) noexcept {
    try {
        return writeSections(doc, sink);
    } catch (const std::bad_alloc&) {
        return false; // memory exhausted for the writer's buffers or its thread
    }
}

int saveDocument(std::u16string_view path, EdlDocument& doc, Prompt& prompt, bool durable) {
    bool ok = false;
    try {
        AtomicFileWriter writer(path);
        ok = writer.isOpen() && writeProjectFile(doc, writer) && writer.commit(durable);
    } catch (const std::bad_alloc&) {
        ok = false; // memory exhausted: the file is not replaced
    }
    if (!ok) {
        prompt.warn(formatMessage(kMsgCannotOpenPath, path));
        return -1;
    }
    return 0;
}

int loadDocument(EdlDocument& doc, TabList& list, Prompt& prompt) {
    TabEntry* entry = findActiveEntry(list);
    if (!entry)
        entry = list.last();
    if (entry == list.head())
        return 0;
    EdlDocument fresh;
    const LoadResult result = loadProjectFile(entry->workPath, fresh);
    if (!result) {
        entry->dropped = 1;
        doc.loaded = 0;
        try {
            switch (result.status) {
            case LoadStatus::CannotOpen:
                prompt.warn(formatMessage(kMsgCannotOpenFile, entry->path, 0), true);
                break;
            case LoadStatus::WrongFormat:
                prompt.warn(formatMessage(kMsgWrongFormat, entry->path), true);
                break;
            default:
                prompt.warn(formatMessage(kMsgNoMemoryToRead, entry->path));
                break;
            }
        } catch (const std::bad_alloc&) {
            prompt.warn(kMsgOutOfWorkMemory); // not even the message about the file could be made
        }
        return 0;
    }
    moveDocument(doc, fresh);
    entry->reloadPending = 0;
    entry->active = 1;
    return 1;
}

} // namespace qlp
