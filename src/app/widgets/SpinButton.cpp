#include "app/widgets/SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace orna5 {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    upButton = new QToolButton(this);
    downButton = new QToolButton(this);
    upButton->setObjectName("Up");
    downButton->setObjectName("Down");
    upButton->setArrowType(Qt::UpArrow);
    downButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {upButton, downButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setIconSize(QSize(7, 7));
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, &SpinButton::UpClick);
    connect(downButton, &QToolButton::clicked, this, &SpinButton::DownClick);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

// A name set again unchanged would be announced again.
void SpinButton::SetArrowNames(const QString& increase, const QString& decrease) {
    if (upButton->accessibleName() != increase)
        upButton->setAccessibleName(increase);
    if (downButton->accessibleName() != decrease)
        downButton->setAccessibleName(decrease);
}

QSize SpinButton::sizeHint() const {
    return QSize(17, 24);
}

} // namespace orna5
