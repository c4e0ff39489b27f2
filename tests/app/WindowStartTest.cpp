// Start-up, shutdown, the settings file, the snapshot and the test marker.

#include "WindowFixture.h"

#include "app/PortControl.h"

#include "device/PortTable.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace orna5::test {

namespace {

int CheckedComItem(TFormHlav& window) {
    int checked = -1;
    for (int i = 1; i <= 20; ++i) {
        auto* item = window.findChild<QAction*>(QString("MenuCom%1").arg(i));
        if (item && item->isChecked()) {
            EXPECT_EQ(checked, -1) << "more than one Com item ticked";
            checked = i;
        }
    }
    return checked;
}

} // namespace

TEST_F(WindowTest, FirstStartIsEnglishCom1CentredOnPageZeroWithModel20) {
    auto window = Start({}, false);
    EXPECT_EQ(window->LanguageIndex(), 0);
    EXPECT_EQ(window->windowTitle(), "Programming of ORNA-5 unit");
    EXPECT_EQ(window->ComPortIndex(), 0);
    EXPECT_EQ(window->size(), QSize(962, 785));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window->x(), screen.x() + (screen.width() - 962) / 2);
    EXPECT_EQ(window->y(), screen.y() + (screen.height() - 785) / 2);
    EXPECT_EQ(Find<QTabWidget>(*window, "PageControl1")->currentIndex(), 0);

    // Model code 20 is "Yamaha R6", list position 28, with the common defaults.
    EXPECT_EQ(window->Image()[field::bikeCode], 20);
    EXPECT_EQ(Find<QComboBox>(*window, "ComboBoxBike")->currentIndex(), 28);
    EXPECT_EQ(Find<QComboBox>(*window, "ComboBoxSynchro")->currentIndex(), 1);
    EXPECT_EQ(Edit(*window, "EditPocPalcu")->text(), "5");
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("11\u00a0000"));
    EXPECT_EQ(Edit(*window, "EditPilotLight")->text(), QString("9\u00a0000"));
    EXPECT_EQ(Edit(*window, "EditRpmAdv1")->text(), QString("1\u00a0500"));
    EXPECT_EQ(Edit(*window, "EditTps100")->text(), QString("3\u00a0790"));
    EXPECT_EQ(Edit(*window, "EditPrivHyster")->text(), "100");
    EXPECT_EQ(Edit(*window, "Edit50")->text(), "10");
    EXPECT_EQ(Edit(*window, "Edit149")->text(), "32");
    EXPECT_EQ(Edit(*window, "EditRpmKorekce")->text(), "0");

    // One undo state, nothing to undo or redo; the status line is hidden;
    // the Com menu has its twenty items with the first one ticked.
    EXPECT_FALSE(window->Undo().CanUndo());
    EXPECT_FALSE(window->Undo().CanRedo());
    EXPECT_TRUE(Find<QLabel>(*window, "LabelHlaseni")->isHidden());
    EXPECT_TRUE(Find<QLabel>(*window, "LabelTest1")->isHidden());
    EXPECT_EQ(CheckedComItem(*window), 1);
    auto* com20 = window->findChild<QAction*>("MenuCom20");
    ASSERT_NE(com20, nullptr);
    EXPECT_EQ(com20->text(), "Com 20");
    EXPECT_EQ(com20->statusTip(), QString::fromStdString(PortTable().Device(20)));

    auto* timer = window->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 55);
    EXPECT_TRUE(timer->isActive());
    // Shortcuts, and hints split into tooltip and status-bar text.
    auto* redo = window->findChild<QAction*>("MenuZnovu");
    EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    EXPECT_FALSE(redo->isEnabled());
    auto* minus = window->findChild<QAction*>("AdvanceMinus");
    EXPECT_EQ(minus->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(minus->toolTip(), "Curve A minus");
    EXPECT_EQ(minus->statusTip(), "Take off 1 degree of curve A");
    EXPECT_EQ(Find<QWidget>(*window, "BitBtnProgram")->statusTip(),
              "Programing  set parametrs to ignition");
    EXPECT_TRUE(Find<QWidget>(*window, "BitBtnProgram")->isEnabled());
}

