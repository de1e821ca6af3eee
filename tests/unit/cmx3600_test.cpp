// The CMX 3600 writer, read back by a fixed-column reader of the tests' own: every line kind at its
// columns, every channel form, transitions, speeds, drop-frame separators, event-number wrap and a
// large generated list.

#include "edl_generator.h"
#include "model/cp932.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "outputs/cmx3600.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

// One line of a CMX 3600 EDL, cut at the published columns (1-based, inclusive).
struct CmxLine {
    std::string kind; // "event", "M2", "AUD", "*", "TITLE", "FCM", "" (blank)
    std::string number, reel, channels, type, transition, srcIn, srcOut, recIn, recOut; // event
    std::string speed, entry;                                                           // M2
    std::string text;                                                                   // the rest
};

bool isTimecode(const std::string& t) {
    static const char kShape[] = "00:00:00:00";
    if (t.size() != 11)
        return false;
    for (size_t i = 0; i < 11; ++i) {
        const bool ok = kShape[i] == '0' ? std::isdigit(static_cast<unsigned char>(t[i])) != 0
                                         : (t[i] == ':' || (i == 8 && t[i] == ';'));
        if (!ok)
            return false;
    }
    return true;
}

std::string cols(const std::string& line, size_t from, size_t to) {
    std::string field = line.size() >= from ? line.substr(from - 1, to - from + 1) : "";
    while (!field.empty() && field.back() == ' ')
        field.pop_back();
    return field;
}

// Reads the lines, checking that every line ends in CR LF and that the blanks between the fields
// of the event and M2 lines are blank.
std::vector<CmxLine> readCmx(const std::string& bytes) {
    std::vector<CmxLine> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF at " << pos;
        if (end == std::string::npos)
            break;
        const std::string line = bytes.substr(pos, end - pos);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        pos = end + 2;
        CmxLine l;
        if (line.empty()) {
        } else if (std::isdigit(static_cast<unsigned char>(line[0]))) {
            EXPECT_EQ(line.size(), 76u) << line;
            for (size_t blank : {4, 5, 14, 19, 20, 25, 29, 41, 53, 65})
                EXPECT_EQ(line[blank - 1], ' ') << "column " << blank << " of " << line;
            l = {"event",
                 cols(line, 1, 3),
                 cols(line, 6, 13),
                 cols(line, 15, 18),
                 cols(line, 21, 24),
                 cols(line, 26, 28),
                 cols(line, 30, 40),
                 cols(line, 42, 52),
                 cols(line, 54, 64),
                 cols(line, 66, 76),
                 {},
                 {},
                 {}};
            for (const std::string* t : {&l.srcIn, &l.srcOut, &l.recIn, &l.recOut})
                EXPECT_TRUE(isTimecode(*t)) << line;
        } else if (line.rfind("M2", 0) == 0) {
            EXPECT_EQ(line.size(), 40u) << line;
            l.kind = "M2";
            l.reel = cols(line, 6, 13);
            l.speed = line.substr(20, 7);
            l.entry = cols(line, 30, 40);
            EXPECT_EQ(cols(line, 14, 20), "") << line;
            EXPECT_EQ(cols(line, 28, 29), "") << line;
        } else if (line.rfind("AUD", 0) == 0) {
            l.kind = "AUD";
            l.text = cols(line, 6, 6) + cols(line, 11, 11);
            EXPECT_EQ(cols(line, 4, 5) + cols(line, 7, 10), "") << line;
        } else if (line[0] == '*') {
            l.kind = "*";
            l.text = line;
        } else {
            l.kind = line.substr(0, line.find(':'));
            l.text = line.substr(line.find(':') + 2);
        }
        lines.push_back(l);
    }
    return lines;
}

std::unique_ptr<EdlDocument> loadEdl(std::string_view text) {
    MemorySink sink;
    EXPECT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    auto doc = std::make_unique<EdlDocument>();
    EXPECT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), *doc), LoadStatus::Ok);
    return doc;
}

