#include "ops/tab_commands.h"

#include "model/bytes.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "model/records.h"
#include "ops/info_texts.h"

#include <bit>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>

namespace qlp {

namespace {

constexpr std::u16string_view kLoadError = u"ファイルを読込み中にエラーが発生しました。";
constexpr std::u16string_view kStatusFileReadError = u"状態: ファイル読込みエラー";
constexpr std::u16string_view kStatusFileLoaded = u"状態: ファイルを読み込みました。";
constexpr std::u16string_view kStatusReadError = u"状態: 読込みエラー";
constexpr std::u16string_view kStatusTabClosed = u"タブを閉じました。";
constexpr std::u16string_view kScratchName = u"copy000000000";

// "状態: %d個のファイルを追加しました。": the files that only got tabs.
std::u16string addedStatus(int files) {
    std::u16string text = u"状態: ";
    for (char c : std::to_string(files))
        text.push_back(static_cast<char16_t>(c));
    return text + u"個のファイルを追加しました。";
}

// A digest of what a work file holds besides its header: the section layout, the EDL text, the
// reel table, every event with its texts, and the notes. Equal digests mean the file's sections
// need not be written again. Any difference, even one that would write the same bytes (a moved
// memo, a note record's pointers), counts as a change: in doubt the file is written.
class Digest {
public:
    void add(const void* data, size_t size) {
        const uint64_t part = std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(data), size));
        value_ = std::rotl((value_ ^ part) * 0x9E3779B97F4A7C15ull, 29);
    }
    // Never 0, which stands for "not known".
    uint64_t value() const { return value_ ? value_ : 1; }

private:
    uint64_t value_ = 0x6A09E667F3BCC909ull;
};

// The event record's fields before its pointers; the pointed-to texts are added on their own.
constexpr size_t kEventFieldsEnd = offsetof(EdlEvent, marker) + sizeof(EdlEvent::marker);

uint64_t bodyDigest(const EdlDocument& doc) {
    Digest d;
    const int64_t layout[] = {doc.sourceTextOffset,   doc.reelNamesOffset,       doc.reelCountsOffset,
                              doc.reelCommentsOffset, doc.eventsOffset,          doc.notesOffset,
                              doc.noteCount,          doc.viewCount[kAllEvents], doc.reelCount,
                              doc.sourceTextSize};
    d.add(layout, sizeof layout);
    if (doc.sourceText && doc.sourceTextSize > 0)
        d.add(doc.sourceText, static_cast<size_t>(doc.sourceTextSize));
    const size_t reels = doc.reelCount > 0 ? static_cast<size_t>(doc.reelCount) : 0;
    if (doc.reelNames)
        d.add(doc.reelNames, reels * sizeof *doc.reelNames);
    if (doc.reelUseCounts)
        d.add(doc.reelUseCounts, reels * sizeof *doc.reelUseCounts);
    if (doc.reelComments)
        d.add(doc.reelComments, reels * sizeof *doc.reelComments);
    // In the order the writer writes them.
    for (int32_t i = 0; i < doc.viewCount[kAllEvents]; ++i) {
        const EdlEvent& ev = doc.view[kAllEvents] ? *doc.view[kAllEvents][i] : doc.events[i];
        d.add(&ev, kEventFieldsEnd);
        d.add(ev.text, sizeof ev.text);
        if (ev.optionComment && ev.optionCommentLength > 0)
            d.add(ev.optionComment, 2 * static_cast<size_t>(ev.optionCommentLength));
        if (ev.workMemo && ev.workMemoLength > 0)
            d.add(ev.workMemo, 2 * static_cast<size_t>(ev.workMemoLength));
    }
    uint8_t image[kNoteRecordSize];
    for (const SimpleNote* note = doc.noteHead->next; note; note = note->next) {
        writeNoteImage(*note, image);
        d.add(image, sizeof image);
        if (note->body && note->bodySize > 0)
            d.add(note->body, static_cast<size_t>(note->bodySize));
    }
    return d.value();
}

