#include "app/views/CompareWindow.h"

#include "app/Document.h"
#include "app/form/ControlNames.h"
#include "lang/ControlTexts.h"
#include "lang/ViewTexts.h"
#include "params/ParameterReport.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace orna5 {

namespace {

// A frame drawn over a control of the form. The live marks colour the map
// edits' backgrounds every tick; a frame on top of the edit shows through
// whatever colour the background has, and touches neither its palette nor a
// style sheet, so the page is not restyled.
class Outline : public QWidget {
public:
    explicit Outline(QWidget* control) : QWidget(control) {
        setObjectName("CompareOutline");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(control->rect());
        control->installEventFilter(this);
        show();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 70, 255), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

// The page's tab caption in the language, without its accelerator mark.
QString PageName(ParameterPage page, int language) {
    const char* name = controlName::Page(page);
    const std::string* caption = name ? ControlText(name, TextProp::Caption, language) : nullptr;
    QString text = caption ? QString::fromStdString(*caption)
                           : QString::fromStdString(TextIn(ViewText::ReservedPage, language));
    return text.remove('&');
}

// The form's control that edits an image byte of the Advance page's map or
// its rpm axis; null for every other byte.
QWidget* MapControl(QWidget& form, std::size_t offset) {
    if (offset >= field::advanceMap && offset < field::advanceMap + kMapRows * kAxisPoints)
        return form.findChild<QWidget*>(controlName::Edit(
            controlName::MapCellSuffix((offset - field::advanceMap) / kAxisPoints,
                                       (offset - field::advanceMap) % kAxisPoints)));
    if (offset >= field::mapRpm && offset < field::mapRpm + kAxisPoints)
        return form.findChild<QWidget*>(
            controlName::Edit(controlName::MapRpmSuffix(offset - field::mapRpm)));
    return nullptr;
}

QString Name(const ParameterName& name, int language) {
    QString text = QString::fromStdString(ParameterNameIn(name.text, language));
    const auto arg = [&name](std::size_t i) { return QString::fromStdString(name.args[i]); };
    switch (name.args.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(arg(0));
    default:
        return text.arg(arg(0), arg(1));
    }
}

// Values are numbers with units or list texts; the words among them are
// put into the language.
QString Value(const std::string& value, int language) {
    QString text = QString::fromStdString(ParameterNameIn(value, language));
    if (text.endsWith(" deg"))
        text.replace(text.size() - 4, 4, QString::fromUtf8("°"));
    return text;
}

} // namespace

CompareWindow::CompareWindow(Document& doc, CompareSubject what, const ParameterImage& image)
    : QWidget(&doc.Window(), Qt::Window), document(doc), subject(std::move(what)),
      otherImage(image) {
    setObjectName("CompareWindow");
    // Esc closes the view, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(620, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    summary = new QLabel(this);
    summary->setObjectName("CompareSummary");
    summary->setWordWrap(true);
    layout->addWidget(summary);
    list = new QTreeWidget(this);
    list->setObjectName("CompareList");
    list->setColumnCount(3);
    list->setRootIsDecorated(true);
    list->setUniformRowHeights(true);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(false);
    layout->addWidget(list);
    Refresh();
    connect(&document, &Document::ImageShown, this, &CompareWindow::Refresh);
    connect(&document, &Document::LanguageChanged, this, &CompareWindow::Refresh);
}

CompareWindow::~CompareWindow() {
    RemoveOutlines();
}

void CompareWindow::RemoveOutlines() {
    for (const QPointer<QWidget>& outline : outlines)
        delete outline.data();
    outlines.clear();
}

std::vector<QWidget*> CompareWindow::OutlinedControls() const {
    std::vector<QWidget*> controls;
    for (const QPointer<QWidget>& outline : outlines)
        if (outline)
            controls.push_back(outline->parentWidget());
    return controls;
}

void CompareWindow::Refresh() {
    const std::vector<ParameterDifference> found = CompareImages(document.Image(), otherImage);
    differences = static_cast<int>(found.size());
    const int language = document.Language();
    list->clear();
    RemoveOutlines();
    QTreeWidgetItem* pageItem = nullptr;
    ParameterPage page = ParameterPage::Reserved;
    for (const ParameterDifference& d : found) {
        if (!pageItem || d.left.pageId != page) {
            page = d.left.pageId;
            pageItem = new QTreeWidgetItem(list, {PageName(page, language)});
            pageItem->setFirstColumnSpanned(true);
            QFont bold = pageItem->font(0);
            bold.setBold(true);
            pageItem->setFont(0, bold);
            pageItem->setExpanded(true);
        }
        new QTreeWidgetItem(pageItem,
                            {Name(d.left.nameTemplate, language), Value(d.left.value, language),
                             Value(d.rightValue, language)});
        if (QWidget* control = MapControl(document.Window(), d.left.offset))
            outlines.emplace_back(new Outline(control));
    }
    list->expandAll();
    ApplyLanguage();
}

void CompareWindow::ApplyLanguage() {
    const int language = document.Language();
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    using Kind = CompareSubject::Kind;
    const QString name = subject.name ? subject.name(language) : QString();
    // The other side's column, then the summary with and without differences.
    const std::array<ViewText, 3> texts =
        subject.kind == Kind::File
            ? std::array{ViewText::FileColumn, ViewText::DifferenceCount, ViewText::NoDifference}
        : subject.kind == Kind::RestorePoint
            ? std::array{ViewText::PointColumn, ViewText::PointDifferenceCount,
                         ViewText::PointNoDifference}
            : std::array{ViewText::UnitColumn, ViewText::UnitDifferenceCount,
                         ViewText::UnitNoDifference};
    switch (subject.kind) {
    case Kind::File:
        setWindowTitle(text(ViewText::CompareTitle).arg(QFileInfo(name).fileName()));
        break;
    case Kind::RestorePoint:
        setWindowTitle(text(ViewText::CompareTitle).arg(name));
        break;
    case Kind::Unit:
        setWindowTitle(text(ViewText::UnitCompareTitle));
        break;
    }
    list->setHeaderLabels(
        {text(ViewText::ParameterColumn), text(ViewText::WindowColumn), text(texts[0])});
    QString summaryText = differences ? text(texts[1]).arg(differences) : text(texts[2]);
    if (subject.kind == Kind::File)
        summaryText += "\n" + QDir::toNativeSeparators(name);
    summary->setText(summaryText);
}

void CompareWindow::closeEvent(QCloseEvent* event) {
    RemoveOutlines();
    QWidget::closeEvent(event);
}

} // namespace orna5
