// The CMX 3600 reader: each mapping row, the tolerated forms, a list written as today's systems
// write it, the refusals, and the round trip BVE-9100 -> CMX 3600 -> BVE-9100 for generated lists.

#include "edl_generator.h"
#include "model/cmx3600_reader.h"
#include "model/cp932.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "outputs/cmx3600.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

// UTF-8 of a column or comment text (the texts here are all in the first plane).
std::string narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Each event of a translated list as "EDIT|REEL|V|A|TYP|PTRN|TRANST|SPED|P-IN|P-OUT|R-IN|R-OUT",
// its comment after " / " when it has one.
std::vector<std::string> rowsOf(const ParsedEdl& parsed) {
    std::vector<std::string> rows;
    for (const EdlEvent& ev : parsed.events) {
        std::string row;
        for (int c = kColEdit; c <= kColRecOut; ++c)
            row += (c ? "|" : "") + narrow(ev.text[c]);
        if (ev.hasOptionComment) {
            std::string comment = narrow({ev.optionComment, static_cast<size_t>(ev.optionCommentLength)});
            for (char& ch : comment)
                ch = ch == '\r' ? ' ' : ch == '\n' ? ';' : ch;
            row += " / " + comment;
        }
        rows.push_back(row);
    }
    return rows;
}

CmxTranslation translated(const std::string& cmx) {
    EXPECT_TRUE(looksLikeCmx3600(cmx)) << cmx;
    CmxTranslation t = translateCmx3600(cmx);
    EXPECT_EQ(t.status, CmxStatus::Ok) << cmx;
    EXPECT_TRUE(looksLikeBve9100(t.text));
    return t;
}

std::vector<std::string> rowsOf(const std::string& cmx) {
    return rowsOf(parseEdl(translated(cmx).text));
}

const std::string kHead = "TITLE: T\r\nFCM: NON-DROP FRAME\r\n\r\n";
const std::string kTc = "01:00:00:00 01:00:05:00 10:00:00:00 10:00:05:00";
const std::string kBveTc = "01:00:00.00|01:00:05.00|10:00:00.00|10:00:05.00";

} // namespace

