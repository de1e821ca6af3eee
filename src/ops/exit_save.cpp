#include "ops/exit_save.h"

#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"

namespace qlp {

int saveModifiedTabsOnExit(EdlDocument& doc, TabList& tabs, Prompt& prompt) {
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
        if (entry->active)
            saveDocument(entry->path, doc, prompt);
        else
            copyFileOver(entry->workPath, entry->path);
    }
    return asked;
}

} // namespace qlp
