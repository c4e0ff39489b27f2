#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include "app/form/FormHlav.h"

#include <algorithm>

// Times each tick of the window from the timer event to the end of the
// window's handler (its TickDone signal).
class TickClock : public QObject {
public:
    void Attach(orna5::TFormHlav& window) {
        window.findChild<QTimer*>("Timer1")->installEventFilter(this);
        QObject::connect(&window, &orna5::TFormHlav::TickDone, this,
                         [this](bool frame) { TickEnded(frame); });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Timer)
            clock.start();
        return QObject::eventFilter(watched, event);
    }
    void TickEnded(bool monitorFrame) {
        if (!clock.isValid())
            return;
        slowestNs = std::max(slowestNs, clock.nsecsElapsed());
        ++ticks;
        frames += monitorFrame ? 1 : 0;
        clock.invalidate();
    }
    QElapsedTimer clock;
    qint64 slowestNs = 0;
    long ticks = 0;
    long frames = 0;
};
