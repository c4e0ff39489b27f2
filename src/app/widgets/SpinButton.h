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
    // What a screen reader calls the arrows ("Increase Limiter [rpm]",
    // "Decrease Limiter [rpm]"): they show only a picture.
    void SetArrowNames(const QString& increase, const QString& decrease);

    QSize sizeHint() const override;

signals:
    void UpClick();
    void DownClick();

private:
    QToolButton* upButton;
    QToolButton* downButton;
};

} // namespace orna5
