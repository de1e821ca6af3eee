#pragma once
// A fixture for the tests of the list and the information panel: the real main window in this
// process (hidden, over a scratch user registry) showing a real document, converted from an EDL
// the fixture writes and loaded the way the file commands load one, then presented with
// showDocument and restoreListPosition.

#include "app_test_support.h"

#include "app/startup.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "model/timecode.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/main_window.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"
#include "ui/window_placement.h"
#include "ui/workers.h"

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qlp::test {

inline std::string ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// An NDF EDL of `events` single-event edits on reels TAPE01, TAPE02, TAPE03 in turn; event i
// starts at source 01:00:00.00 + 10 s * (events - i) (so later events come from earlier source
// times) and records from 10:00:00.00 in one-second steps.
inline std::string generatedEdl(int events) {
    std::string text = "TITLE: GENERATED\r\nFCM: NON-DROP FRAME\r\n\r\n"
                       "EDIT  REEL   V  A1A2 TYP PTRN TRANST   P-VTR IN    P-VTR OUT   R-VTR IN    R-VTR OUT\r\n\r\n";
    for (int i = 0; i < events; ++i) {
        const int32_t src = kFramesPerHour + 300 * (events - i);
        const int32_t rec = 10 * kFramesPerHour + 30 * i;
        char line[160];
        std::snprintf(line, sizeof line, "%04d  TAPE0%d V  A1A2 C              %s %s %s %s\r\n", i + 1, i % 3 + 1,
                      ascii(formatTimecode(src, false)).c_str(), ascii(formatTimecode(src + 30, false)).c_str(),
                      ascii(formatTimecode(rec, false)).c_str(), ascii(formatTimecode(rec + 30, false)).c_str());
        text += line;
    }
    return text;
}

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

class ShownDocumentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(initApplication(GetModuleHandleW(nullptr))); }

    void SetUp() override {
        registry_ = std::make_unique<ScratchRegistry>();
        const uint32_t passes = ui().workers.menu.passes.load();
        hwnd = createMainWindow();
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(waitForWorkerPass(ui().workers.menu, passes, 5000));
        RECT client;
        GetClientRect(hwnd, &client);
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        list = control(IDC_LIST);
        dir = std::filesystem::temp_directory_path() /
              ("qlp-ui-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter_));
        std::filesystem::create_directories(dir);
        ui().tabs.setWorkDirectory(dir.u16string());
    }

    void TearDown() override {
        if (hwnd && IsWindow(hwnd)) {
            forgetDocument();
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
            EXPECT_FALSE(IsWindow(hwnd));
            pumpMessages(20);
        }
        hwnd = nullptr;
        EXPECT_TRUE(recorder.answers.empty());
        registry_.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Converts and loads an EDL of `events` events into the current document and gives it a tab.
    // The document is not shown yet, so a test can prepare it first.
    void loadGenerated(int events, int32_t saveState = kSaved) {
        const std::filesystem::path edl = dir / "generated.EDL";
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

    // As the file commands present a loaded document.
    static void show() {
        DisplayWorkers& w = ui().workers;
        stopWorkers(w);
        showDocument();
        restoreListPosition();
        startWorkers(w);
    }

    // Puts event i into the search result (view 1), as a search does.
    static void addHit(int i) {
        EdlDocument& doc = ui().document;
        EdlEvent* event = doc.view[0][i];
        event->searchHit = 1;
        doc.view[1][doc.viewCount[1]++] = event;
    }

    static void clearHits() {
        EdlDocument& doc = ui().document;
        for (int r = 0; r < doc.viewCount[1]; ++r)
            doc.view[1][r]->searchHit = 0;
        doc.viewCount[1] = 0;
    }

    // Attaches a work memo to event i, in the document's memory as the memo command does.
    static void addMemo(int i, std::u16string_view text) {
        EdlDocument& doc = ui().document;
        EdlEvent* event = doc.view[0][i];
        char16_t* memo = doc.heap->allocate<char16_t>(text.size() + 1);
        std::memcpy(memo, text.data(), text.size() * sizeof(char16_t));
        event->workMemo = memo;
        event->workMemoLength = static_cast<int32_t>(text.size() + 1);
        event->hasWorkMemo = 1;
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

    std::wstring rowText(int row, int column) const {
        wchar_t buffer[64] = {};
        ListView_GetItemText(list, row, column, buffer, 64);
        return buffer;
    }

    int comboSelection(int id) const { return static_cast<int>(SendMessageW(control(id), CB_GETCURSEL, 0, 0)); }

    HWND hwnd = nullptr;
    HWND list = nullptr;
    std::filesystem::path dir;
    ModalRecorder recorder;

private:
    std::unique_ptr<ScratchRegistry> registry_;
    static inline int counter_ = 0;
};

} // namespace qlp::test
