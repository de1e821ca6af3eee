// The information panel under the list and the status bar, in the real main window: the text and
// colours of every owner-drawn cell with and without a document, the reel line, the marker cells
// and their clicks, the clicks of the other cells, and the status-bar parts.

#include "main_window_fixture.h"

#include "ops/info_texts.h"
#include "ui/info_panel.h"

namespace qlp {
namespace {

using test::click;
using test::MainCommandSpy;
using test::PixelCanvas;
using test::utf8;

constexpr int kEvents = 120;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 70, 40);
constexpr COLORREF kDisabledText = RGB(161, 161, 146);

class InfoPanelTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        loadGenerated(kEvents);
    }

    static RECT area(int left, int right, int height) { return RECT{left, 0, right, height}; }
};

// The texts themselves are the core's (tested natively); here: that the cells show the current
// document's, and fall back to the placeholders when it is gone.
TEST_F(InfoPanelTest, CellTextsWithAndWithoutADocument) {
    EdlDocument& doc = ui().document;
    for (int i : {3, 5})
        addHit(i);
    show();
    EXPECT_EQ(utf8(infoCellText(IDC_HIT_COUNTER, doc)), "2件/[120件中]");
    EXPECT_EQ(infoCellText(IDC_EDIT_COUNT, doc), L"0120");
    EXPECT_EQ(infoCellText(IDC_REEL_COUNT, doc), L"0003");
    EXPECT_EQ(infoCellText(IDC_REC_UPPER, doc), L"--:--:--.--");

    doc.recOffsetSign = u'+';
    doc.recOffset[0] = 1;
    doc.recOffset[3] = 15;
    doc.dropFrame = 1;
    updateOffsetDisplayText(doc); // as a change of the offset does
    EXPECT_EQ(infoCellText(IDC_OFFSET_CELL, doc), L"+01:00:00,15");

    forgetDocument();
    EXPECT_EQ(infoCellText(IDC_HIT_COUNTER, doc), L"");
    EXPECT_EQ(infoCellText(IDC_OFFSET_CELL, doc), L"--:--:--.--");
    EnableWindow(control(IDC_REEL_LINE), FALSE); // as closing the last tab leaves it
    auto reel = paint(IDC_REEL_LINE);
    EXPECT_EQ(reel->at(1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(reel->count(kBlack, area(0, 10, 23)), 0);
    EXPECT_GT(reel->count(kBlack, area(10, 200, 23)), 20); // "No reference."
    EXPECT_EQ(reel->count(kWhite), 0);
}

// The widest texts of the search panel fit where they are shown, as with the Windows fonts: a
// timecode in its cell (drawn whole, not cut with an ellipsis) and each item of the view combo box.
TEST_F(InfoPanelTest, TimecodeCellsAndTheViewComboShowTheirWholeTexts) {
    EdlDocument& doc = ui().document;
    show();
    doc.search.slotValue[0] = 108000 + 5 * 1800; // 01:05:00.00, as the timecode entry leaves it
    const std::u16string text = u"01:05:00.00";
    std::copy(text.begin(), text.end(), doc.search.slotText[0]);
    HWND cell = control(IDC_SRC_LOWER);
    HDC dc = GetDC(cell);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(cell, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"01:05:00.00", 11, &extent);
    RECT client;
    GetClientRect(cell, &client);
    EXPECT_LT(extent.cx, client.right);
    // Drawn in its cell, the text has the same pixels as drawn with room to spare.
    auto inCell = paint(IDC_SRC_LOWER);
    auto roomy = paint(IDC_SRC_LOWER, 200, client.bottom);
    EXPECT_GT(inCell->count(kBlack), 0);
    EXPECT_EQ(inCell->count(kBlack), roomy->count(kBlack));

    HWND view = control(IDC_VIEW);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(view, &info));
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(view, WM_GETFONT, 0, 0)));
    for (const wchar_t* item : {L"通常のＥＤＬリスト", L"検索結果", L"リールの使用アドレス"}) {
        GetTextExtentPoint32W(dc, item, static_cast<int>(wcslen(item)), &extent);
        EXPECT_LE(extent.cx, info.rcItem.right - info.rcItem.left) << utf8(item);
    }
    SelectObject(dc, old);
    ReleaseDC(cell, dc);
}

