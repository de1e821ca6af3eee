#include "ui/ui_state.h"

#include "screen/window_layout.h"

namespace qlp {

UiState& ui() {
    static UiState state;
    return state;
}

int px(int pixels) {
    return scaleForDpi(pixels, ui().dpi);
}

} // namespace qlp
