#include "ops/info_texts.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace qlp;

namespace {

void setText(char16_t* field, std::u16string_view text) {
    std::memcpy(field, text.data(), text.size() * sizeof(char16_t));
    field[text.size()] = 0;
}

} // namespace

TEST(PanelCells, PlaceholdersWithoutADocument) {
    EdlDocument doc;
    initNewDocumentHeader(doc, 0);
    doc.loaded = 0;
    doc.viewCount[kAllEvents] = 12;
    EXPECT_EQ(panelCellText(IDC_HIT_COUNTER, doc), u"");
    EXPECT_EQ(panelCellText(IDC_COUNT_MODE, doc), u"---");
    EXPECT_EQ(panelCellText(IDC_EDIT_COUNT, doc), u"----");
    EXPECT_EQ(panelCellText(IDC_REEL_COUNT, doc), u"----");
    EXPECT_EQ(panelCellText(IDC_OFFSET_CELL, doc), u"--:--:--.--");
    for (int id = IDC_SRC_LOWER; id <= IDC_DUR_UPPER; ++id)
        EXPECT_EQ(panelCellText(id, doc), u"--:--:--.--") << id;
}

TEST(PanelCells, TextsOfALoadedDocument) {
    EdlDocument doc;
    initNewDocumentHeader(doc, 0);
    doc.loaded = 1;
    doc.viewCount[kAllEvents] = 1234;
    doc.viewCount[kSearchResult] = 7;
    doc.lastEditNumber = 42;
    doc.reelCount = 3;
    EXPECT_EQ(panelCellText(IDC_HIT_COUNTER, doc), u"7件/[1234件中]");
    EXPECT_EQ(panelCellText(IDC_COUNT_MODE, doc), u"NDF");
    EXPECT_EQ(panelCellText(IDC_EDIT_COUNT, doc), u"0042");
    EXPECT_EQ(panelCellText(IDC_REEL_COUNT, doc), u"0003");
    // A new document's offset, as loading formats it: a blank sign and zeros.
    updateOffsetDisplayText(doc);
    EXPECT_EQ(panelCellText(IDC_OFFSET_CELL, doc), u" 00:00:00.00");
    doc.recOffsetSign = u'-';
    doc.recOffset[0] = 1;
    doc.recOffset[1] = 2;
    doc.recOffset[2] = 3;
    doc.recOffset[3] = 4;
    doc.dropFrame = 1;
    updateOffsetDisplayText(doc);
    EXPECT_EQ(panelCellText(IDC_COUNT_MODE, doc), u"D F");
    EXPECT_EQ(panelCellText(IDC_OFFSET_CELL, doc), u"-01:02:03,04");
    doc.recOffsetSign = 0;
    updateOffsetDisplayText(doc);
    EXPECT_EQ(panelCellText(IDC_OFFSET_CELL, doc), u"");
    doc.lastEditNumber = 12345;
    EXPECT_EQ(panelCellText(IDC_EDIT_COUNT, doc), u"12345");
    EXPECT_EQ(panelCellText(IDC_REEL_LINE, doc), u""); // drawn by parts, not as one text
}

TEST(PanelCells, SearchTimecodeCellsShowTheirSlots) {
    EdlDocument doc;
    initNewDocumentHeader(doc, 0);
    doc.loaded = 1;
    const int cells[6] = {IDC_SRC_LOWER, IDC_REC_LOWER, IDC_DUR_LOWER, IDC_SRC_UPPER, IDC_REC_UPPER, IDC_DUR_UPPER};
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(searchSlotOfCell(cells[slot]), slot);
        setText(doc.search.slotText[slot], u"01:00:00.0" + std::u16string(1, char16_t(u'0' + slot)));
    }
    EXPECT_EQ(searchSlotOfCell(IDC_OFFSET_CELL), -1);
    // A slot without a value shows the placeholder whatever its text.
    EXPECT_EQ(panelCellText(IDC_REC_UPPER, doc), u"--:--:--.--");
    doc.search.slotValue[4] = 108000;
    EXPECT_EQ(panelCellText(IDC_REC_UPPER, doc), u"01:00:00.04");
    EXPECT_EQ(panelCellText(IDC_SRC_UPPER, doc), u"--:--:--.--");
    // A text filling its whole field is cut at the field's end.
    for (auto& c : doc.search.slotText[2])
        c = u'9';
    doc.search.slotValue[2] = 0;
    EXPECT_EQ(panelCellText(IDC_DUR_LOWER, doc).size(), 24u);
}

TEST(ReelLine, NamesArePaddedToSixCharacters) {
    EXPECT_EQ(reelBracketText(u"A"), u"< A      >");
    EXPECT_EQ(reelBracketText(u"TAPE01"), u"< TAPE01 >");
    EXPECT_EQ(reelBracketText(u"TAPE012"), u"< TAPE012 >");
    EXPECT_EQ(reelBracketText(u""), u"<        >");
}

TEST(ReelLine, TheCurrentEventsReelAndItsComment) {
    EdlDocument doc;
    initNewDocumentHeader(doc, 0);
    doc.loaded = 1;
    std::vector<EdlEvent> events(2);
    EdlEvent* rows[3] = {&events[0], &events[1], nullptr};
    setText(events[0].text[kColReel], u"AUX");
    events[0].reelIndex = 0;
    setText(events[1].text[kColReel], u"TAPE02");
    events[1].reelIndex = 1;
    char16_t comments[2][kReelCommentLength] = {};
    setText(comments[1], u"屋外ロケ");
    doc.view[kAllEvents] = rows;
    doc.viewCount[kAllEvents] = 2;
    doc.reelCount = 2;
    doc.reelComments = comments;

    doc.currentRow[kAllEvents] = -1;
    EXPECT_FALSE(reelLineTexts(doc).hasEvent);
    doc.currentRow[kAllEvents] = 0;
    ReelLineTexts line = reelLineTexts(doc);
    EXPECT_TRUE(line.hasEvent);
    EXPECT_EQ(line.reel, u"< AUX    >");
    EXPECT_EQ(line.description, u"");
    doc.currentRow[kAllEvents] = 1;
    line = reelLineTexts(doc);
    EXPECT_EQ(line.reel, u"< TAPE02 >");
    EXPECT_EQ(line.description, u"屋外ロケ");
    // A reel index outside the table has no comment.
    events[1].reelIndex = 5;
    EXPECT_EQ(reelLineTexts(doc).description, u"");
    doc.view[kAllEvents] = nullptr; // keep the destructor away from the stack arrays
    doc.reelComments = nullptr;
}

TEST(StatusTexts, FormatsOfThePanelsStatusLine) {
    EXPECT_EQ(fileCountStatus(0, false), u"ファイル数:  0");
    EXPECT_EQ(fileCountStatus(3, true), u"ファイル数: 3");
    EXPECT_EQ(locationStatus(u"C:\\edits\\a.QLP"), u"場所:  C:\\edits\\a.QLP");
    EXPECT_EQ(openedStatus(u"C:\\edits\\a.QLP"), u"状態: C:\\edits\\a.QLPを開きました。");
    EXPECT_EQ(markerSelectionStatus(0, u"マーカー 1"), u"マーカー選択: [1] マーカー 1");
    EXPECT_EQ(markerSelectionStatus(7, u"要確認"), u"マーカー選択: [8] 要確認");
}