TEST(Cmx3600Reader, EveryMappingRow) {
    struct Row {
        const char* what;
        std::string cmx;               // the lines after the title and FCM
        std::vector<std::string> rows; // the events of the translation
    };
    const std::vector<Row> rows = {
        {"V", "001  TAPE01   V     C        " + kTc, {"0001|TAPE01|V|    |C||||" + kBveTc}},
        {"A", "001  TAPE01   A     C        " + kTc, {"0001|TAPE01||A1  |C||||" + kBveTc}},
        {"A2", "001  TAPE01   A2    C        " + kTc, {"0001|TAPE01||  A2|C||||" + kBveTc}},
        {"AA", "001  TAPE01   AA    C        " + kTc, {"0001|TAPE01||A1A2|C||||" + kBveTc}},
        {"B", "001  TAPE01   B     C        " + kTc, {"0001|TAPE01|V|A1  |C||||" + kBveTc}},
        {"A2/V", "001  TAPE01   A2/V  C        " + kTc, {"0001|TAPE01|V|  A2|C||||" + kBveTc}},
        {"AA/V", "001  TAPE01   AA/V  C        " + kTc, {"0001|TAPE01|V|A1A2|C||||" + kBveTc}},
        {"NONE", "001  TAPE01   NONE  C        " + kTc, {"0001|TAPE01||    |C||||" + kBveTc}},
        {"A3, A4",
         "001  TAPE01   A3    C        " + kTc + "\r\n002  TAPE01   A4    C        " + kTc,
         {"0001|TAPE01||    A3|C||||" + kBveTc, "0002|TAPE01||      A4|C||||" + kBveTc}},
        {"AUD 3 4",
         "001  TAPE01   AA/V  C        " + kTc + "\r\nAUD  3    4",
         {"0001|TAPE01|V|A1A2A3A4|C||||" + kBveTc}},
        {"AUD 4", "001  TAPE01   NONE  C        " + kTc + "\r\nAUD  4", {"0001|TAPE01||      A4|C||||" + kBveTc}},
        {"A5 and A12 dropped",
         "001  TAPE01   A5    C        " + kTc + "\r\n002  TAPE01   A12/V C        " + kTc,
         {"0001|TAPE01||    |C||||" + kBveTc, "0002|TAPE01|V|    |C||||" + kBveTc}},
        {"two-line dissolve",
         "002  TAPE01   V     C        01:00:05:00 01:00:05:00 10:00:05:00 10:00:05:00\r\n"
         "002  TAPE02   V     D    030 02:00:00:00 02:00:04:00 10:00:05:00 10:00:09:00",
         {"0001|TAPE01|V|    |C||||01:00:05.00|01:00:05.00|10:00:05.00|10:00:05.00",
          "0001|TAPE02|V|    |D||030||02:00:00.00|02:00:04.00|10:00:05.00|10:00:09.00"}},
        {"wipe with its code",
         "003  BL       V     C        00:00:00:00 00:00:00:00 10:00:00:00 10:00:00:00\r\n"
         "003  TAPE02   V     W012 015 " +
             kTc,
         {"0001|BL|V|    |C||||00:00:00.00|00:00:00.00|10:00:00.00|10:00:00.00",
          "0001|TAPE02|V|    |W|012|015||" + kBveTc}},
        {"keys",
         "001  K1       V     K        " + kTc + "\r\n002  K1       V     KB   010 " + kTc +
             "\r\n003  K1       V     KO   005 " + kTc,
         {"0001|K1|V|    |KI||||" + kBveTc, "0002|K1|V|    |KB|000|010||" + kBveTc,
          "0003|K1|V|    |KO||005||" + kBveTc}},
        {"M2 reverse, freeze, fractional",
         "001  R1       V     C        01:00:05:00 01:00:00:00 10:00:00:00 10:00:05:00\r\n"
         "M2   R1       -030.0                      01:00:05:00\r\n"
         "002  R2       V     C        " +
             kTc +
             "\r\nM2   R2       000.0                       01:00:00:00\r\n"
             "003  R3       V     C        " +
             kTc +
             "\r\nM2   R3       +007.5                      01:00:00:00\r\n"
             "004  R4       V     C        " +
             kTc + "\r\nM2   R4       23.976                      01:00:00:00",
         {"0001|R1|V|    |C|||-100|01:00:05.00|01:00:00.00|10:00:00.00|10:00:05.00",
          "0002|R2|V|    |C|||+000|" + kBveTc, "0003|R3|V|    |C|||+025|" + kBveTc,
          "0004|R4|V|    |C|||+080|" + kBveTc}},
        {"M2 of the dissolve's incoming reel",
         "001  R1       V     C        " + kTc + "\r\n001  R2       V     D    010 " + kTc +
             "\r\nM2   R1       015.0                       01:00:00:00",
         {"0001|R1|V|    |C|||+050|" + kBveTc, "0001|R2|V|    |D||010||" + kBveTc}},
        {"drop frame: record after FCM, source by its own separator",
         "FCM: DROP FRAME\r\n001  TAPE01   V     C        01:00:00;00 01:00:05;00 10:00:00:00 10:00:05:00\r\n"
         "002  TAPE01   V     C        " +
             kTc,
         {"0001|TAPE01|V|    |C||||01:00:00,00|01:00:05,00|10:00:00,00|10:00:05,00",
          "0002|TAPE01|V|    |C||||01:00:00.00|01:00:05.00|10:00:00,00|10:00:05,00"}},
        {"comments follow their event, statements kept",
         "* BEFORE THE FIRST\r\n001  TAPE01   V     C        " + kTc +
             "\r\n* FROM CLIP NAME: a.mov\r\n* LOC: 10:00:01:00 RED   look\r\nSPLIT:    AUDIO DELAY=  00:00:00:10\r\n"
             "002  TAPE01   V     C        " +
             kTc + "\r\n*\r\n* 日本語",
         {"0001|TAPE01|V|    |C||||" + kBveTc +
              " / * BEFORE THE FIRST ;* FROM CLIP NAME: a.mov ;* LOC: 10:00:01:00 "
              "RED   look ;SPLIT:    AUDIO DELAY=  00:00:00:10 ;",
          "0002|TAPE01|V|    |C||||" + kBveTc + " / * ;* 日本語 ;"}},
        {"a line of nine colons stays a comment",
         "001  TAPE01   V     C        " + kTc + "\r\n* a:b:c:d:e:f:g:h:i:j",
         {"0001|TAPE01|V|    |C||||" + kBveTc + " / * a:b:c:d:e:f:g:h：i：j ;"}},
        {"a line that cannot be read",
         "001  TAPE01   V     C        " + kTc + "\r\n002  TAPE01   V  C  01:00",
         {"0001|TAPE01|V|    |C||||" + kBveTc + " / 002  TAPE01   V  C  01:00 ;"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(rowsOf(kHead + row.cmx + "\r\n"), row.rows) << row.what;
}

TEST(Cmx3600Reader, ReelsGetShortUniqueNamesAndTheirFullNameAsDescription) {
    const std::string cmx =
        kHead + "001  A001_C002_0101AB.mov V     C        " + kTc + "\r\n002  A001_C003_0101AB.mov V     C        " +
        kTc + "\r\n003  A001_C002_0101AB.mov V     C        " + kTc + "\r\n004  My Clip (1).mov V     C " + kTc +
        "\r\n005  A001_C   V     C        " + kTc + "\r\n006  R.1      V     C        " + kTc +
        "\r\n007  bl       V     C        " + kTc + "\r\n008  AX       V     C        " + kTc + "\r\n";
    const CmxTranslation t = translated(cmx);
    std::vector<std::string> reels;
    for (const std::string& row : rowsOf(parseEdl(t.text)))
        reels.push_back(row.substr(5, row.find('|', 5) - 5));
    // "A001_C" stands in the list itself, so the shortened names take numbers.
    EXPECT_EQ(reels, (std::vector<std::string>{"A001_1", "A001_2", "A001_1", "MyClip", "A001_C", "R1", "bl", "AX"}));
    std::vector<std::string> described;
    for (const ReelDescription& d : t.reelDescriptions)
        described.push_back(narrow(d.reel) + "=" + narrow(d.description));
    EXPECT_EQ(described, (std::vector<std::string>{"A001_1=A001_C002_0101AB.mov", "A001_2=A001_C003_0101AB.mov",
                                                   "MyClip=My Clip (1).mov", "R1=R.1"}));
    EXPECT_EQ(cmx3600ReportText(t.report), "CMX 3600 translated: 4 reel(s) shortened");

    // The descriptions reach the work file's reel table.
    MemorySink sink;
    ASSERT_TRUE(convertEdlText(t.text, sink, &t.reelDescriptions));
    EdlDocument doc;
    ASSERT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc), LoadStatus::Ok);
    int describedReels = 0;
    for (int32_t r = 0; r < doc.reelCount; ++r) {
        if (std::u16string_view(doc.reelNames[r]) == u"MyClip") {
            EXPECT_EQ(std::u16string_view(doc.reelComments[r]), u"My Clip (1).mov");
        }
        describedReels += doc.reelComments[r][0] != 0;
    }
    EXPECT_EQ(describedReels, 4);
}

TEST(Cmx3600Reader, ToleratedFormsReadAsTheCanonicalList) {
    const std::string canonical = "TITLE: T\r\nFCM: NON-DROP FRAME\r\n001  TAPE01   V     C        " + kTc +
                                  "\r\n002  TAPE02   AA/V  D    030 " + kTc + "\r\n* NOTE\r\n";
    const std::vector<std::string> expected = rowsOf(canonical);
    ASSERT_EQ(expected.size(), 2u);
    const std::vector<std::pair<const char*, std::string>> forms = {
        {"tabs", "TITLE: T\nFCM: NON-DROP FRAME\n001\tTAPE01\tV\tC\t" + kTc + "\n002\tTAPE02\tAA/V\tD\t030\t" + kTc +
                     "\n* NOTE\n"},
        {"several spaces", "001     TAPE01      V      C     " + kTc + "\n002 TAPE02 AA/V D 030 " + kTc + "\n* NOTE\n"},
        {"four- and six-digit numbers",
         "0001  TAPE01 V C " + kTc + "\n000002  TAPE02 AA/V D 030 " + kTc + "\n* NOTE\n"},
        {"lower case",
         "title: T\nfcm: non-drop frame\n001  TAPE01 v c " + kTc + "\n002  TAPE02 aa/v d 030 " + kTc + "\n* NOTE\n"},
        {"no TITLE, no FCM", "001  TAPE01 V C " + kTc + "\n002  TAPE02 AA/V D 030 " + kTc + "\n* NOTE\n"},
        {"trailing blanks and garbage",
         "001  TAPE01 V C " + kTc + "   \n002  TAPE02 AA/V D 030 " + kTc + " xyz 12\n* NOTE   \n"},
        {"CR line ends and a final Ctrl-Z",
         "001  TAPE01 V C " + kTc + "\r002  TAPE02 AA/V D 030 " + kTc + "\r* NOTE\r\x1A" + "999  JUNK V C " + kTc},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF"
                                  "001  TAPE01 V C " +
                                      kTc + "\r\n002  TAPE02 AA/V D 030 " + kTc + "\r\n* NOTE\r\n"},
        {"semicolons in non-drop record times", "001  TAPE01 V C " + kTc + "\n002  TAPE02 AA/V D 030 " +
                                                    "01:00:00:00 01:00:05:00 10:00:00;00 10:00:05;00\n* NOTE\n"},
    };
    for (const auto& [what, cmx] : forms)
        EXPECT_EQ(rowsOf(cmx), expected) << what;

    // UTF-8 comments are written in code page 932, '?' where it has no character.
    const CmxTranslation utf8 = translated("001  TAPE01 V C " + kTc + "\n* 音声 \xF0\x9F\x8E\xAC ok\n");
    EXPECT_EQ(rowsOf(parseEdl(utf8.text)),
              (std::vector<std::string>{"0001|TAPE01|V|    |C||||" + kBveTc + " / * 音声 ? ok ;"}));
    EXPECT_EQ(cmx3600ReportStatus(utf8.report), u"CMX 3600 から変換: 1文字を?に置換");

    // A title too long for one header line is cut at a whole character, and the report says so.
    std::string title = "TITLE: A" + std::string(151, 'x');
    for (int i = 0; i < 50; ++i)
        title += "音"; // two bytes in code page 932
    const CmxTranslation longTitle = translated(title + "\n001  TAPE01 V C " + kTc + "\n");
    EXPECT_EQ(longTitle.text.substr(0, longTitle.text.find('\r')).size(), 239u); // 240 would split a character
    EXPECT_EQ(rowsOf(parseEdl(longTitle.text)).size(), 1u);
    EXPECT_EQ(cmx3600ReportText(longTitle.report), "CMX 3600 translated: 20 byte(s) cut from the title");
    EXPECT_EQ(cmx3600ReportStatus(longTitle.report), u"CMX 3600 から変換: 20バイトをタイトルから削除");
}

