#pragma once
// The fourteen list columns, their default order and widths, and the four column-layout memories
// the user registers and recalls. The memories live per user in a settings store (the registry on
// Windows) as four binary values; every document carries a copy of them and the number of the
// memory in use.

#include "model/document.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qlp {

enum class ColumnAlign { Left, Centre };

struct ColumnSpec {
    std::u16string_view header;
    ColumnAlign align;
};

// Header text and alignment of each column, by column index.
extern const ColumnSpec kColumnSpecs[kColumnCount];

// Widths given to the columns when the window creates them; also the value the reset goes back to.
inline constexpr int32_t kCreationWidths[kColumnCount] = {60, 75,  100, 100, 100, 60,  88,
                                                          60, 140, 140, 140, 140, 170, 200};
// Widths the memories get when a user's first document is shown (columns V and TYP narrower).
inline constexpr int32_t kFirstUseWidths[kColumnCount] = {60, 75,  60,  100, 60,  60,  88,
                                                          60, 140, 140, 140, 140, 170, 200};

// Names of the stored values: sub-key under the program's settings key, then value name.
inline constexpr std::u16string_view kDefColumnOrderKey = u"DefColumnOrder";
inline constexpr std::u16string_view kDefColumnOrderValue = u"項目の順序(デフォルト値)";
inline constexpr std::u16string_view kDefColumnWidthKey = u"DefColumnWidth";
inline constexpr std::u16string_view kDefColumnWidthValue = u"項目の幅(デフォルト値)";
inline constexpr std::u16string_view kColumnOrderKey = u"ColumnOrder";
inline constexpr std::u16string_view kColumnOrderValue = u"項目の順序";
inline constexpr std::u16string_view kColumnWidthKey = u"ColumnWidth";
inline constexpr std::u16string_view kColumnWidthValue = u"項目の幅";

inline constexpr size_t kLayoutBytes = kColumnCount * 4;                // 56: one order or width row
inline constexpr size_t kMemoryBytes = kLayoutCount * kColumnCount * 4; // 224: all four memories

// The order (column index shown at each display position) and the width of each column index.
struct ColumnLayout {
    int32_t order[kColumnCount];
    int32_t width[kColumnCount];
};

// The order 0, 1, ..., 13 with the creation widths.
ColumnLayout defaultColumnLayout();

// The width as the list control takes it: only the low 16 bits.
inline int appliedColumnWidth(int32_t width) {
    return static_cast<int>(static_cast<uint32_t>(width) & 0xFFFF);
}

// Memory k (0..3) of the document as the list should show it.
ColumnLayout columnMemory(const EdlDocument& doc, int k);

// The per-user store of the binary values. Each named sub-key is created when missing.
class ColumnSettingsStore {
public:
    virtual ~ColumnSettingsStore() = default;
    // Opens the sub-key, creating it when missing; `created` tells which. False when it cannot be
    // opened at all.
    virtual bool openKey(std::u16string_view subKey, bool& created) = 0;
    // Reads at most maxSize bytes of a binary value; false when it is missing or unreadable.
    virtual bool read(std::u16string_view subKey, std::u16string_view name, std::vector<uint8_t>& bytes,
                      size_t maxSize) = 0;
    virtual bool write(std::u16string_view subKey, std::u16string_view name, const std::vector<uint8_t>& bytes) = 0;
};

// Little-endian 32-bit integers, as the stored values hold them.
std::vector<uint8_t> encodeColumnValues(const int32_t* values, size_t count);
// Decodes whole integers from the front of bytes over values (at most count); returns how many.
size_t decodeColumnValues(const std::vector<uint8_t>& bytes, int32_t* values, size_t count);

// Writes the default order and the creation widths (56 bytes each); done at every window creation.
void writeColumnDefaults(ColumnSettingsStore& store);

// Copies the stored memories into the document. A sub-key that had to be created gets the default
// order or the first-use widths, for the document and the store; a value that cannot be read
// leaves the document's copy as it was.
void loadColumnMemories(EdlDocument& doc, ColumnSettingsStore& store);

// Stores the list's current look as memory k and writes all four memories.
void registerColumnMemory(EdlDocument& doc, int k, const ColumnLayout& current, ColumnSettingsStore& store);

// Returns all four memories to the stored default widths and the natural order and writes them.
// When the default widths cannot be read (or hold a width of zero or less) the creation widths
// are used instead, so a reset never stores unusable widths.
void resetColumnMemories(EdlDocument& doc, ColumnSettingsStore& store);

} // namespace qlp
