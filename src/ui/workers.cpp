#include "ui/workers.h"

#include "ops/views.h"
#include "resource.h"
#include "screen/list_view.h"
#include "screen/menu_state.h"
#include "ui/controls.h"
#include "ui/guard.h"
#include "ui/ui_texts.h"
#include "ui/wide.h"

#include <commctrl.h>

#include <new>
#include <string>
#include <vector>

namespace qlp {

namespace {

// Runs `task` on the window thread and waits for it; false when the window did not run it to its
// end (it is gone, or the task failed there), and the worker then skips what depended on it.
template <class Task> bool onWindowThread(HWND window, Task& task) {
    WindowTask sent{[](void* context) { (*static_cast<Task*>(context))(); }, &task};
    return SendMessageW(window, kRunWindowTask, 0, reinterpret_cast<LPARAM>(&sent)) != 0;
}

// One pass: make the focused row current and select every row of the same edit. A view is rebuilt
// or reordered only while the workers are stopped, so the rows a thread has grouped by edit stay
// valid for its life, and each pass visits only the rows of one edit. The current and top rows are
// the window thread's to write: the pass hands them over before it selects the rows.
void selectionPass(SelectionWorker& w, SameEditRows& edits, std::vector<int32_t>& sameEdit) {
    const EdlDocument& doc = *w.document;
    const int view = doc.currentView;
    if (view < 0 || view >= kViewCount)
        return;
    const int top = ListView_GetTopIndex(w.list);
    int current = -1;
    if (w.multiSelectOff.load() == 0) {
        const int count = doc.viewCount[view];
        // The first focused row from the top index on; a list has at most one focused row.
        const int focused = ListView_GetNextItem(w.list, -1, LVNI_FOCUSED);
        if (focused >= top && focused < count && doc.view[view])
            current = focused;
    }
    EdlDocument* target = w.document;
    auto record = [&] {
        if (current >= 0)
            target->currentRow[view] = current;
        target->topRow[view] = top;
    };
    if (!onWindowThread(w.window, record) || current < 0)
        return;
    // Rows of the same edit wherever they stand, as a sorted view may scatter them.
    edits.index(doc.view[view], doc.viewCount[view]);
    edits.rowsOfEditAt(current, sameEdit);
    for (int32_t r : sameEdit)
        ListView_SetItemState(w.list, r, LVIS_SELECTED, LVIS_SELECTED);
}

// What the comment pass shows, read on the window thread: the memo mode and the current event's
// texts change there while the workers run.
struct CommentShown {
    bool replaceText = false;
    std::wstring text;
    bool writable = false; // button 501
};

CommentShown commentShown(const EdlDocument& doc) {
    CommentShown shown;
    shown.writable = doc.commentMode == 1;
    if (const EdlEvent* event = currentEvent(doc)) {
        if (doc.commentMode == 0) {
            shown.replaceText = true;
            shown.text =
                event->hasOptionComment && event->optionComment ? wide(event->optionComment) : text::kNoOptionComment;
        } else if (doc.commentMode == 1) {
            shown.replaceText = true;
            if (event->hasWorkMemo && event->workMemo)
                shown.text = wide(event->workMemo);
        }
    }
    return shown;
}

void commentPass(CommentWorker& w) {
    CommentShown shown;
    auto read = [&] { shown = commentShown(*w.document); };
    if (!onWindowThread(w.window, read))
        return;
    if (shown.replaceText)
        SetWindowTextW(w.memo, shown.text.c_str());
    EnableWindow(w.writeButton, shown.writable);
    InvalidateRect(w.reelLine, nullptr, TRUE);
}

void menuPass(MenuStateWorker& w) {
    // The save state, memo mode and search flags change on the window thread while this runs.
    MenuStateInput input;
    auto read = [&] { input = menuStateInput(*w.document, w.currentEntry); };
    if (!onWindowThread(w.window, read))
        return;
    for (const MenuItemState& item : menuItemStates(input)) {
        const UINT flags = MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED);
        if (item.menus & kMenuBar)
            EnableMenuItem(w.menuBar, item.command, flags);
        if (item.menus & kTabPopup)
            EnableMenuItem(w.tabPopup, item.command, flags);
        if (item.menus & kListPopup)
            EnableMenuItem(w.listPopup, item.command, flags);
    }
}

DWORD WINAPI selectionWorkerMain(void* param) {
    auto& w = *static_cast<SelectionWorker*>(param);
    SameEditRows edits;
    std::vector<int32_t> sameEdit;
    for (;;) {
        WaitForSingleObject(w.wake, INFINITE);
        if (!w.document->loaded || w.stop.load())
            return 0;
        ++w.started;
        selectionPass(w, edits, sameEdit);
        SetEvent(w.commentRefresh);
        ++w.passes;
    }
}

DWORD WINAPI commentWorkerMain(void* param) {
    auto& w = *static_cast<CommentWorker*>(param);
    for (;;) {
        WaitForSingleObject(w.wake, INFINITE);
        if (!w.document->loaded || w.stop.load())
            return 0;
        ++w.started;
        commentPass(w);
        ++w.passes;
    }
}

DWORD WINAPI menuWorkerMain(void* param) {
    auto& w = *static_cast<MenuStateWorker*>(param);
    for (;;) {
        WaitForSingleObject(w.wake, INFINITE);
        if (w.stop.load())
            return 0;
        ++w.started;
        menuPass(w);
        ++w.passes;
    }
}

bool isRunning(const WorkerBlock& w) {
    return w.thread && WaitForSingleObject(w.thread, 0) == WAIT_TIMEOUT;
}

// Starts the worker unless it is still running; a thread that ended on its own is replaced.
bool startWorker(WorkerBlock& w, LPTHREAD_START_ROUTINE main) {
    if (isRunning(w))
        return true;
    if (w.thread)
        CloseHandle(w.thread);
    w.thread = CreateThread(nullptr, 0, main, &w, 0, nullptr);
    return w.thread != nullptr;
}

void askToStop(WorkerBlock& w) {
    w.stop = 1;
    if (w.wake)
        SetEvent(w.wake);
}

void waitUntilEnded(WorkerBlock& w) {
    if (!w.thread)
        return;
    waitServingSentMessages(w.thread, INFINITE);
    CloseHandle(w.thread);
    w.thread = nullptr;
}

} // namespace

