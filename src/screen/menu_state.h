#pragma once
// Which menu items are enabled for a given document state, and which accelerator commands the
// list view and the memo box pass on. Because the list only forwards a command whose menu item is
// enabled, these rules also decide which shortcuts work while the list has the focus.

#include "model/document.h"

#include <vector>

namespace qlp {

// The menus an item is kept in step in.
enum MenuSet : unsigned {
    kMenuBar = 1,   // the main window's menu bar
    kTabPopup = 2,  // the tab strip's pop-up menu
    kListPopup = 4, // the list's pop-up menu
};

// What the menu rules look at.
struct MenuStateInput {
    bool loaded = false;     // a document is loaded
    bool hasEntry = false;   // a current tab entry exists
    int32_t saveState = 0;   // of the current tab entry
    int32_t commentMode = 0; // 1: the memo box edits the work memo
    int32_t searchFlags = 0; // search criteria switched on
    int32_t searchRows = 0;  // rows of view 1, the search result
    int32_t currentView = 0;
};

MenuStateInput menuStateInput(const EdlDocument& doc, const TabEntry* currentEntry);

struct MenuItemState {
    int command;
    unsigned menus; // MenuSet bits
    bool enabled;
};

// The state of every item the menu worker maintains; items not listed stay enabled.
std::vector<MenuItemState> menuItemStates(const MenuStateInput& input);

// True for the accelerator commands the list view forwards to the main window when their menu
// item is enabled (and swallows when it is not). Every other command the list passes on to the
// list control's own window procedure.
bool listForwardsCommand(int command);

// What the memo box does with an accelerator command.
enum class MemoCommand {
    Forward,   // to the main window, when its menu item is enabled
    SelectAll, // select all text of the memo box
    Copy,      // copy the memo box's selection to the clipboard
    Ignore,
};
MemoCommand memoCommandAction(int command);

} // namespace qlp
