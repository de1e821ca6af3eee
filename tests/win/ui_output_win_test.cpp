// Re-addressing and writing out a document through the real window: the offset dialog (Cancel,
// range message, arrow button, the search it discards, the offset in the list, a tab from an EDL
// that Close Tab then offers to save), the EDL export dialog (folder browser answered by the test,
// overwrite Yes/No, write error on a read-only target) and the listing dialog (choices stored,
// Cancel keeping the sort), the written files compared byte for byte with what qlp.exe, run as a
// program of its own, writes for the same document and choices.

#include "dialog_scripts.h"
#include "main_window_fixture.h"

#include "model/project_file.h"
#include "ops/offset.h"
#include "ops/tab_commands.h"
#include "outputs/edl_export.h"
#include "outputs/listing.h"

namespace qlp {
namespace {

using test::DialogScripts;

class OutputTest : public test::MainWindowTest {
protected:
    static void press(HWND dialog, int id, int code = BN_CLICKED) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static std::wstring item(HWND dialog, int id) { return test::windowText(GetDlgItem(dialog, id)); }
    static void type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }
    // A click on a radio or check box, as the mouse gives it.
    static void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static std::string bytesOf(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Runs qlp.exe with the arguments (each quoted) and returns its exit code.
    static DWORD runQlp(const std::vector<std::wstring>& arguments) {
        const std::filesystem::path exe = QLP_CLI_EXE;
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        for (const std::wstring& a : arguments)
            commandLine += L" \"" + a + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "qlp.exe did not start: " << GetLastError();
            return DWORD(-1);
        }
        DWORD code = DWORD(-1);
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        else
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return code;
    }
};

TEST_F(OutputTest, OffsetThenExportAndListThroughTheirDialogs) {
    DialogScripts scripts(recorder);
    scripts.script = [](HWND d) {
        ADD_FAILURE() << "a dialog opened without a document";
        EndDialog(d, IDCANCEL);
    };
    for (int id : {IDM_OFFSET, IDM_EDL_EXPORT, IDM_TEXT_LISTING})
        command(id);
    loadGenerated(12, kFromEdl); // recorded from 10:00:00.00 in one-second steps
    show();
    EdlDocument& doc = ui().document;
    const std::wstring source = toWide(ui().currentEntry->path);
    const auto lastBox = [&] { return scripts.boxes.empty() ? std::string() : scripts.boxes.back().text; };
    const auto lastCaption = [&] { return scripts.boxes.empty() ? std::string() : scripts.boxes.back().caption; };

    // Cancel changes nothing.
    scripts.script = [&](HWND d) {
        type(d, IDC_OFFSET_ENTRY, L"2000000");
        press(d, IDCANCEL);
    };
    command(IDM_OFFSET);
    EXPECT_EQ(doc.recOffsetDirection, 0);
    EXPECT_EQ(rowText(0, 10), L"10:00:00.00");
    EXPECT_EQ(ui().currentEntry->edlChanged, 0);

    // A search on the record time, which the offset below makes stale.
    scripts.script = [&](HWND d) {
        type(d, IDC_ENTRY_NUMBER, L"10000500");
        press(d, IDOK);
    };
    SendMessageW(control(IDC_CHECK_RECORD), BM_CLICK, 0, 0);
    test::click(control(IDC_REC_LOWER), 5, 5);
    command(IDM_SEARCH);
    EXPECT_EQ(doc.viewCount[kSearchResult], 7);

    // Offset: refused entry, the arrow copies the original address, then 01:00:00:00.
    scripts.script = [&](HWND d) {
        EXPECT_EQ(item(d, IDC_OFFSET_ORIGINAL), L"10000000");
        EXPECT_EQ(item(d, IDC_OFFSET_ENTRY), L"10000000");
        // Typed over the selected entry, then OK clicked: the dialog stays with the entry focused.
        HWND entry = GetDlgItem(d, IDC_OFFSET_ENTRY);
        SetFocus(entry);
        SendMessageW(entry, EM_SETSEL, 0, -1);
        for (const wchar_t* c = L"24000000"; *c; ++c)
            SendMessageW(entry, WM_CHAR, *c, 0);
        scripts.answers.push_back(IDOK);
        SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
        EXPECT_EQ(lastBox(), test::utf8(test::texts::kOffsetOutOfRange));
        EXPECT_EQ(lastCaption(), "");
        EXPECT_EQ(scripts.boxes.back().type, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(GetFocus(), entry);
        EXPECT_EQ(item(d, IDC_OFFSET_ENTRY), L"24000000");
        press(d, IDC_OFFSET_COPY, BN_DOUBLECLICKED);
        EXPECT_EQ(item(d, IDC_OFFSET_ENTRY), L"10000000");
        // The arrow is drawn one pixel lower and further right while pressed.
        test::PixelCanvas canvas(30, 20);
        DRAWITEMSTRUCT draw{ODT_BUTTON,  IDC_OFFSET_COPY, 0, ODA_DRAWENTIRE, 0, GetDlgItem(d, IDC_OFFSET_COPY),
                            canvas.dc(), {0, 0, 30, 20},  0};
        SendMessageW(d, WM_DRAWITEM, IDC_OFFSET_COPY, reinterpret_cast<LPARAM>(&draw));
        const COLORREF normal = canvas.at(16, 8);
        EXPECT_NE(canvas.at(10, 2), GetSysColor(COLOR_BTNFACE));
        draw.itemAction = ODA_SELECT;
        draw.itemState = ODS_SELECTED;
        SendMessageW(d, WM_DRAWITEM, IDC_OFFSET_COPY, reinterpret_cast<LPARAM>(&draw));
        EXPECT_NE(canvas.at(16, 8), normal);
        EXPECT_EQ(canvas.at(10, 2), GetSysColor(COLOR_BTNFACE));
        type(d, IDC_OFFSET_ENTRY, L"1000000");
        press(d, IDOK);
    };
    command(IDM_OFFSET);
    EXPECT_EQ(doc.recOffsetDirection, 1);
    EXPECT_EQ(doc.recOffsetSign, u'-');
    EXPECT_EQ(ui().currentEntry->edlChanged, 1);
    EXPECT_EQ(doc.viewCount[kSearchResult], 0);
    EXPECT_EQ(std::count_if(doc.events, doc.events + doc.eventCount(), [](const EdlEvent& e) { return e.searchHit; }),
              0);
    EXPECT_EQ(rowText(0, 10), L"01:00:00.00");
    EXPECT_EQ(rowText(11, 11), L"01:00:12.00");

    // What qlp.exe writes for the same EDL, offset and choices.
    const std::filesystem::path ref = files / "ref";
    std::filesystem::create_directory(ref);
    const auto qlpOut = [&](const char* name) { return (ref / name).wstring(); };
    EXPECT_EQ(runQlp({L"offset", source, qlpOut("a.QLP"), L"--new", L"1000000", L"--original", L"10000000"}), 0u);
    EXPECT_EQ(runQlp({L"export", qlpOut("a.QLP"), qlpOut("a.EDL")}), 0u);
    EXPECT_EQ(runQlp({L"export", qlpOut("a.QLP"), qlpOut("df.EDL"), L"--convert"}), 0u);
    EXPECT_EQ(runQlp({L"list", qlpOut("a.QLP"), qlpOut("list.csv"), L"--csv", L"--kind", L"reels", L"--sort",
                      L"duration-desc"}),
              0u);
    const std::string plainEdl = bytesOf(ref / "a.EDL");
    const std::string dfEdl = bytesOf(ref / "df.EDL");
    ASSERT_FALSE(plainEdl.empty());
    EXPECT_NE(plainEdl, dfEdl);

    // EDL export: Create waits for a folder and a name; No keeps the file, Yes replaces it.
    scripts.folderAnswer = files.wstring();
    const std::filesystem::path edl = files / "out.EDL";
    scripts.script = [&](HWND d) {
        EXPECT_EQ(item(d, IDC_EXPORT_CONVERT), L"DFに変換");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDOK)));
        press(d, IDC_EXPORT_BROWSE);
        EXPECT_EQ(item(d, IDC_EXPORT_FOLDER), files.wstring());
        type(d, IDC_EXPORT_NAME, L"out.final");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDOK)));
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        EXPECT_EQ(lastBox(), message(test::texts::kEdlCreated, edl.wstring()));
        EXPECT_EQ(lastCaption(), test::utf8(test::texts::kEdlCreatedCaption));
        EXPECT_EQ(scripts.boxes.back().type, UINT(MB_OK | MB_ICONINFORMATION));
        EXPECT_EQ(bytesOf(edl), plainEdl);
        click(d, IDC_EXPORT_CONVERT);
        scripts.answers.push_back(IDNO);
        press(d, IDOK);
        EXPECT_EQ(lastBox(), test::utf8(test::texts::kOverwrite));
        EXPECT_EQ(lastCaption(), test::utf8(test::texts::kAppCaption));
        EXPECT_EQ(scripts.boxes.back().type, UINT(MB_YESNO | MB_ICONWARNING));
        EXPECT_EQ(bytesOf(edl), plainEdl);
        scripts.answers.push_back(IDYES);
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        EXPECT_EQ(bytesOf(edl), dfEdl);
        // A read-only target is left as it was, with the write error.
        SetFileAttributesW(edl.c_str(), FILE_ATTRIBUTE_READONLY);
        scripts.answers.push_back(IDYES);
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        EXPECT_EQ(lastCaption(), test::utf8(test::texts::kWriteErrorCaption));
        EXPECT_NE(lastBox().find("ERROR CODE: "), std::string::npos);
        EXPECT_EQ(bytesOf(edl), dfEdl);
        SetFileAttributesW(edl.c_str(), FILE_ATTRIBUTE_NORMAL);
        press(d, IDCANCEL);
    };
    command(IDM_EDL_EXPORT);
    EXPECT_EQ(scripts.browserTitles.back(), "ＥＤＬの保存先を選択してください。");

    // Listing: reel list in CSV sorted by duration; Cancel then keeps every choice but the sort.
    const std::filesystem::path csv = files / "list.csv";
    scripts.script = [&](HWND d) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_LIST_SEARCH))); // no search result
        EXPECT_EQ(SendDlgItemMessageW(d, IDC_LIST_REEL, CB_GETCOUNT, 0, 0), doc.reelCount);
        EXPECT_EQ(SendDlgItemMessageW(d, IDC_LIST_SORT, CB_GETCOUNT, 0, 0), 5);
        click(d, IDC_LIST_REELS);
        click(d, IDC_LIST_SEARCH_WORK);
        click(d, IDC_LIST_CSV);
        SendDlgItemMessageW(d, IDC_LIST_SORT, CB_SETCURSEL, 4, 0);
        press(d, IDC_EXPORT_BROWSE);
        type(d, IDC_EXPORT_NAME, L"list.a");
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        EXPECT_EQ(lastCaption(), test::utf8(test::texts::kListingCreatedCaption));
        EXPECT_EQ(lastBox(), message(test::texts::kListingCreated, {csv.wstring(), L"リール使用アドレスリスト"}));
        SendDlgItemMessageW(d, IDC_LIST_SORT, CB_SETCURSEL, 1, 0);
        click(d, IDC_LIST_CSV);
        press(d, IDCANCEL);
    };
    command(IDM_TEXT_LISTING);
    EXPECT_EQ(doc.listOptions[kListKind + 2], 1);
    EXPECT_EQ(doc.listOptions[kListOptionComment + 4], 1);
    EXPECT_EQ(doc.listOptions[kListCsv], 0);  // stored by Cancel
    EXPECT_EQ(doc.listOptions[kListSort], 4); // not stored by Cancel
    const std::string written = bytesOf(csv);
    EXPECT_EQ(written, bytesOf(ref / "list.csv"));
    EXPECT_NE(written.find("01:00:11:00,01:00:12:00"), std::string::npos); // R-VTR after the offset

    // The offset is a change of the EDL's tab: Close Tab offers to save it, and Yes saves it.
    const std::filesystem::path kept = files / "kept.QLP";
    scripts.answers.push_back(IDYES);
    recorder.answerFile(kept.wstring());
    command(IDM_CLOSE_TAB);
    EXPECT_EQ(lastBox(), message(test::texts::kSaveBeforeCloseTab, source));
    EXPECT_EQ(listRows(), 0);
    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(kept.u16string(), saved), LoadStatus::Ok);
    EXPECT_EQ(saved.recOffsetDirection, 1);
    EXPECT_EQ(saved.events[0].recIn, 108000); // 01:00:00.00
}

