#pragma once

#include "app/DocumentHost.h"
#include "device/DeviceFrame.h"
#include "device/OperationOutcome.h"
#include "device/TimeInCell.h"
#include "params/LivePosition.h"
#include "params/ParameterImage.h"

#include <QElapsedTimer>
#include <QKeySequence>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QWidget;

namespace orna5 {

struct LiveValues;
struct ParameterDifference;

// What the views see of the form: the image to read, one road to change it,
// the engine's live position and values, the unit and the language, and a
// signal when any of them moves on. A view that needs more of the form is a
// view that has grown into the form. It stands on a DocumentHost (the form,
// or a plain image in a test), which tells it what moved.
class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(DocumentHost& host, QObject* parent = nullptr);

    const ParameterImage& Image() const;
    // The one road to change the image: the controls into the image, the
    // change, then normalised, shown, one undo step and a program after
    // change when that is on. Ignored while the form writes its controls.
    void ChangeImage(const std::function<void(ParameterImage&)>& change);
    // An image from elsewhere taken as File > Open takes a file: the
    // earlier status line goes, then normalised, shown, one undo step and a
    // program after change; the file label empties, as the parameters no
    // longer come from the file it names. `unitBytes`: its reserved bytes
    // are a unit's (a restore point's exact bytes).
    void OpenImage(const ParameterImage& image, bool unitBytes = false);
    // A restore point's exact bytes 0..199 go back into the unit: they
    // become the image's as one undo step (not normalised, so the unit gets
    // them to the byte), the file label empties, and a Program that keeps
    // what the unit holds first writes them and verifies them. The form
    // says how it ended, naming the point by `name` in the language of then.
    void RestoreToUnit(const ParameterImage& point, std::function<QString(int language)> name);
    // The image's reserved bytes are a unit's: after a Read that passed, a
    // restore point opened with its exact bytes or restored into the unit.
    // Only then does a comparison with a restore point look at them.
    bool WindowHoldsUnitBytes() const;

    // Where the unit runs in the map now, as the image reads it.
    LivePosition Live() const;
    const LiveValues& Values() const;
    // The last accepted live-data frame as it came, played ones included
    // (all zero before the first); for the views that read more of it than
    // Values() holds.
    const DeviceFrame& LastFrame() const;
    // The unit answers (the form shows no "No Connection").
    bool UnitAnswering() const;
    // The unit's version text; empty until the unit has said it.
    const std::string& UnitVersion() const;
    // The unit's build date as it said it; empty until then.
    const std::string& UnitBuildDate() const;
    // After a Verify that ended in "Verify error!" with the unit answering
    // (also the closing Verify of a Read or Program): where what the unit
    // sent differs from the image as it was then; empty otherwise. The
    // unit's side is VerifyUnitImage.
    const std::vector<ParameterDifference>& VerifyDifferences() const;
    const ParameterImage& VerifyUnitImage() const;
    // Which of pages 1 and 2 the unit sent in that Verify.
    std::array<bool, 2> VerifyPagesSeen() const;
    int Language() const;
    // The window the views belong to (their parent); null where there is
    // none.
    QWidget* ViewParent() const;
    // Where a view may put a lasting note in the window's status bar; null
    // where there is none.
    QStatusBar* StatusBar() const;
    // The control that edits a byte of the advance map or its rpm axis, for
    // the views that mark it; null for every other byte.
    QWidget* MapControl(std::size_t offset) const;
    // Actions for a view's tool bar or keys that undo and redo the form's
    // edits, enabled and named as the form's own: owned by parent.
    QAction* CreateUndoAction(QObject* parent);
    QAction* CreateRedoAction(QObject* parent);
    // The keys of undo and redo, in the form and in every view.
    static QKeySequence UndoKeys();
    static QKeySequence RedoKeys();

    // The host tells the document what moved.
    void HostShowed();
    void HostTicked(bool monitorFrame);
    void HostFrameAccepted();
    void HostLanguageChanged();
    void HostUndoChanged();
    void HostOperationEnded(const OperationOutcome& ended);

    // How long the engine ran in each cell since the window started (or the
    // last Reset), counted from every accepted live-data frame, played ones
    // included, on CellClock().
    const TimeInCell& LiveCells() const { return liveCells; }
    void ResetLiveCells();
    // The clock the live time in cell counts by: the seconds since the
    // window started, but while a log plays the log's recorded time, so a
    // ride played fast counts what it took on the road.
    double CellClock() const { return cellClock; }

    // A recorded log plays through the window: polling pauses (the port is
    // left alone) until it ends, and the rows played take the road of live
    // frames.
    void StartPlayback();
    void StopPlayback();
    bool Playing() const { return playing; }
    // A recorded row, taken by the next tick as the unit's live frame;
    // `step` is the recorded time since the row played before.
    void PlayFrame(const DeviceFrame& frame, double step);

signals:
    // The form's controls were rewritten from the image.
    void ImageShown();
    // One tick of the device link has run; monitorFrame tells whether a
    // live-data frame was accepted in it or since the tick before. Views
    // redraw here, never per frame.
    void TickDone(bool monitorFrame);
    // Each live-data frame accepted, in a tick or (at the Fast rate) between
    // ticks, played ones included: for those that must see every frame (the
    // data log, time in cell).
    void FrameAccepted();
    // The live values moved (or the unit fell silent or spoke again): at
    // most every kLiveRedrawMs, for the views that draw the live point.
    void LiveChanged();
    // The form shows another language (or the same one again).
    void LanguageChanged();
    // What can be undone or redone changed.
    void UndoChanged();
    // A Read, Program or Verify (also one a restore started) has ended.
    void OperationEnded(const orna5::OperationOutcome& ended);

private:
    void AdvanceClock();
    QAction* CreateStepAction(QObject* parent, bool redo);

    DocumentHost& host;
    TimeInCell liveCells;
    QElapsedTimer wall;
    double wallSeen = 0;
    double cellClock = 0;
    bool playing = false;
    static constexpr qint64 kLiveRedrawMs = 200;
    QElapsedTimer liveShown;
    bool liveMoved = false;
    bool answeringShown = false;
    double playedStep = 0;
    // The image and whose reserved bytes it holds, as last announced.
    bool announced = false;
    ParameterImage announcedImage{};
    bool announcedUnitBytes = false;
};

} // namespace orna5