// Rewrites the magic and the header at the start of an existing work file, leaving the rest.
bool writeHeaderInPlace(std::u16string_view path, const EdlDocument& doc) {
    uint8_t image[kMagicSize + kHeaderSize] = {};
    writeWide(image, kProjectMagic.data(), kProjectMagic.size());
    writeHeaderImage(doc, image + kMagicSize);
    std::FILE* f = isRegularFile(path) && fileSize(path) >= int64_t(sizeof image) ? openFile(path, "r+b") : nullptr;
    if (!f)
        return false;
    const bool written = std::fwrite(image, 1, sizeof image, f) == sizeof image;
    return std::fclose(f) == 0 && written;
}

// A user's file: written beside it, on the disk and renamed over it; string 106 on failure.
bool saveUserFile(std::u16string_view path, EdlDocument& doc, Prompt& prompt) {
    return saveDocument(path, doc, prompt, true) == 0;
}

bool copyUserFile(std::u16string_view from, std::u16string_view to, Prompt& prompt) {
    if (copyFileOver(from, to, true))
        return true;
    prompt.warn(formatMessage(kMsgCannotOpenPath, to));
    return false;
}

// Asks string 112 for every entry before `entry` with the same path and applies the answer: Yes
// drops the earlier entry (the new one takes over its being current, to be reloaded), No the new
// one.
void resolveDuplicate(TabList& tabs, TabEntry* entry, Prompt& prompt) {
    for (TabEntry* earlier = tabs.first(); earlier && earlier != entry; earlier = earlier->next) {
        if (earlier->path != entry->path)
            continue;
        if (prompt.askYesNo(formatMessage(kMsgAlreadyLoaded, entry->path)) == Answer::Yes) {
            if (earlier->active) {
                entry->active = 1;
                entry->reloadPending = 1;
            }
            earlier->dropped = 1;
            earlier->workFileReady = 0;
            entry->dropped = 0;
        } else {
            earlier->dropped = 0;
            entry->dropped = 1;
            entry->workFileReady = 0;
            entry->reloadPending = 0;
        }
    }
}

// An EDL is converted into the work file, a project file copied (its format is tested only when
// it is loaded). A file that cannot be read is dropped without a message.
bool makeWorkFile(const TabEntry& entry, bool edl, Prompt& prompt) {
    if (!edl)
        return copyFileOver(entry.path, entry.workPath);
    switch (convertEdlFile(entry.path, entry.workPath)) {
    case ConvertStatus::Ok:
        return true;
    case ConvertStatus::CannotRead:
        return false;
    case ConvertStatus::NotRecognised:
        prompt.warn(formatMessage(kMsgNotRecognised, entry.path));
        return false;
    case ConvertStatus::CannotWrite:
        prompt.warn(formatMessage(kMsgCannotCreateWorkFile, entry.path));
        return false;
    case ConvertStatus::NoMemory:
        prompt.warn(formatMessage(kMsgNoMemoryToRead, entry.path));
        return false;
    }
    return false;
}

// Loads the active entry, or the last one; an entry that cannot be loaded is dropped and reported
// and the next is tried, so that a document is shown whenever a tab remains. `state` says when a
// load failed.
bool loadAnyTab(EdlDocument& doc, TabList& tabs, Prompt& prompt, std::u16string& state) {
    while (tabs.first()) {
        if (loadTab(doc, tabs, prompt) == 1)
            return true;
        purgeDroppedEntries(tabs);
        prompt.warn(kLoadError);
        state = kStatusReadError;
    }
    return false;
}

// A file to be opened, with the kind it opens as (none: refused).
struct FileToOpen {
    std::u16string_view path;
    std::optional<OpenKind> kind;
};

bool isEdlKind(OpenKind kind) {
    return kind == OpenKind::OneEdl || kind == OpenKind::SeveralEdls;
}

