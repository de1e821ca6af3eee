// The qlp command-line tool, run as a subprocess on the sample EDLs and on project files made here.

#include "model/edl_reader.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "ops/markers.h"
#include "ops/memos.h"
#include "ops/reel_info.h"
#include "ops/simple_notes.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

std::string toUtf8(std::u16string_view text) {
    return std::filesystem::path(std::u16string(text)).string();
}

// CTest names the build directory; run by hand, the test program sits in <build>/tests/unit.
std::string qlpBinary() {
    if (const char* dir = std::getenv("QLP_BINARY_DIR"))
        return std::string(dir) + "/src/cli/qlp";
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../../src/cli/qlp").string();
}

std::string quoted(const std::string& arg) {
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

RunResult runQlp(const std::vector<std::string>& args) {
    const ScratchDir scratch;
    std::string command = quoted(qlpBinary());
    for (const std::string& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted(scratch.file("out")) + " 2>" + quoted(scratch.file("err"));
    RunResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto out = readBytes(scratch.file("out"));
    const auto err = readBytes(scratch.file("err"));
    r.out.assign(out.begin(), out.end());
    r.err.assign(err.begin(), err.end());
    return r;
}

std::string message(std::u16string_view templ, const std::string& path, int number = 0) {
    return toUtf8(formatMessage(templ, u16(path), number)) + "\n";
}

// True when the bytes are well-formed UTF-8 (no surrogates, nothing above U+10FFFF).
bool isUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80                 ? 1
                         : b >= 0xC2 && b <= 0xDF ? 2
                         : b >= 0xE0 && b <= 0xEF ? 3
                         : b >= 0xF0 && b <= 0xF4 ? 4
                                                  : 0;
        if (n == 0 || i + n > s.size())
            return false;
        uint32_t c = n == 1 ? b : b & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            c = c << 6 | (t & 0x3F);
        }
        if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

std::vector<uint8_t> workFileOf(const std::string& edlPath) {
    const std::vector<uint8_t> edl = readBytes(edlPath);
    const std::string_view text(reinterpret_cast<const char*>(edl.data()), edl.size());
    MemorySink sink;
    EXPECT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    return sink.bytes;
}

size_t countLinesStartingWith(const std::string& text, const std::string& prefix) {
    size_t n = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(pos, prefix.size(), prefix) == 0)
            ++n;
        pos = end + 1;
    }
    return n;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(QlpConvert, WritesTheWorkFileBytesOfEachSample) {
    const ScratchDir dir;
    for (const char* name : {"ndf_basic.EDL", "df_reverse.EDL", "comments_cp932.EDL", "long_lines.EDL"}) {
        SCOPED_TRACE(name);
        const std::string out = dir.file(std::string(name) + ".QLP");
        const RunResult r = runQlp({"convert", dataPath(name), out});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readBytes(out), workFileOf(dataPath(name)));
    }
}

TEST(QlpConvert, RefusalsNameTheFileAndExitWithOne) {
    const ScratchDir dir;
    const std::string missing = dir.file("missing.EDL");
    RunResult r = runQlp({"convert", missing, dir.file("a.QLP")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgFileNotFound, missing));

    const std::string garbage = dir.file("garbage.EDL");
    writeBytes(garbage, "TITLE: no event header here\r\n0001 AX V C 01:00:00:00 01:00:01:00\r\n");
    r = runQlp({"convert", garbage, dir.file("b.QLP")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgNotRecognised, garbage));
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.QLP")));

    const std::string unwritable = dir.file("no-such-dir/c.QLP");
    r = runQlp({"convert", dataPath("ndf_basic.EDL"), unwritable});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgCannotOpenPath, unwritable));
    EXPECT_EQ(r.out, "");
}

