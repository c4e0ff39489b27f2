#include "app/LiveRateControl.h"

#include "device/DeviceSession.h"
#include "files/ProfileFile.h"
#include "lang/ControlTexts.h"
#include "lang/ViewTexts.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

namespace orna5 {

namespace {

const char kRateKey[] = "Rate"; // 0 Standard, 1 Fast
constexpr qint64 kWindowMs = 1000;

} // namespace

LiveRateControl::LiveRateControl(QObject* parent, const ProfileFile& settings, Links linked)
    : QObject(parent), links(linked) {
    menu = links.toolsMenu.addMenu("Live data");
    menu->setObjectName("MenuLiveData");
    auto* group = new QActionGroup(menu);
    standard = menu->addAction("Standard");
    standard->setObjectName("MenuLiveStandard");
    fast = menu->addAction("Fast");
    fast->setObjectName("MenuLiveFast");
    for (QAction* item : {standard, fast}) {
        item->setCheckable(true);
        group->addAction(item);
    }
    Choose(settings.ReadInteger(kSettingsSection, kRateKey, 0) == 1);
    connect(standard, &QAction::triggered, this, [this] { Choose(false); });
    connect(fast, &QAction::triggered, this, [this] { Choose(true); });

    label = new QLabel(&links.statusBar);
    label->setObjectName("LabelLiveRate");
    label->setContentsMargins(6, 0, 6, 0);
    label->hide();
    links.statusBar.addPermanentWidget(label);
    clock.start();
}

void LiveRateControl::Choose(bool isFast) {
    (isFast ? fast : standard)->setChecked(true);
    links.session.SetPollRate(isFast ? DeviceSession::PollRate::Fast
                                     : DeviceSession::PollRate::Standard);
    Forget(); // the rate reached so far says nothing of the new one
}

void LiveRateControl::SaveSettings(ProfileFile& settings) const {
    settings.WriteInteger(kSettingsSection, kRateKey, fast->isChecked() ? 1 : 0);
}

void LiveRateControl::FrameArrived() {
    frames.push_back(clock.elapsed());
}

void LiveRateControl::Forget() {
    frames.clear();
}

void LiveRateControl::Tick() {
    const qint64 now = clock.elapsed();
    while (!frames.empty() && now - frames.front() >= kWindowMs)
        frames.pop_front();
    const bool on = !frames.empty();
    if (on) {
        const QString text =
            QString::fromStdString(TextIn(ViewText::LiveRate, language)).arg(frames.size());
        if (label->text() != text)
            label->setText(text);
    }
    if (label->isVisibleTo(&links.statusBar) != on)
        label->setVisible(on);
}

void LiveRateControl::ApplyLanguage(int languageIndex) {
    language = languageIndex;
    const auto caption = [this](const char* name) {
        const std::string* text = ControlText(name, TextProp::Caption, language);
        return text ? QString::fromStdString(*text) : QString();
    };
    menu->setTitle(caption("MenuLiveData"));
    standard->setText(caption("MenuLiveStandard"));
    fast->setText(caption("MenuLiveFast"));
    label->clear(); // the next tick writes it in the language
    Tick();
}

} // namespace orna5
