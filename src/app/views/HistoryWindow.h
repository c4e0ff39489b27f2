#pragma once

#include "disk/HistoryStore.h"
#include "disk/HistoryWriter.h"
#include "disk/TimingStore.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace orna5 {

class Document;

// View > History: the restore points, newest first, with their time, kind,
// unit and file. The selected one can be compared with the window, opened
// into it (as File > Open opens a file), programmed back into the unit,
// saved as a parameter file or deleted; the differences found by the last
// failed Verify are offered here too. Damaged entries are left out and said
// once, above the list. The list is read here; a delete goes through the
// window's writer, so a store held by another program never stalls it.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "HISTORY_VIEW";

    // Shows a message about a restore point, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    HistoryWindow(Document& document, HistoryWriter& writer, MessageSink showMessage);

    // Reads the history again, keeping the selection where it can.
    void Refresh();

    QTreeWidget* List() const { return list; }
    const std::vector<RestorePoint>& Points() const { return points; }
    // Selects the row of the point numbered as orna5ctl numbers them (0 is
    // the newest).
    void Select(int row);

    // The commands on the selected point.
    void CompareSelected();
    void OpenSelected();
    // Asks first (Cancel is the default), then the form programs the point.
    void RestoreSelected();
    void SaveSelected();
    void DeleteSelected();

    // The timing-light checks kept beside the points, newest first.
    QTreeWidget* TimingList() const { return timingList; }
    void SelectCheck(int row);
    // The commands on the selected check.
    void OpenCheck();
    void PrintCheck();
    void ExportCheck();
    // Asks first (No is the default).
    void DeleteCheck();

    // A point's time and kind in a language, as the list shows them.
    static QString PointLabel(const RestorePoint& point, int language);

signals:
    void CompareRequested(const orna5::ParameterImage& image, const orna5::RestorePoint& point);
    void VerifyDifferencesRequested();
    // A kept check to show in a window of its own, and print from there.
    void TimingCheckRequested(const QString& path, bool print);

private:
    void ApplyLanguage();
    void UpdateButtons();
    // The selected point and its image, loaded over the window's image;
    // false (the user was told) when there is none or it cannot be read.
    bool LoadSelected(RestorePoint& point, ParameterImage& image,
                      HistoryStore::LoadedPoint* loaded = nullptr);
    void Deleted(std::uint64_t ticket, bool ok, const QString& reason);
    void RefreshChecks();
    // The selected check's entry; null when none is selected.
    const TimingStore::Entry* SelectedCheck() const;

    Document& document;
    HistoryWriter& writer;
    HistoryStore store;
    // The delete the writer has not answered yet, and the row it was on.
    std::uint64_t deleteTicket = 0;
    int deleteRow = 0;
    MessageSink showMessage;
    std::vector<RestorePoint> points;
    int skipped = 0;
    QString unreadable;
    QLabel* summary = nullptr;
    QTreeWidget* list = nullptr;
    QPushButton* compareButton = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* restoreButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* verifyButton = nullptr;
    TimingStore timingStore;
    std::vector<TimingStore::Entry> checks;
    QLabel* timingHeading = nullptr;
    QTreeWidget* timingList = nullptr;
    QPushButton* openCheckButton = nullptr;
    QPushButton* printCheckButton = nullptr;
    QPushButton* exportCheckButton = nullptr;
    QPushButton* deleteCheckButton = nullptr;
};

} // namespace orna5