// Every command takes a CMX 3600 list as it takes its BVE-9100 translation; convert and show say on
// standard error what the translation changed, and a 60-frame list is refused.
TEST(QlpCmx3600, CommandsTakeACmx3600ListAsItsTranslation) {
    const ScratchDir dir;
    const std::string cmx = dataPath("cmx3600/modern.edl");
    const std::string report =
        "CMX 3600 translated: 2 reel(s) shortened, 1 line(s) kept as comments, 1 audio channel(s) above A4 dropped\n";
    RunResult r = runQlp({"convert", cmx, dir.file("m.QLP")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, report);
    r = runQlp({"show", cmx});
    EXPECT_EQ(r.err, report);
    EXPECT_NE(r.out.find("  MyClip     2  My Clip (1).mov\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("kind:       CMX 3600 EDL, read as a BVE-9100 EDL\n"), std::string::npos) << r.out;
    EXPECT_NE(runQlp({"show", "--json", cmx}).out.find("\"cmx3600\": true"), std::string::npos);
    // The translation, exported as the BVE-9100 EDL, is itself read as the same document.
    ASSERT_EQ(runQlp({"export", cmx, dir.file("m.EDL")}).status, 0);
    const auto bve = readBytes(dir.file("m.EDL"));
    EXPECT_EQ(std::string(bve.begin(), bve.begin() + 22), "TITLE: MODERN CUT v3\r\n");
    for (const std::vector<std::string>& command : {std::vector<std::string>{"search", "--reel", "B002"},
                                                    {"export", "--format", "cmx3600", "--title", "T"},
                                                    {"list"}}) {
        SCOPED_TRACE(command[0]);
        std::vector<std::string> fromCmx = {command[0], cmx};
        std::vector<std::string> fromBve = {command[0], dir.file("m.EDL")};
        for (auto* args : {&fromCmx, &fromBve}) {
            if (command[0] != "search")
                args->push_back(dir.file(args == &fromCmx ? "a.out" : "b.out"));
            args->insert(args->end(), command.begin() + 1, command.end());
        }
        const RunResult a = runQlp(fromCmx);
        const RunResult b = runQlp(fromBve);
        EXPECT_EQ(a.status, 0) << a.err;
        EXPECT_EQ(a.out, b.out);
        if (command[0] != "search" && command[0] != "list") {
            EXPECT_EQ(readBytes(dir.file("a.out")), readBytes(dir.file("b.out")));
        }
    }
    // The project file of an offset keeps the full reel names as descriptions.
    ASSERT_EQ(runQlp({"offset", cmx, dir.file("o.QLP"), "--new", "01000000"}).status, 0);
    EXPECT_NE(runQlp({"show", dir.file("o.QLP")}).out.find("  A001_C     2  A001_C002_0101AB.mov\n"),
              std::string::npos);
    const std::string sixty = dir.file("sixty.edl");
    writeBytes(sixty, "001  TAPE01 V C 01:00:00:00 01:00:00:59 10:00:00:00 10:00:00:59\r\n");
    r = runQlp({"show", sixty});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgCmxFrameRate, sixty));
}

TEST(QlpShow, SummaryOfAnEdlAndOfItsProjectFileAgree) {
    const RunResult edl = runQlp({"show", dataPath("ndf_basic.EDL")});
    ASSERT_EQ(edl.status, 0) << edl.err;
    EXPECT_TRUE(contains(edl.out, "events:     8\n"));
    EXPECT_TRUE(contains(edl.out, "reels:      4\n"));
    EXPECT_TRUE(contains(edl.out, "timecode:   NDF\n"));
    EXPECT_TRUE(contains(edl.out, "last edit:  7\n"));
    EXPECT_TRUE(contains(edl.out, "  TAPE01     3\n"));
    EXPECT_EQ(countLinesStartingWith(edl.out, "  000"), 8u);
    // The commented edit carries the C flag; nothing is marked.
    EXPECT_TRUE(contains(edl.out, "  0001  TAPE01  V  A1A2      C                        01:00:00.00  01:00:05.00  "
                                  "10:00:00.00  10:00:05.00  00:00:05.00  -       C\n"));

    const ScratchDir dir;
    const std::string project = dir.file("basic.QLP");
    const std::vector<uint8_t> work = workFileOf(dataPath("ndf_basic.EDL"));
    writeBytes(project, std::string(work.begin(), work.end()));
    const RunResult qlpFile = runQlp({"show", project});
    ASSERT_EQ(qlpFile.status, 0) << qlpFile.err;
    EXPECT_EQ(qlpFile.out.substr(qlpFile.out.find('\n')), edl.out.substr(edl.out.find('\n')));

    const RunResult df = runQlp({"show", dataPath("df_reverse.EDL")});
    EXPECT_TRUE(contains(df.out, "timecode:   D F\n"));
    EXPECT_TRUE(contains(df.out, "hour 23:    yes\n"));
    EXPECT_EQ(countLinesStartingWith(df.out, "  001"), 3u);
}

TEST(QlpShow, JsonHoldsTheStoredHeaderTextsAndComments) {
    const RunResult r = runQlp({"show", "--json", dataPath("comments_cp932.EDL")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(nlohmann::json::accept(r.out));
    EXPECT_TRUE(isUtf8(r.out));
    EXPECT_TRUE(contains(r.out, "\"kind\": \"edl\""));
    // The counts as stored: the loader's rebuilt kSearchResult and kReelUsage are not what the file holds.
    EXPECT_TRUE(contains(r.out, "\"viewCount\": [6, 0, 0, 0]"));
    EXPECT_TRUE(contains(r.out, "\"reelCount\": 3"));
    EXPECT_TRUE(contains(r.out, "\"recOffsetSign\": \" \""));
    EXPECT_TRUE(contains(r.out, "\"マーカー 8\""));
    EXPECT_TRUE(contains(r.out, "\"text\": [\n        \"0001\",\n        \"R1\""));
    EXPECT_TRUE(contains(r.out, "\"00:20:03.00\""));
    EXPECT_TRUE(contains(r.out, "\"optionComment\": \"ソフト表示の能力テスト\\u000d\\u000asecond line of the same "
                                "comment\\u000d\\u000a\""));
    EXPECT_TRUE(contains(r.out, "\"optionComment\": \"アイテム\\u000d\\u000a\""));
    EXPECT_TRUE(contains(r.out, "\"notes\": []"));
}

TEST(QlpShow, ProjectFileWithMemosNotesAndOddTexts) {
    EdlDocument doc;
    const std::vector<uint8_t> work = workFileOf(dataPath("ndf_basic.EDL"));
    ASSERT_EQ(loadProjectImage(work.data(), work.size(), doc), LoadStatus::Ok);

    // A reel comment with a quote, a backslash, a control character and a lone surrogate.
    const std::u16string comment = u"a\"b\\c\x01" + std::u16string(1, char16_t(0xD800)) + u"x";
    std::memcpy(doc.reelComments[1], comment.data(), comment.size() * 2);
    EdlEvent& first = doc.events[0];
    const std::u16string memo = u"メモ";
    first.workMemo = doc.heap->allocate<char16_t>(memo.size() + 1);
    std::memcpy(first.workMemo, memo.data(), memo.size() * 2);
    first.workMemoLength = static_cast<int32_t>(memo.size() + 1);
    first.hasWorkMemo = 1;
    doc.events[0].marker = 3;
    auto* note = new SimpleNote;
    std::memcpy(note->title, u"題", 2);
    const std::u16string body = u"line1\nline2 \U0001F600";
    note->bodySize = static_cast<int32_t>(body.size() * 2 + 2);
    note->body = doc.heap->allocate<char16_t>(body.size() + 1);
    std::memcpy(note->body, body.data(), body.size() * 2);
    note->prev = doc.noteHead;
    doc.noteHead->next = note;
    MemorySink sink;
    ASSERT_TRUE(writeProjectFile(doc, sink));
    const ScratchDir dir;
    const std::string project = dir.file("edited.QLP");
    writeBytes(project, std::string(sink.bytes.begin(), sink.bytes.end()));

    const RunResult json = runQlp({"show", "--json", project});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(nlohmann::json::accept(json.out));
    EXPECT_TRUE(isUtf8(json.out));
    EXPECT_TRUE(contains(json.out, "\"kind\": \"project\""));
    EXPECT_TRUE(contains(json.out, "\"comment\": \"a\\\"b\\\\c\\u0001\xEF\xBF\xBDx\""));
    EXPECT_TRUE(contains(json.out, "\"workMemoLength\": 3"));
    EXPECT_TRUE(contains(json.out, "\"workMemo\": \"メモ\""));
    EXPECT_TRUE(contains(json.out, "\"noteCount\": 1"));
    EXPECT_TRUE(contains(json.out, "\"title\": \"題\""));
    EXPECT_TRUE(contains(json.out, "\"body\": \"line1\\u000aline2 \xF0\x9F\x98\x80\""));

    const RunResult summary = runQlp({"show", project});
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_TRUE(contains(summary.out, "notes:      1\n"));
    // The first event: marker kind 3 is shown as 4, then its comment and memo.
    EXPECT_TRUE(contains(summary.out, "00:00:05.00  4       CM\n"));
    EXPECT_TRUE(contains(summary.out, "  TAPE01     3  a\"b\\c\xEF\xBF\xBD\xEF\xBF\xBDx\n"));
}

TEST(QlpShow, RefusedFilesExitWithOneAndTheSystemsMessage) {
    const ScratchDir dir;
    const std::string missing = dir.file("missing.EDL");
    RunResult r = runQlp({"show", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgFileNotFound, missing));
    EXPECT_EQ(r.out, "");

    const std::string garbage = dir.file("garbage.bin");
    writeBytes(garbage, std::string("\x00\x01\x02 no BVE text", 15));
    r = runQlp({"show", "--json", garbage});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgNotRecognised, garbage));

    // The magic makes it a project file; cut short, it is one in another format. What the loader
    // found, and where, follows the message.
    const std::vector<uint8_t> work = workFileOf(dataPath("ndf_basic.EDL"));
    const std::string truncated = dir.file("truncated.QLP");
    writeBytes(truncated, std::string(work.begin(), work.begin() + 3000));
    r = runQlp({"show", truncated});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              message(kMsgWrongFormat, truncated) + "viewCount[0] at offset 44: is more than the file can hold\n");
}

