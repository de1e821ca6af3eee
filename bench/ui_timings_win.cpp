// How long the file commands take on a large document in the real main window: opening a project
// from the command line until it is shown, switching between two tabs of it, Page Down in its
// list, the whole-list commands (select all, set and delete the marker on every row), and pressing
// Search until the list shows the hits. Run under Wine with a project file, for instance one
// converted from the output of qlp_gen_edl 100000:
//     qlp_ui_timings.exe Z:/path/LARGE.QLP
// 100 presses of Down with the workers running are timed in that list and in a generated list of
// 100 events: a key press must not cost more as the list grows. Then the reel information dialog is
// opened on a generated list of 100,000 events over 5,000 reels.
// The window is built in this process as the program builds it, over a scratch registry key and a
// scratch folder, so the user's settings and files stay untouched.

#include "edl_generator.h"

#include "app/startup.h"
#include "model/document.h"
#include "model/edl_reader.h"
#include "ops/search.h"
#include "resource.h"
#include "ui/main_window.h"
#include "ui/ui_state.h"
#include "ui/workers.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace qlp;

LONGLONG now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

LONGLONG frequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

double msSince(LONGLONG from) {
    return 1000.0 * double(now() - from) / double(frequency());
}

void openCommandLine(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_OPEN, OPEN_FROM_COMMAND_LINE),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

