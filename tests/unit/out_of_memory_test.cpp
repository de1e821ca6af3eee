// Memory running out at any allocation of a conversion, a load, a save or a memo written into the
// document: the core's entry points report it by their result and never throw. This program's operator new fails the
// n-th allocation after it is armed, on whichever thread makes it.

#include "model/edl_reader.h"
#include "model/project_file.h"
#include "ops/memos.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

namespace {

std::atomic<long> gAllocationsBeforeFailure{-1}; // -1: never fail
std::atomic<long> gAllocations{0};

} // namespace

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (gAllocationsBeforeFailure.load(std::memory_order_relaxed) >= 0 &&
        gAllocationsBeforeFailure.fetch_sub(1, std::memory_order_relaxed) == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// The replacement pair allocates with malloc, so free is the matching release.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace qlp;
using namespace qlp::test;

namespace {

// Runs `step` once to count its allocations, then once with each of them failing in turn, and
// hands every result to `check`.
template <typename Step, typename Check> void failEachAllocation(Step step, Check check) {
    gAllocations = 0;
    check(step(), -1);
    const long count = gAllocations;
    ASSERT_GT(count, 0);
    for (long n = 0; n < count + 8; ++n) {
        gAllocationsBeforeFailure = n;
        decltype(step()) result{};
        try {
            result = step();
        } catch (const std::exception& e) {
            gAllocationsBeforeFailure = -1;
            ADD_FAILURE() << "allocation " << n << " failed with an exception: " << e.what();
            continue;
        }
        gAllocationsBeforeFailure = -1;
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
            const long armed = gAllocationsBeforeFailure.exchange(-1);
            writeBytes(target, "old");
            gAllocationsBeforeFailure = armed;
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

// A memo is allocated before the event lets its old one go: when the document's memory cannot
// grow, writing reports NoMemory and the event keeps the memo it had.
TEST(OutOfMemory, AWorkMemoThatCannotBeStoredLeavesThePreviousOne) {
    const ScratchDir dir;
    const std::u16string work = u16(dir.file("WORK"));
    ASSERT_EQ(convertEdlFile(u16(dataPath("ndf_basic.EDL")), work), ConvertStatus::Ok);
    EdlDocument doc;
    ASSERT_EQ(loadProjectFile(work, doc), LoadStatus::Ok);
    doc.commentMode = 1;
    doc.currentRow[kAllEvents] = 1;
    const EdlEvent& event = *doc.view[kAllEvents][1];
    ASSERT_EQ(writeWorkMemo(doc, u"前のメモ").result, MemoResult::Stored);
    // Each memo larger than a block of the document's memory takes a block of its own, so the
    // document's list of blocks grows; the first time that list needs more room, it gets none.
    std::u16string memo(200000, u'a');
    memo.reserve(memo.size() + 64); // growing it below takes no allocation of its own
    gAllocationsBeforeFailure = 0;
    MemoResult result = MemoResult::Stored;
    const char16_t* previous = nullptr;
    int32_t previousLength = 0;
    for (int i = 0; i < 64 && result == MemoResult::Stored; ++i) {
        previous = event.workMemo;
        previousLength = event.workMemoLength;
        memo.push_back(static_cast<char16_t>(u'A' + i)); // longer each time: it never fits the block it has
        try {
            result = writeWorkMemo(doc, memo).result;
        } catch (const std::bad_alloc&) {
            result = MemoResult::Ignored;
        }
    }
    gAllocationsBeforeFailure = -1;
    EXPECT_EQ(result, MemoResult::NoMemory);
    EXPECT_EQ(event.workMemo, previous);
    EXPECT_EQ(event.workMemoLength, previousLength);
    EXPECT_EQ(event.hasWorkMemo, 1);
    // The document goes on taking memos once memory is there again.
    EXPECT_EQ(writeWorkMemo(doc, u"後のメモ").result, MemoResult::Stored);
    EXPECT_EQ(workMemoText(event), u"後のメモ");
}
