#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace orna5::e2e {

// What a finished program left behind.
struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs orna5ctl with the arguments and waits for it (a minute at most).
RunResult RunCtl(const QStringList& arguments);

// An orna5-sim process serving one emulated unit on a pseudo-terminal for
// the lifetime of the object.
class Simulator {
public:
    explicit Simulator(const QStringList& options = {});
    ~Simulator();
    // The device orna5-sim printed on its first line; empty if it failed.
    const QString& Device() const { return device; }

private:
    QProcess process;
    QString device;
};

// A fresh folder per test, with XDG_CONFIG_HOME pointing into it so no
// settings file of the machine leaks into a run.
class Workspace {
public:
    Workspace();
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const std::string& bytes) const;
    std::string Read(const QString& name) const;

private:
    QTemporaryDir dir;
};

} // namespace orna5::e2e
