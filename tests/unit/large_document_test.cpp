// Large documents: recycled memory blocks, loading into memory that held another document, and
// converting an EDL of many chunks, checked against the in-memory paths.

#include "edl_generator.h"
#include "model/arena.h"
#include "model/cp932.h"
#include "model/edl_reader.h"
#include "model/large_block.h"
#include "model/project_file.h"
#include "model/records.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace qlp;
using namespace qlp::test;
using namespace std::string_literals;

namespace {

bool allZero(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    return std::all_of(p, p + size, [](uint8_t b) { return b == 0; });
}

// A generated EDL of `events` events: comments (some in CP932, some 300 characters long), edits
// over two lines, drop-frame and non-drop-frame sources, speeds and reels of every length.
std::string largeEdl(int events) {
    bench::EdlGeneratorOptions options;
    options.events = events;
    options.seed = 9100;
    options.longComments = true;
    return bench::generateEdl(options);
}

TEST(LargeBlock, RecycledBlocksAreZeroFilledWhenAskedFor) {
    // Blocks of several sizes, each dirtied before it goes back, so that later requests are
    // served from blocks that held other data.
    for (const size_t size : {size_t(3) << 20, size_t(8) << 20, size_t(5) << 20, size_t(8) << 20}) {
        auto* block = static_cast<uint8_t*>(allocateLargeBlock(size));
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(allZero(block, size)) << size;
        std::memset(block, 0xA5, size);
        freeLargeBlock(block, size);
    }
    // Unfilled blocks are usable whole.
    auto* raw = static_cast<uint8_t*>(allocateLargeBlock(size_t(6) << 20, false));
    ASSERT_NE(raw, nullptr);
    std::memset(raw, 0x5A, size_t(6) << 20);
    freeLargeBlock(raw, size_t(6) << 20);
}

TEST(LargeBlock, ArenaZeroFillsEveryRequestThatAsks) {
    Arena arena;
    // The first request of a small block is unfilled, so the block is not known to be zero.
    auto* raw = arena.allocateForOverwrite<uint8_t>(1000);
    ASSERT_NE(raw, nullptr);
    std::memset(raw, 0xFF, 1000);
    auto* zeroed = arena.allocate<uint32_t>(100);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_TRUE(allZero(zeroed, 100 * sizeof(uint32_t)));
    // The same for a large block taken from the cache after holding other data.
    auto* dirty = static_cast<uint8_t*>(allocateLargeBlock(size_t(2) << 20, false));
    std::memset(dirty, 0x77, size_t(2) << 20);
    freeLargeBlock(dirty, size_t(2) << 20);
    auto* big = arena.allocate<uint8_t>(size_t(2) << 20);
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(allZero(big, size_t(2) << 20));
}

TEST(LargeBlock, BuffersOfEverySize) {
    for (const size_t size : {size_t(0), size_t(100), size_t(64) << 10, size_t(3) << 20}) {
        LargeBuffer buffer(size);
        ASSERT_NE(buffer.data(), nullptr) << size;
        EXPECT_EQ(buffer.size(), size);
        std::memset(buffer.data(), 1, size);
    }
}

TEST(Cp932, DecodedLengthCountsWhatDecodeReturns) {
    const std::string cases[] = {
        "",         "abc",      "\x82\xA0\x82\xA2", "\x82",         "ab\x82",   "\x82\0x"s,
        "\x81\x20", "\x81\x7F", "\x81\xFD",         "\x80\xA0\xFD", "\xB1\xB2", "\xE0\x40\xFC\xFC\x82",
    };
    for (const std::string& bytes : cases)
        EXPECT_EQ(cp932::decodedLength(bytes), cp932::decode(bytes).size()) << bytes;
    std::mt19937 random(932);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 40, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 4 == 0 ? 0x81 + random() % 31 : random());
        EXPECT_EQ(cp932::decodedLength(bytes), cp932::decode(bytes).size());
    }
}

