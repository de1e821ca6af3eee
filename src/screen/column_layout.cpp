#include "screen/column_layout.h"

#include <algorithm>
#include <cstring>

namespace qlp {

const ColumnSpec kColumnSpecs[kColumnCount] = {
    {u"EDIT", ColumnAlign::Left},       {u"REEL", ColumnAlign::Left},
    {u"  V  ", ColumnAlign::Centre},    {u"AUDIO", ColumnAlign::Left},
    {u"TYP", ColumnAlign::Centre},      {u"PTRN", ColumnAlign::Centre},
    {u"TRANST", ColumnAlign::Centre},   {u"SPED", ColumnAlign::Centre},
    {u"P-VTR IN", ColumnAlign::Centre}, {u"P-VTR OUT", ColumnAlign::Centre},
    {u"R-VTR IN", ColumnAlign::Centre}, {u"R-VTR OUT", ColumnAlign::Centre},
    {u"DURATION", ColumnAlign::Centre}, {u" マーカー・ユーザーコメント ", ColumnAlign::Left},
};

namespace {

void setDefaultOrder(int32_t* order) {
    for (int i = 0; i < kColumnCount; ++i)
        order[i] = i;
}

// Reads a value over `values`, replacing only the integers actually read.
void readOver(ColumnSettingsStore& store, std::u16string_view key, std::u16string_view name, int32_t* values,
              size_t count) {
    std::vector<uint8_t> bytes;
    if (store.read(key, name, bytes, count * 4))
        decodeColumnValues(bytes, values, count);
}

void writeMemories(const EdlDocument& doc, ColumnSettingsStore& store) {
    bool created = false;
    if (store.openKey(kColumnOrderKey, created))
        store.write(kColumnOrderKey, kColumnOrderValue, encodeColumnValues(&doc.columnOrder[0][0], kMemoryBytes / 4));
    if (store.openKey(kColumnWidthKey, created))
        store.write(kColumnWidthKey, kColumnWidthValue, encodeColumnValues(&doc.columnWidth[0][0], kMemoryBytes / 4));
}

} // namespace

ColumnLayout defaultColumnLayout() {
    ColumnLayout layout{};
    setDefaultOrder(layout.order);
    std::copy(std::begin(kCreationWidths), std::end(kCreationWidths), layout.width);
    return layout;
}

ColumnLayout columnMemory(const EdlDocument& doc, int k) {
    ColumnLayout layout{};
    k = std::clamp(k, 0, kLayoutCount - 1);
    std::copy(std::begin(doc.columnOrder[k]), std::end(doc.columnOrder[k]), layout.order);
    std::copy(std::begin(doc.columnWidth[k]), std::end(doc.columnWidth[k]), layout.width);
    return layout;
}

std::vector<uint8_t> encodeColumnValues(const int32_t* values, size_t count) {
    std::vector<uint8_t> bytes(count * 4);
    for (size_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint32_t>(values[i]);
        for (int b = 0; b < 4; ++b)
            bytes[i * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
    }
    return bytes;
}

size_t decodeColumnValues(const std::vector<uint8_t>& bytes, int32_t* values, size_t count) {
    const size_t n = std::min(count, bytes.size() / 4);
    for (size_t i = 0; i < n; ++i) {
        uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<uint32_t>(bytes[i * 4 + b]) << (8 * b);
        values[i] = static_cast<int32_t>(v);
    }
    return n;
}

void writeColumnDefaults(ColumnSettingsStore& store) {
    const ColumnLayout defaults = defaultColumnLayout();
    bool created = false;
    if (store.openKey(kDefColumnOrderKey, created))
        store.write(kDefColumnOrderKey, kDefColumnOrderValue, encodeColumnValues(defaults.order, kColumnCount));
    if (store.openKey(kDefColumnWidthKey, created))
        store.write(kDefColumnWidthKey, kDefColumnWidthValue, encodeColumnValues(defaults.width, kColumnCount));
}

void loadColumnMemories(EdlDocument& doc, ColumnSettingsStore& store) {
    bool created = false;
    if (store.openKey(kColumnOrderKey, created)) {
        if (created) {
            for (auto& order : doc.columnOrder)
                setDefaultOrder(order);
            store.write(kColumnOrderKey, kColumnOrderValue,
                        encodeColumnValues(&doc.columnOrder[0][0], kMemoryBytes / 4));
        } else {
            readOver(store, kColumnOrderKey, kColumnOrderValue, &doc.columnOrder[0][0], kMemoryBytes / 4);
        }
    }
    if (store.openKey(kColumnWidthKey, created)) {
        if (created) {
            for (auto& width : doc.columnWidth)
                std::copy(std::begin(kFirstUseWidths), std::end(kFirstUseWidths), width);
            store.write(kColumnWidthKey, kColumnWidthValue,
                        encodeColumnValues(&doc.columnWidth[0][0], kMemoryBytes / 4));
        } else {
            readOver(store, kColumnWidthKey, kColumnWidthValue, &doc.columnWidth[0][0], kMemoryBytes / 4);
        }
    }
}

void registerColumnMemory(EdlDocument& doc, int k, const ColumnLayout& current, ColumnSettingsStore& store) {
    if (k < 0 || k >= kLayoutCount)
        return;
    std::copy(std::begin(current.order), std::end(current.order), doc.columnOrder[k]);
    std::copy(std::begin(current.width), std::end(current.width), doc.columnWidth[k]);
    writeMemories(doc, store);
}

void resetColumnMemories(EdlDocument& doc, ColumnSettingsStore& store) {
    int32_t widths[kColumnCount] = {};
    std::vector<uint8_t> bytes;
    bool created = false;
    const bool complete = store.openKey(kDefColumnWidthKey, created) &&
                          store.read(kDefColumnWidthKey, kDefColumnWidthValue, bytes, kLayoutBytes) &&
                          decodeColumnValues(bytes, widths, kColumnCount) == kColumnCount;
    const bool usable = complete && std::all_of(std::begin(widths), std::end(widths), [](int32_t w) { return w > 0; });
    if (!usable)
        std::copy(std::begin(kCreationWidths), std::end(kCreationWidths), widths);
    for (int k = 0; k < kLayoutCount; ++k) {
        std::copy(std::begin(widths), std::end(widths), doc.columnWidth[k]);
        setDefaultOrder(doc.columnOrder[k]);
    }
    writeMemories(doc, store);
}

} // namespace qlp
