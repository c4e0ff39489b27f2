#pragma once

#include "device/Link.h"

#include <QSerialPort>
#include <functional>
#include <string>

namespace orna5 {

// What came of opening a serial device.
struct PortOpenResult {
    bool ok = false;
    std::string device;
    // The system's reason when the open failed ("No such file or directory").
    std::string reason;
    // The device exists but the user may not open it; the hint says what to do.
    bool permissionDenied = false;
    // Another program holds the device.
    bool busy = false;
    // Whose the device is, for the hint on what to do (permissionDenied).
    std::string owner;
    std::string group;
    unsigned mode = 0;
};

// The unit's serial line: 57600 baud, 8 data bits, no parity, 1 stop bit, no
// handshaking, held exclusively. Reads never wait; a write returns once the
// bytes have left the computer. A port that vanishes while open (a USB adapter
// pulled out) is closed at once, and the link then behaves like a unit that
// does not answer until it is opened again.
class SerialLink : public Link {
public:
    static constexpr qint32 kBaudRate = 57600;
    // Most bytes held for the program: above the 10000 one tick reads, and a
    // bound on what a line that streams without end can pile up.
    static constexpr std::size_t kReadBufferBytes = 16 * 1024;

    SerialLink();
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Closes any open device first.
    PortOpenResult Open(const std::string& device);
    // Discards unread input and releases the device; harmless when closed.
    void Close();
    bool IsOpen() const;
    // The device last opened (or tried).
    const std::string& Device() const { return device; }
    // The device vanished while open; cleared by the next Open.
    bool Lost() const { return lost; }

    std::size_t BytesQueued() override;
    std::size_t Read(std::uint8_t* dst, std::size_t max) override;
    bool Write(const std::uint8_t* src, std::size_t n) override;
    bool Send(const std::uint8_t* src, std::size_t n) override;
    // Called on the one thread whenever bytes have come in (the port's
    // ready-read), so the Fast rate can answer at once instead of at the
    // next tick.
    void OnDataArrived(std::function<void()> handler);

private:
    // Takes what the driver holds into the port's buffer without waiting.
    void Pump();
    // Closes the port if it reported or shows a hang-up.
    bool CheckAlive();
    // The device reports a hang-up (it is gone); does not wait.
    bool HungUp();
    void DropLostPort();
    void FailWrite();
    // Keeps the bytes held to kReadBufferBytes, dropping the oldest.
    void DropExcess();

    QSerialPort port;
    QMetaObject::Connection arrived;
    std::string device;
    bool lost = false;
    bool lossPending = false;
};

} // namespace orna5
