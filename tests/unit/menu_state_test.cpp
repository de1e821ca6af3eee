#include "screen/menu_state.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <map>

using namespace qlp;

namespace {

std::map<int, MenuItemState> states(const MenuStateInput& in) {
    std::map<int, MenuItemState> out;
    for (const auto& s : menuItemStates(in))
        EXPECT_TRUE(out.emplace(s.command, s).second) << "command " << s.command << " listed twice";
    return out;
}

MenuStateInput loadedInput() {
    MenuStateInput in;
    in.loaded = true;
    in.hasEntry = true;
    in.saveState = kFromEdl;
    return in;
}

} // namespace

TEST(MenuState, NothingButTheAlwaysOnItemsWorksWithoutADocument) {
    const auto s = states(MenuStateInput{});
    EXPECT_EQ(s.size(), 31u);
    for (const auto& [command, state] : s)
        EXPECT_FALSE(state.enabled) << command;
    // Open, exit, version and multi-selection are never grayed.
    for (int always : {IDM_OPEN, IDM_EXIT, IDM_ABOUT, IDM_MULTI_SELECT, IDM_COPY_MEMO})
        EXPECT_EQ(s.count(always), 0u) << always;
}

TEST(MenuState, WhichMenusEachItemIsKeptInStepIn) {
    const auto s = states(loadedInput());
    EXPECT_EQ(s.at(IDM_SAVE).menus, kMenuBar | kTabPopup | kListPopup);
    EXPECT_EQ(s.at(IDM_SAVE_AS).menus, kMenuBar | kTabPopup | kListPopup);
    EXPECT_EQ(s.at(IDM_CLOSE_TAB).menus, kMenuBar | kTabPopup);
    EXPECT_EQ(s.at(IDM_SORT_SOURCE).menus, kMenuBar | kListPopup);
    EXPECT_EQ(s.at(IDM_SORT_EDIT_ORDER).menus, kMenuBar | kListPopup);
    // The EDL export and the other list pop-up items are only grayed in the bar.
    EXPECT_EQ(s.at(IDM_EDL_EXPORT).menus, unsigned(kMenuBar));
    EXPECT_EQ(s.at(IDM_OFFSET).menus, unsigned(kMenuBar));
}

TEST(MenuState, SaveOnlyForAModifiedTab) {
    MenuStateInput in = loadedInput();
    EXPECT_FALSE(states(in).at(IDM_SAVE).enabled); // a fresh EDL
    in.saveState = kSaved;
    EXPECT_FALSE(states(in).at(IDM_SAVE).enabled);
    in.saveState = kModified;
    EXPECT_TRUE(states(in).at(IDM_SAVE).enabled);
    // The tab state decides, even while no document is loaded.
    in.loaded = false;
    EXPECT_TRUE(states(in).at(IDM_SAVE).enabled);
    in.hasEntry = false;
    EXPECT_FALSE(states(in).at(IDM_SAVE).enabled);
}

TEST(MenuState, ConditionalItemsOfALoadedDocument) {
    MenuStateInput in = loadedInput();
    auto s = states(in);
    EXPECT_TRUE(s.at(IDM_SAVE_AS).enabled);
    EXPECT_TRUE(s.at(IDM_RESET_LAYOUT).enabled);
    EXPECT_TRUE(s.at(IDM_RECALL_LAYOUT4).enabled);
    EXPECT_FALSE(s.at(IDM_WRITE_MEMO).enabled);
    EXPECT_FALSE(s.at(IDM_SEARCH).enabled);
    EXPECT_FALSE(s.at(IDM_CLEAR_SEARCH).enabled);
    EXPECT_FALSE(s.at(IDM_SORT_RECORD).enabled);

    in.commentMode = 1;
    in.searchFlags = 4;
    in.searchRows = 3;
    s = states(in);
    EXPECT_TRUE(s.at(IDM_WRITE_MEMO).enabled);
    EXPECT_TRUE(s.at(IDM_SEARCH).enabled);
    EXPECT_TRUE(s.at(IDM_CLEAR_SEARCH).enabled);

    for (int view : {kAllEvents, kSearchResult, kReelUsage}) {
        in.currentView = view;
        EXPECT_EQ(states(in).at(IDM_SORT_DURATION).enabled, view != kAllEvents) << view;
    }
}

