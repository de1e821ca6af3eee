#pragma once
// The fixture of the tests that drive the real main window in their own process, and its helpers:
// a scratch registry that stands in for the current user's, a recorder that answers message boxes
// and dialogs (through the program's modal seam and a CBT hook) while keeping their exact texts,
// message pumping, and a canvas to paint owner-drawn items into. Every test starts from an empty
// user registry, a freshly created window and scratch folders for its files and work files.

#include "edl_generator.h"
#include "system_texts.h"

#include "app/app_state.h"
#include "app/startup.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/info_panel.h"
#include "ui/main_window.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/window_placement.h"
#include "ui/workers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace qlp::test {

inline std::wstring windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(length + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

// Records the commands that reach the main window instead of executing them.
class MainCommandSpy {
public:
    explicit MainCommandSpy(HWND main) : main_(main) {
        SetWindowSubclass(main_, proc, 78, reinterpret_cast<DWORD_PTR>(this));
    }
    ~MainCommandSpy() { RemoveWindowSubclass(main_, proc, 78); }
    std::vector<int> commands;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        if (msg == WM_COMMAND && LOWORD(wParam) >= 40000) {
            reinterpret_cast<MainCommandSpy*>(self)->commands.push_back(LOWORD(wParam));
            return 0;
        }
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    HWND main_;
};

// The rows of a list view that are selected, in order.
inline std::vector<int> selectedRows(HWND list) {
    std::vector<int> rows;
    for (int r = ListView_GetNextItem(list, -1, LVNI_SELECTED); r >= 0;
         r = ListView_GetNextItem(list, r, LVNI_SELECTED))
        rows.push_back(r);
    return rows;
}

inline std::wstring className(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

// gtest prints std::string readably; wide texts are converted for failure messages.
inline std::string utf8(std::wstring_view text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// Delivers posted and sent messages for about `ms` milliseconds.
inline void pumpMessages(DWORD ms = 50) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// True once all three display workers have ended, as they do while the memo box has the focus.
inline bool workersAtRest() {
    const DisplayWorkers& w = ui().workers;
    return !w.comment.thread && !w.selection.thread && !w.menu.thread;
}

// Pumps messages until the condition holds; false after the timeout.
inline bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        pumpMessages(10);
    }
    return true;
}

// Replaces HKEY_CURRENT_USER of this process by a fresh scratch key for the life of the object, so a
// test starts from an empty user registry and leaves nothing behind.
class ScratchRegistry {
public:
    ScratchRegistry() {
        static int counter = 0;
        path_ =
            L"Software\\QuillonTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, key_), ERROR_SUCCESS);
    }
    ~ScratchRegistry() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};

// Reads a value below HKEY_CURRENT_USER; false when it is missing.
inline bool readValue(const std::wstring& keyPath, const wchar_t* name, std::vector<BYTE>& data,
                      DWORD* type = nullptr) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data.resize(size);
        status = RegQueryValueExW(key, name, nullptr, type, data.data(), &size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline std::vector<int32_t> readInts(const std::wstring& keyPath, const wchar_t* name) {
    std::vector<BYTE> data;
    if (!readValue(keyPath, name, data))
        return {};
    std::vector<int32_t> ints(data.size() / 4);
    memcpy(ints.data(), data.data(), ints.size() * 4);
    return ints;
}

// A string value exactly as stored (a terminating NUL, if stored, is kept).
inline std::wstring readStoredString(const std::wstring& keyPath, const wchar_t* name, DWORD* type = nullptr) {
    std::vector<BYTE> data;
    if (!readValue(keyPath, name, data, type))
        return L"<missing>";
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
}

// One message box or dialog as it appeared on the screen.
struct ModalRecord {
    std::wstring caption;
    std::wstring text;                  // message boxes: the message
    std::vector<std::wstring> children; // dialogs: the texts of all controls, in z-order
    std::vector<int> childIds;
    int bitmaps = 0;  // dialogs: picture controls showing a bitmap
    UINT type = 0;    // message boxes: the MB_ flags asked for
    int dialogId = 0; // dialogs: the resource id
    SIZE client{};    // the client area's size when it opened
    bool throughSeam = false;
};

// One open or save dialog as the program described it.
struct FileDialogRecord {
    bool save = false;
    std::wstring title;
    std::vector<std::wstring> filter; // name, pattern, name, pattern...
    std::wstring defaultExtension;
    DWORD flags = 0;
    DWORD bufferLength = 0;
};

// What the next file dialog returns: its buffer (NULs included) and the filter chosen, or a cancel.
struct FileDialogAnswer {
    bool ok = false;
    std::wstring buffer;
    DWORD filterIndex = 1;
};

// Answers message boxes and dialogs. Both are really shown: the program's seam records the request,
// a CBT hook sees the window when it activates, records its texts and presses the scripted button.
// A box or dialog nobody scripted an answer for is recorded and fails the test.
class ModalRecorder : public ModalHandler {
public:
    ModalRecorder() {
        instance() = this;
        hook_ = SetWindowsHookExW(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
        previous_ = setModalHandler(this);
    }
    ~ModalRecorder() override {
        setModalHandler(previous_);
        UnhookWindowsHookEx(hook_);
        instance() = nullptr;
    }

    // The next box or dialog is answered with this button (IDYES, IDNO, IDOK, IDCANCEL...).
    void expect(int button) { answers.push_back(button); }

    int messageBox(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) override {
        pendingType_ = type;
        pendingText_ = text;
        const std::wstring t(text), c(caption);
        return MessageBoxW(owner, t.c_str(), c.c_str(), type);
    }
    INT_PTR dialogBox(HWND owner, int dialogId, DLGPROC proc, LPARAM param) override {
        pendingDialog_ = dialogId;
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialogId), owner, proc, param);
    }

    // The next file dialog returns one file chosen with filter `filterIndex` (1-based).
    void answerFile(const std::wstring& path, DWORD filterIndex = 1) {
        fileAnswers.push_back({true, path + L'\0', filterIndex});
    }
    // The next file dialog returns several files of one directory, as a multiple selection does.
    void answerFiles(const std::wstring& directory, const std::vector<std::wstring>& names, DWORD filterIndex) {
        std::wstring buffer = directory + L'\0';
        for (const std::wstring& name : names)
            buffer += name + L'\0';
        fileAnswers.push_back({true, buffer, filterIndex});
    }
    void cancelFileDialog() { fileAnswers.push_back({}); }

    // File dialogs are answered in the seam: the common dialog itself is the platform's.
    bool fileDialog(OPENFILENAMEW& dialog, bool save) override {
        FileDialogRecord record;
        record.save = save;
        record.title = dialog.lpstrTitle ? dialog.lpstrTitle : L"";
        for (const wchar_t* f = dialog.lpstrFilter; f && *f; f += wcslen(f) + 1)
            record.filter.push_back(f);
        record.defaultExtension = dialog.lpstrDefExt ? dialog.lpstrDefExt : L"";
        record.flags = dialog.Flags;
        record.bufferLength = dialog.nMaxFile;
        fileDialogs.push_back(record);
        if (fileAnswers.empty()) {
            ADD_FAILURE() << "unexpected file dialog \"" << utf8(record.title) << "\"";
            return false;
        }
        const FileDialogAnswer answer = fileAnswers.front();
        fileAnswers.pop_front();
        // The buffer ends with one NUL more than the answer holds; a choice that does not fit
        // fails as the dialog does.
        if (!answer.ok || answer.buffer.size() + 1 > dialog.nMaxFile)
            return false;
        std::copy(answer.buffer.begin(), answer.buffer.end(), dialog.lpstrFile);
        dialog.lpstrFile[answer.buffer.size()] = L'\0';
        dialog.nFilterIndex = answer.filterIndex;
        return true;
    }

    std::vector<ModalRecord> records;
    std::deque<int> answers;
    std::vector<FileDialogRecord> fileDialogs;
    std::deque<FileDialogAnswer> fileAnswers;
    int unexpected = 0;

private:
    static ModalRecorder*& instance() {
        static ModalRecorder* current = nullptr;
        return current;
    }

    void onActivate(HWND window) {
        if (className(window) != L"#32770" || handled_ == window)
            return;
        handled_ = window;
        ModalRecord record;
        record.caption = windowText(window);
        RECT client{};
        GetClientRect(window, &client);
        record.client = {client.right, client.bottom};
        record.type = pendingType_;
        record.dialogId = pendingDialog_;
        record.throughSeam = pendingType_ != 0 || pendingDialog_ != 0;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            record.children.push_back(windowText(child));
            record.childIds.push_back(GetDlgCtrlID(child));
            if (SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0))
                ++record.bitmaps;
        }
        if (pendingType_) {
            record.text = windowText(GetDlgItem(window, 0xFFFF)); // the message of a message box
            // Wine activates a system-modal box before it sets its message; the box then shows
            // the text it was given.
            if (record.text.empty() && (pendingType_ & MB_SYSTEMMODAL))
                record.text = pendingText_;
        }
        pendingType_ = 0;
        pendingDialog_ = 0;
        int button = IDCANCEL;
        if (!answers.empty()) {
            button = answers.front();
            answers.pop_front();
        } else {
            ++unexpected;
            ADD_FAILURE() << "unexpected box \"" << utf8(record.caption) << "\": " << utf8(record.text);
        }
        if (!record.throughSeam)
            ADD_FAILURE() << "a box or dialog bypassed the program's modal seam: " << utf8(record.caption);
        records.push_back(std::move(record));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    static LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && instance())
            instance()->onActivate(reinterpret_cast<HWND>(wParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
    ModalHandler* previous_ = nullptr;
    UINT pendingType_ = 0;
    std::wstring pendingText_;
    int pendingDialog_ = 0;
    HWND handled_ = nullptr;
};

// A left click (button down and up) at a point of a window's client area.
inline void click(HWND window, int x, int y) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// True when the auto-reset event was signalled since the last check (the check resets it).
inline bool wasSignalled(HANDLE event) {
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// A bitmap of its own to paint owner-drawn items into, and its pixels.
class PixelCanvas {
public:
    PixelCanvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        clear();
    }
    ~PixelCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    // A colour no drawing uses, so untouched pixels can be told apart.
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);

    void clear() {
        HBRUSH brush = CreateSolidBrush(kUntouched);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }

    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the colour within [left, right) x [top, bottom).
    int count(COLORREF colour, const RECT& area) const {
        int n = 0;
        for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
            for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x)
                n += at(x, y) == colour;
        return n;
    }
    int count(COLORREF colour) const { return count(colour, RECT{0, 0, width_, height_}); }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

