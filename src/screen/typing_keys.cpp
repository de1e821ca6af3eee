#include "screen/typing_keys.h"

namespace qlp {

bool keyIsTyping(int virtualKey, bool ctrlDown, bool altDown) {
    if (ctrlDown || altDown)
        return false;
    // Virtual keys of letters and digits are their upper-case ASCII codes.
    return (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z');
}

} // namespace qlp
