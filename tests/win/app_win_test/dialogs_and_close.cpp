// The version dialog, the string table, and the questions of closing the window.

#include "main_window_fixture.h"

#include "ui/dialogs/version_dialog.h"

namespace qlp {
namespace {

using test::MainWindowTest;
using test::pumpMessages;
using test::utf8;

TEST_F(MainWindowTest, VersionDialog) {
    recorder.expect(IDOK);
    EXPECT_EQ(runVersionDialog(hwnd), IDOK);
    ASSERT_EQ(recorder.records.size(), 1u);
    const test::ModalRecord& dialog = recorder.records[0];
    EXPECT_EQ(dialog.dialogId, IDD_VERSION);
    EXPECT_EQ(utf8(dialog.caption), utf8(L"Quillonについて"));
    std::vector<std::string> texts;
    for (const auto& t : dialog.children)
        texts.push_back(utf8(t));
    ASSERT_EQ(texts.size(), 9u);
    texts[4] = "<picture>"; // a picture control's text is the resource ordinal of its bitmap
    EXPECT_EQ(texts, (std::vector<std::string>{"Quillon for SONY BVE-9100", "Version: 2.6.0 cs1", "Build: 2011/10/01",
                                               "Update: 2019/07/05", "<picture>", "", utf8(L"お問合せ"),
                                               "support@quillon.invalid",
                                               utf8(L"■BVE-9100はSony Corporationの登録商標です")}));
    EXPECT_EQ(dialog.childIds[7], IDC_VERSION_CONTACT);
    EXPECT_EQ(dialog.bitmaps, 1);

    // Escape ends it with Cancel; the accelerator reaches it from the main window too.
    recorder.expect(IDCANCEL);
    EXPECT_EQ(runVersionDialog(hwnd), IDCANCEL);
    recorder.expect(IDOK);
    SendMessageW(hwnd, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(recorder.records.size(), 3u);
}

TEST_F(MainWindowTest, StringTable) {
    auto load = [](UINT id) {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
        return std::wstring(text, length);
    };
    namespace texts = test::texts;
    const std::pair<UINT, std::wstring> strings[] = {
        {IDS_APP_CAPTION, texts::kAppCaption},
        {IDS_WINDOW_CLASS, L"QUILLONWIN_9100"},
        {IDS_NOT_RECOGNISED, texts::kNotRecognised},
        {IDS_CANNOT_OPEN_PATH, texts::kCannotOpenPath},
        {IDS_FILE_NOT_FOUND, texts::kFileNotFound},
        {IDS_PATH_LINKED, texts::kPathLinked},
        {IDS_SAVE_BEFORE_CLOSE_TAB, texts::kSaveBeforeCloseTab},
        {IDS_SAVE_BEFORE_EXIT, texts::kSaveBeforeExit},
        {IDS_CANNOT_OPEN_FILE, texts::kCannotOpenFile},
        {IDS_ALREADY_LOADED, texts::kAlreadyLoaded},
        {IDS_OUT_OF_WORK_MEMORY, texts::kOutOfWorkMemory},
        {IDS_MUTEX_NAME, L"QUILLN9100project"},
        {IDS_NO_MEMORY_TO_READ, texts::kNoMemoryToRead},
        {IDS_WRONG_FORMAT, texts::kWrongFormat},
        {IDS_CONTACT, L"support@quillon.invalid"},
    };
    for (const auto& [id, text] : strings)
        EXPECT_EQ(utf8(load(id)), utf8(text)) << "string " << id;
}

// Closing asks once per modified project tab (Yes/No, question icon); Yes copies a tab's work file.
TEST_F(MainWindowTest, CloseAsksAboutEveryModifiedProjectTab) {
    UiState& a = ui();
    a.document.loaded = 1;
    const int32_t states[] = {kModified, kSaved, kFromEdl, kModified};
    std::vector<TabEntry*> entries;
    for (int i = 0; i < 4; ++i) {
        TabEntry* e = a.tabs.append();
        e->saveState = states[i];
        e->path = (files / ("tab" + std::to_string(i) + ".QLP")).u16string();
        e->workPath = a.tabs.workPathFor(i);
        FILE* f = _wfopen(wide(e->workPath), L"wb");
        fputs("work file", f);
        fclose(f);
        entries.push_back(e);
    }
    a.currentEntry = entries[1];
    entries[1]->active = 1;

    recorder.expect(IDNO);
    recorder.expect(IDYES);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    hwnd = nullptr;
    pumpMessages(20);
    ASSERT_EQ(recorder.records.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const auto& box = recorder.records[i];
        EXPECT_EQ(box.caption, test::texts::kAppCaption);
        EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(utf8(box.text), message(test::texts::kSaveBeforeExit, toWide(entries[i == 0 ? 0 : 3]->path)));
    }
    EXPECT_FALSE(std::filesystem::exists(files / "tab0.QLP"));
    EXPECT_TRUE(std::filesystem::exists(files / "tab3.QLP"));
    forgetDocument();
}

} // namespace
} // namespace qlp
