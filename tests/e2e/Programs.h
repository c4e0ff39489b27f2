#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace orna5::e2e {

// What a finished program left behind.
struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The lines of a program's output, each without its line break.
std::vector<std::string> Lines(const std::string& text);

// Runs orna5ctl with the arguments and waits for it (a minute at most).
RunResult RunCtl(const QStringList& arguments);
// Runs any program that ends by itself, the same way.
RunResult RunProgram(const QString& path, const QStringList& arguments);

// An orna5-sim process serving one emulated unit on a pseudo-terminal for
// the lifetime of the object.
class Simulator {
public:
    explicit Simulator(const QStringList& options = {});
    ~Simulator();
    // The device orna5-sim printed on its first line (or, after a hang-up,
    // the new one); empty if it failed.
    const QString& Device() const { return device; }
    // Replaces the faults by the options of one control line.
    void Control(const QString& line);
    // The unit's 200 memory bytes; empty if orna5-sim did not say.
    std::vector<int> Memory();
    // Stores memory bytes ("60=1 15=2"), faults left as they are; the
    // memory afterwards, so the bytes are in before the next command.
    std::vector<int> Store(const QString& bytes);
    // Waits for the device of the terminal made after a hang-up.
    bool AwaitNewDevice();

private:
    // The next line orna5-sim prints, without its line break; empty when
    // none comes within the time.
    QString NextLine(int timeoutMs);

    QProcess process;
    QString device;
};

// A fresh folder per test, with XDG_CONFIG_HOME and XDG_DATA_HOME pointing
// into it so no settings file or restore point of the machine leaks into or
// out of a run.
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
