#include "screen/menu_state.h"

#include "resource.h"

#include <algorithm>
#include <iterator>

namespace qlp {

MenuStateInput menuStateInput(const EdlDocument& doc, const TabEntry* currentEntry) {
    MenuStateInput in;
    in.loaded = doc.loaded != 0;
    in.hasEntry = currentEntry != nullptr;
    in.saveState = currentEntry ? currentEntry->saveState : 0;
    in.commentMode = doc.commentMode;
    in.searchFlags = doc.search.searchFlags;
    in.searchRows = doc.viewCount[1];
    in.currentView = doc.currentView;
    return in;
}

std::vector<MenuItemState> menuItemStates(const MenuStateInput& in) {
    // Commands of the menu bar that need nothing but a loaded document.
    static constexpr int kNeedDocument[] = {
        IDM_TEXT_LISTING,     IDM_EDL_EXPORT,       IDM_SWITCH_VIEW,      IDM_RESET_LAYOUT,   IDM_REGISTER_LAYOUT1,
        IDM_REGISTER_LAYOUT2, IDM_REGISTER_LAYOUT3, IDM_REGISTER_LAYOUT4, IDM_RECALL_LAYOUT1, IDM_RECALL_LAYOUT2,
        IDM_RECALL_LAYOUT3,   IDM_RECALL_LAYOUT4,   IDM_TOGGLE_COMMENT,   IDM_SIMPLE_NOTES,   IDM_EDIT_LOCATE,
        IDM_MARKER_SETTINGS,  IDM_DELETE_MARKER,    IDM_SET_MARKER,       IDM_SELECT_ALL,     IDM_OFFSET,
        IDM_REEL_INFO,
    };
    static constexpr int kSorts[] = {IDM_SORT_SOURCE, IDM_SORT_RECORD, IDM_SORT_DURATION, IDM_SORT_EDIT_ORDER};

    const bool loaded = in.loaded;
    std::vector<MenuItemState> out;
    out.push_back({IDM_SAVE, kMenuBar | kTabPopup | kListPopup, in.hasEntry && in.saveState == kModified});
    out.push_back({IDM_SAVE_AS, kMenuBar | kTabPopup | kListPopup, loaded});
    out.push_back({IDM_CLOSE_TAB, kMenuBar | kTabPopup, loaded});
    for (int command : kNeedDocument)
        out.push_back({command, kMenuBar, loaded});
    out.push_back({IDM_WRITE_MEMO, kMenuBar, loaded && in.commentMode == 1});
    out.push_back({IDM_SEARCH, kMenuBar, loaded && in.searchFlags != 0});
    out.push_back({IDM_CLEAR_SEARCH, kMenuBar, loaded && in.searchRows != 0});
    const bool sortable = loaded && (in.currentView == 1 || in.currentView == 2);
    for (int command : kSorts)
        out.push_back({command, kMenuBar | kListPopup, sortable});
    return out;
}

bool listForwardsCommand(int command) {
    static constexpr int kForwarded[] = {
        IDM_ABOUT,
        IDM_EXIT,
        IDM_SAVE_AS,
        IDM_SAVE,
        IDM_OFFSET,
        IDM_TOGGLE_COMMENT,
        IDM_CLEAR_SEARCH,
        IDM_REGISTER_LAYOUT1,
        IDM_REGISTER_LAYOUT2,
        IDM_REGISTER_LAYOUT3,
        IDM_REGISTER_LAYOUT4,
        IDM_RECALL_LAYOUT1,
        IDM_RECALL_LAYOUT2,
        IDM_RECALL_LAYOUT3,
        IDM_RECALL_LAYOUT4,
        IDM_SEARCH,
        IDM_WRITE_MEMO,
        IDM_SELECT_ALL,
        IDM_OPEN,
        IDM_REEL_INFO,
        IDM_CLOSE_TAB,
        IDM_TEXT_LISTING,
        IDM_SORT_RECORD,
        IDM_SORT_DURATION,
        IDM_SORT_SOURCE,
        IDM_SET_MARKER,
        IDM_MULTI_SELECT,
        IDM_MARKER_SETTINGS,
        IDM_EDIT_LOCATE,
        IDM_SWITCH_VIEW,
        IDM_DELETE_MARKER,
        IDM_RESET_LAYOUT,
        IDM_SORT_EDIT_ORDER,
        IDM_EDL_EXPORT,
        IDM_SIMPLE_NOTES,
    };
    return std::find(std::begin(kForwarded), std::end(kForwarded), command) != std::end(kForwarded);
}

MemoCommand memoCommandAction(int command) {
    switch (command) {
    case IDM_TOGGLE_COMMENT:
    case IDM_WRITE_MEMO:
        return MemoCommand::Forward;
    case IDM_SELECT_ALL:
        return MemoCommand::SelectAll;
    case IDM_COPY_MEMO:
        return MemoCommand::Copy;
    default:
        return MemoCommand::Ignore;
    }
}

} // namespace qlp
