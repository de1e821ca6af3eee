#pragma once
// Edit locate: the number the locate dialog accepts, and the row of kAllEvents that shows the first
// event of that edit.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

inline constexpr std::u16string_view kLocateTitle = u"エディット・ロケート";
inline constexpr std::u16string_view kLocatePrompt = u"エディット番号を入力して下さい";

// What the dialog opens with: the last located number, "%04d", or empty.
std::u16string_view locateText(const EdlDocument& doc);

struct LocateEntryOutcome {
    bool accepted = false;
    std::u16string message; // "1-%d までの数値を入力して下さい。" with the last edit number, when refused
};

// LOC in the dialog: the leading digits of the first four characters, 1 to lastEditNumber, are
// kept as locateText ("%04d"); anything else is refused with the range message.
LocateEntryOutcome enterLocateNumber(EdlDocument& doc, std::u16string_view text);

// The first row of kAllEvents whose EDIT text equals locateText exactly, or -1.
int32_t findLocatedRow(const EdlDocument& doc);

// Switches to kAllEvents and, when the located edit exists, makes its first event the top and the
// current row. Returns that row, or -1 (nothing to select).
int32_t locateEdit(EdlDocument& doc);

} // namespace qlp