// Appends a tab entry per file that exists and has a kind, then settles duplicates and makes the
// work files, in the files' order. A missing file ends the command when it is the only one
// (`multiple` false) and is skipped otherwise; a file without a kind is refused and skipped.
AddedFiles addFiles(TabList& tabs, const std::vector<FileToOpen>& files, bool multiple, Prompt& prompt) {
    AddedFiles result;
    TabEntry* firstNew = nullptr;
    for (const FileToOpen& file : files) {
        if (!pathExists(file.path)) {
            prompt.warn(formatMessage(kMsgFileNotFound, file.path));
            ++result.failed;
            if (!multiple) {
                result.stopped = true;
                return result;
            }
            continue;
        }
        if (!file.kind) {
            prompt.warn(formatMessage(kMsgNotRecognised, file.path));
            ++result.failed;
            continue;
        }
        TabEntry* entry = tabs.append();
        if (!entry) {
            prompt.warn(kMsgOutOfWorkMemory);
            result.stopped = true;
            break;
        }
        entry->path = file.path;
        // A project file's text EDL passes the EDL check, so a project file chosen with the EDL
        // filter would open as an EDL whose text is the whole binary file: its magic decides.
        entry->saveState = isEdlKind(*file.kind) && !fileStartsWithProjectMagic(file.path) ? kFromEdl : kSaved;
        if (!firstNew)
            firstNew = entry;
    }
    for (TabEntry* entry = firstNew; entry; entry = entry->next) {
        resolveDuplicate(tabs, entry, prompt);
        entry->workPath = tabs.workPathFor(tabs.nextFileId);
        if (!entry->dropped && !entry->workFileReady) {
            if (makeWorkFile(*entry, entry->saveState == kFromEdl, prompt)) {
                entry->workFileReady = 1;
            } else {
                entry->dropped = 1;
                entry->workFileReady = 0;
                ++result.failed;
            }
        }
        entry->fileId = tabs.nextFileId++;
    }
    return result;
}

bool isMultipleKind(OpenKind kind) {
    return kind == OpenKind::SeveralEdls || kind == OpenKind::SeveralProjects;
}

// The files of an open dialog's result, all of the kind the dialog decided; they refer to `paths`.
std::vector<FileToOpen> selectionFiles(const std::vector<std::u16string>& paths, OpenKind kind) {
    std::vector<FileToOpen> files;
    files.reserve(paths.size());
    for (const std::u16string& path : paths)
        files.push_back({path, kind});
    return files;
}

} // namespace

std::optional<OpenKind> openKindByName(std::u16string_view path, bool several) {
    const size_t dot = path.find_last_of(u".\\/");
    if (dot == std::u16string_view::npos || path[dot] != u'.')
        return std::nullopt;
    const std::u16string_view extension = path.substr(dot + 1);
    auto is = [&](std::u16string_view upper) {
        if (extension.size() != upper.size())
            return false;
        for (size_t i = 0; i < upper.size(); ++i) {
            const char16_t c = extension[i];
            if ((c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c) != upper[i])
                return false;
        }
        return true;
    };
    if (is(u"EDL"))
        return several ? OpenKind::SeveralEdls : OpenKind::OneEdl;
    if (is(u"QLP"))
        return several ? OpenKind::SeveralProjects : OpenKind::OneProject;
    return std::nullopt;
}

std::vector<std::u16string> expandSelection(std::u16string_view paths, bool multiple) {
    std::vector<std::u16string> result;
    if (!multiple) {
        const size_t nul = paths.find(u'\0');
        result.emplace_back(paths.substr(0, nul));
        return result;
    }
    size_t pos = paths.find(u'\0');
    if (pos == std::u16string_view::npos) {
        result.emplace_back(paths);
        return result;
    }
    const std::u16string_view directory = paths.substr(0, pos);
    while (++pos < paths.size() && paths[pos] != u'\0') {
        size_t end = paths.find(u'\0', pos);
        if (end == std::u16string_view::npos)
            end = paths.size();
        result.push_back(joinPath(directory, paths.substr(pos, end - pos)));
        pos = end;
    }
    return result;
}

