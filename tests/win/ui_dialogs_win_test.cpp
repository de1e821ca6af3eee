// Every dialog as the user meets it in the real program: each opened from its command (or its
// panel cell) with its caption, font, size and each control's id, class, kind, text and place in
// dialog units, as the system describes them; and the listing dialog's kind radios clicked as a
// user clicks them, with the listing each one writes and the choice a Cancel keeps.

#include "dialog_scripts.h"
#include "main_window_fixture.h"

#include <cwctype>
#include <sstream>

namespace qlp {
namespace {

using test::DialogScripts;
using test::utf8;

// What a button is; statics, edits, lists and combo boxes have no kind.
enum Kind { kNone, kPush, kDefault, kCheck, kRadio, kRadioGroup, kOwnerDrawn };

struct ControlSpec {
    int id;              // -1 for a static without an id
    const wchar_t* cls;  // window class, compared without case
    const wchar_t* text; // nullptr: not compared (filled from the document, or a picture)
    Kind kind;
    int x, y, cx, cy; // dialog units; -1 where the description leaves it open
};

struct DialogSpec {
    const char* name;
    int openWith; // a main-window command, or a panel cell clicked
    bool cell;    // openWith is a cell
    int dialogId; // the resource the program runs
    const wchar_t* caption;
    const wchar_t* face;
    int points;
    int cx, cy; // client size in dialog units
    std::vector<ControlSpec> controls;
};

// A control whose place and size the description leaves open.
ControlSpec unplaced(int id, const wchar_t* cls, const wchar_t* text, Kind kind = kNone) {
    return {id, cls, text, kind, -1, -1, -1, -1};
}

// The destination rows the EDL export and the listing share, and their two buttons.
void addDestination(std::vector<ControlSpec>& c, const wchar_t* okText) {
    for (const ControlSpec& row :
         {unplaced(IDC_EXPORT_BROWSE, L"Button", L"保存先(&D)", kPush), unplaced(IDC_EXPORT_FOLDER, L"Edit", nullptr),
          unplaced(-1, L"Static", L"保存ファイル名"), unplaced(IDC_EXPORT_NAME, L"Edit", L""),
          unplaced(IDOK, L"Button", okText, kDefault), unplaced(IDCANCEL, L"Button", L"キャンセル(&C)", kPush)})
        c.push_back(row);
}

std::vector<ControlSpec> exportControls() {
    std::vector<ControlSpec> c = {
        unplaced(-1, L"Static", L"作成するＥＤＬにはオフセット設定が反映されます。"),
        unplaced(IDC_EXPORT_CONVERT, L"Button", L"DFに変換", kCheck),
    };
    addDestination(c, L"作成(&O)");
    return c;
}

// Each list kind is a radio with its three comment check boxes; two carry a note.
std::vector<ControlSpec> listingControls() {
    std::vector<ControlSpec> c(3, unplaced(-1, L"Static", L"")); // the three etched frames
    const int radios[] = {IDC_LIST_VIEWER, IDC_LIST_SEARCH, IDC_LIST_REELS};
    const wchar_t* radioTexts[] = {L"ビューア独自EDL", L"検索結果", L"リールアドレス一覧"};
    const int checks[3][3] = {{IDC_LIST_VIEWER_OPTION, IDC_LIST_VIEWER_WORK, IDC_LIST_VIEWER_MARKER},
                              {IDC_LIST_SEARCH_OPTION, IDC_LIST_SEARCH_WORK, IDC_LIST_SEARCH_MARKER},
                              {IDC_LIST_REEL_OPTION, IDC_LIST_REEL_WORK, IDC_LIST_REEL_MARKER}};
    const wchar_t* checkTexts[] = {L"オプションコメント", L"作業コメント", L"マーカーコメント"};
    const wchar_t* notes[] = {L"このリストはＥＤＬとしては使えません。", L"リスト上の並び順が反映されます。", nullptr};
    for (int kind = 0; kind < 3; ++kind) {
        c.push_back(unplaced(radios[kind], L"Button", radioTexts[kind], kind == 0 ? kRadioGroup : kRadio));
        for (int k = 0; k < 3; ++k)
            c.push_back(unplaced(checks[kind][k], L"Button", checkTexts[k], kCheck));
        if (notes[kind])
            c.push_back(unplaced(-1, L"Static", notes[kind]));
    }
    for (const ControlSpec& row :
         {unplaced(IDC_LIST_ALL_REELS, L"Button", L"全て", kRadioGroup),
          unplaced(IDC_LIST_ONE_REEL, L"Button", L"このリールのみ", kRadio),
          unplaced(IDC_LIST_REEL, L"ComboBox", nullptr), unplaced(-1, L"Static", L"ソート"),
          unplaced(IDC_LIST_SORT, L"ComboBox", nullptr), unplaced(IDC_LIST_CSV, L"Button", L"CSV形式で作成", kCheck)})
        c.push_back(row);
    addDestination(c, L"作成(&S)");
    return c;
}

std::vector<ControlSpec> markerControls() {
    std::vector<ControlSpec> c = {
        {IDC_MARKER_COLOUR_LABEL, L"Static", L"色", kNone, 12, 4, -1, -1},
        {IDC_MARKER_NAME_LABEL, L"Static", L"マーカーの説明", kNone, 77, 4, -1, -1},
        {-1, L"Static", L"↑色調整は左端のカラーボックスをクリックして下さい。", kNone, 11, 130, -1, -1},
        {IDOK, L"Button", L"OK(&O)", kDefault, 36, 143, 50, 14},
        {IDCANCEL, L"Button", L"キャンセル(&C)", kPush, 90, 143, 50, 14},
    };
    const int boxes[] = {IDC_MARKER_BOX1, IDC_MARKER_BOX2, IDC_MARKER_BOX3, IDC_MARKER_BOX4,
                         IDC_MARKER_BOX5, IDC_MARKER_BOX6, IDC_MARKER_BOX7, IDC_MARKER_BOX8};
    const int names[] = {IDC_MARKER_NAME1, IDC_MARKER_NAME2, IDC_MARKER_NAME3, IDC_MARKER_NAME4,
                         IDC_MARKER_NAME5, IDC_MARKER_NAME6, IDC_MARKER_NAME7, IDC_MARKER_NAME8};
    for (int k = 0; k < 8; ++k) {
        c.push_back({boxes[k], L"Static", L"", kNone, 4, 15 + 14 * k, 23, 12});
        c.push_back({names[k], L"Edit", nullptr, kNone, 33, 15 + 14 * k, 142, 13});
    }
    return c;
}

std::vector<DialogSpec> dialogSpecs() {
    return {
        {"timecode entry",
         IDC_SRC_LOWER,
         true,
         IDD_TIMECODE_ENTRY,
         L"素材ＴＣを入力-A",
         L"MS UI Gothic",
         11,
         92,
         36,
         {
             {IDC_ENTRY_NUMBER, L"Edit", nullptr, kNone, 49, 5, 38, 12},
             {IDOK, L"Button", L"OK(&O)", kDefault, 49, 19, 38, 13},
             {IDC_ENTRY_DF, L"Button", L"DF(&D)", kRadioGroup, 4, 4, 32, 11},
             {IDC_ENTRY_NDF, L"Button", L"NDF(&N)", kRadio, 4, 19, 32, 11},
         }},
        {"edit locate",
         IDM_EDIT_LOCATE,
         false,
         IDD_EDIT_LOCATE,
         L"エディット・ロケート",
         L"MS Shell Dlg",
         8,
         105,
         38,
         {
             {-1, L"Static", L"エディット番号を入力して下さい", kNone, 4, 5, 98, 8},
             {IDC_ENTRY_NUMBER, L"Edit", nullptr, kNone, 4, 16, 47, 18},
             {IDOK, L"Button", L"LOC", kDefault, 60, 16, 41, 18},
         }},
        {"marker settings", IDM_MARKER_SETTINGS, false, IDD_MARKER_SETTINGS, L"マーカー設定", L"MS Shell Dlg", 8, 180,
         161, markerControls()},
        {"offset",
         IDM_OFFSET,
         false,
         IDD_OFFSET,
         L"オフセット設定",
         L"MS UI Gothic",
         11,
         141,
         52,
         {
             unplaced(-1, L"Static", L"オリジナルアドレス"),
             unplaced(IDC_OFFSET_ORIGINAL, L"Static", L"10000000"),
             {IDC_OFFSET_COPY, L"Button", L"", kOwnerDrawn, -1, -1, 12, 11},
             unplaced(-1, L"Static", L"新規設定アドレス"),
             unplaced(IDC_OFFSET_ENTRY, L"Edit", nullptr),
             unplaced(IDOK, L"Button", L"OK(&O)", kDefault),
         }},
        {"EDL export", IDM_EDL_EXPORT, false, IDD_EDL_EXPORT, L"ＥＤＬ(BVE-9100 EDL)を作成", L"MS Shell Dlg", 8, 238,
         76, exportControls()},
        {"listing", IDM_TEXT_LISTING, false, IDD_LISTING, L"テキストファイルを作成", L"MS Shell Dlg", 8, 273, 195,
         listingControls()},
        {"reel information",
         IDM_REEL_INFO,
         false,
         IDD_REEL_INFO,
         L"リール情報・コメント設定",
         L"MS UI Gothic",
         9,
         427,
         225,
         {
             {IDC_REEL_INFO_LIST, L"SysListView32", nullptr, kNone, 0, 0, 427, 199},
             unplaced(IDC_REEL_INFO_EDIT, L"Edit", nullptr),
             unplaced(-1, L"Static", L"※使用時間は実時間(ノンドロップ)で計算されています。"),
             unplaced(-1, L"Static", L"※コメントは48文字(全角・半角)までです。"),
             unplaced(IDOK, L"Button", L"OK(&O)", kDefault),
         }},
        {"simple notes",
         IDM_SIMPLE_NOTES,
         false,
         IDD_SIMPLE_NOTES,
         L"簡易ノート",
         L"MS Shell Dlg",
         8,
         649,
         251,
         {
             unplaced(IDC_NOTE_NEW, L"Button", L"新規作成(&N)", kPush),
             unplaced(IDC_NOTE_DELETE, L"Button", L"削除(&D)", kPush),
             unplaced(IDOK, L"Button", L"閉じる(&O)", kDefault),
             unplaced(IDC_NOTE_LIST, L"ListBox", nullptr),
             unplaced(-1, L"Static", L"タイトル"),
             unplaced(IDC_NOTE_TITLE, L"Edit", L""),
             unplaced(IDC_NOTE_BODY, L"Edit", L""),
         }},
        {"version",
         IDM_ABOUT,
         false,
         IDD_VERSION,
         L"Quillonについて",
         L"MS UI Gothic",
         11,
         228,
         86,
         {
             {-1, L"Static", L"Quillon for SONY BVE-9100", kNone, 99, 8, 107, 9},
             {-1, L"Static", L"Version: 2.6.0 cs1", kNone, 124, 18, 57, 8},
             {-1, L"Static", L"Build: 2011/10/01", kNone, 162, 42, 61, 9},
             {-1, L"Static", L"Update: 2019/07/05", kNone, 82, 42, 70, 9},
             {-1, L"Static", nullptr, kNone, 3, 3, -1, -1}, // the picture, at the bitmap's own size
             {-1, L"Static", L"", kNone, 80, 4, 145, 49},
             {-1, L"Static", L"お問合せ", kNone, 81, 58, 29, 8},
             {IDC_VERSION_CONTACT, L"Edit", L"support@quillon.invalid", kNone, 111, 56, 112, 12},
             {-1, L"Static", L"■BVE-9100はSony Corporationの登録商標です", kNone, 40, 74, 152, 8},
         }},
    };
}

struct SeenControl {
    int id;
    std::wstring cls, text;
    LONG style;
    RECT rect; // pixels in the dialog's client area
    bool matched = false;
};

Kind kindOf(const SeenControl& c, int defaultId) {
    if (_wcsicmp(c.cls.c_str(), L"Button") != 0)
        return kNone;
    switch (c.style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return c.id == defaultId ? kDefault : kPush;
    case BS_AUTOCHECKBOX:
        return kCheck;
    case BS_AUTORADIOBUTTON:
        return (c.style & WS_GROUP) ? kRadioGroup : kRadio;
    case BS_OWNERDRAW:
        return kOwnerDrawn;
    default:
        return kNone;
    }
}

// What the test sees of one open dialog, checked against its description.
void checkDialog(HWND d, const DialogSpec& expected) {
    SCOPED_TRACE(expected.name);
    EXPECT_EQ(utf8(test::windowText(d)), utf8(expected.caption));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(utf8(font.lfFaceName), utf8(expected.face));
    EXPECT_EQ(font.lfHeight, -MulDiv(expected.points, 96, 72));
    RECT size{0, 0, expected.cx, expected.cy}, client{};
    MapDialogRect(d, &size);
    GetClientRect(d, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    std::vector<SeenControl> seen;
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&r), 2);
        const int id = GetDlgCtrlID(c);
        seen.push_back(
            {id == 0xFFFF ? -1 : id, test::className(c), test::windowText(c), GetWindowLongW(c, GWL_STYLE), r});
    }
    const int defaultId = LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0));
    EXPECT_EQ(seen.size(), expected.controls.size());
    for (const ControlSpec& want : expected.controls) {
        // A control is found by its id; statics without one by their text too.
        auto found = std::find_if(seen.begin(), seen.end(), [&](const SeenControl& c) {
            return !c.matched && c.id == want.id && (want.id != -1 || !want.text || c.text == want.text);
        });
        std::ostringstream what;
        what << "control " << want.id << " \"" << (want.text ? utf8(want.text) : "") << "\"";
        if (found == seen.end()) {
            ADD_FAILURE() << what.str() << " is missing";
            continue;
        }
        found->matched = true;
        EXPECT_EQ(_wcsicmp(found->cls.c_str(), want.cls), 0) << what.str() << ": " << utf8(found->cls);
        if (want.text) {
            EXPECT_EQ(utf8(found->text), utf8(want.text)) << what.str();
        }
        EXPECT_EQ(kindOf(*found, defaultId), want.kind) << what.str();
        // The dialog manager converts the place and the size each on its own.
        RECT at{want.x, want.y, want.cx, want.cy};
        MapDialogRect(d, &at);
        if (want.x >= 0) {
            EXPECT_EQ(found->rect.left, at.left) << what.str();
            EXPECT_EQ(found->rect.top, at.top) << what.str();
        }
        if (want.cx >= 0) {
            EXPECT_EQ(found->rect.right - found->rect.left, at.right) << what.str();
            EXPECT_EQ(found->rect.bottom - found->rect.top, at.bottom) << what.str();
        }
    }
}

