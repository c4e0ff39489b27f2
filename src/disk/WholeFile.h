#pragma once

#include "files/BoundedFile.h"
#include "params/ParameterImage.h"

#include <QByteArray>
#include <QString>

namespace orna5 {

// Writes bytes as the whole new content of path. They go to a temporary file
// beside the target, which replaces the target only once everything is
// written, so a full disk or a crash leaves the old file as it was. False
// with the system's reason when the file could not be written.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The image as a parameter file, written as above.
bool SaveParameterFile(const QString& path, const ParameterImage& image, QString* reason = nullptr);

// Why a read failed, in a language: the system's reason or the program's
// own words for a file it refused.
QString ReadFaultText(const BoundedRead& read, int languageIndex);

// The message of a parameter file that did not open or was not one:
// "Open file error!" followed by the path and the reason, or "Unmatched
// version of *.ign file!".
QString LoadFailureText(const LoadOutcome& outcome, const QString& path, int languageIndex);

// "Open file error!" followed by the path and the reason.
QString OpenFileErrorText(const QString& path, const QString& reason, int languageIndex);

} // namespace orna5