// A list of the given event lines under the controller's header.
std::vector<CmxLine> exportLines(const std::string& events, bool convert = false) {
    const std::string edl = "TITLE: T\r\nEDIT  REEL   V  A1A2 TYP PTRN TRANST   P-VTR IN    P-VTR OUT   R-VTR IN"
                            "    R-VTR OUT\r\n" +
                            events;
    const auto doc = loadEdl(edl);
    std::vector<CmxLine> lines = readCmx(cmx3600Text(*doc, u"T", convert));
    EXPECT_GE(lines.size(), 3u);
    lines.erase(lines.begin(), lines.begin() + std::min<size_t>(3, lines.size()));
    return lines;
}

std::string bve(const std::string& head, const std::string& tail = "", char sep = '.') {
    std::string tc =
        "01:00:00" + std::string(1, sep) + "00 01:00:05" + sep + "00 10:00:00" + sep + "00 10:00:05" + sep + "00";
    return head + "   " + tc + tail + "\r\n";
}

} // namespace

TEST(Cmx3600, HeaderAndEveryChannelForm) {
    const std::string edl =
        "TITLE: X\r\nFCM: NON-DROP FRAME\r\nEDIT  REEL   V  A1A2 TYP\r\n" + bve("0001  TAPE01 V       C           ");
    const auto doc = loadEdl(edl);
    const std::vector<CmxLine> head = readCmx(cmx3600Text(*doc, u"作品 A", false));
    ASSERT_EQ(head.size(), 4u);
    EXPECT_EQ(head[0].kind + "|" + head[0].text, "TITLE|" + cp932::encode(u"作品 A"));
    EXPECT_EQ(head[1].kind + "|" + head[1].text, "FCM|NON-DROP FRAME");
    EXPECT_EQ(head[2].kind, "");

    struct Case {
        const char* vA; // the V and A1A2 columns of the BVE-9100 line, and what follows the times
        const char* tail;
        const char* channels;
        const char* aud; // the channels of the AUD line, "" for none
    } cases[] = {
        {"V      ", "", "V", ""},           {"   A1  ", "", "A", ""},           {"     A2", "", "A2", ""},
        {"   A1A2", "", "AA", ""},          {"V  A1  ", "", "B", ""},           {"V    A2", "", "A2/V", ""},
        {"V  A1A2", "", "AA/V", ""},        {"       ", " A3", "NONE", "3"},    {"       ", " A4", "NONE", "4"},
        {"       ", " A3A4", "NONE", "34"}, {"V  A1A2", " A3A4", "AA/V", "34"}, {"VASMBL ", "", "AA/V", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vA);
        const auto lines = exportLines(bve(std::string("0007  TAPE01 ") + c.vA + " C           ", c.tail));
        ASSERT_EQ(lines.size(), *c.aud ? 2u : 1u);
        EXPECT_EQ(lines[0].number + "|" + lines[0].reel + "|" + lines[0].channels + "|" + lines[0].type,
                  std::string("007|TAPE01|") + c.channels + "|C");
        if (*c.aud) {
            EXPECT_EQ(lines[1].kind + lines[1].text, std::string("AUD") + c.aud);
        }
    }
}