class DialogsTest : public test::MainWindowTest {
protected:
    static void press(HWND dialog, int id) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // A click on a radio or check box, as the mouse gives it.
    static void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

    // A listing file as text.
    static std::wstring listing(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::wstring text(bytes.size(), L'\0');
        text.resize(MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                        static_cast<int>(text.size())));
        return text;
    }
    static int count(const std::wstring& text, std::wstring_view what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(DialogsTest, EachDialogShowsItsCaptionFontAndControls) {
    DialogScripts scripts(recorder);
    // Without a document no command opens its dialog (the version aside), and nothing is said.
    int opened = 0;
    scripts.script = [&](HWND d) {
        ++opened;
        press(d, IDCANCEL);
    };
    for (const DialogSpec& expected : dialogSpecs())
        if (!expected.cell && expected.openWith != IDM_ABOUT)
            command(expected.openWith);
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(scripts.boxes.empty());

    loadGenerated(12); // non-drop frame, recorded from 10:00:00.00
    show();
    for (const DialogSpec& expected : dialogSpecs()) {
        opened = 0;
        scripts.script = [&](HWND d) {
            ++opened;
            checkDialog(d, expected);
            press(d, IDCANCEL);
        };
        if (expected.cell)
            test::click(control(expected.openWith), 5, 5);
        else
            command(expected.openWith);
        EXPECT_EQ(opened, 1) << expected.name;
        ASSERT_FALSE(recorder.records.empty()) << expected.name;
        EXPECT_EQ(recorder.records.back().dialogId, expected.dialogId) << expected.name;
    }
}

// The three kinds are one group: a click on one unchecks the others, and the listing written is the
// kind clicked. Cancel keeps the kind chosen for the next opening.
TEST_F(DialogsTest, ListingKindRadiosWriteTheKindClicked) {
    loadGenerated(12); // reels TAPE01, TAPE02, TAPE03 in turn
    show();
    // A search for the reel TAPE02, from the panel: four hits.
    SendMessageW(control(IDC_CHECK_REEL), BM_CLICK, 0, 0);
    SendMessageW(control(IDC_SEARCH_REEL), CB_SETCURSEL, 1, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_REEL, CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(control(IDC_SEARCH_REEL)));
    SendMessageW(control(IDC_SEARCH), BM_CLICK, 0, 0);
    ASSERT_EQ(ui().document.viewCount[1], 4);

    DialogScripts scripts(recorder);
    scripts.folderAnswer = files.wstring();
    struct Case {
        int radio;
        const wchar_t* name;
        const wchar_t* kindLine;
        const wchar_t* countedLine; // the lines that say what was listed, and how many there are
        int lines;
    };
    const Case cases[] = {
        {IDC_LIST_SEARCH, L"search", L"内容: 検索結果\r\n", L"\r\n0", 4},
        {IDC_LIST_REELS, L"reels", L"内容: リール使用アドレスリスト\r\n", L"リール名: [TAPE0", 3},
        {IDC_LIST_VIEWER, L"viewer", L"内容: ビューアＥＤＬ\r\n", L"\r\n0", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.name));
        scripts.script = [&](HWND d) {
            click(d, c.radio);
            for (int radio : {IDC_LIST_VIEWER, IDC_LIST_SEARCH, IDC_LIST_REELS})
                EXPECT_EQ(checked(d, radio), radio == c.radio) << radio;
            press(d, IDC_EXPORT_BROWSE);
            SetDlgItemTextW(d, IDC_EXPORT_NAME, c.name);
            scripts.answers.push_back(IDOK);
            press(d, IDOK);
            press(d, IDCANCEL);
        };
        command(IDM_TEXT_LISTING);
        const std::wstring text = listing(files / (std::wstring(c.name) + L".txt"));
        EXPECT_EQ(count(text, c.kindLine), 1);
        EXPECT_EQ(count(text, c.countedLine), c.lines);
    }

    // Cancel keeps the kind clicked: the next opening shows the reel list chosen.
    scripts.script = [&](HWND d) {
        click(d, IDC_LIST_REELS);
        press(d, IDCANCEL);
    };
    command(IDM_TEXT_LISTING);
    scripts.script = [&](HWND d) {
        EXPECT_TRUE(checked(d, IDC_LIST_REELS));
        EXPECT_FALSE(checked(d, IDC_LIST_VIEWER));
        EXPECT_FALSE(checked(d, IDC_LIST_SEARCH));
        press(d, IDCANCEL);
    };
    command(IDM_TEXT_LISTING);
}

