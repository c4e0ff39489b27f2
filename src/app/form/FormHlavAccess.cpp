// What a screen reader says of the window's controls. Most controls are
// named by the caption beside them, which already shows in the language of
// the window; the names follow each language and, for the map, each rpm axis.

#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/ReaderName.h"
#include "app/widgets/UpDown.h"
#include "lang/AccessTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace orna5 {

namespace {

// A command's caption without its accelerator mark.
QString ActionName(const QAction* action) {
    return Spoken(action->text());
}

} // namespace

void TFormHlav::NameForReaders(QWidget* control, std::function<QString()> name) {
    readerNames.push_back({control, nullptr, std::move(name)});
}

void TFormHlav::NameSpinForReaders(const SpinEdit& spin, std::function<QString()> name) {
    readerNames.push_back({spin.edit, spin.upDown, std::move(name)});
}

void TFormHlav::ApplyReaderNames() {
    const auto text = [this](AccessText id) {
        return QString::fromStdString(TextIn(id, languageIndex));
    };
    for (const ReaderName& named : readerNames) {
        const QString name = named.name();
        SetReaderName(named.control, name);
        if (named.arrows)
            named.arrows->SetArrowNames(text(AccessText::Increase).arg(name),
                                        text(AccessText::Decrease).arg(name));
    }
    // The picture buttons of the tool bar say what their menu command says.
    const std::pair<QToolButton*, QAction*> tools[] = {
        {SpeedButton5, MenuOpen},      {SpeedButton6, MenuNew},     {SpeedButton7, MenuSave},
        {SpeedButtonPrint, MenuPrint}, {SpeedButtonZpet, MenuZpet}, {SpeedButtonZnovu, MenuZnovu},
    };
    for (const auto& [button, action] : tools)
        SetReaderName(button, ActionName(action));
    // "-" and "+" say nothing read aloud: the advance ones say their hint.
    SetReaderName(BitBtnAdvMinus, BitBtnAdvMinus->toolTip());
    SetReaderName(BitBtnAdvPlus, BitBtnAdvPlus->toolTip());
    SetReaderName(BitBtnServoMinus, text(AccessText::ServoDown));
    SetReaderName(BitBtnServoPlus, text(AccessText::ServoUp));
    SetReaderName(PageControl1, text(AccessText::Pages));
    NameMapForReaders();
}

void TFormHlav::NameMapForReaders() {
    const auto text = [this](AccessText id) {
        return QString::fromStdString(TextIn(id, languageIndex));
    };
    const bool tpsRows = image[field::mapUsesTps] != 0;
    std::vector<int> from(image.begin() + field::mapRpm,
                          image.begin() + field::mapRpm + kAxisPoints);
    from.push_back(tpsRows);
    from.push_back(languageIndex);
    if (from == mapNamesFrom)
        return;
    mapNamesFrom = std::move(from);
    for (std::size_t column = 0; column < kAxisPoints; ++column) {
        const QString rpm =
            QString::number(Shown(fieldScale::mapRpm, image[field::mapRpm + column]));
        const QString columnName = text(AccessText::MapColumn).arg(rpm);
        ColumnSpinButtons[column]->SetArrowNames(text(AccessText::Increase).arg(columnName),
                                                 text(AccessText::Decrease).arg(columnName));
        for (std::size_t row = 0; row < kMapRows; ++row) {
            // Without throttle rows the last row serves every throttle.
            const QString throttle =
                tpsRows ? QString::number(TpsBreakpoints[row]) : QString::fromUtf8("0\u2013100");
            const QString name = text(AccessText::MapCell).arg(rpm, throttle);
            const std::size_t at = kAxisPoints * row + column;
            SetReaderName(MapEdits[at], name);
            MapUpDowns[at]->SetArrowNames(text(AccessText::Increase).arg(name),
                                          text(AccessText::Decrease).arg(name));
        }
    }
}

// The pages are made in reading order but for two places made column by
// column: the throttle calibration, whose rows each end in their button, and
// the servo curve, whose rpm row reads before its voltage row.
void TFormHlav::SetReadingOrder() {
    QWidget* tps0 = UpDownTps0->Associate();
    QWidget* tps100 = UpDownTps100->Associate();
    setTabOrder(tps0, BitBtnTps0);
    setTabOrder(BitBtnTps0, tps100);
    setTabOrder(tps100, BitBtnTps100);

    QWidget* previous = CheckBoxPrivEnable;
    for (QLineEdit* edit : ServoRpmEdits) {
        setTabOrder(previous, edit);
        previous = edit;
    }
    for (QLineEdit* edit : ServoMvEdits) {
        setTabOrder(previous, edit);
        previous = edit;
    }
    setTabOrder(previous, UpDownPrivHyster->Associate());
}

} // namespace orna5
