#include "lang/PullTexts.h"

#include <array>

namespace orna5 {

namespace {

// Columns English, German, French, Czech, in the order of PullText.
constexpr std::array<TextRow, static_cast<std::size_t>(PullText::Count)> kRows{{
    {"Log %1: %2", "Log %1: %2", "Journal %1 : %2", "Záznam %1: %2"},
    {"Tune: %1", "Abstimmung: %1", "Réglage : %1", "Ladění: %1"},
    {"Pull", "Zug", "Accélération", "Tah"},
    {"Start", "Beginn", "Début", "Začátek"},
    {"rpm", "U/min", "tr/min", "ot/min"},
    {"Time [s]", "Zeit [s]", "Temps [s]", "Čas [s]"},
    {"Gear", "Gang", "Rapport", "Rychlost"},
    {"Rise rate [rpm/s]: mean of the pulls (lowest-highest)",
     "Drehzahlanstieg [U/min/s]: Mittel der Züge (kleinster-größter)",
     "Montée en régime [tr/min/s] : moyenne des accélérations (plus basse-plus haute)",
     "Nárůst otáček [ot/min/s]: průměr tahů (nejnižší-nejvyšší)"},
    {"Log %1", "Log %1", "Journal %1", "Záznam %1"},
    {"Log %1 vs 1", "Log %1 zu 1", "Journal %1 / 1", "Záznam %1 / 1"},
    {"within the bands", "innerhalb der Streuung", "dans la dispersion", "v rozptylu"},
    {"beyond the bands", "außerhalb der Streuung", "hors de la dispersion", "mimo rozptyl"},
    {"Log %1 ran on the same map as log 1.", "Log %1 lief auf demselben Kennfeld wie Log 1.",
     "Le journal %1 a roulé sur la même cartographie que le journal 1.",
     "Záznam %1 jel na stejné mapě jako záznam 1."},
    {"Log %1 ran on another map than log 1; what differs (log 1 -> log %1):",
     "Log %1 lief auf einem anderen Kennfeld als Log 1; was abweicht (Log 1 -> Log %1):",
     "Le journal %1 a roulé sur une autre cartographie que le journal 1 ; ce qui diffère "
     "(journal 1 -> journal %1) :",
     "Záznam %1 jel na jiné mapě než záznam 1; co se liší (záznam 1 -> záznam %1):"},
    {"Log %1 or log 1 does not say which map it ran on.",
     "Log %1 oder Log 1 sagt nicht, auf welchem Kennfeld es lief.",
     "Le journal %1 ou le journal 1 ne dit pas sur quelle cartographie il a roulé.",
     "Záznam %1 nebo záznam 1 neuvádí, na jaké mapě jel."},
    {"The pulls of log %1 ran on more than one map; the first one's is compared.",
     "Die Züge von Log %1 liefen auf mehr als einem Kennfeld; verglichen wird das erste.",
     "Les accélérations du journal %1 ont roulé sur plusieurs cartographies ; la première est "
     "comparée.",
     "Tahy záznamu %1 jely na více mapách; porovnává se první z nich."},
    {"no pull: the rpm never rose by 1500 rpm or more over a second or more with the throttle at "
     "or above %1 %",
     "kein Zug: die Drehzahl stieg nie um 1500 U/min oder mehr über eine Sekunde oder länger bei "
     "%1 % Drosselklappe oder mehr",
     "aucune accélération : le régime n'a jamais monté de 1500 tr/min ou plus pendant une seconde "
     "ou plus, papillon à %1 % ou plus",
     "žádný tah: otáčky nikdy nevzrostly o 1500 ot/min či více za sekundu či déle při plynu "
     "%1 % či více"},
    {"no pull in gear %1", "kein Zug im %1. Gang", "aucune accélération en rapport %1",
     "žádný tah na %1. rychlost"},
}};
static_assert(EveryRowInEveryLanguage(kRows), "a pull text without a text");

} // namespace

const TextTable& TableOf(PullText) {
    static const TextTable table(kRows);
    return table;
}

} // namespace orna5
