// Finding events in the real main window: the search panel from its check boxes, combo boxes and
// timecode cells to the hits in the list, the timecode entry dialog, and edit locate.

#include "main_window_fixture.h"

#include "model/view_order.h"
#include "ops/locate.h"
#include "ops/search.h"
#include "ops/timecode_entry.h"
#include "ops/views.h"

namespace qlp {
namespace {

using test::click;
using test::utf8;

constexpr int kEvents = 30; // event i: reel TAPE0(i % 3 + 1), record 10:00:i:00 for one second

// Types into the dialogs the program opens as a user does before pressing OK: each OK first takes
// the next entry (a radio button clicked, digits put in the edit), and an entry the dialog refused
// with a box is followed by OK again while entries remain. Records what each opening showed. Boxes
// and dialogs are shown and answered by the fixture's recorder, which sees each dialog once: its
// activation again after a box is kept from it.
class DialogTyping : public ModalHandler {
public:
    struct Entry {
        std::wstring digits;
        int radio = 0;
    };
    std::deque<Entry> entries;
    // Per opening: "title|digits|DF or NDF|radios on or off|edit font height and weight".
    std::vector<std::string> openings;

    explicit DialogTyping(test::ModalRecorder& recorder) : recorder_(recorder) {
        current() = this;
        previous_ = setModalHandler(this);
        hook_ = SetWindowsHookExW(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
    }
    ~DialogTyping() override {
        UnhookWindowsHookEx(hook_);
        setModalHandler(previous_);
        current() = nullptr;
    }
    int messageBox(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) override {
        refused_ = true;
        return recorder_.messageBox(owner, text, caption, type);
    }
    INT_PTR dialogBox(HWND owner, int dialogId, DLGPROC proc, LPARAM param) override {
        proc_ = proc;
        return recorder_.dialogBox(owner, dialogId, typingProc, param);
    }

private:
    static DialogTyping*& current() {
        static DialogTyping* instance = nullptr;
        return instance;
    }

    static INT_PTR CALLBACK typingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        DialogTyping& self = *current();
        const bool ok = message == WM_COMMAND && LOWORD(wParam) == IDOK;
        if (ok && !self.entries.empty()) {
            const Entry entry = self.entries.front();
            self.entries.pop_front();
            if (entry.radio)
                SendMessageW(GetDlgItem(dialog, entry.radio), BM_CLICK, 0, 0);
            SetDlgItemTextW(dialog, IDC_ENTRY_NUMBER, entry.digits.c_str());
        }
        if (message == WM_INITDIALOG) {
            self.dialog_ = dialog; // the dialog may be activated while it initialises
            self.activations_ = 0;
        }
        if (ok)
            self.refused_ = false;
        const INT_PTR result = self.proc_(dialog, message, wParam, lParam);
        if (message == WM_INITDIALOG)
            self.openings.push_back(opening(dialog));
        if (ok && self.refused_ && !self.entries.empty())
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return result;
    }

    static LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam) {
        DialogTyping* self = current();
        if (self && code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == self->dialog_ &&
            ++self->activations_ > 1)
            return 0;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static std::string opening(HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_ENTRY_NUMBER);
        HWND df = GetDlgItem(dialog, IDC_ENTRY_DF);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
        return utf8(test::windowText(dialog)) + "|" + utf8(test::windowText(edit)) + "|" +
               (IsDlgButtonChecked(dialog, IDC_ENTRY_DF) ? "DF" : "NDF") + "|" +
               (df && IsWindowEnabled(df) ? "on" : "off") + "|" + std::to_string(font.lfHeight) + "/" +
               std::to_string(font.lfWeight);
    }

    test::ModalRecorder& recorder_;
    ModalHandler* previous_ = nullptr;
    HHOOK hook_ = nullptr;
    DLGPROC proc_ = nullptr;
    HWND dialog_ = nullptr;
    int activations_ = 0;
    bool refused_ = false;
};

class SearchTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        loadGenerated(kEvents);
    }

    void check(int id) { SendMessageW(control(id), BM_CLICK, 0, 0); }
    void choose(int id, int item) {
        SendMessageW(control(id), CB_SETCURSEL, item, 0);
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), reinterpret_cast<LPARAM>(control(id)));
    }
    // A timecode cell clicked with OK pressed after typing `digits`.
    void enterBound(int cell, const std::wstring& digits, int radio = 0) {
        typing.entries.push_back({digits, radio});
        recorder.expect(IDOK);
        click(control(cell), 5, 5);
    }
    std::string cellText(int id) const { return utf8(infoCellText(id, ui().document)); }
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }
    std::vector<std::wstring> editColumn() const {
        std::vector<std::wstring> out;
        for (int row = 0; row < listRows(); ++row)
            out.push_back(rowText(row, kColEdit));
        return out;
    }
    std::vector<int> flagged() const {
        std::vector<int> out;
        const EdlDocument& doc = ui().document;
        for (int i = 0; i < doc.viewCount[kAllEvents]; ++i)
            if (doc.view[kAllEvents][i]->searchHit)
                out.push_back(i);
        return out;
    }
    bool sortImagesShown() const {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ui().controls.header, kColRecIn, &item);
        return (item.fmt & HDF_IMAGE) != 0;
    }

    DialogTyping typing{recorder};
};

