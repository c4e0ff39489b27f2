#include "app/widgets/ReaderName.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>

namespace orna5 {

namespace {

void SetOne(QWidget* widget, const QString& name, const QString& description) {
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
    if (widget->accessibleDescription() != description)
        widget->setAccessibleDescription(description);
}

} // namespace

void SetReaderName(QWidget* control, const QString& name) {
    SetReaderName(control, name, control->accessibleDescription());
}

void SetReaderName(QWidget* control, const QString& name, const QString& description) {
    SetOne(control, name, description);
    if (auto* list = qobject_cast<QComboBox*>(control))
        SetOne(list->view(), name, description);
    else if (auto* tabs = qobject_cast<QTabWidget*>(control))
        SetOne(tabs->tabBar(), name, description);
    else if (auto* area = qobject_cast<QAbstractScrollArea*>(control);
             area && !qobject_cast<QAbstractItemView*>(control))
        SetOne(area->viewport(), name, description);
}

QString Spoken(QString caption) {
    caption.replace("&&", QString(QChar(0x1F)));
    caption.remove('&');
    caption.replace(QChar(0x1F), '&');
    caption = caption.simplified();
    if (caption.endsWith(':'))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace orna5