LRESULT runWindowTask(LPARAM task) {
    // A task that runs out of memory copying a text leaves the display as it is; the worker skips
    // that part of its pass, and the exception never reaches the window procedure.
    try {
        const WindowTask& t = *reinterpret_cast<const WindowTask*>(task);
        t.run(t.context);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

DWORD waitServingSentMessages(HANDLE handle, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD elapsed = GetTickCount() - start;
            remaining = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        }
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &handle, remaining, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
        // Delivers the messages other threads sent; posted messages stay in the queue.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool createWorkers(DisplayWorkers& workers, HWND window, const ControlTable& controls, EdlDocument& doc) {
    for (WorkerBlock* w : {static_cast<WorkerBlock*>(&workers.comment), static_cast<WorkerBlock*>(&workers.selection),
                           static_cast<WorkerBlock*>(&workers.menu)}) {
        w->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!w->wake)
            return false;
        w->stop = 0;
        w->window = window;
    }
    CommentWorker& comment = workers.comment;
    comment.memo = controls.memo;
    comment.writeButton = controls[IDC_WRITE_MEMO];
    comment.reelLine = controls[IDC_REEL_LINE];
    comment.document = &doc;

    SelectionWorker& selection = workers.selection;
    selection.commentRefresh = comment.wake;
    selection.list = controls.list;
    selection.document = &doc;
    selection.multiSelectOff = 0;

    MenuStateWorker& menu = workers.menu;
    menu.menuBar = controls.menuBar;
    menu.tabPopup = controls.tabPopup;
    menu.listPopup = controls.listPopup;
    menu.document = &doc;
    menu.currentEntry = nullptr;

    if (!startWorker(comment, guardedEntry<commentWorkerMain>) ||
        !startWorker(selection, guardedEntry<selectionWorkerMain>) || !startWorker(menu, guardedEntry<menuWorkerMain>))
        return false;
    signalMenuRefresh(workers);
    return true;
}

void startWorkers(DisplayWorkers& workers) {
    // Each stop flag is cleared before its worker starts: a change signalled while the workers were
    // stopped leaves the event set, and a new thread that saw the old flag would end at once.
    workers.comment.stop = 0;
    startWorker(workers.comment, guardedEntry<commentWorkerMain>);
    workers.selection.stop = 0;
    startWorker(workers.selection, guardedEntry<selectionWorkerMain>);
    signalSelectionChanged(workers);
    workers.menu.stop = 0;
    startWorker(workers.menu, guardedEntry<menuWorkerMain>);
    signalMenuRefresh(workers);
}

void stopWorkers(DisplayWorkers& workers) {
    // A handler running for a message another thread sent (a worker's, perhaps) answers it first:
    // that sender could otherwise never finish the pass this thread is about to wait for.
    if (InSendMessage())
        ReplyMessage(0);
    askToStop(workers.comment);
    askToStop(workers.selection);
    askToStop(workers.menu);
    waitUntilEnded(workers.comment);
    waitUntilEnded(workers.selection);
    waitUntilEnded(workers.menu);
}

void closeWorkers(DisplayWorkers& workers) {
    stopWorkers(workers);
    for (WorkerBlock* w : {static_cast<WorkerBlock*>(&workers.comment), static_cast<WorkerBlock*>(&workers.selection),
                           static_cast<WorkerBlock*>(&workers.menu)}) {
        if (w->wake)
            CloseHandle(w->wake);
        w->wake = nullptr;
    }
    workers.selection.commentRefresh = nullptr;
}

void signalSelectionChanged(const DisplayWorkers& workers) {
    if (workers.selection.wake)
        SetEvent(workers.selection.wake);
}

void signalCommentRefresh(const DisplayWorkers& workers) {
    if (workers.comment.wake)
        SetEvent(workers.comment.wake);
}

void signalMenuRefresh(const DisplayWorkers& workers) {
    if (workers.menu.wake)
        SetEvent(workers.menu.wake);
}

void setMenuWorkerEntry(DisplayWorkers& workers, const TabEntry* entry) {
    workers.menu.currentEntry = entry;
}

void toggleMultiSelection(DisplayWorkers& workers) {
    workers.selection.multiSelectOff = workers.selection.multiSelectOff.load() ? 0 : 1;
}

uint32_t passMark(const WorkerBlock& block) {
    return block.started.load();
}

bool waitForWorkerPass(const WorkerBlock& block, uint32_t mark, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    // Passes run one after another, so the pass numbered mark + 1 is the first begun after the mark.
    while (block.passes.load() <= mark) {
        if (!block.thread || WaitForSingleObject(block.thread, 0) != WAIT_TIMEOUT)
            return block.passes.load() > mark;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        waitServingSentMessages(block.thread, 10);
    }
    return true;
}

} // namespace qlp
