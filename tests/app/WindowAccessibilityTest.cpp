// What a screen reader finds: every control that takes the focus has a name,
// in the main window and in every view, in the language shown; Tab follows
// the page as it reads.

#include "../ride/RideLog.h"
#include "WindowFixture.h"

#include "app/ViewManager.h"
#include "app/views/AdvanceCurvesWindow.h"
#include "app/views/CompareWindow.h"
#include "app/views/DashboardWindow.h"
#include "app/views/HistoryWindow.h"
#include "app/views/LogChartWindow.h"
#include "app/views/LogPlaybackWindow.h"
#include "app/views/MapTableWindow.h"
#include "app/views/RidesWindow.h"
#include "app/views/TimingCheckWindow.h"
#include "files/ParameterFile.h"
#include "lang/AccessTexts.h"
#include "lang/TextTable.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <fstream>
#include <functional>

namespace orna5::test {

namespace {

// The object names (or, without one, the class names) from the walked root
// down to a control, for the failure message.
QString PathOf(QObject* object, QObject* root) {
    QStringList parts;
    for (QObject* at = object; at && at != root; at = at->parent())
        parts.prepend(at->objectName().isEmpty() ? at->metaObject()->className()
                                                 : at->objectName());
    return parts.join('/');
}

// Walks the accessibility tree below `node` as a screen reader does and
// collects every element without a name that takes the focus or can be
// pressed (the arrows of a spin take no focus, yet are buttons to a reader).
void CollectUnnamed(QAccessibleInterface* node, QObject* root, QStringList& unnamed, int depth) {
    if (!node || depth > 40)
        return;
    // The items of a list or table are values, read as "blank" when empty;
    // the list or table itself must have a name.
    const QAccessible::Role role = node->role();
    const bool item =
        role == QAccessible::Cell || role == QAccessible::TreeItem || role == QAccessible::ListItem;
    const QAccessibleActionInterface* actions = node->actionInterface();
    const bool pressable =
        actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
    if (!item && (node->state().focusable || pressable) &&
        node->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QString("%1 (role %2)")
                       .arg(PathOf(node->object() ? node->object() : root, root))
                       .arg(static_cast<int>(node->role()));
    for (int i = 0; i < node->childCount(); ++i)
        CollectUnnamed(node->child(i), root, unnamed, depth + 1);
}

QStringList Unnamed(QWidget* root) {
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(root), root, unnamed, 0);
    return unnamed;
}

class WindowAccessibilityTest : public WindowTest {
protected:
    QTemporaryDir dir;

