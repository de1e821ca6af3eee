// The column-layout memories: first use, reset, register and recall.

#include "main_window_fixture.h"

#include "screen/column_layout.h"
#include "ui/list_columns.h"

namespace qlp {
namespace {

using test::kSettings;
using test::MainWindowTest;
using test::setModifiers;

class ColumnLayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        entry = fakeDocument(kSaved);
        ui().document.currentRow[kAllEvents] = 0;
        ShowWindow(list, SW_SHOW);
        EnableWindow(list, TRUE);
    }
    int width(int column) const { return ListView_GetColumnWidth(list, column); }
    std::vector<int32_t> storedWidths() const { return test::readInts(kSettings + L"\\ColumnWidth", L"項目の幅"); }
    std::vector<int32_t> storedOrders() const { return test::readInts(kSettings + L"\\ColumnOrder", L"項目の順序"); }

    TabEntry* entry = nullptr;
};

// The very first document of a user: V and TYP are 60 wide in the list and in every memory.
TEST_F(ColumnLayoutTest, FirstUseWidths) {
    applyStoredColumnLayout(ui().document, list);
    EXPECT_EQ(width(kColV), 60);
    EXPECT_EQ(width(kColType), 60);
    EXPECT_EQ(width(kColEdit), 60);
    EXPECT_EQ(width(kColSpare), 200);
    ASSERT_EQ(storedWidths().size(), 56u);
    EXPECT_EQ(storedOrders().size(), 56u);
    for (int memory = 0; memory < 4; ++memory) {
        EXPECT_EQ(storedWidths()[memory * kColumnCount + kColV], 60) << memory;
        EXPECT_EQ(storedWidths()[memory * kColumnCount + kColType], 60) << memory;
    }
}

// The reset puts the stored default widths into the list and all four memories; without stored
// defaults it uses the creation widths (never zero widths). It does not mark the document modified.
struct ResetCase {
    const char* name;
    enum { Kept, Removed, Changed } defaults;
};

class ColumnReset : public ColumnLayoutTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ColumnReset, PutsTheDefaultsIntoTheListAndEveryMemory) {
    applyStoredColumnLayout(ui().document, list);
    std::vector<int32_t> expected(std::begin(kCreationWidths), std::end(kCreationWidths));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kSettings + L"\\DefColumnWidth").c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    if (GetParam().defaults == ResetCase::Removed) {
        RegDeleteValueW(key, L"項目の幅(デフォルト値)");
    } else if (GetParam().defaults == ResetCase::Changed) {
        expected[kColType] = 90;
        expected[kColSpare] = 250;
        RegSetValueExW(key, L"項目の幅(デフォルト値)", 0, REG_BINARY, reinterpret_cast<const BYTE*>(expected.data()),
                       static_cast<DWORD>(expected.size() * sizeof(int32_t)));
    }
    RegCloseKey(key);

    SendMessageW(hwnd, WM_COMMAND, IDM_RESET_LAYOUT, 0);
    const auto widths = storedWidths();
    ASSERT_EQ(widths.size(), 56u);
    for (size_t i = 0; i < widths.size(); ++i)
        EXPECT_EQ(widths[i], expected[i % kColumnCount]) << i;
    for (int column = 1; column < kColumnCount; ++column)
        EXPECT_EQ(width(column), expected[column]) << column;
    EXPECT_EQ(entry->saveState, kSaved);
}

INSTANTIATE_TEST_SUITE_P(ColumnLayoutTest, ColumnReset,
                         ::testing::Values(ResetCase{"StoredDefaults", ResetCase::Kept},
                                           ResetCase{"WithoutStoredDefaults", ResetCase::Removed},
                                           ResetCase{"ChangedStoredDefaults", ResetCase::Changed}),
                         [](const auto& info) { return std::string(info.param.name); });

// Ctrl held on button "3" stores memory 3; F1 and F3 then switch between the memories.
TEST_F(ColumnLayoutTest, RegisterWithCtrlOnAButtonAndRecall) {
    applyStoredColumnLayout(ui().document, list);
    ListView_SetColumnWidth(list, kColType, 33);
    int order[kColumnCount] = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ListView_SetColumnOrderArray(list, kColumnCount, order);

    setModifiers(true, false, false);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT1 + 2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_LAYOUT1 + 2)));
    setModifiers(false, false, false);
    EXPECT_EQ(storedWidths()[2 * kColumnCount + kColType], 33);
    EXPECT_EQ(storedOrders()[2 * kColumnCount + 0], 1);
    EXPECT_EQ(storedWidths()[kColType], 60); // memory 1 untouched
    EXPECT_EQ(entry->saveState, kModified);  // registering marks the document modified
    EXPECT_EQ(ui().document.currentLayout, 0);

    SendMessageW(hwnd, WM_COMMAND, IDM_RECALL_LAYOUT1, 0);
    EXPECT_EQ(width(kColType), 60);
    ListView_GetColumnOrderArray(list, kColumnCount, order);
    EXPECT_EQ(order[0], 0);
    EXPECT_EQ(ui().document.currentLayout, 0);

    // Without Ctrl the button recalls.
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_LAYOUT1 + 2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(IDC_LAYOUT1 + 2)));
    EXPECT_EQ(width(kColType), 33);
    ListView_GetColumnOrderArray(list, kColumnCount, order);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(ui().document.currentLayout, 2);

    // The register menu command does the same as Ctrl on a button.
    ListView_SetColumnWidth(list, kColSpare, 44);
    SendMessageW(hwnd, WM_COMMAND, IDM_REGISTER_LAYOUT4, 0);
    EXPECT_EQ(storedWidths()[3 * kColumnCount + kColSpare], 44);
}

// A recall while the view has no current row only marks the document modified.
TEST_F(ColumnLayoutTest, RecallWithoutCurrentRowKeepsTheColumns) {
    applyStoredColumnLayout(ui().document, list);
    ui().document.columnWidth[1][kColType] = 90;
    ui().document.currentRow[kAllEvents] = -1;
    SendMessageW(hwnd, WM_COMMAND, IDM_RECALL_LAYOUT2, 0);
    EXPECT_EQ(width(kColType), 60);
    EXPECT_EQ(ui().document.currentLayout, 0);
    EXPECT_EQ(entry->saveState, kModified);
}

} // namespace
} // namespace qlp
