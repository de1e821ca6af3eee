#include "ui/accelerator_routing.h"

#include "screen/menu_state.h"
#include "screen/typing_keys.h"
#include "ui/event_list.h"
#include "ui/ui_state.h"

#include <commctrl.h>

namespace qlp {

namespace {

constexpr UINT_PTR kRoutingSubclass = 1;

void forwardIfEnabled(WPARAM wParam, LPARAM lParam) {
    const UiState& a = ui();
    if (menuItemAllowsCommand(a.controls.menuBar, LOWORD(wParam)))
        SendMessageW(a.mainWindow, WM_COMMAND, wParam, lParam);
}

LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_KEYDOWN:
        if (onListMoveKey(hwnd, wParam))
            return 0;
        break;
    case WM_COMMAND:
        if (listForwardsCommand(LOWORD(wParam))) {
            forwardIfEnabled(wParam, lParam);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, listProc, kRoutingSubclass);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK memoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_COMMAND:
        switch (memoCommandAction(LOWORD(wParam))) {
        case MemoCommand::Forward:
            forwardIfEnabled(wParam, lParam);
            break;
        case MemoCommand::SelectAll:
            SendMessageW(hwnd, EM_SETSEL, 0, -1);
            break;
        case MemoCommand::Copy:
            SendMessageW(hwnd, WM_COPY, 0, 0);
            break;
        case MemoCommand::Ignore:
            break;
        }
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, memoProc, kRoutingSubclass);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
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
    SetWindowSubclass(list, listProc, kRoutingSubclass, 0);
    SetWindowSubclass(memo, memoProc, kRoutingSubclass, 0);
}

} // namespace qlp