// The program's settings key below HKEY_CURRENT_USER.
inline const std::wstring kSettings = L"Software\\QUILLON_9100\\data";

// Sets the modifier keys this thread's key state reports, as TranslateAccelerator and the layout
// buttons read them.
inline void setModifiers(bool ctrl, bool shift, bool alt) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
}

// A plain list of `events` one-second cuts on TAPE01, TAPE02 and TAPE03 in turn (see the
// generator's plain form), so that tests know every row.
inline std::string generatedEdl(int events) {
    bench::EdlGeneratorOptions options;
    options.events = events;
    options.plain = true;
    return bench::generateEdl(options);
}

// The real main window in this process, hidden: without a window manager, Wine waits two seconds
// for one whenever a shown window goes away. Documents reach it the way the file commands bring
// them (the commands themselves, or a conversion and load presented with showDocument and
// restoreListPosition), or as a stand-in without events that is enough for menus and layouts.
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(initApplication(GetModuleHandleW(nullptr))); }

    void SetUp() override {
        registry_ = std::make_unique<ScratchRegistry>();
        static int counter = 0;
        root = std::filesystem::temp_directory_path() /
               (L"qlp-win-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        files = root / L"my files";
        work = root / L"QLP_WORK";
        std::filesystem::create_directories(files);
        std::filesystem::create_directories(work);
        UiState& a = ui();
        a.tabs.setWorkDirectory(work.u16string());
        a.tabs.nextFileId = 0;
        openWindow();
    }

    void TearDown() override {
        closeWindow();
        EXPECT_TRUE(recorder.answers.empty()) << recorder.answers.size() << " scripted answers were not used";
        EXPECT_TRUE(recorder.fileAnswers.empty()) << recorder.fileAnswers.size() << " file dialogs were not shown";
        registry_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    // As start-up does it: create and restore the stored placement.
    void openWindow() {
        const uint32_t passes = passMark(ui().workers.menu);
        hwnd = createMainWindow();
        ASSERT_NE(hwnd, nullptr);
        restoreWindowPlacement(hwnd);
        // The menu worker's first pass, signalled at creation, grays the menus.
        ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, passes, 5000));
        // The first showing of a window sends its first size message; this one stays hidden.
        RECT client;
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        list = control(IDC_LIST);
    }

    // Forgets any document and tab a test set up, then closes the window the way the user does,
    // which then asks nothing.
    void closeWindow() {
        if (!hwnd || !IsWindow(hwnd))
            return;
        forgetDocument();
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(hwnd));
        pumpMessages(20); // takes the quit message off the queue
        hwnd = nullptr;
    }

    static void forgetDocument() {
        UiState& a = ui();
        stopWorkers(a.workers);
        releaseDocument(a.document);
        EdlDocument blank;
        copyHeader(a.document, blank);
        a.document.loaded = 0;
        for (TabEntry* e = a.tabs.first(); e; e = e->next)
            e->dropped = 1;
        purgeDroppedEntries(a.tabs);
        a.currentEntry = nullptr;
        setMenuWorkerEntry(a.workers, nullptr);
    }

    HWND control(int id) const { return ui().controls[id]; }

    // The header image of a column, or -1 when the column shows none.
    int headerImage(int column) const {
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        Header_GetItem(ui().controls.header, column, &item);
        return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
    }

    // ---- Documents without the file commands ----

    // Gives the entry a tab, labelled and pictured as the tab strip shows it, and makes it current.
    static void addTab(TabEntry* entry, int32_t saveState) {
        UiState& a = ui();
        purgeDroppedEntries(a.tabs);
        a.currentEntry = entry;
        setMenuWorkerEntry(a.workers, entry);
        std::wstring label = tabLabel(*entry);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = label.data();
        item.iImage = saveState;
        TabCtrl_InsertItem(a.controls.tab, entry->tabIndex, &item);
    }

    // A loaded document without events and one tab for it, enough for the menus and layouts.
    TabEntry* fakeDocument(int32_t saveState) {
        UiState& a = ui();
        a.document.loaded = 1;
        TabEntry* entry = a.tabs.append();
        entry->saveState = saveState;
        entry->active = 1;
        entry->path = u"C:\\edits\\reel one.QLP";
        addTab(entry, saveState);
        return entry;
    }

    // Converts and loads a plain generated EDL of `events` events into the current document and
    // gives it a tab. The document is not shown yet, so a test can prepare it first.
    void loadGenerated(int events, int32_t saveState = kSaved) {
        const std::filesystem::path edl = files / "generated.EDL";
        std::ofstream(edl, std::ios::binary) << generatedEdl(events);
        loadEdl(edl.u16string(), saveState);
    }

    void loadEdl(const std::u16string& path, int32_t saveState = kSaved) {
        UiState& a = ui();
        TabEntry* entry = a.tabs.append();
        entry->path = path;
        entry->saveState = saveState;
        entry->active = 1;
        entry->workPath = a.tabs.workPathFor(a.tabs.nextFileId++);
        ASSERT_EQ(convertEdlFile(entry->path, entry->workPath), ConvertStatus::Ok);
        WinPrompt prompt;
        ASSERT_EQ(loadDocument(a.document, a.tabs, prompt), 1);
        addTab(entry, saveState);
    }

    // As the file commands present a loaded document.
    static void show() {
        DisplayWorkers& w = ui().workers;
        stopWorkers(w);
        showDocument();
        restoreListPosition();
        startWorkers(w);
    }

    // Puts event i into the search result (kSearchResult), as a search does.
    static void addHit(int i) {
        EdlDocument& doc = ui().document;
        EdlEvent* event = doc.view[kAllEvents][i];
        event->searchHit = 1;
        doc.view[kSearchResult][doc.viewCount[kSearchResult]++] = event;
    }

    static void clearHits() {
        EdlDocument& doc = ui().document;
        for (int r = 0; r < doc.viewCount[kSearchResult]; ++r)
            doc.view[kSearchResult][r]->searchHit = 0;
        doc.viewCount[kSearchResult] = 0;
    }

    // Attaches a work memo to event i, in the document's memory as the memo command does.
    static void addMemo(int i, std::u16string_view text) {
        EdlDocument& doc = ui().document;
        EdlEvent* event = doc.view[kAllEvents][i];
        char16_t* memo = doc.heap->allocate<char16_t>(text.size() + 1);
        std::memcpy(memo, text.data(), text.size() * sizeof(char16_t));
        event->workMemo = memo;
        event->workMemoLength = static_cast<int32_t>(text.size() + 1);
        event->hasWorkMemo = 1;
    }

    // ---- Files ----

    // A project file converted from a sample EDL (or from EDL text), in the scratch files folder.
    std::wstring makeProject(const std::wstring& name, const char* sampleEdl) {
        const std::filesystem::path edl = std::filesystem::path(QLP_TEST_DATA_DIR) / sampleEdl;
        const std::filesystem::path project = files / name;
        EXPECT_EQ(convertEdlFile(edl.u16string(), project.u16string()), ConvertStatus::Ok) << sampleEdl;
        return project.wstring();
    }
    std::wstring makeProjectFromText(const std::wstring& name, const std::string& edlText) {
        const std::wstring edl = writeFile(name + L".EDL", edlText);
        const std::filesystem::path project = files / name;
        EXPECT_EQ(convertEdlFile(toU16(edl), project.u16string()), ConvertStatus::Ok);
        return project.wstring();
    }
    std::wstring copySample(const char* sampleEdl) {
        const std::filesystem::path to = files / sampleEdl;
        std::filesystem::copy_file(std::filesystem::path(QLP_TEST_DATA_DIR) / sampleEdl, to,
                                   std::filesystem::copy_options::overwrite_existing);
        return to.wstring();
    }
    // A drop on the window as the shell sends it: a DROPFILES header, then the wide names each
    // ending in a NUL and a final NUL, in memory the window frees.
    void dropFiles(const std::vector<std::wstring>& names) const {
        std::wstring list;
        for (const std::wstring& name : names)
            list += name + L'\0';
        list += L'\0';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    std::wstring writeFile(const std::wstring& name, const std::string& bytes) {
        const std::filesystem::path path = files / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.wstring();
    }

    std::vector<std::wstring> workFiles() const {
        std::vector<std::wstring> names;
        for (const auto& e : std::filesystem::directory_iterator(work))
            names.push_back(e.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<uint8_t> bytes(const std::wstring& path) {
        std::vector<uint8_t> data;
        EXPECT_TRUE(readWholeFile(toU16(path), data)) << utf8(path);
        return data;
    }

    // ---- Commands ----

    void openCommandLine(const std::wstring& text) {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_OPEN, OPEN_FROM_COMMAND_LINE),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    void command(int id) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Clicks a tab as the user does: the strip selects it and notifies the window.
    void switchTo(int index) {
        HWND tab = ui().controls.tab;
        TabCtrl_SetCurSel(tab, index);
        NMHDR header{tab, IDC_TAB, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(hwnd, WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
    }

    // Signals menuRefresh and waits for the menu worker's pass over the current state.
    static void refreshMenus() {
        const uint32_t before = passMark(ui().workers.menu);
        signalMenuRefresh(ui().workers);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, before, 5000));
    }

    // ---- What the user sees ----

    struct TabView {
        std::string label;
        int image;
        bool operator==(const TabView&) const = default;
    };
    friend std::ostream& operator<<(std::ostream& out, const TabView& t) { return out << t.label << "/" << t.image; }

    static std::vector<TabView> tabs() {
        HWND tab = ui().controls.tab;
        std::vector<TabView> out;
        for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
            wchar_t text[260] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = text;
            item.cchTextMax = 260;
            TabCtrl_GetItem(tab, i, &item);
            out.push_back({utf8(text), item.iImage});
        }
        return out;
    }
    static int selectedTab() { return TabCtrl_GetCurSel(ui().controls.tab); }

    static std::string status(int part) {
        HWND bar = ui().controls.status;
        const int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0));
        std::wstring text(length + 1, L'\0');
        SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        return utf8(text);
    }

    static int listRows() { return ListView_GetItemCount(ui().controls.list); }
    static bool hasStyle(int id, DWORD style) {
        return (GetWindowLongW(ui().controls[id], GWL_STYLE) & style) == style;
    }

    std::wstring rowText(int row, int column) const {
        wchar_t buffer[64] = {};
        ListView_GetItemText(list, row, column, buffer, 64);
        return buffer;
    }

    int comboSelection(int id) const { return static_cast<int>(SendMessageW(control(id), CB_GETCURSEL, 0, 0)); }

    // Paints an owner-drawn panel cell into a bitmap of its own: at the cell's real size, or at
    // width x height when given.
    std::unique_ptr<PixelCanvas> paint(int id, int width = 0, int height = 0) const {
        HWND cell = control(id);
        RECT r{0, 0, width, height};
        if (width == 0)
            GetClientRect(cell, &r);
        auto canvas = std::make_unique<PixelCanvas>(r.right, r.bottom);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = id;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = cell;
        item.hDC = canvas->dc();
        item.rcItem = r;
        drawInfoCell(item);
        return canvas;
    }

    // The texts of the boxes shown so far.
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> out;
        for (const auto& r : recorder.records)
            out.push_back(utf8(r.text));
        return out;
    }
    // A message with the path put in for its "%s" (and a number for "%d" or "%04d"), as a box shows it.
    static std::string message(std::wstring_view templ, const std::wstring& path, int number = 0) {
        return message(templ, {path}, number);
    }
    // The same with each "%s" filled in turn.
    static std::string message(std::wstring_view templ, std::initializer_list<std::wstring> fills, int number = 0) {
        std::wstring text(templ);
        size_t from = 0;
        for (const std::wstring& fill : fills) {
            const size_t at = text.find(L"%s", from);
            if (at == std::wstring::npos)
                break;
            text.replace(at, 2, fill);
            from = at + fill.size();
        }
        for (const wchar_t* field : {L"%04d", L"%d"}) {
            if (const size_t at = text.find(field); at != std::wstring::npos) {
                wchar_t digits[16];
                swprintf(digits, 16, field, number);
                text.replace(at, wcslen(field), digits);
            }
        }
        return utf8(text);
    }

    std::filesystem::path root, files, work; // scratch: the user's files, the program's work files
    HWND hwnd = nullptr;
    HWND list = nullptr;
    ModalRecorder recorder;

private:
    std::unique_ptr<ScratchRegistry> registry_;
};

} // namespace qlp::test
