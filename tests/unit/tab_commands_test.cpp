// The decisions of the file commands: which tab is current after Open, Close Tab and Switch, what
// is asked, what is loaded, what the status line says, when a work file is written, and that
// every write of a user's file either completes or leaves the file as it was.

#include "ops/tab_commands.h"

#include "model/edl_reader.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "ops/info_texts.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace qlp;
using namespace qlp::test;

namespace {

namespace fs = std::filesystem;

class TabCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* samples[][2] = {{"ndf_basic.EDL", "a"}, {"df_reverse.EDL", "b"}, {"comments_cp932.EDL", "c"}};
        for (const auto& [sample, name] : samples) {
            fs::copy_file(dataPath(sample), dir.file(std::string(name) + ".EDL"));
            ASSERT_EQ(convertEdlFile(u16(dataPath(sample)), path(std::string(name) + ".QLP")), ConvertStatus::Ok);
        }
        writeBytes(dir.file("plain.EDL"), "just some text\r\n");
        fs::create_directory(dir.path() / "work");
        tabs.setWorkDirectory(u16(dir.file("work")));
    }

    std::u16string path(const std::string& name) const { return u16(dir.file(name)); }
    static std::string nameOf(const TabEntry* entry) {
        return entry ? fs::path(entry->path).filename().string() : std::string();
    }
    std::vector<std::string> tabNames() const {
        std::vector<std::string> names;
        for (const TabEntry* e = tabs.first(); e; e = e->next)
            names.push_back(nameOf(e));
        return names;
    }
    TabOutcome open(const std::string& name, OpenKind kind = OpenKind::OneEdl) {
        TabOutcome outcome = openFiles(doc, tabs, current, path(name), kind, prompt);
        current = outcome.current;
        return outcome;
    }
    // Back to no tabs and no document, for the next case of a table.
    void closeEverything() {
        for (TabEntry* e = tabs.first(); e; e = e->next)
            e->dropped = 1;
        purgeDroppedEntries(tabs);
        releaseDocument(doc);
        doc.loaded = 0;
        current = nullptr;
    }
    TabOutcome switchTo(int index) {
        TabEntry* chosen = tabs.first();
        while (chosen && chosen->tabIndex != index)
            chosen = chosen->next;
        TabOutcome outcome = switchTab(doc, tabs, *current, chosen, prompt);
        current = outcome.current;
        return outcome;
    }

    ScratchDir dir;
    TabList tabs;
    EdlDocument doc;
    RecordingPrompt prompt;
    TabEntry* current = nullptr;
};

