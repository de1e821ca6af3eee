#pragma once
// The three display workers: the selection worker follows the focused row of the list, the comment
// worker shows the current event's option comment or work memo, the menu worker enables and grays
// menu items. Each sleeps on its own auto-reset event and does one pass per signal; everything
// else only signals them.
//
// Stopping is synchronous: stopWorkers returns only when every worker has ended, and while it waits
// the user-interface thread keeps answering the messages the workers send it. So nothing frees or
// rebuilds what a worker reads while it reads it, and a worker blocked in a send cannot deadlock.

#include "model/document.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace qlp {

struct ControlTable;

// The common head of the three blocks.
struct WorkerBlock {
    std::atomic<int32_t> stop{0}; // 1 asks the worker to end at its next wake-up
    HANDLE thread = nullptr;
    HANDLE wake = nullptr;           // the worker's auto-reset event
    std::atomic<uint32_t> passes{0}; // passes completed, so callers can wait for one
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
    std::atomic<const TabEntry*> currentEntry{nullptr}; // null until a tab is selected
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
// once so the menus start grayed. False when an event or thread cannot be created.
bool createWorkers(DisplayWorkers& workers, const ControlTable& controls, EdlDocument& doc);

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

// Waits (serving sent messages) until `block` has completed more than `passesBefore` passes or
// has ended; false on timeout.
bool waitForWorkerPass(const WorkerBlock& block, uint32_t passesBefore, DWORD timeoutMs);

// Waits for the handle while answering messages other threads send to this one; posted messages
// stay queued.
DWORD waitServingSentMessages(HANDLE handle, DWORD timeoutMs);

} // namespace qlp