AddedFiles addFilesToTabs(TabList& tabs, std::u16string_view paths, OpenKind kind, Prompt& prompt) {
    const bool multiple = isMultipleKind(kind);
    const std::vector<std::u16string> chosen = expandSelection(paths, multiple);
    return addFiles(tabs, selectionFiles(chosen, kind), multiple, prompt);
}

int loadTab(EdlDocument& doc, TabList& tabs, Prompt& prompt) {
    TabEntry* entry = findActiveEntry(tabs);
    if (!entry)
        entry = tabs.last();
    if (loadDocument(doc, tabs, prompt) != 1)
        return 0;
    // A digest known from the last write stays true: that is what the file holds.
    if (entry->workFileDigest == 0)
        entry->workFileDigest = bodyDigest(doc);
    return 1;
}

bool saveWorkFile(EdlDocument& doc, TabEntry& entry, Prompt& prompt) {
    // Leaving a tab usually changes only its place in the list, which the header holds: the rest
    // of a large work file is not written again then.
    if (entry.workFileDigest != 0 && bodyDigest(doc) == entry.workFileDigest && writeHeaderInPlace(entry.workPath, doc))
        return true;
    if (saveDocument(entry.workPath, doc, prompt, false) != 0) {
        entry.workFileDigest = 0;
        return false;
    }
    // Taken after the write, which sets the section offsets and record sizes it wrote.
    entry.workFileDigest = bodyDigest(doc);
    return true;
}

namespace {

// The Open command on files already chosen, each with its kind; openFiles says what it decides.
TabOutcome openFileList(EdlDocument& doc, TabList& tabs, TabEntry* current, const std::vector<FileToOpen>& files,
                        bool multiple, Prompt& prompt) {
    TabOutcome out;
    const int32_t firstNewId = tabs.nextFileId;
    const AddedFiles added = addFiles(tabs, files, multiple, prompt);
    const bool replacing = current && current->dropped;
    if (added.stopped && !replacing && (findActiveEntry(tabs) || !tabs.first())) {
        // Opening stopped (a missing file, no memory): the tab shown, if any, stays; entries made
        // before the stop get their tabs.
        purgeDroppedEntries(tabs);
        out.present = Presentation::TabsOnly;
        out.current = current;
        out.tabsChanged = true;
        return out;
    }

    // Reopening the current tab's file replaces its entry by the new one, which is to be loaded.
    // The old entry is kept until the new one has loaded, so that a failed load leaves it in place.
    TabEntry* replaced = replacing ? current : nullptr;
    if (replaced) {
        replaced->dropped = 0;
        replaced->active = 0;
    }
    purgeDroppedEntries(tabs);
    out.state = kStatusFileReadError;
    if (replaced && !findActiveEntry(tabs)) {
        // The new copy could not be made: nothing replaces the old entry.
        replaced->active = 1;
        replaced = nullptr;
    }
    // Opening stopped while no tab was shown: the first tab is the one to show.
    if (added.stopped && tabs.first() && !findActiveEntry(tabs))
        tabs.first()->active = 1;

    bool loaded = false;
    if (tabs.first()) {
        const TabEntry* active = findActiveEntry(tabs);
        if (!active || active->reloadPending || !doc.loaded) {
            const int32_t keptLoaded = doc.loaded;
            if (loadTab(doc, tabs, prompt) == 1) {
                if (replaced) {
                    replaced->dropped = 1;
                    purgeDroppedEntries(tabs);
                }
                out.state = kStatusFileLoaded;
                loaded = true;
            } else {
                if (replaced)
                    replaced->active = 1;
                purgeDroppedEntries(tabs);
                prompt.warn(kLoadError);
                // The failed load changed nothing of the previous document but this flag.
                doc.loaded = keptLoaded;
                out.state = kStatusReadError;
                if (!doc.loaded && loadAnyTab(doc, tabs, prompt, out.state)) {
                    out.state = kStatusFileLoaded;
                    loaded = true;
                }
            }
        } else {
            // The shown tab stays. A file the user chose not to reopen is no error: the status
            // then says that no file was added.
            int count = 0;
            for (const TabEntry* entry = tabs.first(); entry; entry = entry->next)
                count += entry->fileId >= firstNewId;
            if (count > 0 || added.failed == 0)
                out.state = addedStatus(count);
        }
    }

    out.current = findActiveEntry(tabs);
    out.tabsChanged = true;
    out.statusBar = true;
    if (!out.current || !doc.loaded) {
        out.current = nullptr;
        out.present = Presentation::NoDocument;
    } else {
        out.present = loaded ? Presentation::NewDocument : Presentation::SameDocument;
    }
    return out;
}

} // namespace

