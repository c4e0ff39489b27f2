#include "app/views/HistoryWindow.h"

#include "app/Document.h"
#include "app/FileDialog.h"
#include "app/widgets/ReaderName.h"
#include "disk/WholeFile.h"
#include "lang/AccessTexts.h"
#include "lang/TimingTexts.h"
#include "lang/ViewTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orna5 {

namespace {

QString Text(ViewText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

ViewText KindText(RestoreKind kind) {
    switch (kind) {
    case RestoreKind::Read:
        return ViewText::KindRead;
    case RestoreKind::BeforeProgram:
        return ViewText::KindBeforeProgram;
    case RestoreKind::Programmed:
        return ViewText::KindProgrammed;
    case RestoreKind::Opened:
        return ViewText::KindOpened;
    case RestoreKind::Verified:
        return ViewText::KindVerified;
    case RestoreKind::Saved:
        break;
    }
    return ViewText::KindSaved;
}

QString Text(TimingText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

QString CheckTime(const TimingCheck& check) {
    return QDateTime::fromMSecsSinceEpoch(check.time.millis)
        .toLocalTime()
        .toString("yyyy-MM-dd HH:mm:ss");
}

QString TimeText(const RestorePoint& point) {
    return QDateTime::fromMSecsSinceEpoch(point.timeMs)
        .toLocalTime()
        .toString("yyyy-MM-dd HH:mm:ss");
}

QString UnitText(const RestorePoint& point) {
    QString text = QString::fromStdString(point.unitVersion);
    if (!point.unitBuildDate.empty())
        text += QString(" (%1)").arg(QString::fromStdString(point.unitBuildDate).simplified());
    return text.trimmed();
}

} // namespace

QString HistoryWindow::PointLabel(const RestorePoint& point, int language) {
    return QString("%1 (%2)").arg(TimeText(point), Text(KindText(point.kind), language));
}

HistoryWindow::HistoryWindow(Document& doc, HistoryWriter& historyWriter, MessageSink sink)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), writer(historyWriter),
      store(historyWriter.Folder()), showMessage(std::move(sink)) {
    setObjectName("HistoryWindow");
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(760, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    summary = new QLabel(this);
    summary->setObjectName("HistorySummary");
    summary->setWordWrap(true);
    layout->addWidget(summary);
    list = new QTreeWidget(this);
    list->setObjectName("HistoryList");
    list->setColumnCount(5);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);
    layout->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, void (HistoryWindow::*command)()) {
        auto* push = new QPushButton(this);
        push->setObjectName(name);
        connect(push, &QPushButton::clicked, this, command);
        buttons->addWidget(push);
        return push;
    };
    compareButton = button("HistoryCompareButton", &HistoryWindow::CompareSelected);
    openButton = button("HistoryOpenButton", &HistoryWindow::OpenSelected);
    restoreButton = button("HistoryRestoreButton", &HistoryWindow::RestoreSelected);
    saveButton = button("HistorySaveButton", &HistoryWindow::SaveSelected);
    deleteButton = button("HistoryDeleteButton", &HistoryWindow::DeleteSelected);
    buttons->addStretch(1);
    verifyButton = new QPushButton(this);
    verifyButton->setObjectName("HistoryVerifyButton");
    connect(verifyButton, &QPushButton::clicked, this, &HistoryWindow::VerifyDifferencesRequested);
    buttons->addWidget(verifyButton);
    layout->addLayout(buttons);

    // The timing-light checks: what the unit gave the engine, beside what
    // it was programmed with.
    timingHeading = new QLabel(this);
    timingHeading->setObjectName("TimingChecksHeading");
    layout->addWidget(timingHeading);
    timingList = new QTreeWidget(this);
    timingList->setObjectName("TimingCheckList");
    timingList->setColumnCount(4);
    timingList->setRootIsDecorated(false);
    timingList->setUniformRowHeights(true);
    timingList->setAllColumnsShowFocus(true);
    timingList->setSelectionMode(QAbstractItemView::SingleSelection);
    timingList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    timingList->header()->setStretchLastSection(true);
    layout->addWidget(timingList, 1);
    auto* checkButtons = new QHBoxLayout;
    const auto checkButton = [&](const char* name, void (HistoryWindow::*command)()) {
        auto* push = new QPushButton(this);
        push->setObjectName(name);
        connect(push, &QPushButton::clicked, this, command);
        checkButtons->addWidget(push);
        return push;
    };
    openCheckButton = checkButton("TimingOpenCheck", &HistoryWindow::OpenCheck);
    printCheckButton = checkButton("TimingPrintCheck", &HistoryWindow::PrintCheck);
    exportCheckButton = checkButton("TimingExportCheck", &HistoryWindow::ExportCheck);
    deleteCheckButton = checkButton("TimingDeleteCheck", &HistoryWindow::DeleteCheck);
    checkButtons->addStretch(1);
    layout->addLayout(checkButtons);
    connect(timingList, &QTreeWidget::itemSelectionChanged, this, &HistoryWindow::UpdateButtons);
    connect(timingList, &QTreeWidget::itemActivated, this, &HistoryWindow::OpenCheck);
    connect(new QShortcut(QKeySequence::Delete, timingList), &QShortcut::activated, this,
            &HistoryWindow::DeleteCheck);

