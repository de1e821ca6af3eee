#pragma once
// Which menu items are enabled for a given document state, and which accelerator commands the
// list view and the memo box pass on. Because the list only forwards a command whose menu item is
// enabled, these rules also decide which shortcuts work while the list has the focus.

#include "model/document.h"
#include "screen/command_table.h"

#include <vector>

namespace qlp {

// What the menu rules look at.
struct MenuStateInput {
    bool loaded = false;     // a document is loaded
    bool hasEntry = false;   // a current tab entry exists
    int32_t saveState = 0;   // of the current tab entry
    int32_t commentMode = 0; // 1: the memo box edits the work memo
    int32_t searchFlags = 0; // search criteria switched on
    int32_t searchRows = 0;  // rows of kSearchResult, the search result
    int32_t currentView = kAllEvents;
};

MenuStateInput menuStateInput(const EdlDocument& doc, const TabEntry* currentEntry);

struct MenuItemState {
    int command;
    unsigned menus; // MenuSet bits
    bool enabled;
};

// The state of every item the menu worker maintains (the commands of the command table that need
// something); items not listed stay enabled.
std::vector<MenuItemState> menuItemStates(const MenuStateInput& input);

// True for the accelerator commands the list view forwards to the main window when their menu
// item is enabled (and swallows when it is not). Every other command the list passes on to the
// list control's own window procedure.
bool listForwardsCommand(int command);

// What the memo box does with an accelerator command.
MemoCommand memoCommandAction(int command);

} // namespace qlp
