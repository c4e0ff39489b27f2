#include "lang/RideTexts.h"

#include <array>

namespace orna5 {

namespace {

// Columns English, German, French, Czech, in the order of RideText.
constexpr std::array<TextRow, static_cast<std::size_t>(RideText::Count)> kRows{{
    {"Chart", "Diagramm", "Graphique", "Graf"},
    {"Pulls", "Züge", "Accélérations", "Tahy"},
    {"Gear:", "Gang:", "Rapport :", "Rychlost:"},
    {"all", "alle", "tous", "všechny"},
    {"Add log…", "Log hinzufügen…", "Ajouter un journal…", "Přidat záznam…"},
    {"Compare its map with the window", "Sein Kennfeld mit dem Fenster vergleichen",
     "Comparer sa cartographie avec la fenêtre", "Porovnat jeho mapu s oknem"},
    {"Rise rate [rpm/s]", "Drehzahlanstieg [U/min/s]", "Montée en régime [tr/min/s]",
     "Nárůst otáček [ot/min/s]"},
    {"%1 rpm", "%1 U/min", "%1 tr/min", "%1 ot/min"},
    {"Log 1 [rpm/s]", "Log 1 [U/min/s]", "Journal 1 [tr/min/s]", "Záznam 1 [ot/min/s]"},
    {"≈ within the bands: no larger than the pulls of one log differ among themselves",
     "≈ innerhalb der Streuung: nicht größer, als die Züge eines Logs untereinander abweichen",
     "≈ dans la dispersion : pas plus grand que l'écart entre les accélérations d'un même "
     "journal",
     "≈ v rozptylu: ne větší, než jak se liší tahy jednoho záznamu mezi sebou"},
    {"Log %1: %2 pulls", "Log %1: %2 Züge", "Journal %1 : %2 accélérations", "Záznam %1: %2 tahů"},
    {"Rides", "Fahrten", "Sorties", "Jízdy"},
    {"Date", "Datum", "Date", "Datum"},
    {"Length", "Dauer", "Durée", "Délka"},
    {"Tune", "Abstimmung", "Réglage", "Ladění"},
    {"Pulls", "Züge", "Accélérations", "Tahy"},
    {"Note", "Notiz", "Note", "Poznámka"},
    {"&Open", "Ö&ffnen", "&Ouvrir", "&Otevřít"},
    {"&Add to the pull comparison", "Zum Zug&vergleich hinzufügen",
     "&Ajouter à la comparaison des accélérations", "Přid&at do porovnání tahů"},
    {"&Delete…", "&Löschen…", "&Supprimer…", "Sma&zat…"},
    {"Delete the ride %1 and its note?", "Die Fahrt %1 und ihre Notiz löschen?",
     "Supprimer la sortie %1 et sa note ?", "Smazat jízdu %1 a její poznámku?"},
    {"%1 could not be deleted.", "%1 konnte nicht gelöscht werden.", "%1 n'a pas pu être supprimé.",
     "%1 nelze smazat."},
    {"The note could not be written to %1: %2",
     "Die Notiz konnte nicht nach %1 geschrieben werden: %2",
     "La note n'a pas pu être écrite dans %1 : %2", "Poznámku nelze zapsat do %1: %2"},
    {"%1 rides in %2", "%1 Fahrten in %2", "%1 sorties dans %2", "%1 jízd v %2"},
    {"The ride could not be written to %1; its recording has stopped.",
     "Die Fahrt konnte nicht nach %1 geschrieben werden; ihre Aufzeichnung wurde beendet.",
     "La sortie n'a pas pu être écrite dans %1 ; son enregistrement est arrêté.",
     "Jízdu nelze zapsat do %1; její nahrávání skončilo."},
    {"Ride saved: %1", "Fahrt gespeichert: %1", "Sortie enregistrée : %1", "Jízda uložena: %1"},
    {"Ride: %1 rows", "Fahrt: %1 Zeilen", "Sortie : %1 lignes", "Jízda: %1 řádků"},
    {"The Pulls tab compares %1 logs at most; %2 was not added.",
     "Der Reiter Züge vergleicht höchstens %1 Logs; %2 wurde nicht hinzugefügt.",
     "L'onglet Accélérations compare %1 journaux au plus ; %2 n'a pas été ajouté.",
     "Karta Tahy porovná nejvýše %1 záznamy; %2 nebyl přidán."},
    {"%1 is in the pull comparison already.", "%1 ist schon im Zugvergleich.",
     "%1 est déjà dans la comparaison des accélérations.", "%1 už je v porovnání tahů."},
    {"every pull left out", "alle Züge ausgelassen", "toutes les accélérations écartées",
     "všechny tahy vynechány"},
    {"every pull in gear %1 left out", "alle Züge im %1. Gang ausgelassen",
     "toutes les accélérations en rapport %1 écartées", "všechny tahy na %1. rychlost vynechány"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a ride text without a text");

} // namespace

const TextTable& TableOf(RideText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
