#include "lang/AccessTexts.h"

#include <array>

namespace orna5 {

namespace {

// One row per AccessText, in the order of the enum; columns English, German,
// French, Czech.
constexpr std::array<TextRow, static_cast<std::size_t>(AccessText::Count)> kRows{{
    {"Increase %1", "%1 erhöhen", "Augmenter %1", "Zvýšit %1"},
    {"Decrease %1", "%1 verringern", "Diminuer %1", "Snížit %1"},
    {"%1, %2", "%1, %2", "%1, %2", "%1, %2"},
    {"Advance at %1 rpm, %2 % throttle", "Vorzündung bei %1 U/min, %2 % Drosselklappe",
     "Avance à %1 tr/min, %2 % de papillon", "Předstih při %1 ot/min, %2 % plynu"},
    {"%1: %2°", "%1: %2°", "%1 : %2°", "%1: %2°"},
    {"Advance at %1 rpm", "Vorzündung bei %1 U/min", "Avance à %1 tr/min",
     "Předstih při %1 ot/min"},
    {"Map rpm point %1", "Drehzahlpunkt %1 des Kennfelds", "Point de régime %1 de la cartographie",
     "Bod otáček mapy %1"},
    {"Servo rpm point %1", "Drehzahlpunkt %1 des Servos", "Point de régime %1 du servo",
     "Bod otáček serva %1"},
    {"Servo voltage at rpm point %1 [mV]", "Servospannung am Drehzahlpunkt %1 [mV]",
     "Tension du servo au point de régime %1 [mV]", "Napětí serva v bodě otáček %1 [mV]"},
    {"Compensation %1", "Kompensation %1", "Compensation %1", "Kompenzace %1"},
    {"Lobes per revolution", "Leitstücke pro Umdrehung", "Lobes par tour", "Výstupky za otáčku"},
    {"Lower the servo curve", "Servokurve senken", "Abaisser la courbe du servo",
     "Snížit křivku serva"},
    {"Raise the servo curve", "Servokurve anheben", "Relever la courbe du servo",
     "Zvýšit křivku serva"},
    {"Pages", "Seiten", "Pages", "Stránky"},
    {"Tabs of %1", "Reiter von %1", "Onglets de %1", "Záložky okna %1"},
    {"Advance map", "Zündkennfeld", "Cartographie d'avance", "Mapa předstihu"},
    {"Value to set [°]", "Zu setzender Wert [°]", "Valeur à fixer [°]", "Hodnota k nastavení [°]"},
    {"Degrees to add", "Zu addierende Grad", "Degrés à ajouter", "Stupně k přičtení"},
    {"Scale by [%]", "Skalieren um [%]", "Multiplier par [%]", "Násobit [%]"},
    {"Time in cell", "Zeit in der Zelle", "Temps par cellule", "Čas v buňce"},
    {"Chart: %1", "Diagramm: %1", "Graphique : %1", "Graf: %1"},
    {"Position in the log", "Position im Datenlog", "Position dans le journal", "Pozice v záznamu"},
    {"Values at the position", "Werte an der Position", "Valeurs à la position",
     "Hodnoty na pozici"},
    {"Map of the log", "Kennfeld des Datenlogs", "Cartographie du journal", "Mapa záznamu"},
    {"Playback position", "Wiedergabeposition", "Position de lecture", "Pozice přehrávání"},
    {"Differences", "Unterschiede", "Différences", "Rozdíly"},
    {"Restore points", "Wiederherstellungspunkte", "Points de restauration", "Body obnovení"},
    {"Rides", "Fahrten", "Sorties", "Jízdy"},
    {"Pulls", "Beschleunigungen", "Accélérations", "Zrychlení"},
    {"Rise rate by rpm", "Drehzahlanstieg nach Drehzahl", "Montée en régime par régime",
     "Nárůst otáček podle otáček"},
    {"Map cells that differ", "Abweichende Kennfeldzellen", "Cellules différentes",
     "Odlišné buňky mapy"},
    {"First rpm point", "Erster Drehzahlpunkt", "Premier point de régime", "První bod otáček"},
    {"Last rpm point", "Letzter Drehzahlpunkt", "Dernier point de régime", "Poslední bod otáček"},
    {"Close the note", "Hinweis schließen", "Fermer l'avis", "Zavřít upozornění"},
}};
static_assert(EveryRowInEveryLanguage(kRows));

} // namespace

const TextTable& TableOf(AccessText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
