// The result grid's semantics: row 0 an ordinary header row, hidden columns of width
// -1, the current row, growing and shrinking without losing rows, updates.
#include "support/GuiTest.h"

#include "platform/ActionList.h"
#include "platform/CommandDispatch.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace ormaline;
using namespace ormaline::testing;

TEST(StringGridTest, HeaderRowIsAnOrdinaryRow) {
    StringGrid grid;
    grid.resize(400, 300);
    grid.show();
    grid.ResetToHeader({"N", "RefCode", "ID"});
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowTexts(0), (std::vector<std::string>{"N", "RefCode", "ID"}));
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_FALSE(grid.HasCurrentDataRow());
    grid.SetRow(0); // the header row can be selected
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_FALSE(grid.HasCurrentDataRow());
    // Cells out of range read as empty and are not written.
    EXPECT_EQ(grid.Cell(5, 0), "");
    grid.SetCell(5, 9, "x");
    EXPECT_EQ(grid.RowCount(), 1);
}

TEST(StringGridTest, RowsGrowAndShrinkKeepingTheirTexts) {
    StringGrid grid;
    grid.ResetToHeader({"A", "B"});
    grid.SetRowCount(4);
    grid.SetRowTexts(1, {"1", "one"});
    grid.SetRowTexts(3, {"3", "three"});
    grid.SetRowCount(10);
    EXPECT_EQ(grid.RowTexts(3), (std::vector<std::string>{"3", "three"}));
    EXPECT_EQ(grid.RowTexts(9), (std::vector<std::string>{"", ""}));
    grid.SetRowCount(2);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.RowTexts(1), (std::vector<std::string>{"1", "one"}));
    grid.SetRowCount(0); // the header row always stays
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.RowTexts(0), (std::vector<std::string>{"A", "B"}));
    // More columns keep the cells where they were.
    grid.SetColCount(3);
    EXPECT_EQ(grid.RowTexts(0), (std::vector<std::string>{"A", "B", ""}));
}

TEST(StringGridTest, HiddenColumnsAndWidths) {
    StringGrid grid;
    grid.ResetToHeader({"TTLCode", "CountAt", "TTLName", "ID", "Occur."});
    grid.SetColWidth(2, 170);
    grid.SetColWidth(3, -1);
    EXPECT_EQ(grid.ColWidth(2), 170);
    EXPECT_EQ(grid.ColWidth(3), -1);
    EXPECT_TRUE(grid.isColumnHidden(3));
    // A hidden column still holds its texts: the ID is read back from it.
    grid.SetRowCount(2);
    grid.SetCell(3, 1, "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
    EXPECT_EQ(grid.Cell(3, 1), "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}");
    grid.SetColWidth(3, 40);
    EXPECT_FALSE(grid.isColumnHidden(3));
}

TEST(StringGridTest, ClickingARowMakesItCurrentAndAResetGoesBackToTheHeader) {
    StringGrid grid;
    grid.resize(400, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.ResetToHeader({"N", "Name"});
    grid.SetRowCount(3);
    grid.SetRowTexts(1, {"1", "water"});
    grid.SetRowTexts(2, {"2", "ammonia"});
    QSignalSpy changes(&grid, &StringGrid::CurrentRowChanged);
    QRect second = grid.visualRect(grid.GridModel()->index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_TRUE(grid.HasCurrentDataRow());
    EXPECT_FALSE(changes.isEmpty());
    // A new search resets the grid: the header row is current again.
    grid.BeginUpdate();
    grid.SetRowCount(1);
    grid.SetRowCount(3);
    grid.EndUpdate();
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_FALSE(grid.HasCurrentDataRow());
}

TEST(StringGridTest, EditableGridsEditDataCellsOnly) {
    StringGrid grid;
    grid.ResetToHeader({"N", "RefCode"});
    grid.SetRowCount(2);
    grid.SetEditable(true);
    auto* model = grid.GridModel();
    EXPECT_TRUE(model->flags(model->index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable); // header row
    EXPECT_FALSE(model->flags(model->index(1, 0)) & Qt::ItemIsEditable); // fixed column
    EXPECT_TRUE(model->setData(model->index(1, 1), QString("ABCDEF"), Qt::EditRole));
    EXPECT_EQ(grid.Cell(1, 1), "ABCDEF");
}

TEST(StringGridTest, AFillSizesColumnsToTheirContentsAndKeepsTheUsersWidths) {
    StringGrid grid;
    grid.resize(900, 300);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.ResetToHeader({"N", "Name", "Note"});
    grid.SetColWidth(1, 100);
    const std::string longName = "catena-(bis(mu2-4,4'-bipyridine)-dithiocyanato-copper(ii))";
    auto fill = [&](const std::string& name, int rows) {
        grid.SetRowCount(1);
        grid.BeginUpdate();
        grid.SetRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r)
            grid.SetRowTexts(r, {std::to_string(r), r == rows ? name : "water", "x"});
        grid.EndUpdate();
    };
    fill(longName, 3);
    const int wide = grid.ColWidth(1);
    EXPECT_GE(wide, grid.fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    EXPECT_LE(wide, StringGrid::kFitMaxWidth);
    // Short contents never make a column narrower than its stated width.
    fill("water", 3);
    EXPECT_EQ(grid.ColWidth(1), 100);
    EXPECT_EQ(grid.ColWidth(2), StringGrid::kDefaultColumnWidth);
    // Only the first rows are measured, so that a long fill stays fast.
    fill(longName, StringGrid::kFitRows + 10);
    EXPECT_EQ(grid.ColWidth(1), 100);

    // The user drags the line at the right edge of column 1 to 60 pixels.
    const int left = grid.columnViewportPosition(1);
    const int y = grid.visualRect(grid.GridModel()->index(0, 1)).center().y();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(left + 100, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(left + 60, y),
                     grid.viewport()->mapToGlobal(QPointF(left + 60, y)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(left + 60, y));
    EXPECT_EQ(grid.ColWidth(1), 60);
    EXPECT_TRUE(grid.ColumnSizedByUser(1));
    EXPECT_EQ(grid.Row(), 0) << "dragging a column line selects no row";
    fill(longName, 3);
    EXPECT_EQ(grid.ColWidth(1), 60);
    EXPECT_GE(grid.ColWidth(2), StringGrid::kDefaultColumnWidth);
}

TEST(ActionListTest, RulesAreEvaluatedWhenTheInterfaceIsIdle) {
    auto& dialogs = FreshDialogs();
    QObject owner;
    ActionList list(&owner);
    bool allowed = false;
    int runs = 0;
    QAction* action = list.Add(
        "actProbe", "Probe", [&] { ++runs; }, [&] { return allowed; }, "Probe hint",
        QKeySequence("Ctrl+P"));
    EXPECT_EQ(action->text().toStdString(), "Probe");
    EXPECT_EQ(action->toolTip().toStdString(), "Probe hint");
    EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+P"));
    list.UpdateActions();
    EXPECT_FALSE(action->isEnabled());
    allowed = true;
    ProcessEvents(); // no explicit update: the idle loop re-evaluates
    EXPECT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(runs, 1);

    // An error a command throws ends it with the default error report.
    QAction* failing = list.Add("actFail", "Fail", [] { throw std::runtime_error("disk full"); });
    failing->trigger();
    EXPECT_EQ(dialogs.TextsOf(DialogKind::Error), (std::vector<std::string>{"disk full"}));
    // A rule that throws counts as disabled.
    QAction* odd = list.Add(
        "actOdd", "Odd", [] {}, []() -> bool { throw std::logic_error("x"); });
    list.UpdateActions();
    EXPECT_FALSE(odd->isEnabled());
}
