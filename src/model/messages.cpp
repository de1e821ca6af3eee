#include "model/messages.h"

#include <cstdio>

namespace qlp {

std::u16string formatMessage(std::u16string_view templ, std::u16string_view path, int number) {
    std::u16string out;
    out.reserve(templ.size() + path.size() + 8);
    bool pathDone = false;
    for (size_t i = 0; i < templ.size(); ++i) {
        if (templ[i] == u'%' && i + 1 < templ.size()) {
            if (templ[i + 1] == u's' && !pathDone) {
                out.append(path);
                pathDone = true;
                ++i;
                continue;
            }
            if (templ.substr(i, 4) == u"%04d") {
                char digits[16];
                std::snprintf(digits, sizeof digits, "%04d", number);
                for (const char* d = digits; *d; ++d)
                    out.push_back(static_cast<char16_t>(*d));
                i += 3;
                continue;
            }
        }
        out.push_back(templ[i]);
    }
    return out;
}

} // namespace qlp