    connect(list, &QTreeWidget::itemSelectionChanged, this, &HistoryWindow::UpdateButtons);
    // Enter and a double click compare, the harmless command.
    connect(list, &QTreeWidget::itemActivated, this, &HistoryWindow::CompareSelected);
    connect(new QShortcut(QKeySequence::Delete, list), &QShortcut::activated, this,
            &HistoryWindow::DeleteSelected);
    connect(&writer, &HistoryWriter::Removed, this, &HistoryWindow::Deleted);
    connect(&document, &Document::LanguageChanged, this, &HistoryWindow::Refresh);
    // A Verify may end, or an operation start, in any tick.
    connect(&document, &Document::TickDone, this, &HistoryWindow::UpdateButtons);
    Refresh();
    Select(0);
    SelectCheck(0);
    UpdateButtons();
}

void HistoryWindow::Refresh() {
    const int language = document.Language();
    const QTreeWidgetItem* current = list->currentItem();
    const std::uint64_t selectedId =
        current ? current->data(0, Qt::UserRole).toULongLong() : std::uint64_t(0);
    HistoryStore::Listing listing = store.List();
    points = std::move(listing.points);
    skipped = listing.skipped;
    unreadable = listing.reason;
    list->clear();
    QTreeWidgetItem* keep = nullptr;
    for (const RestorePoint& point : points) {
        // The tune, as orna5ctl show prints it and a data log names it, so a
        // log can be matched with the point it ran on.
        const auto tune = listing.tunes.find(point.id);
        auto* item = new QTreeWidgetItem(
            list,
            {TimeText(point), Text(KindText(point.kind), language),
             tune == listing.tunes.end() ? QString() : QString::fromStdString(tune->second),
             UnitText(point), QDir::toNativeSeparators(QString::fromStdString(point.sourcePath))});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(point.id));
        if (point.id == selectedId)
            keep = item;
    }
    if (keep)
        list->setCurrentItem(keep);
    RefreshChecks();
    ApplyLanguage();
    UpdateButtons();
}

void HistoryWindow::RefreshChecks() {
    const int language = document.Language();
    const QTreeWidgetItem* current = timingList->currentItem();
    const QString selected = current ? current->data(0, Qt::UserRole).toString() : QString();
    checks = timingStore.List(language);
    timingList->clear();
    for (const TimingStore::Entry& entry : checks) {
        QStringList columns;
        if (entry.check) {
            const TimingCheck& check = *entry.check;
            columns << CheckTime(check)
                    << UnitText(
                           {0, 0, RestoreKind::Read, check.unitVersion, check.unitBuildDate, {}})
                    << QString::fromStdString(check.tune)
                    << QString::fromStdString(
                           DriftText(DriftOf(check.points, check.channel), language));
        } else {
            columns << QFileInfo(entry.path).fileName() << QString() << QString()
                    << Text(TimingText::Damaged, language).arg(entry.fault);
        }
        auto* item = new QTreeWidgetItem(timingList, columns);
        item->setData(0, Qt::UserRole, entry.path);
        if (entry.path == selected)
            timingList->setCurrentItem(item);
    }
}

void HistoryWindow::SelectCheck(int row) {
    if (QTreeWidgetItem* item = timingList->topLevelItem(row)) {
        timingList->setCurrentItem(item);
        item->setSelected(true);
    }
}

const TimingStore::Entry* HistoryWindow::SelectedCheck() const {
    const QTreeWidgetItem* item = timingList->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const QString path = item->data(0, Qt::UserRole).toString();
    for (const TimingStore::Entry& entry : checks)
        if (entry.path == path)
            return &entry;
    return nullptr;
}

void HistoryWindow::OpenCheck() {
    if (const TimingStore::Entry* entry = SelectedCheck())
        emit TimingCheckRequested(entry->path, false);
}

void HistoryWindow::PrintCheck() {
    if (const TimingStore::Entry* entry = SelectedCheck())
        emit TimingCheckRequested(entry->path, true);
}