// Clicks a tab as the user does: the strip selects it and notifies the window.
void switchTo(HWND hwnd, int index) {
    HWND tab = ui().controls.tab;
    TabCtrl_SetCurSel(tab, index);
    NMHDR header{tab, IDC_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(hwnd, WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
}

// Drops every tab without questions, so that closing the window asks nothing.
void forgetTabs() {
    UiState& u = ui();
    stopWorkers(u.workers);
    for (TabEntry* e = u.tabs.first(); e; e = e->next)
        e->dropped = 1;
    purgeDroppedEntries(u.tabs);
    releaseDocument(u.document);
    u.document.loaded = 0;
    u.currentEntry = nullptr;
    setMenuWorkerEntry(u.workers, nullptr);
}

double threadMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 10000.0;
}

// 100 presses of Down in the list from its first row, with the workers running, each delivered as
// the keyboard does and followed by every message it leads to (the workers' included). Prints the
// wall time and the time this thread spent.
void timeDowns() {
    UiState& u = ui();
    HWND list = u.controls.list;
    SetFocus(list);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, 0, FALSE);
    const double threadStart = threadMs();
    const LONGLONG start = now();
    for (int i = 0; i < 100; ++i) {
        SendMessageW(list, WM_KEYDOWN, VK_DOWN, 1);
        SendMessageW(list, WM_KEYUP, VK_DOWN, 0xC0000001);
        UpdateWindow(list);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    const double wall = msSince(start);
    std::printf("100 x Down in %d rows: %.0f ms (this thread %.0f ms)\n", ListView_GetItemCount(list), wall,
                threadMs() - threadStart);
}

// Writes a generated EDL, converts it into a project file and opens that in a new tab, shown;
// false when it cannot.
bool openGenerated(HWND hwnd, const fs::path& scratch, const wchar_t* name, const bench::EdlGeneratorOptions& options) {
    const fs::path edl = scratch / (std::wstring(name) + L".EDL");
    const fs::path project = scratch / (std::wstring(name) + L".QLP");
    std::ofstream(edl, std::ios::binary) << bench::generateEdl(options);
    if (convertEdlFile(edl.u16string(), project.u16string()) != ConvertStatus::Ok)
        return false;
    // With other tabs open, the list opened joins them; a click on its tab shows it.
    openCommandLine(hwnd, project.wstring());
    switchTo(hwnd, TabCtrl_GetItemCount(ui().controls.tab) - 1);
    // The user goes on on the tab as shown: the switch's own painting is done first, so it is not
    // counted as the next command's.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return ui().document.viewCount[kAllEvents] == options.events;
}

// Presses Search with all five criteria on, with the search result shown, until the list shows its
// rows: the median of five presses.
double timeSearch(HWND hwnd) {
    UiState& u = ui();
    SearchSettings& s = u.document.search;
    s.searchFlags = kSearchReel | kSearchSource | kSearchRecord | kSearchDuration | kSearchMarker;
    s.searchReel = 0;
    s.searchMarker = kNoMarker;
    s.slotDropFrame[0] = s.slotDropFrame[3] = 0;
    s.slotValue[0] = 0;                   // source from 00:00:00.00 on
    s.slotValue[1] = 0;                   // any record time
    s.slotValue[2] = 0;                   // any duration
    s.slotValue[3] = s.slotValue[4] = -1; // no second bounds
    s.slotValue[5] = -1;
    for (int id : {IDC_CHECK_REEL, IDC_CHECK_SOURCE, IDC_CHECK_RECORD, IDC_CHECK_DURATION, IDC_CHECK_MARKER})
        SendMessageW(u.controls[id], BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(u.controls[IDC_SEARCH], TRUE);
    HWND button = u.controls[IDC_SEARCH];
    SendMessageW(button, BM_CLICK, 0, 0);
    // The search result is shown: each press rebuilds it and the list shows it again.
    HWND view = u.controls[IDC_VIEW];
    SendMessageW(view, CB_SETCURSEL, kSearchResult, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(view));
    double times[5];
    for (double& t : times) {
        const LONGLONG start = now();
        SendMessageW(button, BM_CLICK, 0, 0);
        // Every pending paint of the window and its children, the list's rows included, is done.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        t = msSince(start);
    }
    std::sort(std::begin(times), std::end(times));
    return times[2];
}

// Runs a main-window command on the list as shown now and waits until every pending paint is done.
double timeCommand(HWND hwnd, int command) {
    const LONGLONG start = now();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return msSince(start);
}

// The whole-list commands on the normal list: select all, then set the marker on every row and
// delete it again, and Down, which deselects all rows but one, each until the list is repainted.
void timeWholeListCommands(HWND hwnd) {
    UiState& u = ui();
    HWND view = u.controls[IDC_VIEW];
    SendMessageW(view, CB_SETCURSEL, 0, 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_VIEW, CBN_CLOSEUP), reinterpret_cast<LPARAM>(view));
    const int rows = ListView_GetItemCount(u.controls.list);
    const double selectAll = timeCommand(hwnd, IDM_SELECT_ALL);
    const int selected = static_cast<int>(ListView_GetSelectedCount(u.controls.list));
    const double setMarker = timeCommand(hwnd, IDM_SET_MARKER);
    const double deleteMarker = timeCommand(hwnd, IDM_DELETE_MARKER);
    // Down then leaves one row selected: every other row is deselected.
    const LONGLONG start = now();
    SendMessageW(u.controls.list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(u.controls.list, WM_KEYUP, VK_DOWN, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double down = msSince(start);
    std::printf("select all %d of %d rows: %.0f ms\nset marker on all rows: %.0f ms\ndelete marker on all rows: "
                "%.0f ms\ndown after select all, %d row(s) left selected: %.0f ms\n",
                selected, rows, selectAll, setMarker, deleteMarker,
                static_cast<int>(ListView_GetSelectedCount(u.controls.list)), down);
}

// Times the commands on two tabs of the same project; false when it cannot be opened.
bool timeFileCommands(HWND hwnd, const std::wstring& first, const std::wstring& second) {
    UiState& u = ui();
    ShowWindow(hwnd, SW_SHOW);
    LONGLONG start = now();
    openCommandLine(hwnd, first);
    UpdateWindow(hwnd);
    const double open = msSince(start);
    if (!u.document.loaded)
        return false;
    const int rows = ListView_GetItemCount(u.controls.list);
    openCommandLine(hwnd, second);

    double switches[4];
    for (double& t : switches) {
        start = now();
        switchTo(hwnd, 1 - TabCtrl_GetCurSel(u.controls.tab));
        UpdateWindow(hwnd);
        t = msSince(start);
    }
    stopWorkers(u.workers); // the page is measured alone, without worker passes
    double pages[3];
    for (double& t : pages) {
        start = now();
        SendMessageW(u.controls.list, WM_KEYDOWN, VK_NEXT, 0);
        SendMessageW(u.controls.list, WM_KEYUP, VK_NEXT, 0);
        UpdateWindow(u.controls.list);
        t = msSince(start);
    }
    startWorkers(u.workers);
    timeWholeListCommands(hwnd);
    timeDowns();
    const double search = timeSearch(hwnd);
    std::printf("rows %d\nopen from the command line until shown: %.0f ms\n", rows, open);
    std::printf("switch: %.0f %.0f %.0f %.0f ms\n", switches[0], switches[1], switches[2], switches[3]);
    std::printf("page down: %.1f %.1f %.1f ms\n", pages[0], pages[1], pages[2]);
    std::printf("search, pressed until the search result shows its %d hits: %.0f ms\n",
                u.document.viewCount[kSearchResult], search);
    return true;
}

// Watches the main window for the first idle moment of a dialog it owns: the dialog has been
// built, shown and painted then. The time is taken and the dialog cancelled.
LONGLONG gDialogShown = 0;
LRESULT CALLBACK watchDialogIdle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && !gDialogShown) {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (IsWindowVisible(dialog)) {
            RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            gDialogShown = now();
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// Opens the reel information dialog (button 512) on the current document five times, each until it
// is shown with its rows, and prints the median, the fastest and the slowest.
void timeReelDialog(HWND hwnd) {
    UiState& u = ui();
    SetWindowSubclass(hwnd, watchDialogIdle, 1, 0);
    double times[5];
    for (double& t : times) {
        gDialogShown = 0;
        const LONGLONG start = now();
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_REEL_INFO, BN_CLICKED),
                     reinterpret_cast<LPARAM>(u.controls[IDC_REEL_INFO]));
        t = 1000.0 * double(gDialogShown - start) / double(frequency());
    }
    RemoveWindowSubclass(hwnd, watchDialogIdle, 1);
    const double first = times[0];
    std::sort(std::begin(times), std::end(times));
    std::printf("reel information, %d events over %d reels, opened until shown: first %.0f ms, median %.0f ms (%.0f to "
                "%.0f)\n",
                u.document.viewCount[kAllEvents], u.document.reelCount, first, times[2], times[0], times[4]);
}

// The reel information dialog on the document open now, then on a generated list of 100,000 events
// over 5,000 reels.
bool timeReelInformation(HWND hwnd, const fs::path& scratch) {
    timeReelDialog(hwnd);
    bench::EdlGeneratorOptions options;
    options.events = 100000;
    options.reels = 5000;
    if (!openGenerated(hwnd, scratch, L"reels", options) || ui().document.reelCount != options.reels) {
        std::fprintf(stderr, "the generated list of %d reels could not be opened\n", options.reels);
        return false;
    }
    timeReelDialog(hwnd);
    return true;
}

// The Down presses again in a list of 100 events, beside those timed in the large one.
bool timeSmallListDowns(HWND hwnd, const fs::path& scratch) {
    bench::EdlGeneratorOptions options;
    options.events = 100;
    if (!openGenerated(hwnd, scratch, L"small", options)) {
        std::fprintf(stderr, "the generated list of %d events could not be opened\n", static_cast<int>(options.events));
        return false;
    }
    timeDowns();
    return true;
}

int measure(const fs::path& source, const fs::path& scratch) {
    const fs::path work = scratch / L"QLP_WORK";
    fs::create_directories(work);
    const std::wstring first = (scratch / L"first.QLP").wstring();
    const std::wstring second = (scratch / L"second.QLP").wstring();
    fs::copy_file(source, first);
    fs::copy_file(source, second);

    UiState& u = ui();
    if (!initApplication(GetModuleHandleW(nullptr)))
        return 1;
    u.tabs.setWorkDirectory(work.u16string());
    const uint32_t passes = passMark(u.workers.menu);
    HWND hwnd = createMainWindow();
    if (!hwnd)
        return 1;
    const bool measured = waitForWorkerPass(u.workers.menu, passes, 5000) && timeFileCommands(hwnd, first, second) &&
                          timeSmallListDowns(hwnd, scratch) && timeReelInformation(hwnd, scratch);
    if (!measured)
        std::fprintf(stderr, "the project file could not be opened\n");
    forgetTabs();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    return measured ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qlp_ui_timings PROJECT.QLP\n");
        return 2;
    }
    // A scratch key stands in for HKEY_CURRENT_USER while the window runs.
    const std::wstring keyPath = L"Software\\QuillonTimings\\" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, key);
    const fs::path scratch = fs::temp_directory_path() / (L"qlp-timings-" + std::to_wstring(GetCurrentProcessId()));

    int status = 1;
    try {
        status = measure(argv[1], scratch);
    } catch (const fs::filesystem_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }

    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return status;
}