TEST_F(InfoPanelTest, EnabledCellsPaintInTheirGroupsColours) {
    addHit(0);
    show();
    auto hits = paint(IDC_HIT_COUNTER);
    EXPECT_EQ(hits->at(1, 1), kGreen);
    EXPECT_GT(hits->count(kWhite), 20);

    for (int id : {IDC_COUNT_MODE, IDC_EDIT_COUNT, IDC_REEL_COUNT, IDC_OFFSET_CELL}) {
        auto cell = paint(id);
        EXPECT_EQ(cell->at(0, 0), kBlack) << id;
        EXPECT_GT(cell->count(kYellow), 10) << id;
    }
    // Search timecode cells: white with black text while enabled; a second-bound cell without a
    // first bound stays disabled: button face, grey text.
    auto first = paint(IDC_REC_LOWER);
    EXPECT_EQ(first->at(1, 1), kWhite);
    EXPECT_GT(first->count(kBlack), 10);
    ASSERT_FALSE(IsWindowEnabled(control(IDC_REC_UPPER)));
    auto second = paint(IDC_REC_UPPER);
    EXPECT_EQ(second->at(1, 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(second->count(kDisabledText), 10);
}

TEST_F(InfoPanelTest, ReelLineShowsTheCurrentEventsReelAndDescription) {
    EdlDocument& doc = ui().document;
    const std::u16string comment = u"Opening scenes";
    comment.copy(doc.reelComments[0], comment.size());
    show();
    stopWorkers(ui().workers);      // keeps currentRow where the test puts it
    doc.currentRow[kAllEvents] = 3; // edit 0004 on TAPE01
    EXPECT_EQ(reelLineTexts(doc).reel, u"< TAPE01 >");

    auto line = paint(IDC_REEL_LINE);
    const int h = 23;
    EXPECT_EQ(line->at(1, 1), kBlack);
    EXPECT_EQ(line->count(kWhite, area(0, 5, h)), 0);
    EXPECT_GT(line->count(kWhite, area(5, 60, h)), 10); // "リール:"
    EXPECT_EQ(line->count(kYellow, area(0, 65, h)), 0);
    EXPECT_GT(line->count(kYellow, area(65, 160, h)), 20);  // "< TAPE01 >"
    EXPECT_GT(line->count(kWhite, area(165, 210, h)), 10);  // "説明:"
    EXPECT_GT(line->count(kYellow, area(215, 400, h)), 20); // the reel's comment

    doc.currentRow[kAllEvents] = 1; // TAPE02 has no comment
    line = paint(IDC_REEL_LINE);
    EXPECT_GT(line->count(kYellow, area(65, 160, h)), 20);
    EXPECT_EQ(line->count(kYellow, area(215, 1000, h)), 0);

    // Without a current event only the labels are drawn.
    doc.currentRow[kAllEvents] = -1;
    line = paint(IDC_REEL_LINE);
    EXPECT_GT(line->count(kWhite, area(5, 60, h)), 10);
    EXPECT_EQ(line->count(kYellow), 0);
    startWorkers(ui().workers);
}

TEST_F(InfoPanelTest, MarkerCellsShowColourNumberAndTheCurrentMarker) {
    EdlDocument& doc = ui().document;
    doc.markerColours[5] = RGB(0, 128, 255);
    doc.currentMarker = 5;
    show();
    for (int k : {4, 5}) {
        auto cell = paint(IDC_MARKER_CELL1 + k);
        int frameWhite = 0, frameBlack = 0;
        for (int x = 0; x < 28; ++x)
            for (int y : {0, 19}) {
                frameWhite += cell->at(x, y) == kWhite;
                frameBlack += cell->at(x, y) == kBlack;
            }
        if (k == 5) {
            EXPECT_GT(frameWhite, 10) << "the inverted dotted frame of the current marker";
            EXPECT_GT(cell->count(RGB(0, 128, 255)), 26 * 18 / 2);
        } else {
            EXPECT_EQ(frameBlack, 56);
            EXPECT_GT(cell->count(kBlack), 56); // marker colour 5 is black in a new document
        }
        EXPECT_GT(cell->count(kWhite, RECT{2, 2, 26, 18}), 5) << "the digit"; // marker number
    }
}

TEST_F(InfoPanelTest, ClickingAMarkerCellChoosesTheCurrentMarker) {
    EdlDocument& doc = ui().document;
    show();
    ASSERT_EQ(doc.currentMarker, 0);
    click(control(IDC_MARKER_CELL1 + 2), 5, 5);
    EXPECT_EQ(doc.currentMarker, 2);
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "マーカー選択: [3] マーカー 3");
    EXPECT_EQ(ui().currentEntry->saveState, kSaved); // choosing is not a change of the document

    // Clicking the current marker again still writes the status line.
    setStatusText(kStatusBarState, u"状態: 待機中");
    click(control(IDC_MARKER_CELL1 + 2), 5, 5);
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "マーカー選択: [3] マーカー 3");

    const std::u16string name = u"要確認";
    name.copy(doc.markerNames[7], name.size());
    doc.markerNames[7][name.size()] = u'\0';
    click(control(IDC_MARKER_CELL8), 5, 5);
    EXPECT_EQ(doc.currentMarker, 7);
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "マーカー選択: [8] 要確認");

    // The second click of a double click is ignored.
    SendMessageW(control(IDC_MARKER_CELL1 + 4), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(doc.currentMarker, 7);
}

