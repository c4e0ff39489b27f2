#include "app/views/RidesWindow.h"

#include "app/DataLogRecorder.h"

#include "app/Document.h"
#include "app/widgets/ReaderName.h"
#include "disk/WholeFile.h"
#include "files/BoundedFile.h"
#include "files/MonitorLog.h"
#include "lang/AccessTexts.h"
#include "lang/RideTexts.h"
#include "ride/PullFinder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orna5 {

namespace {

QString Text(RideText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// The column the note is written in.
constexpr int kNoteColumn = 4;
// A note is a line or a few; more is no note.
constexpr std::size_t kMostNoteBytes = 64 * 1024;

// Finds a ride's pulls while it notes how long it ran: one pass over the
// file, in little memory whatever its length.
class RideSink : public LogRowSink {
public:
    explicit RideSink(PullLog& log) : finder(log) {}
    void Columns(const LogHeader& header, const std::vector<std::string>& names) override {
        finder.Columns(header, names);
    }
    void MapChanged(const LogMapChange& change) override { finder.MapChanged(change); }
    void Row(const LogTime& time, double seconds, const float* values) override {
        finder.Row(time, seconds, values);
        if (!haveFirst) {
            first = time;
            haveFirst = true;
        }
        last = seconds;
    }

    PullFinder finder;
    bool haveFirst = false;
    LogTime first;
    double last = 0;
};

} // namespace

QString RidesWindow::NotePath(const QString& ridePath) {
    const QFileInfo info(ridePath);
    return info.absolutePath() + "/" + info.completeBaseName() + ".note";
}

RidesWindow::RidesWindow(Document& doc, QString rideFolder, MessageSink sink)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), folder(std::move(rideFolder)),
      showMessage(std::move(sink)) {
    setObjectName("RidesWindow");
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    resize(820, 420);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    summary = new QLabel(this);
    summary->setObjectName("RidesSummary");
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary);
    list = new QTreeWidget(this);
    list->setObjectName("RidesList");
    list->setColumnCount(5);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::SelectedClicked);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);
    layout->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, void (RidesWindow::*command)()) {
        auto* push = new QPushButton(this);
        push->setObjectName(name);
        connect(push, &QPushButton::clicked, this, command);
        buttons->addWidget(push);
        return push;
    };
    openButton = button("RidesOpenButton", &RidesWindow::OpenSelected);
    addButton = button("RidesAddButton", &RidesWindow::AddSelected);
    buttons->addStretch(1);
    deleteButton = button("RidesDeleteButton", &RidesWindow::DeleteSelected);
    layout->addLayout(buttons);

    connect(list, &QTreeWidget::itemSelectionChanged, this, &RidesWindow::UpdateButtons);
    connect(list, &QTreeWidget::itemChanged, this, &RidesWindow::NoteEdited);
    connect(new QShortcut(QKeySequence::Delete, list), &QShortcut::activated, this,
            &RidesWindow::DeleteSelected);
    connect(&document, &Document::LanguageChanged, this, &RidesWindow::ApplyLanguage);
    Refresh();
    Select(0);
}

void RidesWindow::Refresh() {
    const QString selected = SelectedPath();
    filling = true;
    list->clear();
    paths.clear();
    const QFileInfoList files =
        QDir(folder).entryInfoList({"*.csv"}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        PullLog pulls;
        RideSink sink(pulls);
        MonitorLogReader reader(sink);
        const BoundedRead read = StreamLogFile(QFile::encodeName(path).toStdString(), reader);
        sink.finder.Finish();
        auto* item = new QTreeWidgetItem(list);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        const QDateTime begun = sink.haveFirst ? QDateTime::fromMSecsSinceEpoch(sink.first.millis)
                                               : file.lastModified();
        item->setText(0, QLocale().toString(begun, QLocale::ShortFormat));
        item->setToolTip(0, QDir::toNativeSeparators(path));
        if (read.Ok() && reader.IsLog()) {
            item->setText(1, ClockDuration(static_cast<qint64>(sink.last * 1000)));
            item->setText(2, QString::fromStdString(reader.Header().tune));
            item->setText(3, QString::number(pulls.pulls.size()));
        }
        for (int c = 1; c <= 3; ++c)
            item->setTextAlignment(c, c == 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                             : Qt::AlignRight | Qt::AlignVCenter);
        const BoundedRead note =
            ReadBoundedFile(QFile::encodeName(NotePath(path)).toStdString(), kMostNoteBytes);
        if (note.Ok())
            item->setText(kNoteColumn, QString::fromStdString(note.bytes).trimmed());
        paths.push_back(path);
        if (path == selected)
            list->setCurrentItem(item);
    }
    filling = false;
    ApplyLanguage();
    UpdateButtons();
}

