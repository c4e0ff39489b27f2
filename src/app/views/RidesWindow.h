#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace orna5 {

class Document;

// View > Rides: the rides recorded by themselves, newest first, with their
// date, length, tune, number of pulls and a note the user writes in the
// list (kept beside the ride in a file of its own). The chosen ride opens in
// the log viewer, joins the Pulls tab of the log viewer open, or is deleted
// after a question.
class RidesWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "RIDES_VIEW";

    // Shows a message about a ride, named for the tests.
    using MessageSink = std::function<void(const QString& text, const QString& name)>;

    RidesWindow(Document& document, QString folder, MessageSink showMessage);

    // Reads the folder again, keeping the selection where it can.
    void Refresh();

    QTreeWidget* List() const { return list; }
    // The ride files listed, in the list's order.
    const std::vector<QString>& Paths() const { return paths; }
    void Select(int row);
    // The note file kept beside a ride.
    static QString NotePath(const QString& ridePath);

    void OpenSelected();
    void AddSelected();
    // Asks first (No is the default), then deletes the ride and its note.
    void DeleteSelected();

signals:
    void OpenRequested(const QString& path);
    void AddToPullsRequested(const QString& path);

private:
    void ApplyLanguage();
    void UpdateButtons();
    void NoteEdited(QTreeWidgetItem* item, int column);
    QString SelectedPath() const;

    Document& document;
    QString folder;
    MessageSink showMessage;
    std::vector<QString> paths;
    bool filling = false;
    QLabel* summary = nullptr;
    QTreeWidget* list = nullptr;
    QPushButton* openButton = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* deleteButton = nullptr;
};

} // namespace orna5
