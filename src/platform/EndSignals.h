#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace orna5 {

// SIGTERM, SIGINT and SIGHUP (logging out, shutting down, kill, Ctrl+C, a
// closed terminal) as a Qt signal on the event loop. The first asks the
// program to end as the user would, after what must not be cut short (a
// Program or Read under way); a second one ends the program at once, as the
// signal does by default. A signal ignored when the object came (nohup, a job
// a script started in the background) stays ignored. One object at a time;
// the handlers before it come back when it goes.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // The first signal's number; 0 while none came.
    int Received() const { return received; }
    // Ends the program by the signal received, as it would have ended
    // without us (the exit status a shell expects); nothing when none came.
    void EndNowIfAsked();

signals:
    void EndAsked(int signalNumber);

private:
    void Take();

    int received = 0;
    std::unique_ptr<QSocketNotifier> notifier;
};

} // namespace orna5
