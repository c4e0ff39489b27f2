#include "disk/HistoryWriter.h"

#include <QThread>

#include <utility>

namespace orna5 {

HistoryWriter::HistoryWriter(QString folder, QObject* parent)
    : QObject(parent), folder(std::move(folder)) {
    // For receivers that queue the signals on to yet another thread.
    qRegisterMetaType<orna5::HistoryStore::AddResult>("orna5::HistoryStore::AddResult");
    qRegisterMetaType<std::uint64_t>("std::uint64_t");
    thread.reset(QThread::create([this] { Run(); }));
    thread->setObjectName(QStringLiteral("history writer"));
    thread->start();
}

HistoryWriter::~HistoryWriter() {
    {
        const std::lock_guard<std::mutex> hold(mutex);
        stopping = true;
    }
    wake.notify_all();
    thread->wait();
}

std::uint64_t HistoryWriter::Queue(Request request) {
    std::uint64_t ticket = 0;
    {
        const std::lock_guard<std::mutex> hold(mutex);
        ticket = ++lastTicket;
        request.ticket = ticket;
        requests.push_back(std::move(request));
        ++pending;
    }
    wake.notify_all();
    return ticket;
}

std::uint64_t HistoryWriter::Add(const ParameterImage& image, RestoreKind kind,
                                 const RestoreDetails& details, std::int64_t timeMs) {
    Request request;
    request.image = image;
    request.kind = kind;
    request.details = details;
    request.timeMs = timeMs;
    return Queue(std::move(request));
}

std::uint64_t HistoryWriter::Remove(const RestorePoint& point) {
    Request request;
    request.add = false;
    request.point = point;
    return Queue(std::move(request));
}

int HistoryWriter::Pending() const {
    const std::lock_guard<std::mutex> hold(mutex);
    return pending;
}

void HistoryWriter::Flush() {
    {
        std::unique_lock<std::mutex> hold(mutex);
        done.wait(hold, [this] { return requests.empty() && !working; });
    }
    Deliver();
}

void HistoryWriter::Run() {
    // The store is made here so that its lock files and temporary files
    // belong to this thread alone.
    HistoryStore store(folder);
    std::unique_lock<std::mutex> hold(mutex);
    for (;;) {
        wake.wait(hold, [this] { return stopping || !requests.empty(); });
        if (requests.empty()) {
            return; // stopping, and everything queued is done
        }
        Request request = std::move(requests.front());
        requests.pop_front();
        working = true;
        hold.unlock();

        Answer answer;
        answer.ticket = request.ticket;
        answer.add = request.add;
        if (request.add) {
            answer.added = store.Add(request.image, request.kind, request.details, request.timeMs);
        } else {
            answer.removed = store.Remove(request.point, &answer.reason);
        }

        hold.lock();
        answers.push_back(std::move(answer));
        working = false;
        if (requests.empty()) {
            done.notify_all();
        }
        // Posted while the lock is held, so the destructor's wait cannot
        // have returned and the writer is still whole.
        QMetaObject::invokeMethod(
            this, [this] { Deliver(); }, Qt::QueuedConnection);
    }
}

void HistoryWriter::Deliver() {
    // One at a time, without the lock: a receiver may queue more or flush.
    for (;;) {
        Answer answer;
        {
            const std::lock_guard<std::mutex> hold(mutex);
            if (answers.empty()) {
                return;
            }
            answer = std::move(answers.front());
            answers.pop_front();
            --pending;
        }
        if (answer.add) {
            emit Added(answer.ticket, answer.added);
        } else {
            emit Removed(answer.ticket, answer.removed, answer.reason);
        }
    }
}

} // namespace orna5