TEST_F(TabCommandsTest, OpenDecidesWhatIsShownAndWhatTheStatusSays) {
    const std::u16string loaded = u"状態: ファイルを読み込みました。";
    struct Case {
        const char* what;
        std::vector<std::string> before; // opened first, one by one
        std::string name;
        OpenKind kind;
        std::vector<Answer> answers;
        Presentation present;
        std::string current;
        std::u16string state;
        std::vector<std::string> tabs;
        size_t boxes;
    };
    // clang-format off
    const Case cases[] = {
        {"the first file is loaded", {}, "a.EDL", OpenKind::OneEdl, {},
         Presentation::NewDocument, "a.EDL", loaded, {"a.EDL"}, 0},
        {"another file only gets a tab", {"a.EDL"}, "b.EDL", OpenKind::OneEdl, {},
         Presentation::SameDocument, "a.EDL", u"状態: 1個のファイルを追加しました。", {"a.EDL", "b.EDL"}, 0},
        {"reopening, No: nothing added, and that is no error", {"a.EDL", "b.EDL"}, "a.EDL", OpenKind::OneEdl, {Answer::No},
         Presentation::SameDocument, "a.EDL", u"状態: 0個のファイルを追加しました。", {"a.EDL", "b.EDL"}, 1},
        {"reopening the shown file, Yes: reloaded in a tab at the end", {"a.EDL", "b.EDL"}, "a.EDL", OpenKind::OneEdl, {Answer::Yes},
         Presentation::NewDocument, "a.EDL", loaded, {"b.EDL", "a.EDL"}, 1},
        {"reopening another tab's file, Yes: replaced, the shown tab stays", {"a.EDL", "b.EDL"}, "b.EDL", OpenKind::OneEdl, {Answer::Yes},
         Presentation::SameDocument, "a.EDL", u"状態: 1個のファイルを追加しました。", {"a.EDL", "b.EDL"}, 1},
        {"a project file", {"a.EDL"}, "c.QLP", OpenKind::OneProject, {},
         Presentation::SameDocument, "a.EDL", u"状態: 1個のファイルを追加しました。", {"a.EDL", "c.QLP"}, 0},
        {"a missing file stops; the shown tab stays", {"a.EDL"}, "gone.EDL", OpenKind::OneEdl, {},
         Presentation::TabsOnly, "a.EDL", u"", {"a.EDL"}, 1},
        {"a missing file with nothing shown", {}, "gone.EDL", OpenKind::OneEdl, {},
         Presentation::TabsOnly, "", u"", {}, 1},
        {"an unrecognised EDL is a read error", {"a.EDL"}, "plain.EDL", OpenKind::OneEdl, {},
         Presentation::SameDocument, "a.EDL", u"状態: ファイル読込みエラー", {"a.EDL"}, 1},
        {"an EDL taken as a project file fails to load", {}, "a.EDL", OpenKind::OneProject, {},
         Presentation::NoDocument, "", u"状態: 読込みエラー", {}, 2},
        {"a project file taken as an EDL opens as a project file", {}, "c.QLP", OpenKind::OneEdl, {},
         Presentation::NewDocument, "c.QLP", loaded, {"c.QLP"}, 0},
        {"project files among EDLs of a selection", {"a.EDL"}, "c.QLP", OpenKind::SeveralEdls, {},
         Presentation::SameDocument, "a.EDL", u"状態: 1個のファイルを追加しました。", {"a.EDL", "c.QLP"}, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        closeEverything();
        for (const std::string& name : c.before)
            open(name);
        prompt.texts.clear();
        prompt.answers.assign(c.answers.begin(), c.answers.end());

        const TabOutcome outcome = open(c.name, c.kind);
        EXPECT_EQ(outcome.present, c.present);
        EXPECT_EQ(nameOf(outcome.current), c.current);
        EXPECT_EQ(outcome.state, c.state);
        EXPECT_EQ(outcome.statusBar, c.present != Presentation::TabsOnly);
        EXPECT_EQ(tabNames(), c.tabs);
        EXPECT_EQ(prompt.texts.size(), c.boxes);
        EXPECT_EQ(doc.loaded != 0, !c.current.empty());
        if (outcome.current) {
            EXPECT_EQ(outcome.current->active, 1);
        }
        // A project file is a saved project whatever the filter: its document is the one it holds,
        // never its bytes read as an EDL text.
        for (const TabEntry* e = tabs.first(); e; e = e->next)
            EXPECT_EQ(e->saveState, nameOf(e).ends_with(".QLP") ? kSaved : kFromEdl) << nameOf(e);
        if (nameOf(outcome.current) == "c.QLP") {
            const std::vector<uint8_t> edl = readBytes(dataPath("comments_cp932.EDL"));
            EXPECT_EQ(std::vector<uint8_t>(doc.sourceText, doc.sourceText + doc.sourceTextSize), edl);
        }
    }
}

// Files dropped on the window or named on the command line: the extension decides, case ignored.
TEST(OpenKindByNameTest, TheExtensionDecidesTheKind) {
    const std::optional<OpenKind> refused;
    const std::tuple<std::u16string, bool, std::optional<OpenKind>> kinds[] = {
        {u"C:\\lists\\LIST.EDL", false, OpenKind::OneEdl},
        {u"C:\\lists\\list.edl", true, OpenKind::SeveralEdls},
        {u"C:\\a.b\\reel.Qlp", false, OpenKind::OneProject},
        {u"/mnt/x/a.b.qLP", true, OpenKind::SeveralProjects},
        {u"C:\\lists\\LIST.EDL.bak", true, refused},
        {u"C:\\x.EDL\\noext", false, refused},
        {u"C:\\lists\\a.EDLX", false, refused},
    };
    for (const auto& [name, several, kind] : kinds) {
        EXPECT_EQ(openKindByName(name, several), kind) << fs::path(name).string();
    }
}

TEST_F(TabCommandsTest, CloseTabDecidesWhatIsAskedAndWhichTabFollows) {
    struct Case {
        const char* what;
        int open; // project tabs a, b, c in that order
        int closed;
        bool modified;
        std::optional<Answer> answer;
        bool readOnly;
        Presentation present;
        std::string current;
        std::vector<std::string> tabs;
        bool saved;
        std::vector<std::u16string_view> boxes;
    };
    // clang-format off
    const Case cases[] = {
        {"the next tab follows", 3, 1, false, {}, false,
         Presentation::NewDocument, "c.QLP", {"a.QLP", "c.QLP"}, false, {}},
        {"after the last tab, the one before", 3, 2, false, {}, false,
         Presentation::NewDocument, "b.QLP", {"a.QLP", "b.QLP"}, false, {}},
        {"the only tab", 1, 0, false, {}, false,
         Presentation::NoDocument, "", {}, false, {}},
        {"modified, Cancel: it stays", 3, 1, true, Answer::Cancel, false,
         Presentation::Nothing, "b.QLP", {"a.QLP", "b.QLP", "c.QLP"}, false, {kMsgSaveBeforeCloseTab}},
        {"modified, No: closed unsaved", 3, 1, true, Answer::No, false,
         Presentation::NewDocument, "c.QLP", {"a.QLP", "c.QLP"}, false, {kMsgSaveBeforeCloseTab}},
        {"modified, Yes: saved, then closed", 3, 1, true, Answer::Yes, false,
         Presentation::NewDocument, "c.QLP", {"a.QLP", "c.QLP"}, true, {kMsgSaveBeforeCloseTab}},
        {"modified, Yes, a read-only file: string 106, it stays", 3, 1, true, Answer::Yes, true,
         Presentation::Nothing, "b.QLP", {"a.QLP", "b.QLP", "c.QLP"}, false, {kMsgSaveBeforeCloseTab, kMsgCannotOpenPath}},
    };
    // clang-format on
    const char* names[] = {"a.QLP", "b.QLP", "c.QLP"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        closeEverything();
        for (int i = 0; i < c.open; ++i)
            open(names[i], OpenKind::OneProject);
        switchTo(c.closed);
        const std::u16string file = current->path;
        const std::vector<uint8_t> before = readBytes(fs::path(file).string());
        if (c.modified) {
            current->saveState = kModified;
            doc.currentMarker = 5;
        }
        if (c.readOnly)
            fs::permissions(fs::path(file), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        prompt.texts.clear();
        if (c.answer)
            prompt.answers = {*c.answer};

        const TabOutcome outcome = closeTab(doc, tabs, *current, prompt);
        current = outcome.current;
        EXPECT_EQ(outcome.present, c.present);
        EXPECT_EQ(nameOf(outcome.current), c.current);
        EXPECT_EQ(tabNames(), c.tabs);
        EXPECT_EQ(outcome.state, c.present == Presentation::Nothing ? u"" : u"タブを閉じました。");
        ASSERT_EQ(prompt.texts.size(), c.boxes.size());
        for (size_t i = 0; i < c.boxes.size(); ++i)
            EXPECT_EQ(prompt.texts[i], formatMessage(c.boxes[i], file));
        EdlDocument onDisk;
        ASSERT_EQ(loadProjectFile(file, onDisk), LoadStatus::Ok);
        if (c.saved) {
            EXPECT_EQ(onDisk.currentMarker, 5);
        } else {
            EXPECT_EQ(readBytes(fs::path(file).string()), before);
        }
        fs::permissions(fs::path(file), fs::perms::owner_write, fs::perm_options::add);
    }
}

// Leaving a tab writes its work file whole only when something besides the header changed; either
// way the tab comes back as it was left.
TEST_F(TabCommandsTest, SwitchWritesTheWorkFileWholeOnlyAfterAChange) {
    struct Case {
        const char* what;
        void (*change)(EdlDocument&);
        bool (*kept)(const EdlDocument&);
        bool rewritten;
    };
    // clang-format off
    const Case cases[] = {
        {"nothing", [](EdlDocument&) {},
         [](const EdlDocument& d) { return d.viewCount[kAllEvents] > 0; }, false},
        {"the list position", [](EdlDocument& d) { d.currentRow[kAllEvents] = 3; },
         [](const EdlDocument& d) { return d.currentRow[kAllEvents] == 3; }, false},
        {"an event's marker", [](EdlDocument& d) { d.events[1].marker = 2; },
         [](const EdlDocument& d) { return d.events[1].marker == 2; }, true},
        {"a column text", [](EdlDocument& d) { d.events[0].text[kColRecIn][0] = u'2'; },
         [](const EdlDocument& d) { return d.events[0].text[kColRecIn][0] == u'2'; }, true},
        {"a reel comment", [](EdlDocument& d) { d.reelComments[0][0] = u'X'; },
         [](const EdlDocument& d) { return d.reelComments[0][0] == u'X'; }, true},
        {"nothing, after it was written whole", [](EdlDocument&) {},
         [](const EdlDocument& d) { return d.reelComments[0][0] == u'X'; }, false},
    };
    // clang-format on
    open("a.EDL");
    open("b.EDL");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Bytes after the last section are ignored by the loader and vanish when the file is
        // written whole.
        const std::string work = fs::path(current->workPath).string();
        std::vector<uint8_t> bytes = readBytes(work);
        writeBytes(work, std::string(bytes.begin(), bytes.end()) + "TAIL");
        c.change(doc);

        const TabOutcome away = switchTo(1);
        EXPECT_EQ(away.present, Presentation::NewDocument);
        EXPECT_EQ(nameOf(away.current), "b.EDL");
        EXPECT_EQ(away.state, openedStatus(away.current->path));
        EXPECT_EQ(readBytes(work).size() == bytes.size() + 4, !c.rewritten);
        switchTo(0);
        EXPECT_TRUE(c.kept(doc));
    }
    EXPECT_TRUE(prompt.texts.empty());
}

// Save, Close Tab → Yes, the exit questions and Save As write a user's file beside it and rename it
// over it: a file marked read-only, or a write that cannot be completed, leaves the file as it was
// and shows string 106.
TEST_F(TabCommandsTest, UserFilesAreReplacedWholeOrNotAtAll) {
    enum class Writer { Save, CloseYes, ExitShown, ExitOther, SaveAsCopy };
    struct Case {
        const char* what;
        Writer writer;
        bool readOnly; // else the file beside the target cannot be created
    };
    const Case cases[] = {
        {"Save, read-only", Writer::Save, true},
        {"Save, blocked", Writer::Save, false},
        {"Close Tab, Yes, read-only", Writer::CloseYes, true},
        {"exit, the shown tab, read-only", Writer::ExitShown, true},
        {"exit, another tab, read-only", Writer::ExitOther, true},
        {"exit, another tab, blocked", Writer::ExitOther, false},
        {"Save As a copy, read-only", Writer::SaveAsCopy, true},
        {"Save As a copy, blocked", Writer::SaveAsCopy, false},
    };
    open("a.QLP", OpenKind::OneProject);
    open("b.QLP", OpenKind::OneProject);
    // Both tabs changed; b's change is in its work file only.
    switchTo(1);
    doc.currentMarker = 6;
    current->saveState = kModified;
    switchTo(0);
    doc.currentMarker = 5;
    current->saveState = kModified;
    writeBytes(dir.file("copy.QLP"), "an older copy");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = dir.file(c.writer == Writer::ExitOther    ? "b.QLP"
                                            : c.writer == Writer::SaveAsCopy ? "copy.QLP"
                                                                             : "a.QLP");
        const std::vector<uint8_t> before = readBytes(target);
        if (c.readOnly)
            fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        else
            fs::create_directory(target + ".qlp-saving");
        prompt.texts.clear();

        bool failed = false;
        switch (c.writer) {
        case Writer::Save:
            EXPECT_FALSE(saveTab(doc, *current, prompt));
            break;
        case Writer::CloseYes:
            prompt.answers = {Answer::Yes};
            EXPECT_EQ(closeTab(doc, tabs, *current, prompt).present, Presentation::Nothing);
            break;
        case Writer::ExitShown:
        case Writer::ExitOther:
            prompt.answers = {c.writer == Writer::ExitShown ? Answer::Yes : Answer::No,
                              c.writer == Writer::ExitShown ? Answer::No : Answer::Yes};
            EXPECT_EQ(saveModifiedTabsOnExit(doc, tabs, prompt, &failed), 2);
            EXPECT_TRUE(failed);
            break;
        case Writer::SaveAsCopy:
            EXPECT_EQ(saveTabAs(doc, tabs, *current, u16(target), prompt), SaveAsResult::Failed);
            break;
        }
        EXPECT_EQ(std::count(prompt.texts.begin(), prompt.texts.end(), formatMessage(kMsgCannotOpenPath, u16(target))),
                  1);
        EXPECT_EQ(readBytes(target), before);
        EXPECT_EQ(tabNames(), (std::vector<std::string>{"a.QLP", "b.QLP"}));
        for (const TabEntry* e = tabs.first(); e; e = e->next)
            EXPECT_EQ(e->saveState, kModified);
        if (c.readOnly) {
            EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
        } else {
            fs::remove(target + ".qlp-saving");
        }
    }

    // Unhindered, the exit writes both: the shown document, and the other tab's work file.
    prompt.answers = {Answer::Yes, Answer::Yes};
    bool failed = false;
    saveModifiedTabsOnExit(doc, tabs, prompt, &failed);
    EXPECT_FALSE(failed);
    for (auto [name, marker] : {std::pair{"a.QLP", 5}, std::pair{"b.QLP", 6}}) {
        EdlDocument saved;
        ASSERT_EQ(loadProjectFile(path(name), saved), LoadStatus::Ok);
        EXPECT_EQ(saved.currentMarker, marker) << name;
    }
}

