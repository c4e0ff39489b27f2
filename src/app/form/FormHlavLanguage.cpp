// Puts the texts of the current language into the window: captions, hints
// and list entries, all from one table keyed by control name. The names are
// looked up once, when the controls are made.

#include "app/Document.h"
#include "app/LiveRateControl.h"
#include "app/QtTranslation.h"
#include "app/form/FormHlav.h"
#include "lang/ControlTexts.h"
#include "lang/HintParts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace orna5 {

// "short|long": the short part is the tooltip, the long part goes to the
// status bar while the mouse is over the control and is what a screen reader
// gives as the control's description.
void TFormHlav::SetHint(QObject* control, const QString& hint) {
    const HintParts parts = SplitHint(hint.toStdString());
    const QString tooltip = QString::fromStdString(parts.tooltip);
    const QString statusText = QString::fromStdString(parts.statusText);
    if (auto* action = qobject_cast<QAction*>(control)) {
        action->setToolTip(tooltip);
        action->setStatusTip(statusText);
    } else if (auto* widget = qobject_cast<QWidget*>(control)) {
        widget->setToolTip(tooltip);
        widget->setStatusTip(statusText);
        // A screen reader says the long part after the control's name.
        widget->setAccessibleDescription(statusText);
    }
}

// A row for a control beside the form (the live rate items) is that
// object's to apply; a row that names nothing in the window stops the
// program at start.
void TFormHlav::BindControlTexts() {
    boundTexts.clear();
    for (const ControlTextRow& row : AllControlTexts()) {
        const QString name = QString::fromStdString(row.control);
        if (QObject* control = namesForTexts.value(name))
            boundTexts.push_back({&row, control});
        else if (!findChild<QObject*>(name))
            qFatal("orna5: a text for %s, which the window does not have", qPrintable(name));
    }
    namesForTexts.clear();
}

void TFormHlav::ApplyLanguage() {
    UseQtTranslation(languageIndex);
    for (int i = 0; i < 4; ++i)
        languageActions[i]->setChecked(i == languageIndex);

    // The live labels show their placeholders only while there is no unit;
    // with a unit the next monitor frame writes them.
    const bool placeholders = !LabelSpojeni->isHidden();
    for (const auto& [rowPointer, object] : boundTexts) {
        const ControlTextRow& row = *rowPointer;
        if (row.livePlaceholder && !placeholders)
            continue;
        const QString text = QString::fromStdString(row.Text(languageIndex));
        if (object == this) {
            if (row.prop == TextProp::Caption)
                setWindowTitle(text);
            continue;
        }
        if (row.prop == TextProp::Hint) {
            SetHint(object, text);
            continue;
        }
        if (auto* action = qobject_cast<QAction*>(object)) {
            action->setText(text);
        } else if (row.prop == TextProp::Items) {
            if (auto* list = qobject_cast<QComboBox*>(object)) {
                if (row.item < list->count())
                    list->setItemText(row.item, text);
            } else if (auto* group = object->findChild<QButtonGroup*>()) {
                if (QAbstractButton* button = group->button(row.item))
                    button->setText(text);
            }
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(text);
            // A placeholder says nothing of the last values, nor of their colour.
            if (row.livePlaceholder)
                PaintRole(label, ColourRole::ButtonFace);
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            button->setText(text);
        } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
            box->setTitle(text);
        } else if (auto* widget = qobject_cast<QWidget*>(object)) {
            const int page = PageControl1->indexOf(widget);
            if (page >= 0)
                PageControl1->setTabText(page, text);
        }
    }
    AlignChannelColumns();
    ApplyReaderNames();
    if (liveRate)
        liveRate->ApplyLanguage(languageIndex);
    document->HostLanguageChanged();
}

} // namespace orna5
