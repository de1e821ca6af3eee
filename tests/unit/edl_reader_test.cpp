#include "model/edl_reader.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "model/timecode.h"
#include "ops/tab_commands.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qlp;
using namespace qlp::test;

namespace {

ParsedEdl parseFile(const std::string& name) {
    const std::vector<uint8_t> bytes = readBytes(dataPath(name));
    EXPECT_FALSE(bytes.empty()) << name;
    return parseEdl(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::u16string text(const EdlEvent& e, int column) {
    return e.text[column];
}

std::u16string comment(const EdlEvent& e) {
    return e.hasOptionComment ? std::u16string(e.optionComment, e.optionCommentLength) : std::u16string();
}

int32_t label(int h, int m, int s, int f) {
    return h * 108000 + m * 1800 + s * 30 + f;
}

const std::string kHeader = "TITLE: T\r\nEDIT  REEL   V  A1A2 TYP PTRN TRANST   P-VTR IN    P-VTR OUT   R-VTR IN    "
                            "R-VTR OUT\r\n";

ParsedEdl parseText(const std::string& body) {
    const std::string all = kHeader + body;
    return parseEdl(all);
}

} // namespace

TEST(EdlReader, ColumnsOfEveryEditKind) {
    const ParsedEdl p = parseFile("ndf_basic.EDL");
    ASSERT_EQ(p.events.size(), 8u);
    const auto& e = p.events;

    EXPECT_EQ(text(e[0], kColEdit), u"0001");
    EXPECT_EQ(text(e[0], kColReel), u"TAPE01");
    EXPECT_EQ(text(e[0], kColV), u"V");
    EXPECT_EQ(text(e[0], kColA), u"A1A2");
    EXPECT_EQ(text(e[0], kColType), u"C");
    EXPECT_EQ(text(e[0], kColSrcIn), u"01:00:00.00");
    EXPECT_EQ(text(e[0], kColRecOut), u"10:00:05.00");
    EXPECT_EQ(text(e[0], kColDuration), u"00:00:05.00");
    EXPECT_EQ(text(e[0], kColSpare), u"");

    EXPECT_EQ(text(e[2], kColType), u"D");
    EXPECT_EQ(text(e[2], kColPattern), u"");
    EXPECT_EQ(text(e[2], kColTransition), u"030");

    EXPECT_EQ(text(e[3], kColType), u"W"); // a wipe carries its pattern
    EXPECT_EQ(text(e[3], kColPattern), u"001");
    EXPECT_EQ(text(e[3], kColTransition), u"045");
    EXPECT_EQ(text(e[3], kColV), u"V");
    EXPECT_EQ(text(e[3], kColA), u"    ");

    EXPECT_EQ(text(e[4], kColV), u"");
    EXPECT_EQ(text(e[4], kColA), u"A1  ");
    EXPECT_EQ(text(e[5], kColA), u"  A2");

    EXPECT_EQ(text(e[6], kColType), u"KB");
    EXPECT_EQ(text(e[6], kColPattern), u"010");
    EXPECT_EQ(text(e[6], kColTransition), u"000");
    EXPECT_EQ(text(e[6], kColA), u"A1A2A3A4");

    EXPECT_EQ(e[1].srcIn, label(2, 10, 0, 0));
    EXPECT_EQ(e[1].recOut, label(10, 0, 15, 0));
    EXPECT_EQ(e[1].duration, 300);
    EXPECT_EQ(e[5].duration, 75);
    EXPECT_EQ(e[5].recInCopy, e[5].recIn);
    EXPECT_EQ(e[5].recSortKey, e[5].recIn);
    EXPECT_EQ(p.dropFrame, 0);
    EXPECT_EQ(p.lastEditNumber, 7);
    EXPECT_EQ(p.hasHour23, 0);
}

TEST(EdlReader, RecordValuesOfEachEvent) {
    const ParsedEdl p = parseFile("ndf_basic.EDL");
    int32_t offset = 0;
    for (size_t i = 0; i < p.events.size(); ++i) {
        const EdlEvent& ev = p.events[i];
        EXPECT_EQ(ev.sequence, static_cast<int32_t>(i + 1));
        EXPECT_EQ(ev.marker, kNoMarker);
        EXPECT_EQ(ev.fileOffset, offset);
        EXPECT_EQ(ev.recordSize, kEventRecordSize + 2 * ev.optionCommentLength);
        EXPECT_EQ(ev.hasOptionComment, ev.optionCommentLength != 0);
        offset += ev.recordSize;
    }
    EXPECT_EQ(p.events[0].lineNumber, 6); // title, FCM, blank, heading, blank, its comment precede it
}

TEST(EdlReader, EditGroupsFollowEditNumbers) {
    const ParsedEdl p = parseFile("ndf_basic.EDL");
    // 0001, 0002, 0002, 0003 ...: the first keeps -1 as the second differs; the two 0002 share 2.
    EXPECT_EQ(p.events[0].editGroup, -1);
    EXPECT_EQ(p.events[1].editGroup, 2);
    EXPECT_EQ(p.events[2].editGroup, 2);
    EXPECT_EQ(p.events[3].editGroup, 3);
    const ParsedEdl c = parseFile("comments_cp932.EDL");
    EXPECT_EQ(c.events[0].editGroup, 1); // the first three lines are all edit 0001
    EXPECT_EQ(c.events[2].editGroup, 1);
    EXPECT_EQ(c.events[3].editGroup, 2);
}

TEST(EdlReader, ReelTableIsSortedWithUseCounts) {
    const ParsedEdl p = parseFile("ndf_basic.EDL");
    ASSERT_EQ(p.reelNames.size(), 4u);
    EXPECT_EQ(p.reelNames[0], u"AUX");
    EXPECT_EQ(p.reelNames[1], u"TAPE01");
    EXPECT_EQ(p.reelNames[3], u"TAPE03");
    EXPECT_EQ(p.reelUseCounts, (std::vector<int32_t>{1, 3, 2, 2}));
    EXPECT_EQ(p.events[0].reelIndex, 1);
    EXPECT_EQ(p.events[7].reelIndex, 0);

    const ParsedEdl b = parseText("0001  B  V  C        00:00:00.00 00:00:01.00 00:00:00.00 00:00:01.00\r\n"
                                  "0002  A  V  C        00:00:00.00 00:00:01.00 00:00:01.00 00:00:02.00\r\n"
                                  "0003  B  V  C        00:00:00.00 00:00:01.00 00:00:02.00 00:00:03.00\r\n");
    EXPECT_EQ(b.reelNames, (std::vector<std::u16string>{u"A", u"B"}));
    EXPECT_EQ(b.reelUseCounts, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(b.events[0].reelIndex, 1);
    EXPECT_EQ(b.events[1].reelIndex, 0);
    EXPECT_EQ(b.events[2].reelIndex, 1);
}

TEST(EdlReader, DropFrameReverseSpeedAndMidnight) {
    const ParsedEdl p = parseFile("df_reverse.EDL");
    ASSERT_EQ(p.events.size(), 3u);
    const EdlEvent& rev = p.events[0];
    EXPECT_EQ(text(rev, kColSpeed), u"-100");
    EXPECT_EQ(rev.srcDropFrame, 1);
    // P-VTR OUT is earlier than P-VTR IN and the speed is negative: the two are swapped.
    EXPECT_EQ(rev.srcIn, label(1, 0, 0, 0));
    EXPECT_EQ(rev.srcOut, label(1, 0, 10, 0));
    EXPECT_EQ(rev.srcSortKey, rev.srcIn);
    EXPECT_EQ(text(rev, kColSrcIn), u"01:00:10,00"); // the texts stay as written

    // 00:01:00,00 names a skipped frame and is stored as 00:01:00,02.
    EXPECT_EQ(p.events[1].srcIn, label(0, 1, 0, 2));
    // The DF duration 01:00:10,00 to 01:00:15,02 is printed with the NDF separator all the same.
    EXPECT_EQ(text(p.events[1], kColDuration), u"00:00:05.02");

    const EdlEvent& midnight = p.events[2];
    EXPECT_EQ(midnight.duration, 300); // 23:59:55,00 to 00:00:05,00 across midnight
    EXPECT_EQ(text(midnight, kColDuration), u"00:00:10.00");
    EXPECT_EQ(text(midnight, kColA), u"A1A2  A4");
    EXPECT_EQ(p.hasHour23, 1);
    EXPECT_EQ(p.dropFrame, 1);
}

TEST(EdlReader, CommentsAttachToTheFollowingEdit) {
    const ParsedEdl p = parseFile("comments_cp932.EDL");
    ASSERT_EQ(p.events.size(), 6u);
    const std::u16string first = u"ソフト表示の能力テスト\r\nsecond line of the same comment\r\n";
    // One comment block before three lines of edit 0001: every line of the edit carries it.
    EXPECT_EQ(comment(p.events[0]), first);
    EXPECT_EQ(comment(p.events[1]), first);
    EXPECT_EQ(comment(p.events[2]), first);
    EXPECT_EQ(p.events[0].optionComment, p.events[1].optionComment);
    EXPECT_EQ(p.events[3].hasOptionComment, 0); // another edit number: none
    // Nine and thirteen spaces of indentation are no comment; twelve are.
    EXPECT_EQ(comment(p.events[4]), u"twelve spaces: a comment\r\n");
    // A comment starting with a double-byte character keeps the whole character.
    EXPECT_EQ(comment(p.events[5]), u"アイテム\r\n");
}

TEST(EdlReader, CaseSensitiveReelNames) {
    const ParsedEdl p = parseFile("comments_cp932.EDL");
    EXPECT_EQ(p.reelNames, (std::vector<std::u16string>{u"r1", u"R1", u"R2"}));
}

TEST(EdlReader, LongLinesAreReadInPieces) {
    const ParsedEdl p = parseFile("long_lines.EDL");
    ASSERT_EQ(p.events.size(), 3u);
    // The 310-character comment line is two pieces: only the first is indented like a comment.
    EXPECT_EQ(comment(p.events[0]), std::u16string(244, u'X'));
    EXPECT_EQ(text(p.events[0], kColRecOut), u"00:00:10.00");
    EXPECT_EQ(text(p.events[1], kColReel), u"ASMBL");
    EXPECT_EQ(text(p.events[1], kColV), u"V");
    EXPECT_EQ(text(p.events[2], kColV), u"ASMBL");
    EXPECT_EQ(p.events[2].lineNumber, p.events[1].lineNumber + 1);
    EXPECT_EQ(p.events[1].lineNumber, p.events[0].lineNumber + 2); // the long line counts twice
}

TEST(EdlReader, LinesThatAreNoEvents) {
    // Seven colons are never an event, whatever else the line holds.
    const ParsedEdl seven = parseText("0001  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00 0000001.00\r\n");
    EXPECT_TRUE(seven.events.empty());
    // A first '.' before the ninth column, and a line with three timecodes, are passed over.
    const ParsedEdl early = parseText("1.2 :::::::: 00:00:00.00\r\n"
                                      "0001  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00 00\r\n"
                                      "0002  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00\r\n"
                                      "0003  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00 00:00:01.00\r\n");
    ASSERT_EQ(early.events.size(), 1u);
    EXPECT_EQ(text(early.events[0], kColEdit), u"0003");
    EXPECT_EQ(early.events[0].sequence, 1);
}

TEST(EdlReader, CommentBlocksAreCutAtTheBuffer) {
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "          " + std::string(20, char('a' + i % 26)) + "\r\n";
    body += "0001  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00 00:00:01.00\r\n";
    const ParsedEdl p = parseText(body);
    ASSERT_EQ(p.events.size(), 1u);
    EXPECT_EQ(p.events[0].optionCommentLength, 511);

    // A double-byte character that does not fit is left out whole: after 484 bytes of two lines and
    // 26 more, one byte of the 511 is left, and half a character is not taken.
    const std::string line = "          " + std::string(240, 'x') + "\r\n";
    const std::string dbcs = line + line + "          " + std::string(26, 'x') + "\x83\x41\r\n";
    const ParsedEdl q = parseText(dbcs + "0001  A  V  C        00:00:00.00 00:00:01.00 00:00:00.00 00:00:01.00\r\n");
    ASSERT_EQ(q.events.size(), 1u);
    const std::u16string wideLine = std::u16string(240, u'x') + u"\r\n";
    EXPECT_EQ(comment(q.events[0]), wideLine + wideLine + std::u16string(26, u'x'));
}

TEST(EdlReader, RecognitionLooksAtTheFirstTwentyFivePieces) {
    EXPECT_TRUE(looksLikeBve9100(kHeader));
    std::string late;
    for (int i = 0; i < 25; ++i)
        late += "filler\r\n";
    EXPECT_FALSE(looksLikeBve9100(late + kHeader));
    EXPECT_TRUE(looksLikeBve9100(std::string(24, '\n') + "P-VTR"));
    EXPECT_FALSE(looksLikeBve9100(""));
}

TEST(EdlReader, EdlWithoutEventsGivesAnEmptyDocument) {
    const ParsedEdl p = parseText("");
    EXPECT_TRUE(p.events.empty());
    EXPECT_TRUE(p.reelNames.empty());
    EXPECT_EQ(p.lastEditNumber, 0);
}

// Opening EDLs into tab entries.
TEST(ConvertEdl, CreatesWorkFilesAndAsksAboutDuplicates) {
    ScratchDir dir;
    TabList list(dir.dir16());
    RecordingPrompt prompt;
    const std::u16string edl = u16(dataPath("ndf_basic.EDL"));
    ASSERT_FALSE(addFilesToTabs(list, edl, OpenKind::OneEdl, prompt).stopped);
    TabEntry* first = list.first();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->saveState, kFromEdl);
    EXPECT_EQ(first->workFileReady, 1);
    EXPECT_EQ(first->fileId, 0);
    EXPECT_TRUE(pathExists(first->workPath));
    EXPECT_EQ(first->workPath, joinPath(dir.dir16(), u"FILE_ID_0000"));
    first->active = 1;

    // Opened again and answered Yes: the new entry replaces the old one and reloads.
    prompt.answers = {Answer::Yes};
    ASSERT_FALSE(addFilesToTabs(list, edl, OpenKind::OneEdl, prompt).stopped);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgAlreadyLoaded, edl));
    TabEntry* second = first->next;
    EXPECT_EQ(first->dropped, 1);
    EXPECT_EQ(second->active, 1);
    EXPECT_EQ(second->reloadPending, 1);
    EXPECT_EQ(second->fileId, 1);
    EXPECT_EQ(purgeDroppedEntries(list), 1);
    EXPECT_FALSE(pathExists(joinPath(dir.dir16(), u"FILE_ID_0000")));

