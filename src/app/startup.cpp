#include "app/startup.h"

#include "app/app_state.h"
#include "model/collation.h"
#include "resource.h"
#include "ui/accelerator_routing.h"
#include "ui/main_window.h"
#include "ui/modal.h"
#include "ui/ui_state.h"
#include "ui/ui_texts.h"
#include "ui/wide.h"
#include "ui/window_placement.h"

#include <shellapi.h>

#include <clocale>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

namespace {

std::wstring loadString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW returns a pointer into the resource itself.
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

// Reel names are sorted the way the system sorts strings for the user.
int compareWithSystemCollation(std::u16string_view a, std::u16string_view b) {
    const std::wstring left(a.begin(), a.end());
    const std::wstring right(b.begin(), b.end());
    return lstrcmpW(left.c_str(), right.c_str());
}

} // namespace

void setJapaneseLocale() {
    // Older C runtimes know the language abbreviation, newer ones also the code page form.
    if (!std::setlocale(LC_CTYPE, "jpn"))
        std::setlocale(LC_CTYPE, ".932");
    if (!std::setlocale(LC_NUMERIC, "jpn"))
        std::setlocale(LC_NUMERIC, ".932");
}

bool initApplication(HINSTANCE instance) {
    UiState& u = ui();
    u.instance = instance;
    setJapaneseLocale();
    setReelNameCollation(compareWithSystemCollation);
    u.caption = loadString(instance, IDS_APP_CAPTION);
    u.windowClass = loadString(instance, IDS_WINDOW_CLASS);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, u.windowClass.c_str(), &existing) && !registerMainWindowClass(instance))
        return false;
    AppState& a = app();
    a.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    return a.accelerators != nullptr;
}

bool acquireSingleInstance() {
    AppState& a = app();
    const std::wstring name = loadString(ui().instance, IDS_MUTEX_NAME);
    if (HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str())) {
        inform(nullptr, text::kAlreadyRunning);
        CloseHandle(other);
        return false;
    }
    a.instanceMutex = CreateMutexW(nullptr, TRUE, name.c_str());
    return true;
}

std::wstring programPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring workDirectoryFor(std::wstring_view program) {
    const size_t slash = program.find_last_of(L'\\');
    std::wstring directory(slash == std::wstring_view::npos ? std::wstring_view() : program.substr(0, slash + 1));
    return directory + L"QLP_WORK";
}

void prepareWorkDirectory(const std::wstring& directory) {
    CreateDirectoryW(directory.c_str(), nullptr);
    // The shell takes a list of patterns ending in two NULs; FOF_FILESONLY keeps the wildcard from
    // reaching sub-directories.
    std::wstring pattern = directory + L"\\*.*";
    pattern.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = pattern.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_FILESONLY;
    SHFileOperationW(&operation);
}

bool translateAccelerator(MSG& msg) {
    const HACCEL table = app().accelerators;
    // Typing into the memo box or an open combo box writes the letter instead of running a command.
    if (keyBelongsToFocusedControl(msg))
        return false;
    return msg.hwnd && table && TranslateAcceleratorW(msg.hwnd, table, &msg);
}

int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (translateAccelerator(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int runApplication(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
    AppState& a = app();
    if (!initApplication(instance))
        return 0;
    a.commandLine = commandLine ? commandLine : L"";
    if (!acquireSingleInstance())
        return 1;

    HWND hwnd = createMainWindow();
    if (!hwnd)
        return 0;
    restoreWindowPlacement(hwnd);
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);

    const std::wstring program = programPath();
    a.workDirectoryPath = workDirectoryFor(program);
    ui().tabs.setWorkDirectory(toU16(a.workDirectoryPath));
    prepareWorkDirectory(a.workDirectoryPath);

    if (!a.commandLine.empty())
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_OPEN, OPEN_FROM_COMMAND_LINE),
                     reinterpret_cast<LPARAM>(a.commandLine.c_str()));
    registerShellFileType(program);
    return runMessageLoop();
}

} // namespace qlp
