#include "screen/column_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace qlp;

namespace {

// A settings store in memory: sub-keys that exist, and values by (sub-key, name).
class FakeStore : public ColumnSettingsStore {
public:
    bool openKey(std::u16string_view subKey, bool& created) override {
        created = keys.insert(std::u16string(subKey)).second;
        return !failOpen;
    }
    bool read(std::u16string_view subKey, std::u16string_view name, std::vector<uint8_t>& bytes,
              size_t maxSize) override {
        auto it = values.find({std::u16string(subKey), std::u16string(name)});
        if (it == values.end())
            return false;
        bytes.assign(it->second.begin(), it->second.begin() + std::min(maxSize, it->second.size()));
        return true;
    }
    bool write(std::u16string_view subKey, std::u16string_view name, const std::vector<uint8_t>& bytes) override {
        values[{std::u16string(subKey), std::u16string(name)}] = bytes;
        return true;
    }
    const std::vector<uint8_t>& value(std::u16string_view subKey, std::u16string_view name) {
        return values.at({std::u16string(subKey), std::u16string(name)});
    }
    std::vector<int32_t> ints(std::u16string_view subKey, std::u16string_view name) {
        const auto& bytes = value(subKey, name);
        std::vector<int32_t> out(bytes.size() / 4);
        decodeColumnValues(bytes, out.data(), out.size());
        return out;
    }

    std::set<std::u16string> keys;
    std::map<std::pair<std::u16string, std::u16string>, std::vector<uint8_t>> values;
    bool failOpen = false;
};

std::vector<int32_t> row(const int32_t (&values)[kColumnCount]) {
    return std::vector<int32_t>(std::begin(values), std::end(values));
}

ColumnLayout customLayout() {
    ColumnLayout layout{};
    for (int i = 0; i < kColumnCount; ++i) {
        layout.order[i] = kColumnCount - 1 - i;
        layout.width[i] = 30 + i;
    }
    return layout;
}

} // namespace

TEST(ColumnLayout, ValuesAreLittleEndianIntegers) {
    const int32_t values[] = {1, 0x01020304, -1};
    const auto bytes = encodeColumnValues(values, 3);
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4], 0x04);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[11], 0xFF);
    int32_t back[4] = {7, 7, 7, 7};
    EXPECT_EQ(decodeColumnValues(bytes, back, 4), 3u); // a trailing integer the bytes lack stays
    EXPECT_EQ(back[1], 0x01020304);
    EXPECT_EQ(back[2], -1);
    EXPECT_EQ(back[3], 7);
}

TEST(ColumnLayout, OnlyTheLow16BitsOfAWidthApply) {
    EXPECT_EQ(appliedColumnWidth(140), 140);
    EXPECT_EQ(appliedColumnWidth(0x00050064), 100);
}

