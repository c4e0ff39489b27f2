#include "lang/MapTableTexts.h"

#include "lang/Messages.h"

#include <array>

namespace orna5 {

namespace {

// Columns English, German, French, Czech, in the order of MapText.
constexpr std::array<TextRow, static_cast<std::size_t>(MapText::Count)> kRows{{
    {"Map table", "Kennfeldtabelle", "Table de cartographie", "Tabulka mapy"},
    {"Set", "Setzen", "Fixer", "Nastavit"},
    {"Add", "Addieren", "Ajouter", "Přičíst"},
    {"Scale", "Skalieren", "Multiplier", "Násobit"},
    {"Interpolate:", "Interpolieren:", "Interpoler :", "Interpolovat:"},
    {"Across rows", "Über Zeilen", "Entre lignes", "Přes řádky"},
    {"Across columns", "Über Spalten", "Entre colonnes", "Přes sloupce"},
    {"From corners", "Aus den Ecken", "Depuis les coins", "Z rohů"},
    {"Smooth", "Glätten", "Lisser", "Vyhladit"},
    {"Copy", "Kopieren", "Copier", "Kopírovat"},
    {"Paste", "Einfügen", "Coller", "Vložit"},
    {"Some values were kept within 0..60°.", "Einige Werte wurden auf 0..60° begrenzt.",
     "Certaines valeurs ont été limitées à 0..60°.", "Některé hodnoty byly omezeny na 0..60°."},
    {"The clipboard holds no block of numbers separated by tabs or commas.",
     "Die Zwischenablage enthält keinen Block von Zahlen, getrennt durch Tabulatoren oder Kommas.",
     "Le presse-papiers ne contient pas de bloc de nombres séparés par des tabulations ou des "
     "virgules.",
     "Schránka neobsahuje blok čísel oddělených tabulátory nebo čárkami."},
    {"The numbers do not fit into the map from the selected cell.",
     "Die Zahlen passen ab der gewählten Zelle nicht in das Kennfeld.",
     "Les nombres ne tiennent pas dans la cartographie à partir de la cellule choisie.",
     "Čísla se od vybrané buňky do mapy nevejdou."},
    {"Set the selected cells to this advance [°]",
     "Die gewählten Zellen auf diese Vorzündung "
     "setzen [°]",
     "Fixer les cellules choisies à cette avance [°]",
     "Nastavit vybrané buňky na tento předstih [°]"},
    {"Add this many degrees to the selected cells (negative: take off)",
     "Diese Grad zu den gewählten Zellen addieren (negativ: abziehen)",
     "Ajouter ces degrés aux cellules choisies (négatif : retirer)",
     "Přičíst tolik stupňů k vybraným buňkám (záporné: odečíst)"},
    {"Multiply the selected cells by this percentage",
     "Die gewählten Zellen mit diesem Prozentsatz "
     "multiplizieren",
     "Multiplier les cellules choisies par ce pourcentage",
     "Vynásobit vybrané buňky tímto procentem"},
    {"Fill each column of the selection in a straight line from its top cell to its bottom cell",
     "Jede Spalte der Auswahl geradlinig von ihrer oberen bis zur unteren Zelle füllen",
     "Remplir chaque colonne de la sélection en ligne droite de sa cellule du haut à celle du bas",
     "Vyplnit každý sloupec výběru přímkou od horní buňky k dolní"},
    {"Fill each row of the selection in a straight line from its left cell to its right cell",
     "Jede Zeile der Auswahl geradlinig von ihrer linken bis zur rechten Zelle füllen",
     "Remplir chaque ligne de la sélection en ligne droite de sa cellule de gauche à celle de "
     "droite",
     "Vyplnit každý řádek výběru přímkou od levé buňky k pravé"},
    {"Fill the selection from its four corner cells", "Die Auswahl aus ihren vier Eckzellen füllen",
     "Remplir la sélection à partir de ses quatre cellules d'angle",
     "Vyplnit výběr ze čtyř rohových buněk"},
    {"Move each selected cell half way towards the mean of its neighbours",
     "Jede gewählte Zelle halb zum Mittel ihrer Nachbarn bewegen",
     "Rapprocher chaque cellule choisie à mi-chemin de la moyenne de ses voisines",
     "Posunout každou vybranou buňku napůl k průměru jejích sousedů"},
    {"Select cells with the mouse, Shift+arrows or Ctrl+A; + and − add or take off one degree",
     "Zellen mit der Maus, Umschalt+Pfeilen oder Strg+A wählen; + und − addieren oder nehmen "
     "ein Grad weg",
     "Choisir les cellules avec la souris, Maj+flèches ou Ctrl+A ; + et − ajoutent ou retirent "
     "un degré",
     "Buňky vyberte myší, Shift+šipkami nebo Ctrl+A; + a − přičtou nebo uberou jeden stupeň"},
    {"Every rpm point must be a whole hundred of rpm.",
     "Jeder Drehzahlpunkt muss ein volles Hundert U/min sein.",
     "Chaque point de régime doit être une centaine entière de tr/min.",
     "Každý bod otáček musí být celá stovka ot/min."},
    {"Every rpm point must lie within 300..20000 rpm.",
     "Jeder Drehzahlpunkt muss zwischen 300 und 20000 U/min liegen.",
     "Chaque point de régime doit être compris entre 300 et 20000 tr/min.",
     "Každý bod otáček musí ležet v rozsahu 300..20000 ot/min."},
    {"The rpm points must rise from the first to the last.",
     "Die Drehzahlpunkte müssen vom ersten bis zum letzten steigen.",
     "Les points de régime doivent croître du premier au dernier.",
     "Body otáček musí od prvního k poslednímu stoupat."},
    {"Change rpm axis…", "Drehzahlachse ändern…", "Changer l'axe de régime…", "Změnit osu otáček…"},
    {"Change servo rpm points…", "Drehzahlpunkte des Servos ändern…",
     "Changer les points de régime du servo…", "Změnit body otáček serva…"},
    {"Ten rpm points", "Zehn Drehzahlpunkte", "Dix points de régime", "Deset bodů otáček"},
    {"First and last point, the others spread evenly (rounded to 100 rpm)",
     "Erster und letzter Punkt, die anderen gleichmäßig verteilt (auf 100 U/min gerundet)",
     "Premier et dernier point, les autres répartis régulièrement (arrondis à 100 tr/min)",
     "První a poslední bod, ostatní rovnoměrně mezi nimi (zaokrouhleno na 100 ot/min)"},
    {"First:", "Erster:", "Premier :", "První:"},
    {"Last:", "Letzter:", "Dernier :", "Poslední:"},
    {"Every throttle row keeps its advance over engine speed: the map is interpolated onto the "
     "new points.",
     "Jede Drosselklappenzeile behält ihre Vorzündung über der Drehzahl: das Kennfeld wird auf "
     "die neuen Punkte interpoliert.",
     "Chaque ligne d'accélérateur garde son avance selon le régime : la cartographie est "
     "interpolée sur les nouveaux points.",
     "Každý řádek plynu si zachová předstih podle otáček: mapa se interpoluje na nové body."},
    {"The servo curve keeps its voltage over engine speed: it is interpolated onto the new "
     "points.",
     "Die Servokurve behält ihre Spannung über der Drehzahl: sie wird auf die neuen Punkte "
     "interpoliert.",
     "La courbe du servo garde sa tension selon le régime : elle est interpolée sur les "
     "nouveaux points.",
     "Křivka serva si zachová napětí podle otáček: interpoluje se na nové body."},
    {"Some servo values were kept within 20..5000 mV.",
     "Einige Servowerte wurden auf 20..5000 mV begrenzt.",
     "Certaines valeurs du servo ont été limitées à 20..5000 mV.",
     "Některé hodnoty serva byly omezeny na 20..5000 mV."},
    {"Move the map's ten rpm points; every throttle row keeps its curve",
     "Die zehn Drehzahlpunkte des Kennfelds verschieben; jede Zeile behält ihre Kurve",
     "Déplacer les dix points de régime de la cartographie ; chaque ligne garde sa courbe",
     "Posunout deset bodů otáček mapy; každý řádek si zachová křivku"},
    {"Move the servo curve's ten rpm points; the curve stays as it is",
     "Die zehn Drehzahlpunkte der Servokurve verschieben; die Kurve bleibt",
     "Déplacer les dix points de régime du servo ; la courbe reste la même",
     "Posunout deset bodů otáček serva; křivka zůstane"},
    {"Map", "Kennfeld", "Cartographie", "Mapa"},
    {"Time in cell", "Zeit pro Zelle", "Temps par cellule", "Čas v buňce"},
    {"Reset", "Zurücksetzen", "Remettre à zéro", "Vynulovat"},
    {"%1 s at %2 rpm, throttle %3\nAdvance %4°",
     "%1 s bei %2 U/min, Drosselklappe %3\nVorzündung %4°",
     "%1 s à %2 tr/min, papillon %3\nAvance %4°", "%1 s při %2 ot/min, plyn %3\nPředstih %4°"},
    {"Counted: %1 s", "Gezählt: %1 s", "Compté : %1 s", "Započteno: %1 s"},
    {"Seconds the engine ran in each cell; the cells of the last 10 seconds are outlined",
     "Sekunden, die der Motor in jeder Zelle lief; die Zellen der letzten 10 Sekunden sind "
     "umrandet",
     "Secondes passées par le moteur dans chaque cellule ; les cellules des 10 dernières secondes "
     "sont encadrées",
     "Sekundy, které motor strávil v každé buňce; buňky posledních 10 sekund jsou orámované"},
    {"Start counting again from now", "Ab jetzt neu zählen", "Recommencer à compter maintenant",
     "Začít počítat znovu od teď"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a map table text without a text");

} // namespace

const TextTable& TableOf(MapText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
