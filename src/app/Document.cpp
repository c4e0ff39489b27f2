#include "app/Document.h"

#include "app/form/FormHlav.h"
#include "device/DeviceSession.h"

namespace orna5 {

Document::Document(TFormHlav& owner) : QObject(&owner), form(owner) {
    connect(&form, &TFormHlav::ImageShown, this, &Document::ImageShown);
    connect(&form, &TFormHlav::FrameAccepted, this, &Document::Frame);
    connect(&form, &TFormHlav::TickDone, this, &Document::Tick);
    wall.start();
}

void Document::AdvanceClock() {
    const double wallNow = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    cellClock += playing ? playedStep : wallNow - wallSeen;
    wallSeen = wallNow;
    playedStep = 0;
}

void Document::Frame() {
    AdvanceClock();
    liveCells.AddFrame(cellClock, Live());
    emit FrameAccepted();
}

void Document::Tick(bool monitorFrame) {
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
    form.Session().PausePolling(true);
}

void Document::StopPlayback() {
    if (!playing)
        return;
    playing = false;
    form.Session().PausePolling(false);
}

void Document::PlayFrame(const DeviceFrame& frame, double step) {
    if (!playing)
        return;
    form.Session().PlayFrame(frame);
    playedStep += step;
}

const ParameterImage& Document::Image() const {
    return form.Image();
}

void Document::ChangeImage(const std::function<void(ParameterImage&)>& change) {
    form.ChangeImage(change);
}

void Document::OpenImage(const ParameterImage& opened, bool unitBytes) {
    form.OpenImage(opened, unitBytes);
}

void Document::RestoreToUnit(const ParameterImage& point,
                             std::function<QString(int language)> name) {
    form.RestoreToUnit(point, std::move(name));
}

bool Document::WindowHoldsUnitBytes() const {
    return form.UnitBytesInWindow();
}

LivePosition Document::Live() const {
    return form.Session().Live(form.Image()[field::mapUsesTps] != 0);
}

const LiveValues& Document::Values() const {
    return form.Session().Values();
}

bool Document::UnitAnswering() const {
    return !form.Session().NoConnectionVisible();
}

const std::string& Document::UnitVersion() const {
    return form.Session().UnitTexts().versionText;
}

const std::vector<ParameterDifference>& Document::VerifyDifferences() const {
    return form.Session().VerifyDifferences();
}

const ParameterImage& Document::VerifyUnitImage() const {
    return form.Session().VerifyUnitImage();
}

std::array<bool, 2> Document::VerifyPagesSeen() const {
    return form.Session().VerifyPagesSeen();
}

int Document::Language() const {
    return form.LanguageIndex();
}

QWidget& Document::Window() const {
    return form;
}

} // namespace orna5
