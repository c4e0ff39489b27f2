#pragma once

#include "params/ParameterImage.h"

#include <QString>

#include <cstddef>
#include <functional>

class QStatusBar;
class QWidget;

namespace orna5 {

class DeviceSession;

// What a document stands on: the owner of the image, its undo ring and the
// session with the unit. The main window is one; a test's plain image with a
// session on no port is another, so a view can be built and driven without
// the window. The host tells its document when something moved through the
// document's Host... calls.
class DocumentHost {
public:
    virtual const ParameterImage& Image() const = 0;
    // The one road to change the image (see Document::ChangeImage).
    virtual void ChangeImage(const std::function<void(ParameterImage&)>& change) = 0;
    virtual void OpenImage(const ParameterImage& image, bool unitBytes) = 0;
    virtual void RestoreToUnit(const ParameterImage& point,
                               std::function<QString(int language)> name) = 0;
    virtual bool UnitBytesInWindow() const = 0;
    virtual DeviceSession& Session() = 0;
    virtual const DeviceSession& Session() const = 0;
    // 0 English, 1 German, 2 French, 3 Czech.
    virtual int Language() const = 0;

    virtual bool CanUndoEdit() const = 0;
    virtual bool CanRedoEdit() const = 0;
    virtual void UndoEdit() = 0;
    virtual void RedoEdit() = 0;

    // The window the views belong to; null where there is none.
    virtual QWidget* ViewParent() = 0;
    // Where a view may put a lasting note beside the window's own; null
    // where there is none.
    virtual QStatusBar* StatusBar() = 0;
    // The control that edits an image byte of the advance map or its rpm
    // axis; null for every other byte and where there are no controls.
    virtual QWidget* MapControl(std::size_t offset) = 0;

protected:
    ~DocumentHost() = default;
};

} // namespace orna5
