#pragma once

#include "app/form/FormHlav.h"

#include <QString>
#include <QStringList>

namespace orna5 {

// What the window's command line asks for.
struct StartArguments {
    StartOptions options;
    QString screenshotFolder; // --screenshot DIR
    QStringList ignoredFiles; // parameter files beyond the first
    // Set when the command line cannot be followed: the program says it and
    // ends with status 2, after it the usage text when `usage` is set.
    QString error;
    bool usage = false;
};

// Reads the arguments after the program name (Qt's own options already
// taken out): [LANGUAGE] [FILE.ign] [--port DEVICE] [--simulate]
// [--screenshot DIR], each value as "--port X" or "--port=X". LANGUAGE counts
// only as the first argument.
StartArguments ParseStartArguments(const QStringList& arguments);

} // namespace orna5
