// The live panel from each accepted live-data frame, and the marks that show
// which map cell, rpm point and throttle row the engine is using.

#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/RoleColour.h"
#include "device/DeviceSession.h"
#include "device/MonitorPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace orna5 {

namespace {

void SetValue(QProgressBar* gauge, int value) {
    if (gauge->value() != value)
        gauge->setValue(value);
}

} // namespace

// The marks recolour up to 140 controls every tick; a control is touched only
// when its colour really changes, and never through a style sheet, so the
// page is not restyled and repainted 18 times a second.
void TFormHlav::PaintRole(QWidget* widget, ColourRole role) {
    const auto known = paintedRoles.constFind(widget);
    if (known != paintedRoles.constEnd() && *known == role)
        return;
    paintedRoles.insert(widget, role);
    const QColor colour = RoleColour(role);
    if (qobject_cast<QLineEdit*>(widget)) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, colour.isValid()
                                             ? colour
                                             : QApplication::palette(widget).color(QPalette::Base));
        widget->setPalette(palette);
        return;
    }
    // A label in the normal colour shows what it sits on (button face, or
    // white in the print appearance).
    SetBackground(widget, colour);
}

void TFormHlav::ShowLiveLabel(QLabel* label, const LiveLabel& live) {
    if (!live.HasText())
        return; // no frame has written it yet: the placeholder stays
    const QString text = QString::fromStdString(RenderLabel(live, languageIndex));
    if (label->text() != text)
        label->setText(text);
    PaintRole(label, live.colour);
}

void TFormHlav::RenderLivePanel() {
    const MonitorPanel& panel = session->Panel();
    ShowLiveLabel(LabelRpm, panel.rpm);
    SetValue(CGaugeRpm, panel.rpmGauge);
    ShowLiveLabel(LabelNapeti, panel.voltage);
    ShowLiveLabel(LabelBlocking1, panel.blocking);
    for (int c = 0; c < 4; ++c)
        ShowLiveLabel(ChannelAdvanceLabels[c], panel.advance[c]);
    ShowLiveLabel(LabelMonPilotLight, panel.shiftLight);
    ShowLiveLabel(LabelMonSnimac1, panel.pickup[0]);
    ShowLiveLabel(LabelMonSnimac2, panel.pickup[1]);
    ShowLiveLabel(LabelTpsMon, panel.tps);
    SetValue(CGaugeTps, panel.tpsGauge);
    ShowLiveLabel(LabelPriveraPoz, panel.servoDesired);
    ShowLiveLabel(LabelPriveraMer, panel.servoMeasured);
    ShowLiveLabel(LabelVersion, panel.version);
    LabelEeDataErr->setVisible(panel.storedDataErrorVisible);
    ShowLiveLabel(LabelPocetProgramovani, panel.programmingCount);
    for (int i = 0; i < 8; ++i)
        ShowLiveLabel(TestLabels[i], panel.tests[i]);
    ShowLiveLabel(LabelMonInput1In, panel.inputs[0]);
    ShowLiveLabel(LabelMonInput2In, panel.inputs[1]);
    ShowLiveLabel(LabelClutchMon, panel.clutch);
    ShowLiveLabel(LabelKillSwitch, panel.killSwitch);
}

void TFormHlav::MarkLiveControls() {
    const LivePosition live = session->Live(CheckBoxTpsMapa->isChecked());
    const bool onMap = !live.belowMapAxis;
    for (int i = 0; i < 10; ++i) {
        const auto lit = [](bool on, ColourRole off) { return on ? ColourRole::Lime : off; };
        PaintRole(MapRpmEdits[i], lit(onMap && i == live.mapRpmColumn, ColourRole::Window));
        PaintRole(TpsRowLabels[i], lit(i == live.tpsRow, ColourRole::ButtonFace));
        const ColourRole servo = lit(i == live.servoRpmColumn, ColourRole::Window);
        PaintRole(ServoRpmEdits[i], servo);
        PaintRole(ServoMvEdits[i], servo);
        for (int row = 0; row < 10; ++row)
            PaintRole(
                MapEdits[10 * row + i],
                lit(onMap && row == live.tpsRow && i == live.mapRpmColumn, ColourRole::Window));
    }
}

} // namespace orna5
