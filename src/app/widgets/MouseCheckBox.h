#pragma once

#include <QCheckBox>
#include <QMouseEvent>

namespace orna5 {

// A check box that reports the release of the mouse after it has toggled.
// Parameter check boxes reach the image this way only: a toggle with the
// keyboard alone waits for the next copy from the controls.
class MouseCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

signals:
    void MouseUp(orna5::MouseCheckBox* sender);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QCheckBox::mouseReleaseEvent(event);
        emit MouseUp(this);
    }
};

} // namespace orna5