// Files of up to 15,000 events (about 15 MB, the EDL over 1 MB) are written in many chunks,
// records and comments cut by their ends, from an EDL in a reused buffer. The events made while the
// first pass is still running are held and completed later - all of them in a small file, some in a
// large one, a different number each time. The bytes must always be those of the in-memory writer.
TEST(LargeDocument, FileConversionMatchesTheInMemoryWriter) {
    ScratchDir scratch;
    for (const int events : {1, 40, 2500, 15000}) {
        const std::string edl = largeEdl(events);
        if (events == 15000) {
            ASSERT_GT(edl.size(), size_t(1) << 20);
        }
        writeBytes(scratch.file("LARGE.EDL"), edl);
        MemorySink expected;
        ASSERT_TRUE(writeWorkFile(parseEdl(edl), edl, expected));
        // Later rounds run on the buffers the earlier ones gave back.
        for (int round = 0; round < 3; ++round) {
            ASSERT_EQ(convertEdlFile(u16(scratch.file("LARGE.EDL")), u16(scratch.file("LARGE.QLP"))),
                      ConvertStatus::Ok);
            EXPECT_TRUE(readBytes(scratch.file("LARGE.QLP")) == expected.bytes) << events << " round " << round;
        }
    }
}

// Loading through the file's chunks, comments cut by a chunk's end included, gives the document that
// loading the same bytes from memory gives; and loading a document into one whose memory held
// another leaves nothing of the first behind the views' counts or in the spare record.
TEST(LargeDocument, LoadingReusesMemoryWithoutLeftovers) {
    ScratchDir scratch;
    const std::string first = largeEdl(3000);
    MemorySink firstWork;
    ASSERT_TRUE(writeWorkFile(parseEdl(first), first, firstWork));
    const std::string edl = largeEdl(2800);
    MemorySink work;
    ASSERT_TRUE(writeWorkFile(parseEdl(edl), edl, work));

    // A first, longer document with every event a search hit and kReelUsage full, saved and loaded.
    EdlDocument doc;
    ASSERT_EQ(loadProjectImage(firstWork.bytes.data(), firstWork.bytes.size(), doc), LoadStatus::Ok);
    for (int32_t i = 0; i < doc.eventCount(); ++i) {
        doc.events[i].searchHit = 1;
        doc.events[i].reelIndex = 0;
    }
    const std::string hits = scratch.file("HITS.QLP");
    RecordingPrompt prompt;
    ASSERT_EQ(saveDocument(u16(hits), doc, prompt, false), 0);
    ASSERT_EQ(loadProjectFile(u16(hits), doc), LoadStatus::Ok);
    ASSERT_EQ(doc.viewCount[kSearchResult], doc.eventCount());
    ASSERT_EQ(doc.viewCount[kReelUsage], doc.eventCount());

    // A shorter plain work file loaded over it, from the file and from memory.
    writeBytes(scratch.file("WORK.QLP"), std::string(work.bytes.begin(), work.bytes.end()));
    ASSERT_EQ(loadProjectFile(u16(scratch.file("WORK.QLP")), doc), LoadStatus::Ok);
    EdlDocument fromMemory;
    ASSERT_EQ(loadProjectImage(work.bytes.data(), work.bytes.size(), fromMemory), LoadStatus::Ok);

    const int32_t n = doc.eventCount();
    ASSERT_EQ(n, 2800);
    EXPECT_TRUE(allZero(&doc.events[n], sizeof(EdlEvent)));
    for (int v = 0; v < 3; ++v) {
        ASSERT_EQ(doc.viewCount[v], fromMemory.viewCount[v]) << v;
        for (int32_t i = doc.viewCount[v]; i <= n; ++i)
            ASSERT_EQ(doc.view[v][i], nullptr) << "view " << v << " slot " << i;
    }
    MemorySink a;
    MemorySink b;
    ASSERT_TRUE(writeProjectFile(doc, a));
    ASSERT_TRUE(writeProjectFile(fromMemory, b));
    EXPECT_TRUE(a.bytes == b.bytes);
}

} // namespace