TEST_F(InfoPanelTest, TheOffsetCellOpensTheOffsetOtherCellsDoNothing) {
    show();
    const EdlDocument& doc = ui().document;
    MainCommandSpy spy(hwnd);
    click(control(IDC_OFFSET_CELL), 5, 5);
    EXPECT_EQ(spy.commands, std::vector<int>{IDM_OFFSET});
    spy.commands.clear();
    const int marker = doc.currentMarker;
    // The search timecode cells open the timecode entry dialog (the search tests).
    for (int id : {IDC_REEL_LINE, IDC_HIT_COUNTER})
        click(control(id), 5, 5);
    EXPECT_TRUE(spy.commands.empty());
    EXPECT_EQ(doc.currentMarker, marker);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(doc.search.slotValue[slot], -1);
}

TEST_F(InfoPanelTest, MarkerCellsDoNothingWithoutADocument) {
    // Nothing shown: the cells are disabled and a click that reaches one changes nothing.
    forgetDocument();
    click(control(IDC_MARKER_CELL1 + 3), 5, 5);
    EXPECT_EQ(ui().document.currentMarker, 0);
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "状態: 待機中");
}

TEST_F(InfoPanelTest, StatusBarParts) {
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "状態: 待機中");
    const std::u16string path = ui().currentEntry->path;
    setStatusText(kStatusBarFiles, fileCountStatus(1, true));
    setStatusText(kStatusBarLocation, locationStatus(path));
    EXPECT_EQ(utf8(statusText(kStatusBarFiles)), "ファイル数: 1");
    EXPECT_EQ(statusText(kStatusBarLocation), L"場所:  " + toWide(path));
    EXPECT_EQ(utf8(statusText(kStatusBarState)), "状態: 待機中"); // each part keeps its own text
}

TEST_F(InfoPanelTest, MarkerComboItemsShowColourAndName) {
    EdlDocument& doc = ui().document;
    doc.markerColours[1] = RGB(0, 0, 255);
    show();
    PixelCanvas canvas(220, 15);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = IDC_SEARCH_MARKER;
    item.itemID = 1;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_SELECTED;
    item.hwndItem = control(IDC_SEARCH_MARKER);
    item.hDC = canvas.dc();
    item.rcItem = {0, 0, 220, 15};
    item.itemData = static_cast<ULONG_PTR>(SendMessageW(item.hwndItem, CB_GETITEMDATA, 1, 0));
    drawMarkerComboItem(item);
    EXPECT_EQ(canvas.at(8, 7), RGB(0, 0, 255));
    EXPECT_EQ(canvas.at(1, 1), kBlack);
    EXPECT_EQ(canvas.at(100, 1), RGB(0, 20, 255));
    EXPECT_GT(canvas.count(kWhite, RECT{20, 0, 220, 15}), 10); // the name, white on the selection
}

} // namespace
} // namespace qlp
