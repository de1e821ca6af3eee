#pragma once
// Writing a large file from many small pieces: the pieces are gathered into chunks of up to 1 MB,
// and each full chunk is handed to a background thread while the next one is filled, so that
// building the records of a file overlaps writing them. A file that fits in one chunk is written
// at the end, without a thread.

#include "model/byte_sink.h"
#include "model/large_block.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace qlp {

class ChunkedWriter {
public:
    static constexpr size_t kChunkSize = 1 << 20;
    // The most room() hands out at once.
    static constexpr size_t kLargestRoom = 4096;

    // `fileSize` is the number of bytes that will be written; a small file needs no chunk larger
    // than itself. The sink is used by one thread at a time, and by none once finish() returns.
    ChunkedWriter(ByteSink& sink, int64_t fileSize);
    // Waits for the background write in progress, if any; what is still queued is not written.
    ~ChunkedWriter();
    ChunkedWriter(const ChunkedWriter&) = delete;
    ChunkedWriter& operator=(const ChunkedWriter&) = delete;

    // False once a write has failed, or when no buffer could be had.
    bool ok();

    // Room for n bytes (n <= kLargestRoom) at the end of the chunk, to be filled and then added
    // with commit(n).
    uint8_t* room(size_t n) {
        if (used_ + n > capacity_)
            flush(false);
        return chunk_ + used_;
    }
    void commit(size_t n) { used_ += n; }

    void write(const void* data, size_t size);
    void zeros(size_t size);
    // UTF-16LE text.
    void wide(const char16_t* text, size_t count);
    // Bytes that stay valid and unchanged until finish() has returned, written from where they are.
    void writeInPlace(const uint8_t* data, size_t size);
    // Bytes gathered elsewhere, written from their buffer, which is freed once they are written.
    void writeBuffer(std::unique_ptr<LargeBuffer> buffer, size_t size);

    // Writes what is left and waits for every write; true when all of them succeeded.
    bool finish();

private:
    struct Piece {
        const uint8_t* data = nullptr;
        size_t size = 0;
        std::unique_ptr<LargeBuffer> owned;
        int chunk = -1; // 0 or 1 for the writer's own chunks
    };

    uint8_t* chunkData(int index) const { return index == 0 ? first_.data() : second_->data(); }
    void flush(bool last);
    // Hands a piece to the writer thread, started if need be; without one it is written here.
    void enqueue(Piece piece);
    void waitForWriter();
    bool startWriter();
    void writerLoop();

    ByteSink& sink_;
    LargeBuffer first_;
    std::unique_ptr<LargeBuffer> second_; // allocated with the writer thread
    int current_ = 0;                     // the chunk being filled
    uint8_t* chunk_ = nullptr;
    size_t capacity_ = 0;
    size_t used_ = 0;
    bool failed_ = false; // a write on this thread failed, or no buffer
    uint8_t spare_[kLargestRoom];

    // Shared with the writer thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> queue_;
    bool chunkQueued_[2] = {false, false}; // queued or being written
    bool writing_ = false;
    bool writerFailed_ = false;
    bool stopping_ = false;
    std::thread writer_;
};

} // namespace qlp
