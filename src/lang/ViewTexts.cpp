#include "lang/ViewTexts.h"

#include "lang/Messages.h"

#include <array>

namespace orna5 {

namespace {

// One row per ViewText, in the order of the enum; columns English, German,
// French, Czech.
constexpr std::array<TextRow, static_cast<std::size_t>(ViewText::Count)> kRows{{
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
    {"The data log does not say which map the unit ran on.",
     "Das Datenlog sagt nicht, mit welchem Kennfeld das Gerät lief.",
     "Le journal n'indique pas avec quelle cartographie le boîtier fonctionnait.",
     "Záznam dat neuvádí, s jakou mapou jednotka běžela."},
    {"Quantity", "Größe", "Grandeur", "Veličina"},
    {"Time", "Zeit", "Heure", "Čas"},
    {"Throttle sensor [mV]", "Drosselklappensensor [mV]", "Capteur de papillon [mV]",
     "Snímač plynu [mV]"},
    {"Servo desired [mV]", "Servo Sollspannung [mV]", "Servo consigne [mV]",
     "Servo požadované [mV]"},
    {"Servo measured [mV]", "Servo gemessen [mV]", "Servo mesuré [mV]", "Servo měřené [mV]"},
    {"Number of programmings", "Programmierungsanzahl", "Nombre de programmations",
     "Počet programování"},
    {"Kill switch", "Not Aus", "Interrupteur de sécurité", "Kill switch"},
    {"Clutch master", "Schaltautomat", "Clutch master", "Clutch master"},
    {"Gear Shift Light", "Schaltblitz", "Témoin de passage", "Kontrolka řazení"},
    {"Pick-up (CKPS) %1", "Geber (CKPS) %1", "Capteur (CKPS) %1", "Snímač (CKPS) %1"},
    {"Input %1 grounded", "Eingang %1 an Masse", "Entrée %1 à la masse", "Vstup %1 uzemněn"},
    {"Motor off", "Motor aus", "Blocage", "Blokování"},
    {"Saving count", "Speicherzähler", "Compteur d'enregistrement", "Počítadlo ukládání"},
    {"Programmed data error", "Fehler der programmierten Daten", "Erreur des données programmées",
     "Chyba naprogramovaných dat"},
    {"Protocol", "Protokoll", "Protocole", "Protokol"},
    {"Play data log: %1", "Datenlog abspielen: %1", "Lire un journal : %1",
     "Přehrát záznam dat: %1"},
    {"Play", "Abspielen", "Lecture", "Přehrát"},
    {"Pause", "Pause", "Pause", "Pozastavit"},
    {"Speed:", "Tempo:", "Vitesse :", "Rychlost:"},
    {"Playing data log %1: %2 of %3", "Datenlog %1 wird abgespielt: %2 von %3",
     "Lecture du journal %1 : %2 sur %3", "Přehrává se záznam dat %1: %2 z %3"},
    {"The log was recorded on another map than the window's. The window's parameters stay as "
     "they are.",
     "Das Datenlog wurde mit einem anderen Kennfeld aufgezeichnet als dem des Fensters. Die "
     "Parameter des Fensters bleiben, wie sie sind.",
     "Le journal a été enregistré avec une autre cartographie que celle de la fenêtre. Les "
     "paramètres de la fenêtre restent inchangés.",
     "Záznam byl pořízen s jinou mapou, než má okno. Parametry okna zůstávají beze změny."},
    {"Compare", "Vergleichen", "Comparer", "Porovnat"},
    {"%1 of %2", "%1 von %2", "%1 sur %2", "%1 z %2"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a view text without a text");

// English template, then German, French and Czech.
constexpr std::array<const char*, kLanguageCount> kParameterNames[] = {
    {"Limiter", "Drehzahlbegrenzer", "Limiteur", "Omezovač"},
    {"Gear shift light", "Schaltblitz", "Témoin de passage", "Kontrolka řazení"},
    {"Revolutions without ignition", "Umdrehungen ohne Zündung", "Tours sans allumage",
     "Otáčky bez zapalování"},
    {"Clutch master time", "Schaltautomat Zeit", "Clutch master, durée", "Clutch master čas"},
    {"Clutch master pause", "Schaltautomat Pause", "Clutch master, pause", "Clutch master pauza"},
    {"Compensation %1", "Kompensation %1", "Compensation %1", "Kompenzace %1"},
    {"Excitation long", "Lange Erregung", "Excitation longue", "Dlouhé buzení"},
    {"Inputs for neutral and side stand", "Eingänge für Leerlauf und Seitenständer",
     "Entrées pour point mort et béquille", "Vstupy pro neutrál a stojan"},
    {"Input 1", "Eingang 1", "Entrée 1", "Vstup 1"},
    {"Input 2", "Eingang 2", "Entrée 2", "Vstup 2"},
    {"Motorbike type", "Motorradtyp", "Type de moto", "Typ motocyklu"},
    {"Synchronization method", "Synchronisationsmethode", "Méthode de synchronisation",
     "Způsob synchronizace"},
    {"Number of lobes", "Anzahl der Zähne", "Nombre de dents", "Počet zubů"},
    {"Number of outputs", "Anzahl der Ausgänge", "Nombre de sorties", "Počet výstupů"},
    {"Lobes per revolution", "Zähne pro Umdrehung", "Dents par tour", "Zubů na otáčku"},
    {"Channel %1 maximum advance lobe", "Kanal %1 Zahn der maximalen Vorzündung",
     "Canal %1 dent d'avance maximale", "Kanál %1 zub maximálního předstihu"},
    {"Channel %1 maximum advance 2nd edge", "Kanal %1 maximale Vorzündung 2. Flanke",
     "Canal %1 avance maximale 2e front", "Kanál %1 maximální předstih 2. hrana"},
    {"Channel %1 maximum advance 2nd pick-up", "Kanal %1 maximale Vorzündung 2. Geber",
     "Canal %1 avance maximale 2e capteur", "Kanál %1 maximální předstih 2. snímač"},
    {"Channel %1 start advance lobe", "Kanal %1 Zahn der Startvorzündung",
     "Canal %1 dent d'avance au démarrage", "Kanál %1 zub startovacího předstihu"},
    {"Channel %1 start advance 2nd edge", "Kanal %1 Startvorzündung 2. Flanke",
     "Canal %1 avance au démarrage 2e front", "Kanál %1 startovací předstih 2. hrana"},
    {"Channel %1 start advance 2nd pick-up", "Kanal %1 Startvorzündung 2. Geber",
     "Canal %1 avance au démarrage 2e capteur", "Kanál %1 startovací předstih 2. snímač"},
    {"Tachometer correction", "Drehzahlmesser Korrektur", "Correction du compte-tours",
     "Korekce otáčkoměru"},
    {"Tachometer pulses per revolution", "Drehzahlmesser Impulse pro Umdrehung",
     "Impulsions du compte-tours par tour", "Pulzy otáčkoměru na otáčku"},
    {"Inverse polarity of pick-up %1", "Umgekehrte Polarität Geber %1",
     "Polarité inversée du capteur %1", "Obrácená polarita snímače %1"},
    {"Base advance", "Grundvorzündung", "Avance de base", "Základní předstih"},
    {"Map uses TPS rows", "Kennfeld nutzt die Drosselklappenzeilen",
     "La carte utilise les lignes du papillon", "Mapa používá řádky plynu"},
    {"Map rpm point %1", "Kennfeld Drehzahlpunkt %1", "Carte, point de régime %1",
     "Mapa, bod otáček %1"},
    {"Advance at TPS %1, rpm point %2", "Vorzündung bei Drosselklappe %1, Drehzahlpunkt %2",
     "Avance à papillon %1, point de régime %2", "Předstih při plynu %1, bod otáček %2"},
    {"Servo enable", "Servo ein", "Servo actif", "Servo zapnuto"},
    {"Servo hysteresis", "Servo Hysterese", "Hystérésis du servo", "Hystereze serva"},
    {"Servo point %1 rpm", "Servopunkt %1 Drehzahl", "Point servo %1 régime",
     "Bod serva %1 otáčky"},
    {"Servo point %1 voltage", "Servopunkt %1 Spannung", "Point servo %1 tension",
     "Bod serva %1 napětí"},
    {"Byte %1", "Byte %1", "Octet %1", "Bajt %1"},
    {"TPS 0%", "TPS 0%", "TPS 0%", "TPS 0%"},
    {"TPS 100%", "TPS 100%", "TPS 100%", "TPS 100%"},
    {"yes", "ja", "oui", "ano"},
    {"no", "nein", "non", "ne"},
    {"Off", "Aus", "Arrêt", "Vypnuto"},
};

} // namespace

std::string ParameterNameIn(const std::string& englishTemplate, int languageIndex) {
    if (languageIndex <= English || languageIndex >= kLanguageCount)
        return englishTemplate;
    for (const auto& row : kParameterNames)
        if (englishTemplate == row[English])
            return row[languageIndex];
    return englishTemplate;
}

const TextTable& TableOf(ViewText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