TEST(ColumnLayout, DefaultsWrittenAtWindowCreation) {
    FakeStore store;
    writeColumnDefaults(store);
    EXPECT_EQ(store.value(kDefColumnOrderKey, kDefColumnOrderValue).size(), kLayoutBytes);
    EXPECT_EQ(store.ints(kDefColumnOrderKey, kDefColumnOrderValue),
              (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(store.ints(kDefColumnWidthKey, kDefColumnWidthValue), row(kCreationWidths));
    EXPECT_EQ(store.ints(kDefColumnWidthKey, kDefColumnWidthValue)[2], 100);
}

// The first document a user sees gets the first-use widths (V and TYP at 60) in all four memories.
TEST(ColumnLayout, FirstShowCreatesTheMemories) {
    FakeStore store;
    EdlDocument doc;
    loadColumnMemories(doc, store);
    for (int k = 0; k < kLayoutCount; ++k) {
        const ColumnLayout m = columnMemory(doc, k);
        EXPECT_EQ(row(m.width), row(kFirstUseWidths)) << k;
        EXPECT_EQ(m.order[13], 13);
    }
    EXPECT_EQ(doc.columnWidth[0][kColV], 60);
    EXPECT_EQ(doc.columnWidth[3][kColType], 60);
    EXPECT_EQ(store.value(kColumnOrderKey, kColumnOrderValue).size(), kMemoryBytes);
    EXPECT_EQ(store.value(kColumnWidthKey, kColumnWidthValue).size(), kMemoryBytes);
}

// Registering in one document reaches every document shown afterwards.
TEST(ColumnLayout, RegisteredMemoryReachesLaterDocuments) {
    FakeStore store;
    EdlDocument first;
    loadColumnMemories(first, store);
    registerColumnMemory(first, 2, customLayout(), store);
    EXPECT_EQ(first.columnOrder[2][0], 13);
    EXPECT_EQ(first.columnWidth[2][5], 35);

    EdlDocument second;
    second.columnWidth[0][0] = 999; // whatever the project file held is replaced
    loadColumnMemories(second, store);
    EXPECT_EQ(second.columnOrder[2][0], 13);
    EXPECT_EQ(second.columnWidth[2][13], 43);
    EXPECT_EQ(second.columnWidth[0][0], 60);
    EXPECT_EQ(second.columnOrder[1][0], 0);
}

TEST(ColumnLayout, MissingValueUnderAnExistingKeyKeepsTheDocumentsCopy) {
    FakeStore store;
    store.keys = {std::u16string(kColumnOrderKey), std::u16string(kColumnWidthKey)};
    EdlDocument doc;
    doc.columnOrder[1][4] = 9;
    doc.columnWidth[1][4] = 77;
    loadColumnMemories(doc, store);
    EXPECT_EQ(doc.columnOrder[1][4], 9);
    EXPECT_EQ(doc.columnWidth[1][4], 77);
    EXPECT_TRUE(store.values.empty());
}

TEST(ColumnLayout, ResetUsesTheStoredDefaultsAndTheNaturalOrder) {
    FakeStore store;
    writeColumnDefaults(store);
    EdlDocument doc;
    loadColumnMemories(doc, store);
    registerColumnMemory(doc, 0, customLayout(), store);
    resetColumnMemories(doc, store);
    for (int k = 0; k < kLayoutCount; ++k) {
        EXPECT_EQ(row(doc.columnWidth[k]), row(kCreationWidths)) << k;
        EXPECT_EQ(doc.columnOrder[k][0], 0);
        EXPECT_EQ(doc.columnOrder[k][13], 13);
    }
    // After a reset V and TYP are 100 wide, unlike the first-use widths.
    const auto stored = store.ints(kColumnWidthKey, kColumnWidthValue);
    ASSERT_EQ(stored.size(), 56u);
    EXPECT_EQ(stored[kColV], 100);
    EXPECT_EQ(stored[3 * kColumnCount + kColType], 100);
    EXPECT_EQ(store.ints(kColumnOrderKey, kColumnOrderValue)[kColumnCount + 5], 5);
}

TEST(ColumnLayout, ResetFollowsChangedStoredDefaults) {
    FakeStore store;
    int32_t widths[kColumnCount];
    for (int i = 0; i < kColumnCount; ++i)
        widths[i] = 50 + i;
    store.write(kDefColumnWidthKey, kDefColumnWidthValue, encodeColumnValues(widths, kColumnCount));
    EdlDocument doc;
    resetColumnMemories(doc, store);
    EXPECT_EQ(doc.columnWidth[2][13], 63);
}

// Whatever is wrong with the stored default widths, the reset never stores a zero width.
TEST(ColumnLayout, ResetNeverWritesZeroWidths) {
    const int32_t partial[3] = {60, 75, 100};
    int32_t withZero[kColumnCount];
    std::copy(std::begin(kCreationWidths), std::end(kCreationWidths), withZero);
    withZero[7] = 0;
    const std::vector<std::vector<uint8_t>> broken = {
        {}, encodeColumnValues(partial, 3), encodeColumnValues(withZero, kColumnCount)};
    for (size_t i = 0; i <= broken.size(); ++i) {
        FakeStore store;
        if (i < broken.size())
            store.write(kDefColumnWidthKey, kDefColumnWidthValue, broken[i]);
        EdlDocument doc;
        resetColumnMemories(doc, store);
        for (int32_t w : store.ints(kColumnWidthKey, kColumnWidthValue))
            EXPECT_GT(w, 0) << "case " << i;
        EXPECT_EQ(row(doc.columnWidth[1]), row(kCreationWidths)) << "case " << i;
    }
}

TEST(ColumnLayout, StoreThatCannotBeOpenedChangesNothingStored) {
    FakeStore store;
    store.failOpen = true;
    EdlDocument doc;
    doc.columnWidth[0][0] = 5;
    loadColumnMemories(doc, store);
    EXPECT_EQ(doc.columnWidth[0][0], 5);
    registerColumnMemory(doc, 1, customLayout(), store);
    resetColumnMemories(doc, store);
    EXPECT_TRUE(store.values.empty());
}

TEST(ColumnLayout, ColumnHeadersAndAlignment) {
    EXPECT_EQ(kColumnSpecs[0].header, u"EDIT");
    EXPECT_EQ(kColumnSpecs[2].header, u"  V  ");
    EXPECT_EQ(kColumnSpecs[13].header, u" マーカー・ユーザーコメント ");
    int centred = 0;
    for (const auto& column : kColumnSpecs)
        centred += column.align == ColumnAlign::Centre;
    EXPECT_EQ(centred, 10);
    EXPECT_EQ(kColumnSpecs[3].align, ColumnAlign::Left);
}