using Rows = std::vector<std::wstring>;

TEST_F(SearchTest, SearchFromThePanelSortClearAndTheUsageReel) {
    EdlDocument& doc = ui().document;
    show();
    EXPECT_FALSE(enabled(IDC_SEARCH));
    EXPECT_FALSE(enabled(IDC_CLEAR_SEARCH));

    // Reel TAPE02 and record time at or above 10:00:10.00, at or below 10:00:20.00.
    check(IDC_CHECK_REEL);
    EXPECT_EQ(doc.search.searchFlags, kSearchReel);
    EXPECT_TRUE(enabled(IDC_SEARCH));
    choose(IDC_SEARCH_REEL, 1);
    check(IDC_CHECK_RECORD);
    EXPECT_FALSE(enabled(IDC_REC_UPPER));
    enterBound(IDC_REC_LOWER, L"10001000");
    EXPECT_TRUE(enabled(IDC_REC_UPPER));
    EXPECT_TRUE(enabled(IDC_REC_UPPER_OP));
    enterBound(IDC_REC_UPPER, L"10002000");
    EXPECT_EQ(cellText(IDC_REC_UPPER), "10:00:20.00");
    ui().currentEntry->saveState = kSaved;
    command(IDM_SEARCH);
    EXPECT_EQ(flagged(), (std::vector<int>{10, 13, 16, 19}));
    EXPECT_EQ(cellText(IDC_HIT_COUNTER), "4件/[30件中]");
    EXPECT_EQ(status(2), "状態: 検索完了");
    EXPECT_EQ(std::u16string(doc.search.searchReelText), u"TAPE02");
    EXPECT_TRUE(enabled(IDC_CLEAR_SEARCH));
    EXPECT_EQ(ui().currentEntry->saveState, kModified);
    EXPECT_EQ(doc.currentView, kAllEvents); // a search does not switch the view

    // kSearchResult, sorted by record time descending; searching again keeps that order.
    command(IDM_SWITCH_VIEW);
    command(IDM_SORT_RECORD);
    command(IDM_SORT_RECORD);
    EXPECT_EQ(editColumn(), (Rows{L"0020", L"0017", L"0014", L"0011"}));
    choose(IDC_REC_LOWER_OP, kOpAtOrBelow); // below 10:00:10.00: no second bound
    EXPECT_FALSE(enabled(IDC_REC_UPPER));
    EXPECT_FALSE(enabled(IDC_REC_UPPER_OP));
    SendMessageW(control(IDC_SEARCH), BM_CLICK, 0, 0);
    EXPECT_EQ(editColumn(), (Rows{L"0008", L"0005", L"0002"}));
    EXPECT_EQ(flagged(), (std::vector<int>{1, 4, 7}));

    // A duration criterion without a bound finds nothing: kSearchResult gives way to kAllEvents.
    check(IDC_CHECK_DURATION);
    command(IDM_SEARCH);
    EXPECT_EQ(doc.currentView, kAllEvents);
    EXPECT_EQ(comboSelection(IDC_VIEW), kAllEvents);
    EXPECT_EQ(listRows(), kEvents);
    EXPECT_FALSE(sortImagesShown());
    EXPECT_FALSE(enabled(IDC_CLEAR_SEARCH));
    EXPECT_EQ(cellText(IDC_HIT_COUNTER), "0件/[30件中]");

    // The settings come back when the tab is shown again.
    check(IDC_CHECK_DURATION);
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        SendMessageW(control(id), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(control(IDC_SEARCH_REEL), CB_SETCURSEL, 0, 0);
    show();
    std::vector<bool> checks;
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        checks.push_back(SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
    EXPECT_EQ(checks, (std::vector<bool>{true, false, true, false, false}));
    EXPECT_EQ(comboSelection(IDC_SEARCH_REEL), 1);
    EXPECT_EQ(comboSelection(IDC_REC_LOWER_OP), kOpAtOrBelow);
    EXPECT_FALSE(enabled(IDC_REC_UPPER_OP));

    // Clear: the hits and their frames go.
    command(IDM_SEARCH);
    EXPECT_EQ(doc.viewCount[kSearchResult], 3);
    command(IDM_CLEAR_SEARCH);
    EXPECT_EQ(doc.viewCount[kSearchResult], 0);
    EXPECT_EQ(flagged(), std::vector<int>{});
    EXPECT_FALSE(enabled(IDC_CLEAR_SEARCH));
    EXPECT_TRUE(enabled(IDC_SEARCH));

    // The reel-usage view lists the reel chosen in its combo box, from its first row.
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kReelUsage);
    EXPECT_TRUE(enabled(IDC_VIEW_REEL));
    choose(IDC_VIEW_REEL, 2);
    EXPECT_EQ(doc.reelFilter, 2);
    EXPECT_EQ(listRows(), 10);
    EXPECT_EQ(rowText(1, kColReel), L"TAPE03");
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{0});
    EXPECT_TRUE(recorder.answers.empty());
}

