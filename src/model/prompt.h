#pragma once
// The questions and warnings the core puts to the user. The Windows program shows them as
// message boxes captioned with the application title; tests and the qlp tool answer them.

#include <string_view>

namespace qlp {

enum class Answer { Yes, No, Cancel };

class Prompt {
public:
    virtual ~Prompt() = default;
    // A question with Yes and No buttons and the question icon.
    virtual Answer askYesNo(std::u16string_view text) = 0;
    // A question with Yes, No and Cancel buttons and the question icon.
    virtual Answer askYesNoCancel(std::u16string_view text) = 0;
    // A warning with an OK button; systemModal asks the platform to keep it above every window.
    virtual void warn(std::u16string_view text, bool systemModal = false) = 0;
};

} // namespace qlp
