#include "Programs.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdlib>

namespace orna5::e2e {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

RunResult RunCtl(const QStringList& arguments) {
    return RunProgram(ORNA5CTL_PATH, arguments);
}

RunResult RunProgram(const QString& path, const QStringList& arguments) {
    QProcess process;
    process.start(path, arguments);
    RunResult result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = path.toStdString() + " did not finish";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

Simulator::Simulator(const QStringList& options) {
    process.start(ORNA5SIM_PATH, options);
    if (process.waitForStarted(10000)) {
        device = NextLine(10000);
    }
}

QString Simulator::NextLine(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!process.canReadLine()) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !process.waitForReadyRead(left)) {
            return QString();
        }
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}

void Simulator::Control(const QString& line) {
    process.write((line + "\n").toUtf8());
    process.waitForBytesWritten(5000);
}

std::vector<int> Simulator::Memory() {
    Control("--dump");
    const QString line = NextLine(10000);
    std::vector<int> bytes;
    if (!line.startsWith("memory:")) {
        return bytes;
    }
    for (const QString& word : line.mid(7).split(' ', Qt::SkipEmptyParts)) {
        bytes.push_back(word.toInt());
    }
    return bytes;
}

std::vector<int> Simulator::Store(const QString& bytes) {
    QString line;
    for (const QString& store : bytes.split(' ', Qt::SkipEmptyParts)) {
        line += " --set " + store;
    }
    Control(line.trimmed());
    return Memory(); // answered only after the line before it was taken
}

bool Simulator::AwaitNewDevice() {
    const QString line = NextLine(10000);
    if (line.isEmpty()) {
        return false;
    }
    device = line;
    return true;
}

Simulator::~Simulator() {
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

Workspace::Workspace() {
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
}

void Workspace::Write(const QString& name, const std::string& bytes) const {
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
}

std::string Workspace::Read(const QString& name) const {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

} // namespace orna5::e2e
