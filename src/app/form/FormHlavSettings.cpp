// What the program keeps between runs: the settings keys, the parameter
// snapshot and the test marker, all in one folder of the user's
// configuration.

#include "app/HistoryKeeper.h"
#include "app/LiveRateControl.h"
#include "app/ViewManager.h"
#include "app/form/FormHlav.h"
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/ParameterSnapshot.h"
#include "files/TextScanner.h"

#include <QDir>
#include <QLabel>
#include <QStandardPaths>
#include <QTabWidget>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace orna5 {

namespace {

const std::string kSection = "FORM_HLAV";
const char* const kTestKeyword = "SHOW_PROBES";
constexpr int kGeometryLimit = 1 << 24;

// The folder may not be there yet on a first run.
void WriteWhole(const QString& path, const std::string& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteWholeFile(path, QByteArray::fromStdString(text));
}

} // namespace

QString TFormHlav::ConfigDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/orna5";
}

QString TFormHlav::SettingsPath() const {
    return ConfigDirectory() + "/orna5.ini";
}

QString TFormHlav::SnapshotPath() const {
    return ConfigDirectory() + "/_orna5.ini";
}

QString TFormHlav::TestMarkerPath() const {
    return ConfigDirectory() + "/test_brodek.txt";
}

void TFormHlav::LoadSettings() {
    const ProfileFile& s = settingsFile;
    // The window's own rectangle arithmetic overflows near the ends of the
    // int range, so values are held far from them (still far enough off
    // every screen to be taken for what they are).
    const auto bounded = [&s](const char* key, int current) {
        return std::clamp(s.ReadInteger(kSection, key, current), -kGeometryLimit, kGeometryLimit);
    };
    move(bounded("Left", x()), y());
    move(x(), bounded("Top", y()));
    resize(width(), bounded("Height", height()));
    resize(bounded("Width", width()), height());
    // Stored as the COM number: a missing key gives COM1, a stored 0 an
    // index of 255 that the normalisation turns back into COM1.
    comPortIndex = static_cast<std::uint8_t>(s.ReadInteger(kSection, "ComPort", comPortIndex));
    comPortIndex = static_cast<std::uint8_t>(comPortIndex - 1);
    languageIndex = static_cast<std::uint8_t>(s.ReadInteger(kSection, "Language", languageIndex));
    LabelFile2->setText(QString::fromStdString(s.ReadString(kSection, "File", "")));
    lastFilePath = QString::fromStdString(s.ReadString(kSection, "IniDir", ""));
    PageControl1->setCurrentIndex(
        s.ReadInteger(kSection, "PageControl1->ActivePageIndex", PageControl1->currentIndex()));

    // Bounded like a parameter file: a FIFO or a huge file put in its place
    // must not hang or flood the start-up.
    const BoundedRead snapshotFile = ReadBoundedFile(SnapshotPath().toStdString());
    if (snapshotFile.Ok()) {
        std::istringstream snapshot(snapshotFile.bytes);
        ReadParameterSnapshot(snapshot, image);
    }
}

void TFormHlav::SaveSettings() {
    // Read the file again so that whatever else it holds now (port
    // overrides, other sections) is kept.
    settingsFile.Load(SettingsPath().toStdString());
    ProfileFile& s = settingsFile;
    s.WriteInteger(kSection, "Left", x());
    s.WriteInteger(kSection, "Top", y());
    s.WriteInteger(kSection, "Height", height());
    s.WriteInteger(kSection, "Width", width());
    s.WriteInteger(kSection, "ComPort", comPortIndex + 1);
    s.WriteInteger(kSection, "Language", languageIndex);
    s.WriteString(kSection, "File", LabelFile2->text().toStdString());
    s.WriteString(kSection, "IniDir", lastFilePath.toStdString());
    s.WriteInteger(kSection, "PageControl1->ActivePageIndex", PageControl1->currentIndex());
    views->SaveSettings();
    history->SaveSettings(s);
    liveRate->SaveSettings(s);
    std::ostringstream settingsText;
    s.Save(settingsText);
    WriteWhole(SettingsPath(), settingsText.str());

    std::ostringstream snapshotText;
    WriteParameterSnapshot(snapshotText, image);
    WriteWhole(SnapshotPath(), snapshotText.str());
}

void TFormHlav::CheckTestMarker() {
    testMode = false;
    const BoundedRead markerFile = ReadBoundedFile(TestMarkerPath().toStdString());
    if (!markerFile.Ok())
        return;
    std::istringstream marker(markerFile.bytes);
    TextScanner words(marker);
    std::string word;
    while (words.NextWord(word))
        if (word == kTestKeyword)
            testMode = true;
}

} // namespace orna5
