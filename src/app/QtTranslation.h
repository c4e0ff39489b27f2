#pragma once

namespace orna5 {

// Puts Qt's own texts (the buttons of message boxes, the file dialogs, the
// context menu of an edit field) into the window's language (0..3), from
// the translations that come with Qt. English, and a language whose
// translation is not installed, leave them as Qt has them.
void UseQtTranslation(int languageIndex);

} // namespace orna5
