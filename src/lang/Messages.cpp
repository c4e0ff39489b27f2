#include "lang/Messages.h"

#include <cstdio>
#include <vector>

#include <array>

namespace orna5 {

namespace {

// One row per Msg, in the order of the enum; columns English, German,
// French, Czech. Leading and trailing spaces are part of the texts: the
// labels are built by plain concatenation.
constexpr std::array<TextRow, static_cast<size_t>(Msg::Count)> kMessageRows{{
    // ManualFileName
    {"manual_zentor_orna_5_en.pdf", "manual_zentor_orna_5_de.pdf", "manual_zentor_orna_5_fr.pdf",
     "manual_zentor_orna_5_cz.pdf"},
    // ProgramError
    {"Program error!", "Programmier Fehler", "Erreur de programmation!", "Chyba programování"},
    // VerifyError
    {"Verify error!", "Vergleichsfehler", "Verifier erreur!", "Chyba verifikace!"},
    // ReadError
    {"Read error!", "Lesefehler", "Lire erreur!", "Chyba čtení!"},
    // ProgramDevice
    {"Program device:", "Programmieren:", "Programmer:", "Programování:"},
    // Verify
    {"Verify:", "Vergleichen:", "Vérifier", "Verifikace:"},
    // Read
    {"Read:", "Lesen:", "Lire", "Čtení:"},
    // Saving
    {"Saving:", "Speichern:", "Mémorisation", "Ukládání:"},
    // UnmatchedUnitVersion
    {"Unmatched version of PC and Ignition programs!",
     "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!",
     "Programme du boitier d´alumage non compatible avec programme PC!",
     "Neshodné verze proramu v PC a zapalování!"},
    // Advance
    {"Advance", "Vorzündung", "Avance", "Předstih"},
    // NumberOfProgramming
    {"Number of Programing= ", "Programmierungsanzahl= ", "Nombre de programmations= ",
     "Počet programování= "},
    // MotorOff
    {"Motor off", "Motor off", "Blocage", "Blokování"},
    // Yes
    {"YES", "JA", "Oui", "ANO"},
    // No
    {"NO", "NEIN", "Non", "NE"},
    // ComOpeningError
    {"Com opening error!", "Falscher COM-Anschlußes!", "Erreur connections PC!",
     "Chyba při otevírání portu Com!"},
    // OpenFileError
    {"Open file error!", "Fehler beim öffnen der Datei!", "Erreur ouvertur fichier!",
     "Chyba při otevírání souboru!"},
    // ConfirmDefaults
    {"Do you want default setting?", "Wollen Sie Standardeinstellungen öffnen?",
     "Voulez vous la programation de base?", "Chcete nastavit základní hodnoty?"},
    // UnmatchedFileVersion
    {"Unmatched version of *.ign file!", "Datendatei *.ign ist nicht kompatiebel!",
     "Programme du fichier non compatible avec programme PC!", "Neshodná verze souboru *.ign!"},
    // PrintHeader
    {"Date and time of printing:  ", "Zeitpunkt des Ausdruckes   ",
     "Date et heur de l´imprimé:   ", "Datum a čas tisku:  "},
    // ManualOpenError
    {"Error by opening file manual_zentor_orna_5_en.pdf !",
     "Fehler beim öffnen der Datei manual_zentor_orna_5_de.pdf !",
     "Erreur à l´ouvertur du Fichier manual_zentor_orna_5_fr.pdf !",
     "Chyba při otevírání souboru manual_zentor_orna_5_cz.pdf !"},
    // PickupSystemError
    {"Pick up system error                    ", "Gebersystemehler                        ",
     "Pick up system error                    ", "Chyba v snímacím systému                "},
    // PickupPrefix
    {"Pick-up (CKPS)", "Geber(CKPS)", "Capteur(CKPS)", "Snímač (CKPS)"},
    // PickupRunning
    {"is running", "läuft", " fonctionne", "pracuje"},
    // PickupNoSignal
    {"no signal", " kein Signal", " pas de signal", "bez signálu"},
    // ServoMeasured
    {"Servo measured=", "Servo gemessene=", "Servo measured=", "Servo měřené="},
    // ServoDesired
    {"Servo desired=", "Servo Sollspanung=", "Servo desired=", "Servo požadované="},
    // ShiftLight
    {"Gear Shift Light", "Schaltblitz", "Retard à l´allumage", "Kontrolka řazení"},
    // ClutchMaster
    {"Clutch master", "Schaltautomat", "Clutch master", "Clutch master"},
    // Input
    {"Input", "Eingang", "Entrée", "Vstup"},
    // KillSwitch
    {"Kill switch", "Not Aus", "Interrupteur de sécurité", "Kill switch"},
    // Open: an input that is not pulled to ground
    {"Open", "Offen", "Ouvert", "Rozpojeno"},
    // Grounded
    {"Grounded", "Geerdet", "À la masse", "Uzemněno"},
    // NoConnection: the caption of the connection indicator
    {"No connection with PC", "Keine Verbindung zum PC", "Pas de connection acec pc",
     "Není spojení s PC"},
    // PortDisappeared
    {"Port %1 has disappeared (cable or adapter pulled out). It opens again when it is plugged "
     "back in.",
     "Der Anschluss %1 ist verschwunden (Kabel oder Adapter abgezogen). Er wird wieder "
     "geöffnet, sobald er wieder angeschlossen ist.",
     "Le port %1 a disparu (câble ou adaptateur débranché). Il sera rouvert dès qu'il sera "
     "rebranché.",
     "Port %1 zmizel (kabel nebo adaptér odpojen). Po opětovném připojení se znovu otevře."},
    // EmulatedUnit
    {"emulated unit", "emulierte Zündung", "allumage émulé", "emulovaná jednotka"},
    // PortInUse
    {"Port: %1", "Anschluss: %1", "Port : %1", "Port: %1"},
    // NotRegularFile
    {"not a regular file", "keine normale Datei", "pas un fichier ordinaire",
     "není obyčejný soubor"},
    // FileTooLarge
    {"larger than %1", "größer als %1", "plus grand que %1", "větší než %1"},
    // PrintError
    {"Print error!", "Druckfehler!", "Erreur d'impression!", "Chyba tisku!"},
    // NoPrinterSavePdf
    {"No printer is installed. Save the printout as a PDF file?",
     "Es ist kein Drucker installiert. Den Ausdruck als PDF-Datei speichern?",
     "Aucune imprimante n'est installée. Enregistrer l'impression en fichier PDF ?",
     "Není nainstalována žádná tiskárna. Uložit výtisk jako soubor PDF?"},
    // PortNotPresent
    {"not present", "nicht vorhanden", "absent", "není připojeno"},
    // PortNoPermission
    {"no permission: join the dialout group",
     "keine Berechtigung: treten Sie der Gruppe dialout bei",
     "pas d'autorisation : rejoignez le groupe dialout",
     "bez oprávnění: přidejte se do skupiny dialout"},
    // FindUnit
    {"&Find unit", "Zündung &suchen", "&Chercher l'allumage", "&Najít zapalování"},
    // ScanProgress
    {"Looking for the unit: %1 (%2 of %3) ... Escape stops.",
     "Suche nach der Zündung: %1 (%2 von %3) ... Escape bricht ab.",
     "Recherche de l'allumage : %1 (%2 sur %3) ... Échap arrête.",
     "Hledání zapalování: %1 (%2 z %3) ... Escape zastaví."},
    // UnitFoundOn
    {"Unit found on %1.", "Zündung gefunden an %1.", "Allumage trouvé sur %1.",
     "Zapalování nalezeno na %1."},
    // NoUnitAnswered
    {"No unit answered. Devices tried: %1", "Keine Zündung hat geantwortet. Versuchte Geräte: %1",
     "Aucun allumage n'a répondu. Appareils essayés : %1",
     "Žádné zapalování neodpovědělo. Vyzkoušená zařízení: %1"},
    // NoSerialDevice
    {"No unit answered: no serial device is present.",
     "Keine Zündung hat geantwortet: es ist kein serielles Gerät vorhanden.",
     "Aucun allumage n'a répondu : aucun port série n'est présent.",
     "Žádné zapalování neodpovědělo: není připojeno žádné sériové zařízení."},
    // ScanStopped
    {"The search for the unit was stopped.", "Die Suche nach der Zündung wurde abgebrochen.",
     "La recherche de l'allumage a été arrêtée.", "Hledání zapalování bylo zastaveno."},
    // DeviceBusy
    {"in use by another program", "von einem anderen Programm belegt",
     "utilisé par un autre programme", "používá jiný program"},
    // AdapterOn
    {"%1 on %2", "%1 an %2", "%1 sur %2", "%1 na %2"},
    // AdapterPluggedIn
    {"Plugged in: %1", "Angeschlossen: %1", "Branché : %1", "Připojeno: %1"},
    // UseAdapter
    {"Use it", "Verwenden", "Utiliser", "Použít"},
    // KeepingRestorePoint
    {"Program device: keeping a restore point of the unit ...",
     "Programmieren: Wiederherstellungspunkt der Zündung wird gesichert ...",
     "Programmer : sauvegarde d'un point de restauration du boîtier ...",
     "Programování: ukládá se bod obnovy zapalování ..."},
    // RestorePointNotKept
    {"Restore point not kept: nothing was written to the unit!",
     "Wiederherstellungspunkt nicht gesichert: nichts wurde in die Zündung geschrieben!",
     "Point de restauration non sauvegardé : rien n'a été écrit dans le boîtier !",
     "Bod obnovy nebyl uložen: do zapalování nebylo nic zapsáno!"},
    // PermissionJoinGroup
    {"You may not use %1. Add your user to the group %2, which owns it, for example with "
     "\"sudo usermod -aG %2 $USER\", then log out and in again.",
     "Sie dürfen %1 nicht verwenden. Fügen Sie Ihren Benutzer der Gruppe %2 hinzu, der das "
     "Gerät gehört, zum Beispiel mit \"sudo usermod -aG %2 $USER\", und melden Sie sich dann "
     "ab und wieder an.",
     "Vous n'avez pas le droit d'utiliser %1. Ajoutez votre utilisateur au groupe %2, "
     "propriétaire du périphérique, par exemple avec « sudo usermod -aG %2 $USER », puis "
     "déconnectez-vous et reconnectez-vous.",
     "Zařízení %1 nesmíte používat. Přidejte svého uživatele do skupiny %2, které patří, "
     "například příkazem \"sudo usermod -aG %2 $USER\", a pak se odhlaste a znovu přihlaste."},
    // PermissionOwnerMode
    {"You may not use %1: it belongs to user %2 and group %3 with mode %4, which give you no "
     "access. Ask the administrator of this computer for access to it.",
     "Sie dürfen %1 nicht verwenden: Es gehört dem Benutzer %2 und der Gruppe %3 mit den "
     "Rechten %4, die Ihnen keinen Zugriff geben. Bitten Sie den Administrator dieses Rechners "
     "um Zugriff.",
     "Vous n'avez pas le droit d'utiliser %1 : il appartient à l'utilisateur %2 et au groupe "
     "%3 avec les droits %4, qui ne vous donnent pas accès. Demandez l'accès à "
     "l'administrateur de cet ordinateur.",
     "Zařízení %1 nesmíte používat: patří uživateli %2 a skupině %3 s právy %4, která vám "
     "nedávají přístup. Požádejte o přístup správce tohoto počítače."},
    // PrintedOnePage
    {"Printed 1 page on %1", "1 Seite auf %1 gedruckt", "1 page imprimée sur %1",
     "Vytištěna 1 stránka na %1"},
    // PrintedPages
    {"Printed %1 pages on %2", "%1 Seiten auf %2 gedruckt", "%1 pages imprimées sur %2",
     "Vytištěny %1 stránky na %2"},
}};

static_assert(EveryRowInEveryLanguage(kMessageRows), "a message without a text");

} // namespace

std::string PermissionHint(const std::string& device, const std::string& owner,
                           const std::string& group, unsigned mode, int languageIndex) {
    const bool deviceGroup = group == "dialout" || group == "uucp" || group == "tty";
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", mode & 07777u);
    const std::vector<std::string> args =
        deviceGroup ? std::vector<std::string>{device, group}
                    : std::vector<std::string>{device, owner, group, octal};
    const std::string& text =
        TextIn(deviceGroup ? Msg::PermissionJoinGroup : Msg::PermissionOwnerMode, languageIndex);
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t arg = i + 1 < text.size() ? std::size_t(text[i + 1] - '1') : args.size();
        if (text[i] == '%' && arg < args.size()) {
            filled += args[arg];
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

const TextTable& TableOf(Msg) {
    // Built on first use so that callers running during static
    // initialisation still see the texts.
    static const TextTable table(kMessageRows);
    return table;
}

} // namespace orna5