    QString WriteRide(const QString& name, const ParameterImage& image) {
        RideLog ride(0.04, 5, image);
        for (double peak : {2900.0, 3100.0})
            ride.Hold(3, 1500, 0).Pull(9500, TorqueLike(peak)).Move(1500, 3, 0);
        ride.Hold(3, 1500, 0);
        const QString path = dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << ride.Text();
        return path;
    }
};

TEST_F(WindowAccessibilityTest, EveryFocusableControlOfTheWindowAndItsViewsHasAName) {
    auto window = Start();
    ParameterImage other = window->Image();
    other[field::limiterRpm] = static_cast<std::uint8_t>(other[field::limiterRpm] + 3);
    const QString ign = dir.filePath("other.ign");
    {
        std::ofstream out(ign.toStdString(), std::ios::binary);
        WriteParameterFile(out, other);
    }
    QDir().mkpath(dir.filePath("rides"));
    const QString first = WriteRide("rides/ride-20260601-100000.csv", window->Image());
    const QString second = WriteRide("rides/ride-20260601-110000.csv", other);
    ViewManager& views = window->Views();
    views.UseRides(dir.filePath("rides"));

    // Each view as the View menu opens it; the walk covers hidden tabs too.
    LogChartWindow* viewer = nullptr;
    const std::vector<std::pair<const char*, std::function<QWidget*()>>> roots{
        {"window", [&]() -> QWidget* { return window.get(); }},
        {"map table", [&]() -> QWidget* { return views.ShowMapTable(); }},
        {"rpm axis",
         [&]() -> QWidget* {
             views.ShowMapTable()->findChild<QAction*>("ActionChangeRpmAxis")->trigger();
             return window->findChild<QWidget*>("RpmAxisDialog");
         }},
        {"advance curves", [&]() -> QWidget* { return views.ShowAdvanceCurves(); }},
        {"compare", [&]() -> QWidget* { return views.CompareWithFile(ign); }},
        {"history", [&]() -> QWidget* { return views.ShowHistory(); }},
        {"log viewer and pulls",
         [&]() -> QWidget* {
             if (!viewer) {
                 viewer = views.OpenDataLog(first);
                 views.AddToPulls(viewer, second);
             }
             return viewer;
         }},
        {"rides", [&]() -> QWidget* { return views.ShowRides(); }},
        {"playback", [&]() -> QWidget* { return views.PlayDataLog(first); }},
        {"timing light check", [&]() -> QWidget* { return views.ShowTimingCheck(); }},
        {"dashboard", [&]() -> QWidget* { return views.ShowDashboard(); }},
    };
    for (const int language : {English, German, French, Czech}) {
        window
            ->findChild<QAction*>(
                QStringList{"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"}[language])
            ->trigger();
        for (const auto& [what, open] : roots) {
            QWidget* root = open();
            ASSERT_NE(root, nullptr) << what;
            root->show();
            QApplication::processEvents();
            EXPECT_EQ(Unnamed(root).join("\n").toStdString(), "")
                << what << ", language " << language;
        }
        // The note of an adapter just plugged in closes by a button marked
        // "×", which a reader would say as a multiplication sign.
        EXPECT_EQ(
            Find<QPushButton>(*window, "ButtonDismissAdapter")->accessibleName().toStdString(),
            TextIn(AccessText::CloseNote, language));
    }

    // A map cell is named by its rpm and throttle, in the form and in the
    // table, and follows a new rpm axis.
    window->findChild<QAction*>("MenuEnglish")->trigger();
    if (window->Image()[field::mapUsesTps] == 0)
        MouseClick(Find<QCheckBox>(*window, "CheckBoxTpsMapa"));
    const int low = window->Image()[field::mapRpm + 1] * 100;
    const int now = window->Image()[field::mapRpm + 2] * 100;
    const int rpm = now == low + 100 ? now + 100 : low + 100;
    Enter(*window, "EditRpmAdv3", QString::number(rpm));
    ASSERT_EQ(window->Image()[field::mapUsesTps], 1);
    ASSERT_EQ(window->Image()[field::mapRpm + 2] * 100, rpm);
    const QString cell = QString("Advance at %1 rpm, 60 % throttle").arg(rpm);
    EXPECT_EQ(Edit(*window, "Edit122")->accessibleName(), cell); // row 7, column 3
    EXPECT_EQ(Spin(*window, "UpDown122")->UpButton()->accessibleName(), "Increase " + cell);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(
        views.ShowMapTable()->findChild<QWidget*>("TableMap"));
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->tableInterface()->cellAt(7, 2)->text(QAccessible::Name),
              QString("%1: %2°").arg(cell).arg(window->Image()[MapCell(7, 2)]));
}

// Tab goes along each row of the servo curve, then on below it, as the page
// reads; the curve is made column by column.
TEST_F(WindowAccessibilityTest, TabGoesThroughTheServoPageAsItReads) {
    auto window = Start();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    Find<QTabWidget>(*window, "PageControl1")
        ->setCurrentWidget(Find<QWidget>(*window, "TabSheetServo"));
    MouseClick(Find<QCheckBox>(*window, "CheckBoxPrivEnable")); // the curve shows
    ASSERT_EQ(window->Image()[field::servoEnable], 1);
    QStringList expected{"CheckBoxPrivEnable"};
    for (const char* row : {"EditRpmPriv%1", "EditNapPriv%1"})
        for (int point = 1; point <= 10; ++point)
            expected << QString(row).arg(point);
    expected << "EditPrivHyster"
             << "CheckBoxServoAll"
             << "BitBtnServoMinus"
             << "BitBtnServoPlus"
             << "BitBtnServoRpm";
    Find<QWidget>(*window, "CheckBoxPrivEnable")->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int step = 0; step < expected.size(); ++step) {
        QWidget* focus = QApplication::focusWidget();
        visited << (focus ? focus->objectName() : QString("(none)"));
        QTest::keyClick(focus ? focus : window.get(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(' ').toStdString(), expected.join(' ').toStdString());
}

} // namespace
} // namespace orna5::test
