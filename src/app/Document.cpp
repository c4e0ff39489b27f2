#include "app/Document.h"

#include "device/DeviceSession.h"
#include "lang/ControlTexts.h"

#include <QAction>

namespace orna5 {

Document::Document(DocumentHost& owner, QObject* parent) : QObject(parent), host(owner) {
    wall.start();
}

void Document::AdvanceClock() {
    const double wallNow = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    cellClock += playing ? playedStep : wallNow - wallSeen;
    wallSeen = wallNow;
    playedStep = 0;
}

void Document::HostFrameAccepted() {
    AdvanceClock();
    liveCells.AddFrame(cellClock, Live());
    emit FrameAccepted();
}

void Document::HostTicked(bool monitorFrame) {
    AdvanceClock();
    emit TickDone(monitorFrame);
    // The views that draw the live point redraw a few times a second at
    // most, whatever the rate: a frame at the Fast rate comes nearly every
    // tick. A unit that falls silent (or speaks again) is shown at once.
    liveMoved = liveMoved || monitorFrame;
    const bool answering = UnitAnswering();
    const bool due = !liveShown.isValid() || liveShown.elapsed() >= kLiveRedrawMs;
    if ((liveMoved && due) || answering != answeringShown) {
        liveMoved = false;
        answeringShown = answering;
        liveShown.start();
        emit LiveChanged();
    }
}

void Document::ResetLiveCells() {
    liveCells.Reset();
}

void Document::StartPlayback() {
    playing = true;
    playedStep = 0;
    host.Session().PausePolling(true);
}

void Document::StopPlayback() {
    if (!playing)
        return;
    playing = false;
    host.Session().PausePolling(false);
}

void Document::PlayFrame(const DeviceFrame& frame, double step) {
    if (!playing)
        return;
    host.Session().PlayFrame(frame);
    playedStep += step;
}

const ParameterImage& Document::Image() const {
    return host.Image();
}

void Document::ChangeImage(const std::function<void(ParameterImage&)>& change) {
    host.ChangeImage(change);
}

void Document::OpenImage(const ParameterImage& opened, bool unitBytes) {
    host.OpenImage(opened, unitBytes);
}

void Document::RestoreToUnit(const ParameterImage& point,
                             std::function<QString(int language)> name) {
    host.RestoreToUnit(point, std::move(name));
}

bool Document::WindowHoldsUnitBytes() const {
    return host.UnitBytesInWindow();
}

LivePosition Document::Live() const {
    return host.Session().Live(host.Image()[field::mapUsesTps] != 0);
}

const LiveValues& Document::Values() const {
    return host.Session().Values();
}

const DeviceFrame& Document::LastFrame() const {
    return host.Session().LastMonitorFrame();
}

bool Document::UnitAnswering() const {
    return !host.Session().NoConnectionVisible();
}

const std::string& Document::UnitVersion() const {
    return host.Session().UnitTexts().versionText;
}

const std::string& Document::UnitBuildDate() const {
    return host.Session().UnitTexts().buildDateText;
}

const std::vector<ParameterDifference>& Document::VerifyDifferences() const {
    return host.Session().VerifyDifferences();
}

const ParameterImage& Document::VerifyUnitImage() const {
    return host.Session().VerifyUnitImage();
}

std::array<bool, 2> Document::VerifyPagesSeen() const {
    return host.Session().VerifyPagesSeen();
}

int Document::Language() const {
    return host.Language();
}

QWidget* Document::ViewParent() const {
    return host.ViewParent();
}

QStatusBar* Document::StatusBar() const {
    return host.StatusBar();
}

QWidget* Document::MapControl(std::size_t offset) const {
    return host.MapControl(offset);
}

// The form shows the image twice and more for one edit, and again where
// nothing changed; the views redraw once per change.
void Document::HostShowed() {
    const bool unitBytes = host.UnitBytesInWindow();
    if (announced && host.Image() == announcedImage && unitBytes == announcedUnitBytes)
        return;
    announced = true;
    announcedImage = host.Image();
    announcedUnitBytes = unitBytes;
    emit ImageShown();
}

void Document::HostLanguageChanged() {
    emit LanguageChanged();
}

void Document::HostUndoChanged() {
    emit UndoChanged();
}

void Document::HostOperationEnded(const OperationOutcome& ended) {
    // A Read that passed makes the image's reserved bytes the unit's.
    HostShowed();
    emit OperationEnded(ended);
}

QKeySequence Document::UndoKeys() {
    return QKeySequence(Qt::CTRL | Qt::Key_Z);
}

QKeySequence Document::RedoKeys() {
    return QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z);
}

QAction* Document::CreateUndoAction(QObject* parent) {
    return CreateStepAction(parent, false);
}

QAction* Document::CreateRedoAction(QObject* parent) {
    return CreateStepAction(parent, true);
}

// Named, keyed and enabled as the form's Undo and Redo, so a view's keys do
// in the view what they do in the form.
QAction* Document::CreateStepAction(QObject* parent, bool redo) {
    auto* action = new QAction(parent);
    action->setObjectName(redo ? "ActionRedo" : "ActionUndo");
    action->setShortcut(redo ? RedoKeys() : UndoKeys());
    const auto name = [this, action, redo] {
        const std::string* text =
            ControlText(redo ? "MenuZnovu" : "MenuZpet", TextProp::Caption, Language());
        action->setText(text ? QString::fromStdString(*text) : QString());
    };
    const auto enable = [this, action, redo] {
        action->setEnabled(redo ? host.CanRedoEdit() : host.CanUndoEdit());
    };
    name();
    enable();
    connect(this, &Document::LanguageChanged, action, name);
    connect(this, &Document::UndoChanged, action, enable);
    connect(action, &QAction::triggered, this,
            [this, redo] { redo ? host.RedoEdit() : host.UndoEdit(); });
    return action;
}

} // namespace orna5
