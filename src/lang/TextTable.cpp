#include "lang/TextTable.h"

namespace orna5 {

const std::string& TextTable::At(std::size_t row, int languageIndex) const {
    static const std::string empty;
    if (row >= texts.size())
        return empty;
    const int lang = languageIndex >= 0 && languageIndex < kLanguageCount ? languageIndex : English;
    return texts[row][static_cast<std::size_t>(lang)];
}

} // namespace orna5
