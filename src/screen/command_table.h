#pragma once
// The command table: every menu and accelerator command of the main window, once, with what it
// needs before its menu items are enabled, which menus keep its item in step, and what the memo
// box does with its accelerator. The menu states, the accelerator routing of the list view and the
// memo box, and the main window's dispatch (whose handlers sit row for row in
// ui/commands/command_table.cpp, so this table stays free of window code) all read it.
// Adding a command: its resource (id, menu text, accelerator) and one row here and there.

#include "resource.h"

#include <cstdint>
#include <span>

namespace qlp {

// The menus an item is kept in step in.
enum MenuSet : unsigned {
    kMenuBar = 1,   // the main window's menu bar
    kTabPopup = 2,  // the tab strip's pop-up menu
    kListPopup = 4, // the list's pop-up menu
};

// What a command needs before its menu items are enabled.
enum class CommandNeeds : uint8_t {
    Nothing,        // never grayed
    Document,       // a loaded document
    ModifiedTab,    // a current tab entry with unsaved changes (loaded or not)
    WorkMemoMode,   // a loaded document whose memo box edits the work memo
    SearchCriteria, // a loaded document with a search criterion switched on
    SearchResult,   // a loaded document whose search result has rows
    SortableView,   // a loaded document showing the search result or the reel usage
};

// What the memo box does with an accelerator command while it has the focus.
enum class MemoCommand : uint8_t {
    Ignore,
    Forward,   // to the main window, when its menu item is enabled
    SelectAll, // select all text of the memo box
    Copy,      // copy the memo box's selection to the clipboard
};

struct CommandSpec {
    int id;
    CommandNeeds needs;
    // The menus whose item of the command follows `needs` (MenuSet bits); for a command that
    // needs nothing, kMenuBar marks an item of the menu bar that is never grayed. The list view
    // forwards exactly the commands of the menu bar.
    unsigned menus;
    MemoCommand memo = MemoCommand::Ignore;
};

// In the order of the menu bar, then the accelerator-only commands.
inline constexpr CommandSpec kCommands[] = {
    {IDM_OPEN, CommandNeeds::Nothing, kMenuBar},
    {IDM_SAVE, CommandNeeds::ModifiedTab, kMenuBar | kTabPopup | kListPopup},
    {IDM_SAVE_AS, CommandNeeds::Document, kMenuBar | kTabPopup | kListPopup},
    {IDM_CLOSE_TAB, CommandNeeds::Document, kMenuBar | kTabPopup},
    {IDM_TEXT_LISTING, CommandNeeds::Document, kMenuBar},
    {IDM_EDL_EXPORT, CommandNeeds::Document, kMenuBar},
    {IDM_EXIT, CommandNeeds::Nothing, kMenuBar},
    {IDM_SELECT_ALL, CommandNeeds::Document, kMenuBar, MemoCommand::SelectAll},
    {IDM_SWITCH_VIEW, CommandNeeds::Document, kMenuBar},
    {IDM_SEARCH, CommandNeeds::SearchCriteria, kMenuBar},
    {IDM_CLEAR_SEARCH, CommandNeeds::SearchResult, kMenuBar},
    {IDM_SORT_SOURCE, CommandNeeds::SortableView, kMenuBar | kListPopup},
    {IDM_SORT_RECORD, CommandNeeds::SortableView, kMenuBar | kListPopup},
    {IDM_SORT_DURATION, CommandNeeds::SortableView, kMenuBar | kListPopup},
    {IDM_SORT_EDIT_ORDER, CommandNeeds::SortableView, kMenuBar | kListPopup},
    {IDM_WRITE_MEMO, CommandNeeds::WorkMemoMode, kMenuBar, MemoCommand::Forward},
    {IDM_TOGGLE_COMMENT, CommandNeeds::Document, kMenuBar, MemoCommand::Forward},
    {IDM_SET_MARKER, CommandNeeds::Document, kMenuBar},
    {IDM_DELETE_MARKER, CommandNeeds::Document, kMenuBar},
    {IDM_EDIT_LOCATE, CommandNeeds::Document, kMenuBar},
    {IDM_OFFSET, CommandNeeds::Document, kMenuBar},
    {IDM_MARKER_SETTINGS, CommandNeeds::Document, kMenuBar},
    {IDM_REGISTER_LAYOUT1, CommandNeeds::Document, kMenuBar},
    {IDM_REGISTER_LAYOUT2, CommandNeeds::Document, kMenuBar},
    {IDM_REGISTER_LAYOUT3, CommandNeeds::Document, kMenuBar},
    {IDM_REGISTER_LAYOUT4, CommandNeeds::Document, kMenuBar},
    {IDM_RECALL_LAYOUT1, CommandNeeds::Document, kMenuBar},
    {IDM_RECALL_LAYOUT2, CommandNeeds::Document, kMenuBar},
    {IDM_RECALL_LAYOUT3, CommandNeeds::Document, kMenuBar},
    {IDM_RECALL_LAYOUT4, CommandNeeds::Document, kMenuBar},
    {IDM_RESET_LAYOUT, CommandNeeds::Document, kMenuBar},
    {IDM_REEL_INFO, CommandNeeds::Document, kMenuBar},
    {IDM_SIMPLE_NOTES, CommandNeeds::Document, kMenuBar},
    {IDM_MULTI_SELECT, CommandNeeds::Nothing, kMenuBar},
    {IDM_ABOUT, CommandNeeds::Nothing, kMenuBar},
    {IDM_COPY_MEMO, CommandNeeds::Nothing, 0, MemoCommand::Copy},
};

// The row of a command, or null for an identifier that is no command of the table.
constexpr const CommandSpec* findCommand(int id) {
    for (const CommandSpec& entry : kCommands)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

// True when no identifier has two rows.
constexpr bool commandIdsUnique(std::span<const CommandSpec> table) {
    for (size_t i = 0; i < table.size(); ++i)
        for (size_t j = i + 1; j < table.size(); ++j)
            if (table[i].id == table[j].id)
                return false;
    return true;
}
static_assert(commandIdsUnique(kCommands), "a command is listed twice");

} // namespace qlp
