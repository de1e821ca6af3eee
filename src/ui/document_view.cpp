#include "ui/document_view.h"

namespace qlp {

void showDocument() {}

void restoreListPosition() {}

void setSortArrows(bool) {}

} // namespace qlp
