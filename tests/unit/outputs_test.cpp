// The record offset, the EDL export and the listings: the worked examples and their neighbours,
// the drop-frame conversion over a whole day, and hostile EDL texts for the export walk.

#include "model/byte_sink.h"
#include "model/cp932.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "model/timecode.h"
#include "ops/info_texts.h"
#include "ops/offset.h"
#include "outputs/edl_export.h"
#include "outputs/listing.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

// The bytes the export and a listing write, gathered in memory.
std::string exported(const EdlDocument& doc, std::string_view text) {
    MemorySink sink;
    EXPECT_EQ(exportEdlText(doc, text, false, sink).status, EdlTextStatus::Written);
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

std::string listing(EdlDocument& doc, std::u16string_view path, const ListingTime& time) {
    MemorySink sink;
    EXPECT_TRUE(writeListing(doc, path, time, sink));
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

// An EDL text converted and loaded as the application loads its work file.
std::unique_ptr<EdlDocument> loadEdl(std::string_view text) {
    MemorySink sink;
    EXPECT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    auto doc = std::make_unique<EdlDocument>();
    EXPECT_EQ(loadProjectImage(sink.bytes.data(), sink.bytes.size(), *doc), LoadStatus::Ok);
    return doc;
}

std::string eventLine(const char* edit, const char* recIn, const char* recOut, char sep = '.') {
    std::string src = std::string("01:00:00") + sep + "00 01:00:05" + sep + "00 ";
    return std::string(edit) + "  TAPE01 V  A1A2 C              " + src + recIn + " " + recOut;
}

int32_t label(int h, int m, int s, int f) {
    return h * kFramesPerHour + m * kFramesPerMinute + s * 30 + f;
}

std::string utf8(std::u16string_view text) {
    return std::filesystem::path(std::u16string(text)).string();
}

std::u16string column(const EdlEvent& e, int c) {
    return std::u16string(e.text[c]);
}

} // namespace

TEST(Offset, WorkedExamplesAndNeighbours) {
    struct Case {
        const char* edl; // record IN of the first event (the original address) and of the second
        const char16_t* entry;
        int direction;
        const char16_t* display;
        int hasHour23;
        const char16_t* secondIn;
    };
    const Case cases[] = {
        {"01:00:00.00|01:00:05.10", u"01000000", 0, u"+00:00:00.00", 0, u"01:00:05.10"},
        {"01:00:00,00|01:00:05,10", u"01000000", 0, u"+00:00:00,00", 0, u"01:00:05,10"},
        {"01:00:00.00|01:00:05.10", u"10000000", 2, u"+09:00:00.00", 0, u"10:00:05.10"},
        {"01:00:00.00|01:00:30.00", u"23590000", 1, u"-01:01:00.00", 1, u"23:59:30.00"},
        {"01:00:00.00|01:02:00.00", u"23590000", 1, u"-01:01:00.00", 1, u"00:01:00.00"},
        {"23:59:00.00|00:01:00.00", u"01000000", 1, u"-22:59:00.00", 0, u"01:02:00.00"},
        {"22:00:00.00|22:00:00.00", u"23000000", 1, u"-23:00:00.00", 1, u"23:00:00.00"},
        {"20:00:00.00|23:30:00.00", u"21000000", 2, u"+01:00:00.00", 0, u"00:30:00.00"},
        {"00:00:00,00|00:00:59,29", u"00010002", 2, u"+00:01:00,02", 0, u"00:02:00,03"},
        {"00:00:10.00|00:00:20.00", u"0", 1, u"-00:00:10.00", 0, u"00:00:10.00"},
        {"00:00:10.00|00:00:20.00", u"1000", 0, u"+00:00:00.00", 0, u"00:00:20.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edl + std::string(" ") + utf8(c.entry));
        const std::string in(c.edl, 11), second(c.edl + 12, 11);
        const char sep = in[8];
        const std::string text = "TITLE: T\r\nEDIT P-VTR\r\n" + eventLine("0001", in.c_str(), in.c_str(), sep) +
                                 "\r\n" + eventLine("0002", second.c_str(), second.c_str(), sep) + "\r\n";
        auto doc = loadEdl(text);
        ASSERT_EQ(doc->eventCount(), 2);
        const OffsetOutcome outcome = applyOffset(*doc, c.entry, doc->events[0].recInCopy);
        EXPECT_EQ(outcome.status, OffsetStatus::Applied);
        EXPECT_EQ(doc->recOffsetDirection, c.direction);
        EXPECT_EQ(utf8(offsetText(*doc)), utf8(c.display));
        EXPECT_EQ(doc->hasHour23, c.hasHour23);
        EXPECT_EQ(doc->edited, 1);
        EXPECT_EQ(utf8(column(doc->events[1], kColRecIn)), utf8(c.secondIn));
        EXPECT_EQ(utf8(column(doc->events[1], kColRecOut)), utf8(c.secondIn));
        // The times as read stay; a second offset is computed from them again.
        applyOffset(*doc, c.entry, doc->events[0].recInCopy);
        EXPECT_EQ(utf8(column(doc->events[1], kColRecIn)), utf8(c.secondIn));
    }
}

TEST(Offset, EntriesRefusedEmptyAndWithoutEvent) {
    const std::string text = "EDIT P-VTR\r\n" + eventLine("0001", "01:00:00.00", "01:00:05.00") + "\r\n";
    auto doc = loadEdl(text);
    for (const char16_t* refused : {u"5959", u"24000000", u"123456789012"}) {
        EXPECT_EQ(applyOffset(*doc, refused, doc->events[0].recInCopy).status, OffsetStatus::OutOfRange);
    }
    EXPECT_EQ(applyOffset(*doc, u"", doc->events[0].recInCopy).status, OffsetStatus::Empty);
    EXPECT_EQ(doc->recOffsetSign, u' ');
    EXPECT_EQ(doc->edited, 0);
    EXPECT_EQ(utf8(offsetText(*doc)), " 00:00:00.00");

    // No shown row (an empty search view) and no document: nothing happens.
    doc->currentView = kSearchResult;
    EXPECT_EQ(applyOffsetToCurrentEvent(*doc, u"02000000").status, OffsetStatus::NoEvent);
    EdlDocument none;
    EXPECT_EQ(applyOffsetToCurrentEvent(none, u"02000000").status, OffsetStatus::NoEvent);
    doc->currentView = kAllEvents;
    EXPECT_EQ(applyOffsetToCurrentEvent(*doc, u"02000000").status, OffsetStatus::Applied);
    EXPECT_EQ(utf8(column(doc->events[0], kColRecOut)), "02:00:05.00");

    EXPECT_EQ(utf8(offsetEntryDigits(u"01:00:00.00")), "01000000");
    EXPECT_EQ(utf8(offsetEntryDigits(u"123456789012345")), "123456789012345");
    EXPECT_EQ(utf8(offsetEntryDigits(u"1234567890123456")), "12345678");
    EXPECT_EQ(utf8(originalAddressText(label(1, 2, 3, 4))), "01020304");
}

TEST(Offset, SearchIsDiscardedOnlyWithTheRecordCriterion) {
    const std::string text = "EDIT P-VTR\r\n" + eventLine("0001", "01:00:00.00", "01:00:05.00") + "\r\n";
    for (const int32_t flags : {4, 2, 6}) {
        auto doc = loadEdl(text);
        doc->events[0].searchHit = 1;
        doc->view[kSearchResult][0] = &doc->events[0];
        doc->viewCount[kSearchResult] = 1;
        doc->search.searchFlags = flags;
        const OffsetOutcome outcome = applyOffset(*doc, u"02000000", doc->events[0].recInCopy);
        EXPECT_EQ(outcome.discardSearch, (flags & 4) != 0);
        // A zero offset keeps the search even with the record criterion.
        EXPECT_FALSE(applyOffset(*doc, u"01000000", doc->events[0].recInCopy).discardSearch);
        discardSearchResult(*doc);
        EXPECT_EQ(doc->viewCount[kSearchResult], 0);
        EXPECT_EQ(doc->events[0].searchHit, 0);
    }
}

TEST(EdlExport, DropFrameConversionKeepsTheFrameCountAllDay) {
    // Every non-drop time of a drop-frame day goes to drop frame and comes back unchanged.
    int32_t mismatches = 0;
    std::string df, back;
    std::u16string ndf(11, u'0'), df16(11, u'0');
    for (int32_t t = 0; t < kDfFramesPerDay; ++t) {
        TimecodeParts p;
        splitFrames(t, p);
        const int fields[4] = {p.hours, p.minutes, p.seconds, p.frames};
        for (int f = 0; f < 4; ++f) {
            ndf[3 * f] = static_cast<char16_t>(u'0' + fields[f] / 10);
            ndf[3 * f + 1] = static_cast<char16_t>(u'0' + fields[f] % 10);
            if (f < 3)
                ndf[3 * f + 2] = f < 2 ? u':' : u'.';
        }
        if (!convertRecordText(ndf, false, df)) {
            ++mismatches;
            continue;
        }
        std::copy(df.begin(), df.end(), df16.begin());
        if (!convertRecordText(df16, true, back) || !std::equal(back.begin(), back.end(), ndf.begin()))
            ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
    struct Case {
        const char16_t* in;
        bool fromDf;
        const char* out;
    };
    const Case cases[] = {
        {u"00:01:00.00", false, "00:01:00,02"}, {u"01:00:00.00", false, "01:00:03,18"},
        {u"00:10:00.00", false, "00:10:00,18"}, {u"23:58:33.18", false, "00:00:00,00"},
        {u"23:59:59.29", false, "00:01:26,13"}, {u"01:00:03,18", true, "01:00:00.00"},
        {u"00:01:00,00", true, "00:01:00.00"},  {u"99:00:00,00", true, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        const bool ok = convertRecordText(c.in, c.fromDf, out);
        EXPECT_EQ(ok, *c.out != 0) << utf8(c.in);
        if (ok) {
            EXPECT_EQ(out, c.out) << utf8(c.in);
        }
    }
}

TEST(EdlExport, WalkCountsLinesAsTheReaderAndKeepsEveryOtherByte) {
    const std::string ev1 = eventLine("0001", "01:00:00.00", "01:00:05.00");
    const std::string ev2 = eventLine("0002", "01:00:05.00", "01:00:10.00");
    const std::string long300(300, 'x');
    struct Case {
        const char* name;
        std::string text;
        std::string expected; // with an offset of one hour; empty: the text itself
    };
    auto shifted = [](std::string s) {
        for (size_t p = s.find("01:00:", 58); p != std::string::npos; p = s.find("01:00:", p + 2))
            s.replace(p, 2, "02");
        return s;
    };
    const Case cases[] = {
        {"crlf", "EDIT P-VTR\r\n" + ev1 + "\r\n* note\r\n" + ev2 + "\r\ntail 01:00:00.00 01:00:00.00\r\n",
         "EDIT P-VTR\r\n" + shifted(ev1) + "\r\n* note\r\n" + shifted(ev2) + "\r\ntail 01:00:00.00 01:00:00.00\r\n"},
        {"lf only", "EDIT P-VTR\n" + ev1 + "\n" + ev2 + "\n",
         "EDIT P-VTR\n" + shifted(ev1) + "\n" + shifted(ev2) + "\n"},
        {"lone cr inside a line", "EDIT P-VTR\r" + long300 + "\n" + ev1 + "\r\n",
         "EDIT P-VTR\r" + long300 + "\n" + shifted(ev1) + "\r\n"},
        {"line over 254 bytes", "EDIT P-VTR " + long300 + "\r\n" + ev1 + "\r\n" + ev2,
         "EDIT P-VTR " + long300 + "\r\n" + shifted(ev1) + "\r\n" + shifted(ev2)},
        {"no events", "EDIT P-VTR\r\nnothing 1:2:3\r\n", ""},
        {"event line without two timecodes",
         "EDIT P-VTR\r\n0001 A V C 01:00:00.00 01:00:05.00 :: :: :: 1.2\r\n" + ev2 + "\r\n",
         "EDIT P-VTR\r\n0001 A V C 01:00:00.00 01:00:05.00 :: :: :: 1.2\r\n" + shifted(ev2) + "\r\n"},
        {"nul bytes", "EDIT P-VTR\r\n" + ev1 + std::string("\0\0x", 3) + "\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = loadEdl(c.text);
        const std::string_view stored(reinterpret_cast<const char*>(doc->sourceText), doc->sourceTextSize);
        EXPECT_EQ(exported(*doc, stored), c.text);
        if (doc->eventCount() > 0)
            applyOffset(*doc, u"02000000", label(1, 0, 0, 0));
        const std::string out = exported(*doc, stored);
        if (std::string_view(c.name) == "nul bytes") {
            EXPECT_EQ(out, "EDIT P-VTR\r\n" + shifted(ev1) + std::string("\0\0x", 3) + "\r\n");
        } else {
            EXPECT_EQ(out, c.expected.empty() ? c.text : c.expected);
        }
    }
}

TEST(EdlExport, RecordTimesGoWhereTheReaderFoundThemAndNowhereElse) {
    const std::string header = "TITLE: T\r\nFCM: NON-DROP FRAME\r\n";
    const std::string ev1 = eventLine("0001", "01:00:00.00", "01:00:05.00");
    // The list the export fuzzer found: its R-VTR OUT text "13:09,0130:" is no timecode.
    const std::string found = std::string("P-VTR\n\x01;D V  A,00 20:14:04,00 01:01:09;00:13:09,0130:00:09,01");
    struct Case {
        const char* name;
        std::string text;
        bool offset;           // one hour later from the first event
        bool convert;          // to the other counting
        const char16_t* recIn; // replaces the first event's R-VTR IN text (a damaged project file)
        std::string expected;
    };
    const Case cases[] = {
        {"a record text that is no timecode stays as read", found, false, false, nullptr, found},
        {"a '.' after R-VTR OUT", header + ev1 + " 1.5\r\n", true, false, nullptr,
         header + eventLine("0001", "02:00:00.00", "02:00:05.00") + " 1.5\r\n"},
        {"a ',' after R-VTR OUT, converted", header + ev1 + " 2,5\r\n", false, true, nullptr,
         "TITLE: T\r\nFCM: DROP FRAME\r\n" + eventLine("0001", "01:00:03,18", "01:00:08,18") + " 2,5\r\n"},
        {"converting names the counting, lone LF kept, later FCM lines not",
         "FCM: NON-DROP FRAME\n" + ev1 + "\nFCM: NON-DROP FRAME\n", false, true, nullptr,
         "FCM: DROP FRAME\n" + eventLine("0001", "01:00:03,18", "01:00:08,18") + "\nFCM: NON-DROP FRAME\n"},
        {"drop frame converted to non-drop",
         "FCM: DROP FRAME\r\n" + eventLine("0001", "01:00:03,18", "01:00:08,18", ','), false, true, nullptr,
         "FCM: NON-DROP FRAME\r\n" + eventLine("0001", "01:00:00.00", "01:00:05.00", ',')},
        {"no conversion leaves FCM alone", header + ev1 + "\r\n", true, false, nullptr,
         header + eventLine("0001", "02:00:00.00", "02:00:05.00") + "\r\n"},
        {"an empty record text is not converted", header + ev1 + "\r\n", false, true, u"",
         "TITLE: T\r\nFCM: DROP FRAME\r\n" + eventLine("0001", "01:00:00.00", "01:00:08,18") + "\r\n"},
        {"a short record text is not converted", header + ev1 + "\r\n", false, true, u"12",
         "TITLE: T\r\nFCM: DROP FRAME\r\n" + eventLine("0001", "01:00:00.00", "01:00:08,18") + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = loadEdl(c.text);
        ASSERT_EQ(doc->eventCount(), 1);
        if (c.offset)
            applyOffset(*doc, u"02000000", doc->events[0].recInCopy);
        if (c.recIn)
            std::copy_n(c.recIn, std::char_traits<char16_t>::length(c.recIn) + 1, doc->events[0].text[kColRecIn]);
        const std::string_view stored(reinterpret_cast<const char*>(doc->sourceText), doc->sourceTextSize);
        MemorySink sink;
        EXPECT_EQ(exportEdlText(*doc, stored, c.convert, sink).status, EdlTextStatus::Written);
        EXPECT_EQ(std::string(sink.bytes.begin(), sink.bytes.end()), c.expected);
    }
}

TEST(Listing, RowsHeadersAndCommentBlocks) {
    const std::string comment200(200, 'c');
    const std::string text = "EDIT P-VTR\r\n          " + comment200 + "\r\n" +
                             eventLine("0001", "01:00:00.00", "01:00:05.00") + "\r\n" +
                             eventLine("0001", "01:00:05.00", "01:00:10.00") + "\r\n" +
                             eventLine("0002", "01:00:10,00", "01:00:13,18", ',') + "\r\n";
    auto doc = loadEdl(text);
    std::u16string memo = u"memo  \r\n\r\n  \r\n";
    memo.push_back(0);
    doc->events[1].workMemo = memo.data();
    doc->events[1].workMemoLength = static_cast<int32_t>(memo.size());
    doc->events[1].hasWorkMemo = 1;
    doc->events[2].marker = 1;
    const ListingTime time{2026, 1, 2, 3, 4, 5};
    doc->listOptions[kListOptionComment] = 1;
    doc->listOptions[kListOptionComment + 4] = 1; // work, search group
    std::string out = listing(*doc, u"C:\\EDL\\a.EDL", time);
    const std::u16string c(8, u' ');
    const std::u16string comment(comment200.begin(), comment200.end());
    const std::u16string row = u"0001  TAPE01  V A1A2      C" + std::u16string(23, u' ');
    const std::u16string expected =
        u"Quillon for SONY BVE-9100 Ver 2.6.0 cs1\r\nリスト作成日時: 2026/01/02  03:04:05\r\n"
        u"ファイル: C:\\EDL\\a.EDL\r\n\r\n内容: ビューアＥＤＬ\r\n\r\nREC-TC オフセット= [  00:00:00,00 ]\r\n\r\n"
        u"EDIT  REEL    V A         TYP  PTRN TRANST  SPED  P-VTR IN     P-VTR OUT    R-VTR IN     R-VTR OUT    "
        u"DURATION\r\n" +
        std::u16string(115, u'-') + u"\r\n" + c + comment.substr(0, 80) + u"\r\n" + c + comment.substr(80, 72) +
        u"\r\n" + c + comment.substr(152) + u"\r\n" + row +
        u"01:00:00.00  01:00:05.00  01:00:00.00  01:00:05.00  <00:00:05.00>\r\n"
        u"      >> memo\r\n" +
        row + u"01:00:00.00  01:00:05.00  01:00:05.00  01:00:10.00  <00:00:05.00>\r\n" + row.substr(0, 3) + u"2" +
        row.substr(4) + u"01:00:00,00  01:00:05,00  01:00:10,00  01:00:13,18  <00:00:03.18>\r\n";
    EXPECT_EQ(utf8(cp932::decode(out)), utf8(expected));
    EXPECT_EQ(out.find("<"), out.find("0001  TAPE01") + 102);

    // A block of more than 1,024 converted bytes is written whole.
    const std::u16string longMemo(700, u'あ');
    doc->events[1].workMemo = const_cast<char16_t*>(longMemo.c_str());
    doc->events[1].workMemoLength = static_cast<int32_t>(longMemo.size()) + 1;
    out = listing(*doc, u"a", time);
    std::u16string unwrapped = cp932::decode(out);
    for (size_t p; (p = unwrapped.find(u"\r\n      >> ")) != std::u16string::npos;)
        unwrapped.erase(p, 11);
    EXPECT_NE(unwrapped.find(longMemo), std::u16string::npos);
    doc->events[1].workMemo = memo.data();
    doc->events[1].workMemoLength = static_cast<int32_t>(memo.size());

    // CSV: no report header; short fields padded with "_"; "." becomes ":" and "," becomes ";".
    doc->listOptions[kListCsv] = 1;
    doc->listOptions[kListOptionComment + 8] = 1; // marker, reel group
    out = listing(*doc, u"a", time);
    EXPECT_EQ(out, "EDIT,REEL,V,A,TYP,PTRN,TRANST,SPED,P-VTR IN,P-VTR OUT,R-VTR IN,R-VTR OUT,DURATION\r\n"
                   "[0001],TAPE01,V,A1A2____,C_,____,______,____,01:00:00:00,01:00:05:00,01:00:00:00,01:00:05:00,"
                   "<00:00:05:00>\r\n"
                   "[0001],TAPE01,V,A1A2____,C_,____,______,____,01:00:00:00,01:00:05:00,01:00:05:00,01:00:10:00,"
                   "<00:00:05:00>\r\n"
                   "[0002],TAPE01,V,A1A2____,C_,____,______,____,01:00:00;00,01:00:05;00,01:00:10;00,01:00:13;18,"
                   "<00:00:03:18>\r\n");

    // Search result: the conditions; no marker chosen prints [-1 ]. The headers keep at most 512
    // bytes and never cut a double-byte character.
    doc->listOptions[kListCsv] = 0;
    doc->listOptions[kListKind] = 0;
    doc->listOptions[kListKind + 1] = 1;
    doc->search.searchFlags = 4;
    doc->search.lowerOp[1] = 1;
    doc->search.slotValue[1] = label(1, 0, 0, 0);
    std::copy_n(u"01:00:00.00", 11, doc->search.slotText[1]);
    fillListBoundText(*doc);
    out = listing(*doc, std::u16string(300, u'長'), time);
    const std::u16string decoded = cp932::decode(out);
    const std::u16string header = decoded.substr(0, decoded.find(u"ヒット数"));
    EXPECT_EQ(header.back(), u'長');
    EXPECT_EQ(cp932::encode(header).size(), 511u); // 89 bytes before the path; 512 would split a character
    EXPECT_NE(
        decoded.find(u"ヒット数: 0件( 3 件中)\r\n\r\n検索条件\r\n\t   リール名: [ ****** ]\r\n"
                     u"\t  素材-ＴＣ: [ **:**:**:** ]以上[ **:**:**:** ]以下\r\n"
                     u"\tＲＥＣ-ＴＣ: [ 01:00:00.00 ]超過[ **:**:**:** ]以下\r\n"
                     u"\t       長さ: [ **:**:**:** ]以上[ **:**:**:** ]以下\r\n\t   マーカー: [-1 ]\r\nEDIT  REEL"),
        std::u16string::npos);
}

TEST(Listing, PathRuleAndMessages) {
    EXPECT_EQ(utf8(exportPath(u"C:\\", u"EDIT01", u".EDL")), "C:\\EDIT01.EDL");
    EXPECT_EQ(utf8(exportPath(u"D:\\OUT", u"take1.final", u".EDL")), "D:\\OUT\\take1.EDL");
    EXPECT_EQ(utf8(exportPath(u"D:\\OUT", u"take1.final", u".txt")), "D:\\OUT\\take1.txt");
    EXPECT_EQ(utf8(formatExportMessage(kMsgListingCreated, {u"a.txt", kListKindNames[2]})),
              "次の場所にテキストファイルを作成しました。\na.txt\n\n内容: リール使用アドレスリスト");

    // An existing file is replaced only when confirmed; a failed write leaves it as it was.
    ScratchDir dir;
    const std::string path = dir.file("old.EDL");
    writeBytes(path, "old");
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    auto doc = loadEdl("EDIT P-VTR\r\n" + eventLine("0001", "01:00:00.00", "01:00:05.00") + "\r\n");
    EXPECT_EQ(exportEdlFile(*doc, u16(path), false, false).write.status, WriteStatus::AskOverwrite);
    EXPECT_EQ(readBytes(path), old);
    const WriteOutcome broken = writeExportFile(u16(path), true, [](ByteSink& sink) {
        sink.write("new", 3);
        return false; // the write failed after its first bytes
    });
    EXPECT_EQ(broken.status, WriteStatus::WriteError);
    EXPECT_EQ(readBytes(path), old);
    // An event whose line holds no event (a damaged project file): its record times have no place,
    // so the export is refused and says where, and the existing file stays.
    doc->events[0].lineNumber = 0;
    const EdlExportOutcome refused = exportEdlFile(*doc, u16(path), false, true);
    EXPECT_EQ(refused.write.status, WriteStatus::Refused);
    EXPECT_EQ(utf8(refused.message),
              path + "\n\n1 行目のイベントのレコードタイムコードを書き込む位置がないため、\n処理が中断されました。");
    EXPECT_EQ(readBytes(path), old);
    doc->events[0].lineNumber = 1;
    const EdlExportOutcome written = exportEdlFile(*doc, u16(path), false, true);
    EXPECT_EQ(written.write.status, WriteStatus::Written);
    EXPECT_EQ(utf8(written.message), "次の場所にＥＤＬファイルを作成しました。\n\n" + path);
    EXPECT_EQ(readBytes(path).size(), static_cast<size_t>(doc->sourceTextSize));
    const std::string missing = dir.file("no/such/dir.txt");
    const ListingOutcome failed = writeListingFile(*doc, u"a", {}, u16(missing), true);
    EXPECT_EQ(failed.write.status, WriteStatus::WriteError);
    EXPECT_EQ(utf8(failed.message), missing +
                                        "\n\nこのファイルへのアクセスで、エラーが発生したため、\n処理が中断されました。"
                                        "\n\tERROR CODE: " +
                                        std::to_string(failed.write.errorNumber));
}