// Edits 0010 to 0012 only: 5 is within 1 to 12 but no event carries it, so the list is left on the
// normal view with nothing selected, and nothing is said.
TEST_F(DialogsTest, LocatingANumberNoEventCarriesSelectsNothing) {
    loadEdl(toU16(copySample("df_reverse.EDL")), kFromEdl);
    show();
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    DialogScripts scripts(recorder);
    scripts.script = [&](HWND d) {
        SetDlgItemTextW(d, IDC_ENTRY_NUMBER, L"5");
        press(d, IDOK);
    };
    command(IDM_EDIT_LOCATE);
    EXPECT_TRUE(scripts.boxes.empty());
    EXPECT_EQ(ui().document.currentView, 0);
    EXPECT_EQ(listRows(), ui().document.viewCount[0]);
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{});

    // 13 is past the last edit: the range message, and the dialog stays open for 11.
    scripts.script = [&](HWND d) {
        SetDlgItemTextW(d, IDC_ENTRY_NUMBER, L"13");
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        ASSERT_EQ(scripts.boxes.size(), 1u);
        EXPECT_EQ(scripts.boxes[0].text, message(test::texts::kLocateRange, L"", 12));
        EXPECT_EQ(scripts.boxes[0].caption, utf8(test::texts::kAppCaption));
        SetDlgItemTextW(d, IDC_ENTRY_NUMBER, L"11");
        press(d, IDOK);
    };
    command(IDM_EDIT_LOCATE);
    EXPECT_EQ(test::selectedRows(list), std::vector<int>{1});
}

} // namespace
} // namespace qlp