TEST(Cmx3600, TransitionsKeysAndSpeeds) {
    // A dissolve after a cut of another edit gets the zero-length outgoing line; after a
    // zero-length cut of its own edit it does not; the first event's wipe comes from black.
    const auto lines =
        exportLines("0001  A001   V       W    012 020   00:00:01.00 00:00:02.00 01:00:00.00 01:00:01.00\r\n"
                    "0002  B002   V       C              00:10:00.00 00:10:04.00 01:00:01.00 01:00:05.00\r\n"
                    "0003  C003   V       D        030   00:20:00.00 00:20:03.00 01:00:05.00 01:00:08.00\r\n"
                    "0004  C003   V       C              00:20:03.00 00:20:03.00 01:00:08.00 01:00:08.00\r\n"
                    "0004  D004   V       D        999   00:30:00.00 00:30:01.00 01:00:08.00 01:00:09.00\r\n"
                    "0005  K005   V       KB   006       00:40:00.00 00:40:01.00 01:00:09.00 01:00:10.00\r\n"
                    "0005  K006   V       KI   005 020   00:50:00.00 00:50:01.00 01:00:09.00 01:00:10.00\r\n"
                    "0006  K006   V       KO       010   00:50:01.00 00:50:02.00 01:00:10.00 01:00:11.00\r\n");
    std::vector<std::string> got;
    for (const CmxLine& l : lines)
        got.push_back(l.number + " " + l.reel + " " + l.type + " " + l.transition + " " + l.srcIn + " " + l.srcOut +
                      " " + l.recIn + " " + l.recOut);
    const std::vector<std::string> expected = {
        "001 BL C  00:00:00:00 00:00:00:00 01:00:00:00 01:00:00:00",
        "001 A001 W012 020 00:00:01:00 00:00:02:00 01:00:00:00 01:00:01:00",
        "002 B002 C  00:10:00:00 00:10:04:00 01:00:01:00 01:00:05:00",
        "003 B002 C  00:10:04:00 00:10:04:00 01:00:05:00 01:00:05:00",
        "003 C003 D 030 00:20:00:00 00:20:03:00 01:00:05:00 01:00:08:00",
        "004 C003 C  00:20:03:00 00:20:03:00 01:00:08:00 01:00:08:00",
        "004 D004 D 999 00:30:00:00 00:30:01:00 01:00:08:00 01:00:09:00",
        "005 K005 KB  00:40:00:00 00:40:01:00 01:00:09:00 01:00:10:00",
        "005 K006 K 020 00:50:00:00 00:50:01:00 01:00:09:00 01:00:10:00",
        "006 K006 KO 010 00:50:01:00 00:50:02:00 01:00:10:00 01:00:11:00",
    };
    EXPECT_EQ(got, expected);

    // Speeds are percentages of 30 frames per second, written with their sign and one decimal.
    const std::pair<const char*, const char*> speeds[] = {
        {" DM-100", " -030.0"}, {" DM+050", " +015.0"}, {" DM25", " +007.5"},   {" DM-033", " -009.9"},
        {" DM0", " +000.0"},    {" DM9999", "+2999.7"}, {" DM+200", " +060.0"},
    };
    for (const auto& [tail, speed] : speeds) {
        SCOPED_TRACE(tail);
        const auto m = exportLines(bve("0001  TAPE01 V       C           ", tail));
        ASSERT_EQ(m.size(), 2u);
        EXPECT_EQ(m[1].kind + "|" + m[1].reel + "|" + m[1].speed + "|" + m[1].entry,
                  std::string("M2|TAPE01|") + speed + "|01:00:00:00");
    }
}

