#include "ops/exit_save.h"

#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"

namespace qlp {

int saveModifiedTabsOnExit(EdlDocument& doc, TabList& tabs, Prompt& prompt, bool* failed) {
    if (!doc.loaded)
        return 0;
    int asked = 0;
    for (TabEntry* entry = tabs.first(); entry; entry = entry->next) {
        if (entry->saveState != kModified)
            continue;
        ++asked;
        if (prompt.askYesNo(formatMessage(kMsgSaveBeforeExit, entry->path)) != Answer::Yes)
            continue;
        // Only the active tab's document is in memory; every other tab's latest state is its work
        // file, which the last tab switch wrote.
        bool written;
        if (entry->active) {
            written = saveDocument(entry->path, doc, prompt) == 0;
        } else {
            written = copyFileOver(entry->workPath, entry->path);
            if (!written)
                prompt.warn(formatMessage(kMsgCannotOpenPath, entry->path));
        }
        if (written)
            entry->saveState = kSaved;
        else if (failed)
            *failed = true;
    }
    return asked;
}

} // namespace qlp
