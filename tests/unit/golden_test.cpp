// EDL bytes in, exact work-file bytes out. The expected files under tests/data/golden were made by
// this reader and checked field by field by the other reader tests; a change in any byte fails
// here. To accept an intended change, run the tests with QLP_UPDATE_GOLDEN=1 and review the diff.

#include "model/edl_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qlp;
using namespace qlp::test;

namespace {

const char* const kGoldenEdls[] = {"ndf_basic", "df_reverse", "comments_cp932", "long_lines", "keys_wipes"};

} // namespace

TEST(Golden, ConvertedWorkFilesMatchByteForByte) {
    ScratchDir dir;
    for (const char* name : kGoldenEdls) {
        SCOPED_TRACE(name);
        const std::string out = dir.file(std::string(name) + ".QLP");
        ASSERT_EQ(convertEdlFile(u16(dataPath(std::string(name) + ".EDL")), u16(out)), ConvertStatus::Ok);
        const std::string golden = dataPath(std::string("golden/") + name + ".QLP");
        if (std::getenv("QLP_UPDATE_GOLDEN")) {
            std::filesystem::copy_file(out, golden, std::filesystem::copy_options::overwrite_existing);
            continue;
        }
        const std::vector<uint8_t> expected = readBytes(golden);
        ASSERT_FALSE(expected.empty()) << "missing " << golden;
        EXPECT_TRUE(readBytes(out) == expected);
    }
}
