#include "app/widgets/UpDown.h"

#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace orna5 {

UpDown::UpDown(QWidget* parent) : SpinButton(parent) {
    connect(this, &SpinButton::UpClick, this, [this] { Step(true); });
    connect(this, &SpinButton::DownClick, this, [this] { Step(false); });
}

void UpDown::SetRange(int minimum, int maximum) {
    this->minimum = minimum;
    this->maximum = std::max(minimum, maximum);
    position = std::clamp(position, this->minimum, this->maximum);
}

void UpDown::SetAssociate(QLineEdit* edit) {
    associate = edit;
    if (associate)
        associate->setText(PositionText(position));
}

QString UpDown::PositionText(int value) const {
    if (thousands && (value >= 1000 || value <= -1000))
        return QLocale().toString(value);
    return QString::number(value);
}

int UpDown::ParseText(const QString& text, int fallback) const {
    const QString trimmed = text.trimmed();
    bool ok = false;
    qlonglong value = QLocale().toLongLong(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toLongLong(trimmed, &ok);
    if (!ok) {
        // A grouping typed in another style than the locale's ("15 000" where
        // the locale groups with dots): drop blanks and try once more.
        QString compact = trimmed;
        compact.remove(QChar(' '));
        compact.remove(QChar(0x00A0));
        compact.remove(QChar(0x202F));
        value = QLocale::c().toLongLong(compact, &ok);
    }
    if (!ok)
        return fallback;
    return static_cast<int>(std::clamp<qlonglong>(value, minimum, maximum));
}

int UpDown::Position() {
    if (associate)
        position = ParseText(associate->text(), position);
    return position;
}

void UpDown::SetPosition(int value) {
    position = std::clamp(value, minimum, maximum);
    // Rewriting the same text would lose the user's selection in the edit.
    const QString text = PositionText(position);
    if (associate && associate->text() != text)
        associate->setText(text);
}

void UpDown::Step(bool up) {
    const int from = Position();
    const long long to = static_cast<long long>(from) + (up ? increment : -increment);
    SetPosition(static_cast<int>(std::clamp<long long>(to, minimum, maximum)));
    emit Click(this, up);
}

} // namespace orna5
