#include "device/LogClock.h"

#include <QDateTime>

namespace orna5 {

std::string LogTimeNow() {
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toStdString();
}

} // namespace orna5