void HistoryWindow::ExportCheck() {
    const TimingStore::Entry* entry = SelectedCheck();
    if (!entry)
        return;
    const int language = document.Language();
    TimingCheck check;
    QString reason;
    if (!TimingStore::Load(entry->path, check, language, &reason)) {
        showMessage(Text(TimingText::ReadFailed, language)
                        .arg(QDir::toNativeSeparators(entry->path), reason),
                    "OpenFileErrorBox");
        RefreshChecks();
        return;
    }
    const QString path =
        ChooseFile(this, {"TimingExportDialog",
                          exportCheckButton->text().remove('&').remove("…"),
                          QFileDialog::AcceptSave,
                          {Text(TimingText::CsvFilter, language)},
                          "csv",
                          QDir::home().filePath(QFileInfo(entry->path).fileName())});
    if (path.isEmpty())
        return;
    if (!WriteWholeFile(path, QByteArray::fromStdString(WriteTimingCheck(check)), &reason))
        showMessage(
            Text(TimingText::ExportFailed, language).arg(QDir::toNativeSeparators(path), reason),
            "TimingExportFailedBox");
}

void HistoryWindow::DeleteCheck() {
    const TimingStore::Entry* entry = SelectedCheck();
    if (!entry)
        return;
    const int language = document.Language();
    const QString path = entry->path;
    const QString name = entry->check ? CheckTime(*entry->check) : QFileInfo(path).fileName();
    auto* box = new QMessageBox(QMessageBox::Question, windowTitle(),
                                Text(TimingText::ConfirmDelete, language).arg(name),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName("ConfirmDeleteCheckBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::No);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, path] {
        if (box->standardButton(box->clickedButton()) != QMessageBox::Yes)
            return;
        const int row = timingList->indexOfTopLevelItem(timingList->currentItem());
        QString reason;
        if (!TimingStore::Remove(path, &reason))
            showMessage(Text(TimingText::DeleteFailed, document.Language())
                            .arg(QDir::toNativeSeparators(path), reason),
                        "TimingDeleteFailedBox");
        RefreshChecks();
        SelectCheck(std::min(row, timingList->topLevelItemCount() - 1));
        UpdateButtons();
    });
    box->show();
}

void HistoryWindow::ApplyLanguage() {
    const int language = document.Language();
    setWindowTitle(Text(ViewText::HistoryTitle, language));
    list->setHeaderLabels({Text(ViewText::LogTime, language), Text(ViewText::KindColumn, language),
                           Text(ViewText::TuneColumn, language),
                           Text(ViewText::UnitColumn, language),
                           Text(ViewText::FileColumn, language)});
    compareButton->setText(Text(ViewText::HistoryCompare, language));
    openButton->setText(Text(ViewText::HistoryOpen, language));
    restoreButton->setText(Text(ViewText::HistoryRestore, language));
    saveButton->setText(Text(ViewText::HistorySave, language));
    deleteButton->setText(Text(ViewText::HistoryDelete, language));
    verifyButton->setText(Text(ViewText::HistoryVerify, language));
    timingHeading->setText(Text(TimingText::HistoryHeading, language));
    timingList->setHeaderLabels(
        {Text(TimingText::HistoryDate, language), Text(TimingText::HistoryUnit, language),
         Text(TimingText::HistoryTune, language), Text(TimingText::HistoryVerdict, language)});
    openCheckButton->setText(Text(TimingText::HistoryOpen, language));
    printCheckButton->setText(Text(TimingText::HistoryPrint, language));
    exportCheckButton->setText(Text(TimingText::HistoryExport, language));
    deleteCheckButton->setText(Text(TimingText::HistoryDelete, language));
    SetReaderName(timingList, Text(TimingText::ChecksName, language));
    SetReaderName(list, QString::fromStdString(TextIn(AccessText::RestorePoints, language)));
    QStringList lines;
    if (!unreadable.isEmpty())
        lines << Text(ViewText::HistoryUnreadable, language).arg(unreadable);
    else if (points.empty())
        lines << Text(ViewText::HistoryNone, language);
    else
        lines << Text(ViewText::HistoryCount, language).arg(points.size());
    if (skipped > 0)
        lines << Text(ViewText::HistoryDamaged, language).arg(skipped);
    lines << QDir::toNativeSeparators(store.Folder());
    summary->setText(lines.join('\n'));
}

void HistoryWindow::UpdateButtons() {
    const bool chosen = list->currentItem() != nullptr && list->currentItem()->isSelected();
    for (QPushButton* push : {compareButton, openButton, restoreButton, saveButton, deleteButton})
        push->setEnabled(chosen);
    verifyButton->setEnabled(!document.VerifyDifferences().empty());
    const TimingStore::Entry* entry = SelectedCheck();
    for (QPushButton* push : {openCheckButton, printCheckButton, exportCheckButton})
        push->setEnabled(entry != nullptr && entry->check.has_value());
    deleteCheckButton->setEnabled(entry != nullptr);
}

