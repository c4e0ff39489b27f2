#include "app/views/CompareWindow.h"

#include "app/Document.h"
#include "app/form/ControlNames.h"
#include "app/widgets/ReaderName.h"
#include "lang/AccessTexts.h"
#include "lang/ControlTexts.h"
#include "lang/ViewTexts.h"
#include "params/ParameterReport.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSet>
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

// The image byte a row of the list stands for, kept in the row.
constexpr int kOffsetRole = Qt::UserRole;

} // namespace

QString CompareWindow::PageText(const ParameterDifference& difference, int language) {
    return PageName(difference.left.pageId, language);
}

QString CompareWindow::NameText(const ParameterDifference& difference, int language) {
    return Name(difference.left.nameTemplate, language);
}

QString CompareWindow::ValueText(const std::string& value, int language) {
    return Value(value, language);
}

CompareSubject CompareSubject::Of(Kind kind, std::function<QString(int language)> name) {
    CompareSubject subject{kind, std::move(name), {}};
    // A file's reserved bytes are the window's own (the file is read over
    // them), so a difference there would be noise. Bytes 200..206 never
    // travel: the unit has none, while a restore point keeps them as the
    // window had them and opening it brings them back.
    subject.scope.reservedBytes = kind != Kind::File;
    subject.scope.localBytes = kind == Kind::RestorePoint;
    return subject;
}

CompareWindow::CompareWindow(Document& doc, CompareSubject what, const ParameterImage& image)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), subject(std::move(what)),
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
    // Rows are chosen as files are in a file list: click, Ctrl and Shift
    // with the mouse or the arrows, Ctrl+A for all; Space toggles the row
    // with the focus.
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->installEventFilter(this);
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    take = new QPushButton(this);
    take->setObjectName("CompareTakeButton");
    take->setAutoDefault(false);
    take->setEnabled(false);
    buttons->addWidget(take);
    layout->addLayout(buttons);
    connect(take, &QPushButton::clicked, this, &CompareWindow::TakeSelected);
    connect(list, &QTreeWidget::itemSelectionChanged, this,
            [this] { take->setEnabled(!SelectedOffsets().empty()); });
    // The form's undo and redo work here too, so a take is undone where it
    // was done.
    addAction(document.CreateUndoAction(this));
    addAction(document.CreateRedoAction(this));
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

std::vector<std::size_t> CompareWindow::SelectedOffsets() const {
    std::vector<std::size_t> offsets;
    for (const QTreeWidgetItem* item : list->selectedItems())
        if (item->data(0, kOffsetRole).isValid())
            offsets.push_back(item->data(0, kOffsetRole).toULongLong());
    return offsets;
}

void CompareWindow::TakeSelected() {
    const std::vector<std::size_t> offsets = SelectedOffsets();
    if (offsets.empty())
        return;
    // One change for all of them: one undo step, one program after change.
    // Every value is one byte of the image (no field is wider), so a value
    // is taken with its byte.
    document.ChangeImage([this, &offsets](ParameterImage& image) {
        for (std::size_t offset : offsets)
            image[offset] = otherImage[offset];
    });
}

bool CompareWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Space alone would only add the row; toggling lets the keyboard
        // leave out a row that Ctrl+A or Shift took in.
        if (key->key() == Qt::Key_Space && !(key->modifiers() & ~Qt::KeypadModifier)) {
            if (QTreeWidgetItem* item = list->currentItem();
                item && (item->flags() & Qt::ItemIsSelectable))
                item->setSelected(!item->isSelected());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CompareWindow::Refresh() {
    const std::vector<ParameterDifference> found =
        CompareImages(document.Image(), otherImage, subject.scope);
    differences = static_cast<int>(found.size());
    const int language = document.Language();
    // The rows still listed after the change stay chosen, and the focus
    // stays on its row.
    QSet<qulonglong> chosen;
    for (std::size_t offset : SelectedOffsets())
        chosen.insert(offset);
    const QTreeWidgetItem* focused = list->currentItem();
    const QVariant focusedOffset = focused ? focused->data(0, kOffsetRole) : QVariant();
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
            // A page is a heading: choosing it would not say which values.
            pageItem->setFlags(Qt::ItemIsEnabled);
        }
        auto* item = new QTreeWidgetItem(pageItem, {Name(d.left.nameTemplate, language),
                                                    Value(d.left.value, language),
                                                    Value(d.rightValue, language)});
        const qulonglong offset = d.left.offset;
        item->setData(0, kOffsetRole, offset);
        if (QWidget* control = document.MapControl(d.left.offset))
            outlines.emplace_back(new Outline(control));
        if (focusedOffset.isValid() && focusedOffset.toULongLong() == offset)
            list->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
        if (chosen.contains(offset))
            item->setSelected(true);
    }
    list->expandAll();
    take->setEnabled(!SelectedOffsets().empty());
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
    take->setText(text(ViewText::TakeIntoWindow));
    QString summaryText = differences ? text(texts[1]).arg(differences) : text(texts[2]);
    if (subject.kind == Kind::File)
        summaryText += "\n" + QDir::toNativeSeparators(name);
    // A side that lacks a page says nothing of it: no difference listed there
    // is no agreement either.
    if (!subject.scope.page1)
        summaryText += "\n" + text(ViewText::PageNotRead).arg(1).arg("0..99");
    if (!subject.scope.page2)
        summaryText += "\n" + text(ViewText::PageNotRead).arg(2).arg("100..199");
    summary->setText(summaryText);
    SetReaderName(list, QString::fromStdString(TextIn(AccessText::Differences, language)),
                  summaryText);
}

void CompareWindow::closeEvent(QCloseEvent* event) {
    RemoveOutlines();
    QWidget::closeEvent(event);
}

} // namespace orna5
