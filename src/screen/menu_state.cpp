#include "screen/menu_state.h"

#include <iterator>

namespace qlp {

MenuStateInput menuStateInput(const EdlDocument& doc, const TabEntry* currentEntry) {
    MenuStateInput in;
    in.loaded = doc.loaded != 0;
    in.hasEntry = currentEntry != nullptr;
    in.saveState = currentEntry ? currentEntry->saveState : 0;
    in.commentMode = doc.commentMode;
    in.searchFlags = doc.search.searchFlags;
    in.searchRows = doc.viewCount[kSearchResult];
    in.currentView = doc.currentView;
    return in;
}

std::vector<MenuItemState> menuItemStates(const MenuStateInput& in) {
    const bool loaded = in.loaded;
    std::vector<MenuItemState> out;
    out.reserve(std::size(kCommands));
    for (const CommandSpec& entry : kCommands) {
        bool enabled = false;
        switch (entry.needs) {
        case CommandNeeds::Nothing:
            continue;
        case CommandNeeds::Document:
            enabled = loaded;
            break;
        case CommandNeeds::ModifiedTab:
            // The tab decides, even while no document is loaded.
            enabled = in.hasEntry && in.saveState == kModified;
            break;
        case CommandNeeds::WorkMemoMode:
            enabled = loaded && in.commentMode == 1;
            break;
        case CommandNeeds::SearchCriteria:
            enabled = loaded && in.searchFlags != 0;
            break;
        case CommandNeeds::SearchResult:
            enabled = loaded && in.searchRows != 0;
            break;
        case CommandNeeds::SortableView:
            enabled = loaded && (in.currentView == kSearchResult || in.currentView == kReelUsage);
            break;
        }
        out.push_back({entry.id, entry.menus, enabled});
    }
    return out;
}

bool listForwardsCommand(int command) {
    const CommandSpec* entry = findCommand(command);
    return entry && (entry->menus & kMenuBar) != 0;
}

MemoCommand memoCommandAction(int command) {
    const CommandSpec* entry = findCommand(command);
    return entry ? entry->memo : MemoCommand::Ignore;
}

} // namespace qlp