TEST_F(WindowTest, LanguageArgumentMatchesExactlyAndBeatsTheSettings) {
    WriteConfig("orna5.ini", "[FORM_HLAV]\nLanguage=2\n");
    {
        auto window = Start({"DEUTSCH"});
        EXPECT_EQ(window->LanguageIndex(), 1);
        EXPECT_EQ(window->findChild<QMenu*>("MenuFile")->title(), "&Datei");
        EXPECT_TRUE(window->findChild<QAction*>("MenuGerman")->isChecked());
        EXPECT_FALSE(window->findChild<QAction*>("MenuFrench")->isChecked());
    }
    EXPECT_EQ(Start({"deutsch"})->LanguageIndex(), 2);
    EXPECT_EQ(Start({"--simulate", "CESKY"})->LanguageIndex(), 2);
    EXPECT_EQ(Start({"CESKY"})->LanguageIndex(), 3);
    WriteConfig("orna5.ini", "[FORM_HLAV]\nLanguage=7\n");
    EXPECT_EQ(Start()->LanguageIndex(), 0);
}

TEST_F(WindowTest, SettingsAndSnapshotSurviveARestart) {
    auto window = Start();
    window->move(40, 30);
    window->resize(1000, 800);
    Enter(*window, "EditOmez2", "12300");
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    const ParameterImage edited = window->Image();
    EXPECT_EQ(edited[field::limiterRpm], 123);
    Close(window);

    const QByteArray ini = ReadConfig("orna5.ini");
    EXPECT_TRUE(ini.contains("[FORM_HLAV]\n")) << ini.toStdString();
    for (const char* line :
         {"Left=40\n", "Top=30\n", "Width=1000\n", "Height=800\n", "ComPort=1\n", "Language=0\n",
          "File=\n", "IniDir=\n", "PageControl1->ActivePageIndex=2\n"})
        EXPECT_TRUE(ini.contains(line)) << line;
    const QByteArray snapshot = ReadConfig("_orna5.ini");
    EXPECT_TRUE(snapshot.startsWith("   20     0 ")) << snapshot.left(40).toStdString();
    // No temporary file is left beside the settings.
    EXPECT_EQ(QDir(TFormHlav::ConfigDirectory()).entryList(QDir::Files).size(), 2);

    window = Start();
    EXPECT_EQ(window->Image(), edited);
    EXPECT_EQ(window->pos(), QPoint(40, 30));
    EXPECT_EQ(window->size(), QSize(1000, 800));
    EXPECT_EQ(Find<QTabWidget>(*window, "PageControl1")->currentIndex(), 2);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("12\u00a0300"));
}

TEST_F(WindowTest, ShortSnapshotChangesOnlyItsBytesAndKeepsTheLowByte) {
    const ParameterImage defaults = DefaultImage();
    SetUp();
    // Fifty numbers; 300 in the place of the base advance stores its low
    // byte, 44.
    QByteArray text;
    for (std::size_t i = 0; i < 50; ++i) {
        const unsigned value = i == field::baseAdvance  ? 300u
                               : i == field::limiterRpm ? 150u
                                                        : defaults[i];
        text += QByteArray::number(value) + (i % 10 == 9 ? "\n" : " ");
    }
    WriteConfig("_orna5.ini", text);

    auto window = Start();
    ParameterImage expected = defaults;
    expected[field::limiterRpm] = 150;
    expected[field::baseAdvance] = 44;
    EXPECT_EQ(window->Image(), expected);
    EXPECT_EQ(Edit(*window, "EditOmez2")->text(), QString("15\u00a0000"));
}