TabOutcome openFiles(EdlDocument& doc, TabList& tabs, TabEntry* current, std::u16string_view paths, OpenKind kind,
                     Prompt& prompt) {
    const bool multiple = isMultipleKind(kind);
    const std::vector<std::u16string> chosen = expandSelection(paths, multiple);
    return openFileList(doc, tabs, current, selectionFiles(chosen, kind), multiple, prompt);
}

TabOutcome openFilesByName(EdlDocument& doc, TabList& tabs, TabEntry* current, const std::vector<std::u16string>& paths,
                           Prompt& prompt) {
    const bool several = paths.size() > 1;
    std::vector<FileToOpen> files;
    files.reserve(paths.size());
    // A folder can be dropped too; whatever its name, it is no list.
    for (const std::u16string& path : paths)
        files.push_back({path, isRegularFile(path) ? openKindByName(path, several) : std::nullopt});
    return openFileList(doc, tabs, current, files, several, prompt);
}

bool markTabEdited(TabEntry& entry) {
    if (entry.saveState == kFromEdl)
        entry.edlChanged = 1;
    if (entry.saveState != kSaved)
        return false;
    entry.saveState = kModified;
    return true;
}

TabOutcome closeTab(EdlDocument& doc, TabList& tabs, TabEntry& entry, Prompt& prompt, SaveAsTarget* saveAs) {
    TabOutcome out;
    out.current = &entry;
    if (entry.saveState == kFromEdl && entry.edlChanged) {
        // Its changes exist nowhere but in its work file, which closing deletes.
        const Answer answer = prompt.askYesNoCancel(formatMessage(kMsgSaveBeforeCloseTab, entry.path));
        if (answer == Answer::Cancel)
            return out;
        if (answer == Answer::Yes) {
            const std::u16string chosen = saveAs ? saveAs->choose(entry) : std::u16string();
            if (chosen.empty() || saveTabAs(doc, tabs, entry, chosen, prompt) != SaveAsResult::Adopted)
                return out;
        }
    } else if (entry.saveState == kModified) {
        const Answer answer = prompt.askYesNoCancel(formatMessage(kMsgSaveBeforeCloseTab, entry.path));
        // Cancel, or a save that failed (string 106 shown): the tab stays open and current.
        if (answer == Answer::Cancel || (answer == Answer::Yes && !saveUserFile(entry.path, doc, prompt)))
            return out;
    }

    entry.dropped = 1;
    entry.active = 0;
    if (TabEntry* next = entry.next ? entry.next : (entry.prev != tabs.head() ? entry.prev : nullptr))
        next->active = 1;
    purgeDroppedEntries(tabs);
    out.tabsChanged = true;
    out.statusBar = true;
    out.state = kStatusTabClosed;
    std::u16string loadState;
    if (findActiveEntry(tabs) && loadAnyTab(doc, tabs, prompt, loadState)) {
        out.current = findActiveEntry(tabs);
        out.present = Presentation::NewDocument;
    } else {
        out.current = nullptr;
        out.present = Presentation::NoDocument;
    }
    return out;
}

