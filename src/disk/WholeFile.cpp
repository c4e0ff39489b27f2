#include "disk/WholeFile.h"

#include "files/ParameterFile.h"
#include "lang/Messages.h"

#include <QSaveFile>

#include <cstring>
#include <sstream>

namespace orna5 {

namespace {

QString Text(Msg id, int languageIndex) {
    return QString::fromStdString(TextIn(id, languageIndex));
}

// A size limit as people write it: "1 MiB", "16 KiB", "100 bytes"; the
// French say octet.
QString LimitText(std::size_t bytes, int languageIndex) {
    const bool french = languageIndex == 2;
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return QString::number(bytes / (1024 * 1024)) + (french ? " Mio" : " MiB");
    if (bytes >= 1024 && bytes % 1024 == 0)
        return QString::number(bytes / 1024) + (french ? " Kio" : " KiB");
    return QString::number(bytes) + (french ? " octets" : " bytes");
}

} // namespace

// Unbuffered, so that every write reports what really reached the file: a
// buffered QSaveFile takes the whole text into its buffer and commits even
// when the disk took only part of it (a full disk, a size limit).
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qint64 written = 0;
        // A short write is followed by one more, which then tells the reason.
        while (written < bytes.size()) {
            const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
            if (n <= 0)
                break;
            written += n;
        }
        if (written == bytes.size() && file.commit())
            return true;
    }
    if (reason)
        *reason = file.errorString();
    file.cancelWriting();
    return false;
}

bool SaveParameterFile(const QString& path, const ParameterImage& image, QString* reason) {
    std::ostringstream text(std::ios::binary);
    WriteParameterFile(text, image);
    return WriteWholeFile(path, QByteArray::fromStdString(text.str()), reason);
}

QString ReadFaultText(const BoundedRead& read, int languageIndex) {
    switch (read.fault) {
    case ReadFault::None:
        return {};
    case ReadFault::System:
        return QString::fromLocal8Bit(std::strerror(read.error));
    case ReadFault::NotRegular:
        return Text(Msg::NotRegularFile, languageIndex);
    case ReadFault::TooLarge:
        return Text(Msg::FileTooLarge, languageIndex).arg(LimitText(read.limit, languageIndex));
    }
    return {};
}

QString OpenFileErrorText(const QString& path, const QString& reason, int languageIndex) {
    QString text = Text(Msg::OpenFileError, languageIndex);
    if (!path.isEmpty())
        text += "\n\n" + path;
    if (!reason.isEmpty())
        text += (path.isEmpty() ? "\n\n" : ": ") + reason;
    return text;
}

QString LoadFailureText(const LoadOutcome& outcome, const QString& path, int languageIndex) {
    if (outcome.status == LoadStatus::UnmatchedVersion)
        return Text(Msg::UnmatchedFileVersion, languageIndex);
    return OpenFileErrorText(path, ReadFaultText(outcome.read, languageIndex), languageIndex);
}

} // namespace orna5
