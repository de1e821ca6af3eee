#include "ui/commands/document_commands.h"

#include "model/messages.h"
#include "ops/info_texts.h"
#include "ops/tab_commands.h"
#include "resource.h"
#include "ui/document_view.h"
#include "ui/modal.h"
#include "ui/tab_strip.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace qlp {

namespace {

// The open and save dialogs differ only in these; both start on their first filter.
struct FileDialogKind {
    const wchar_t* title;
    const wchar_t* filter; // pairs of name and pattern, ending with an empty string
    const wchar_t* defaultExtension;
    DWORD bufferLength; // characters of the result buffer
    DWORD flags;
};

// The literal adds the filter's final NUL.
constexpr FileDialogKind kOpenDialog = {L"EDL/QLPファイルを開く",
                                        L"BVE-9100 EDL(.EDL)\0*.EDL\0ビューアファイル(.QLP)\0*.QLP\0", L"EDL", 1024,
                                        OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY};
constexpr DWORD kProjectFilterIndex = 2;

constexpr FileDialogKind kSaveDialog = {L"名前を付けて保存", L"(*.QLP)\0*.QLP\0", L"QLP", 1000,
                                        OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_NODEREFERENCELINKS | OFN_HIDEREADONLY};
constexpr size_t kSavePathLimit = 511;

constexpr DWORD kLongPathLength = 1024;

enum StatusPart { kFileCountPart = 0, kLocationPart = 1, kStatePart = 2 };

class RunningCommand {
public:
    RunningCommand() { ui().fileCommandRunning = true; }
    ~RunningCommand() { ui().fileCommandRunning = false; }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

HWND control(int id) {
    return ui().controls[id];
}

void setStatus(int part, std::u16string_view text) {
    const std::wstring wideText = toWide(text);
    SendMessageW(ui().controls.status, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wideText.c_str()));
}

// Status-bar parts 0 and 1: the number of files (after Open with one blank, after the other commands two)
// and the current file.
void showFileCountAndLocation(bool afterOpen) {
    const UiState& a = ui();
    setStatus(kFileCountPart, fileCountStatus(a.tabs.count(), afterOpen));
    const TabEntry* entry = a.currentEntry;
    setStatus(kLocationPart, entry ? locationStatus(entry->path) : std::u16string(kNoLocationStatus));
}

// The tab strip and the list stay disabled while a command replaces what they show; they are
// enabled again only when there is a document to show (without one they stay hidden and disabled,
// as at start).
void disableTabAndList() {
    EnableWindow(ui().controls.tab, FALSE);
    EnableWindow(ui().controls.list, FALSE);
}

void enableTabAndList() {
    const BOOL loaded = ui().document.loaded ? TRUE : FALSE;
    EnableWindow(ui().controls.tab, loaded);
    EnableWindow(ui().controls.list, loaded);
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
    UiState& a = ui();
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
    SendMessageW(c[IDC_VIEW], CB_SETCURSEL, kAllEvents, 0);
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

// Acts on what a file command decided: which tab is current, whether the tab strip is built
// again, and whether the document in memory is shown afresh, kept, or gone. The workers are
// started again by the caller, except after NoDocument, which starts them itself.
void present(const TabOutcome& outcome) {
    UiState& a = ui();
    a.currentEntry = outcome.current;
    if (outcome.present == Presentation::NoDocument) {
        showNoDocument();
        return;
    }
    if (outcome.present == Presentation::Nothing) {
        selectTab(a.controls.tab, a.currentEntry);
        return;
    }
    if (outcome.tabsChanged)
        rebuildTabStrip(a.controls.tab, a.tabs);
    selectTab(a.controls.tab, a.currentEntry);
    if (outcome.present == Presentation::NewDocument)
        showDocument();
    if (outcome.present != Presentation::TabsOnly)
        restoreListPosition();
}

// A file dialog of `kind` over the main window, writing its result into `buffer`.
OPENFILENAMEW describeFileDialog(const FileDialogKind& kind, std::vector<wchar_t>& buffer) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ui().mainWindow;
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = kind.title;
    dialog.lpstrDefExt = kind.defaultExtension;
    dialog.Flags = kind.flags;
    return dialog;
}

// The open dialog. The kind is decided by the filter and by whether the first string returned is
// a directory. paths is one full path, or the directory, the names each followed by a NUL, and a
// final NUL.
bool askFilesToOpen(std::u16string& paths, OpenKind& kind) {
    std::vector<wchar_t> buffer(kOpenDialog.bufferLength, L'\0');
    OPENFILENAMEW dialog = describeFileDialog(kOpenDialog, buffer);
    if (!runOpenFileDialog(dialog))
        return false;
    buffer[buffer.size() - 2] = buffer[buffer.size() - 1] = L'\0';
    size_t end = 0; // index of the NUL that ends the list of strings
    while (buffer[end] != L'\0' || buffer[end + 1] != L'\0')
        ++end;
    const wchar_t* first = buffer.data();
    const DWORD attributes = GetFileAttributesW(first);
    const bool several = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    const bool projects = dialog.nFilterIndex == kProjectFilterIndex;
    kind = projects ? (several ? OpenKind::SeveralProjects : OpenKind::OneProject)
                    : (several ? OpenKind::SeveralEdls : OpenKind::OneEdl);
    paths = several ? toU16(std::wstring_view(first, end + 2)) : toU16(first);
    return true;
}

// The save dialog; the chosen path is kept up to 511 characters.
bool askSavePath(std::u16string& path) {
    std::vector<wchar_t> buffer(kSaveDialog.bufferLength, L'\0');
    OPENFILENAMEW dialog = describeFileDialog(kSaveDialog, buffer);
    if (!runSaveFileDialog(dialog))
        return false;
    buffer.back() = L'\0';
    std::wstring chosen(buffer.data());
    if (chosen.size() > kSavePathLimit)
        chosen.resize(kSavePathLimit);
    path = toU16(chosen);
    return !path.empty();
}

// Save As onto a file that an open tab refers to would change that tab's file behind its back.
// File names on Windows ignore case, so the comparison does too.
bool isOpenInATab(const std::u16string& path) {
    for (const TabEntry* entry = ui().tabs.first(); entry; entry = entry->next)
        if (CompareStringOrdinal(wide(entry->path), -1, wide(path), -1, TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

class SaveAsDialog : public SaveAsTarget {
public:
    std::u16string choose(const TabEntry&) override {
        std::u16string chosen;
        if (!askSavePath(chosen))
            return {};
        if (isOpenInATab(chosen)) {
            warn(ui().mainWindow, toWide(formatMessage(kMsgPathLinked, chosen)));
            return {};
        }
        return chosen;
    }
};

// Tabs compare their paths as text, so a file always enters by its full, long name.
std::wstring fullLongPath(std::wstring text) {
    std::vector<wchar_t> full(kLongPathLength);
    DWORD length = GetFullPathNameW(text.c_str(), kLongPathLength, full.data(), nullptr);
    if (length > 0 && length < kLongPathLength)
        text.assign(full.data(), length);
    length = GetLongPathNameW(text.c_str(), full.data(), kLongPathLength);
    if (length > 0 && length < kLongPathLength)
        text.assign(full.data(), length);
    return text;
}

} // namespace

SaveAsTarget& saveAsDialog() {
    static SaveAsDialog dialog;
    return dialog;
}

std::wstring commandLinePath(std::wstring_view commandLine) {
    std::wstring text(commandLine);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    if (!text.empty() && text.front() == L'"')
        text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::wstring();
    return text.empty() ? text : fullLongPath(std::move(text));
}

void onOpen(const OpenRequest& request) {
    if (ui().fileCommandRunning)
        return;
    RunningCommand running;
    UiState& a = ui();
    stopWorkers(a.workers);
    disableTabAndList();

    // A drop names its files; each opens by its name's kind. The command line opens a named EDL as
    // one and anything else as a project file, as it always has (the shell's file type sends those).
    std::vector<std::u16string> byName;
    std::u16string paths;
    OpenKind kind = OpenKind::OneEdl;
    if (request.fromCommandLine) {
        paths = toU16(commandLinePath(request.commandLine));
        kind = openKindByName(paths, false) == OpenKind::OneEdl ? OpenKind::OneEdl : OpenKind::OneProject;
    } else if (!request.dropped.empty()) {
        byName = request.dropped;
    } else if (!askFilesToOpen(paths, kind)) {
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }

    WinPrompt prompt;
    const TabOutcome outcome = byName.empty() ? openFiles(a.document, a.tabs, a.currentEntry, paths, kind, prompt)
                                              : openFilesByName(a.document, a.tabs, a.currentEntry, byName, prompt);
    present(outcome);
    if (outcome.present != Presentation::NoDocument) {
        enableTabAndList();
        if (outcome.present != Presentation::TabsOnly)
            setMenuWorkerEntry(a.workers, a.currentEntry);
        startWorkers(a.workers);
    }
    if (!outcome.state.empty())
        setStatus(kStatePart, outcome.state);
    if (outcome.statusBar)
        showFileCountAndLocation(true);
}

void onDropFiles(HDROP drop) {
    OpenRequest request;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    request.dropped.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1)));
        if (!name.empty())
            request.dropped.push_back(toU16(fullLongPath(std::move(name))));
    }
    DragFinish(drop);
    if (!request.dropped.empty())
        onOpen(request);
}

