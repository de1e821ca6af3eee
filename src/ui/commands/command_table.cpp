#include "ui/commands/command_table.h"

#include "screen/command_table.h"
#include "ui/commands/annotation_commands.h"
#include "ui/commands/document_commands.h"
#include "ui/commands/search_commands.h"
#include "ui/commands/sort_commands.h"
#include "ui/dialogs/locate_dialog.h"
#include "ui/dialogs/output_dialogs.h"
#include "ui/dialogs/version_dialog.h"
#include "ui/event_list.h"
#include "ui/list_columns.h"
#include "ui/ui_state.h"

#include <iterator>

namespace qlp {

namespace {

struct CommandCall {
    HWND hwnd;
    int id;
    int code;
    LPARAM lParam;
};

using CommandHandler = void (*)(const CommandCall&);

struct CommandHandlerRow {
    int id;
    CommandHandler run; // null: the command belongs to the control whose accelerator it is
};

void openFiles(const CommandCall& call) {
    OpenRequest request;
    request.fromCommandLine = call.code == OPEN_FROM_COMMAND_LINE;
    if (request.fromCommandLine && call.lParam)
        request.commandLine = reinterpret_cast<const wchar_t*>(call.lParam);
    onOpen(request);
}

void registerLayout(const CommandCall& call) {
    registerColumnLayout(call.id - IDM_REGISTER_LAYOUT1);
}

void recallLayout(const CommandCall& call) {
    recallColumnLayout(call.id - IDM_RECALL_LAYOUT1);
}

void sortView(const CommandCall& call) {
    onSortCommand(call.id);
}

// Row for row with kCommands, which the static assertions below hold to.
constexpr CommandHandlerRow kHandlers[] = {
    {IDM_OPEN, openFiles},
    {IDM_SAVE, [](const CommandCall&) { onSave(); }},
    {IDM_SAVE_AS, [](const CommandCall&) { onSaveAs(); }},
    {IDM_CLOSE_TAB, [](const CommandCall&) { onCloseTab(); }},
    {IDM_TEXT_LISTING, [](const CommandCall&) { onListingCommand(); }},
    {IDM_EDL_EXPORT, [](const CommandCall&) { onEdlExportCommand(); }},
    {IDM_EXIT, [](const CommandCall& call) { PostMessageW(call.hwnd, WM_CLOSE, 0, 0); }},
    {IDM_SELECT_ALL, [](const CommandCall&) { selectAllRows(); }},
    {IDM_SWITCH_VIEW, [](const CommandCall&) { switchListDisplay(); }},
    {IDM_SEARCH, [](const CommandCall&) { onSearch(); }},
    {IDM_CLEAR_SEARCH, [](const CommandCall&) { onClearSearch(); }},
    {IDM_SORT_SOURCE, sortView},
    {IDM_SORT_RECORD, sortView},
    {IDM_SORT_DURATION, sortView},
    {IDM_SORT_EDIT_ORDER, sortView},
    {IDM_WRITE_MEMO, [](const CommandCall&) { onWriteWorkMemo(); }},
    {IDM_TOGGLE_COMMENT, [](const CommandCall&) { onToggleCommentMode(); }},
    {IDM_SET_MARKER, [](const CommandCall&) { onSetMarker(); }},
    {IDM_DELETE_MARKER, [](const CommandCall&) { onDeleteMarker(); }},
    {IDM_EDIT_LOCATE, [](const CommandCall&) { onEditLocate(); }},
    {IDM_OFFSET, [](const CommandCall&) { onOffsetCommand(); }},
    {IDM_MARKER_SETTINGS, [](const CommandCall&) { onMarkerSettings(); }},
    {IDM_REGISTER_LAYOUT1, registerLayout},
    {IDM_REGISTER_LAYOUT2, registerLayout},
    {IDM_REGISTER_LAYOUT3, registerLayout},
    {IDM_REGISTER_LAYOUT4, registerLayout},
    {IDM_RECALL_LAYOUT1, recallLayout},
    {IDM_RECALL_LAYOUT2, recallLayout},
    {IDM_RECALL_LAYOUT3, recallLayout},
    {IDM_RECALL_LAYOUT4, recallLayout},
    {IDM_RESET_LAYOUT, [](const CommandCall&) { resetColumnLayouts(); }},
    {IDM_REEL_INFO, [](const CommandCall&) { onReelInfo(); }},
    {IDM_SIMPLE_NOTES, [](const CommandCall&) { onSimpleNotes(); }},
    {IDM_MULTI_SELECT, [](const CommandCall&) { toggleMultiSelection(ui().workers); }},
    {IDM_ABOUT, [](const CommandCall& call) { runVersionDialog(call.hwnd); }},
    {IDM_COPY_MEMO, nullptr}, // the memo box copies its own selection
};

constexpr bool handlersFollowTheTable() {
    for (size_t i = 0; i < std::size(kCommands); ++i)
        if (kHandlers[i].id != kCommands[i].id)
            return false;
    return true;
}
static_assert(std::size(kHandlers) == std::size(kCommands), "every command of the table needs its handler row");
static_assert(handlersFollowTheTable(), "the handler rows must follow the command table row for row");

} // namespace

bool runCommand(HWND hwnd, int id, int code, LPARAM lParam) {
    const CommandSpec* entry = findCommand(id);
    if (!entry)
        return false;
    const CommandHandlerRow& row = kHandlers[entry - kCommands];
    if (row.run)
        row.run({hwnd, id, code, lParam});
    return true;
}

} // namespace qlp
