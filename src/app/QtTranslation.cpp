#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <array>

namespace orna5 {

namespace {

// Qt's names for German, French and Czech; English is Qt's own.
constexpr std::array<const char*, 4> kQtLanguages{"", "de", "fr", "cs"};

} // namespace

void UseQtTranslation(int languageIndex) {
    // One translator for the whole run, replaced at every switch.
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    const char* language =
        languageIndex > 0 && languageIndex < static_cast<int>(kQtLanguages.size())
            ? kQtLanguages[static_cast<std::size_t>(languageIndex)]
            : "";
    if (!*language)
        return;
    auto* next = new QTranslator(QCoreApplication::instance());
    if (next->load(QStringLiteral("qtbase_") + language,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(next);
        translator = next;
    } else {
        delete next;
    }
}

} // namespace orna5
