#include "tests/platform/ui/UiTestHarness.h"
#include "ui/TableBox.h"

#include <QHeaderView>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

CObject* Obj(int n) {
    return reinterpret_cast<CObject*>(static_cast<std::uintptr_t>(0x100 + n * 8));
}

// A table of a left-aligned name column and a right-aligned number column
// with a trailing "new entry" row.
class TableBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_box.AddColumn("Name", 80, LVCFMT_LEFT);
        m_box.AddColumn("Nr", 40, LVCFMT_RIGHT);
    }
    void Add(const std::string& strName, const std::string& strNr, int nObj) {
        m_box.AddRow({strName, strNr}, Obj(nObj), -1);
    }
    void AddNewEntryRow() { m_box.AddItem("<neu>", nullptr, -1); }
    std::vector<std::string> Column(int nColumn) const {
        std::vector<std::string> texts;
        for (int i = 0; i < m_box.GetItemCount(); ++i) {
            texts.push_back(m_box.GetItemText(i, nColumn));
        }
        return texts;
    }

    CTableBox m_box;
};

TEST_F(TableBoxTest, ColumnFormatsKeepAlignmentAndTheAutoSizeBit) {
    EXPECT_EQ(m_box.GetColumnFormat(1), LVCFMT_RIGHT);
    EXPECT_EQ(m_box.AddColumn("Auto", LVSCW_AUTOSIZE, LVCFMT_CENTER), 2);
    EXPECT_EQ(m_box.GetColumnFormat(2), 0x80 | LVCFMT_CENTER);
    EXPECT_TRUE(m_box.header()->sectionsMovable());
}

TEST_F(TableBoxTest, AddRowKeepsAscendingOrderAndPutsEqualRowsAfter) {
    Add("b", "1", 1);
    AddNewEntryRow();
    Add("a", "1", 2);
    Add("c", "1", 3);
    Add("a", "1", 4);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "a", "b", "c", "<neu>"}));
    EXPECT_EQ(m_box.GetItemData(0), Obj(2));
    EXPECT_EQ(m_box.GetItemData(1), Obj(4));
    EXPECT_EQ(m_box.GetDataRowCount(), 4);
    EXPECT_EQ(m_box.GetItemData(4), nullptr);
}

TEST_F(TableBoxTest, ManyRowsStandAsAStableSortOfTheirOrderOfAdding) {
    struct Row {
        std::string strName;
        int nNr;
        int nObj;
    };
    std::vector<Row> rows;
    unsigned nSeed = 7;
    for (int i = 0; i < 300; ++i) {
        nSeed = nSeed * 1103515245u + 12345u;
        rows.push_back({std::string(1, static_cast<char>('a' + (nSeed >> 16) % 5)), static_cast<int>((nSeed >> 8) % 7), i});
        Add(rows.back().strName, std::to_string(rows.back().nNr), i);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.strName != b.strName ? a.strName < b.strName : a.nNr < b.nNr;
    });
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        ASSERT_EQ(m_box.GetItemData(i), Obj(rows[static_cast<std::size_t>(i)].nObj)) << "row " << i;
    }
}

TEST_F(TableBoxTest, RightAlignedColumnsSortNumericallyLeftAlignedOnesByText) {
    Add("x", "10", 1);
    Add("y", "2", 2);
    Add("z", "abc", 3);
    AddNewEntryRow();
    m_box.SortByColumn(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"abc", "2", "10", ""}));
    EXPECT_FALSE(m_box.IsSortDescending());
    m_box.SortByColumn(1);
    EXPECT_TRUE(m_box.IsSortDescending());
    EXPECT_EQ(Column(1), (std::vector<std::string>{"10", "2", "abc", ""}));
    EXPECT_EQ(m_box.GetItemText(3, 0), "<neu>");

    CTableBox texts;
    texts.AddColumn("T", 50, LVCFMT_LEFT);
    texts.AddRow({"2"}, Obj(1), -1);
    texts.AddRow({"10"}, Obj(2), -1);
    EXPECT_EQ(texts.GetItemText(0, 0), "10");
}

TEST_F(TableBoxTest, NumbersAtTheEndsOfTheRangeCompareWithoutOverflow) {
    Add("a", "2147483647", 1);
    Add("b", "-2147483648", 2);
    m_box.SortByColumn(1);
    EXPECT_EQ(m_box.GetItemData(0), Obj(2));
    EXPECT_GT(m_box.CompareItems(1, 1, 0), 0);
}

TEST_F(TableBoxTest, SortingIsStableAndKeepsSelectionFocusAndMarkOnTheirObjects) {
    Add("b", "1", 1);
    Add("a", "2", 2);
    Add("a", "1", 3);
    AddNewEntryRow();
    m_box.SortByColumn(1);  // by number: "b"1 and "a"1 keep their order
    EXPECT_EQ(m_box.GetItemData(0), Obj(3));
    m_box.SortByColumn(0);  // by name: obj 3 stays before obj 2? both "a": stable from current order
    ASSERT_EQ(Column(0), (std::vector<std::string>{"a", "a", "b", "<neu>"}));
    const int nRow = m_box.FindRowOfObject(Obj(1));
    m_box.SelectSingleItem(nRow);
    m_box.SortByColumn(0);  // descending
    const int nNew = m_box.FindRowOfObject(Obj(1));
    EXPECT_EQ(nNew, 0);
    EXPECT_TRUE(m_box.IsItemSelected(nNew));
    EXPECT_TRUE(m_box.IsItemFocused(nNew));
    EXPECT_EQ(m_box.GetSelectionMark(), nNew);
    EXPECT_EQ(m_box.GetSelectedCount(), 1);
    EXPECT_EQ(m_box.GetItemText(3, 0), "<neu>");

    // A new row goes to its ascending place also in a descending table.
    Add("0", "5", 9);
    EXPECT_EQ(m_box.GetItemData(0), Obj(9));
}

TEST_F(TableBoxTest, DeleteRowReselectsAndIgnoresRowsOutside) {
    Add("a", "1", 1);
    Add("b", "1", 2);
    m_box.DeleteRow(5, true);
    m_box.DeleteRow(-1, true);
    EXPECT_EQ(m_box.GetItemCount(), 2);
    m_box.DeleteRow(1, true);
    EXPECT_EQ(m_box.GetDataRowCount(), 1);
    EXPECT_TRUE(m_box.IsItemSelected(0));
    EXPECT_EQ(m_box.GetSelectionMark(), 0);
    m_box.DeleteRow(0, true);
    EXPECT_EQ(m_box.GetItemCount(), 0);
    EXPECT_EQ(m_box.GetSelectionMark(), -1);
}

TEST_F(TableBoxTest, ColumnOrderMustBeAPermutation) {
    m_box.AddColumn("Third", 30, LVCFMT_LEFT);
    const int repeated[] = {0, 0, 1};
    m_box.SetColumnOrder(3, repeated);
    EXPECT_EQ(m_box.GetColumnOrder(), (std::vector<int>{0, 1, 2}));
    const int order[] = {2, 0, 1};
    m_box.SetColumnOrder(2, order);
    EXPECT_EQ(m_box.GetColumnOrder(), (std::vector<int>{0, 1, 2}));
    m_box.SetColumnOrder(3, order);
    EXPECT_EQ(m_box.GetColumnOrder(), (std::vector<int>{2, 0, 1}));
}

}  // namespace
