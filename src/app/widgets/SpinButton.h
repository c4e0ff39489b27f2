#pragma once

#include <QWidget>

class QToolButton;

namespace orna5 {

// A pair of small arrow buttons, up above down, that only report clicks. The
// map's column adjusters use it as it is; UpDown adds a position to it.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return upButton; }
    QToolButton* DownButton() const { return downButton; }

    QSize sizeHint() const override;

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* upButton;
    QToolButton* downButton;
};

} // namespace orna5
