#include "device/SerialLink.h"

#include <QMetaObject>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace orna5 {

namespace {

// 102 bytes take about 18 ms at 57600 baud; a write that has not left after
// this long is stuck (the other end stopped reading).
constexpr int kWriteTimeoutMs = 2000;

// The device's owner, group and mode, by name where the names are known.
void TellOwner(const std::string& device, PortOpenResult& result) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return;
    const struct passwd* user = ::getpwuid(st.st_uid);
    result.owner = user ? user->pw_name : std::to_string(st.st_uid);
    const struct group* group = ::getgrgid(st.st_gid);
    result.group = group ? group->gr_name : std::to_string(st.st_gid);
    result.mode = st.st_mode & 07777u;
}

} // namespace

SerialLink::SerialLink() {
    // A pulled USB adapter surfaces as a ResourceError, possibly in the middle
    // of one of the port's own calls; the port is closed right after that call
    // returns, or from the event loop if no call is running.
    QObject::connect(
        &port, &QSerialPort::errorOccurred, &port, [this](QSerialPort::SerialPortError error) {
            if (!port.isOpen() || lossPending)
                return;
            // A hung-up terminal may also surface as a plain read or write
            // error, again and again; the line itself tells whether it is gone.
            const bool gone =
                error == QSerialPort::ResourceError ||
                ((error == QSerialPort::ReadError || error == QSerialPort::WriteError) && HungUp());
            if (!gone)
                return;
            lossPending = true;
            QMetaObject::invokeMethod(
                &port, [this] { CheckAlive(); }, Qt::QueuedConnection);
        });
    // The port's own buffer has no bound, and a line that streams faster than
    // the tick reads would grow it without end; the oldest bytes go, as they
    // would from a full driver queue. (The port's read-buffer limit is no
    // use: with its buffer full, the port fails every write.)
    QObject::connect(&port, &QIODevice::readyRead, &port, [this] { DropExcess(); });
}

void SerialLink::DropExcess() {
    const qint64 excess = port.bytesAvailable() - static_cast<qint64>(kReadBufferBytes);
    if (excess > 0)
        port.skip(excess);
}

SerialLink::~SerialLink() {
    Close();
}

bool SerialLink::IsOpen() const {
    return port.isOpen();
}

PortOpenResult SerialLink::Open(const std::string& path) {
    Close();
    device = path;
    lost = false;
    lossPending = false;

    PortOpenResult result;
    result.device = path;
    if (path.empty()) {
        result.reason = std::strerror(ENOENT);
        return result;
    }
    // Permission is checked first: the port itself reports a busy device and a
    // forbidden one alike, and only the second needs the group hint.
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        const int err = errno;
        result.reason = std::strerror(err);
        if (err == EACCES || err == EPERM) {
            result.permissionDenied = true;
            TellOwner(path, result);
        }
        return result;
    }

    port.setPortName(QString::fromStdString(path));
    port.setBaudRate(kBaudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        // The port says "permission" for a device another program holds;
        // access was checked above, so that is what it means here.
        result.busy = port.error() == QSerialPort::PermissionError;
        result.reason =
            result.busy ? std::string(std::strerror(EBUSY)) : port.errorString().toStdString();
        return result;
    }
    // The port's own exclusivity does not hold against a privileged user; an
    // advisory lock on the open device does, so two programs never share it.
    if (::flock(static_cast<int>(port.handle()), LOCK_EX | LOCK_NB) != 0) {
        result.busy = true;
        result.reason = std::strerror(EBUSY);
        port.close();
        return result;
    }
    port.clear(QSerialPort::AllDirections);
    result.ok = true;
    return result;
}

void SerialLink::Close() {
    lossPending = false;
    if (!port.isOpen())
        return;
    port.clear(QSerialPort::Input);
    port.close();
}

void SerialLink::DropLostPort() {
    lossPending = false;
    lost = true;
    if (port.isOpen())
        port.close();
}

bool SerialLink::HungUp() {
    pollfd pfd{static_cast<int>(port.handle()), POLLIN, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

bool SerialLink::CheckAlive() {
    if (!port.isOpen())
        return false;
    if (!lossPending && HungUp())
        lossPending = true;
    if (lossPending) {
        DropLostPort();
        return false;
    }
    return true;
}

void SerialLink::FailWrite() {
    // What did not leave is not sent later as the head of another frame.
    if (CheckAlive())
        port.clear(QSerialPort::Output);
}

void SerialLink::Pump() {
    if (!CheckAlive())
        return;
    int pending = 0;
    // Without a turn of the event loop the port's buffer lags behind the
    // driver; a zero wait pulls in what has arrived. Bounded, in case bytes
    // keep streaming in.
    for (int round = 0; round < 8; ++round) {
        if (::ioctl(static_cast<int>(port.handle()), FIONREAD, &pending) != 0 || pending <= 0)
            break;
        if (!port.waitForReadyRead(0))
            break;
        if (lossPending)
            break;
    }
    CheckAlive();
}

std::size_t SerialLink::BytesQueued() {
    Pump();
    if (!port.isOpen())
        return 0;
    DropExcess();
    return static_cast<std::size_t>(port.bytesAvailable());
}

std::size_t SerialLink::Read(std::uint8_t* dst, std::size_t max) {
    Pump();
    if (!port.isOpen() || max == 0)
        return 0;
    const qint64 n = port.read(reinterpret_cast<char*>(dst), static_cast<qint64>(max));
    CheckAlive();
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool SerialLink::Send(const std::uint8_t* src, std::size_t n) {
    if (!CheckAlive())
        return false;
    if (n == 0)
        return true;
    const qint64 written = port.write(reinterpret_cast<const char*>(src), static_cast<qint64>(n));
    if (written != static_cast<qint64>(n)) {
        FailWrite();
        return false;
    }
    // Into the driver: a frame fits its buffer, so this does not wait for the line.
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(kWriteTimeoutMs) || lossPending) {
            FailWrite();
            return false;
        }
    }
    return true;
}

void SerialLink::OnDataArrived(std::function<void()> handler) {
    QObject::disconnect(arrived);
    if (handler)
        arrived = QObject::connect(&port, &QSerialPort::readyRead, &port, std::move(handler));
}

bool SerialLink::Write(const std::uint8_t* src, std::size_t n) {
    if (!Send(src, n))
        return false;
    if (n == 0)
        return true;
    // The port's buffer is empty; wait for the driver to put the bytes on
    // the line as well.
    while (::tcdrain(static_cast<int>(port.handle())) != 0) {
        if (errno != EINTR) {
            CheckAlive();
            return false;
        }
    }
    return CheckAlive();
}

} // namespace orna5
