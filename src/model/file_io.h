#pragma once
// Portable file operations on UTF-16 paths, and a writer that replaces a file only once its new
// content is completely written.

#include "model/byte_sink.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

std::filesystem::path toFsPath(std::u16string_view path);
std::u16string fromFsPath(const std::filesystem::path& path);
std::u16string joinPath(std::u16string_view directory, std::u16string_view name);

// The questions and operations below never throw: a path that cannot even be built (memory
// exhausted) answers false, -1 or null.
bool pathExists(std::u16string_view path) noexcept;
bool isRegularFile(std::u16string_view path) noexcept;
// -1 when the file cannot be examined.
int64_t fileSize(std::u16string_view path) noexcept;
// Copies a regular file over `to` through AtomicFileWriter: a failure leaves `to` as it was.
// durable also waits until the copy is on the disk (a user's file).
bool copyFileOver(std::u16string_view from, std::u16string_view to, bool durable = false) noexcept;
bool removeFile(std::u16string_view path) noexcept;

// fopen on a UTF-16 path; mode is a plain C mode string such as "rb".
std::FILE* openFile(std::u16string_view path, const char* mode) noexcept;

// Reads a whole regular file; false when it cannot be opened or read.
bool readWholeFile(std::u16string_view path, std::vector<uint8_t>& bytes);

// Writes a file beside its target and renames it over the target on commit(), so a reader never
// sees a half-written file and a failed write leaves the old file as it was. A target marked
// read-only (no write permission) is refused: the writer does not open, and the file stays. On Linux the new
// file's storage is reserved before writing (so the file system has no blocks left to allocate
// when the rename replaces a file), and the file being replaced is held open until the rename has
// succeeded and then closed on a thread of its own, so that freeing its storage (milliseconds for a
// large file) does not delay the caller.
class AtomicFileWriter : public ByteSink {
public:
    explicit AtomicFileWriter(std::u16string_view target);
    ~AtomicFileWriter(); // discards an uncommitted temporary file
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    bool write(const void* data, size_t size) override;
    // Reserves the file's storage up front where the system allows it.
    void expectSize(int64_t size) override;
    // Flushes (to the disk when durable), closes and replaces the target; false on any failure.
    bool commit(bool durable);
    bool failed() const { return failed_; }

private:
    std::u16string target_;
    std::u16string temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    int replaced_ = -1; // the file being replaced, held open so that the rename does not free it
};

} // namespace qlp
