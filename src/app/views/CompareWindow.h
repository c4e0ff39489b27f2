#pragma once

#include "params/ParameterImage.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace orna5 {

class Document;

// What the form is compared with: a parameter file, a restore point of the
// history, or what the unit sent in a Verify that failed.
struct CompareSubject {
    enum class Kind { File, RestorePoint, Unit };
    Kind kind = Kind::File;
    // The file's path, or the restore point's name in a language; the unit
    // needs none.
    std::function<QString(int language)> name;
};

// The parameters in which another image differs from the form, page by page
// in user units, while the differing map cells of the Advance page are
// outlined. The other image is only read: nothing of it reaches the form's
// image. The list follows the form: an edit that makes a value equal drops it.
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "COMPARE";

    CompareWindow(Document& document, CompareSubject subject, const ParameterImage& otherImage);
    const CompareSubject& Subject() const { return subject; }
    ~CompareWindow() override;

    // Compares again with the form's image as it is now, in the form's
    // language.
    void Refresh();
    void ApplyLanguage();

    QTreeWidget* List() const { return list; }
    // The form's controls that carry an outline now.
    std::vector<QWidget*> OutlinedControls() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RemoveOutlines();

    Document& document;
    CompareSubject subject;
    ParameterImage otherImage;
    QLabel* summary = nullptr;
    QTreeWidget* list = nullptr;
    int differences = 0;
    std::vector<QPointer<QWidget>> outlines;
};

} // namespace orna5
