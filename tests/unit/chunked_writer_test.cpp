// Writing files in chunks on a background thread, and replacing a file on commit: the bytes arrive
// complete and in order whatever the mix of writes, failures reach the caller, and a replaced file
// is replaced whole or not at all.

#include "model/chunked_writer.h"
#include "model/file_io.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <random>
#include <thread>

using namespace qlp;
using namespace qlp::test;

namespace {

// Records what it receives; can be slowed down, and made to fail from a given write on.
class RecordingSink : public ByteSink {
public:
    std::vector<uint8_t> bytes;
    std::vector<int64_t> expected;
    int writes = 0;
    int failFrom = -1;
    std::chrono::microseconds delay{0};
    std::atomic<bool> onOtherThread{false};
    std::thread::id producer = std::this_thread::get_id();

    bool write(const void* data, size_t size) override {
        if (std::this_thread::get_id() != producer)
            onOtherThread = true;
        if (delay.count() > 0)
            std::this_thread::sleep_for(delay);
        if (failFrom >= 0 && writes >= failFrom)
            return false;
        ++writes;
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    void expectSize(int64_t size) override { expected.push_back(size); }
};

// Every way of writing, mixed at random, mirrored into `reference`. Bytes written in place are
// kept in `kept` until the writer has finished.
void writeMixture(ChunkedWriter& out, std::vector<uint8_t>& reference, size_t total, unsigned seed,
                  std::deque<std::vector<uint8_t>>& kept) {
    std::mt19937 random(seed);
    while (reference.size() < total) {
        const size_t left = total - reference.size();
        switch (random() % 7) {
        case 5: { // in place, small or over a chunk
            const size_t n = std::min<size_t>(left, random() % 2 ? random() % 100
                                                                 : ChunkedWriter::kChunkSize / 2 +
                                                                       random() % ChunkedWriter::kChunkSize);
            std::vector<uint8_t>& piece = kept.emplace_back(n);
            for (uint8_t& b : piece)
                b = static_cast<uint8_t>(random());
            out.writeInPlace(piece.data(), n);
            reference.insert(reference.end(), piece.begin(), piece.end());
            break;
        }
        case 6: { // a buffer handed over
            const size_t n = std::min<size_t>(left, 1 + random() % (3 * ChunkedWriter::kChunkSize));
            auto buffer = std::make_unique<LargeBuffer>(n);
            for (size_t i = 0; i < n; ++i)
                reference.push_back(buffer->data()[i] = static_cast<uint8_t>(random()));
            out.writeBuffer(std::move(buffer), n);
            break;
        }
        case 0: { // a record built in place
            const size_t n = std::min<size_t>(left, 1 + random() % ChunkedWriter::kLargestRoom);
            uint8_t* p = out.room(n);
            for (size_t i = 0; i < n; ++i)
                reference.push_back(p[i] = static_cast<uint8_t>(random()));
            out.commit(n);
            break;
        }
        case 1: { // a copy, now and then larger than a chunk
            const size_t n = std::min<size_t>(left, random() % 7 == 0 ? ChunkedWriter::kChunkSize + random() % 5000
                                                                      : random() % 3000);
            std::vector<uint8_t> piece(n);
            for (uint8_t& b : piece)
                b = static_cast<uint8_t>(random());
            out.write(piece.data(), n);
            reference.insert(reference.end(), piece.begin(), piece.end());
            break;
        }
        case 2: {
            const size_t n = std::min<size_t>(left, random() % 2000);
            out.zeros(n);
            reference.insert(reference.end(), n, 0);
            break;
        }
        default: {
            const size_t n = std::min<size_t>(left / 2, random() % 600);
            std::u16string text(n, u'\0');
            for (char16_t& c : text)
                c = static_cast<char16_t>(random());
            out.wide(text.data(), n);
            for (char16_t c : text) {
                reference.push_back(static_cast<uint8_t>(c));
                reference.push_back(static_cast<uint8_t>(c >> 8));
            }
            if (n == 0 && left > 0) { // an odd byte left over
                out.zeros(1);
                reference.push_back(0);
            }
            break;
        }
        }
    }
}

TEST(ChunkedWriter, BytesArriveCompleteAndInOrder) {
    for (const size_t total : {size_t(0), size_t(100), size_t(5000), size_t(ChunkedWriter::kChunkSize),
                               size_t(3 * ChunkedWriter::kChunkSize + 777), size_t(9 * ChunkedWriter::kChunkSize)}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            RecordingSink sink;
            std::vector<uint8_t> reference;
            std::deque<std::vector<uint8_t>> kept;
            {
                ChunkedWriter out(sink, static_cast<int64_t>(total));
                writeMixture(out, reference, total, seed, kept);
                EXPECT_TRUE(out.finish());
            }
            ASSERT_EQ(sink.bytes.size(), reference.size()) << total << " seed " << seed;
            EXPECT_TRUE(sink.bytes == reference) << total << " seed " << seed;
            EXPECT_EQ(sink.expected, std::vector<int64_t>{static_cast<int64_t>(total)});
            // A file that fits in one chunk is written without a thread.
            if (total <= ChunkedWriter::kChunkSize) {
                EXPECT_FALSE(sink.onOtherThread.load()) << total;
            } else if (total > 4 * ChunkedWriter::kChunkSize) {
                EXPECT_TRUE(sink.onOtherThread.load()) << total;
            }
        }
    }
}

TEST(ChunkedWriter, ASlowDiskKeepsTheOrder) {
    RecordingSink sink;
    sink.delay = std::chrono::microseconds(3000);
    std::vector<uint8_t> reference;
    std::deque<std::vector<uint8_t>> kept;
    const size_t total = 6 * ChunkedWriter::kChunkSize + 12345;
    ChunkedWriter out(sink, static_cast<int64_t>(total));
    writeMixture(out, reference, total, 7, kept);
    EXPECT_TRUE(out.finish());
    EXPECT_TRUE(sink.bytes == reference);
}

TEST(ChunkedWriter, AFailedWriteIsReportedAndNothingIsWrittenAfterIt) {
    for (const int failFrom : {0, 1, 3}) {
        RecordingSink sink;
        sink.failFrom = failFrom;
        std::vector<uint8_t> reference;
        std::deque<std::vector<uint8_t>> kept;
        const size_t total = 8 * ChunkedWriter::kChunkSize;
        ChunkedWriter out(sink, static_cast<int64_t>(total));
        writeMixture(out, reference, total, 11, kept);
        EXPECT_FALSE(out.ok()) << failFrom;
        EXPECT_FALSE(out.finish()) << failFrom;
        EXPECT_EQ(sink.writes, failFrom);
        // What did arrive is the start of the file.
        ASSERT_LE(sink.bytes.size(), reference.size());
        EXPECT_TRUE(std::equal(sink.bytes.begin(), sink.bytes.end(), reference.begin()));
    }
    // A small file fails at the end.
    RecordingSink sink;
    sink.failFrom = 0;
    ChunkedWriter out(sink, 10);
    out.write("0123456789", 10);
    EXPECT_FALSE(out.finish());
}

TEST(ChunkedWriter, LeavingWithoutFinishingWaitsForTheBackgroundWrite) {
    RecordingSink sink;
    sink.delay = std::chrono::microseconds(20000);
    std::vector<uint8_t> reference;
    std::deque<std::vector<uint8_t>> kept;
    {
        ChunkedWriter out(sink, 4 * ChunkedWriter::kChunkSize);
        writeMixture(out, reference, 2 * ChunkedWriter::kChunkSize + 10, 5, kept);
    } // no finish(): the chunk in flight completes, the rest is dropped
    EXPECT_LE(sink.bytes.size(), reference.size());
    EXPECT_TRUE(std::equal(sink.bytes.begin(), sink.bytes.end(), reference.begin()));
}

TEST(AtomicFileWriter, ReplacesAFileWholeOrNotAtAll) {
    ScratchDir dir;
    const std::string target = dir.file("target.QLP");
    const std::string big(3 << 20, 'o');
    writeBytes(target, big);

    // A replaced file that is still open elsewhere keeps its content for that reader.
    std::FILE* reader = std::fopen(target.c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    {
        AtomicFileWriter writer(u16(target));
        ASSERT_TRUE(writer.isOpen());
        writer.expectSize(4);
        EXPECT_TRUE(writer.write("new!", 4));
        // Nothing is visible before the commit.
        EXPECT_EQ(readBytes(target).size(), big.size());
        EXPECT_TRUE(writer.commit(false));
    }
    EXPECT_EQ(readBytes(target), (std::vector<uint8_t>{'n', 'e', 'w', '!'}));
    EXPECT_EQ(std::filesystem::file_size(target), 4u); // the reservation does not lengthen the file
    char first = 0;
    EXPECT_EQ(std::fread(&first, 1, 1, reader), 1u);
    EXPECT_EQ(first, 'o');
    std::fclose(reader);

    // Without a commit the target stays as it was and no temporary file is left.
    {
        AtomicFileWriter writer(u16(target));
        writer.expectSize(1000);
        EXPECT_TRUE(writer.write("abandoned", 9));
    }
    EXPECT_EQ(readBytes(target), (std::vector<uint8_t>{'n', 'e', 'w', '!'}));
    EXPECT_FALSE(std::filesystem::exists(target + ".qlp-saving"));

    // A file with a second name: the other name keeps the old content.
    const std::string other = dir.file("other.QLP");
    std::error_code ec;
    std::filesystem::create_hard_link(target, other, ec);
    if (!ec) {
        AtomicFileWriter writer(u16(target));
        EXPECT_TRUE(writer.write("v3", 2));
        EXPECT_TRUE(writer.commit(true));
        EXPECT_EQ(readBytes(target), (std::vector<uint8_t>{'v', '3'}));
        EXPECT_EQ(readBytes(other), (std::vector<uint8_t>{'n', 'e', 'w', '!'}));
    }
}

} // namespace
