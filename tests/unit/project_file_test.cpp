#include "model/bytes.h"
#include "model/edl_reader.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "model/records.h"
#include "ops/tab_commands.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qlp;
using namespace qlp::test;

namespace {

std::vector<uint8_t> workFileOf(const std::string& edlName) {
    const std::vector<uint8_t> edl = readBytes(dataPath(edlName));
    const std::string_view text(reinterpret_cast<const char*>(edl.data()), edl.size());
    MemorySink sink;
    EXPECT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    return sink.bytes;
}

void load(const std::vector<uint8_t>& bytes, EdlDocument& doc) {
    ASSERT_EQ(loadProjectImage(bytes.data(), bytes.size(), doc), LoadStatus::Ok);
}

SimpleNote* addNote(EdlDocument& doc, std::u16string_view title, std::u16string_view body) {
    auto* note = new SimpleNote;
    std::memcpy(note->title, title.data(), title.size() * 2);
    if (!body.empty()) {
        note->bodySize = static_cast<int32_t>(body.size() * 2 + 2);
        note->body = doc.heap->allocate<char16_t>(body.size() * 2 + 2);
        std::memcpy(note->body, body.data(), body.size() * 2);
    }
    SimpleNote* tail = doc.noteHead;
    while (tail->next)
        tail = tail->next;
    tail->next = note;
    note->prev = tail;
    return note;
}

} // namespace

TEST(WorkFile, LayoutOfAConvertedEdl) {
    const std::vector<uint8_t> edl = readBytes(dataPath("ndf_basic.EDL"));
    const std::vector<uint8_t> bytes = workFileOf("ndf_basic.EDL");
    char16_t magic[16];
    readWide(bytes.data(), magic, 16);
    EXPECT_EQ(std::u16string_view(magic, 16), u"Zorvanthelix_QLP");

    EdlDocument header;
    readHeaderImage(bytes.data() + 32, header);
    EXPECT_EQ(header.headerSize, 2220);
    EXPECT_EQ(header.eventRecordSize, 1004);
    EXPECT_EQ(header.loaded, 0);
    EXPECT_EQ(header.viewCount[kAllEvents], 8);
    EXPECT_EQ(header.reelCount, 4);
    EXPECT_EQ(header.sourceTextOffset, 2252);
    EXPECT_EQ(header.reelNamesOffset, 2252 + static_cast<int32_t>(edl.size()));
    EXPECT_EQ(header.reelCountsOffset, header.reelNamesOffset + 14 * 4);
    EXPECT_EQ(header.reelCommentsOffset, header.reelCountsOffset + 4 * 4);
    EXPECT_EQ(header.eventsOffset, header.reelCommentsOffset + 98 * 4);
    EXPECT_EQ(header.notesOffset, 0);
    EXPECT_EQ(header.noteCount, 0);
    EXPECT_EQ(header.recOffsetSign, u' ');
    EXPECT_EQ(header.sortState[sortStateRow(kListingReel)][1], 2);
    EXPECT_EQ(header.columnOrder[3][13], 13);
    EXPECT_EQ(header.search.searchMarker, 8);
    EXPECT_EQ(header.search.slotValue[5], -1);
    EXPECT_EQ(header.listOptions[kListKind], 1);
    EXPECT_EQ(header.listOptions[kListAllReels], 1);
    EXPECT_EQ(header.markerColours[0], 0x000AFFu);
    EXPECT_EQ(header.markerColours[1], 0xFF0000u);
    EXPECT_EQ(std::u16string(header.markerNames[7]), u"マーカー 8");
    // Header words at their offsets in the file.
    EXPECT_EQ(readI32(bytes.data() + 32 + 1724), 1); // listAllReels
    EXPECT_EQ(readI32(bytes.data() + 32 + 712), 8);  // searchMarker
    EXPECT_EQ(bytes[32 + 644], ' ');                 // recOffsetSign

    // The EDL's bytes travel unchanged; the events follow the reel table with their comments.
    EXPECT_TRUE(std::equal(edl.begin(), edl.end(), bytes.begin() + 2252));
    EXPECT_EQ(readI32(bytes.data() + header.eventsOffset + 72), 1); // sequence of the first event
    // The comment line before edit 0001 belongs to it; edit 0002 has none.
    const int32_t firstSize = 1004 + 2 * static_cast<int32_t>(std::u16string_view(u"* OPENING SHOT\r\n").size());
    EXPECT_EQ(readI32(bytes.data() + header.eventsOffset + 64), firstSize);
    EXPECT_EQ(readI32(bytes.data() + header.eventsOffset + firstSize + 64), 1004);
    int64_t end = header.eventsOffset;
    for (int i = 0; i < 8; ++i)
        end += readI32(bytes.data() + end + 64);
    EXPECT_EQ(end, static_cast<int64_t>(bytes.size()));
}