// A tab from an EDL that an editing command changed asks string 109 before Close Tab or the exit
// throws its changes away; Yes saves it as a project file where the Save As dialog says, and a
// cancelled dialog keeps it. An unchanged one goes without a question.
TEST_F(TabCommandsTest, AnEditedEdlTabAsksBeforeItsChangesAreLost) {
    struct Chooser : SaveAsTarget {
        std::u16string answer;
        std::u16string choose(const TabEntry&) override { return answer; }
    };
    struct Case {
        const char* what;
        bool exit, edited;
        std::optional<Answer> answer;
        const char* chosen; // what the Save As dialog returns, "" for Cancel
        bool closed, saved;
    };
    // clang-format off
    const Case cases[] = {
        {"close, unchanged: no question", false, false, {}, "", true, false},
        {"close, Cancel", false, true, Answer::Cancel, "", false, false},
        {"close, No", false, true, Answer::No, "", true, false},
        {"close, Yes, dialog cancelled", false, true, Answer::Yes, "", false, false},
        {"close, Yes, saved", false, true, Answer::Yes, "saved.QLP", true, true},
        {"exit, unchanged: no question", true, false, {}, "", true, false},
        {"exit, Cancel", true, true, Answer::Cancel, "", false, false},
        {"exit, No", true, true, Answer::No, "", true, false},
        {"exit, Yes, dialog cancelled", true, true, Answer::Yes, "", false, false},
        {"exit, Yes, saved", true, true, Answer::Yes, "saved.QLP", true, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        closeEverything();
        fs::remove(dir.file("saved.QLP"));
        open("a.EDL");
        ASSERT_EQ(current->saveState, kFromEdl);
        const std::u16string edl = current->path;
        if (c.edited) {
            doc.currentMarker = 5;
            EXPECT_FALSE(markTabEdited(*current)); // the picture stays that of a tab from an EDL
        }
        prompt.texts.clear();
        if (c.answer)
            prompt.answers = {*c.answer};
        Chooser chooser;
        chooser.answer = *c.chosen ? path(c.chosen) : u"";

        bool stayOpen = false;
        if (c.exit) {
            saveModifiedTabsOnExit(doc, tabs, prompt, &stayOpen, &chooser);
            EXPECT_EQ(stayOpen, !c.closed);
        } else {
            const TabOutcome outcome = closeTab(doc, tabs, *current, prompt, &chooser);
            EXPECT_EQ(outcome.present, c.closed ? Presentation::NoDocument : Presentation::Nothing);
        }
        EXPECT_EQ(prompt.texts, c.answer ? std::vector<std::u16string>{formatMessage(kMsgSaveBeforeCloseTab, edl)}
                                         : std::vector<std::u16string>{});
        EdlDocument saved;
        EXPECT_EQ(loadProjectFile(path("saved.QLP"), saved) == LoadStatus::Ok, c.saved);
        if (c.saved) {
            EXPECT_EQ(saved.currentMarker, 5);
            if (c.exit) {
                EXPECT_EQ(tabs.first()->saveState, kSaved);
            }
        }
    }
}

} // namespace
