#include "lang/TimingTexts.h"

#include <array>

namespace orna5 {

namespace {

// Columns English, German, French, Czech, in the order of TimingText.
constexpr std::array<TextRow, static_cast<std::size_t>(TimingText::Count)> kRows{{
    {"Timing light check", "Zündlichtprüfung", "Contrôle à la lampe stroboscopique",
     "Kontrola stroboskopem"},
    {"rpm", "U/min", "tr/min", "ot/min"},
    {"Strobe [°]", "Zündlicht [°]", "Stroboscope [°]", "Stroboskop [°]"},
    {"Unit %1 [°]", "Zündung %1 [°]", "Boîtier %1 [°]", "Jednotka %1 [°]"},
    {"Unit [°]", "Zündung [°]", "Boîtier [°]", "Jednotka [°]"},
    {"Map [°]", "Kennfeld [°]", "Cartographie [°]", "Mapa [°]"},
    {"Difference [°]", "Abweichung [°]", "Écart [°]", "Rozdíl [°]"},
    {"%1 ◂", "%1 ◂", "%1 ◂", "%1 ◂"},
    {"Compare the strobe with:", "Zündlicht vergleichen mit:", "Comparer le stroboscope avec :",
     "Porovnat stroboskop s:"},
    {"channel %1", "Kanal %1", "canal %1", "kanálem %1"},
    {"the unit's figure (largest channel)", "der Anzeige der Zündung (größter Kanal)",
     "le chiffre du boîtier (plus grand canal)", "údajem jednotky (největší kanál)"},
    {"&Add point", "Punkt &hinzufügen", "&Ajouter un point", "Přid&at bod"},
    {"&Remove point", "Punkt &entfernen", "&Retirer le point", "Odst&ranit bod"},
    {"&Keep", "&Behalten", "&Conserver", "&Uložit"},
    {"&Print", "&Drucken", "&Imprimer", "&Tisk"},
    {"&Export CSV…", "CSV e&xportieren…", "&Exporter en CSV…", "&Exportovat CSV…"},
    {"Difference over engine speed", "Abweichung über der Drehzahl", "Écart selon le régime",
     "Rozdíl podle otáček"},
    {"Engine speed [rpm]", "Drehzahl [U/min]", "Régime [tr/min]", "Otáčky [ot/min]"},
    {"Strobe − unit [°]", "Zündlicht − Zündung [°]", "Stroboscope − boîtier [°]",
     "Stroboskop − jednotka [°]"},
    {"the engine gets %1° less per 1000 rpm than the unit reports: pick-up lag or trigger offset",
     "der Motor bekommt je 1000 U/min %1° weniger, als die Zündung meldet: Geberverzug oder "
     "Triggerversatz",
     "le moteur reçoit %1° de moins par 1000 tr/min que ce qu'indique le boîtier : retard du "
     "capteur ou décalage du déclencheur",
     "motor dostává o %1° méně na 1000 ot/min, než hlásí jednotka: zpoždění snímače nebo posun "
     "spouštění"},
    {"the engine gets %1° more per 1000 rpm than the unit reports: pick-up lag or trigger offset",
     "der Motor bekommt je 1000 U/min %1° mehr, als die Zündung meldet: Geberverzug oder "
     "Triggerversatz",
     "le moteur reçoit %1° de plus par 1000 tr/min que ce qu'indique le boîtier : retard du "
     "capteur ou décalage du déclencheur",
     "motor dostává o %1° více na 1000 ot/min, než hlásí jednotka: zpoždění snímače nebo posun "
     "spouštění"},
    {"the engine gets %1° less than the unit reports at every speed: a constant offset (pick-up "
     "position or timing marks)",
     "der Motor bekommt bei jeder Drehzahl %1° weniger, als die Zündung meldet: ein fester Versatz "
     "(Geberstellung oder Zündmarken)",
     "le moteur reçoit %1° de moins que ce qu'indique le boîtier à tout régime : un décalage "
     "constant (position du capteur ou repères)",
     "motor dostává při všech otáčkách o %1° méně, než hlásí jednotka: stálý posun (poloha "
     "snímače nebo značky)"},
    {"the engine gets %1° more than the unit reports at every speed: a constant offset (pick-up "
     "position or timing marks)",
     "der Motor bekommt bei jeder Drehzahl %1° mehr, als die Zündung meldet: ein fester Versatz "
     "(Geberstellung oder Zündmarken)",
     "le moteur reçoit %1° de plus que ce qu'indique le boîtier à tout régime : un décalage "
     "constant (position du capteur ou repères)",
     "motor dostává při všech otáčkách o %1° více, než hlásí jednotka: stálý posun (poloha "
     "snímače nebo značky)"},
    {"the engine gets what the unit reports (within 1°)",
     "der Motor bekommt, was die Zündung meldet (auf 1° genau)",
     "le moteur reçoit ce qu'indique le boîtier (à 1° près)",
     "motor dostává, co hlásí jednotka (s přesností 1°)"},
    {"at least two strobe readings are needed", "mindestens zwei Zündlichtwerte sind nötig",
     "il faut au moins deux lectures au stroboscope", "jsou potřeba aspoň dvě čtení stroboskopem"},
    {"The unit is not answering, so its advance cannot be taken. The reading stays typed; enter "
     "it again when the unit answers.",
     "Die Zündung antwortet nicht, ihre Frühzündung kann nicht übernommen werden. Der Wert bleibt "
     "eingetragen; bestätigen Sie ihn erneut, wenn die Zündung antwortet.",
     "Le boîtier ne répond pas : son avance ne peut pas être relevée. La lecture reste saisie ; "
     "validez-la de nouveau quand le boîtier répond.",
     "Jednotka neodpovídá, její předstih nelze převzít. Čtení zůstává zapsané; potvrďte je znovu, "
     "až jednotka odpoví."},
    {"No live data came from the unit in the last second, so its advance cannot be taken. The "
     "reading stays typed; enter it again when live data comes in.",
     "In der letzten Sekunde kamen keine Live-Daten von der Zündung, ihre Frühzündung kann nicht "
     "übernommen werden. Der Wert bleibt eingetragen; bestätigen Sie ihn erneut, wenn Live-Daten "
     "kommen.",
     "Aucune donnée en direct n'est venue du boîtier depuis une seconde : son avance ne peut pas "
     "être relevée. La lecture reste saisie ; validez-la de nouveau quand les données arrivent.",
     "Za poslední sekundu nepřišla z jednotky žádná živá data, její předstih nelze převzít. Čtení "
     "zůstává zapsané; potvrďte je znovu, až živá data přijdou."},
    {"Check kept: %1", "Prüfung behalten: %1", "Contrôle conservé : %1", "Kontrola uložena: %1"},
    {"The check could not be kept in %1: %2\nEverything typed is still in the window.",
     "Die Prüfung konnte nicht in %1 behalten werden: %2\nAlles Eingetragene steht noch im "
     "Fenster.",
     "Le contrôle n'a pas pu être conservé dans %1 : %2\nTout ce qui a été saisi reste dans la "
     "fenêtre.",
     "Kontrolu nelze uložit do %1: %2\nVše zapsané zůstává v okně."},
    {"%1 could not be written: %2", "%1 konnte nicht geschrieben werden: %2",
     "%1 n'a pas pu être écrit : %2", "%1 nelze zapsat: %2"},
    {"CSV files (*.csv)", "CSV-Dateien (*.csv)", "Fichiers CSV (*.csv)", "Soubory CSV (*.csv)"},
    {"Taken at %1 rpm: unit %2°, map %3°", "Übernommen bei %1 U/min: Zündung %2°, Kennfeld %3°",
     "Relevé à %1 tr/min : boîtier %2°, cartographie %3°",
     "Převzato při %1 ot/min: jednotka %2°, mapa %3°"},
    {"–", "–", "–", "–"},
    {"Now: %1 rpm, unit %2 (average of the last second)",
     "Jetzt: %1 U/min, Zündung %2 (Mittel der letzten Sekunde)",
     "Maintenant : %1 tr/min, boîtier %2 (moyenne de la dernière seconde)",
     "Nyní: %1 ot/min, jednotka %2 (průměr poslední sekundy)"},
    {"No live data in the last second", "Keine Live-Daten in der letzten Sekunde",
     "Aucune donnée en direct depuis une seconde", "Za poslední sekundu žádná živá data"},
    {"An engine speed is a whole number from 0 to %1 rpm.",
     "Eine Drehzahl ist eine ganze Zahl von 0 bis %1 U/min.",
     "Un régime est un nombre entier de 0 à %1 tr/min.",
     "Otáčky jsou celé číslo od 0 do %1 ot/min."},
    {"A strobe reading is a number of degrees from -90 to 90.",
     "Ein Zündlichtwert ist eine Gradzahl von -90 bis 90.",
     "Une lecture au stroboscope est un nombre de degrés de -90 à 90.",
     "Čtení stroboskopem je počet stupňů od -90 do 90."},
    {"The readings of this check are not kept. Keep them before the window closes?",
     "Die Werte dieser Prüfung sind nicht behalten. Vor dem Schließen behalten?",
     "Les lectures de ce contrôle ne sont pas conservées. Les conserver avant de fermer ?",
     "Čtení této kontroly nejsou uložena. Uložit je před zavřením okna?"},
    {"&Discard", "&Verwerfen", "&Abandonner", "&Zahodit"},
    {"not a timing light check", "keine Zündlichtprüfung",
     "pas un contrôle à la lampe stroboscopique", "není kontrola stroboskopem"},
    {"larger than %1 KiB", "größer als %1 KiB", "plus grand que %1 Kio", "větší než %1 KiB"},
    {"line %1: a header line that cannot be read", "Zeile %1: eine unlesbare Kopfzeile",
     "ligne %1 : une ligne d'en-tête illisible", "řádek %1: nečitelný řádek hlavičky"},
    {"the date of the check is missing", "das Datum der Prüfung fehlt",
     "la date du contrôle manque", "chybí datum kontroly"},
    {"line %1: not the check's column line", "Zeile %1: nicht die Spaltenzeile der Prüfung",
     "ligne %1 : pas la ligne des colonnes du contrôle", "řádek %1: není řádek sloupců kontroly"},
    {"line %1: not a row of eight fields", "Zeile %1: keine Zeile aus acht Feldern",
     "ligne %1 : pas une ligne de huit champs", "řádek %1: není řádek o osmi polích"},
    {"line %1, column %2: not a number", "Zeile %1, Spalte %2: keine Zahl",
     "ligne %1, colonne %2 : pas un nombre", "řádek %1, sloupec %2: není číslo"},
    {"line %1, column %2: outside its range", "Zeile %1, Spalte %2: außerhalb des Bereichs",
     "ligne %1, colonne %2 : hors de sa plage", "řádek %1, sloupec %2: mimo rozsah"},
    {"more than %1 points", "mehr als %1 Punkte", "plus de %1 points", "více než %1 bodů"},
    {"line %1: a character that is not text", "Zeile %1: ein Zeichen, das kein Text ist",
     "ligne %1 : un caractère qui n'est pas du texte", "řádek %1: znak, který není text"},
    {"%1 cannot be read: %2", "%1 kann nicht gelesen werden: %2", "%1 ne peut pas être lu : %2",
     "%1 nelze přečíst: %2"},
    {"Timing light checks", "Zündlichtprüfungen", "Contrôles à la lampe stroboscopique",
     "Kontroly stroboskopem"},
    {"Date", "Datum", "Date", "Datum"},
    {"Unit", "Zündung", "Boîtier", "Jednotka"},
    {"Tune", "Abstimmung", "Réglage", "Ladění"},
    {"Verdict", "Befund", "Verdict", "Výsledek"},
    {"Open check", "Prüfung öffnen", "Ouvrir le contrôle", "Otevřít kontrolu"},
    {"Print check", "Prüfung drucken", "Imprimer le contrôle", "Tisknout kontrolu"},
    {"Export check…", "Prüfung exportieren…", "Exporter le contrôle…", "Exportovat kontrolu…"},
    {"Delete check…", "Prüfung löschen…", "Supprimer le contrôle…", "Smazat kontrolu…"},
    {"Delete the timing light check of %1?", "Die Zündlichtprüfung vom %1 löschen?",
     "Supprimer le contrôle à la lampe stroboscopique du %1 ?",
     "Smazat kontrolu stroboskopem z %1?"},
    {"%1 could not be deleted: %2", "%1 konnte nicht gelöscht werden: %2",
     "%1 n'a pas pu être supprimé : %2", "%1 nelze smazat: %2"},
    {"cannot be read: %1", "nicht lesbar: %1", "illisible : %1", "nečitelné: %1"},
    {"Timing light points", "Zündlichtpunkte", "Points du contrôle stroboscopique",
     "Body kontroly stroboskopem"},
    {"Timing light checks", "Zündlichtprüfungen", "Contrôles à la lampe stroboscopique",
     "Kontroly stroboskopem"},
    {"A data log is playing: its advance is not what the engine gets now, so it is not taken. "
     "The reading stays typed; enter it again when the playback has ended.",
     "Ein Datenlog wird abgespielt: seine Frühzündung ist nicht die, die der Motor jetzt "
     "bekommt, und wird nicht übernommen. Der Wert bleibt eingetragen; bestätigen Sie ihn "
     "erneut, wenn die Wiedergabe beendet ist.",
     "Un journal est en cours de lecture : son avance n'est pas celle que le moteur reçoit "
     "maintenant, elle n'est donc pas relevée. La valeur reste saisie ; validez-la de nouveau "
     "quand la lecture du journal est terminée.",
     "Přehrává se záznam dat: jeho předstih není ten, který motor právě dostává, proto se "
     "nepřevezme. Čtení zůstává zapsané; potvrďte je znovu, až přehrávání skončí."},
    {"A data log is playing: no live data of the unit",
     "Ein Datenlog wird abgespielt: keine Live-Daten der Zündung",
     "Un journal est en cours de lecture : pas de données en direct du boîtier",
     "Přehrává se záznam dat: žádná živá data jednotky"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a timing text without a text");

} // namespace

const TextTable& TableOf(TimingText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
