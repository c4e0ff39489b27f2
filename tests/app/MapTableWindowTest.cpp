// The map table window: a command on a block is one step of the form.

#include "WindowFixture.h"

#include "app/views/MapTableWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QTableView>

namespace orna5::test {

TEST_F(WindowTest, AMapTableCommandIsOneUndoStepAndReachesTheAdvancePage) {
    auto window = Start();
    Find<QAction>(*window, "MenuMapTable")->trigger();
    auto* table = Find<MapTableWindow>(*window, "MapTableWindow");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    // Without throttle rows the table is the one row the unit reads, the
    // map's last.
    ASSERT_EQ(window->Image()[field::mapUsesTps], 0);
    auto* view = table->findChild<QTableView*>("TableMap");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 1);

    const ParameterImage before = window->Image();
    const std::uint16_t step = window->Undo().Current();
    table->SelectCells(0, 2, 0, 4);
    auto* value = table->findChild<QSpinBox*>("SpinBoxSet");
    ASSERT_NE(value, nullptr);
    value->selectAll();
    QTest::keyClicks(value, "33");
    QTest::keyClick(value, Qt::Key_Return);

    EXPECT_EQ(window->Undo().Current(), step + 1);
    for (std::size_t column = 2; column <= 4; ++column) {
        EXPECT_EQ(window->Image()[MapCell(9, column)], 33);
        EXPECT_EQ(Edit(*window, QString("Edit%1").arg(50 + 90 + column))->text(), "33");
    }
    EXPECT_EQ(Edit(*window, "Edit141")->text(), QString::number(before[MapCell(9, 1)]));
    EXPECT_EQ(view->model()->index(0, 3).data().toInt(), 33);

    // The + key on the selection: one more step.
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_EQ(window->Undo().Current(), step + 2);
    EXPECT_EQ(window->Image()[MapCell(9, 3)], 34);

    // The form's undo takes each back in one step, and the table follows.
    MouseClick(Find<QAbstractButton>(*window, "SpeedButtonZpet"));
    EXPECT_EQ(window->Image()[MapCell(9, 3)], 33);
    MouseClick(Find<QAbstractButton>(*window, "SpeedButtonZpet"));
    EXPECT_EQ(window->Image(), before);
    EXPECT_EQ(view->model()->index(0, 3).data().toInt(), before[MapCell(9, 3)]);
}

// Asked for again, the open table comes forward; closed, it is gone, and the
// next one opens where it was.
TEST_F(WindowTest, TheMapTableOpensOnceAndReopensWhereItWasClosed) {
    auto window = Start();
    auto* menu = Find<QAction>(*window, "MenuMapTable");
    menu->trigger();
    menu->trigger();
    const auto tables = [&] {
        return window->findChildren<MapTableWindow*>("MapTableWindow").size();
    };
    ASSERT_EQ(tables(), 1);
    auto* table = Find<MapTableWindow>(*window, "MapTableWindow");
    table->setGeometry(140, 110, 720, table->height());
    const QRect place = table->geometry();
    table->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(tables(), 0);
    menu->trigger();
    ASSERT_EQ(tables(), 1);
    EXPECT_EQ(Find<MapTableWindow>(*window, "MapTableWindow")->geometry(), place);
}

} // namespace orna5::test
