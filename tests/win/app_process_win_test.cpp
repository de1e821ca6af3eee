// Starts the real program (a scratch copy of its folder, so it gets a work directory of its own)
// and checks what only a whole process shows: the single-instance guard, the emptying of the work
// directory, the shell registration, the window placement kept between runs, and a start from a
// folder holding nothing but the program (or the unpacked release named by QLP_RELEASE_DIR).

#include "main_window_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qlp {
namespace {

namespace fs = std::filesystem;
using test::className;
using test::kSettings;
using test::utf8;
using test::windowText;

const wchar_t* kCaption = test::texts::kAppCaption;

// A folder holding a copy of the program file, removed afterwards.
class ProgramCopy {
public:
    ProgramCopy() {
        static int counter = 0;
        dir = fs::temp_directory_path() /
              (L"qlp-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
        fs::create_directories(dir);
        exe = dir / L"quillon.exe";
        EXPECT_TRUE(CopyFileW(fs::path(QLP_APP_EXE).wstring().c_str(), exe.c_str(), FALSE)) << QLP_APP_EXE;
    }
    ~ProgramCopy() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    fs::path dir;
    fs::path exe;
};

// One run of the program.
class ProgramRun {
public:
    ProgramRun(const fs::path& exe, const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        if (!arguments.empty())
            commandLine += L" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  exe.parent_path().c_str(), &si, &pi_);
        EXPECT_TRUE(started_) << GetLastError();
    }
    ~ProgramRun() {
        if (!started_)
            return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the program was still running at the end of the test";
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }

    // The first visible top-level window of this process with the given class, waiting for it.
    HWND window(const wchar_t* windowClass, DWORD timeoutMs = 20000) const {
        struct Search {
            DWORD pid;
            const wchar_t* cls;
            HWND found;
        } search{pi_.dwProcessId, windowClass, nullptr};
        const DWORD start = GetTickCount();
        while (!search.found && GetTickCount() - start < timeoutMs) {
            EnumWindows(
                [](HWND hwnd, LPARAM param) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(param);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(hwnd, &pid);
                    if (pid == s->pid && IsWindowVisible(hwnd) && className(hwnd) == s->cls) {
                        s->found = hwnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (!search.found)
                Sleep(50);
        }
        return search.found;
    }

    bool running() const { return started_ && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

    // Waits for the end and returns the exit code (-1 on timeout).
    int exitCode(DWORD timeoutMs = 20000) const {
        if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<int>(code);
    }

    // Closes the main window the way the user does and returns the exit code.
    int close(HWND main) const {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return exitCode();
    }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

std::wstring storedString(const std::wstring& key, const wchar_t* name) {
    std::wstring value = test::readStoredString(key, name);
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    return value;
}

void writePlacement(const int32_t (&rect)[4]) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kSettings + L"\\WindowPosSize").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"WindowSize/ScreenPos", 0, REG_BINARY, reinterpret_cast<const BYTE*>(rect), sizeof rect);
    RegCloseKey(key);
}

RECT windowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

TEST(ProgramTest, StartEmptiesTheWorkDirectoryKeepsSubfoldersAndRegistersTheFileType) {
    ProgramCopy copy;
    const fs::path work = copy.dir / L"QLP_WORK";
    fs::create_directories(work / L"kept");
    std::ofstream(work / L"FILE_ID_0003") << "left by an earlier run";
    std::ofstream(work / L"copy000000000") << "scratch";
    std::ofstream(work / L"kept" / L"inside.txt") << "not a work file";

    ProgramRun run(copy.exe);
    HWND main = run.window(L"QUILLONWIN_9100");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(windowText(main), kCaption);
    EXPECT_TRUE(waitFor([&] { return !fs::exists(work / L"FILE_ID_0003"); }));
    EXPECT_FALSE(fs::exists(work / L"copy000000000"));
    EXPECT_TRUE(fs::is_directory(work / L"kept"));
    EXPECT_TRUE(fs::exists(work / L"kept" / L"inside.txt"));

    // Registration follows the work directory, so it is there once the files are gone.
    const std::wstring exe = copy.exe.wstring();
    const std::wstring progId = L"Software\\Classes\\QUILLON_9100";
    EXPECT_TRUE(waitFor([&] { return storedString(L"Software\\Classes\\.qlp", nullptr) == L"QUILLON_9100"; }));
    EXPECT_EQ(utf8(storedString(progId + L"\\shell\\open\\command", nullptr)), utf8(L"\"" + exe + L"\" \"%1\""));
    EXPECT_EQ(utf8(storedString(progId + L"\\DefaultIcon", L"デフォルトアイコンの場所")), utf8(exe + L",2"));
    EXPECT_EQ(utf8(storedString(progId + L"\\shell\\開く(&O)\\command", nullptr)),
              utf8(exe.substr(0, exe.size() - 4) + L" %1"));
    // The icon the shell is told to use exists in the program file.
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), 2);
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);

