// A new rpm axis from the map table: a refused list changes nothing, a taken
// one is one undo step that reaches the form. The 3D map without OpenGL.

#include "WindowFixture.h"

#include "app/views/Map3DWindow.h"
#include "app/views/MapTableWindow.h"
#include "app/views/RpmAxisDialog.h"
#include "lang/MapTableTexts.h"
#include "lang/ViewTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace orna5::test {

namespace {

RpmAxisDialog* OpenFromTable(TFormHlav& window, const char* action) {
    window.findChild<QAction*>("MenuMapTable")->trigger();
    auto* table = window.findChild<MapTableWindow*>("MapTableWindow");
    table->findChild<QAction*>(action)->trigger();
    return table->findChild<RpmAxisDialog*>("RpmAxisDialog");
}

void ClickOk(RpmAxisDialog* dialog) {
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

TEST_F(WindowTest, ANewRpmAxisIsRefusedWithItsReasonOrTakenAsOneUndoStep) {
    auto window = Start();
    RpmAxisDialog* dialog = OpenFromTable(*window, "ActionChangeRpmAxis");
    ASSERT_NE(dialog, nullptr);
    const ParameterImage before = window->Image();
    const std::uint16_t step = window->Undo().Current();

    // Ten points that fall back at the fifth: refused, nothing changes.
    auto* fifth = dialog->findChild<QSpinBox*>("SpinBoxRpm5");
    fifth->setValue(dialog->findChild<QSpinBox*>("SpinBoxRpm4")->value() - 100);
    ClickOk(dialog);
    auto* box = dialog->findChild<QMessageBox*>("RpmAxisErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().toStdString(), TextIn(MapText::RpmNotRising, 0));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(window->Image(), before);
    EXPECT_EQ(window->Undo().Current(), step);
    box->close();

    // First and last, spread: one step, the axis and the form follow.
    dialog->findChild<QSpinBox*>("SpinBoxFirst")->setValue(1000);
    dialog->findChild<QSpinBox*>("SpinBoxLast")->setValue(10000);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("RadioSpread")->isChecked());
    ClickOk(dialog);
    EXPECT_EQ(window->Undo().Current(), step + 1);
    const RpmPoints spread = SpreadRpmPoints(1000, 10000);
    for (std::size_t j = 0; j < kAxisPoints; ++j)
        EXPECT_EQ(window->Image()[field::mapRpm + j], spread[j] / 100) << j;
    EXPECT_EQ(Edit(*window, "EditRpmAdv1")->text().remove(QChar(0xA0)).remove(' '), "1000");
    MouseClick(Find<QAbstractButton>(*window, "SpeedButtonZpet"));
    EXPECT_EQ(window->Image(), before);
}

// The offscreen platform draws no OpenGL: the menu item says so, in the
// current language, and opens nothing.
TEST_F(WindowTest, WithoutOpenGLTheMapIn3DExplainsWhy) {
    auto window = Start();
    ASSERT_FALSE(Map3DWindow::OpenGLAvailable());
    Find<QAction>(*window, "MenuGerman")->trigger();
    Find<QAction>(*window, "MenuMap3D")->trigger();
    auto* box = window->findChild<QMessageBox*>("NoOpenGLBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().toStdString(), TextIn(ViewText::NeedsOpenGL, 1));
    EXPECT_EQ(window->findChild<Map3DWindow*>(), nullptr);
    box->close();
}

} // namespace orna5::test
