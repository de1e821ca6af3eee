#include "ui/document_commands.h"

namespace qlp {

void onOpen(const OpenRequest&) {}

void onSave() {}

void onSaveAs() {}

void onCloseTab() {}

void onSwitchTab() {}

} // namespace qlp