TEST(ProjectFile, ConvertLoadSaveLoadKeepsTheDocument) {
    for (const char* name : {"ndf_basic.EDL", "df_reverse.EDL", "comments_cp932.EDL", "long_lines.EDL"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> converted = workFileOf(name);
        EdlDocument doc;
        load(converted, doc);
        EXPECT_EQ(doc.loaded, 1);
        const std::vector<uint8_t> saved = imageOf(doc);
        // Only the loaded flag, the size of kReelUsage (the events of the first reel, counted by the
        // load), the notes offset and the offset text (formatted by the load) differ from the
        // converted file.
        ASSERT_EQ(saved.size(), converted.size());
        std::vector<uint8_t> expected = converted;
        writeI32(expected.data() + 32 + 8, 1);
        writeI32(expected.data() + 32 + 20, doc.reelUseCounts[0]);
        writeI32(expected.data() + 32 + 60, static_cast<int32_t>(converted.size()));
        writeWide(expected.data() + 32 + 1556, doc.offsetDisplayText, 16);
        EXPECT_TRUE(saved == expected);

        EdlDocument again;
        load(saved, again);
        EXPECT_TRUE(imageOf(again) == saved);
    }
}

TEST(ProjectFile, MemosAndNotesSurviveAndMoveLaterBlocks) {
    EdlDocument doc;
    load(workFileOf("comments_cp932.EDL"), doc);
    const std::u16string memo = u"差し替え予定";
    EdlEvent& ev = doc.events[1];
    ev.workMemoLength = static_cast<int32_t>(memo.size() + 1);
    ev.hasWorkMemo = 1;
    ev.workMemo = doc.heap->allocate<char16_t>(memo.size() + 1);
    std::memcpy(ev.workMemo, memo.data(), memo.size() * 2);
    addNote(doc, u"撮影メモ", u"本文\r\n二行目");
    addNote(doc, u"empty", u"");
    const int32_t notesBefore = doc.notesOffset;
    const int32_t firstOffset = doc.events[2].fileOffset;

    const std::vector<uint8_t> saved = imageOf(doc);
    EXPECT_EQ(doc.events[1].recordSize, 1004 + 2 * (doc.events[1].optionCommentLength + ev.workMemoLength));
    // The memo moved the third event's block, but its fileOffset keeps its first value.
    const int32_t thirdBlock = doc.eventsOffset + doc.events[0].recordSize + doc.events[1].recordSize;
    EXPECT_NE(thirdBlock - doc.eventsOffset, firstOffset);
    EXPECT_EQ(readI32(saved.data() + thirdBlock + 60), firstOffset);
    EXPECT_EQ(doc.events[2].fileOffset, firstOffset);
    EXPECT_EQ(doc.noteCount, 2);
    EXPECT_GT(doc.notesOffset, notesBefore);

    EdlDocument back;
    load(saved, back);
    EXPECT_EQ(back.events[1].workMemoLength, static_cast<int32_t>(memo.size() + 1));
    EXPECT_EQ(std::u16string(back.events[1].workMemo), memo);
    EXPECT_EQ(std::u16string(back.events[0].optionComment, back.events[0].optionCommentLength),
              std::u16string(doc.events[0].optionComment, doc.events[0].optionCommentLength));
    const SimpleNote* note = back.noteHead->next;
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(std::u16string(note->title), u"撮影メモ");
    EXPECT_EQ(std::u16string(note->body), u"本文\r\n二行目");
    EXPECT_EQ(note->prev, back.noteHead);
    ASSERT_NE(note->next, nullptr);
    EXPECT_EQ(note->next->body, nullptr);
    EXPECT_EQ(note->next->next, nullptr);
    EXPECT_TRUE(imageOf(back) == saved);

    // Clearing the memo writes no memo text.
    back.events[1].workMemoLength = 0;
    back.events[1].hasWorkMemo = 0;
    EXPECT_EQ(imageOf(back).size(), saved.size() - 2 * (memo.size() + 1));
}

TEST(ProjectFile, ViewsAreRebuiltAndSortedOnLoad) {
    EdlDocument doc;
    load(workFileOf("ndf_basic.EDL"), doc);
    for (int i : {1, 3, 6})
        doc.events[i].searchHit = 1;
    doc.viewCount[kSearchResult] = 99;                 // a stale count is recomputed from the hits
    doc.reelFilter = 1;                                // TAPE01
    doc.sortState[sortStateRow(kSearchResult)][0] = 0; // kSearchResult: source, descending
    doc.sortState[sortStateRow(kReelUsage)][1] = 1;    // kReelUsage: duration, ascending
    EdlDocument back;
    load(imageOf(doc), back);
    EXPECT_EQ(back.viewCount[kSearchResult], 3);
    EXPECT_EQ(back.viewCount[kReelUsage], 3);
    EXPECT_GE(back.view[kSearchResult][0]->srcSortKey, back.view[kSearchResult][1]->srcSortKey);
    EXPECT_GE(back.view[kSearchResult][1]->srcSortKey, back.view[kSearchResult][2]->srcSortKey);
    EXPECT_LE(back.view[kReelUsage][0]->duration, back.view[kReelUsage][1]->duration);
    for (int i = 0; i < back.viewCount[kAllEvents]; ++i)
        EXPECT_EQ(back.view[kAllEvents][i], &back.events[i]);
    EXPECT_EQ(back.events[back.viewCount[kAllEvents]].sequence, 0); // the spare record is zero
}

TEST(ProjectFile, RefusesWhatIsNotAProjectFile) {
    EdlDocument doc;
    const std::vector<uint8_t> edl = readBytes(dataPath("ndf_basic.EDL"));
    const LoadResult wrong = loadProjectImage(edl.data(), edl.size(), doc);
    EXPECT_EQ(wrong, LoadStatus::WrongFormat);
    EXPECT_EQ(describeRefusal(wrong), "magic at offset 0: is not the project-file magic");
    const LoadResult missing = loadProjectFile(u16(dataPath("missing.QLP")), doc);
    EXPECT_EQ(missing, LoadStatus::CannotOpen);
    EXPECT_EQ(missing.offset, -1);
    EXPECT_EQ(loadProjectFile(u16(QLP_TEST_DATA_DIR), doc), LoadStatus::CannotOpen);
}

// Every prefix of a valid file is refused without reading past the end or allocating more than
// the file could hold.
TEST(ProjectFile, TruncatedFilesAreRefused) {
    EdlDocument doc;
    load(workFileOf("comments_cp932.EDL"), doc);
    addNote(doc, u"n", u"body");
    const std::vector<uint8_t> good = imageOf(doc);
    for (size_t size = 0; size < good.size(); ++size) {
        EdlDocument d;
        ASSERT_NE(loadProjectImage(good.data(), size, d), LoadStatus::Ok) << size;
        EXPECT_EQ(d.events, nullptr);
    }
}

// Every reason for refusing a file names the field or section that failed and its file offset.
TEST(ProjectFile, EachRefusalSaysWhatAndWhere) {
    EdlDocument doc;
    load(workFileOf("comments_cp932.EDL"), doc);
    addNote(doc, u"n", u"body"); // bodySize 10: a 20-byte body area
    const std::vector<uint8_t> good = imageOf(doc);
    const int h = 32;
    const int size = static_cast<int>(good.size());
    const int e = readI32(good.data() + h + 40); // the first event record
    const int note = readI32(good.data() + h + 60);
    int lastEvent = e;
    for (int i = 0; i + 1 < doc.viewCount[kAllEvents]; ++i)
        lastEvent += readI32(good.data() + lastEvent + 64);

    struct Row {
        const char* what;
        std::vector<std::pair<int, int32_t>> writes; // file offset, new value
        int size;                                    // the file cut or padded with zeros to this size
        std::string_view field;
        int offset;
    };
    const std::vector<Row> rows = {
        {"magic cut short", {}, 20, "magic", 0},
        {"another magic", {{0, 0x00410041}}, size, "magic", 0},
        {"header cut short", {}, 1000, "header", 32},
        {"negative event count", {{h + 12, -1}}, size, "viewCount[0]", h + 12},
        {"negative reel count", {{h + 28, -1}}, size, "reelCount", h + 28},
        {"negative note count", {{h + 548, -1}}, size, "noteCount", h + 548},
        {"more events than bytes", {{h + 12, 0x7fffffff}}, size, "viewCount[0]", h + 12},
        {"more reels than bytes", {{h + 28, 0x10000000}}, size, "reelCount", h + 28},
        {"more notes than bytes", {{h + 548, 1000000}}, size, "noteCount", h + 548},
        {"events without reels", {{h + 28, 0}}, size, "reelCount", h + 28},
        {"EDL text outside the file", {{h + 44, size + 1}}, size, "sourceTextOffset", h + 44},
        {"EDL text running backwards", {{h + 48, 100}}, size, "reelNamesOffset", h + 48},
        {"reel names past the end", {{h + 48, 0x7ffffff0}}, size, "reelNamesOffset", h + 48},
        {"reel counts past the end", {{h + 56, size - 4}}, size, "reelCountsOffset", h + 56},
        {"reel comments past the end", {{h + 52, size - 98}}, size, "reelCommentsOffset", h + 52},
        {"events past the end", {{h + 40, -4}}, size, "eventsOffset", h + 40},
        {"notes past the end", {{h + 60, size - 10}}, size, "notesOffset", h + 60},
        {"negative comment length", {{e + 84, -1}}, size, "optionCommentLength", e + 84},
        {"negative memo length", {{e + 80, -1}}, size, "workMemoLength", e + 80},
        {"comment flag without text", {{e + 84, 0}}, size, "hasOptionComment", e + 8},
        {"memo length without flag", {{e + 80, 5}}, size, "hasWorkMemo", e + 4},
        {"marker", {{e + 96, 9}}, size, "marker", e + 96},
        {"reel index", {{e + 92, 3}}, size, "reelIndex", e + 92},
        {"comment past the end", {{e + 84, 0x3fffffff}}, size, "optionCommentLength", e + 84},
        {"memo past the end", {{e + 4, 1}, {e + 80, 0x3fffffff}}, size, "workMemoLength", e + 80},
        {"event record past the end", {{h + 548, 0}}, lastEvent + 1003, "event record", lastEvent},
        {"negative body size", {{note + 8, -2}}, size, "bodySize", note + 8},
        {"body past the end", {{note + 8, 0x40000000}}, size, "bodySize", note + 8},
        // A second note whose record, then title, the file cuts short: the first note's body area
        // is made 140 bytes long, so the second record starts 290 bytes into the notes.
        {"note record past the end", {{h + 548, 2}, {note + 8, 70}}, note + 320, "note record", note + 290},
        {"note title past the end", {{h + 548, 2}, {note + 8, 70}}, note + 408, "note title", note + 378},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<uint8_t> bad = good;
        for (auto [offset, value] : row.writes)
            writeI32(bad.data() + offset, value);
        bad.resize(static_cast<size_t>(row.size));
        EdlDocument d;
        const LoadResult result = loadProjectImage(bad.data(), bad.size(), d);
        EXPECT_EQ(result.status, LoadStatus::WrongFormat);
        EXPECT_EQ(result.field, row.field);
        EXPECT_EQ(result.offset, row.offset);
        EXPECT_FALSE(result.problem.empty());
        EXPECT_EQ(d.events, nullptr);
    }
}

TEST(LoadDocument, FailuresKeepThePreviousDocument) {
    ScratchDir dir;
    TabList list(dir.dir16());
    RecordingPrompt prompt;
    EdlDocument doc;
    ASSERT_FALSE(addFilesToTabs(list, u16(dataPath("ndf_basic.EDL")), OpenKind::OneEdl, prompt).stopped);
    ASSERT_EQ(loadDocument(doc, list, prompt), 1);
    EXPECT_EQ(list.first()->active, 1);
    EdlEvent* const events = doc.events;

    // A project file that is not one: string 116, the entry dropped, the document intact.
    writeBytes(dir.file("fake.QLP"), "not a project file at all");
    const std::u16string fake = u16(dir.file("fake.QLP"));
    ASSERT_FALSE(addFilesToTabs(list, fake, OpenKind::OneProject, prompt).stopped);
    list.first()->active = 0;
    EXPECT_EQ(loadDocument(doc, list, prompt), 0);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgWrongFormat, fake));
    EXPECT_EQ(list.last()->dropped, 1);
    EXPECT_EQ(doc.loaded, 0);
    EXPECT_EQ(doc.events, events);
    EXPECT_EQ(std::u16string(doc.events[0].text[kColReel]), u"TAPE01");

    // A work file that has gone: string 111 with error code 0000.
    EXPECT_EQ(purgeDroppedEntries(list), 1);
    removeFile(list.first()->workPath);
    list.first()->active = 1;
    prompt.texts.clear();
    EXPECT_EQ(loadDocument(doc, list, prompt), 0);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgCannotOpenFile, list.first()->path, 0));
    EXPECT_NE(prompt.texts[0].find(u"(エラーコード:0000)"), std::u16string::npos);
}