TEST_F(WindowTest, ComPortNumbersFromTheSettings) {
    WriteConfig("orna5.ini", "[FORM_HLAV]\nComPort=3\n");
    auto window = Start();
    EXPECT_EQ(window->ComPortIndex(), 2);
    Close(window);
    EXPECT_TRUE(ReadConfig("orna5.ini").contains("ComPort=3\n"));

    for (const char* stored : {"0", "30", "abc"}) {
        WriteConfig("orna5.ini", QByteArray("[FORM_HLAV]\nComPort=") + stored + "\n");
        EXPECT_EQ(Start()->ComPortIndex(), 0) << stored;
    }

    // Com 21 exists only in the settings: it is opened, no menu item is
    // ticked, and a device that is not there is reported with its name.
    WriteConfig("orna5.ini", "[FORM_HLAV]\nComPort=21\n[PORTS]\nCom21=/nonexistent/orna5-port\n");
    window = Start({}, false);
    EXPECT_EQ(window->ComPortIndex(), 20);
    EXPECT_EQ(window->Port().Device(), "/nonexistent/orna5-port");
    EXPECT_EQ(CheckedComItem(*window), -1);
    auto* box = window->findChild<QMessageBox*>("ComOpeningErrorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("Com opening error!"));
    EXPECT_EQ(box->windowTitle(), "Programming of ORNA-5 unit");
    EXPECT_TRUE(box->text().contains("/nonexistent/orna5-port"));
    Close(window);
    // The other section of the settings file is kept.
    EXPECT_TRUE(ReadConfig("orna5.ini").contains("[PORTS]\nCom21=/nonexistent/orna5-port"));
}

TEST_F(WindowTest, ComMenuReopensAndMovesTheTick) {
    WriteConfig("orna5.ini", "[PORTS]\nCom4=/nonexistent/four\n");
    auto window = Start();
    EXPECT_EQ(CheckedComItem(*window), -1); // the emulated unit is no menu port
    window->findChild<QAction*>("MenuCom4")->trigger();
    EXPECT_EQ(window->ComPortIndex(), 3);
    EXPECT_EQ(window->Port().Device(), "/nonexistent/four");
    EXPECT_EQ(CheckedComItem(*window), 4);
}

TEST_F(WindowTest, TestMarkerNeedsTheExactKeywordAsAWord) {
    const struct {
        const char* text;
        bool testMode;
    } cases[] = {{"SHOW_PROBES", true},
                 {"one two\nSHOW_PROBES three", true},
                 {"show_probes", false},
                 {"SHOW_PROBESX", false},
                 {"XSHOW_PROBES", false}};
    for (const auto& c : cases) {
        WriteConfig("test_brodek.txt", c.text);
        auto window = Start();
        EXPECT_EQ(window->TestMode(), c.testMode) << c.text;
        EXPECT_EQ(Find<QLabel>(*window, "LabelTest8")->isHidden(), !c.testMode) << c.text;
        EXPECT_EQ(Find<QWidget>(*window, "EditKompenz1")->isHidden(), !c.testMode) << c.text;
    }
}

TEST_F(WindowTest, BadSettingsTextsReadAsTheirDefaults) {
    const QString longPath = "/tmp/" + QString(300, 'x') + ".ign";
    WriteConfig("orna5.ini", "[FORM_HLAV]\nWidth=wide\nPageControl1->ActivePageIndex=3\n"
                             "Language=x\nFile=" +
                                 longPath.toUtf8() + "\n");
    auto window = Start();
    window->show();
    EXPECT_EQ(window->width(), 962);
    EXPECT_EQ(window->LanguageIndex(), 0);
    EXPECT_EQ(Find<QTabWidget>(*window, "PageControl1")->currentIndex(), 3);
    EXPECT_EQ(Find<QLabel>(*window, "LabelFile2")->text(), longPath);
    Close(window);

    // A size no screen holds could not be painted, and a position far off
    // every screen would hide the window: the size is cut to twice the
    // desktop and the window centred.
    WriteConfig("orna5.ini", "[FORM_HLAV]\nLeft=2147483000\nTop=5\nHeight=99999999\n");
    window = Start();
    const QRect desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    EXPECT_EQ(window->height(), std::max(2 * desktop.height(), 785));
    EXPECT_TRUE(desktop.intersects(QRect(window->pos(), window->size())));
}

} // namespace orna5::test