TEST(QlpShow, NonAsciiPathsSurviveTheRoundTrip) {
    const ScratchDir dir;
    const std::string edl = dir.file("編集リスト.EDL");
    std::filesystem::copy_file(dataPath("ndf_basic.EDL"), edl);
    RunResult r = runQlp({"show", edl});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "events:     8\n"));

    const std::string missing = dir.file("無い.EDL");
    r = runQlp({"show", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgFileNotFound, missing));
}

TEST(QlpUsage, WrongUsageExitsWithTwoAndHelpWithZero) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{},
                                                                                      {"frobnicate"},
                                                                                      {"show"},
                                                                                      {"show", "a", "b"},
                                                                                      {"show", "--xml", "a"},
                                                                                      {"convert", "a"},
                                                                                      {"--version", "a"}}) {
        SCOPED_TRACE(args.empty() ? "(none)" : args[0] + " ...");
        const RunResult r = runQlp(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(contains(r.err, "usage: qlp convert IN.EDL OUT.QLP\n"));
    }
    const RunResult help = runQlp({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(help.out.starts_with("usage: qlp convert IN.EDL OUT.QLP\n       qlp show [--json] FILE\n"));
    // The version the project sets, as the window's caption and version dialog show it.
    const RunResult version = runQlp({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "qlp " QUILLON_VERSION_TEXT "\n");
    EXPECT_TRUE(kAppCaption.ends_with(u"Ver " QUILLON_VERSION_TEXT));
}

TEST(QlpShow, AnnotationsMadeByTheCommandsAreShown) {
    EdlDocument doc;
    const std::vector<uint8_t> work = workFileOf(dataPath("ndf_basic.EDL"));
    ASSERT_EQ(loadProjectImage(work.data(), work.size(), doc), LoadStatus::Ok);
    doc.currentMarker = 5;
    const int32_t rows[] = {1};
    setMarker(doc, rows);
    doc.commentMode = 1;
    doc.currentRow[kAllEvents] = 1;
    writeWorkMemo(doc, u"要確認");
    takeMarkerName(doc, 5, u"確認\r\n待ち");
    storeReelDescription(doc, u"TAPE02", u"二日目");
    SimpleNote* note = newNote(doc);
    storeNoteTitle(*note, u"撮影");
    storeNoteBody(doc, *note, u"本文");
    const ScratchDir dir;
    const std::string project = dir.file("annotated.QLP");
    RecordingPrompt prompt;
    writeBytes(project, "");
    ASSERT_EQ(saveDocument(u16(project), doc, prompt), 0);

    const RunResult json = runQlp({"show", "--json", project});
    ASSERT_EQ(json.status, 0) << json.err;
    for (const char* expected :
         {"\"marker\": 5", "\"workMemoLength\": 4", "\"workMemo\": \"要確認\"", "\"確認 待ち\"",
          "\"comment\": \"二日目\"", "\"noteCount\": 1", "\"title\": \"撮影\"", "\"body\": \"本文\""})
        EXPECT_TRUE(contains(json.out, expected)) << expected;
}

// Options that mean what they say: a reel only with the reel listing, an unknown reel refused alike
// by search and list, and every command's own usage on --help.
TEST(QlpUsage, OptionsSayWhatTheyDo) {
    const ScratchDir dir;
    const std::string ndf = dataPath("ndf_basic.EDL");
    const std::string out = dir.file("out.txt");
    const std::string unknownReel = "qlp: " + ndf + " has no reel named NOPE\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out; // the start of standard output
        std::string err; // the start of standard error
    } cases[] = {
        {{"list", ndf, out, "--reel", "TAPE01"},
         2,
         "",
         "qlp: --reel chooses the reel of --kind reels; give --kind reels with it\nusage: qlp list IN OUT"},
        {{"list", ndf, out, "--reel", "TAPE01", "--kind", "edl"}, 2, "", "qlp: --reel chooses the reel"},
        {{"list", ndf, out, "--kind", "reels", "--reel", "NOPE"}, 1, "", unknownReel},
        {{"search", ndf, "--reel", "NOPE"}, 1, "", unknownReel},
        {{"search", "--json", ndf, "--reel", "NOPE", "--marker", "1"}, 1, "", unknownReel},
        {{"convert", "--help"}, 0, "usage: qlp convert IN.EDL OUT.QLP\n\n  convert  converts", ""},
        {{"show", ndf, "--help"}, 0, "usage: qlp show [--json] FILE\n\n  show     prints", ""},
        {{"offset", "-h"}, 0, "usage: qlp offset IN OUT.QLP --new TC [--original TC]\n\n  offset   moves", ""},
        {{"export", "--help"}, 0, "usage: qlp export [--format bve9100|cmx3600] IN OUT.EDL", ""},
        {{"list", "--help"}, 0, "usage: qlp list IN OUT [--csv]", ""},
        {{"search", "--help"}, 0, "usage: qlp search FILE [--reel NAME]", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const RunResult r = runQlp(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.out.starts_with(c.out)) << r.out;
        EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
        if (c.out.empty()) {
            EXPECT_EQ(r.out, "");
        }
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(QlpSearch, CriteriaOnEdlsHitsInEdlOrder) {
    const std::string ndf = dataPath("ndf_basic.EDL");
    const std::string df = dataPath("df_reverse.EDL");
    struct Row {
        std::vector<std::string> args;
        std::string json;
    } rows[] = {
        {{ndf, "--record", "ge", "10:00:10:00", "lt", "10:00:20:00"},
         "{\"count\": 3, \"of\": 8, \"hits\": [1, 2, 3]}\n"},
        {{ndf, "--record", "ge", "10:00:18.00", "le", "10:00:19.00"}, "{\"count\": 1, \"of\": 8, \"hits\": [2]}\n"},
        {{ndf, "--duration", "le", "200", "--reel", "TAPE02"}, "{\"count\": 1, \"of\": 8, \"hits\": [4]}\n"},
        {{ndf, "--source", "lt", "01000000", "--marker", "none"}, "{\"count\": 1, \"of\": 8, \"hits\": [7]}\n"},
        {{ndf, "--marker", "1"}, "{\"count\": 0, \"of\": 8, \"hits\": []}\n"},
        // A source bound is DF with ',' or ';' (digits alone take the file's mode); NDF misses DF events.
        {{df, "--source", "ge", "23:59:55,00"}, "{\"count\": 1, \"of\": 3, \"hits\": [2]}\n"},
        {{df, "--source", "ge", "23:59:55;00"}, "{\"count\": 1, \"of\": 3, \"hits\": [2]}\n"},
        {{df, "--source", "ge", "23595500"}, "{\"count\": 1, \"of\": 3, \"hits\": [2]}\n"},
        {{df, "--source", "ge", "23:59:55.00"}, "{\"count\": 0, \"of\": 3, \"hits\": []}\n"},
        // The record span 23:59:55,00-00:00:05,00 runs past midnight.
        {{df, "--record", "ge", "00:00:00:00", "lt", "00:00:01:00"}, "{\"count\": 1, \"of\": 3, \"hits\": [2]}\n"},
        {{df, "--duration", "gt", "00:00:05.02", "--json"}, "{\"count\": 2, \"of\": 3, \"hits\": [0, 2]}\n"},
    };
    for (const Row& r : rows) {
        std::vector<std::string> args = {"search", "--json"};
        args.insert(args.end(), r.args.begin(), r.args.end());
        SCOPED_TRACE(args[3] + " " + args[4]);
        const RunResult result = runQlp(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, r.json);
        EXPECT_TRUE(nlohmann::json::accept(result.out));
    }
    // Without --json the hits are printed as show prints events.
    const RunResult plain = runQlp({"search", ndf, "--source", "ge", "02:10:00.00"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_TRUE(
        plain.out.starts_with("hits:       3 of 8\n\n  EDIT  REEL    V  A     TYP  PTRN  TRANST  SPED  P-VTR IN"));
    EXPECT_TRUE(contains(plain.out, "\n  0002  TAPE03  V  A1A2  D          030           03:00:00.00  03:00:04.00  "
                                    "10:00:15.00  10:00:19.00  00:00:04.00  -\n"));
    EXPECT_EQ(countLinesStartingWith(plain.out, "  000"), 3u);
}

TEST(QlpSearch, StoredSearchOfAProjectFileAndUsageErrors) {
    EdlDocument doc;
    const std::vector<uint8_t> work = workFileOf(dataPath("ndf_basic.EDL"));
    ASSERT_EQ(loadProjectImage(work.data(), work.size(), doc), LoadStatus::Ok);
    const ScratchDir dir;
    const std::string plainProject = dir.file("plain.QLP");
    writeBytes(plainProject, std::string(work.begin(), work.end()));
    doc.search.searchFlags = 1; // the reel criterion, reel TAPE01
    doc.search.searchReel = 1;
    MemorySink sink;
    ASSERT_TRUE(writeProjectFile(doc, sink));
    const std::string project = dir.file("stored.QLP");
    writeBytes(project, std::string(sink.bytes.begin(), sink.bytes.end()));
    RunResult r = runQlp({"search", project, "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"count\": 3, \"of\": 8, \"hits\": [0, 3, 6]}\n");
    // Criteria given replace the stored search.
    r = runQlp({"search", "--json", project, "--marker", "none"});
    EXPECT_EQ(r.out, "{\"count\": 8, \"of\": 8, \"hits\": [0, 1, 2, 3, 4, 5, 6, 7]}\n");

    const std::string edl = dataPath("ndf_basic.EDL");
    struct Usage {
        std::vector<std::string> args;
        std::string says;
    } usages[] = {
        {{edl}, "an EDL holds no stored search"},
        {{plainProject}, "the project file holds no stored search"},
        {{edl, "--source", "le", "01:00:00:00", "lt", "02:00:00:00"}, "a second bound (le, lt) follows only ge or gt"},
        {{edl, "--record", "ge", "10:00:00:00", "le", "09:59:59:29"},
         "--record: the second bound lies below the first"},
        {{edl, "--duration", "ge", "24:00:00:00"}, "--duration: 24000000 is out of range"},
        {{edl, "--duration", "ge", "00000030"}, "out of range"},
        {{edl, "--source", "ge", "01:00:00,00", "le", "02:00:00.00"}, "drop-frame"},
        {{edl, "--source", "eq", "1"}, "the comparison must be ge, gt, le or lt"},
        {{edl, "--source", "ge", "1:00:00:00"}, "is not a timecode"},
        {{edl, "--source", "ge", "123456789"}, "is not a timecode"},
        {{edl, "--source", "ge"}, "--source needs a timecode"},
        {{edl, "--marker", "9"}, "--marker takes a number 1 to 8, or none"},
        {{edl, "--reel", "A", "--reel", "B"}, "--reel given twice"},
        {{edl, "--colour", "red"}, "unknown option --colour"},
        {{"--reel", "A"}, "search takes one file"},
    };
    for (const Usage& u : usages) {
        std::vector<std::string> args = {"search"};
        args.insert(args.end(), u.args.begin(), u.args.end());
        SCOPED_TRACE(u.says);
        r = runQlp(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("qlp: ") && contains(r.err, u.says)) << r.err;
    }
    r = runQlp({"search", dir.file("missing.EDL"), "--reel", "A"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, message(kMsgFileNotFound, dir.file("missing.EDL")));
}
