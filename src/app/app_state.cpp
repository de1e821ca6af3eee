#include "app/app_state.h"

namespace qlp {

AppState& app() {
    static AppState state;
    return state;
}

} // namespace qlp
