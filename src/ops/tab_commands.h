#pragma once
// What the file commands decide: which files become tabs, what is asked on the way, which tab is
// current afterwards, what is loaded into the one document in memory, what is written where, and
// what the window has to present. Open, Close Tab, Switch, Save, Save As and the questions asked
// when the program closes. The window stops its display workers before calling these (they replace
// what the workers read) and presents the outcome afterwards.

#include "model/cmx3600_reader.h"
#include "model/document.h"
#include "model/prompt.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

// What the open dialog (or the command line) asks to open: decided by the filter chosen and by
// whether several files were selected, not by the files' names.
enum class OpenKind : int {
    OneEdl = 0,          // one path
    SeveralEdls = 1,     // a directory, a NUL, the names each followed by a NUL, a final NUL
    OneProject = 2,      // one path
    SeveralProjects = 3, // as SeveralEdls
};

// What the window has to do once a command has decided.
enum class Presentation {
    Nothing,      // nothing changed: enable again what the command disabled
    TabsOnly,     // tabs came or went around the document shown, which stays exactly as it was
    SameDocument, // the document in memory stays; show the tabs and restore the list position
    NewDocument,  // another document (or a fresh copy) is in memory: show it
    NoDocument,   // no document is loaded: the window without documents
};

struct TabOutcome {
    Presentation present = Presentation::Nothing;
    TabEntry* current = nullptr; // the tab whose document is in memory afterwards, or none
    bool tabsChanged = false;    // entries were added or removed: the tab strip is built again
    bool statusBar = false;      // the file count and the location are written again
    std::u16string state;        // the new text of status part 2; empty: it stays as it is
};

// Splits a path argument into full paths: one path, or the directory joined with each name of a
// multiple selection.
std::vector<std::u16string> expandSelection(std::u16string_view paths, bool multiple);

// How adding files to the tab list went.
struct AddedFiles {
    bool stopped = false; // a single file was missing, or there was no memory for an entry
    int failed = 0;       // files skipped or dropped because they could not be opened
    int cmxFiles = 0;     // CMX 3600 lists translated, and what their translation changed
    CmxReport cmxReport;
};

// Appends a tab entry per existing file (string 107 for a missing one: a single file stops, a
// name of a selection is skipped), asks string 112 for each new entry whose path is already open
// (Yes: the old entry goes, and when it was the active one the new one is reloaded; No: the new
// one goes), and makes each new entry's work file: an EDL is converted (strings 105 and the
// work-file warning), a project file copied. Nothing is loaded.
AddedFiles addFilesToTabs(TabList& tabs, std::u16string_view paths, OpenKind kind, Prompt& prompt);

// The kind a file dropped on the window or named on the command line opens as, decided by its
// extension with case ignored: ".EDL" an EDL, ".QLP" a project file, each as one of several files
// when `several` (a missing one is then skipped instead of ending the command). Any other file has
// no kind: it is refused.
std::optional<OpenKind> openKindByName(std::u16string_view path, bool several);

// Loads the active entry's work file (or the last entry's when none is active), remembering what
// the work file holds so that switching away from an unchanged document writes only its header.
// 1, or 0 after the loader's warning with the entry marked dropped and the document kept.
int loadTab(EdlDocument& doc, TabList& tabs, Prompt& prompt);

// Writes the current document to its tab's work file: the whole file when anything the file holds
// besides its header changed since the work file was last written or loaded, else only the header
// (the list position, the view, the settings). False after string 106: the tab must stay current.
bool saveWorkFile(EdlDocument& doc, TabEntry& entry, Prompt& prompt);

// Open: `current` is the tab shown (or none). Adds the files, replaces a reopened tab, loads what
// has to be shown (a reopened current tab, or a new tab when none was shown; a tab that fails to
// load goes with "ファイルを読込み中にエラーが発生しました。" and the next one is tried).
TabOutcome openFiles(EdlDocument& doc, TabList& tabs, TabEntry* current, std::u16string_view paths, OpenKind kind,
                     Prompt& prompt);

// Open for files dropped on the window or named on the command line: each file opens by its own
// name's kind, in the order given, and a file of another kind is refused with string 105. Several
// files open as a multiple selection does, one file as a single one.
TabOutcome openFilesByName(EdlDocument& doc, TabList& tabs, TabEntry* current, const std::vector<std::u16string>& paths,
                           Prompt& prompt);

// Where a tab that came from an EDL is to be saved as a project file: the window shows its Save As
// dialog. Empty when the user cancels or the path cannot be used.
class SaveAsTarget {
public:
    virtual ~SaveAsTarget() = default;
    virtual std::u16string choose(const TabEntry& entry) = 0;
};

// After an editing command (markers, memos, notes, descriptions): a saved project tab becomes
// modified, and a tab from an EDL remembers that it holds changes its EDL lacks. True when the
// tab's picture changes.
bool markTabEdited(TabEntry& entry);

// Close Tab: a modified tab asks string 109 (Cancel, or Yes and a failed save, keeps it); so does a
// tab from an EDL that was edited, whose Yes saves it as a project file where `saveAs` chooses
// (a cancelled choice keeps it). The next tab (or the previous one for the last tab) becomes
// current and is loaded.
TabOutcome closeTab(EdlDocument& doc, TabList& tabs, TabEntry& entry, Prompt& prompt, SaveAsTarget* saveAs = nullptr);

// Switch from `previous` to `chosen` (the tab the strip selected): writes the previous document to
// its work file and loads the chosen one; a chosen tab that cannot be loaded goes, and the previous
// document, still in memory, is shown again.
TabOutcome switchTab(EdlDocument& doc, TabList& tabs, TabEntry& previous, TabEntry* chosen, Prompt& prompt);

// Save: writes the document over the tab's project file; the tab becomes saved. False after string
// 106, and the tab keeps its state.
bool saveTab(EdlDocument& doc, TabEntry& entry, Prompt& prompt);
// "%s を保存しました。"
std::u16string savedStatus(std::u16string_view path);

// Status part 2 after Save As, unless a file could not be written.
inline constexpr std::u16string_view kSaveAsDoneStatus = u"[別名で保存] 完了";

enum class SaveAsResult {
    Failed,  // string 106 was shown
    Copied,  // a project tab: the chosen file is a copy, the tab keeps its own file and state
    Adopted, // a tab from an EDL: the chosen file is now the tab's project file, and it is saved
};
// Save As to `chosen`, which no open tab refers to (the window checks that, as its file names
// ignore case). Every file is written beside its target and renamed over it.
SaveAsResult saveTabAs(EdlDocument& doc, TabList& tabs, TabEntry& entry, std::u16string_view chosen, Prompt& prompt);

// Closing the program: when a document is loaded, asks string 110 (Yes/No) for every entry whose
// saveState is 2. Yes writes the current document over the active entry's path, or another entry's
// work file over its path. Entries that came from an EDL and were never saved are not asked about.
// A tab from an EDL that was edited asks string 109 (Yes/No/Cancel) instead: Yes saves it as a
// project file where `saveAs` chooses. A tab written this way becomes saved. Returns the number of
// questions asked; `failed` is set when the program must stay open: a file could not be written
// (string 106 shown; that tab's changes exist only in the program), or the user cancelled.
int saveModifiedTabsOnExit(EdlDocument& doc, TabList& tabs, Prompt& prompt, bool* failed = nullptr,
                           SaveAsTarget* saveAs = nullptr);

} // namespace qlp
