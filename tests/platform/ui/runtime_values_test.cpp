// Values, lists, tables and attributes as the programs set and read them.

#include <gtest/gtest.h>

#include "test_panel.h"

namespace {

using namespace ui;
using RuntimeValues = uitest::PanelTest;

TEST_F(RuntimeValues, NumericsKeepOutOfRangeValuesAndRoundOnlyIntegers) {
    int station = Id(main, "STATION"), limit = Id(main, "LIMIT");
    // No range coercion (modules check ranges); halves round away from zero.
    for (auto [set, got] : {std::pair{300.0, 300}, std::pair{2.5, 3}, std::pair{-2.5, -3}}) {
        EXPECT_EQ(rt.SetCtrlVal(main, station, set), 0);
        EXPECT_EQ(Val(main, station), got) << set;
    }
    double d = 0;
    rt.SetCtrlVal(main, limit, 9.9994);
    rt.GetCtrlVal(main, limit, &d);
    EXPECT_DOUBLE_EQ(d, 9.9994);  // precision only changes what is shown
    EXPECT_EQ(rt.SetCtrlVal(main, station, std::string("x")), UIE_INVALID_VALUE);
}

TEST_F(RuntimeValues, RingsSelectByValueAndByIndex) {
    int codes = Id(main, "CODES"), baud = Id(main, "BAUD");
    EXPECT_EQ(Val(main, codes), 10);
    EXPECT_EQ(rt.SetCtrlVal(main, codes, 20), 0);
    EXPECT_EQ(Index(main, codes), 1);
    EXPECT_EQ(rt.SetCtrlVal(main, codes, 30), UIE_INVALID_VALUE);
    EXPECT_EQ(Index(main, codes), 1);
    EXPECT_EQ(rt.SetCtrlIndex(main, baud, 4), UIE_INDEX_OUT_OF_RANGE);
    EXPECT_EQ(rt.SetCtrlIndex(main, baud, 2), 0);
    std::string label;
    rt.GetLabelFromIndex(main, baud, 2, &label);
    EXPECT_EQ(label, "9600");
    EXPECT_EQ(rt.SetCtrlIndex(main, Id(main, "STATION"), 0), UIE_INVALID_CONTROL);
}

TEST_F(RuntimeValues, ListEditingKeepsTheSelectionOnItsItem) {
    int ports = Id(main, "PORTS"), n = -1;
    int v = 0;
    EXPECT_EQ(rt.GetCtrlVal(main, ports, &v), UIE_INDEX_OUT_OF_RANGE);  // empty list
    rt.InsertListItem(main, ports, -1, "COM3", 3);
    rt.InsertListItem(main, ports, -1, "COM7", 7);
    rt.SetCtrlIndex(main, ports, 1);
    rt.InsertListItem(main, ports, 0, "COM1", 1);
    EXPECT_EQ(Val(main, ports), 7);
    EXPECT_EQ(rt.InsertListItem(main, ports, 5, "x", 0), UIE_INDEX_OUT_OF_RANGE);
    rt.DeleteListItem(main, ports, 0, 2);
    EXPECT_EQ(Val(main, ports), 7);
    rt.DeleteListItem(main, ports, 0, 1);
    EXPECT_EQ(Index(main, ports), -1);
    rt.InsertListItem(main, ports, -1, "COM5", 5);
    EXPECT_EQ(rt.ClearListCtrl(main, ports), 0);
    rt.GetNumListItems(main, ports, &n);
    EXPECT_EQ(n, 0);
}

TEST_F(RuntimeValues, TableCellsAndLabelsCountFromOne) {
    int table = Id(main, "PARA");
    CellValue cell;
    ASSERT_EQ(rt.GetTableCellVal(main, table, 2, 1, &cell), 0);
    EXPECT_EQ(std::get<int>(cell), 19200);
    rt.SetTableCellVal(main, table, 1, 1, std::string("COM9"));
    rt.GetTableCellVal(main, table, 1, 1, &cell);
    EXPECT_EQ(std::get<std::string>(cell), "COM9");
    EXPECT_EQ(rt.SetTableCellVal(main, table, 3, 1, 0), UIE_INDEX_OUT_OF_RANGE);
    EXPECT_EQ(rt.SetTableCellVal(main, table, 0, 1, 0), UIE_INDEX_OUT_OF_RANGE);
    rt.SetTableRowAttribute(main, table, 2, ATTR_LABEL_TEXT, "Baud rate");
    rt.SetTableColumnAttribute(main, table, 1, ATTR_LABEL_TEXT, "Now");
    std::string s;
    rt.GetTableRowAttribute(main, table, 2, ATTR_LABEL_TEXT, &s);
    EXPECT_EQ(s, "Baud rate");  // and not the column's label
}

TEST_F(RuntimeValues, AttributesAreRefusedWhereTheyDoNotApplyOrAreOutOfRange) {
    int station = Id(main, "STATION"), baud = Id(main, "BAUD"), limit = Id(main, "LIMIT");
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_TEXT_COLOR, 0xFFFFFF), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_TEXT_COLOR, 0x1000000), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, limit, ATTR_PRECISION, 3), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(main, baud, ATTR_PRECISION, 1), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_ENABLED, 1), UIE_INVALID_ATTRIBUTE);
    rt.SetCtrlAttribute(main, station, ATTR_CTRL_MODE, VAL_INDICATOR);
    EXPECT_FALSE(rt.CanTakeFocus(main, station));
    std::string name;
    rt.GetCtrlAttribute(main, station, ATTR_CALLBACK_NAME, &name);
    EXPECT_EQ(name, "evCtrl");
    EXPECT_EQ(rt.SetCtrlAttribute(main, 999, ATTR_DIMMED, 1), UIE_INVALID_CONTROL);
    EXPECT_EQ(rt.SetCtrlAttribute(999, station, ATTR_DIMMED, 1), UIE_INVALID_PANEL);
}

TEST_F(RuntimeValues, TabPagesBelongToTheirPanelAndGoWithIt) {
    int tab = Id(main, "TAB"), page = -1, count = 0, bar = rt.GetPanelMenuBar(main);
    rt.GetNumTabPages(main, tab, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(rt.SetActiveTabPage(main, tab, 2), UIE_INDEX_OUT_OF_RANGE);
    rt.SetActiveTabPage(main, tab, 1);
    rt.GetActiveTabPage(main, tab, &page);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(rt.TopPanel(cal), main);
    EXPECT_EQ(rt.DiscardPanel(cfg), UIE_INVALID_PANEL);  // pages go with their panel
    EXPECT_EQ(rt.DiscardPanel(main), 0);
    EXPECT_EQ(rt.GetPanel(cfg), nullptr);
    EXPECT_EQ(rt.GetMenuBar(bar), nullptr);
    EXPECT_EQ(rt.SetCtrlVal(main, 1, 1), UIE_INVALID_PANEL);
    EXPECT_EQ(rt.GetActivePanel(), 0);
}

// Check marks read and set are the behaviour tests' (their headless front end reads them here).
TEST_F(RuntimeValues, MenuAttributesAndNamesAreChecked) {
    const int bar = rt.GetPanelMenuBar(main);
    ASSERT_GT(bar, 0);
    const int about = rt.FindMenuItem(bar, "ABOUT");
    EXPECT_EQ(rt.SetMenuBarAttribute(bar, about, ATTR_CHECKED, 1), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.FindMenuItem(bar, "NOPE"), UIE_INVALID_MENU);
    EXPECT_EQ(rt.GetPanelMenuBar(rt.LoadPanel(0, file_, "OTHER")), 0);
}

}  // namespace
