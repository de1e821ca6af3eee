#include "ui/subclass.h"

#include "ui/guard.h"

#include <commctrl.h>

namespace qlp {

namespace {

// The handler rides in the subclass id, so one procedure serves every subclassed control.
LRESULT CALLBACK routeToHandler(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, routeToHandler, id);
        return DefSubclassProc(control, message, wParam, lParam);
    }
    const auto handler = reinterpret_cast<SubclassHandler>(id);
    const std::optional<LRESULT> result = guarded(
        GetAncestor(control, GA_ROOT), [&] { return handler(control, message, wParam, lParam, data); },
        [] { return std::optional<LRESULT>(); });
    return result ? *result : DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

bool subclassControl(HWND control, SubclassHandler handler, DWORD_PTR data) {
    return SetWindowSubclass(control, routeToHandler, reinterpret_cast<UINT_PTR>(handler), data) != FALSE;
}

} // namespace qlp
