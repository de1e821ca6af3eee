// Memory running out at any allocation of a conversion, a load, a save, or a memo or note body
// written into the document: the core's entry points report it by their result and never throw.
// This program's operator new fails the n-th allocation after it is armed, on whichever thread
// makes it.

#include "common/fail_allocations.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "ops/memos.h"
#include "ops/simple_notes.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace qlp;
using namespace qlp::test;

namespace {

// Runs `step` once to count its allocations, then once with each of them failing in turn, and
// hands every result to `check`.
template <typename Step, typename Check> void failEachAllocation(Step step, Check check) {
    FailAllocations::count();
    check(step(), -1);
    const long count = FailAllocations::counted();
    ASSERT_GT(count, 0);
    for (long n = 0; n < count + 8; ++n) {
        FailAllocations::failAfter(n);
        decltype(step()) result{};
        try {
            result = step();
        } catch (const std::exception& e) {
            FailAllocations::failAfter(-1);
            ADD_FAILURE() << "allocation " << n << " failed with an exception: " << e.what();
            continue;
        }
        FailAllocations::failAfter(-1);
        check(result, n);
    }
}

bool leftoverTemporaries(const ScratchDir& dir) {
    for (const auto& f : std::filesystem::directory_iterator(toFsPath(dir.dir16())))
        if (f.path().string().ends_with(".qlp-saving"))
            return true;
    return false;
}

} // namespace

TEST(OutOfMemory, ConversionLoadAndSaveReportItAndLeaveNoHalfFiles) {
    const ScratchDir dir;
    const std::u16string edl = u16(dataPath("comments_cp932.EDL"));
    const std::u16string work = u16(dir.file("WORK"));
    int noMemory = 0;
    failEachAllocation([&] { return convertEdlFile(edl, work); },
                       [&](ConvertStatus status, long n) {
                           SCOPED_TRACE(n);
                           noMemory += status == ConvertStatus::NoMemory;
                           if (status != ConvertStatus::Ok) {
                               EXPECT_FALSE(pathExists(work));
                           }
                           EXPECT_FALSE(leftoverTemporaries(dir));
                           removeFile(work);
                       });
    EXPECT_GT(noMemory, 0);

    ASSERT_EQ(convertEdlFile(edl, work), ConvertStatus::Ok);
    int loaded = 0;
    noMemory = 0;
    RecordingPrompt prompt;
    EdlDocument doc;
    failEachAllocation([&] { return loadProjectFile(work, doc).status; },
                       [&](LoadStatus status, long n) {
                           SCOPED_TRACE(n);
                           EXPECT_TRUE(status == LoadStatus::Ok || status == LoadStatus::NoMemory ||
                                       status == LoadStatus::CannotOpen);
                           loaded += status == LoadStatus::Ok;
                           noMemory += status == LoadStatus::NoMemory;
                           EXPECT_EQ(doc.events != nullptr, status == LoadStatus::Ok);
                       });
    EXPECT_GT(loaded, 0);
    EXPECT_GT(noMemory, 0);

    ASSERT_EQ(loadProjectFile(work, doc), LoadStatus::Ok);
    const std::string target = dir.file("SAVED.QLP");
    const std::u16string target16 = u16(target);
    ASSERT_EQ(saveDocument(u16(target), doc, prompt), 0);
    const std::vector<uint8_t> image = readBytes(target);
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    failEachAllocation(
        [&] {
            const long armed = FailAllocations::failAfter(-1);
            writeBytes(target, "old");
            FailAllocations::failAfter(armed);
            return saveDocument(target16, doc, prompt);
        },
        [&](int result, long n) {
            SCOPED_TRACE(n);
            EXPECT_TRUE(result == 0 || result == -1);
            const std::vector<uint8_t> now = readBytes(target);
            EXPECT_TRUE(now == (result == 0 ? image : old)) << result << " " << now.size(); // never half written
            EXPECT_FALSE(leftoverTemporaries(dir));
        });
}

// A memo or a note body is allocated before the old text is let go: when the document's memory
// cannot grow, storing reports it and the event or note keeps the text it had; once memory is there
// again the next store works.
TEST(OutOfMemory, AMemoOrNoteBodyThatCannotBeStoredLeavesThePreviousOne) {
    const ScratchDir dir;
    const std::u16string work = u16(dir.file("WORK"));
    ASSERT_EQ(convertEdlFile(u16(dataPath("ndf_basic.EDL")), work), ConvertStatus::Ok);
    EdlDocument doc;
    ASSERT_EQ(loadProjectFile(work, doc), LoadStatus::Ok);
    doc.commentMode = 1;
    doc.currentRow[kAllEvents] = 1;
    const EdlEvent& event = *doc.view[kAllEvents][1];
    SimpleNote* note = newNote(doc);
    ASSERT_NE(note, nullptr);
    struct Store {
        const char* name;
        size_t length; // long enough that two never share a block of the document's memory
        std::function<bool(std::u16string_view)> write; // false: no memory
        std::function<std::u16string_view()> stored;
    };
    const Store stores[] = {
        {"work memo", 200000,
         [&](std::u16string_view text) { return writeWorkMemo(doc, text).result != MemoResult::NoMemory; },
         [&] { return workMemoText(event); }},
        {"note body", 40000, [&](std::u16string_view text) { return storeNoteBody(doc, *note, text); },
         [&] { return noteBody(*note); }},
    };
    for (const Store& store : stores) {
        SCOPED_TRACE(store.name);
        ASSERT_TRUE(store.write(u"前の文"));
        // Each text takes new room in the document's memory, so the document's list of blocks
        // grows; the first time that list needs more room, it gets none.
        std::u16string text(store.length, u'a');
        text.reserve(text.size() + 64); // growing it below takes no allocation of its own
        FailAllocations::count();
        FailAllocations::failAfter(0);
        bool written = true;
        std::u16string_view previous;
        for (int i = 0; i < 64 && written; ++i) {
            previous = store.stored();
            text.push_back(static_cast<char16_t>(u'A' + i)); // longer each time: it never fits the room it has
            try {
                written = store.write(text);
            } catch (const std::bad_alloc&) {
                ADD_FAILURE() << "the store threw";
                break;
            }
        }
        FailAllocations::failAfter(-1);
        EXPECT_FALSE(written);
        EXPECT_EQ(store.stored().data(), previous.data());
        EXPECT_EQ(store.stored(), previous);
        EXPECT_TRUE(store.write(u"後の文"));
        EXPECT_EQ(store.stored(), u"後の文");
    }
}
