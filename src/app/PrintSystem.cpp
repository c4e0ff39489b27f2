#include "app/PrintSystem.h"

#include <QByteArray>

#include <cups/cups.h>

namespace orna5::PrintSystem {

QueueState AskQueue(const QString& printerName) {
    const QByteArray name = printerName.section('/', 0, 0).toLocal8Bit();
    const QByteArray instance = printerName.section('/', 1).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return QueueStateOf(false, {});
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const QueueState state = QueueStateOf(true, accepting ? accepting : "");
    cupsFreeDests(1, dest);
    return state;
}

int LastStatus() {
    return static_cast<int>(cupsLastError());
}

} // namespace orna5::PrintSystem
