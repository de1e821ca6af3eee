#include "model/timecode.h"
#include "model/view_order.h"
#include "ops/sort_commands.h"
#include "resource.h"
#include "screen/typing_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qlp;

namespace {

int32_t tc(int h, int m, int s = 0) {
    return h * kFramesPerHour + m * kFramesPerMinute + s * 30;
}

struct Ev {
    int32_t src, rec, duration;
};

// View `view` lists the events in EDL order; every sort state is unsorted.
struct CommandFixture {
    EdlDocument doc;
    std::vector<EdlEvent> events;
    std::vector<EdlEvent*> rows;

    CommandFixture(const std::vector<Ev>& evs, int view) : events(evs.size()) {
        for (size_t i = 0; i < evs.size(); ++i) {
            EdlEvent& e = events[i];
            e.srcIn = e.srcSortKey = evs[i].src;
            e.recIn = e.recSortKey = evs[i].rec;
            e.duration = evs[i].duration;
            e.sequence = static_cast<int32_t>(i + 1);
            rows.push_back(&e);
        }
        doc.view[view] = rows.data();
        doc.viewCount[view] = static_cast<int32_t>(rows.size());
        doc.currentView = view;
        for (auto& row : doc.sortState)
            for (auto& s : row)
                s = kSortNone;
    }
    std::vector<int32_t> order() const {
        std::vector<int32_t> out;
        for (const EdlEvent* e : rows)
            out.push_back(e->sequence);
        return out;
    }
};

} // namespace

TEST(SortCommands, StateRowOrderAndStatus) {
    const std::vector<Ev> evs = {{tc(1, 0), tc(10, 2), 30}, {tc(3, 0), tc(10, 0), 10}, {tc(2, 0), tc(10, 1), 20}};
    struct Step {
        int command;
        std::vector<int32_t> order;
        int32_t source, duration, record;
        const char16_t* status;
    } steps[] = {
        {IDM_SORT_SOURCE, {1, 3, 2}, 1, 2, 2, u"状態: 3件のデータをP-VTR(素材TC)でソートしました。"},
        {IDM_SORT_SOURCE, {2, 3, 1}, 0, 2, 2, u"状態: 3件のデータをP-VTR(素材TC)でソートしました。"},
        {IDM_SORT_SOURCE, {1, 3, 2}, 1, 2, 2, u"状態: 3件のデータをP-VTR(素材TC)でソートしました。"},
        {IDM_SORT_DURATION, {2, 3, 1}, 2, 1, 2, u"状態: 3件のデータをデュレーションでソートしました。"},
        // The duration sort reset the source state: the next source sort starts ascending again.
        {IDM_SORT_SOURCE, {1, 3, 2}, 1, 2, 2, u"状態: 3件のデータをP-VTR(素材TC)でソートしました。"},
        {IDM_SORT_RECORD, {2, 3, 1}, 2, 2, 1, u"状態: 3件のデータをR-VTR(REC-TC)でソートしました。"},
        {IDM_SORT_RECORD, {1, 3, 2}, 2, 2, 0, u"状態: 3件のデータをR-VTR(REC-TC)でソートしました。"},
        {IDM_SORT_EDIT_ORDER, {1, 2, 3}, 2, 2, 2, u"状態: 3件のデータをEDIT順にしました。"},
    };
    for (int view : {kSearchResult, kReelUsage}) {
        CommandFixture f(evs, view);
        for (const Step& s : steps) {
            SCOPED_TRACE(std::to_string(view) + ": command " + std::to_string(s.command));
            const SortCommandOutcome o = runSortCommand(f.doc, s.command);
            EXPECT_TRUE(o.sorted);
            EXPECT_EQ(o.rows, 3);
            EXPECT_EQ(o.status, s.status);
            EXPECT_EQ(f.order(), s.order);
            const int32_t* row = f.doc.sortState[sortStateRow(view)];
            EXPECT_EQ(row[kSortSource], s.source);
            EXPECT_EQ(row[kSortDuration], s.duration);
            EXPECT_EQ(row[kSortRecord], s.record);
            // Only the shown view's row changes.
            EXPECT_EQ(f.doc.sortState[2 - view][kSortSource], kSortNone);
        }
    }
}

TEST(SortCommands, ListsRunningPastMidnightAndViewsThatDoNotSort) {
    // Source: 23:59:00 before 00:01:00, because both keys move an hour later; repeating keeps it.
    CommandFixture f({{tc(0, 1), tc(0, 1), 1}, {tc(23, 59), tc(23, 59), 2}}, 2);
    for (int32_t expectedState : {1, 0, 1}) {
        runSortCommand(f.doc, IDM_SORT_SOURCE);
        EXPECT_EQ(f.doc.sortState[sortStateRow(kReelUsage)][kSortSource], expectedState);
        EXPECT_EQ(f.order(), expectedState == 1 ? (std::vector<int32_t>{2, 1}) : (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(f.events[0].srcSortKey, tc(1, 1)); // no drift
        EXPECT_EQ(f.events[1].srcSortKey, tc(0, 59));
    }
    // Record: shifted only when the document has an hour-23 record time; else by R-VTR IN itself.
    runSortCommand(f.doc, IDM_SORT_RECORD);
    EXPECT_EQ(f.order(), (std::vector<int32_t>{1, 2}));
    f.doc.hasHour23 = 1;
    f.doc.sortState[sortStateRow(kReelUsage)][kSortRecord] = kSortNone;
    runSortCommand(f.doc, IDM_SORT_RECORD);
    EXPECT_EQ(f.order(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(f.events[0].recSortKey, tc(1, 1));

    // A single row sorts to itself and still reports it.
    CommandFixture one({{5, 5, 5}}, 1);
    EXPECT_EQ(runSortCommand(one.doc, IDM_SORT_DURATION).status,
              u"状態: 1件のデータをデュレーションでソートしました。");
    // kAllEvents is never reordered, and other commands are not sorts.
    CommandFixture all({{2, 2, 2}, {1, 1, 1}}, 0);
    EXPECT_FALSE(runSortCommand(all.doc, IDM_SORT_SOURCE).sorted);
    EXPECT_EQ(all.order(), (std::vector<int32_t>{1, 2}));
    EXPECT_FALSE(runSortCommand(one.doc, IDM_SEARCH).sorted);
}

// Shift+P, R, D, E are sort accelerators; typed into an edit control they are text.
TEST(TypingKeys, LettersAndDigitsWithoutCtrlOrAlt) {
    struct Row {
        int key;
        bool ctrl, alt, typing;
    } rows[] = {
        {'P', false, false, true},  {'R', false, false, true},   {'D', false, false, true},
        {'E', false, false, true},  {'A', false, false, true},   {'Z', false, false, true},
        {'0', false, false, true},  {'9', false, false, true},   {'F', true, false, false},
        {'M', true, false, false},  {'E', false, true, false},   {0x70, false, false, false},
        {0x73, false, true, false}, {0x20, false, false, false}, {0x2E, false, false, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(keyIsTyping(r.key, r.ctrl, r.alt), r.typing) << r.key << " ctrl " << r.ctrl << " alt " << r.alt;
}
