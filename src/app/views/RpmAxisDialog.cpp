#include "app/views/RpmAxisDialog.h"

#include "app/Document.h"
#include "lang/AccessTexts.h"
#include "lang/MapTableTexts.h"
#include "params/FieldTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

namespace orna5 {

namespace {

// Wide enough to type a wrong point, so that it is refused with its reason
// rather than silently changed by the field.
QSpinBox* RpmField(QWidget* parent, const QString& name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 99900);
    box->setSingleStep(100);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

RpmAxisDialog::RpmAxisDialog(Document& doc, Axis which, QWidget* parent)
    : QDialog(parent), document(doc), axis(which), language(doc.Language()) {
    setObjectName("RpmAxisDialog");
    const auto text = [this](MapText id) { return QString::fromStdString(TextIn(id, language)); };
    QString title = text(axis == Axis::Map ? MapText::ChangeRpmAxis : MapText::ChangeServoRpm);
    setWindowTitle(title.remove(QChar(0x2026)).trimmed());

    const FieldScale& scale = axis == Axis::Map ? fieldScale::mapRpm : fieldScale::servoRpm;
    const ParameterImage& image = document.Image();
    auto* layout = new QVBoxLayout(this);
    auto* note =
        new QLabel(text(axis == Axis::Map ? MapText::RpmAxisNote : MapText::ServoRpmNote), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    tenPoints = new QRadioButton(text(MapText::TenPoints), this);
    tenPoints->setObjectName("RadioTenPoints");
    tenPoints->setChecked(true);
    layout->addWidget(tenPoints);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(24, 0, 0, 0);
    for (int j = 0; j < 10; ++j) {
        const auto value =
            static_cast<int>(Shown(scale, image[scale.offset + static_cast<std::size_t>(j)]));
        points[static_cast<std::size_t>(j)] =
            RpmField(this, QString("SpinBoxRpm%1").arg(j + 1), value);
        grid->addWidget(points[static_cast<std::size_t>(j)], j / 5, j % 5);
        points[static_cast<std::size_t>(j)]->setAccessibleName(
            QString::fromStdString(
                TextIn(axis == Axis::Map ? AccessText::MapRpmPoint : AccessText::ServoRpmPoint,
                       language))
                .arg(j + 1));
    }
    layout->addLayout(grid);

    spread = new QRadioButton(text(MapText::SpreadPoints), this);
    spread->setObjectName("RadioSpread");
    layout->addWidget(spread);
    auto* ends = new QHBoxLayout;
    ends->setContentsMargins(24, 0, 0, 0);
    first = RpmField(this, "SpinBoxFirst", points.front()->value());
    last = RpmField(this, "SpinBoxLast", points.back()->value());
    ends->addWidget(new QLabel(text(MapText::FirstPoint), this));
    ends->addWidget(first);
    ends->addSpacing(12);
    ends->addWidget(new QLabel(text(MapText::LastPoint), this));
    ends->addWidget(last);
    first->setAccessibleName(QString::fromStdString(TextIn(AccessText::FirstPoint, language)));
    last->setAccessibleName(QString::fromStdString(TextIn(AccessText::LastPoint, language)));
    ends->addStretch(1);
    layout->addLayout(ends);
    spreadShown = new QLabel(this);
    spreadShown->setObjectName("LabelSpread");
    spreadShown->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(spreadShown);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("ButtonsRpmAxis");
    connect(buttons, &QDialogButtonBox::accepted, this, &RpmAxisDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RpmAxisDialog::reject);
    layout->addWidget(buttons);

    // Typing in a group chooses it.
    for (QSpinBox* box : points)
        connect(box, &QSpinBox::valueChanged, this, [this] { tenPoints->setChecked(true); });
    for (QSpinBox* box : {first, last})
        connect(box, &QSpinBox::valueChanged, this, [this] {
            spread->setChecked(true);
            ShowSpread();
        });
    connect(spread, &QRadioButton::toggled, this, &RpmAxisDialog::ShowSpread);
    ShowSpread();
}

RpmPoints RpmAxisDialog::Points() const {
    if (spread->isChecked())
        return SpreadRpmPoints(first->value(), last->value());
    RpmPoints typed{};
    for (std::size_t j = 0; j < typed.size(); ++j)
        typed[j] = points[j]->value();
    return typed;
}

// The spread points as they will be taken, so the rounding is no surprise.
void RpmAxisDialog::ShowSpread() {
    QStringList shown;
    for (int point : SpreadRpmPoints(first->value(), last->value()))
        shown << QLocale().toString(point);
    spreadShown->setText(shown.join("  "));
    spreadShown->setEnabled(spread->isChecked());
}

void RpmAxisDialog::accept() {
    const RpmPoints wanted = Points();
    if (const RpmListFault fault = CheckRpmPoints(wanted); fault != RpmListFault::None) {
        Refuse(fault);
        return;
    }
    RebinOutcome outcome;
    document.ChangeImage([&](ParameterImage& image) {
        outcome = axis == Axis::Map ? RebinRpmAxis(image, wanted) : RebinServoRpm(image, wanted);
    });
    if (outcome.fault != RpmListFault::None) {
        Refuse(outcome.fault);
        return;
    }
    if (outcome.clipped) {
        auto* box = new QMessageBox(
            QMessageBox::Information, windowTitle(),
            QString::fromStdString(
                TextIn(axis == Axis::Map ? MapText::Clipped : MapText::ServoClipped, language)),
            QMessageBox::Ok, parentWidget());
        box->setObjectName("RpmAxisClippedBox");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    QDialog::accept();
}

void RpmAxisDialog::Refuse(RpmListFault fault) {
    const MapText reason = fault == RpmListFault::NotOn100     ? MapText::RpmNotOn100
                           : fault == RpmListFault::OutOfRange ? MapText::RpmOutOfRange
                                                               : MapText::RpmNotRising;
    auto* box =
        new QMessageBox(QMessageBox::Warning, windowTitle(),
                        QString::fromStdString(TextIn(reason, language)), QMessageBox::Ok, this);
    box->setObjectName("RpmAxisErrorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->show();
}

RpmAxisDialog* OpenRpmAxisDialog(Document& document, RpmAxisDialog::Axis axis, QWidget* parent) {
    auto* dialog = new RpmAxisDialog(document, axis, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    return dialog;
}

} // namespace orna5
