#include "ui/document_commands.h"

#include "app/app_state.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <vector>

namespace qlp {

namespace {

constexpr const wchar_t* kOpenTitle = L"EDL/QLPファイルを開く";
// Filter pairs end with an empty string; the literal adds the final NUL.
constexpr wchar_t kOpenFilter[] = L"BVE-9100 EDL(.EDL)\0*.EDL\0ビューアファイル(.QLP)\0*.QLP\0";
constexpr const wchar_t* kOpenDefaultExtension = L"EDL";
constexpr DWORD kOpenBufferLength = 1024;
constexpr DWORD kProjectFilterIndex = 2;

constexpr const wchar_t* kSaveTitle = L"名前を付けて保存";
constexpr wchar_t kSaveFilter[] = L"(*.QLP)\0*.QLP\0";
constexpr const wchar_t* kSaveDefaultExtension = L"QLP";
constexpr DWORD kSaveBufferLength = 1000;
constexpr size_t kSavePathLimit = 511;

constexpr DWORD kLongPathLength = 1024;
constexpr std::u16string_view kScratchName = u"copy000000000";

constexpr const wchar_t* kLoadError = L"ファイルを読込み中にエラーが発生しました。";
constexpr const wchar_t* kStatusFileReadError = L"状態: ファイル読込みエラー";
constexpr const wchar_t* kStatusFileLoaded = L"状態: ファイルを読み込みました。";
constexpr const wchar_t* kStatusReadError = L"状態: 読込みエラー";
constexpr const wchar_t* kStatusSaveAsDone = L"[別名で保存] 完了";
constexpr const wchar_t* kStatusTabClosed = L"タブを閉じました。";
constexpr const wchar_t* kNoCurrentFile = L"参照ファイルはありません。";

enum StatusPart { kFileCountPart = 0, kLocationPart = 1, kStatePart = 2 };

// Set while a file command runs. The tab strip's selection changes that a command causes itself,
// and commands that arrive from the nested message loop of a message box, are not acted on.
bool gRunning = false;

class RunningCommand {
public:
    RunningCommand() { gRunning = true; }
    ~RunningCommand() { gRunning = false; }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

HWND control(int id) {
    return app().controls[id];
}

void setStatus(int part, const std::wstring& text) {
    SendMessageW(app().controls.status, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

// The file count: after Open it follows one blank, after the other commands two.
void showFileCount(bool afterOpen) {
    setStatus(kFileCountPart,
              std::wstring(afterOpen ? L"ファイル数: " : L"ファイル数:  ") + std::to_wstring(app().tabs.count()));
}

void showLocation() {
    const TabEntry* entry = app().currentEntry;
    setStatus(kLocationPart, entry ? L"場所:  " + toWide(entry->path) : std::wstring(kNoCurrentFile));
}

// The tab strip and the list stay disabled while a command replaces what they show; they are
// enabled again only when there is a document to show (without one they stay hidden and disabled,
// as at start).
void disableTabAndList() {
    EnableWindow(app().controls.tab, FALSE);
    EnableWindow(app().controls.list, FALSE);
}

void enableTabAndList() {
    const BOOL loaded = app().document.loaded ? TRUE : FALSE;
    EnableWindow(app().controls.tab, loaded);
    EnableWindow(app().controls.list, loaded);
}

// Clears the document header to zeros, as it is while no document is loaded.
void clearHeader(EdlDocument& doc) {
    EdlDocument zero;
    zero.headerSize = 0;
    zero.eventRecordSize = 0;
    zero.search.searchMarker = 0;
    for (int32_t& value : zero.search.slotValue)
        value = 0;
    copyHeader(doc, zero);
}

// The window as it is without documents: list and tab strip hidden, the panel's controls shown
// but disabled and emptied, the cells with their no-document texts, no current entry and the
// document released. The workers are started again; those that follow the document end at their
// next wake-up.
void showNoDocument() {
    AppState& a = app();
    const ControlTable& c = a.controls;
    ShowWindow(c.list, SW_HIDE);
    ShowWindow(c.tab, SW_HIDE);
    EnableWindow(c.list, FALSE);
    EnableWindow(c.tab, FALSE);
    ListView_SetItemCountEx(c.list, 0, 0);
    TabCtrl_DeleteAllItems(c.tab);
    for (int id = IDC_CHECK_REEL; id <= IDC_CHECK_MARKER; ++id)
        SendMessageW(c[id], BM_SETCHECK, BST_UNCHECKED, 0);
    auto showDisabled = [&](int first, int last) {
        for (int id = first; id <= last; ++id)
            showEnabled(c[id], true, false);
    };
    showDisabled(IDC_CHECK_REEL, IDC_CHECK_MARKER);
    showDisabled(IDC_WRITE_MEMO, IDC_REEL_INFO);
    showDisabled(IDC_SRC_LOWER_OP, IDC_VIEW_REEL);
    showDisabled(IDC_MARKER_CELL1, IDC_DUR_UPPER);
    SendMessageW(c[IDC_VIEW], CB_SETCURSEL, 0, 0);
    // The reel and marker lists belong to the closed document; the other boxes show no choice.
    for (int id : {IDC_SEARCH_REEL, IDC_SEARCH_MARKER, IDC_VIEW_REEL})
        SendMessageW(c[id], CB_RESETCONTENT, 0, 0);
    for (int id = IDC_SRC_LOWER_OP; id <= IDC_DUR_UPPER_OP; ++id)
        SendMessageW(c[id], CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(c.memo, L"");
    // No memo can be written without a document, so the box goes back to its start state too.
    EnableWindow(c.memo, FALSE);
    a.currentEntry = nullptr;
    setMenuWorkerEntry(a.workers, nullptr);
    releaseDocument(a.document);
    clearHeader(a.document);
    // The cells and the memo box take their looks from the document, which is gone now.
    for (int id = IDC_MARKER_CELL1; id <= IDC_DUR_UPPER; ++id)
        InvalidateRect(c[id], nullptr, TRUE);
    InvalidateRect(c.memo, nullptr, TRUE);
    startWorkers(a.workers);
}

// Loads the active entry (or the last one). An entry whose work file cannot be loaded is dropped,
// purged and reported, and the last remaining entry is tried next, so that a document is shown
// whenever a tab remains. False when no entry could be loaded.
bool loadSomeEntry(Prompt& prompt) {
    AppState& a = app();
    while (a.tabs.first()) {
        if (loadDocument(a.document, a.tabs, prompt) == 1)
            return true;
        purgeDroppedEntries(a.tabs);
        warn(a.mainWindow, kLoadError);
        setStatus(kStatePart, kStatusReadError);
    }
    return false;
}

// The current entry's document has just been loaded (or kept): shows it in its tab.
void presentCurrentDocument() {
    AppState& a = app();
    rebuildTabStrip(a.controls.tab, a.tabs);
    selectTab(a.controls.tab, a.currentEntry);
    showDocument();
}

// The open dialog. kind: 0 one EDL, 1 several EDLs, 2 one project file, 3 several project files,
// decided by the filter and by whether the first string returned is a directory. paths is one
// full path, or the directory, the names each followed by a NUL, and a final NUL.
bool askFilesToOpen(std::u16string& paths, int& kind) {
    std::vector<wchar_t> buffer(kOpenBufferLength, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = app().mainWindow;
    dialog.lpstrFilter = kOpenFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kOpenBufferLength;
    dialog.lpstrTitle = kOpenTitle;
    dialog.lpstrDefExt = kOpenDefaultExtension;
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY;
    if (!runOpenFileDialog(dialog))
        return false;
    buffer[kOpenBufferLength - 2] = buffer[kOpenBufferLength - 1] = L'\0';
    size_t end = 0; // index of the NUL that ends the list of strings
    while (buffer[end] != L'\0' || buffer[end + 1] != L'\0')
        ++end;
    const wchar_t* first = buffer.data();
    const DWORD attributes = GetFileAttributesW(first);
    const bool several = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    kind = (dialog.nFilterIndex == kProjectFilterIndex ? 2 : 0) + (several ? 1 : 0);
    paths = several ? toU16(std::wstring_view(first, end + 2)) : toU16(first);
    return true;
}

// The save dialog; the chosen path is kept up to 511 characters.
bool askSavePath(std::u16string& path) {
    std::vector<wchar_t> buffer(kSaveBufferLength, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = app().mainWindow;
    dialog.lpstrFilter = kSaveFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kSaveBufferLength;
    dialog.lpstrTitle = kSaveTitle;
    dialog.lpstrDefExt = kSaveDefaultExtension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NODEREFERENCELINKS | OFN_HIDEREADONLY;
    if (!runSaveFileDialog(dialog))
        return false;
    buffer[kSaveBufferLength - 1] = L'\0';
    std::wstring chosen(buffer.data());
    if (chosen.size() > kSavePathLimit)
        chosen.resize(kSavePathLimit);
    path = toU16(chosen);
    return !path.empty();
}

// Save As onto a file that an open tab refers to would change that tab's file behind its back.
// File names on Windows ignore case, so the comparison does too.
bool isOpenInATab(const std::u16string& path) {
    for (const TabEntry* entry = app().tabs.first(); entry; entry = entry->next)
        if (CompareStringOrdinal(wide(entry->path), -1, wide(path), -1, TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

// Copies over a user's file; a failure is reported as a file that cannot be written.
bool copyOver(const std::u16string& from, const std::u16string& to, Prompt& prompt) {
    if (copyFileOver(from, to))
        return true;
    prompt.warn(formatMessage(kMsgCannotOpenPath, to));
    return false;
}

// Save As of a tab that came from an EDL: its document goes to the work file and from there to the
// chosen file, which becomes the tab's project file.
bool saveEdlTabAs(TabEntry& entry, const std::u16string& chosen, Prompt& prompt) {
    AppState& a = app();
    if (saveDocument(entry.workPath, a.document, prompt, false) != 0 || !copyOver(entry.workPath, chosen, prompt))
        return false;
    entry.path = chosen;
    entry.saveState = kSaved;
    setTabLabel(a.controls.tab, entry);
    SetWindowTextW(a.controls.memo, wide(entry.path));
    return true;
}

// Save As of a project tab: a copy under the new name, through the scratch file of the work
// directory. The tab keeps its own file and state.
bool saveProjectCopyAs(const std::u16string& chosen, Prompt& prompt) {
    AppState& a = app();
    const std::u16string scratch = joinPath(a.tabs.workDirectory(), kScratchName);
    return saveDocument(scratch, a.document, prompt, false) == 0 && copyOver(scratch, chosen, prompt);
}

// Switch, when the chosen tab's work file cannot be loaded: its tab goes, and the previous tab's
// document, which the failed load left in memory with only `loaded` cleared, is shown again.
void returnToPreviousTab(TabEntry& previous, TabEntry& chosen) {
    AppState& a = app();
    TabCtrl_DeleteItem(a.controls.tab, chosen.tabIndex);
    chosen.active = 0;
    previous.active = 1;
    a.document.loaded = 1;
    a.currentEntry = &previous;
    showDocument();
    restoreListPosition();
    purgeDroppedEntries(a.tabs);
}

} // namespace

std::wstring commandLinePath(std::wstring_view commandLine) {
    std::wstring text(commandLine);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    if (!text.empty() && text.front() == L'"')
        text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::wstring();
    if (text.empty())
        return text;
    // Tabs compare their paths as text, so a file always enters by its full, long name.
    std::vector<wchar_t> full(kLongPathLength);
    DWORD length = GetFullPathNameW(text.c_str(), kLongPathLength, full.data(), nullptr);
    if (length > 0 && length < kLongPathLength)
        text.assign(full.data(), length);
    length = GetLongPathNameW(text.c_str(), full.data(), kLongPathLength);
    if (length > 0 && length < kLongPathLength)
        text.assign(full.data(), length);
    return text;
}

void onOpen(const OpenRequest& request) {
    if (gRunning)
        return;
    RunningCommand running;
    AppState& a = app();
    stopWorkers(a.workers);
    disableTabAndList();

    std::u16string paths;
    int kind = 2;
    if (request.fromCommandLine) {
        paths = toU16(commandLinePath(request.commandLine));
    } else if (!askFilesToOpen(paths, kind)) {
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }

    WinPrompt prompt;
    const int32_t firstNewId = a.tabs.nextFileId;
    const int opened =
        kind <= 1 ? convertEdl(a.tabs, paths, kind, prompt) : openProjectFiles(a.tabs, paths, kind, prompt);
    const bool replacing = a.currentEntry && a.currentEntry->dropped;
    if (opened == 0 && !replacing && (findActiveEntry(a.tabs) || !a.tabs.first())) {
        // Opening stopped (a missing file, no memory): the tab shown, if any, stays; entries made
        // before the stop get their tabs.
        purgeDroppedEntries(a.tabs);
        rebuildTabStrip(a.controls.tab, a.tabs);
        selectTab(a.controls.tab, a.currentEntry);
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }

    // Re-opening the current tab's file replaces its entry by the new one, which is to be loaded.
    // The old entry is kept until the new one has loaded, so that a failed load leaves it in place.
    TabEntry* replaced = replacing ? a.currentEntry : nullptr;
    if (replaced) {
        replaced->dropped = 0;
        replaced->active = 0;
    }
    purgeDroppedEntries(a.tabs);
    setStatus(kStatePart, kStatusFileReadError);
    if (replaced && !findActiveEntry(a.tabs)) {
        // The new copy could not be made: nothing replaces the old entry.
        replaced->active = 1;
        replaced = nullptr;
    }
    // Opening stopped while no tab was shown: the first tab is the one to show.
    if (opened == 0 && a.tabs.first() && !findActiveEntry(a.tabs))
        a.tabs.first()->active = 1;

    bool shown = false;
    if (a.tabs.first()) {
        const TabEntry* active = findActiveEntry(a.tabs);
        if (!active || active->reloadPending || !a.document.loaded) {
            const int32_t keptLoaded = a.document.loaded;
            if (loadDocument(a.document, a.tabs, prompt) == 1) {
                if (replaced) {
                    replaced->dropped = 1;
                    purgeDroppedEntries(a.tabs);
                }
                setStatus(kStatePart, kStatusFileLoaded);
                shown = true;
            } else {
                if (replaced)
                    replaced->active = 1;
                purgeDroppedEntries(a.tabs);
                warn(a.mainWindow, kLoadError);
                // The failed load changed nothing of the previous document but this flag.
                a.document.loaded = keptLoaded;
                setStatus(kStatePart, kStatusReadError);
                if (!a.document.loaded && loadSomeEntry(prompt)) {
                    setStatus(kStatePart, kStatusFileLoaded);
                    shown = true;
                }
            }
        } else {
            int added = 0;
            for (const TabEntry* entry = a.tabs.first(); entry; entry = entry->next)
                added += entry->fileId >= firstNewId;
            if (added > 0)
                setStatus(kStatePart, L"状態: " + std::to_wstring(added) + L"個のファイルを追加しました。");
        }
    }

    a.currentEntry = findActiveEntry(a.tabs);
    if (!a.currentEntry || !a.document.loaded) {
        showNoDocument();
    } else {
        rebuildTabStrip(a.controls.tab, a.tabs);
        selectTab(a.controls.tab, a.currentEntry);
        if (shown)
            showDocument();
        restoreListPosition();
        enableTabAndList();
        setMenuWorkerEntry(a.workers, a.currentEntry);
        startWorkers(a.workers);
    }
    showFileCount(true);
    showLocation();
}

void onSave() {
    AppState& a = app();
    TabEntry* entry = a.currentEntry;
    // A tab that came from an EDL has no project file yet: its path is the EDL itself.
    if (gRunning || !entry || !a.document.loaded || entry->saveState == kFromEdl)
        return;
    WinPrompt prompt;
    // After a failed write (string 106) the tab stays modified, so Close and exit still offer it.
    if (saveDocument(entry->path, a.document, prompt, true) != 0)
        return;
    entry->saveState = kSaved;
    setTabLabel(a.controls.tab, *entry);
    signalMenuRefresh(a.workers);
    signalSelectionChanged(a.workers);
    setStatus(kStatePart, toWide(entry->path) + L" を保存しました。");
}

void onSaveAs() {
    AppState& a = app();
    TabEntry* entry = a.currentEntry;
    if (gRunning || !entry || !a.document.loaded)
        return;
    RunningCommand running;
    stopWorkers(a.workers);
    disableTabAndList();

    bool failed = false;
    std::u16string chosen;
    if (askSavePath(chosen)) {
        WinPrompt prompt;
        if (isOpenInATab(chosen))
            warn(a.mainWindow, toWide(formatMessage(kMsgPathLinked, chosen)));
        else if (entry->saveState == kFromEdl)
            failed = !saveEdlTabAs(*entry, chosen, prompt);
        else
            failed = !saveProjectCopyAs(chosen, prompt);
    }

    startWorkers(a.workers);
    showFileCount(false);
    showLocation();
    if (!failed)
        setStatus(kStatePart, kStatusSaveAsDone);
    enableTabAndList();
    signalMenuRefresh(a.workers);
}

void onCloseTab() {
    AppState& a = app();
    TabEntry* entry = a.currentEntry;
    if (gRunning || !entry)
        return;
    RunningCommand running;
    stopWorkers(a.workers);
    disableTabAndList();

    WinPrompt prompt;
    if (entry->saveState == kModified) {
        const Answer answer = askYesNoCancel(a.mainWindow, toWide(formatMessage(kMsgSaveBeforeCloseTab, entry->path)));
        // Cancel, or a save that failed (string 106 shown): the tab stays open and current.
        if (answer == Answer::Cancel ||
            (answer == Answer::Yes && saveDocument(entry->path, a.document, prompt, true) != 0)) {
            enableTabAndList();
            startWorkers(a.workers);
            return;
        }
    }

    entry->dropped = 1;
    entry->active = 0;
    if (TabEntry* next = entry->next ? entry->next : (entry->prev != a.tabs.head() ? entry->prev : nullptr))
        next->active = 1;
    purgeDroppedEntries(a.tabs);
    a.currentEntry = findActiveEntry(a.tabs);

    if (a.currentEntry && loadSomeEntry(prompt)) {
        a.currentEntry = findActiveEntry(a.tabs);
        presentCurrentDocument();
        restoreListPosition();
        setMenuWorkerEntry(a.workers, a.currentEntry);
        startWorkers(a.workers);
        enableTabAndList();
    } else {
        showNoDocument();
    }
    showFileCount(false);
    showLocation();
    setStatus(kStatePart, kStatusTabClosed);
}

void onSwitchTab() {
    AppState& a = app();
    TabEntry* previous = a.currentEntry;
    if (gRunning || !previous || !a.document.loaded)
        return;
    RunningCommand running;
    disableTabAndList();
    stopWorkers(a.workers);

    const int selected = TabCtrl_GetCurSel(a.controls.tab);
    TabEntry* chosen = entryAtTab(a.tabs, selected);
    WinPrompt prompt;
    // The work file is the only copy of a tab's state once it is no longer current: when it
    // cannot be written, the tab stays current.
    if (!chosen || chosen == previous || saveDocument(previous->workPath, a.document, prompt, false) != 0) {
        selectTab(a.controls.tab, previous);
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }
    previous->active = 0;
    chosen->active = 1;
    if (loadDocument(a.document, a.tabs, prompt) == 1) {
        a.currentEntry = chosen;
        showDocument();
        restoreListPosition();
    } else {
        returnToPreviousTab(*previous, *chosen);
    }

    selectTab(a.controls.tab, a.currentEntry);
    SetFocus(a.controls.list);
    enableTabAndList();

    showFileCount(false);
    showLocation();
    setStatus(kStatePart, L"状態: " + toWide(a.currentEntry->path) + L"を開きました。");
    const EdlDocument& doc = a.document;
    EnableWindow(control(IDC_SEARCH), doc.search.searchFlags != 0);
    EnableWindow(control(IDC_CLEAR_SEARCH), doc.viewCount[1] != 0);

    // showDocument flipped the memo-box mode once; flipping it back brings the document back in
    // the mode it was left in.
    toggleCommentMode();
    startWorkers(a.workers);
    signalSelectionChanged(a.workers);
    signalMenuRefresh(a.workers);
    setMenuWorkerEntry(a.workers, a.currentEntry);
    signalMenuRefresh(a.workers);
}

} // namespace qlp
