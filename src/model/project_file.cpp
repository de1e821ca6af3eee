#include "model/project_file.h"

#include "model/bytes.h"
#include "model/chunked_writer.h"
#include "model/file_io.h"
#include "model/large_block.h"
#include "model/messages.h"
#include "model/records.h"
#include "ops/sort.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace qlp {

namespace {

// Loading reads chunks small enough to be still in the core's own cache when their events are
// copied out.
constexpr size_t kChunkSize = 256 * 1024;
constexpr int32_t kNoteBlockMinimum = kNoteRecordSize + 2 * kNoteTitleLength;

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

// Views 0 to 2: all events, the search hits, the events of the filtered reel. Each event is added
// as soon as it is read, while its record is still in the cache.
class ViewBuilder {
public:
    explicit ViewBuilder(EdlDocument& doc) : doc_(doc) {}

    void add(EdlEvent* ev) {
        doc_.view[0][all_++] = ev;
        if (ev->searchHit)
            doc_.view[1][hits_++] = ev;
        if (ev->reelIndex == doc_.reelFilter)
            doc_.view[2][reelRows_++] = ev;
    }

    // Sets the counts and orders views 1 and 2 by their stored sort state. The arrays come unfilled
    // from the arena, so the slots past each count are set to null here.
    void finish() {
        const int32_t n = doc_.viewCount[0];
        doc_.viewCount[1] = hits_;
        doc_.viewCount[2] = reelRows_;
        std::fill(doc_.view[0] + all_, doc_.view[0] + n + 1, nullptr);
        std::fill(doc_.view[1] + hits_, doc_.view[1] + n + 1, nullptr);
        std::fill(doc_.view[2] + reelRows_, doc_.view[2] + n + 1, nullptr);
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

LoadStatus readProject(ChunkReader& in, EdlDocument& doc) {
    const uint8_t* magic = in.take(kMagicSize);
    if (!magic)
        return LoadStatus::WrongFormat;
    char16_t magicText[16];
    readWide(magic, magicText, 16);
    if (std::u16string_view(magicText, 16) != kProjectMagic)
        return LoadStatus::WrongFormat;
    const uint8_t* header = in.take(kHeaderSize);
    if (!header)
        return LoadStatus::WrongFormat;
    readHeaderImage(header, doc);
    terminateHeaderTexts(doc);
    updateOffsetDisplayText(doc);

    const int64_t events = doc.viewCount[0];
    const int64_t reels = doc.reelCount;
    const int64_t notes = doc.noteCount;
    if (events < 0 || reels < 0 || notes < 0 || (events > 0 && reels == 0))
        return LoadStatus::WrongFormat;
    if (!in.fits(doc.sourceTextOffset, int64_t(doc.reelNamesOffset) - doc.sourceTextOffset) ||
        !in.fits(doc.reelNamesOffset, 14 * reels) || !in.fits(doc.reelCountsOffset, 4 * reels) ||
        !in.fits(doc.reelCommentsOffset, 98 * reels) || !in.fits(doc.eventsOffset, kEventRecordSize * events) ||
        (notes > 0 && !in.fits(doc.notesOffset, kNoteBlockMinimum * notes)))
        return LoadStatus::WrongFormat;
    if (doc.currentView < 0 || doc.currentView > 2)
        doc.currentView = 0;
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
    doc.reelUseCounts = heap.allocate<int32_t>(static_cast<size_t>(reels) + 1);
    doc.reelNames = heap.allocate<char16_t[kReelNameLength]>(static_cast<size_t>(reels) + 1);
    doc.reelComments = heap.allocate<char16_t[kReelCommentLength]>(static_cast<size_t>(reels) + 1);
    doc.sourceTextSize = doc.reelNamesOffset - doc.sourceTextOffset;
    auto* sourceText = heap.allocateForOverwrite<uint8_t>(static_cast<size_t>(doc.sourceTextSize) + 1);
    doc.sourceText = sourceText;
    if (!doc.events || !doc.view[0] || !doc.view[1] || !doc.view[2] || !doc.reelUseCounts || !doc.reelNames ||
        !doc.reelComments || !sourceText)
        return LoadStatus::NoMemory;
    // The record after the last event stays zero-filled, and the text keeps a terminator.
    std::memset(static_cast<void*>(doc.events + events), 0, sizeof(EdlEvent));
    sourceText[doc.sourceTextSize] = 0;

    if (!in.seek(doc.sourceTextOffset) || !in.read(sourceText, static_cast<size_t>(doc.sourceTextSize)))
        return LoadStatus::WrongFormat;
    if (!in.seek(doc.reelNamesOffset))
        return LoadStatus::WrongFormat;
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(14);
        if (!p)
            return LoadStatus::WrongFormat;
        readWide(p, doc.reelNames[r], kReelNameLength);
        terminate(doc.reelNames[r]);
    }
    if (!in.seek(doc.reelCountsOffset))
        return LoadStatus::WrongFormat;
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(4);
        if (!p)
            return LoadStatus::WrongFormat;
        doc.reelUseCounts[r] = readI32(p);
    }
    if (!in.seek(doc.reelCommentsOffset))
        return LoadStatus::WrongFormat;
    for (int64_t r = 0; r < reels; ++r) {
        const uint8_t* p = in.take(98);
        if (!p)
            return LoadStatus::WrongFormat;
        readWide(p, doc.reelComments[r], kReelCommentLength);
        terminate(doc.reelComments[r]);
    }

