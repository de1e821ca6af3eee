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
        return std::u16string(reinterpret_cast<const char16_t*>(text), length);
    };
    EXPECT_EQ(load(IDS_APP_CAPTION), kAppCaption);
    EXPECT_EQ(load(IDS_WINDOW_CLASS), u"QUILLONWIN_9100");
    EXPECT_EQ(load(IDS_NOT_RECOGNISED), kMsgNotRecognised);
    EXPECT_EQ(load(IDS_CANNOT_OPEN_PATH), kMsgCannotOpenPath);
    EXPECT_EQ(load(IDS_FILE_NOT_FOUND), kMsgFileNotFound);
    EXPECT_EQ(load(IDS_PATH_LINKED), kMsgPathLinked);
    EXPECT_EQ(load(IDS_SAVE_BEFORE_CLOSE_TAB), kMsgSaveBeforeCloseTab);
    EXPECT_EQ(load(IDS_SAVE_BEFORE_EXIT), kMsgSaveBeforeExit);
    EXPECT_EQ(load(IDS_CANNOT_OPEN_FILE), kMsgCannotOpenFile);
    EXPECT_EQ(load(IDS_ALREADY_LOADED), kMsgAlreadyLoaded);
    EXPECT_EQ(load(IDS_OUT_OF_WORK_MEMORY), kMsgOutOfWorkMemory);
    EXPECT_EQ(load(IDS_MUTEX_NAME), kMutexName);
    EXPECT_EQ(load(IDS_NO_MEMORY_TO_READ), kMsgNoMemoryToRead);
    EXPECT_EQ(load(IDS_WRONG_FORMAT), kMsgWrongFormat);
    EXPECT_EQ(load(IDS_CONTACT), u"support@quillon.invalid");
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
        EXPECT_EQ(box.caption, L"Quillon for SONY BVE-9100 Ver 2.6.0 cs1");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(utf8(box.text), utf8(toWide(formatMessage(kMsgSaveBeforeExit, entries[i == 0 ? 0 : 3]->path))));
    }
    EXPECT_FALSE(std::filesystem::exists(files / "tab0.QLP"));
    EXPECT_TRUE(std::filesystem::exists(files / "tab3.QLP"));
    forgetDocument();
}

} // namespace
} // namespace qlp
