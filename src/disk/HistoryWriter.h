#pragma once

#include "disk/HistoryStore.h"

#include <QMetaType>
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

class QThread;

namespace orna5 {

// The history store written off the caller's thread: a lock held by another
// program or a slow disk must never stall the window's tick. Requests run in
// order on a thread of the writer's own; each answer arrives as a signal on
// the thread that made the writer, in the same order.
class HistoryWriter : public QObject {
    Q_OBJECT
public:
    explicit HistoryWriter(QString folder = HistoryStore::DefaultFolder(),
                           QObject* parent = nullptr);
    // Finishes what is queued, then stops its thread; answers not yet
    // delivered are dropped with it.
    ~HistoryWriter() override;

    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    // Each returns the ticket its signal carries; tickets rise from 1.
    std::uint64_t Add(const ParameterImage& image, RestoreKind kind, const RestoreDetails& details,
                      std::int64_t timeMs);
    std::uint64_t Remove(const RestorePoint& point);

    // Requests whose signal has not been emitted yet.
    int Pending() const;
    // Blocks until everything queued is done and its signal emitted: for
    // shutdown and tests, never for the tick.
    void Flush();

    const QString& Folder() const { return folder; }

signals:
    void Added(std::uint64_t ticket, const orna5::HistoryStore::AddResult& result);
    void Removed(std::uint64_t ticket, bool ok, const QString& reason);

private:
    struct Request {
        std::uint64_t ticket = 0;
        bool add = true;
        ParameterImage image;
        RestoreKind kind = RestoreKind::Read;
        RestoreDetails details;
        std::int64_t timeMs = 0;
        RestorePoint point;
    };
    struct Answer {
        std::uint64_t ticket = 0;
        bool add = true;
        HistoryStore::AddResult added;
        bool removed = false;
        QString reason;
    };

    std::uint64_t Queue(Request request);
    void Run();     // the writer's thread
    void Deliver(); // the thread that made the writer

    const QString folder;
    mutable std::mutex mutex;
    std::condition_variable wake; // a request came, or stop
    std::condition_variable done; // the thread has nothing left to do
    std::deque<Request> requests;
    std::deque<Answer> answers;
    bool working = false;
    bool stopping = false;
    std::uint64_t lastTicket = 0;
    int pending = 0;
    std::unique_ptr<QThread> thread;
};

} // namespace orna5

Q_DECLARE_METATYPE(orna5::HistoryStore::AddResult)
