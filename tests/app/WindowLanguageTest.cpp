// The four languages in the running window: started with the language
// argument and switched at run time, the texts of each, that every text fits
// the window's design size, and the live labels while a unit is connected.

#include "WindowFixture.h"

#include "app/widgets/MouseCheckBox.h"
#include "lang/ControlTexts.h"
#include "sim/PtyUnit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

namespace orna5::test {

namespace {

struct LanguageRow {
    const char* argument;
    int index;
    const char* menuItem; // the Language menu's item of this language
    const char* caption;
    // Menu captions with the letters of the tables: ß, è and Č, ö.
    const char* menuCom;
    const char* menuCzech;
    const char* menuFrench;
    const char* firstTab;      // ů
    const char* synchroItem2;  // ä
    const char* input2Item3;   // a radio group entry
    const char* advance1;      // the live label's placeholder; ř
    const char* shiftLight;    // à
    const char* printHeader;   // a message, in the status line after printing
    const char* advancePrefix; // the live label once a frame has come in
};

const LanguageRow kLanguages[] = {
    {"ENGLISH", 0, "MenuEnglish", "Programming of ORNA-5 unit", "&Com", "&Czech", "&French",
     "Miscellaneous", "Wide lobe", "Clutch master", "Advance 1 = --- [°]", "Gear Shift Light - ---",
     "Date and time of printing:  ", "Advance = "},
    {"DEUTSCH", 1, "MenuGerman", "Programmierung der ORNA-5 Zündbox", "&COM-Anschluß",
     "&Tschechisch", "&Französisch", "Verschiedene", "Längere Leitstück", "Schaltautomat",
     "Vorzündung 1 = --- [°]", "Schaltblitz - ---", "Zeitpunkt des Ausdruckes   ", "Vorzündung = "},
    {"FRANCE", 2, "MenuFrench", "Programation de ORNA-5 unité", "&Connection com", "&Tchèque",
     "&Francais", "&Divergeant", "Wide lobe", "par embeillage", "Avance 1 = --- [°]",
     "Retard à l´allumage - ---", "Date et heur de l´imprimé:   ", "Avance = "},
    {"CESKY", 3, "MenuCzech", "Programování jednotky ORNA-5", "&Port", "Če&sky", "Francouzky",
     "Různé", "Široký výstupek", "Clutch master", "Předstih 1 = --- [°]", "Kontrolka řazení - ---",
     "Datum a čas tisku:  ", "Předstih = "},
};

void PrintTo(const LanguageRow& row, std::ostream* out) {
    *out << row.argument;
}

// Every text the window shows or holds in its controls and menus.
QStringList AllTexts(TFormHlav& window) {
    QStringList texts{window.windowTitle()};
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        texts << widget->objectName() << widget->toolTip() << widget->statusTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            texts << box->title();
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        else if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
    }
    for (QAction* action : window.findChildren<QAction*>())
        texts << action->text() << action->toolTip() << action->statusTip()
              << QString::number(action->isChecked());
    return texts;
}

// How wide a control must be to show its whole text.
int NeededWidth(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->wordWrap() || label->text().trimmed().isEmpty())
            return 0;
        const QMargins margins = label->contentsMargins();
        return label->fontMetrics().horizontalAdvance(label->text().trimmed()) + margins.left() +
               margins.right() + 2 * label->margin();
    }
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->fontMetrics().horizontalAdvance(button->text().remove('&')) + 6;
    if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget) ||
        qobject_cast<QComboBox*>(widget))
        return widget->sizeHint().width();
    if (qobject_cast<QGroupBox*>(widget) || qobject_cast<QTabBar*>(widget))
        return widget->minimumSizeHint().width();
    return 0;
}

} // namespace

class LanguageTest : public WindowTest, public ::testing::WithParamInterface<LanguageRow> {
protected:
    // Another language to start from before switching to the row's.
    static const LanguageRow& Other() { return kLanguages[(GetParam().index + 1) % 4]; }

    static void Choose(TFormHlav& window, const LanguageRow& row) {
        Find<QAction>(window, row.menuItem)->trigger();
    }

    void ExpectTexts(TFormHlav& window) {
        const LanguageRow& row = GetParam();
        EXPECT_EQ(window.LanguageIndex(), row.index);
        EXPECT_EQ(window.windowTitle(), row.caption);
        for (const LanguageRow& other : kLanguages)
            EXPECT_EQ(Find<QAction>(window, other.menuItem)->isChecked(), other.index == row.index);
        EXPECT_EQ(Find<QAction>(window, "MenuComAction")->text(), row.menuCom);
        EXPECT_EQ(Find<QAction>(window, "MenuCzech")->text(), row.menuCzech);
        EXPECT_EQ(Find<QAction>(window, "MenuFrench")->text(), row.menuFrench);
        EXPECT_EQ(Find<QTabWidget>(window, "PageControl1")->tabText(0), row.firstTab);
        EXPECT_EQ(Find<QComboBox>(window, "ComboBoxSynchro")->itemText(2), row.synchroItem2);
        EXPECT_EQ(Find<QRadioButton>(window, "RadioGroupInput2Item3")->text(), row.input2Item3);
        EXPECT_EQ(Find<QLabel>(window, "LabelAdvance1")->text(), row.advance1);
        EXPECT_EQ(Find<QLabel>(window, "LabelMonPilotLight")->text(), row.shiftLight);

        QTemporaryDir folder;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath("print.pdf"));
        ASSERT_TRUE(window.PrintPages(printer, false).allAccepted);
        EXPECT_TRUE(Find<QLabel>(window, "LabelHlaseni")->text().startsWith(row.printHeader))
            << Find<QLabel>(window, "LabelHlaseni")->text().toStdString();
    }
};