TabOutcome switchTab(EdlDocument& doc, TabList& tabs, TabEntry& previous, TabEntry* chosen, Prompt& prompt) {
    TabOutcome out;
    out.current = &previous;
    // The work file is the only copy of a tab's state once it is no longer current: when it
    // cannot be written, the tab stays current.
    if (!chosen || chosen == &previous || !saveWorkFile(doc, previous, prompt))
        return out;
    previous.active = 0;
    chosen->active = 1;
    out.present = Presentation::NewDocument;
    out.statusBar = true;
    if (loadTab(doc, tabs, prompt) == 1) {
        out.current = chosen;
    } else {
        // The failed load left the previous document in memory with only `loaded` cleared.
        chosen->active = 0;
        previous.active = 1;
        doc.loaded = 1;
        purgeDroppedEntries(tabs);
        out.tabsChanged = true;
    }
    out.state = openedStatus(out.current->path);
    return out;
}

bool saveTab(EdlDocument& doc, TabEntry& entry, Prompt& prompt) {
    if (!saveUserFile(entry.path, doc, prompt))
        return false;
    entry.saveState = kSaved;
    return true;
}

std::u16string savedStatus(std::u16string_view path) {
    return std::u16string(path) + u" を保存しました。";
}

SaveAsResult saveTabAs(EdlDocument& doc, TabList& tabs, TabEntry& entry, std::u16string_view chosen, Prompt& prompt) {
    if (entry.saveState == kFromEdl) {
        // The document goes to the work file and from there to the chosen file, which becomes the
        // tab's project file.
        if (!saveWorkFile(doc, entry, prompt) || !copyUserFile(entry.workPath, chosen, prompt))
            return SaveAsResult::Failed;
        entry.path = chosen;
        entry.saveState = kSaved;
        entry.edlChanged = 0;
        return SaveAsResult::Adopted;
    }
    // A copy under the new name, through the scratch file of the work directory.
    const std::u16string scratch = joinPath(tabs.workDirectory(), kScratchName);
    if (saveDocument(scratch, doc, prompt, false) != 0 || !copyUserFile(scratch, chosen, prompt))
        return SaveAsResult::Failed;
    return SaveAsResult::Copied;
}

namespace {

// Asks about an edited tab from an EDL when the program closes; Yes saves it as a project file.
// False when the program must stay open.
bool offerEditedEdlTab(EdlDocument& doc, TabList& tabs, TabEntry& entry, Prompt& prompt, SaveAsTarget* saveAs) {
    const Answer answer = prompt.askYesNoCancel(formatMessage(kMsgSaveBeforeCloseTab, entry.path));
    if (answer == Answer::No)
        return true;
    const std::u16string chosen = answer == Answer::Yes && saveAs ? saveAs->choose(entry) : std::u16string();
    if (chosen.empty())
        return false;
    if (entry.active)
        return saveTabAs(doc, tabs, entry, chosen, prompt) == SaveAsResult::Adopted;
    // Another tab's latest state is its work file, which the last tab switch wrote.
    if (!copyUserFile(entry.workPath, chosen, prompt))
        return false;
    entry.path = chosen;
    entry.saveState = kSaved;
    entry.edlChanged = 0;
    return true;
}

} // namespace

int saveModifiedTabsOnExit(EdlDocument& doc, TabList& tabs, Prompt& prompt, bool* failed, SaveAsTarget* saveAs) {
    if (!doc.loaded)
        return 0;
    int asked = 0;
    for (TabEntry* entry = tabs.first(); entry; entry = entry->next) {
        if (entry->saveState == kFromEdl && entry->edlChanged) {
            ++asked;
            if (!offerEditedEdlTab(doc, tabs, *entry, prompt, saveAs)) {
                if (failed)
                    *failed = true;
                return asked;
            }
            continue;
        }
        if (entry->saveState != kModified)
            continue;
        ++asked;
        if (prompt.askYesNo(formatMessage(kMsgSaveBeforeExit, entry->path)) != Answer::Yes)
            continue;
        // Only the active tab's document is in memory; every other tab's latest state is its work
        // file, which the last tab switch wrote.
        const bool written =
            entry->active ? saveUserFile(entry->path, doc, prompt) : copyUserFile(entry->workPath, entry->path, prompt);
        if (written)
            entry->saveState = kSaved;
        else if (failed)
            *failed = true;
    }
    return asked;
}

} // namespace qlp