    // Answered No: the new entry is dropped and nothing is converted for it.
    prompt.answers = {Answer::No};
    ASSERT_FALSE(addFilesToTabs(list, edl, OpenKind::OneEdl, prompt).stopped);
    EXPECT_EQ(list.last()->dropped, 1);
    EXPECT_EQ(list.last()->fileId, 2);
    EXPECT_FALSE(pathExists(list.last()->workPath));
    EXPECT_EQ(purgeDroppedEntries(list), 1);
    EXPECT_EQ(list.first()->tabIndex, 0);
}

TEST(ConvertEdl, MissingUnrecognisedAndMultipleSelection) {
    ScratchDir dir;
    TabList list(dir.dir16());
    RecordingPrompt prompt;
    const std::u16string missing = u16(dataPath("no-such-file.EDL"));
    EXPECT_TRUE(addFilesToTabs(list, missing, OpenKind::OneEdl, prompt).stopped);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgFileNotFound, missing));
    EXPECT_EQ(list.count(), 0);

    writeBytes(dir.file("plain.EDL"), "just text\r\n");
    std::u16string selection = u16(QLP_TEST_DATA_DIR) + u'\0' + u"ndf_basic.EDL" + u'\0' + u"no-such-file.EDL" + u'\0' +
                               u"df_reverse.EDL" + u'\0' + u'\0';
    prompt.texts.clear();
    EXPECT_FALSE(addFilesToTabs(list, selection, OpenKind::SeveralEdls, prompt).stopped);
    EXPECT_EQ(list.count(), 2); // the missing name is skipped
    EXPECT_EQ(prompt.texts.size(), 1u);

    const std::u16string plain = u16(dir.file("plain.EDL"));
    prompt.texts.clear();
    EXPECT_FALSE(addFilesToTabs(list, plain, OpenKind::OneEdl, prompt).stopped);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgNotRecognised, plain));
    EXPECT_EQ(list.last()->dropped, 1);
    EXPECT_EQ(purgeDroppedEntries(list), 2);
}

