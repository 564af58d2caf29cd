// The first and last tab stop among a window's children, a font for a whole
// window tree, and combo boxes by item data.

#include "platform/ui/ComboBoxData.h"
#include "platform/ui/WindowTree.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(WindowTreeTest, TabStopsAreShownEnabledChildrenThatTakeTheFocusByTab) {
    QWidget window;
    EXPECT_EQ(GetFirstTabStopChild(&window), nullptr);
    EXPECT_EQ(GetLastTabStopChild(nullptr), nullptr);

    auto* pLabel = new QLabel("Name", &window);           // no tab stop
    auto* pHidden = new QLineEdit(&window);
    pHidden->hide();
    auto* pDisabled = new QLineEdit(&window);
    pDisabled->setEnabled(false);
    auto* pFirst = new QLineEdit(&window);
    auto* pMiddle = new QPushButton("OK", &window);
    auto* pLast = new QLineEdit(&window);
    auto* pClickOnly = new QPushButton("Klick", &window);
    pClickOnly->setFocusPolicy(Qt::ClickFocus);
    // Children of children do not count.
    auto* pInner = new QWidget(pLast);
    new QLineEdit(pInner);

    // Shown in itself is enough: the window need not be on the screen.
    EXPECT_EQ(GetFirstTabStopChild(&window), pFirst);
    EXPECT_EQ(GetLastTabStopChild(&window), pLast);
    pFirst->setEnabled(false);
    pLast->hide();
    EXPECT_EQ(GetFirstTabStopChild(&window), pMiddle);
    EXPECT_EQ(GetLastTabStopChild(&window), pMiddle);
    (void)pLabel;
}

TEST(WindowTreeTest, FontGoesToTheWindowAndEveryWindowBelow) {
    QWidget window;
    auto* pChild = new QWidget(&window);
    auto* pGrandChild = new QLabel("Text", pChild);
    QFont font("Arial", 17);
    font.setBold(true);
    ApplyToWindowTree(&window, font, TRUE);
    EXPECT_EQ(window.font().pointSize(), 17);
    EXPECT_EQ(pChild->font().pointSize(), 17);
    EXPECT_TRUE(pGrandChild->font().bold());
    ApplyToWindowTree(nullptr, font, FALSE);  // nothing
}

TEST(ComboBoxDataTest, SelectionByItemData) {
    EXPECT_EQ(GetComboSelData(nullptr), 0);
    SelectComboByData(nullptr, 1, 0);

    QComboBox combo;
    EXPECT_EQ(GetComboSelData(&combo), 0);  // empty
    EXPECT_EQ(AddComboItem(&combo, "01/02/0003", 0x1203), 0);
    AddComboItem(&combo, "ungültig", -0x1203);  // an address of the invalid list
    AddComboItem(&combo, "ohne Daten", 0);
    combo.addItem("fremd");                      // no data at all

    SelectComboByData(&combo, -0x1203, 0);
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(GetComboSelData(&combo), -0x1203);
    // Not there: the default index, or none.
    SelectComboByData(&combo, 77, 2);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(GetComboSelData(&combo), 0);
    SelectComboByData(&combo, 77, -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(GetComboSelData(&combo), 0);
    combo.setCurrentIndex(3);
    EXPECT_EQ(GetComboSelData(&combo), 0);

    SetComboItemData(&combo, 3, 42);
    EXPECT_EQ(GetComboItemData(&combo, 3), 42);
    EXPECT_EQ(GetComboItemData(&combo, 9), 0);
    // The first entry with the data wins.
    SetComboItemData(&combo, 2, 0x1203);
    SelectComboByData(&combo, 0x1203, -1);
    EXPECT_EQ(combo.currentIndex(), 0);
}

}  // namespace