TEST(MenuState, InputTakenFromTheDocumentAndTab) {
    EdlDocument doc;
    doc.loaded = 1;
    doc.commentMode = 1;
    doc.search.searchFlags = 16;
    doc.viewCount[kSearchResult] = 7;
    doc.currentView = kReelUsage;
    TabEntry entry;
    entry.saveState = kModified;
    const MenuStateInput in = menuStateInput(doc, &entry);
    EXPECT_TRUE(in.loaded && in.hasEntry);
    EXPECT_EQ(in.saveState, kModified);
    EXPECT_EQ(in.commentMode, 1);
    EXPECT_EQ(in.searchFlags, 16);
    EXPECT_EQ(in.searchRows, 7);
    EXPECT_EQ(in.currentView, kReelUsage);
    EXPECT_FALSE(menuStateInput(doc, nullptr).hasEntry);
}

TEST(AcceleratorRouting, ListForwardsEveryMenuCommandButNotCopy) {
    const int barCommands[] = {
        IDM_OPEN,
        IDM_SAVE,
        IDM_SAVE_AS,
        IDM_CLOSE_TAB,
        IDM_TEXT_LISTING,
        IDM_EDL_EXPORT,
        IDM_EXIT,
        IDM_SELECT_ALL,
        IDM_SWITCH_VIEW,
        IDM_SEARCH,
        IDM_CLEAR_SEARCH,
        IDM_SORT_SOURCE,
        IDM_SORT_RECORD,
        IDM_SORT_DURATION,
        IDM_SORT_EDIT_ORDER,
        IDM_WRITE_MEMO,
        IDM_TOGGLE_COMMENT,
        IDM_SET_MARKER,
        IDM_DELETE_MARKER,
        IDM_EDIT_LOCATE,
        IDM_OFFSET,
        IDM_MARKER_SETTINGS,
        IDM_REGISTER_LAYOUT1,
        IDM_REGISTER_LAYOUT2,
        IDM_REGISTER_LAYOUT3,
        IDM_REGISTER_LAYOUT4,
        IDM_RECALL_LAYOUT1,
        IDM_RECALL_LAYOUT2,
        IDM_RECALL_LAYOUT3,
        IDM_RECALL_LAYOUT4,
        IDM_RESET_LAYOUT,
        IDM_REEL_INFO,
        IDM_SIMPLE_NOTES,
        IDM_MULTI_SELECT,
        IDM_ABOUT,
    };
    for (int command : barCommands)
        EXPECT_TRUE(listForwardsCommand(command)) << command;
    EXPECT_FALSE(listForwardsCommand(IDM_COPY_MEMO));
    EXPECT_FALSE(listForwardsCommand(IDM_REGISTER_LAYOUT4 + 1)); // the gap before the recall commands
    EXPECT_FALSE(listForwardsCommand(IDC_LAYOUT1));
}

TEST(AcceleratorRouting, MemoBoxKeepsSelectAllAndCopyForItself) {
    EXPECT_EQ(memoCommandAction(IDM_TOGGLE_COMMENT), MemoCommand::Forward);
    EXPECT_EQ(memoCommandAction(IDM_WRITE_MEMO), MemoCommand::Forward);
    EXPECT_EQ(memoCommandAction(IDM_SELECT_ALL), MemoCommand::SelectAll);
    EXPECT_EQ(memoCommandAction(IDM_COPY_MEMO), MemoCommand::Copy);
    EXPECT_EQ(memoCommandAction(IDM_OPEN), MemoCommand::Ignore);
    EXPECT_EQ(memoCommandAction(IDM_SORT_DURATION), MemoCommand::Ignore);
}