    EXPECT_EQ(run.close(main), 0);
}

// The program needs no file beside it: started from a folder holding only itself (or from the
// unpacked release zip when QLP_RELEASE_DIR names its folder, with the release's own sample) on a
// project file, it shows the window with the list filled, and closes cleanly.
TEST(ProgramTest, StartsAloneFromItsFolderOnASample) {
    ProgramCopy copy;
    fs::path exe = copy.exe;
    fs::path sample = fs::path(QLP_TEST_DATA_DIR) / L"golden" / L"ndf_basic.QLP";
    if (const char* release = std::getenv("QLP_RELEASE_DIR")) {
        exe = fs::path(release) / L"quillon.exe";
        sample = fs::path(release) / L"samples" / L"ndf_basic.QLP";
    }
    ASSERT_TRUE(fs::exists(exe)) << exe.string();
    ASSERT_TRUE(fs::exists(sample)) << sample.string();
    ProgramRun run(exe, L"\"" + sample.wstring() + L"\"");
    HWND main = run.window(L"QUILLONWIN_9100");
    ASSERT_NE(main, nullptr);
    HWND list = nullptr;
    EnumChildWindows(
        main,
        [](HWND child, LPARAM param) -> BOOL {
            if (className(child) != WC_LISTVIEWW)
                return TRUE;
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&list));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(waitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 8; }))
        << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    EXPECT_EQ(run.close(main), 0);
}

// A second start shows the already-running box and ends with 1; the first copy carries on.
TEST(ProgramTest, SecondInstanceIsRefused) {
    ProgramCopy copy;
    ProgramRun first(copy.exe);
    HWND main = first.window(L"QUILLONWIN_9100");
    ASSERT_NE(main, nullptr);

    const fs::path project = copy.dir / L"given.QLP";
    std::ofstream(project) << "not opened";
    ProgramRun second(copy.exe, L"\"" + project.wstring() + L"\"");
    HWND box = second.window(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(windowText(box), kCaption);
    EXPECT_EQ(utf8(windowText(GetDlgItem(box, 0xFFFF))), utf8(L"Quillon for SONY BVE-9100 はすでに起動しています。"));
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_EQ(second.window(L"QUILLONWIN_9100", 0), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.exitCode(), 1);

    EXPECT_TRUE(first.running());
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(first.close(main), 0);
}

// The placement read at start is the one stored at the last close, the restored rectangle even
// when the window was closed maximised.
TEST(ProgramTest, PlacementKeptBetweenRuns) {
    std::vector<BYTE> previous;
    const bool hadPlacement = test::readValue(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos", previous);
    writePlacement({40, 60, 1100, 650});

    ProgramCopy copy;
    {
        ProgramRun run(copy.exe);
        HWND main = run.window(L"QUILLONWIN_9100");
        ASSERT_NE(main, nullptr);
        RECT r = windowRect(main);
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 60);
        EXPECT_EQ(r.right - r.left, 1100);
        EXPECT_EQ(r.bottom - r.top, 650);
        // The user maximises it, clicking again if start-up was still placing the window.
        EXPECT_TRUE(waitFor(
            [&] {
                if (IsZoomed(main))
                    return true;
                PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
                return false;
            },
            20000));
        EXPECT_EQ(run.close(main), 0);
    }
    EXPECT_EQ(test::readInts(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos"),
              (std::vector<int32_t>{40, 60, 1100, 650}));
    {
        ProgramRun run(copy.exe);
        HWND main = run.window(L"QUILLONWIN_9100");
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(IsZoomed(main));
        EXPECT_EQ(windowRect(main).left, 40);
        SetWindowPos(main, nullptr, 10, 30, 1200, 720, SWP_NOZORDER);
        EXPECT_EQ(run.close(main), 0);
    }
    EXPECT_EQ(test::readInts(kSettings + L"\\WindowPosSize", L"WindowSize/ScreenPos"),
              (std::vector<int32_t>{10, 30, 1200, 720}));

    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (kSettings + L"\\WindowPosSize").c_str(), 0, KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        if (hadPlacement)
            RegSetValueExW(key, L"WindowSize/ScreenPos", 0, REG_BINARY, previous.data(),
                           static_cast<DWORD>(previous.size()));
        else
            RegDeleteValueW(key, L"WindowSize/ScreenPos");
        RegCloseKey(key);
    }
}

} // namespace
} // namespace qlp
