#include "model/bytes.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "ops/reel_info.h"
#include "ops/simple_notes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

void loadImage(const std::vector<uint8_t>& bytes, EdlDocument& doc) {
    ASSERT_EQ(loadProjectImage(bytes.data(), bytes.size(), doc), LoadStatus::Ok);
}

void loadBasic(EdlDocument& doc) {
    const std::vector<uint8_t> edl = readBytes(dataPath("ndf_basic.EDL"));
    const std::string_view text(reinterpret_cast<const char*>(edl.data()), edl.size());
    MemorySink sink;
    ASSERT_TRUE(writeWorkFile(parseEdl(text), text, sink));
    loadImage(sink.bytes, doc);
}

std::vector<std::u16string> rowNames(const EdlDocument& doc, const std::vector<ReelRow>& rows) {
    std::vector<std::u16string> names;
    for (const ReelRow& row : rows)
        names.emplace_back(reelName(doc, row.reel));
    return names;
}

std::vector<std::u16string> noteLines(EdlDocument& doc) {
    std::vector<std::u16string> lines;
    for (const SimpleNote* note = doc.noteHead->next; note; note = note->next)
        lines.push_back(noteLine(note->index + 1, *note) + (note->current ? u"*" : u""));
    return lines;
}

} // namespace

TEST(ReelInfo, TotalsCountsAndTheThreeOrderings) {
    EdlDocument doc;
    loadBasic(doc);
    std::vector<ReelRow> rows = reelRows(doc);
    EXPECT_EQ(rowNames(doc, rows), (std::vector<std::u16string>{u"AUX", u"TAPE01", u"TAPE02", u"TAPE03"}));
    EXPECT_EQ(rows[1].countText, u"  3");
    EXPECT_EQ(rows[1].totalFrames, 270);
    EXPECT_EQ(rows[3].totalText, u"00 : 00 : 06 : 15");
    EXPECT_EQ(reelTotalText(108000 + 1800 + 30 + 1), u"01 : 01 : 01 : 01");

    struct Case {
        int column;
        int32_t state;
        std::vector<std::u16string> order;
    };
    const Case cases[] = {
        {kReelColCount, 2, {u"TAPE01", u"TAPE02", u"TAPE03", u"AUX"}},
        {kReelColDescription, 1, {u"TAPE01", u"TAPE02", u"TAPE03", u"AUX"}}, // unchanged
        {kReelColTotal, 2, {u"TAPE02", u"TAPE01", u"TAPE03", u"AUX"}},
        {kReelColCount, 1, {u"AUX", u"TAPE02", u"TAPE03", u"TAPE01"}},
        {kReelColName, 2, {u"TAPE03", u"TAPE02", u"TAPE01", u"AUX"}},
    };
    for (const Case& c : cases) {
        sortReelRows(doc, rows, c.column, c.state);
        EXPECT_EQ(rowNames(doc, rows), c.order) << c.column;
    }
    EXPECT_EQ(nextReelSortState(nextReelSortState(0)), 2);

    // The top row after the re-sort is stored for the reel it names; line breaks become spaces.
    EXPECT_TRUE(storeReelDescription(doc, reelName(doc, rows[0].reel), u"B-roll\r\nday 2 " + std::u16string(60, u'x')));
    EXPECT_FALSE(storeReelDescription(doc, u"NONE", u"lost"));
    EXPECT_EQ(reelDescription(doc, 3), u"B-roll day 2 " + std::u16string(35, u'x'));
    EXPECT_EQ(reelDescription(doc, 0), u"");
    doc.currentRow[kAllEvents] = 3;
    EXPECT_EQ(currentEventReel(doc), 1);

    const std::vector<uint8_t> saved = imageOf(doc);
    EdlDocument back;
    loadImage(saved, back);
    EXPECT_EQ(reelDescription(back, 3), reelDescription(doc, 3));
    EXPECT_TRUE(imageOf(back) == saved);
}

TEST(SimpleNotes, NewDeleteRenumberAndTheCurrentNote) {
    EdlDocument doc;
    loadBasic(doc);
    EXPECT_EQ(openNotes(doc), nullptr);
    storeNoteTitle(*newNote(doc), u"first");
    newNote(doc);
    // A document saved with notes: the count starts from them, not from zero.
    EdlDocument reopened;
    loadImage(imageOf(doc), reopened);
    EXPECT_EQ(openNotes(reopened)->index, 1);

    struct Step {
        char action; // n: New, d: Delete, s: select
        int32_t index;
        std::vector<std::u16string> lines; // "*" marks the current note
    };
    const Step steps[] = {
        {'n', 0, {u"01  first", u"02  Untitled", u"03  Untitled*"}},
        {'s', 0, {u"01  first*", u"02  Untitled", u"03  Untitled"}},
        {'d', 1, {u"01  first", u"02  Untitled*"}}, // a middle note: the following one becomes current
        {'d', 1, {u"01  first*"}},                  // the last note: the one before it
        {'d', 0, {}},
        {'d', 0, {}},
        {'n', 0, {u"01  Untitled*"}},
    };
    for (const Step& s : steps) {
        if (s.action == 'n') {
            ASSERT_NE(newNote(reopened), nullptr);
        } else if (s.action == 'd') {
            deleteNote(reopened, s.index);
        } else {
            selectNote(reopened, s.index);
        }
        EXPECT_EQ(noteLines(reopened), s.lines) << s.action << s.index;
        EXPECT_EQ(reopened.noteCount, static_cast<int32_t>(s.lines.size()));
    }
    // The notes are the reopened document's own.
    EXPECT_EQ(doc.noteCount, 2);
    EXPECT_NE(doc.noteHead->next, nullptr);
}

TEST(SimpleNotes, TitleAndBodyStoreAndSurviveSaveAndLoad) {
    EdlDocument doc;
    loadBasic(doc);
    SimpleNote& note = *newNote(doc);
    EXPECT_EQ(shownNoteTitle(note), u"Untitled");
    storeNoteTitle(note, u"take 3\r\nsound " + std::u16string(30, u't'));
    EXPECT_EQ(noteTitle(note), u"take 3 sound " + std::u16string(17, u't'));
    const std::u16string body(kNoteBodyChars, u'本');
    ASSERT_TRUE(storeNoteBody(doc, note, body + u"!"));
    EXPECT_EQ(noteBody(note), body);
    EXPECT_EQ(note.bodySize, static_cast<int32_t>(body.size() * 2 + 2));
    const char16_t* buffer = note.body;
    ASSERT_TRUE(storeNoteBody(doc, note, std::u16string(kNoteBodyChars, u'体')));
    EXPECT_EQ(note.body, buffer); // the same length reuses the buffer
    SimpleNote& empty = *newNote(doc);
    ASSERT_TRUE(storeNoteBody(doc, empty, u"gone"));
    ASSERT_TRUE(storeNoteBody(doc, empty, u""));
    EXPECT_EQ(empty.body, nullptr);
    EXPECT_EQ(empty.bodySize, 0);

    const std::vector<uint8_t> saved = imageOf(doc);
    EdlDocument back;
    loadImage(saved, back);
    EXPECT_EQ(noteBody(*back.noteHead->next), std::u16string(kNoteBodyChars, u'体'));
    EXPECT_EQ(noteTitle(*back.noteHead->next), noteTitle(note));
    EXPECT_TRUE(imageOf(back) == saved);
}
