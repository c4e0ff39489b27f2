#pragma once

#include <QString>

class QWidget;

namespace orna5 {

// Gives a control the name a screen reader says, and the description it
// adds, with the parts a reader reaches on their own: the list of a combo
// box, the tab bar of a tab widget, the drawing area of a chart. A name set
// again unchanged is not announced again. Without a description the
// control's own (its hint's) stays.
void SetReaderName(QWidget* control, const QString& name);
void SetReaderName(QWidget* control, const QString& name, const QString& description);

// A caption as a reader should say it: no accelerator marks, no doubled or
// trailing blanks, no closing colon.
QString Spoken(QString caption);

} // namespace orna5
