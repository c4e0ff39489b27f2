#pragma once

#include "params/ParameterImage.h"
#include "params/ParameterReport.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace orna5 {

class Document;

// What the form is compared with: a parameter file, a restore point of the
// history, or what the unit sent in a Verify that failed.
struct CompareSubject {
    enum class Kind { File, RestorePoint, Unit };
    // A subject whose scope is what a side of its kind truly holds: a file
    // carries no reserved bytes, the unit never holds bytes 200..206, a
    // restore point keeps the whole image.
    static CompareSubject Of(Kind kind, std::function<QString(int language)> name = {});

    Kind kind = Kind::File;
    // The file's path, or the restore point's name in a language; the unit
    // needs none.
    std::function<QString(int language)> name;
    // The bytes the comparison may look at.
    CompareScope scope;
};

// The parameters in which another image differs from the form, page by page
// in user units, while the differing map cells of the Advance page are
// outlined. The list follows the form: an edit that makes a value equal
// drops it. Nothing of the other image reaches the form's image unless the
// user takes chosen values into the window, all of them as one change.
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "COMPARE";

    CompareWindow(Document& document, CompareSubject subject, const ParameterImage& otherImage);
    const CompareSubject& Subject() const { return subject; }
    ~CompareWindow() override;

    // Compares again with the form's image as it is now, in the form's
    // language; the rows still listed stay chosen.
    void Refresh();
    void ApplyLanguage();

    QTreeWidget* List() const { return list; }
    QPushButton* TakeButton() const { return take; }
    // The form's controls that carry an outline now.
    std::vector<QWidget*> OutlinedControls() const;

    // A difference as the list shows it in a language: the page, the
    // parameter's name, and a value of either side.
    static QString PageText(const ParameterDifference& difference, int language);
    static QString NameText(const ParameterDifference& difference, int language);
    static QString ValueText(const std::string& value, int language);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RemoveOutlines();
    // The image bytes of the chosen rows.
    std::vector<std::size_t> SelectedOffsets() const;
    void TakeSelected();

    Document& document;
    CompareSubject subject;
    ParameterImage otherImage;
    QLabel* summary = nullptr;
    QTreeWidget* list = nullptr;
    QPushButton* take = nullptr;
    int differences = 0;
    std::vector<QPointer<QWidget>> outlines;
};

} // namespace orna5
