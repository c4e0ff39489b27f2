#pragma once

#include "app/PrintJob.h"

#include <QString>

namespace orna5 {

// The print system (CUPS) asked directly, where Qt does not tell: Qt hands a
// finished job to the queue and reports success whether the queue took it
// or not.
namespace PrintSystem {

// The queue of a printer as QPrinter names it ("PDF", or "PDF/instance"
// for an instance of it).
QueueState AskQueue(const QString& printerName);

// The IPP status of the last request this thread made to the print system.
// Right after QPainter::end() on a printer that is the creation of the job
// Qt has just handed over; where Qt made no request, it is that of the
// AskQueue before the job, which succeeded.
int LastStatus();

} // namespace PrintSystem

} // namespace orna5
