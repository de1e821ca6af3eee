#pragma once
// Shared helpers of the native tests: a prompt that records what it was asked and answers from a
// queue, scratch directories, and file access.

#include "model/file_io.h"
#include "model/project_file.h"
#include "model/prompt.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace qlp {

// Failed assertions on a load show what was refused and where.
inline void PrintTo(const LoadResult& result, std::ostream* os) {
    *os << "status " << static_cast<int>(result.status) << " " << describeRefusal(result);
}

} // namespace qlp

namespace qlp::test {

class RecordingPrompt : public Prompt {
public:
    std::vector<std::u16string> texts;
    std::deque<Answer> answers;

    Answer askYesNo(std::u16string_view text) override { return next(text); }
    Answer askYesNoCancel(std::u16string_view text) override { return next(text); }
    void warn(std::u16string_view text, bool) override { texts.emplace_back(text); }

private:
    Answer next(std::u16string_view text) {
        texts.emplace_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question";
            return Answer::No;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

inline std::string dataPath(const std::string& name) {
    return std::string(QLP_TEST_DATA_DIR) + "/" + name;
}

inline std::u16string u16(const std::string& s) {
    return std::filesystem::path(s).u16string();
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory under the system's temporary directory, removed with its content at the end.
class ScratchDir {
public:
    ScratchDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("qlp-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::u16string dir16() const { return path_.u16string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The bytes of the project file the document saves as.
inline std::vector<uint8_t> imageOf(EdlDocument& doc) {
    MemorySink sink;
    EXPECT_TRUE(writeProjectFile(doc, sink));
    return sink.bytes;
}

} // namespace qlp::test
