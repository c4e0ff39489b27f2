#include "lang/ViewTexts.h"

#include "lang/Messages.h"

#include <array>

namespace orna5 {

namespace {

using ViewRow = std::array<const char*, kLanguageCount>;

// One row per ViewText, in the order of the enum; columns English, German,
// French, Czech.
constexpr std::array<ViewRow, static_cast<std::size_t>(ViewText::Count)> kRows{{
    {"Advance curves", "Zündkurven", "Courbes d'avance", "Křivky předstihu"},
    {"Advance", "Vorzündung", "Avance", "Předstih"},
    {"Servo", "Servo", "Servo", "Servo"},
    {"Engine speed [rpm]", "Drehzahl [U/min]", "Régime [tr/min]", "Otáčky [ot/min]"},
    {"Advance [°]", "Vorzündung [°]", "Avance [°]", "Předstih [°]"},
    {"Servo [mV]", "Servo [mV]", "Servo [mV]", "Servo [mV]"},
    {"Engine", "Motor", "Moteur", "Motor"},
    {"%1 rpm, %2", "%1 U/min, %2", "%1 tr/min, %2", "%1 ot/min, %2"},
    {"Data log: %1", "Datenlog: %1", "Journal : %1", "Záznam dat: %1"},
    {"Time [s]", "Zeit [s]", "Temps [s]", "Čas [s]"},
    {"Throttle [%]", "Drosselklappe [%]", "Papillon [%]", "Plyn [%]"},
    {"Supply [V]", "Versorgung [V]", "Alimentation [V]", "Napájení [V]"},
    {"Advance %1 [°]", "Vorzündung %1 [°]", "Avance %1 [°]", "Předstih %1 [°]"},
    {"Throttle [%], advance [°]", "Drosselklappe [%], Vorzündung [°]", "Papillon [%], avance [°]",
     "Plyn [%], předstih [°]"},
    {"Unit: %1", "Zündung: %1", "Allumage : %1", "Zapalování: %1"},
    {"Parameter file: %1", "Parameterdatei: %1", "Fichier de paramètres : %1",
     "Soubor parametrů: %1"},
    {"not known", "unbekannt", "inconnu", "neznámé"},
    {"none", "keine", "aucun", "žádný"},
    {"%1 lines could not be read.", "%1 Zeilen konnten nicht gelesen werden.",
     "%1 lignes n'ont pas pu être lues.", "Nečitelné řádky: %1."},
    {"This file is not a data log.", "Diese Datei ist kein Datenlog.",
     "Ce fichier n'est pas un journal de données.", "Tento soubor není záznam dat."},
    {"The data log has no rows.", "Das Datenlog hat keine Zeilen.",
     "Le journal ne contient aucune ligne.", "Záznam dat neobsahuje žádné řádky."},
    {"Data logs (*.csv)", "Datenlogs (*.csv)", "Journaux de données (*.csv)",
     "Záznamy dat (*.csv)"},
    {"All files (*)", "Alle Dateien (*)", "Tous les fichiers (*)", "Všechny soubory (*)"},
    {"Parameter files (*.ign)", "Parameterdateien (*.ign)", "Fichiers de paramètres (*.ign)",
     "Soubory parametrů (*.ign)"},
    {"Data log %1, %2 rows: %3", "Datenlog %1, %2 Zeilen: %3", "Journal %1, %2 lignes : %3",
     "Záznam dat %1, řádků %2: %3"},
    {"The port has gone; the data log is closed: %1",
     "Der Anschluss ist weg; das Datenlog ist geschlossen: %1",
     "Le port a disparu ; le journal est fermé : %1", "Port zmizel; záznam dat je uzavřen: %1"},
    {"Data log saved: %1", "Datenlog gespeichert: %1", "Journal enregistré : %1",
     "Záznam dat uložen: %1"},
    {"The data log could not be written: %1", "Das Datenlog konnte nicht geschrieben werden: %1",
     "Le journal n'a pas pu être écrit : %1", "Záznam dat nelze zapsat: %1"},
    {"Map cell in use", "Benutzte Kennfeldzelle", "Cellule utilisée", "Použitá buňka mapy"},
    {"Value", "Wert", "Valeur", "Hodnota"},
    {"Compare with %1", "Vergleich mit %1", "Comparaison avec %1", "Porovnání s %1"},
    {"Parameter", "Parameter", "Paramètre", "Parametr"},
    {"This window", "Dieses Fenster", "Cette fenêtre", "Toto okno"},
    {"File", "Datei", "Fichier", "Soubor"},
    {"%1 parameters differ from the file.", "%1 Parameter weichen von der Datei ab.",
     "%1 paramètres diffèrent du fichier.", "Parametrů odlišných od souboru: %1."},
    {"No parameter differs from the file.", "Kein Parameter weicht von der Datei ab.",
     "Aucun paramètre ne diffère du fichier.", "Žádný parametr se od souboru neliší."},
    {"Reserved", "Reserviert", "Réservé", "Rezervováno"},
}};

} // namespace

const std::string& ViewTextIn(ViewText id, int languageIndex) {
    static const auto table = [] {
        std::array<std::array<std::string, kLanguageCount>, kRows.size()> t;
        for (std::size_t r = 0; r < kRows.size(); ++r) {
            for (int l = 0; l < kLanguageCount; ++l) {
                t[r][l] = kRows[r][l];
            }
        }
        return t;
    }();
    static const std::string empty;
    const auto row = static_cast<std::size_t>(id);
    if (row >= table.size()) {
        return empty;
    }
    const int lang =
        (languageIndex >= 0 && languageIndex < kLanguageCount) ? languageIndex : English;
    return table[row][lang];
}

} // namespace orna5