TEST(ConvertEdl, UnwritableWorkDirectoryWarnsAndDrops) {
    TabList list(u16(dataPath("no-such-dir/deeper")));
    RecordingPrompt prompt;
    const std::u16string edl = u16(dataPath("ndf_basic.EDL"));
    EXPECT_FALSE(addFilesToTabs(list, edl, OpenKind::OneEdl, prompt).stopped);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgCannotCreateWorkFile, edl));
    EXPECT_EQ(list.first()->dropped, 1);
}

TEST(EdlReader, KeysWipesAndLineFeedsOnly) {
    const ParsedEdl p = parseFile("keys_wipes.EDL"); // lines end in LF alone
    ASSERT_EQ(p.events.size(), 5u);
    EXPECT_EQ(text(p.events[0], kColType), u"KI");
    EXPECT_EQ(text(p.events[0], kColPattern), u"005");
    EXPECT_EQ(text(p.events[0], kColTransition), u"020");
    EXPECT_EQ(text(p.events[1], kColType), u"KB");
    EXPECT_EQ(text(p.events[1], kColPattern), u"006");
    EXPECT_EQ(text(p.events[1], kColTransition), u"");
    EXPECT_EQ(comment(p.events[1]), u"キー合成（表）\n");
    EXPECT_EQ(comment(p.events[3]), u"キー合成（表）\n"); // edit 0102 over three lines
    EXPECT_EQ(text(p.events[4], kColA), u"  A2A3");
    EXPECT_EQ(p.events[0].duration, 5 * 30); // 00:59:58,00 to 01:00:03,00 across the hour
}
