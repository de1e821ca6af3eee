#pragma once
// Locale-aware, case-sensitive comparison of reel names. The Windows program compares with
// lstrcmpW; this portable comparison orders ASCII names exactly as lstrcmpW does.

#include <string_view>

namespace qlp {

// < 0, 0 or > 0 as a sorts before, equal to or after b.
int compareReelNames(std::u16string_view a, std::u16string_view b);

// The portable comparison compareReelNames uses unless the platform installs its own.
int comparePortable(std::u16string_view a, std::u16string_view b);

// The Windows program installs lstrcmpW here, so non-ASCII names sort as the system sorts them;
// nullptr restores the portable comparison. Set once at start-up, before any document is read.
using ReelNameCompare = int (*)(std::u16string_view, std::u16string_view);
void setReelNameCollation(ReelNameCompare compare);

} // namespace qlp