void RidesWindow::ApplyLanguage() {
    const int language = document.Language();
    setWindowTitle(Text(RideText::RidesTitle, language));
    list->setHeaderLabels(
        {Text(RideText::DateColumn, language), Text(RideText::LengthColumn, language),
         Text(RideText::TuneColumn, language), Text(RideText::PullsColumn, language),
         Text(RideText::NoteColumn, language)});
    summary->setText(Text(RideText::RidesFolder, language)
                         .arg(paths.size())
                         .arg(QDir::toNativeSeparators(folder)));
    openButton->setText(Text(RideText::OpenRide, language));
    addButton->setText(Text(RideText::AddRide, language));
    deleteButton->setText(Text(RideText::DeleteRide, language));
    SetReaderName(list, QString::fromStdString(TextIn(AccessText::RidesList, language)));
}

void RidesWindow::UpdateButtons() {
    const bool chosen = !SelectedPath().isEmpty();
    for (QPushButton* b : {openButton, addButton, deleteButton})
        b->setEnabled(chosen);
}

QString RidesWindow::SelectedPath() const {
    QTreeWidgetItem* item = list->currentItem();
    const int row = item ? list->indexOfTopLevelItem(item) : -1;
    return row >= 0 && static_cast<std::size_t>(row) < paths.size()
               ? paths[static_cast<std::size_t>(row)]
               : QString();
}

void RidesWindow::Select(int row) {
    if (QTreeWidgetItem* item = list->topLevelItem(row)) {
        list->setCurrentItem(item);
        item->setSelected(true);
    }
    UpdateButtons();
}

void RidesWindow::OpenSelected() {
    const QString path = SelectedPath();
    if (!path.isEmpty())
        emit OpenRequested(path);
}

void RidesWindow::AddSelected() {
    const QString path = SelectedPath();
    if (!path.isEmpty())
        emit AddToPullsRequested(path);
}

// The note goes beside the ride, written whole; an empty note leaves no
// file behind. A note that could not be written is said.
void RidesWindow::NoteEdited(QTreeWidgetItem* item, int column) {
    if (filling || column != kNoteColumn)
        return;
    const int row = list->indexOfTopLevelItem(item);
    if (row < 0 || static_cast<std::size_t>(row) >= paths.size())
        return;
    const QString notePath = NotePath(paths[static_cast<std::size_t>(row)]);
    const QString text = item->text(kNoteColumn).trimmed();
    QString reason;
    bool ok = true;
    if (text.isEmpty()) {
        ok = !QFileInfo::exists(notePath) || QFile::remove(notePath);
    } else {
        ok = WriteWholeFile(notePath, text.toUtf8() + "\n", &reason);
    }
    if (!ok)
        showMessage(Text(RideText::NoteFailed, document.Language())
                        .arg(QDir::toNativeSeparators(notePath), reason),
                    "RideNoteErrorBox");
}

void RidesWindow::DeleteSelected() {
    const QString path = SelectedPath();
    if (path.isEmpty())
        return;
    const int language = document.Language();
    auto* box =
        new QMessageBox(QMessageBox::Question, windowTitle(),
                        Text(RideText::DeleteQuestion, language).arg(QFileInfo(path).fileName()),
                        QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName("ConfirmDeleteRideBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::No);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, path] {
        if (box->standardButton(box->clickedButton()) != QMessageBox::Yes)
            return;
        const int row = list->indexOfTopLevelItem(list->currentItem());
        const QString note = NotePath(path);
        if (!QFile::remove(path) || (QFileInfo::exists(note) && !QFile::remove(note)))
            showMessage(Text(RideText::DeleteFailed, document.Language())
                            .arg(QDir::toNativeSeparators(path)),
                        "RideNotDeletedBox");
        Refresh();
        Select(std::min(row, list->topLevelItemCount() - 1));
    });
    box->show();
}

} // namespace orna5