void HistoryWindow::Select(int row) {
    if (QTreeWidgetItem* item = list->topLevelItem(row)) {
        list->setCurrentItem(item);
        item->setSelected(true);
    }
}

bool HistoryWindow::LoadSelected(RestorePoint& point, ParameterImage& image,
                                 HistoryStore::LoadedPoint* loaded) {
    const QTreeWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected())
        return false;
    const std::uint64_t id = item->data(0, Qt::UserRole).toULongLong();
    const auto found = std::find_if(points.begin(), points.end(),
                                    [id](const RestorePoint& p) { return p.id == id; });
    if (found == points.end())
        return false;
    point = *found;
    image = document.Image();
    QString reason;
    if (!store.Load(point, image, &reason, loaded)) {
        showMessage(reason, "OpenFileErrorBox");
        Refresh(); // it has gone: say so in the list too
        return false;
    }
    return true;
}

void HistoryWindow::CompareSelected() {
    RestorePoint point;
    ParameterImage image;
    if (LoadSelected(point, image))
        emit CompareRequested(image, point);
}

// A point of the unit with its exact bytes brings the unit's reserved bytes
// along; one kept as a parameter file is read over the window's, as a file
// is, and leaves them whatever they were. A point of a file opened or saved
// holds the window's reserved bytes of then, which nothing vouches for.
void HistoryWindow::OpenSelected() {
    RestorePoint point;
    ParameterImage image;
    HistoryStore::LoadedPoint loaded;
    if (!LoadSelected(point, image, &loaded))
        return;
    const bool unitBytes = loaded.exact && loaded.unitInfo.has_value();
    document.OpenImage(image, unitBytes || (!loaded.exact && document.WindowHoldsUnitBytes()));
}

void HistoryWindow::RestoreSelected() {
    RestorePoint point;
    ParameterImage image;
    if (!LoadSelected(point, image))
        return;
    const int language = document.Language();
    auto* box =
        new QMessageBox(QMessageBox::Question, windowTitle(),
                        Text(ViewText::ConfirmRestore, language).arg(PointLabel(point, language)),
                        QMessageBox::Cancel, this);
    box->setObjectName("ConfirmRestoreBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* restore = box->addButton(restoreButton->text(), QMessageBox::AcceptRole);
    restore->setObjectName("ConfirmRestoreButton");
    // Writing the unit is the risky answer: Enter and Esc both leave it be.
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, restore, point, image] {
        if (box->clickedButton() != restore)
            return;
        document.RestoreToUnit(
            image, [point](int language) { return HistoryWindow::PointLabel(point, language); });
    });
    box->show();
}

void HistoryWindow::SaveSelected() {
    RestorePoint point;
    ParameterImage image;
    if (!LoadSelected(point, image))
        return;
    const int language = document.Language();
    const QString suggested =
        point.sourcePath.empty()
            ? QDir::homePath() + "/orna5-" +
                  QDateTime::fromMSecsSinceEpoch(point.timeMs).toString("yyyyMMdd-HHmmss") + ".ign"
            : QString::fromStdString(point.sourcePath);
    const QString path = ChooseFile(this, {"HistorySaveDialog",
                                           saveButton->text().remove('&'),
                                           QFileDialog::AcceptSave,
                                           {Text(ViewText::ParameterFilter, language)},
                                           "ign",
                                           suggested});
    if (path.isEmpty())
        return;
    QString reason;
    if (!SaveParameterFile(path, image, &reason))
        showMessage(OpenFileErrorText(path, reason, language), "OpenFileErrorBox");
}

void HistoryWindow::DeleteSelected() {
    RestorePoint point;
    ParameterImage image;
    if (!LoadSelected(point, image))
        return;
    const int language = document.Language();
    auto* box = new QMessageBox(
        QMessageBox::Question, windowTitle(),
        Text(ViewText::ConfirmDeletePoint, language).arg(PointLabel(point, language)),
        QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName("ConfirmDeletePointBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::No);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, point] {
        if (box->standardButton(box->clickedButton()) != QMessageBox::Yes)
            return;
        deleteRow = list->indexOfTopLevelItem(list->currentItem());
        deleteTicket = writer.Remove(point);
    });
    box->show();
}

void HistoryWindow::Deleted(std::uint64_t ticket, bool ok, const QString& reason) {
    if (ticket != deleteTicket)
        return;
    deleteTicket = 0;
    if (!ok)
        showMessage(Text(ViewText::PointNotDeleted, document.Language()).arg(reason),
                    "PointNotDeletedBox");
    Refresh();
    Select(std::min(deleteRow, list->topLevelItemCount() - 1));
}

} // namespace orna5