TEST(Cmx3600Reader, ListWrittenAsTodaysSystemsWriteIt) {
    const auto bytes = readBytes(dataPath("cmx3600/modern.edl"));
    const std::string cmx(bytes.begin(), bytes.end());
    const CmxTranslation t = translated(cmx);
    const ParsedEdl parsed = parseEdl(t.text);
    const std::vector<std::string> rows = rowsOf(parsed);
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[2].substr(0, rows[2].find(" / ")),
              "0002|MyClip|V|A1A2|D||030||02:00:00.00|02:00:05.00|10:00:04.00|10:00:09.00");
    EXPECT_EQ(rows[6].substr(0, 60), "0004|B003|V|    |W|012|020||04:00:00.00|04:00:02.00|10:00:12");
    EXPECT_EQ(rows[9].substr(0, 30), "0006|GFX01|V|    |KI|000|008||");
    EXPECT_EQ(rows[10].substr(0, 29), "0007|B005|V|A1  |C|||-100|07:");
    EXPECT_EQ(rows[11].substr(0, 29), "0008|B006||    A3A4|C||||08:0");
    EXPECT_EQ(rows[15].substr(0, 8), "0012|BL|");
    // The two lines of an edit share its number and its comments.
    EXPECT_EQ(rows[1].substr(rows[1].find(" / ")),
              " / * FROM CLIP NAME: Opening wide.mov ;* TO CLIP NAME: My Clip (1).mov ;");
    EXPECT_EQ(rows[2].substr(rows[2].find(" / ")), rows[1].substr(rows[1].find(" / ")));
    EXPECT_EQ(rows[14].substr(rows[14].find(" / ")),
              " / SPLIT:    AUDIO DELAY=  00:00:00:10 ;* COMMENT: 音声差し替え ;");
    EXPECT_EQ(parsed.events[4].editGroup, parsed.events[3].editGroup);
    EXPECT_NE(parsed.events[5].editGroup, parsed.events[4].editGroup);
    EXPECT_EQ(t.text.substr(0, 22), "TITLE: MODERN CUT v3\r\n");
    EXPECT_EQ(cmx3600ReportStatus(t.report),
              u"CMX 3600 から変換: 2個のリール名を短縮、1行をコメントとして保持、1個のA5以降の音声チャンネルを削除");
}

