#pragma once
// The three display workers: the selection worker follows the focused row of the list, the comment
// worker shows the current event's option comment or work memo, the menu worker enables and grays
// menu items. Each sleeps on its own auto-reset event and does one pass per signal; everything
// else only signals them.
//
// Stopping is synchronous: stopWorkers returns only when every worker has ended, and while it waits
// the user-interface thread keeps answering the messages the workers send it. So nothing frees or
// rebuilds what a worker reads while it reads it, and a worker blocked in a send cannot deadlock.
//
// What a worker shares with the window thread is safe one of three ways:
// - the stop, pass and multi-selection flags are atomics;
// - the view arrays, their counts, the current view, the events' edit groups and `loaded` change
//   only while the workers are stopped (thread start and end order those writes before and after
//   every read), so the workers read them directly;
// - everything else of the document (the current and top rows, the memo mode, the search flags,
//   the event texts, the tab's save state) is read or written on the window thread: the worker
//   sends the main window a task (kRunWindowTask) and waits for it.

#include "model/document.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace qlp {

struct ControlTable;

// Sent by a worker to the main window: lParam is a WindowTask, run on the window thread. The main
// window procedure answers it with runWindowTask.
constexpr UINT kRunWindowTask = WM_APP + 16;

struct WindowTask {
    void (*run)(void* context);
    void* context;
};

// Runs the task a worker sent; nonzero when it ran to its end.
LRESULT runWindowTask(LPARAM task);

// The common head of the three blocks.
struct WorkerBlock {
    std::atomic<int32_t> stop{0}; // 1 asks the worker to end at its next wake-up
    HANDLE thread = nullptr;
    HANDLE wake = nullptr;            // the worker's auto-reset event
    HWND window = nullptr;            // the main window, which runs the worker's window tasks
    std::atomic<uint32_t> started{0}; // passes begun
    std::atomic<uint32_t> passes{0};  // passes completed, so callers can wait for one
};

struct CommentWorker : WorkerBlock {
    HWND memo = nullptr;
    HWND writeButton = nullptr; // 501
    HWND reelLine = nullptr;    // 313
    const EdlDocument* document = nullptr;
};

struct SelectionWorker : WorkerBlock {
    HANDLE commentRefresh = nullptr; // signalled after each pass
    HWND list = nullptr;
    EdlDocument* document = nullptr;
    std::atomic<int32_t> multiSelectOff{0};
};

struct MenuStateWorker : WorkerBlock {
    HMENU menuBar = nullptr;
    HMENU tabPopup = nullptr;
    HMENU listPopup = nullptr;
    const EdlDocument* document = nullptr;
    const TabEntry* currentEntry = nullptr; // null until a tab is selected; read on the window thread
};

struct DisplayWorkers {
    CommentWorker comment;
    SelectionWorker selection;
    MenuStateWorker menu;

    HANDLE selectionChanged() const { return selection.wake; }
    HANDLE commentRefresh() const { return comment.wake; }
    HANDLE menuRefresh() const { return menu.wake; }
};

// Creates the three events (non-signalled) and blocks, starts the workers and signals menuRefresh
// once so the menus start grayed. `window` is the main window, whose procedure answers
// kRunWindowTask. False when an event or thread cannot be created.
bool createWorkers(DisplayWorkers& workers, HWND window, const ControlTable& controls, EdlDocument& doc);

// Starts every worker that is not running (clearing its stop flag), signals selectionChanged and
// menuRefresh.
void startWorkers(DisplayWorkers& workers);

// Asks the comment, selection and menu workers to end, in this order, and waits until they have,
// serving messages sent to this thread meanwhile.
void stopWorkers(DisplayWorkers& workers);

// stopWorkers, then closes the three events (shutdown).
void closeWorkers(DisplayWorkers& workers);

void signalSelectionChanged(const DisplayWorkers& workers);
void signalCommentRefresh(const DisplayWorkers& workers);
void signalMenuRefresh(const DisplayWorkers& workers);

// Hands the current tab entry to the menu worker.
void setMenuWorkerEntry(DisplayWorkers& workers, const TabEntry* entry);

// Command 40205: switches the selection worker's following of the same edit off or back on.
void toggleMultiSelection(DisplayWorkers& workers);

// Marks the passes begun so far: a pass waited for from this mark starts after it, so it reads
// whatever the caller changed before taking the mark (a pass already running may not).
uint32_t passMark(const WorkerBlock& block);

// Waits (serving sent messages) until a pass begun after `mark` has completed, or the worker has
// ended; false on timeout.
bool waitForWorkerPass(const WorkerBlock& block, uint32_t mark, DWORD timeoutMs);

// Waits for the handle while answering messages other threads send to this one; posted messages
// stay queued.
DWORD waitServingSentMessages(HANDLE handle, DWORD timeoutMs);

} // namespace qlp
