#include "ui/ui_state.h"

namespace qlp {

UiState& ui() {
    static UiState state;
    return state;
}

} // namespace qlp