TEST(Cmx3600Reader, RecognitionAndRefusals) {
    std::string tooMany = kHead;
    for (int i = 1; i <= 10000; ++i)
        tooMany += std::to_string(i) + "  TAPE01   V     C        " + kTc + "\r\n";
    const std::vector<std::pair<std::string, ConvertStatus>> cases = {
        {kHead + "001  TAPE01   V     C        " + kTc + "\r\n", ConvertStatus::Ok},
        {"TITLE: B\r\nEDIT  REEL   V  A1A2 TYP P-VTR IN\r\n", ConvertStatus::Ok}, // BVE-9100 as it is
        {"TITLE: X\r\nhello\r\n", ConvertStatus::NotRecognised},
        {"", ConvertStatus::NotRecognised},
        {"1\r\n2\r\n3\r\n001  TAPE01   V     C        " + kTc + "\r\n", ConvertStatus::NotRecognised},
        {kHead + "001  TAPE01   V     C        01:00:00:00 01:00:05:49 10:00:00:00 10:00:05:00\r\n",
         ConvertStatus::CmxFrameRate},
        {tooMany, ConvertStatus::CmxTooManyEdits},
    };
    for (const auto& [bytes, expected] : cases) {
        CmxTranslation translation;
        std::string_view text;
        bool cmx = false;
        EXPECT_EQ(edlTextOf(bytes, translation, text, cmx), expected) << bytes.substr(0, 80);
    }
    // 9,999 edits are read.
    const std::string lastFits = tooMany.substr(0, tooMany.rfind("10000  "));
    EXPECT_EQ(parseEdl(translated(lastFits).text).lastEditNumber, 9999);
}

