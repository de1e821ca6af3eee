#pragma once
// Locale-aware, case-sensitive comparison of reel names. The Windows program compares with
// lstrcmpW; this portable comparison orders ASCII names exactly as lstrcmpW does.

#include <string_view>

namespace qlp {

// < 0, 0 or > 0 as a sorts before, equal to or after b.
int compareReelNames(std::u16string_view a, std::u16string_view b);

} // namespace qlp
