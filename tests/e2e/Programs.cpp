#include "Programs.h"

#include <QFile>

#include <cstdlib>

namespace orna5::e2e {

RunResult RunCtl(const QStringList& arguments) {
    QProcess process;
    process.start(ORNA5CTL_PATH, arguments);
    RunResult result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = "orna5ctl did not finish";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

Simulator::Simulator(const QStringList& options) {
    process.start(ORNA5SIM_PATH, options);
    if (process.waitForStarted(10000) && process.waitForReadyRead(10000)) {
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        device = QString::fromUtf8(process.readLine()).trimmed();
    }
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
