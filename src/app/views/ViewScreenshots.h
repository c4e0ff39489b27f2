#pragma once

#include <QString>

class QWidget;

namespace orna5 {

class DataLogRecorder;
class Document;
class ViewManager;

// Pictures of the views beyond the form for --screenshot: a data log is
// recorded from the start, and when the pictures are taken the advance
// curves, that log played back, a comparison with a changed copy of the
// parameters and the history are shown and saved into `folder`.
void StartViewScreenshots(DataLogRecorder& recorder, const QString& folder);
// `window` is the main window, whose Advance page shows a comparison's
// outlines.
void TakeViewScreenshots(QWidget& window, Document& document, ViewManager& views,
                         DataLogRecorder& recorder, const QString& folder);

} // namespace orna5
