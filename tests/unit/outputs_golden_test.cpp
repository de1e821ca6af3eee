// qlp offset, export and list on the sample EDLs and on an annotated project file: exact EDL and
// listing bytes out. The expected files under tests/data/golden/outputs were read against the
// rules of each output before they were accepted; run with QLP_UPDATE_GOLDEN=1 to rewrite them.

#include "model/edl_reader.h"
#include "model/project_file.h"
#include "model/timecode.h"
#include "ops/offset.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

std::string qlpBinary() {
    if (const char* dir = std::getenv("QLP_BINARY_DIR"))
        return std::string(dir) + "/src/cli/qlp";
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../../src/cli/qlp").string();
}

// Runs qlp inside dir, so that the paths it prints are the short relative ones given here.
int runIn(const ScratchDir& dir, const std::string& args) {
    const std::string command = "cd '" + dir.path().string() + "' && SOURCE_DATE_EPOCH=1767323045 '" + qlpBinary() +
                                "' " + args + " 2>stderr.txt";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

char16_t* arenaText(EdlDocument& doc, std::u16string_view text) {
    char16_t* p = doc.heap->allocate<char16_t>(text.size() + 1);
    std::copy(text.begin(), text.end(), p);
    return p;
}

// The comments EDL with what a user adds: memos (one ending in blank lines, one long), markers, and
// a search on the record timecode from 01:00:05.00 up to (not including) 01:00:08.00.
void writeAnnotatedProject(const std::string& edlPath, const std::string& outPath) {
    const std::vector<uint8_t> bytes = readBytes(edlPath);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    MemorySink sink;
    ASSERT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    EdlDocument doc;
    ASSERT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc), LoadStatus::Ok);
    ASSERT_EQ(doc.eventCount(), 6);
    const std::u16string memos[2] = {u"音声差し替え済み  \r\n\r\n   \r\n",
                                     u"long memo: " + std::u16string(100, u'm') + u"\r\nnext line"};
    for (int i : {0, 2}) {
        const std::u16string_view memo = memos[i / 2];
        doc.events[i].workMemo = arenaText(doc, memo);
        doc.events[i].workMemoLength = static_cast<int32_t>(memo.size()) + 1;
        doc.events[i].hasWorkMemo = 1;
    }
    doc.events[0].marker = 0;
    doc.events[3].marker = 5;
    std::copy_n(u"要確認", 4, doc.markerNames[5]);
    doc.search.searchFlags = 4;
    doc.search.lowerOp[1] = 0;
    doc.search.upperOp[1] = 1;
    doc.search.slotValue[1] = 108000 + 150;
    doc.search.slotValue[4] = 108000 + 240;
    std::copy_n(u"01:00:05.00", 11, doc.search.slotText[1]);
    std::copy_n(u"01:00:08.00", 11, doc.search.slotText[4]);
    for (int i : {4, 2, 3})
        doc.events[i].searchHit = 1;
    RecordingPrompt prompt;
    ASSERT_EQ(saveDocument(u16(outPath), doc, prompt), 0);
}

struct GoldenCase {
    const char* output;  // file written by the commands, compared with golden/outputs/<output>
    const char* command; // qlp arguments
};

