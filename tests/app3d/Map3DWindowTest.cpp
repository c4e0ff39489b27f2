// The map in 3D follows the document: an edit on the form and its undo
// reach the surface at once.

#include "WindowFixture.h"

#include "app/views/Map3DWindow.h"

#include <QAbstractButton>
#include <QAction>

namespace orna5::test {

TEST_F(WindowTest, TheMapIn3DFollowsAnEditAndItsUndo) {
    auto window = Start();
    ASSERT_TRUE(Map3DWindow::OpenGLAvailable());
    Find<QAction>(*window, "MenuMap3D")->trigger();
    auto* map = window->findChild<Map3DWindow*>("Map3DWindow");
    ASSERT_NE(map, nullptr);
    QTest::qWait(100);

    // Without throttle rows: the 100 % row as a ribbon of two data rows.
    ASSERT_EQ(window->Image()[field::mapUsesTps], 0);
    ASSERT_EQ(map->SurfaceRows(), 2);
    const int before = window->Image()[MapCell(9, 1)];
    EXPECT_EQ(map->SurfaceValue(1, 1), before);

    Enter(*window, "Edit141", QString::number(before + 3));
    EXPECT_EQ(map->SurfaceValue(0, 1), before + 3);
    EXPECT_EQ(map->SurfaceValue(1, 1), before + 3);
    MouseClick(Find<QAbstractButton>(*window, "SpeedButtonZpet"));
    EXPECT_EQ(map->SurfaceValue(1, 1), before);

    // The throttle rows on: a surface of ten rows.
    MouseClick(Find<QAbstractButton>(*window, "CheckBoxTpsMapa"));
    ASSERT_EQ(window->Image()[field::mapUsesTps], 1);
    EXPECT_EQ(map->SurfaceRows(), 10);
    map->close();
}

} // namespace orna5::test
