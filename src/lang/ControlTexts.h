#pragma once

#include "lang/Messages.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orna5 {

// Which property of a control a translated text belongs to. Items are the
// entries of a combo box (replaced one by one, by index, so the selection
// stays) or of a radio group (replaced as a whole list).
enum class TextProp { Caption, Hint, Items };

// One translated text of the window: a control's caption or hint, or one
// entry of its item list, in English, German, French and Czech (UTF-8).
// The main window's own caption is the row of control "FormHlav".
struct ControlTextRow {
    std::string control;
    TextProp prop;
    int item; // entry index for Items, -1 for Caption and Hint
    std::array<std::string, kLanguageCount> texts;
    // A live-value label's placeholder ("Advance 1 = --- [°]"). The window
    // puts it up only while the unit is not connected; otherwise the live
    // monitor owns the label's text.
    bool livePlaceholder;

    // The text in a language; anything outside 0..3 reads as English.
    const std::string& Text(int languageIndex) const;
};

// Every row, in a fixed order (menus, list entries, other controls, further
// captions and hints), so the window can apply a language in one loop.
// Controls not listed keep their designed text in every language.
const std::vector<ControlTextRow>& AllControlTexts();

// The caption or hint of a control in a language, or nullptr when the tables
// have no such row (the control keeps its designed text). TextProp::Items
// always gives nullptr: use ListItemText or ControlItems.
const std::string* ControlText(std::string_view controlName, TextProp prop, int languageIndex);

// One entry of a control's item list, or nullptr when that entry is not
// translated (e.g. the model names of the bike list).
const std::string* ListItemText(std::string_view controlName, int item, int languageIndex);

// The translated entries 0, 1, 2 ... of a control, up to the first index
// without a row. Gives the whole list of a radio group and the translated
// head of the synchronisation list; empty for a control whose entry 0 is not
// translated (the bike list: use ListItemText per entry).
std::vector<std::string> ControlItems(std::string_view controlName, int languageIndex);

} // namespace orna5
