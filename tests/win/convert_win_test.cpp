// The Windows build of the reader must produce exactly the work files the native build does: the
// expected bytes are the native golden files.

#include "model/edl_reader.h"
#include "model/file_io.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> readAll(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring dataDir() {
    const std::string dir = QLP_TEST_DATA_DIR;
    return std::wstring(dir.begin(), dir.end());
}

} // namespace

TEST(ConvertOnWindows, WorkFilesEqualTheNativeOnes) {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    for (const wchar_t* name : {L"ndf_basic", L"df_reverse", L"comments_cp932", L"long_lines", L"keys_wipes"}) {
        const std::wstring edl = dataDir() + L"/" + name + L".EDL";
        const std::wstring out = std::wstring(temp) + L"qlp-convert-" + name + L".QLP";
        ASSERT_EQ(qlp::convertEdlFile(std::u16string(edl.begin(), edl.end()), std::u16string(out.begin(), out.end())),
                  qlp::ConvertStatus::Ok)
            << std::string(edl.begin(), edl.end());
        const std::vector<char> expected = readAll(dataDir() + L"/golden/" + name + L".QLP");
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(readAll(out) == expected) << std::string(edl.begin(), edl.end());
        DeleteFileW(out.c_str());
    }
}

TEST(ConvertOnWindows, BackslashPathsAndJapaneseNames) {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring dir = std::wstring(temp) + L"qlp-日本語フォルダ";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring edl = dir + L"\\編集リスト.EDL";
    ASSERT_TRUE(CopyFileW((dataDir() + L"/ndf_basic.EDL").c_str(), edl.c_str(), FALSE));
    const std::wstring out = dir + L"\\FILE_ID_0000";
    EXPECT_EQ(qlp::convertEdlFile(std::u16string(edl.begin(), edl.end()), std::u16string(out.begin(), out.end())),
              qlp::ConvertStatus::Ok);
    EXPECT_TRUE(readAll(out) == readAll(dataDir() + L"/golden/ndf_basic.QLP"));
    // Replacing an existing file works too (saves rename over the old file).
    EXPECT_EQ(qlp::convertEdlFile(std::u16string(edl.begin(), edl.end()), std::u16string(out.begin(), out.end())),
              qlp::ConvertStatus::Ok);
    DeleteFileW(out.c_str());
    DeleteFileW(edl.c_str());
    RemoveDirectoryW(dir.c_str());
}
