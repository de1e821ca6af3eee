#include "model/file_io.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <fcntl.h>
#include <thread>
#endif

namespace qlp {

namespace fs = std::filesystem;

namespace {

#ifdef __linux__

// The file that renaming onto `path` would free, opened without following a link or waiting on a
// special file; -1 when there is none, or when the rename would not free it (another link).
int openReplacedFile(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
        close(fd);
        return -1;
    }
    return fd;
}

// Closing the last reference to a replaced file frees its pages and blocks, which takes
// milliseconds for a large file: that is done on a thread of its own.
void closeInBackground(int fd) noexcept {
    try {
        std::thread([fd] { close(fd); }).detach();
    } catch (const std::exception&) { // no thread, or no memory for one
        close(fd);
    }
}

#endif

// A target that exists but must not be written: on Windows a file with the read-only attribute
// (which a rename would silently replace), elsewhere a file with no write permission at all or
// none for this user. Renaming over it would drop that mark, so the save is refused instead.
bool isReadOnlyTarget(const fs::path& path) {
#ifdef _WIN32
    return _waccess(path.c_str(), 0) == 0 && _waccess(path.c_str(), 2) != 0;
#else
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0;
#endif
}

// The answer of a file-system question, or `failed` when the question could not even be put
// (memory exhausted for the path): these run inside window commands, which must not throw.
template <typename T, typename Question> T answer(T failed, Question question) noexcept {
    try {
        return question();
    } catch (const std::exception&) {
        return failed;
    }
}

} // namespace

fs::path toFsPath(std::u16string_view path) {
    return fs::path(std::u16string(path));
}

std::u16string fromFsPath(const fs::path& path) {
    return path.u16string();
}

std::u16string joinPath(std::u16string_view directory, std::u16string_view name) {
    std::u16string out(directory);
    if (!out.empty() && out.back() != kPathSeparator && out.back() != u'/')
        out.push_back(kPathSeparator);
    out.append(name);
    return out;
}

bool pathExists(std::u16string_view path) noexcept {
    return answer(false, [&] {
        std::error_code ec;
        return !path.empty() && fs::exists(toFsPath(path), ec);
    });
}

bool isRegularFile(std::u16string_view path) noexcept {
    return answer(false, [&] {
        std::error_code ec;
        return !path.empty() && fs::is_regular_file(toFsPath(path), ec);
    });
}

int64_t fileSize(std::u16string_view path) noexcept {
    return answer(int64_t(-1), [&] {
        std::error_code ec;
        const auto size = fs::file_size(toFsPath(path), ec);
        return ec ? -1 : static_cast<int64_t>(size);
    });
}

bool copyFileOver(std::u16string_view from, std::u16string_view to, bool durable) noexcept {
    return answer(false, [&] {
        if (!isRegularFile(from))
            return false;
        std::FILE* in = openFile(from, "rb");
        if (!in)
            return false;
        AtomicFileWriter out(to);
        bool ok = out.isOpen();
        if (ok)
            out.expectSize(fileSize(from));
        std::vector<uint8_t> buffer(256 * 1024);
        while (ok) {
            const size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
            if (got == 0)
                break;
            ok = out.write(buffer.data(), got);
        }
        ok = ok && !std::ferror(in);
        std::fclose(in);
        return ok && out.commit(durable);
    });
}

bool removeFile(std::u16string_view path) noexcept {
    return answer(false, [&] {
        std::error_code ec;
        return fs::remove(toFsPath(path), ec);
    });
}

std::FILE* openFile(std::u16string_view path, const char* mode) noexcept {
    return answer(static_cast<std::FILE*>(nullptr), [&] {
#ifdef _WIN32
        std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
        return _wfopen(toFsPath(path).c_str(), wmode.c_str());
#else
        return std::fopen(toFsPath(path).c_str(), mode);
#endif
    });
}

bool readWholeFile(std::u16string_view path, std::vector<uint8_t>& bytes) {
    if (!isRegularFile(path))
        return false;
    std::FILE* f = openFile(path, "rb");
    if (!f)
        return false;
    bytes.clear();
    bool ok = true;
    const int64_t size = fileSize(path);
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    // A file that grew since its size was taken is read to its end.
    uint8_t chunk[4096];
    size_t got;
    while (ok && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    ok = ok && !std::ferror(f);
    std::fclose(f);
    return ok;
}

AtomicFileWriter::AtomicFileWriter(std::u16string_view target) : target_(target) {
    temp_ = target_ + u".qlp-saving";
#ifdef __linux__
    // Everything that can run out of memory comes before the temporary file is created, so that a
    // constructor that throws leaves no file behind.
    const fs::path targetPath = toFsPath(target_);
#endif
    if (isReadOnlyTarget(toFsPath(target_))) {
        failed_ = true;
        return;
    }
    file_ = openFile(temp_, "wb");
    failed_ = file_ == nullptr;
#ifdef __linux__
    if (file_)
        replaced_ = openReplacedFile(targetPath);
#endif
}

AtomicFileWriter::~AtomicFileWriter() {
    if (file_) {
        std::fclose(file_);
        removeFile(temp_);
    }
#ifdef __linux__
    if (replaced_ >= 0)
        close(replaced_);
#endif
}

bool AtomicFileWriter::write(const void* data, size_t size) {
    if (failed_ || !file_)
        return false;
    if (size && std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    return !failed_;
}

void AtomicFileWriter::expectSize(int64_t size) {
#ifdef __linux__
    // Blocks past what is written would stay allocated, so the file's size is left to the writes.
    // A file system that cannot reserve simply allocates as the bytes come.
    if (file_ && size > 0)
        fallocate(fileno(file_), FALLOC_FL_KEEP_SIZE, 0, size);
#else
    (void)size;
#endif
}

bool AtomicFileWriter::commit(bool durable) {
    if (!file_)
        return false;
    bool ok = !failed_ && std::fflush(file_) == 0;
    if (ok && durable) {
#ifdef _WIN32
        ok = _commit(_fileno(file_)) == 0;
#else
        ok = fsync(fileno(file_)) == 0;
#endif
    }
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok) {
        ok = answer(false, [&] {
            std::error_code ec;
            fs::rename(toFsPath(temp_), toFsPath(target_), ec);
            return !ec;
        });
    }
#ifdef __linux__
    if (ok && replaced_ >= 0) {
        closeInBackground(replaced_);
        replaced_ = -1;
    }
#endif
    if (!ok) {
        removeFile(temp_);
        failed_ = true;
    }
    return ok;
}

} // namespace qlp
