#pragma once

#include "app/widgets/SpinButton.h"

class QLineEdit;

namespace orna5 {

// The up-down half of a spin edit. It owns the range, the step and the
// position; the edit beside it (its associate) shows the position as text.
// Keeping the two apart lets the window hide the arrows while the edit stays.
//
// Typed text is taken as the position only when something asks for the
// position (a click on the arrows or a copy into the image), never while the
// user types. The rule for typed text: a whole number, with or without the
// locale's digit grouping, is clamped to the range (so 30000 in a field of
// 999..25000 becomes 25000 and -5 in 0..40 becomes 0); text that is not a
// whole number at all ("", "abc", "1.5") gives back the position last shown,
// so a slip of the keyboard never moves a value.
class UpDown : public SpinButton {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetIncrement(int increment) { this->increment = increment; }
    // Values of 1000 and more are shown with the locale's digit grouping.
    void SetThousands(bool thousands) { this->thousands = thousands; }
    void SetAssociate(QLineEdit* edit);

    int Min() const { return minimum; }
    int Max() const { return maximum; }
    int Increment() const { return increment; }
    bool Thousands() const { return thousands; }
    QLineEdit* Associate() const { return associate; }

    // Takes the associate's text by the rule above, then reports the position.
    int Position();
    // Clamps to the range and shows the result in the associate.
    void SetPosition(int position);

    // How a position is written into the associate.
    QString PositionText(int position) const;
    // The rule for typed text; `fallback` is returned for text that is not a
    // whole number.
    int ParseText(const QString& text, int fallback) const;

    // Steps as a click on the upper or lower arrow does (the Up and Down
    // keys in the edit come here).
    void StepClick(bool up) { Step(up); }

signals:
    // A click on an arrow, after the position has stepped.
    void Click(orna5::UpDown* sender, bool up);

private:
    void Step(bool up);

    QLineEdit* associate = nullptr;
    int minimum = 0;
    int maximum = 100;
    int increment = 1;
    int position = 0;
    bool thousands = false;
};

} // namespace orna5