TEST_F(SearchTest, TimecodeEntryDialog) {
    show();
    const std::wstring caption = ui().caption;

    // The source first bound chooses DF; a skipped DF label becomes frame 02.
    enterBound(IDC_SRC_LOWER, L"10000", IDC_ENTRY_DF);
    EXPECT_EQ(cellText(IDC_SRC_LOWER), "00:01:00,02");
    EXPECT_TRUE(enabled(IDC_SRC_UPPER));
    EXPECT_EQ(ui().currentEntry->saveState, kModified);

    // The second bound follows it: below the first, then out of range, are refused in turn.
    typing.entries.push_back({L"5900"});
    typing.entries.push_back({L"24000000"});
    recorder.expect(IDOK); // the box about the order
    recorder.expect(IDOK); // the range box
    enterBound(IDC_SRC_UPPER, L"20000");
    EXPECT_EQ(cellText(IDC_SRC_UPPER), "00:02:00,02");
    ASSERT_EQ(recorder.records.size(), 4u);
    EXPECT_EQ(recorder.records[2].text, test::texts::kBoundOrder);
    EXPECT_EQ(recorder.records[3].text, test::texts::kTimecodeRange);
    EXPECT_EQ(recorder.records[3].caption, caption);
    EXPECT_EQ(recorder.records[3].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));

    // Reopened, the first bound shows its eight digits; a cancel changes nothing.
    recorder.expect(IDCANCEL);
    click(control(IDC_SRC_LOWER), 5, 5);
    EXPECT_EQ(cellText(IDC_SRC_LOWER), "00:01:00,02");

    // A first bound above the second unsets the second.
    enterBound(IDC_SRC_LOWER, L"30000");
    EXPECT_EQ(cellText(IDC_SRC_UPPER), "--:--:--.--");

    // The record first bound takes the document's mode (NDF); an emptied entry unsets it.
    enterBound(IDC_REC_LOWER, L"1000", IDC_ENTRY_DF);
    EXPECT_EQ(cellText(IDC_REC_LOWER), "00:00:10.00");
    enterBound(IDC_REC_LOWER, L"");
    EXPECT_EQ(cellText(IDC_REC_LOWER), "--:--:--.--");
    EXPECT_FALSE(enabled(IDC_REC_UPPER));

    // The record second bound, then both duration bounds.
    enterBound(IDC_REC_LOWER, L"10001000");
    enterBound(IDC_REC_UPPER, L"10002000");
    enterBound(IDC_DUR_LOWER, L"100");
    enterBound(IDC_DUR_UPPER, L"200");
    EXPECT_EQ(cellText(IDC_DUR_UPPER), "00:00:02.00");

    const auto& o = typing.openings;
    ASSERT_EQ(o.size(), 10u);
    auto upTo = [](const std::string& x) { return x.substr(0, x.rfind('|')); }; // without the font
    EXPECT_EQ(upTo(o[0]), "素材ＴＣを入力-A||NDF|on");
    EXPECT_EQ(upTo(o[1]), "素材ＴＣを入力-B||DF|off");
    EXPECT_EQ(upTo(o[2]), "素材ＴＣを入力-A|00010002|DF|on");
    EXPECT_EQ(upTo(o[4]), "ＲＥＣ ＴＣを入力-A||NDF|off");
    EXPECT_EQ(upTo(o[5]), "ＲＥＣ ＴＣを入力-A|00001000|NDF|off");
    EXPECT_EQ(o[7].substr(0, o[7].find('|')), "ＲＥＣ ＴＣを入力-B");
    EXPECT_EQ(o[8].substr(0, o[8].find('|')), "デュレーションを入力-A");
    EXPECT_EQ(o[9].substr(0, o[9].find('|')), "デュレーションを入力-B");
}