TEST_P(LanguageTest, StartsInTheLanguageOfTheArgument) {
    auto window = Start({GetParam().argument});
    ExpectTexts(*window);
}

TEST_P(LanguageTest, SwitchesAtRunTimeAndSwitchingAgainChangesNothing) {
    auto window = Start({Other().argument});
    Find<QComboBox>(*window, "ComboBoxBike")->setCurrentIndex(31);
    Find<QComboBox>(*window, "ComboBoxSynchro")->setCurrentIndex(4);
    MouseClick(Find<QRadioButton>(*window, "RadioGroupInput2Item3"));
    Choose(*window, GetParam());
    ExpectTexts(*window);
    // The choices stay.
    EXPECT_EQ(Find<QComboBox>(*window, "ComboBoxBike")->currentIndex(), 31);
    EXPECT_EQ(Find<QComboBox>(*window, "ComboBoxSynchro")->currentIndex(), 4);
    EXPECT_TRUE(Find<QRadioButton>(*window, "RadioGroupInput2Item3")->isChecked());

    const QStringList before = AllTexts(*window);
    Choose(*window, GetParam());
    EXPECT_EQ(AllTexts(*window), before);
}

TEST_P(LanguageTest, EveryTextFitsTheDesignSize) {
    auto window = Start({GetParam().argument});
    // As much shown as can be: manual setting, a second pick-up, four
    // channels, throttle rows, servo and the clutch master.
    Find<QComboBox>(*window, "ComboBoxBike")->setCurrentIndex(31);
    Find<QComboBox>(*window, "ComboBoxSynchro")->setCurrentIndex(0);
    Enter(*window, "EditPocKanalu", "4");
    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxPrivEnable"));
    MouseClick(Find<MouseCheckBox>(*window, "CheckBoxTpsMapa"));
    MouseClick(Find<QRadioButton>(*window, "RadioGroupInput2Item3"));
    window->resize(TFormHlav::kDesignWidth, TFormHlav::kDesignHeight);
    window->show();
    EXPECT_LE(window->minimumSizeHint().width(), TFormHlav::kDesignWidth);
    EXPECT_LE(window->minimumSizeHint().height(), TFormHlav::kDesignHeight);
    EXPECT_LE(window->menuBar()->sizeHint().width(), TFormHlav::kDesignWidth);
    auto* pages = Find<QTabWidget>(*window, "PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        ASSERT_EQ(window->width(), TFormHlav::kDesignWidth);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->isVisible()) {
                EXPECT_GE(widget->width(), NeededWidth(widget))
                    << page << " " << widget->objectName().toStdString();
            }
        }
    }
}

TEST_P(LanguageTest, WhileConnectedTheLiveLabelsKeepTheirValuesUntilTheNextFrame) {
    PtyUnit unit;
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    // Well up the sweep, so the unit sends live data.
    unit.Emulator().Engine().SetPhase(EngineModel::kSweepPolls / 4);
    StartOptions options;
    options.arguments = {Other().argument};
    options.port = QString::fromStdString(unit.DevicePath());
    TFormHlav window(options);
    auto* advance = Find<QLabel>(window, "LabelAdvance1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !advance->text().contains("---"); }, 10000));

    const QString value = advance->text();
    Choose(window, GetParam());
    EXPECT_EQ(advance->text(), value);
    bool frame = false;
    QObject::connect(&window, &TFormHlav::TickDone,
                     [&](bool monitorFrame) { frame |= monitorFrame; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame; }, 10000));
    EXPECT_TRUE(advance->text().startsWith(GetParam().advancePrefix))
        << advance->text().toStdString();
    EXPECT_FALSE(advance->text().contains("---"));
}

// A text row for a control the window does not make is a text nobody sees.
TEST_F(WindowTest, EveryControlTextNamesAControlOfTheWindow) {
    auto window = Start();
    QStringList missing;
    for (const ControlTextRow& row : AllControlTexts()) {
        const QString name = QString::fromStdString(row.control);
        if (name != "FormHlav" && !window->findChild<QObject*>(name))
            missing << name;
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
}

// Qt's own texts follow the window's language, there and back: the buttons
// of the New question.
TEST_F(WindowTest, QtsOwnTextsFollowTheLanguage) {
    auto window = Start();
    const auto buttons = [&] {
        Find<QAction>(*window, "MenuNew")->trigger();
        auto* box = window->findChild<QMessageBox*>("ConfirmDefaultsBox");
        QStringList texts;
        if (!box)
            return texts;
        for (QMessageBox::StandardButton button :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            texts << box->button(button)->text().remove('&');
        box->button(QMessageBox::Cancel)->click();
        delete box;
        return texts;
    };
    Find<QAction>(*window, "MenuGerman")->trigger();
    EXPECT_EQ(buttons(), (QStringList{"Ja", "Nein", "Abbrechen"}));
    Find<QAction>(*window, "MenuEnglish")->trigger();
    EXPECT_EQ(buttons(), (QStringList{"Yes", "No", "Cancel"}));
}

INSTANTIATE_TEST_SUITE_P(FourLanguages, LanguageTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<LanguageRow>& info) {
                             return std::string(info.param.argument);
                         });

} // namespace orna5::test