void onSave() {
    UiState& a = ui();
    TabEntry* entry = a.currentEntry;
    // A tab that came from an EDL has no project file yet: its path is the EDL itself.
    if (a.fileCommandRunning || !entry || !a.document.loaded || entry->saveState == kFromEdl)
        return;
    WinPrompt prompt;
    // After a failed write (string 106) the tab stays modified, so Close and exit still offer it.
    if (!saveTab(a.document, *entry, prompt))
        return;
    setTabLabel(a.controls.tab, *entry);
    signalMenuRefresh(a.workers);
    signalSelectionChanged(a.workers);
    setStatus(kStatePart, savedStatus(entry->path));
}

void onSaveAs() {
    UiState& a = ui();
    TabEntry* entry = a.currentEntry;
    if (a.fileCommandRunning || !entry || !a.document.loaded)
        return;
    RunningCommand running;
    stopWorkers(a.workers);
    disableTabAndList();

    bool failed = false;
    std::u16string chosen;
    if (askSavePath(chosen)) {
        WinPrompt prompt;
        if (isOpenInATab(chosen)) {
            warn(a.mainWindow, toWide(formatMessage(kMsgPathLinked, chosen)));
        } else {
            const SaveAsResult result = saveTabAs(a.document, a.tabs, *entry, chosen, prompt);
            failed = result == SaveAsResult::Failed;
            if (result == SaveAsResult::Adopted) {
                setTabLabel(a.controls.tab, *entry);
                SetWindowTextW(a.controls.memo, wide(entry->path));
            }
        }
    }

    startWorkers(a.workers);
    showFileCountAndLocation(false);
    if (!failed)
        setStatus(kStatePart, kSaveAsDoneStatus);
    enableTabAndList();
    signalMenuRefresh(a.workers);
}

