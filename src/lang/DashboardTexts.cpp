#include "lang/DashboardTexts.h"

#include <array>

namespace orna5 {

namespace {

// One row per DashText, in the order of the enum; columns English, German,
// French, Czech.
constexpr std::array<TextRow, static_cast<std::size_t>(DashText::Count)> kRows{{
    {"Dashboard", "Armaturenbrett", "Tableau de bord", "Přístrojová deska"},
    {"&Full screen", "&Vollbild", "Plein é&cran", "Na celou &obrazovku"},
    {"&Dark", "&Dunkel", "&Sombre", "&Tmavý"},
    {"&Light", "&Hell", "C&lair", "S&větlý"},
    {"D&ial", "&Rundinstrument", "Ca&dran", "&Ručička"},
    {"&Bar", "&Balken", "&Barre", "&Sloupec"},
    {"&Readouts", "&Anzeigen", "&Affichages", "&Ukazatele"},
    {"Engine speed", "Drehzahl", "Régime", "Otáčky"},
    {"Advance", "Vorzündung", "Avance", "Předstih"},
    {"Throttle", "Drosselklappe", "Papillon", "Plyn"},
    {"Supply voltage", "Versorgungsspannung", "Tension d'alimentation", "Napájecí napětí"},
    {"Exhaust servo", "Auspuffservo", "Servo d'échappement", "Výfukové servo"},
    {"Lamps", "Kontrollleuchten", "Voyants", "Kontrolky"},
    {"rpm", "U/min", "tr/min", "ot/min"},
    {"×1000 rpm", "×1000 U/min", "×1000 tr/min", "×1000 ot/min"},
    {"%1:", "%1:", "%1 :", "%1:"},
    {"desired", "Soll", "consigne", "žádané"},
    {"measured", "Ist", "mesuré", "měřené"},
    {"Sensor error", "Sensorfehler", "Erreur du capteur", "Chyba snímače"},
    {"Pick-up error", "Geberfehler", "Erreur de capteur d'allumage", "Chyba snímače zapalování"},
    {"not used", "nicht benutzt", "non utilisé", "nepoužit"},
    {"Shift light", "Schaltblitz", "Voyant de passage", "Kontrolka řazení"},
    {"Kill switch", "Not Aus", "Interrupteur de sécurité", "Kill switch"},
    {"Clutch master", "Schaltautomat", "Clutch master", "Clutch master"},
    {"Pick-up 1", "Geber 1", "Capteur 1", "Snímač 1"},
    {"Pick-up 2", "Geber 2", "Capteur 2", "Snímač 2"},
    {"Engine off", "Motor aus", "Moteur coupé", "Motor vypnut"},
    {"Stored data error", "Datenfehler", "Erreur de données", "Chyba uložených dat"},
    {"Version mismatch", "Versionskonflikt", "Versions différentes", "Nesouhlasí verze"},
    {"on", "an", "allumé", "svítí"},
    {"off", "aus", "éteint", "nesvítí"},
    {"No live data for a second", "Seit einer Sekunde keine Live-Daten",
     "Aucune donnée en direct depuis une seconde", "Už sekundu žádná živá data"},
    {"Waiting for live data", "Warte auf Live-Daten", "En attente des données en direct",
     "Čekám na živá data"},
    {"Live", "Live", "En direct", "Živě"},
    {"shift light %1 rpm", "Schaltblitz %1 U/min", "voyant de passage %1 tr/min",
     "kontrolka řazení %1 ot/min"},
    {"limiter %1 rpm", "Begrenzer %1 U/min", "limiteur %1 tr/min", "omezovač %1 ot/min"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a dashboard text without a text");

} // namespace

const TextTable& TableOf(DashText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
