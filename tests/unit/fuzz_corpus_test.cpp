// Replays every seed input and every regression input that the fuzzers found through the same
// round trips the fuzzers check, so a fixed crash stays fixed in the normal test run (and under
// the sanitizers of the asan preset).

#include "../../fuzz/fuzz_targets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qlp::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = QLP_TEST_DATA_DIR;
const fs::path kCorpusDir = fs::path(QLP_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus";
const fs::path kRegressionDir = fs::path(QLP_TEST_DATA_DIR) / "fuzz-regressions";

std::vector<fs::path> inputsIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> readInput(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using Check = std::string (*)(const uint8_t*, size_t);

// Runs a check over every input of the directories; returns how many inputs it saw.
size_t replay(Check check, const std::vector<fs::path>& dirs) {
    size_t count = 0;
    for (const fs::path& dir : dirs) {
        for (const fs::path& file : inputsIn(dir)) {
            const std::vector<uint8_t> bytes = readInput(file);
            EXPECT_EQ(check(bytes.data(), bytes.size()), "") << file;
            ++count;
        }
    }
    return count;
}

TEST(FuzzCorpus, CorpusDirectoriesArePresent) {
    EXPECT_FALSE(inputsIn(kCorpusDir / "fuzz_edl_reader").empty()) << kCorpusDir;
    EXPECT_FALSE(inputsIn(kCorpusDir / "fuzz_project_loader").empty()) << kCorpusDir;
    EXPECT_TRUE(fs::is_directory(kRegressionDir)) << kRegressionDir;
}

// Every input is given to both checks: a regression input may come from either fuzzer, and an
// EDL seed is a fine malformed project file (and the other way round).
TEST(FuzzCorpus, EdlRoundTripHoldsForEveryInput) {
    EXPECT_GT(
        replay(checkEdlRoundTrip, {kCorpusDir / "fuzz_edl_reader", kCorpusDir / "fuzz_project_loader", kRegressionDir}),
        0u);
}

TEST(FuzzCorpus, Cmx3600ReadingHoldsForEveryInput) {
    EXPECT_GT(replay(checkCmx3600Reading,
                     {kCorpusDir / "fuzz_cmx3600_reader", kCorpusDir / "fuzz_edl_reader", kRegressionDir}),
              0u);
}

TEST(FuzzCorpus, ProjectRoundTripHoldsForEveryInput) {
    EXPECT_GT(replay(checkProjectRoundTrip,
                     {kCorpusDir / "fuzz_project_loader", kCorpusDir / "fuzz_edl_reader", kRegressionDir}),
              0u);
}

TEST(FuzzCorpus, OutputsHoldForEveryInput) {
    const std::vector<fs::path> dirs = {kCorpusDir / "fuzz_outputs", kCorpusDir / "fuzz_project_loader",
                                        kRegressionDir};
    EXPECT_GT(replay(checkEdlOutputs, dirs), 0u);
    EXPECT_GT(replay(checkProjectOutputs, dirs), 0u);
}

// The project seeds must load (otherwise the loader fuzzer starts from nothing but rejections),
// and so must the work files of the test EDLs.
TEST(FuzzCorpus, ProjectSeedsAndTestEdlWorkFilesLoad) {
    for (const fs::path& file : inputsIn(kCorpusDir / "fuzz_project_loader")) {
        const std::vector<uint8_t> bytes = readInput(file);
        EdlDocument doc;
        EXPECT_EQ(loadProjectImage(bytes.data(), bytes.size(), doc), LoadStatus::Ok) << file;
    }
    for (const fs::path& file : inputsIn(kDataDir)) {
        if (file.extension() != ".EDL")
            continue;
        const std::vector<uint8_t> bytes = readInput(file);
        EXPECT_EQ(checkEdlRoundTrip(bytes.data(), bytes.size()), "") << file;
    }
}

// convertEdlFile writes the work file in two passes without holding the events; its bytes must be
// those of writeWorkFile(parseEdl(...)) for every recognised input, however malformed.
TEST(FuzzCorpus, FileConversionMatchesTheInMemoryWriter) {
    const fs::path scratch = fs::temp_directory_path() /
                             ("qlp-fuzz-corpus-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(scratch);
    size_t compared = 0;
    for (const fs::path& dir : {kCorpusDir / "fuzz_edl_reader", kRegressionDir, kDataDir}) {
        for (const fs::path& file : inputsIn(dir)) {
            const std::vector<uint8_t> bytes = readInput(file);
            const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            if (!looksLikeBve9100(text))
                continue;
            const fs::path work = scratch / "work.QLP";
            ASSERT_EQ(convertEdlFile(file.u16string(), work.u16string()), ConvertStatus::Ok) << file;
            MemorySink expected;
            ASSERT_TRUE(writeWorkFile(parseEdl(text), text, expected));
            EXPECT_TRUE(readInput(work) == expected.bytes) << file;
            ++compared;
        }
    }
    std::error_code ec;
    fs::remove_all(scratch, ec);
    EXPECT_GT(compared, 0u);
}

} // namespace
} // namespace qlp::fuzz
