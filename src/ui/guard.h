#pragma once
// No C++ exception leaves a window, dialog or subclass procedure or a thread entry: each runs its
// body through `guarded` (procedures) or `guardedThread` (thread entries). Running out of memory
// shows the no-memory warning (string 113); any other exception is reported as an internal error.
// Either way the procedure then returns what it returns for a message it does not handle.

#include <windows.h>

namespace qlp {

// The message a thread posts to the main window to have the exception that ended its work reported
// there; wParam is 1 for running out of memory, 0 for anything else.
inline constexpr UINT kReportFailureMessage = WM_APP + 40;

// Shows the report of the exception being handled over `owner`. Call it only inside a catch block
// of the user-interface thread.
void reportCurrentException(HWND owner) noexcept;

// Posts the report of the exception being handled to the main window (a thread of its own must not
// show boxes: the window thread may be waiting for it). Call it only inside a catch block.
void postCurrentException() noexcept;

// Shows the report that kReportFailureMessage carries (wParam as posted).
void reportPostedFailure(HWND owner, WPARAM kind) noexcept;

// Runs `body`; on an exception reports it over `owner` and returns `fallback()` instead.
template <typename Body, typename Fallback>
auto guarded(HWND owner, Body&& body, Fallback&& fallback) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        reportCurrentException(owner);
    }
    return fallback();
}

// A thread entry's body: on an exception the report goes to the main window and the thread ends
// with 0.
template <typename Body> DWORD guardedThread(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        postCurrentException();
    }
    return 0;
}

// The thread entry that runs `Entry` inside the guard, for CreateThread.
template <LPTHREAD_START_ROUTINE Entry> DWORD WINAPI guardedEntry(void* param) noexcept {
    return guardedThread([param] { return Entry(param); });
}

} // namespace qlp
