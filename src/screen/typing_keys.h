#pragma once
// Which key presses belong to the control the user types into rather than to the accelerators.

namespace qlp {

// True for a letter or digit pressed without Ctrl or Alt (Shift or not): while an edit control or
// an open combo box has the focus, such a key is text for it and never a command. Ctrl and
// function-key accelerators are not affected.
bool keyIsTyping(int virtualKey, bool ctrlDown, bool altDown);

} // namespace qlp
