#pragma once

#include "params/ParameterImage.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QTreeWidget;

namespace orna5 {

class Document;

// The parameters in which a parameter file differs from the form, page by
// page in user units, while the differing map cells of the Advance page are
// outlined. The file is only read: nothing of it reaches the form's image.
// The list follows the form: an edit that makes a value equal drops it.
class CompareWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "COMPARE";

    CompareWindow(Document& document, const QString& path, const ParameterImage& fileImage);
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
    QString path;
    ParameterImage fileImage;
    QLabel* summary = nullptr;
    QTreeWidget* list = nullptr;
    int differences = 0;
    std::vector<QPointer<QWidget>> outlines;
};

} // namespace orna5
