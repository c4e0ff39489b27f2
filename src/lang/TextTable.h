#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace orna5 {

// The four interface languages, in the order of the text tables' columns.
enum UiLanguage : int { English = 0, German = 1, French = 2, Czech = 3 };
constexpr int kLanguageCount = 4;

// One text in the four languages: English, German, French, Czech (UTF-8).
using TextRow = std::array<const char*, kLanguageCount>;

// A table written as std::array<TextRow, Id::Count> leaves a forgotten row,
// or a forgotten column of a row, as a null pointer. Each table asserts this
// at compile time, so a text added to an enum cannot reach a user as nothing.
template <std::size_t N>
constexpr bool EveryRowInEveryLanguage(const std::array<TextRow, N>& rows) {
    for (const TextRow& row : rows)
        for (const char* text : row)
            if (text == nullptr)
                return false;
    return true;
}

// The texts of one table, as strings the callers can keep a reference to.
class TextTable {
public:
    template <std::size_t N> explicit TextTable(const std::array<TextRow, N>& rows) {
        texts.reserve(N);
        for (const TextRow& row : rows) {
            std::array<std::string, kLanguageCount> strings;
            for (int l = 0; l < kLanguageCount; ++l)
                strings[static_cast<std::size_t>(l)] = row[static_cast<std::size_t>(l)];
            texts.push_back(std::move(strings));
        }
    }

    // Anything outside 0..3 reads as English; a row past the end as "".
    const std::string& At(std::size_t row, int languageIndex) const;

private:
    std::vector<std::array<std::string, kLanguageCount>> texts;
};

// The one lookup of our texts: each id type (Msg, ViewText, MapText) names
// its table through a TableOf overload declared beside the enum.
template <typename Id> const std::string& TextIn(Id id, int languageIndex) {
    return TableOf(id).At(static_cast<std::size_t>(id), languageIndex);
}

} // namespace orna5