TEST(SaveDocument, ReplacesTheFileOnlyWhenTheWriteSucceeds) {
    ScratchDir dir;
    EdlDocument doc;
    load(workFileOf("ndf_basic.EDL"), doc);
    RecordingPrompt prompt;
    const std::string target = dir.file("saved.QLP");
    writeBytes(target, "old content");

    // The temporary file beside the target cannot be created: string 106, the old file stays.
    std::filesystem::create_directory(target + ".qlp-saving");
    EXPECT_EQ(saveDocument(u16(target), doc, prompt), -1);
    ASSERT_EQ(prompt.texts.size(), 1u);
    EXPECT_EQ(prompt.texts[0], formatMessage(kMsgCannotOpenPath, u16(target)));
    EXPECT_EQ(readBytes(target), std::vector<uint8_t>({'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't'}));

    std::filesystem::remove(target + ".qlp-saving");
    EXPECT_EQ(saveDocument(u16(target), doc, prompt), 0);
    EXPECT_TRUE(readBytes(target) == imageOf(doc));
    EXPECT_FALSE(std::filesystem::exists(target + ".qlp-saving"));

    // A file that does not exist yet is created; a directory that does not exist is refused.
    EXPECT_EQ(saveDocument(u16(dir.file("new.QLP")), doc, prompt, false), 0);
    EXPECT_EQ(saveDocument(u16(dir.file("none/x.QLP")), doc, prompt), -1);
}

TEST(OpenProjectFiles, CopiesIntoWorkFiles) {
    ScratchDir dir;
    TabList list(dir.dir16());
    RecordingPrompt prompt;
    const std::vector<uint8_t> bytes = workFileOf("df_reverse.EDL");
    writeBytes(dir.file("a.QLP"), std::string(bytes.begin(), bytes.end()));
    writeBytes(dir.file("b.QLP"), std::string(bytes.begin(), bytes.end()));
    const std::u16string selection = dir.dir16() + u'\0' + u"a.QLP" + u'\0' + u"b.QLP" + u'\0' + u'\0';
    ASSERT_FALSE(addFilesToTabs(list, selection, OpenKind::SeveralProjects, prompt).stopped);
    ASSERT_EQ(list.count(), 2);
    for (TabEntry* e = list.first(); e; e = e->next) {
        EXPECT_EQ(e->saveState, kSaved);
        EXPECT_EQ(e->workFileReady, 1);
        EXPECT_TRUE(readBytes(toFsPath(e->workPath).string()) == bytes);
    }
    EXPECT_EQ(list.first()->next->fileId, 1);
    EdlDocument doc;
    EXPECT_EQ(loadDocument(doc, list, prompt), 1); // none active: the last entry
    EXPECT_EQ(list.last()->active, 1);
    EXPECT_EQ(doc.viewCount[kAllEvents], 3);
}

// The offset text the panel shows and the listings print is formatted when a document is loaded,
// whatever the file held there.
TEST(ProjectFile, LoadingFormatsTheOffsetText) {
    struct Case {
        const char* edl;
        std::u16string_view fresh; // as converted: no offset set yet
        char16_t sign;
        int32_t hours, frames;
        std::u16string_view shifted;
    };
    const Case cases[] = {
        {"ndf_basic.EDL", u" 00:00:00.00", u'-', 1, 12, u"-01:00:00.12"},
        {"df_reverse.EDL", u" 00:00:00,00", u'+', 23, 2, u"+23:00:00,02"},
    };
    for (const Case& c : cases) {
        EdlDocument doc;
        load(workFileOf(c.edl), doc);
        EXPECT_EQ(textUpToNul(doc.offsetDisplayText), c.fresh) << c.edl;
        doc.recOffsetSign = c.sign;
        doc.recOffset[0] = c.hours;
        doc.recOffset[3] = c.frames;
        std::memcpy(doc.offsetDisplayText, u"stale", 10);
        EdlDocument reloaded;
        load(imageOf(doc), reloaded);
        EXPECT_EQ(textUpToNul(reloaded.offsetDisplayText), c.shifted) << c.edl;
    }
}