// The source, duration and marker criteria as the panel sets them, and a marker deleted in the
// search result, which runs the search again.
TEST_F(SearchTest, SourceDurationAndMarkerCriteriaFromThePanel) {
    EdlDocument& doc = ui().document;
    show();
    // Event i starts at source 01:00:00.00 plus (30 - i) times ten seconds and lasts one second.
    check(IDC_CHECK_SOURCE);
    enterBound(IDC_SRC_LOWER, L"1040000"); // ending after 01:04:00.00
    command(IDM_SEARCH);
    EXPECT_EQ(flagged(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    enterBound(IDC_SRC_UPPER, L"1045000"); // and starting before 01:04:50.00
    command(IDM_SEARCH);
    EXPECT_EQ(flagged(), (std::vector<int>{2, 3, 4, 5, 6}));
    check(IDC_CHECK_SOURCE);

    check(IDC_CHECK_DURATION);
    enterBound(IDC_DUR_LOWER, L"100"); // at least one second: every event
    command(IDM_SEARCH);
    EXPECT_EQ(doc.viewCount[1], kEvents);
    choose(IDC_DUR_LOWER_OP, kOpAbove); // more than one second: none
    command(IDM_SEARCH);
    EXPECT_EQ(doc.viewCount[1], 0);
    check(IDC_CHECK_DURATION);

    // Marker 1 on rows 2 and 5, as the user sets it: the rows selected, then Ctrl+M.
    for (int row : {2, 5}) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        command(IDM_SET_MARKER);
    }
    check(IDC_CHECK_MARKER);
    choose(IDC_SEARCH_MARKER, 0);
    command(IDM_SEARCH);
    EXPECT_EQ(flagged(), (std::vector<int>{2, 5}));

    // In the search result, deleting the marker of the first hit searches again: one hit is left.
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, 1);
    ASSERT_EQ(editColumn(), (Rows{L"0003", L"0006"}));
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    command(IDM_DELETE_MARKER);
    EXPECT_EQ(flagged(), std::vector<int>{5});
    EXPECT_EQ(editColumn(), Rows{L"0006"});
    EXPECT_EQ(cellText(IDC_HIT_COUNTER), "1件/[30件中]");
}

TEST_F(SearchTest, LocateFromTheSearchResult) {
    EdlDocument& doc = ui().document;
    for (int i : {3, 10, 20})
        addHit(i);
    show();
    command(IDM_SWITCH_VIEW);
    ASSERT_EQ(doc.currentView, kSearchResult);
    ASSERT_TRUE(sortImagesShown());

    // 0 is out of range; 7 locates edit 0007, the seventh row, at the top of the normal list.
    typing.entries.push_back({L"0"});
    typing.entries.push_back({L"7"});
    recorder.expect(IDOK); // the dialog
    recorder.expect(IDOK); // the range box
    command(IDM_EDIT_LOCATE);
    ASSERT_EQ(recorder.records.size(), 2u);
    EXPECT_EQ(utf8(recorder.records[1].text), "1-30 までの数値を入力して下さい。");
    ASSERT_EQ(typing.openings.size(), 1u);
    EXPECT_EQ(typing.openings[0], "エディット・ロケート||NDF|off|20/700"); // no radio buttons; a bold edit
    EXPECT_EQ(std::u16string(locateText(doc)), u"0007");
    EXPECT_EQ(doc.currentView, kAllEvents);
    EXPECT_EQ(comboSelection(IDC_VIEW), kAllEvents);
    EXPECT_FALSE(sortImagesShown());
    EXPECT_EQ(listRows(), kEvents);
    EXPECT_EQ(ListView_GetTopIndex(list), 6);
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{6});
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 6);

    // Reopened, the dialog shows 0007; a cancel leaves everything as it was.
    recorder.expect(IDCANCEL);
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    command(IDM_EDIT_LOCATE);
    EXPECT_EQ(typing.openings[1].substr(0, typing.openings[1].find("|N")), "エディット・ロケート|0007");
    EXPECT_EQ(ListView_GetTopIndex(list), 0);
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{6});
}

} // namespace
} // namespace qlp
