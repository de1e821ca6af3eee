#pragma once
// The list's fourteen columns and the four column-layout memories on the Windows side: the
// registry store, creating the columns, reading and applying a layout, and the register, recall
// and reset commands.

#include "screen/column_layout.h"

#include <windows.h>

namespace qlp {

// The column-layout values under the current user's settings key.
class RegistryColumnStore : public ColumnSettingsStore {
public:
    bool openKey(std::u16string_view subKey, bool& created) override;
    bool read(std::u16string_view subKey, std::u16string_view name, std::vector<uint8_t>& bytes,
              size_t maxSize) override;
    bool write(std::u16string_view subKey, std::u16string_view name, const std::vector<uint8_t>& bytes) override;
};

// Window creation: writes the default values, inserts the columns (column 0 with its text only)
// and applies the default order.
void createListColumns(HWND list);

// The list's current column order and widths. Widths are kept and stored in 96-DPI pixels, so a
// layout registered on one display shows the same on a display of another scale: they are scaled
// for the main window's DPI when applied and scaled back when read.
ColumnLayout readListLayout(HWND list);
void applyColumnWidths(HWND list, const ColumnLayout& layout);
void applyColumnOrder(HWND list, const ColumnLayout& layout);

// The step of showing a document: copies the stored memories into it and applies memory
// currentLayout (widths, then order).
void applyStoredColumnLayout(EdlDocument& doc, HWND list);

// Commands 40069-40072: store the list's look as memory k (0..3).
void registerColumnLayout(int k);
// Commands 40074-40077: show memory k.
void recallColumnLayout(int k);
// Buttons 505-508: recall memory k, or register it while Ctrl is held.
void onColumnLayoutButton(int k);
// Command 40227: all memories back to the default widths and order.
void resetColumnLayouts();

} // namespace qlp