    if (!in.seek(doc.eventsOffset))
        return LoadStatus::WrongFormat;
    ViewBuilder views(doc);
    for (int64_t i = 0; i < events; ++i) {
        EdlEvent& ev = doc.events[i];
        const uint8_t* p = in.take(kEventRecordSize);
        if (!p)
            return LoadStatus::WrongFormat;
        readEventImage(p, ev);
        terminate(ev.text);
        if (ev.optionCommentLength < 0 || ev.workMemoLength < 0 ||
            (ev.optionCommentLength != 0) != (ev.hasOptionComment != 0) ||
            (ev.workMemoLength != 0) != (ev.hasWorkMemo != 0) || ev.marker < 0 || ev.marker > kNoMarker ||
            ev.reelIndex < 0 || ev.reelIndex >= reels)
            return LoadStatus::WrongFormat;
        for (auto [length, text] : {std::pair{ev.optionCommentLength, &ev.optionComment},
                                    std::pair{ev.workMemoLength, &ev.workMemo}}) {
            if (length == 0)
                continue;
            // Checked before allocating: the text must be in the file.
            if (2 * int64_t(length) > in.remaining())
                return LoadStatus::WrongFormat;
            char16_t* buffer = heap.allocate<char16_t>(static_cast<size_t>(length) + 1);
            if (!buffer)
                return LoadStatus::NoMemory;
            if (!in.read(buffer, 2 * static_cast<size_t>(length)))
                return LoadStatus::WrongFormat;
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
        return LoadStatus::WrongFormat;
    SimpleNote* tail = doc.noteHead;
    for (int64_t n = 0; n < notes; ++n) {
        const uint8_t* p = in.take(kNoteRecordSize);
        if (!p)
            return LoadStatus::WrongFormat;
        auto* note = new (std::nothrow) SimpleNote;
        if (!note)
            return LoadStatus::NoMemory;
        readNoteImage(p, *note);
        note->prev = tail;
        tail->next = note;
        tail = note;
        const uint8_t* title = in.take(2 * kNoteTitleLength);
        if (!title)
            return LoadStatus::WrongFormat;
        readWide(title, note->title, kNoteTitleLength);
        terminate(note->title);
        if (note->bodySize < 0)
            return LoadStatus::WrongFormat;
        if (note->bodySize > 0) {
            const int64_t area = 2 * int64_t(note->bodySize);
            if (area > in.remaining())
                return LoadStatus::WrongFormat;
            // Allocated as characters so the body is aligned for them: area + 2 bytes.
            char16_t* body = heap.allocate<char16_t>(static_cast<size_t>(note->bodySize) + 1);
            if (!body)
                return LoadStatus::NoMemory;
            if (!in.read(body, static_cast<size_t>(area)))
                return LoadStatus::WrongFormat;
            note->body = body;
            note->body[area / 2] = 0;
            // The text ends within its first bodySize bytes.
            note->body[std::max<int64_t>(0, note->bodySize / 2 - 1)] = 0;
        }
    }
    doc.loaded = 1;
    return LoadStatus::Ok;
}

LoadStatus finishLoad(LoadStatus status, EdlDocument& doc) {
    if (status != LoadStatus::Ok)
        releaseDocument(doc);
    return status;
}

} // namespace

LoadStatus loadProjectFile(std::u16string_view path, EdlDocument& doc) {
    releaseDocument(doc);
    const int64_t size = fileSize(path);
    std::FILE* f = (size >= 0 && isRegularFile(path)) ? openFile(path, "rb") : nullptr;
    if (!f)
        return LoadStatus::CannotOpen;
    ChunkReader in(f, size);
    const LoadStatus status = readProject(in, doc);
    std::fclose(f);
    return finishLoad(status, doc);
}

LoadStatus loadProjectImage(const uint8_t* data, size_t size, EdlDocument& doc) {
    releaseDocument(doc);
    ChunkReader in(data, size);
    return finishLoad(readProject(in, doc), doc);
}

bool writeProjectFile(EdlDocument& doc, ByteSink& sink) {
    const int64_t reels = doc.reelCount;
    const int32_t events = doc.viewCount[0];
    EdlEvent** order = doc.view[0];

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

    const int64_t sourceTextOffset = kMagicSize + kHeaderSize;
    const int64_t reelNamesOffset = sourceTextOffset + doc.sourceTextSize;
    const int64_t eventsOffset = reelNamesOffset + (14 + 4 + 98) * reels;
    if (eventsOffset + eventBytes > INT32_MAX)
        return false; // the format's offsets are 32-bit
    doc.sourceTextOffset = static_cast<int32_t>(sourceTextOffset);
    doc.reelNamesOffset = static_cast<int32_t>(reelNamesOffset);
    doc.reelCountsOffset = static_cast<int32_t>(reelNamesOffset + 14 * reels);
    doc.reelCommentsOffset = static_cast<int32_t>(doc.reelCountsOffset + 4 * reels);
    doc.eventsOffset = static_cast<int32_t>(eventsOffset);
    doc.notesOffset = static_cast<int32_t>(eventsOffset + eventBytes);
    doc.noteCount = noteCount;

    ChunkedWriter out(sink, eventsOffset + eventBytes + noteBytes);
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
        out.write(image, 4);
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

int saveDocument(std::u16string_view path, EdlDocument& doc, Prompt& prompt, bool durable) {
    AtomicFileWriter writer(path);
    bool ok = writer.isOpen();
    if (ok) {
        ok = writeProjectFile(doc, writer) && writer.commit(durable);
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
    const LoadStatus status = loadProjectFile(entry->workPath, fresh);
    if (status != LoadStatus::Ok) {
        switch (status) {
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
        entry->dropped = 1;
        doc.loaded = 0;
        return 0;
    }
    moveDocument(doc, fresh);
    entry->reloadPending = 0;
    entry->active = 1;
    return 1;
}

int openProjectFiles(TabList& list, std::u16string_view paths, int kind, Prompt& prompt) {
    const bool multiple = kind == 3;
    TabEntry* firstNew = nullptr;
    int result = 1;
    for (const std::u16string& path : expandSelection(paths, multiple)) {
        if (!pathExists(path)) {
            prompt.warn(formatMessage(kMsgFileNotFound, path));
            if (!multiple)
                return 0;
            continue;
        }
        TabEntry* entry = list.append();
        if (!entry) {
            prompt.warn(kMsgOutOfWorkMemory);
            result = 0;
            break;
        }
        entry->path = path;
        entry->saveState = kSaved;
        if (!firstNew)
            firstNew = entry;
    }
    for (TabEntry* entry = firstNew; entry; entry = entry->next) {
        resolveDuplicate(list, entry, prompt);
        entry->workPath = list.workPathFor(list.nextFileId);
        if (!entry->dropped && !entry->workFileReady) {
            if (copyFileOver(entry->path, entry->workPath))
                entry->workFileReady = 1;
            else
                entry->dropped = 1;
        }
        entry->fileId = list.nextFileId++;
    }
    return result;
}

} // namespace qlp
