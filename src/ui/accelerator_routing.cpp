#include "ui/accelerator_routing.h"

#include "screen/menu_state.h"
#include "screen/typing_keys.h"
#include "ui/event_list.h"
#include "ui/subclass.h"
#include "ui/ui_state.h"

#include <commctrl.h>

#include <optional>

namespace qlp {

namespace {

void forwardIfEnabled(WPARAM wParam, LPARAM lParam) {
    const UiState& a = ui();
    if (menuItemAllowsCommand(a.controls.menuBar, LOWORD(wParam)))
        SendMessageW(a.mainWindow, WM_COMMAND, wParam, lParam);
}

std::optional<LRESULT> listMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
    switch (message) {
    case WM_KEYDOWN:
        if (onListMoveKey(list, wParam))
            return 0;
        break;
    case WM_COMMAND:
        if (listForwardsCommand(LOWORD(wParam))) {
            forwardIfEnabled(wParam, lParam);
            return 0;
        }
        break;
    }
    return std::nullopt;
}

std::optional<LRESULT> memoMessage(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
    if (message != WM_COMMAND)
        return std::nullopt;
    switch (memoCommandAction(LOWORD(wParam))) {
    case MemoCommand::Forward:
        forwardIfEnabled(wParam, lParam);
        break;
    case MemoCommand::SelectAll:
        SendMessageW(memo, EM_SETSEL, 0, -1);
        break;
    case MemoCommand::Copy:
        SendMessageW(memo, WM_COPY, 0, 0);
        break;
    case MemoCommand::Ignore:
        break;
    }
    return 0;
}

// An edit control, or a combo box whose drop-down list is open.
bool takesTyping(HWND focus) {
    wchar_t name[16] = {};
    if (!focus || !GetClassNameW(focus, name, 16))
        return false;
    if (lstrcmpiW(name, WC_EDITW) == 0)
        return true;
    return lstrcmpiW(name, WC_COMBOBOXW) == 0 && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

} // namespace

bool keyBelongsToFocusedControl(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    return keyIsTyping(static_cast<int>(msg.wParam), ctrl, alt) && takesTyping(GetFocus());
}

bool menuItemAllowsCommand(HMENU menuBar, int command) {
    return GetMenuState(menuBar, command, MF_BYCOMMAND) == 0;
}

void subclassAcceleratorTargets(HWND list, HWND memo) {
    subclassControl(list, listMessage);
    subclassControl(memo, memoMessage);
}

} // namespace qlp
