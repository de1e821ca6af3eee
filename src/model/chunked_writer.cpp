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
    failed_ = chunk_ == nullptr;
    if (!failed_)
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

bool ChunkedWriter::finish() {
    flush(true);
    waitForWriter();
    return ok();
}

// Hands the filled chunk to the writer thread and goes on with the other one. The first chunk of a
// file larger than one chunk starts the thread; without a thread (or for the last chunk of a small
// file) the chunk is written here.
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
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return pending_ == nullptr; });
        if (writerFailed_) {
            failed_ = true;
        } else {
            pending_ = chunk_;
            pendingSize_ = used_;
        }
    }
    changed_.notify_all();
    chunk_ = chunk_ == first_.data() ? second_->data() : first_.data();
    used_ = 0;
}

void ChunkedWriter::waitForWriter() {
    if (!writer_.joinable())
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return pending_ == nullptr; });
}

// False when the second chunk or the thread cannot be had; the file is then written on this thread.
bool ChunkedWriter::startWriter() {
    auto second = std::make_unique<LargeBuffer>(capacity_);
    if (!second->data())
        return false;
    try {
        writer_ = std::thread([this] { writerLoop(); });
    } catch (const std::system_error&) {
        return false;
    }
    second_ = std::move(second);
    return true;
}

void ChunkedWriter::writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ != nullptr || stopping_; });
        if (pending_ == nullptr)
            return;
        const uint8_t* data = pending_;
        const size_t size = pendingSize_;
        lock.unlock();
        const bool written = sink_.write(data, size);
        lock.lock();
        writerFailed_ = writerFailed_ || !written;
        pending_ = nullptr;
        changed_.notify_all();
    }
}

} // namespace qlp