TEST(Cmx3600, DropFrameSeparatorsConversionAndEventNumbers) {
    // Source times keep their own counting; record times and FCM follow the written counting.
    const std::string line = "0001  TAPE01 V       C              01:00:00,00 01:00:05,00 01:00:03,18 01:00:05,00\r\n"
                             "0002  TAPE01 V       C              01:00:00.00 01:00:05.00 01:00:03,18 01:00:05,00\r\n";
    const std::string edl = "TITLE: T\r\nEDIT  REEL   P-VTR IN\r\n" + line;
    const auto doc = loadEdl(edl);
    for (const bool convert : {false, true}) {
        const auto lines = readCmx(cmx3600Text(*doc, u"T", convert));
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[1].text, convert ? "NON-DROP FRAME" : "DROP FRAME");
        EXPECT_EQ(lines[3].srcIn, "01:00:00;00");
        EXPECT_EQ(lines[4].srcIn, "01:00:00:00");
        EXPECT_EQ(lines[3].recIn, convert ? "01:00:00:00" : "01:00:03;18");
    }

    const std::pair<int, int> numbers[] = {{0, 0}, {1, 1}, {999, 999}, {1000, 1}, {1998, 999}, {1999, 1}, {9999, 9}};
    for (const auto& [edit, cmx] : numbers)
        EXPECT_EQ(cmx3600EventNumber(edit), cmx) << edit;
    EXPECT_EQ(exportLines(bve("1000  TAPE01 V       C           "))[0].number, "001");

    // Neighbouring edits never share a number; the lines of one edit do.
    struct Edits {
        std::vector<const char*> edits;
        std::vector<std::string> numbers;
    };
    const Edits runs[] = {
        {{"0003", "003 ", "003 ", "0004"}, {"003", "004", "004", "005"}},
        {{"0001", "1000", "0002"}, {"001", "002", "003"}},
        {{"0998", "0999", "1998"}, {"998", "999", "001"}},
    };
    for (const Edits& run : runs) {
        std::string events;
        for (const char* edit : run.edits)
            events += bve(std::string(edit) + "  TAPE01 V       C           ");
        std::vector<std::string> got;
        for (const CmxLine& l : exportLines(events))
            got.push_back(l.number);
        EXPECT_EQ(got, run.numbers) << run.edits[0];
    }
}

TEST(Cmx3600, CommentsMemosAndMarkers) {
    const auto doc = loadEdl("TITLE: T\r\nEDIT  REEL   P-VTR IN\r\n          * FIRST\r\n          second\r\n" +
                             bve("0001  TAPE01 V       C           ") + bve("0001  TAPE02 V       C           "));
    static char16_t memo[] = u"確認\r\nline two";
    doc->events[1].workMemo = memo;
    doc->events[1].workMemoLength = 13;
    doc->events[1].hasWorkMemo = 1;
    doc->events[1].marker = 1;
    std::copy_n(u"要\r\n確\t認", 7, doc->markerNames[1]); // a damaged description: one line all the same
    const auto lines = readCmx(cmx3600Text(*doc, u"T", false));
    std::vector<std::string> got;
    for (size_t i = 3; i < lines.size(); ++i)
        got.push_back(lines[i].kind == "*" ? lines[i].text : lines[i].kind + " " + lines[i].reel);
    const std::vector<std::string> expected = {
        "event TAPE01",
        "* FIRST",
        "* second",
        "event TAPE02",
        cp932::encode(u"* COMMENT: 確認"),
        "* COMMENT: line two",
        cp932::encode(u"* LOC: 10:00:00:00 BLUE    要??確\t認"),
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(cmx3600ColourName(0x000AFF), "RED");
    EXPECT_EQ(cmx3600ColourName(0x00E0E0), "YELLOW");
    EXPECT_EQ(cmx3600DefaultTitle(u"C:\\out\\take.1.edl"), u"take.1");
}

TEST(Cmx3600, LargeGeneratedListReadsBackEventForEvent) {
    for (const bool dropFrame : {false, true}) {
        bench::EdlGeneratorOptions options;
        options.events = 10000;
        options.dropFrame = dropFrame;
        const std::string edl = bench::generateEdl(options);
        const auto doc = loadEdl(edl);
        const auto lines = readCmx(cmx3600Text(*doc, u"LARGE", false));
        int events = 0;
        int outgoing = 0;
        for (const CmxLine& l : lines) {
            if (l.kind != "event")
                continue;
            ++events;
            outgoing += l.type == "C" && l.recIn == l.recOut;
            ASSERT_EQ(l.recIn[8], dropFrame ? ';' : ':');
            const int n = std::stoi(l.number);
            ASSERT_TRUE(n >= 1 && n <= 999) << l.number;
        }
        EXPECT_EQ(events - outgoing, doc->eventCount());
        EXPECT_GT(outgoing, 0);
    }
}