void onCloseTab() {
    UiState& a = ui();
    TabEntry* entry = a.currentEntry;
    if (a.fileCommandRunning || !entry)
        return;
    RunningCommand running;
    stopWorkers(a.workers);
    disableTabAndList();

    WinPrompt prompt;
    const TabOutcome outcome = closeTab(a.document, a.tabs, *entry, prompt, &saveAsDialog());
    present(outcome);
    if (outcome.present == Presentation::Nothing) {
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }
    if (outcome.present != Presentation::NoDocument) {
        setMenuWorkerEntry(a.workers, a.currentEntry);
        startWorkers(a.workers);
        enableTabAndList();
    }
    showFileCountAndLocation(false);
    setStatus(kStatePart, outcome.state);
}

void onSwitchTab() {
    UiState& a = ui();
    TabEntry* previous = a.currentEntry;
    if (a.fileCommandRunning || !previous || !a.document.loaded)
        return;
    RunningCommand running;
    disableTabAndList();
    stopWorkers(a.workers);

    TabEntry* chosen = entryAtTab(a.tabs, TabCtrl_GetCurSel(a.controls.tab));
    WinPrompt prompt;
    const TabOutcome outcome = switchTab(a.document, a.tabs, *previous, chosen, prompt);
    present(outcome);
    if (outcome.present == Presentation::Nothing) {
        enableTabAndList();
        startWorkers(a.workers);
        return;
    }
    SetFocus(a.controls.list);
    enableTabAndList();

    showFileCountAndLocation(false);
    setStatus(kStatePart, outcome.state);
    const EdlDocument& doc = a.document;
    EnableWindow(control(IDC_SEARCH), doc.search.searchFlags != 0);
    EnableWindow(control(IDC_CLEAR_SEARCH), doc.viewCount[kSearchResult] != 0);

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