// A drop-frame list offers "NDFに変換"; clicked, the EDL written is the non-drop conversion qlp.exe
// writes for the same list, and without it the list as it is.
TEST_F(OutputTest, ADropFrameListConvertsToNonDropFrame) {
    DialogScripts scripts(recorder);
    scripts.folderAnswer = files.wstring();
    const std::wstring source = copySample("df_reverse.EDL");
    loadEdl(toU16(source), kFromEdl);
    show();
    ASSERT_EQ(ui().document.dropFrame, 1);
    const std::filesystem::path ref = files / "ref";
    std::filesystem::create_directory(ref);
    EXPECT_EQ(runQlp({L"export", source, (ref / "plain.EDL").wstring()}), 0u);
    EXPECT_EQ(runQlp({L"export", source, (ref / "ndf.EDL").wstring(), L"--convert"}), 0u);
    scripts.script = [&](HWND d) {
        EXPECT_EQ(item(d, IDC_EXPORT_CONVERT), L"NDFに変換");
        press(d, IDC_EXPORT_BROWSE);
        type(d, IDC_EXPORT_NAME, L"plain");
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        click(d, IDC_EXPORT_CONVERT);
        EXPECT_EQ(IsDlgButtonChecked(d, IDC_EXPORT_CONVERT), BST_CHECKED);
        type(d, IDC_EXPORT_NAME, L"ndf");
        scripts.answers.push_back(IDOK);
        press(d, IDOK);
        press(d, IDCANCEL);
    };
    command(IDM_EDL_EXPORT);
    const std::string ndf = bytesOf(ref / "ndf.EDL");
    EXPECT_NE(ndf, bytesOf(ref / "plain.EDL"));
    EXPECT_EQ(bytesOf(files / "plain.EDL"), bytesOf(ref / "plain.EDL"));
    EXPECT_EQ(bytesOf(files / "ndf.EDL"), ndf);
}

} // namespace
} // namespace qlp
