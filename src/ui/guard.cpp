#include "ui/guard.h"

#include "model/messages.h"
#include "ui/modal.h"
#include "ui/ui_state.h"
#include "ui/wide.h"

#include <new>

namespace qlp {

namespace {

// Shown for an exception other than running out of memory: the operation stopped half-way.
constexpr const wchar_t* kMsgInternalError = L"内部エラーが発生したため、この操作を中止しました。";

bool currentIsOutOfMemory() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

// Both texts are literals, so they end with a NUL and showing them allocates nothing here; should
// the seam itself run out of memory, the box is shown directly.
void showFailure(HWND owner, bool outOfMemory) noexcept {
    const wchar_t* text = outOfMemory ? wide(kMsgOutOfWorkMemory.data()) : kMsgInternalError;
    try {
        showMessageBox(owner, text, MB_OK | MB_ICONWARNING);
    } catch (...) {
        MessageBoxW(owner, text, ui().caption.c_str(), MB_OK | MB_ICONWARNING);
    }
}

} // namespace

void reportCurrentException(HWND owner) noexcept {
    showFailure(owner, currentIsOutOfMemory());
}

void postCurrentException() noexcept {
    if (HWND main = ui().mainWindow)
        PostMessageW(main, kReportFailureMessage, currentIsOutOfMemory() ? 1 : 0, 0);
}

void reportPostedFailure(HWND owner, WPARAM kind) noexcept {
    showFailure(owner, kind == 1);
}

} // namespace qlp
