#include "model/chunked_writer.h"

#include "model/bytes.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <system_error>

namespace qlp {

ChunkedWriter::ChunkedWriter(ByteSink& sink, int64_t fileSize)
    : sink_(sink),
      first_(static_cast<size_t>(std::clamp<int64_t>(fileSize, int64_t(kLargestRoom), int64_t(kChunkSize)))) {
    chunk_ = first_.data();
    capacity_ = first_.size();
    if (!chunk_) {
        // No memory: nothing will be written, but the pieces still have somewhere to go.
        failed_ = true;
        chunk_ = spare_;
        capacity_ = sizeof spare_;
        return;
    }
    sink_.expectSize(fileSize);
}

ChunkedWriter::~ChunkedWriter() {
    if (writer_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        writer_.join();
    }
}

bool ChunkedWriter::ok() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !failed_ && !writerFailed_;
}

void ChunkedWriter::write(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0 && !failed_) {
        // A run that fills a whole chunk by itself (the EDL text of a large list) is written from
        // where it is, once the chunks before it are written.
        if (used_ == 0 && size >= capacity_) {
            waitForWriter();
            failed_ = !ok() || !sink_.write(p, size);
            return;
        }
        if (used_ == capacity_)
            flush(false);
        const size_t n = std::min(size, capacity_ - used_);
        std::memcpy(chunk_ + used_, p, n);
        used_ += n;
        p += n;
        size -= n;
    }
}

void ChunkedWriter::zeros(size_t size) {
    while (size > 0 && !failed_) {
        if (used_ == capacity_)
            flush(false);
        const size_t n = std::min(size, capacity_ - used_);
        std::memset(chunk_ + used_, 0, n);
        used_ += n;
        size -= n;
    }
}

void ChunkedWriter::wide(const char16_t* text, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        write(text, 2 * count);
    } else {
        while (count > 0 && !failed_) {
            const size_t n = std::min(count, kLargestRoom / 2);
            writeWide(room(2 * n), text, n);
            commit(2 * n);
            text += n;
            count -= n;
        }
    }
}

void ChunkedWriter::writeInPlace(const uint8_t* data, size_t size) {
    if (size <= capacity_ - used_) {
        write(data, size); // a few bytes are cheaper to copy than to queue
        return;
    }
    if (failed_)
        return;
    flush(false);
    enqueue(Piece{data, size, nullptr, -1});
}

void ChunkedWriter::writeBuffer(std::unique_ptr<LargeBuffer> buffer, size_t size) {
    if (size <= capacity_ - used_) {
        write(buffer->data(), size);
        return;
    }
    if (failed_)
        return;
    flush(false);
    const uint8_t* data = buffer->data();
    enqueue(Piece{data, size, std::move(buffer), -1});
}

bool ChunkedWriter::finish() {
    flush(true);
    waitForWriter();
    return ok();
}

// Hands the filled chunk to the writer thread and goes on with the other one once that one is
// written. The first chunk of a file larger than one chunk starts the thread; without a thread (or
// for the last chunk of a small file) the chunk is written here.
void ChunkedWriter::flush(bool last) {
    if (used_ == 0 || failed_) {
        used_ = 0;
        return;
    }
    if (!writer_.joinable() && (last || !startWriter())) {
        failed_ = !sink_.write(chunk_, used_);
        used_ = 0;
        return;
    }
    const int filled = current_;
    enqueue(Piece{chunk_, used_, nullptr, filled});
    current_ = 1 - filled;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !chunkQueued_[current_]; });
    }
    chunk_ = chunkData(current_);
    used_ = 0;
}

void ChunkedWriter::enqueue(Piece piece) {
    if (!writer_.joinable() && !startWriter()) {
        failed_ = !sink_.write(piece.data, piece.size);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (writerFailed_) {
            failed_ = true;
            return;
        }
        if (piece.chunk >= 0)
            chunkQueued_[piece.chunk] = true;
        queue_.push_back(std::move(piece));
    }
    changed_.notify_all();
}

void ChunkedWriter::waitForWriter() {
    if (!writer_.joinable())
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

// False when the second chunk or the thread cannot be had; the file is then written on this thread.
bool ChunkedWriter::startWriter() {
    auto second = std::make_unique<LargeBuffer>(capacity_);
    if (!second->data())
        return false;
    second_ = std::move(second);
    try {
        writer_ = std::thread([this] { writerLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// Writes the queued pieces in order. Once a write has failed the rest are dropped; when the
// writer is being destroyed, only the piece in progress is completed.
void ChunkedWriter::writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
        if (stopping_) {
            queue_.clear();
            return;
        }
        Piece piece = std::move(queue_.front());
        queue_.pop_front();
        writing_ = true;
        const bool skip = writerFailed_;
        lock.unlock();
        const bool written = skip || sink_.write(piece.data, piece.size);
        piece.owned.reset();
        lock.lock();
        writerFailed_ = writerFailed_ || !written;
        if (piece.chunk >= 0)
            chunkQueued_[piece.chunk] = false;
        writing_ = false;
        changed_.notify_all();
    }
}

} // namespace qlp