// A BVE-9100 comment as it comes back from CMX 3600: each line starred unless it was, blank lines
// left out, CR LF after each.
static std::u16string starred(std::u16string_view comment) {
    std::u16string out;
    size_t pos = 0;
    while (pos < comment.size()) {
        size_t end = comment.find_first_of(u"\r\n", pos);
        if (end == std::u16string_view::npos)
            end = comment.size();
        const std::u16string_view line = comment.substr(pos, end - pos);
        if (line.find_first_not_of(u" \t\u3000") != std::u16string_view::npos)
            out.append(line[0] == u'*' ? u"" : u"* ").append(line).append(u"\r\n");
        pos = end + 1;
    }
    return out;
}

// BVE-9100 lists exported as CMX 3600 and read back: the same events. By design the edits are
// renumbered, a dissolve or wipe gains the zero-length outgoing cut the CMX form writes before it
// (skipped here), comment lines are starred, the pattern of a key is not carried, an assemble edit comes back as V A1
// A2 and transition lengths are written with three digits.
TEST(Cmx3600Reader, RoundTripOfGeneratedLists) {
    for (const bool dropFrame : {false, true}) {
        bench::EdlGeneratorOptions options;
        options.events = 400;
        options.dropFrame = dropFrame;
        options.seed = dropFrame ? 7 : 3;
        const std::string edl = bench::generateEdl(options);
        MemorySink sink;
        ASSERT_TRUE(writeWorkFile(parseEdl(edl), edl, sink));
        EdlDocument doc;
        ASSERT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc), LoadStatus::Ok);
        const CmxTranslation back = translated(cmx3600Text(doc, u"T", false));
        const ParsedEdl read = parseEdl(back.text);

        const auto column = [](const EdlEvent& ev, int c) { return std::u16string(ev.text[c]); };
        const auto number = [](std::u16string_view t) {
            int n = 0;
            for (char16_t c : t)
                n = c >= u'0' && c <= u'9' ? n * 10 + (c - u'0') : n;
            return n;
        };
        size_t k = 0;
        for (int32_t i = 0; i < doc.eventCount(); ++i, ++k) {
            const EdlEvent& a = doc.events[i];
            const std::u16string type = column(a, kColType);
            ASSERT_LT(k, read.events.size());
            if ((type == u"D" || type == u"W") &&
                !(i > 0 && column(doc.events[i - 1], kColEdit) == column(a, kColEdit) &&
                  doc.events[i - 1].recIn == doc.events[i - 1].recOut))
                ++k; // the outgoing cut written before it
            ASSERT_LT(k, read.events.size());
            const EdlEvent& b = read.events[k];
            const std::string where = "event " + std::to_string(i) + (dropFrame ? " DF" : " NDF");
            EXPECT_EQ(column(b, kColReel), column(a, kColReel)) << where;
            const bool assemble = column(a, kColV).find(u"ASMBL") != std::u16string::npos;
            EXPECT_EQ(column(b, kColV), assemble ? u"V" : column(a, kColV)) << where;
            EXPECT_EQ(column(b, kColA), assemble ? u"A1A2" : column(a, kColA)) << where;
            EXPECT_EQ(column(b, kColType), type == u"K" ? u"KI" : type) << where;
            if (type == u"W") {
                EXPECT_EQ(number(column(b, kColPattern)), number(column(a, kColPattern))) << where;
            }
            EXPECT_EQ(number(column(b, kColTransition)), number(column(a, kColTransition))) << where;
            EXPECT_EQ(number(column(b, kColSpeed)), number(column(a, kColSpeed))) << where;
            for (int c = kColSrcIn; c <= kColRecOut; ++c)
                EXPECT_EQ(column(b, c), column(a, c)) << where << " column " << c;
            EXPECT_EQ(b.recIn, a.recIn) << where;
            EXPECT_EQ(b.srcIn, a.srcIn) << where;
            EXPECT_EQ(b.hasOptionComment != 0, a.hasOptionComment != 0) << where;
            if (a.hasOptionComment && b.hasOptionComment) {
                EXPECT_EQ(std::u16string_view(b.optionComment, b.optionCommentLength),
                          starred({a.optionComment, static_cast<size_t>(a.optionCommentLength)}))
                    << where;
            }
            // Events of one edit stay one edit.
            if (i > 0 && k > 0) {
                EXPECT_EQ(column(read.events[k - 1], kColEdit) == column(b, kColEdit),
                          column(doc.events[i - 1], kColEdit) == column(a, kColEdit) || (type == u"D" || type == u"W"))
                    << where;
            }
        }
        EXPECT_EQ(k, read.events.size());
    }
}