const GoldenCase kCases[] = {
    // Offsets across midnight both ways, exported as read and converted.
    {"ndf_back.EDL", "offset ndf_basic.EDL ndf_back.QLP --new 23:59:50:00 && '$Q' export ndf_back.QLP ndf_back.EDL"},
    {"ndf_back_df.EDL", "export ndf_back.QLP ndf_back_df.EDL --convert"},
    {"ndf_back.txt", "list ndf_back.QLP ndf_back.txt --comments option,work,marker"},
    {"df_fwd.EDL", "offset df_reverse.EDL df_fwd.QLP --new 02000000 && '$Q' export df_fwd.QLP df_fwd.EDL"},
    {"df_fwd_ndf.EDL", "export df_fwd.QLP df_fwd_ndf.EDL --convert"},
    {"df_fwd.csv", "list df_fwd.QLP df_fwd.csv --csv"},
    {"df_reels.txt", "list df_fwd.QLP df_reels.txt --kind reels --sort source-desc"},
    {"ndf_convert_df.EDL", "export ndf_basic.EDL ndf_convert_df.EDL --convert"},
    // Every list kind and comment combination on the annotated project.
    {"annotated_edl_all.txt", "list annotated.QLP annotated_edl_all.txt --comments option,work,marker"},
    {"annotated_edl_option.txt", "list annotated.QLP annotated_edl_option.txt --comments option"},
    {"annotated_edl_none.txt", "list annotated.QLP annotated_edl_none.txt"},
    {"annotated_edl.csv", "list annotated.QLP annotated_edl.csv --csv --comments option,work,marker"},
    {"annotated_search.txt", "list annotated.QLP annotated_search.txt --kind search --comments work,marker"},
    {"annotated_search.csv", "list annotated.QLP annotated_search.csv --kind search --csv"},
    {"annotated_reels.txt",
     "list annotated.QLP annotated_reels.txt --kind reels --sort duration-desc --comments option,work,marker"},
    {"annotated_reel_r1.csv", "list annotated.QLP annotated_reel_r1.csv --kind reels --reel R1 --csv"},
    {"annotated_reels.csv", "list annotated.QLP annotated_reels.csv --kind reels --csv"},
    // CMX 3600: memos, markers and comments; an offset converted to drop frame with a title;
    // reverse play and A3/A4; keys and wipes.
    {"annotated_cmx.edl", "export --format cmx3600 annotated.QLP annotated_cmx.edl"},
    {"ndf_back_cmx.edl", "export ndf_back.QLP ndf_back_cmx.edl --format cmx3600 --convert --title 'BACK 23:59'"},
    {"df_fwd_cmx.edl", "export --format cmx3600 df_fwd.QLP df_fwd_cmx.edl"},
    {"keys_wipes_cmx.edl", "export --format cmx3600 keys_wipes.EDL keys_wipes_cmx.edl"},
};

} // namespace

TEST(OutputsGolden, QlpWritesTheExpectedBytes) {
    ScratchDir dir;
    for (const char* edl : {"ndf_basic.EDL", "df_reverse.EDL", "keys_wipes.EDL"})
        std::filesystem::copy_file(dataPath(edl), dir.file(edl));
    writeAnnotatedProject(dataPath("comments_cp932.EDL"), dir.file("annotated.QLP"));

    // With no offset the export is the EDL as read, byte for byte.
    ASSERT_EQ(runIn(dir, "export ndf_basic.EDL same.EDL"), 0);
    EXPECT_EQ(readBytes(dir.file("same.EDL")), readBytes(dataPath("ndf_basic.EDL")));

    for (const GoldenCase& c : kCases) {
        SCOPED_TRACE(c.output);
        std::string command = c.command;
        for (size_t p; (p = command.find("$Q")) != std::string::npos;)
            command.replace(p, 2, qlpBinary());
        ASSERT_EQ(runIn(dir, command), 0);
        const std::string golden = dataPath(std::string("golden/outputs/") + c.output);
        if (std::getenv("QLP_UPDATE_GOLDEN")) {
            std::filesystem::copy_file(dir.file(c.output), golden, std::filesystem::copy_options::overwrite_existing);
            continue;
        }
        const std::vector<uint8_t> expected = readBytes(golden);
        ASSERT_FALSE(expected.empty()) << "missing " << golden;
        EXPECT_TRUE(readBytes(dir.file(c.output)) == expected);
    }
}

TEST(OutputsGolden, QlpRefusesAndExplains) {
    ScratchDir dir;
    std::filesystem::copy_file(dataPath("ndf_basic.EDL"), dir.file("ndf_basic.EDL"));
    struct Case {
        const char* args;
        int status;
    };
    const Case cases[] = {
        {"offset ndf_basic.EDL o.QLP", 2},
        {"offset ndf_basic.EDL o.QLP --new 1:2", 2},
        {"offset ndf_basic.EDL o.QLP --new 5959", 1},
        {"offset missing.EDL o.QLP --new 0", 1},
        {"export ndf_basic.EDL", 2},
        {"export ndf_basic.EDL no/dir/o.EDL", 1},
        {"export --format cmx ndf_basic.EDL o.edl", 2},
        {"export ndf_basic.EDL o.edl --title T", 2},
        {"export --format cmx3600 ndf_basic.EDL no/dir/o.edl", 1},
        {"list ndf_basic.EDL o.txt --kind all", 2},
        {"list ndf_basic.EDL o.txt --kind reels --reel NOPE", 1},
        {"list ndf_basic.EDL o.txt --reel TAPE01", 2},
        {"list ndf_basic.EDL o.txt --comments memo", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(runIn(dir, c.args), c.status);
        EXPECT_FALSE(readBytes(dir.file("stderr.txt")).empty());
    }
}
