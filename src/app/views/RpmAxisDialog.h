#pragma once

#include "edit/MapBlockCommands.h"

#include <QDialog>

#include <array>

class QLabel;
class QRadioButton;
class QSpinBox;

namespace orna5 {

class Document;

// New rpm points for the advance map or the servo curve, typed as ten points
// or as a first and a last with the others spread evenly. The curves are
// interpolated onto the new points through the document's one road, so the
// change is one undo step and is programmed after change when that is on. A
// list that cannot be taken is refused with the reason and changes nothing;
// the dialog stays open for the user to correct it.
class RpmAxisDialog : public QDialog {
    Q_OBJECT
public:
    enum class Axis { Map, Servo };

    RpmAxisDialog(Document& document, Axis axis, QWidget* parent);

    // The points the dialog would take now.
    RpmPoints Points() const;

    void accept() override;

private:
    void ShowSpread();
    void Refuse(RpmListFault fault);

    Document& document;
    Axis axis;
    int language;
    QRadioButton* tenPoints = nullptr;
    QRadioButton* spread = nullptr;
    std::array<QSpinBox*, 10> points{};
    QSpinBox* first = nullptr;
    QSpinBox* last = nullptr;
    QLabel* spreadShown = nullptr;
};

// Opens the dialog over parent, deleted when it closes.
RpmAxisDialog* OpenRpmAxisDialog(Document& document, RpmAxisDialog::Axis axis, QWidget* parent);

} // namespace orna5
