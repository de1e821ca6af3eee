// How long the file commands take on a large document in the real main window: opening a project
// from the command line until it is shown, switching between two tabs of it, and Page Down in its
// list. Run under Wine with a project file, for instance one converted from the output of
// qlp_gen_edl 100000:
//     qlp_ui_timings.exe Z:/path/LARGE.QLP
// The window is built in this process as the program builds it, over a scratch registry key and a
// scratch folder, so the user's settings and files stay untouched.

#include "app/startup.h"
#include "model/document.h"
#include "resource.h"
#include "ui/main_window.h"
#include "ui/ui_state.h"
#include "ui/workers.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace qlp;

LONGLONG now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double msSince(LONGLONG from) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now() - from) / double(frequency.QuadPart);
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
    std::printf("rows %d\nopen from the command line until shown: %.0f ms\n", rows, open);
    std::printf("switch: %.0f %.0f %.0f %.0f ms\n", switches[0], switches[1], switches[2], switches[3]);
    std::printf("page down: %.1f %.1f %.1f ms\n", pages[0], pages[1], pages[2]);
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
    const uint32_t passes = u.workers.menu.passes.load();
    HWND hwnd = createMainWindow();
    if (!hwnd)
        return 1;
    const bool measured = waitForWorkerPass(u.workers.menu, passes, 5000) && timeFileCommands(hwnd, first, second);
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
