#include "ops/tab_commands.h"

#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace qlp;

namespace {

class ScriptedPrompt : public Prompt {
public:
    Answer askYesNo(std::u16string_view text) override {
        asked.emplace_back(text);
        const Answer a = answers.empty() ? Answer::No : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return a;
    }
    Answer askYesNoCancel(std::u16string_view text) override {
        ADD_FAILURE() << "unexpected Yes/No/Cancel question";
        asked.emplace_back(text);
        return Answer::Cancel;
    }
    void warn(std::u16string_view text, bool) override { warnings.emplace_back(text); }

    std::vector<Answer> answers;
    std::vector<std::u16string> asked;
    std::vector<std::u16string> warnings;
};

// Four tabs in a scratch directory: a saved project, a fresh EDL and two modified projects, the
// first of which is the one loaded. Every work file holds the converted sample EDL.
class ExitSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("qlp-exit-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        tabs.setWorkDirectory(fromFsPath(dir));
        const std::u16string edl = fromFsPath(std::filesystem::path(QLP_TEST_DATA_DIR) / "ndf_basic.EDL");
        const int32_t states[] = {kSaved, kFromEdl, kModified, kModified};
        for (int i = 0; i < 4; ++i) {
            TabEntry* e = tabs.append();
            e->saveState = states[i];
            e->fileId = i;
            e->path = fromFsPath(dir / ("tab" + std::to_string(i) + ".QLP"));
            e->workPath = tabs.workPathFor(i);
            ASSERT_EQ(convertEdlFile(edl, e->workPath), ConvertStatus::Ok);
            entries.push_back(e);
        }
        entries[2]->active = 1;
        ASSERT_EQ(loadDocument(doc, tabs, prompt), 1);
        ASSERT_TRUE(doc.loaded);
    }
    void TearDown() override {
        releaseDocument(doc);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::filesystem::path dir;
    TabList tabs;
    std::vector<TabEntry*> entries;
    EdlDocument doc;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(ExitSaveTest, AsksOnlyAboutModifiedProjectTabs) {
    EXPECT_EQ(saveModifiedTabsOnExit(doc, tabs, prompt), 2);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0], formatMessage(kMsgSaveBeforeExit, entries[2]->path));
    EXPECT_EQ(prompt.asked[1], formatMessage(kMsgSaveBeforeExit, entries[3]->path));
    // Answering No writes nothing.
    EXPECT_FALSE(pathExists(entries[2]->path));
    EXPECT_FALSE(pathExists(entries[3]->path));
}

TEST_F(ExitSaveTest, YesSavesTheLoadedDocumentAndCopiesOtherWorkFiles) {
    doc.currentMarker = 5; // a change only the document in memory holds
    prompt.answers = {Answer::Yes, Answer::Yes};
    saveModifiedTabsOnExit(doc, tabs, prompt);
    EXPECT_TRUE(prompt.warnings.empty());

    EdlDocument saved;
    ASSERT_EQ(loadProjectFile(entries[2]->path, saved), LoadStatus::Ok);
    EXPECT_EQ(saved.currentMarker, 5);
    EXPECT_EQ(saved.eventCount(), doc.eventCount());

    std::vector<uint8_t> copied, work;
    ASSERT_TRUE(readWholeFile(entries[3]->path, copied));
    ASSERT_TRUE(readWholeFile(entries[3]->workPath, work));
    EXPECT_EQ(copied, work);
    EXPECT_FALSE(pathExists(entries[0]->path));
    EXPECT_FALSE(pathExists(entries[1]->path));
    EXPECT_EQ(entries[2]->saveState, kSaved);
    EXPECT_EQ(entries[3]->saveState, kSaved);
}

// A file that cannot be written is reported (string 106) for the loaded tab and for the others,
// and those tabs stay modified so that the caller can keep the program open.
TEST_F(ExitSaveTest, AFailedWriteIsReportedAndTheTabStaysModified) {
    entries[2]->path = fromFsPath(dir / "no folder" / "tab2.QLP");
    entries[3]->path = fromFsPath(dir / "no folder" / "tab3.QLP");
    prompt.answers = {Answer::Yes, Answer::Yes};
    bool failed = false;
    EXPECT_EQ(saveModifiedTabsOnExit(doc, tabs, prompt, &failed), 2);
    EXPECT_TRUE(failed);
    EXPECT_EQ(prompt.warnings, (std::vector<std::u16string>{formatMessage(kMsgCannotOpenPath, entries[2]->path),
                                                            formatMessage(kMsgCannotOpenPath, entries[3]->path)}));
    EXPECT_EQ(entries[2]->saveState, kModified);
    EXPECT_EQ(entries[3]->saveState, kModified);
}

TEST_F(ExitSaveTest, NothingIsAskedWithoutALoadedDocument) {
    doc.loaded = 0;
    EXPECT_EQ(saveModifiedTabsOnExit(doc, tabs, prompt), 0);
    EXPECT_TRUE(prompt.asked.empty());
}
