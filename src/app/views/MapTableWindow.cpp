#include "app/views/MapTableWindow.h"

#include "app/Document.h"
#include "app/views/MapTableModel.h"
#include "app/views/RpmAxisDialog.h"
#include "app/views/TimeInCellView.h"
#include "app/widgets/ReaderName.h"
#include "device/MarkLivePosition.h"
#include "lang/AccessTexts.h"
#include "lang/MapTableTexts.h"
#include "params/TpsBreakpoints.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

#include <tuple>

namespace orna5 {

namespace {

// Paints a cell in its value's colour, the selection as a tint over it (so
// the colours stay readable in a selected block) and the live cell with a
// frame that shows on every colour.
class MapCellDelegate : public QStyledItemDelegate {
public:
    explicit MapCellDelegate(QTableView* view) : QStyledItemDelegate(view), view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        QColor background = index.data(Qt::BackgroundRole).value<QColor>();
        painter->fillRect(option.rect, background);
        if (option.state & QStyle::State_Selected) {
            QColor tint = option.palette.color(QPalette::Highlight);
            tint.setAlpha(120);
            painter->fillRect(option.rect, tint);
            const double a = tint.alphaF();
            background = QColor::fromRgbF(
                static_cast<float>(background.redF() * (1 - a) + tint.redF() * a),
                static_cast<float>(background.greenF() * (1 - a) + tint.greenF() * a),
                static_cast<float>(background.blueF() * (1 - a) + tint.blueF() * a));
        }
        painter->setPen(MapTableModel::TextColour(background));
        painter->drawText(option.rect, Qt::AlignCenter, index.data().toString());
        if (option.state & QStyle::State_Selected)
            DrawSelectionEdges(painter, option, index);
        if (index.data(MapTableModel::LiveRole).toBool())
            MapTableModel::PaintLiveFrame(painter, option.rect);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QSpinBox(parent);
        editor->setObjectName("SpinBoxCell");
        editor->setRange(0, 60);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->setButtonSymbols(QAbstractSpinBox::NoButtons);
        // Named as the cell it edits, without the value it is changing.
        if (const auto* model = qobject_cast<const MapTableModel*>(index.model()))
            editor->setAccessibleName(model->CellName(model->Area().top + index.row(),
                                                      model->Area().left + index.column()));
        return editor;
    }

private:
    // The outline of the selected block: an edge wherever the neighbour is
    // not selected.
    void DrawSelectionEdges(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
        const auto selected = [this, &index](int rowStep, int columnStep) {
            const QModelIndex next = index.siblingAtRow(index.row() + rowStep)
                                         .siblingAtColumn(index.column() + columnStep);
            return next.isValid() && view->selectionModel()->isSelected(next);
        };
        painter->setPen(QPen(option.palette.color(QPalette::Highlight).darker(130), 2));
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        if (!selected(-1, 0))
            painter->drawLine(r.topLeft(), r.topRight());
        if (!selected(1, 0))
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (!selected(0, -1))
            painter->drawLine(r.topLeft(), r.bottomLeft());
        if (!selected(0, 1))
            painter->drawLine(r.topRight(), r.bottomRight());
    }

    QTableView* view;
};

struct Caption {
    QPushButton* button;
    MapText text;
    MapText hint;
};

} // namespace

MapTableWindow::MapTableWindow(Document& doc)
    : QMainWindow(doc.ViewParent(), Qt::Window), document(doc) {
    setObjectName("MapTableWindow");
    model = new MapTableModel(document.Image(), this);
    shownMap = TimeInCellView::MapOf(document.Image());
    model->cellEdited = [this](int row, int column, int value) {
        Run([row, column, value](ParameterImage& image, const MapBlock&) {
            return SetBlock(image, MapBlock{row, column, row, column}, value);
        });
    };
    CreateControls();
    connect(&document, &Document::ImageShown, this, &MapTableWindow::ImageShown);
    connect(&document, &Document::LiveChanged, this, &MapTableWindow::TickDone);
    connect(&document, &Document::LanguageChanged, this, [this] {
        if (shownLanguage != document.Language())
            ApplyLanguage();
    });
    const auto reportSelection = [this] { emit SelectionChanged(SelectedBlock()); };
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, reportSelection);
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, reportSelection);
    ApplyLanguage();
    TickDone();
}

// Nothing is reported from a table that is going away.
MapTableWindow::~MapTableWindow() {
    disconnect(table->selectionModel(), nullptr, this, nullptr);
}

QPushButton* MapTableWindow::MakeButton(const QString& name, const std::function<void()>& command) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, command);
    return button;
}

void MapTableWindow::CreateControls() {
    table = new QTableView(this);
    table->setObjectName("TableMap");
    table->setModel(model);
    table->setItemDelegate(new MapCellDelegate(table));
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    table->setCornerButtonEnabled(true);
    table->installEventFilter(this);
    const QFontMetrics metrics(table->font());
    const int columnWidth = std::max(48, metrics.horizontalAdvance(QLocale().toString(20000)) + 16);
    const int rowHeight = metrics.height() + 10;
    table->horizontalHeader()->setDefaultSectionSize(columnWidth);
    table->horizontalHeader()->setMinimumSectionSize(columnWidth);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->verticalHeader()->setMinimumSectionSize(rowHeight);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->verticalHeader()->setMinimumWidth(metrics.horizontalAdvance("0\u2013100%") + 12);
    table->setMinimumWidth(table->verticalHeader()->minimumWidth() + 10 * columnWidth + 6);
    FitTableHeight();
    table->setCurrentIndex(model->index(0, 0));

    auto spin = [this](const QString& name, int minimum, int maximum, int value,
                       const QString& suffix) {
        auto* box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(minimum, maximum);
        box->setValue(value);
        box->setSuffix(suffix);
        box->installEventFilter(this);
        return box;
    };
    setValue = spin("SpinBoxSet", 0, 60, 20, QString::fromUtf8("°"));
    addValue = spin("SpinBoxAdd", -60, 60, 1, QString::fromUtf8("°"));
    scaleValue = spin("SpinBoxScale", 0, 1000, 110, " %");

    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(6);
    controls->addWidget(setValue, 0, 0);
    controls->addWidget(MakeButton("ButtonSet", [this] { SetSelection(setValue->value()); }), 0, 1);
    controls->addWidget(addValue, 0, 2);
    controls->addWidget(MakeButton("ButtonAdd", [this] { AddToSelection(addValue->value()); }), 0,
                        3);
    controls->addWidget(scaleValue, 0, 4);
    controls->addWidget(MakeButton("ButtonScale", [this] { ScaleSelection(scaleValue->value()); }),
                        0, 5);
    interpolateLabel = new QLabel(this);
    interpolateLabel->setObjectName("LabelInterpolate");
    auto* interpolate = new QHBoxLayout;
    interpolate->addWidget(interpolateLabel);
    interpolate->addWidget(
        MakeButton("ButtonAcrossRows", [this] { InterpolateSelection(Interpolation::Rows); }));
    interpolate->addWidget(MakeButton("ButtonAcrossColumns",
                                      [this] { InterpolateSelection(Interpolation::Columns); }));
    interpolate->addWidget(
        MakeButton("ButtonFromCorners", [this] { InterpolateSelection(Interpolation::Corners); }));
    interpolate->addSpacing(16);
    interpolate->addWidget(MakeButton("ButtonSmooth", [this] { SmoothSelection(); }));
    interpolate->addStretch(1);
    controls->addLayout(interpolate, 1, 0, 1, 7);
    controls->setColumnStretch(6, 1);

    tabs = new QTabWidget(this);
    tabs->setObjectName("TabsMapTable");
    auto* mapPage = new QWidget(tabs);
    auto* layout = new QVBoxLayout(mapPage);
    layout->addWidget(table, 1);
    layout->addLayout(controls);
    tabs->addTab(mapPage, QString());

    // The time in cell the document counts, laid on the window's map.
    auto* timePage = new QWidget(tabs);
    auto* timeLayout = new QVBoxLayout(timePage);
    timeTable = new TimeInCellView(document.LiveCells(), timePage);
    timeTable->setObjectName("TableTimeInCell");
    timeTable->SetMap(TimeInCellView::MapOf(document.Image()));
    timeTable->setFixedHeight(timeTable->FittingHeight());
    timeLayout->addWidget(timeTable);
    auto* timeControls = new QHBoxLayout;
    timeTotal = new QLabel(timePage);
    timeTotal->setObjectName("LabelTimeTotal");
    timeControls->addWidget(timeTotal, 1);
    timeControls->addWidget(MakeButton("ButtonResetTime", [this] {
        document.ResetLiveCells();
        TickDone();
    }));
    timeLayout->addLayout(timeControls);
    timeLayout->addStretch(1);
    tabs->addTab(timePage, QString());
    setCentralWidget(tabs);

    // The form's own undo and redo, shortcuts and enabling included.
    auto* tools = new QToolBar(this);
    tools->setObjectName("ToolBarMapTable");
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(document.CreateUndoAction(tools));
    tools->addAction(document.CreateRedoAction(tools));
    tools->addSeparator();
    auto* copy = tools->addAction(QString(), this, &MapTableWindow::CopySelection);
    copy->setObjectName("ActionCopy");
    auto* paste = tools->addAction(QString(), this, &MapTableWindow::PasteIntoSelection);
    paste->setObjectName("ActionPaste");
    tools->addSeparator();
    auto* rpmAxis = tools->addAction(
        QString(), this, [this] { OpenRpmAxisDialog(document, RpmAxisDialog::Axis::Map, this); });
    rpmAxis->setObjectName("ActionChangeRpmAxis");
    auto* servoRpm = tools->addAction(
        QString(), this, [this] { OpenRpmAxisDialog(document, RpmAxisDialog::Axis::Servo, this); });
    servoRpm->setObjectName("ActionChangeServoRpm");
    addToolBar(tools);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBarMapTable");
    setStatusBar(status);
}

// The rows do not stretch: the table is as high as its rows, so that the
// single row of a map without throttle rows is not a tall bar.
void MapTableWindow::FitTableHeight() {
    const int rows = model->rowCount();
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() +
                          rows * table->verticalHeader()->defaultSectionSize() +
                          2 * table->frameWidth());
    if (timeTable)
        timeTable->setFixedHeight(timeTable->FittingHeight());
    if (isVisible())
        resize(width(), sizeHint().height());
}

void MapTableWindow::ApplyLanguage() {
    shownLanguage = document.Language();
    const auto text = [this](MapText id) {
        return QString::fromStdString(TextIn(id, shownLanguage));
    };
    setWindowTitle(text(MapText::Title));
    interpolateLabel->setText(text(MapText::Interpolate));
    const Caption captions[] = {
        {findChild<QPushButton*>("ButtonSet"), MapText::Set, MapText::HintSet},
        {findChild<QPushButton*>("ButtonAdd"), MapText::Add, MapText::HintAdd},
        {findChild<QPushButton*>("ButtonScale"), MapText::Scale, MapText::HintScale},
        {findChild<QPushButton*>("ButtonAcrossRows"), MapText::AcrossRows, MapText::HintAcrossRows},
        {findChild<QPushButton*>("ButtonAcrossColumns"), MapText::AcrossColumns,
         MapText::HintAcrossColumns},
        {findChild<QPushButton*>("ButtonFromCorners"), MapText::FromCorners,
         MapText::HintFromCorners},
        {findChild<QPushButton*>("ButtonSmooth"), MapText::Smooth, MapText::HintSmooth},
    };
    for (const Caption& caption : captions) {
        caption.button->setText(text(caption.text));
        caption.button->setToolTip(text(caption.hint));
    }
    setValue->setToolTip(text(MapText::HintSet));
    addValue->setToolTip(text(MapText::HintAdd));
    scaleValue->setToolTip(text(MapText::HintScale));
    table->setToolTip(text(MapText::HintTable));
    const auto spoken = [this](AccessText id) {
        return QString::fromStdString(TextIn(id, shownLanguage));
    };
    model->SetLanguage(shownLanguage);
    const std::tuple<QWidget*, QString, QString> named[] = {
        {table, spoken(AccessText::MapTable), text(MapText::HintTable)},
        {setValue, spoken(AccessText::SetValue), text(MapText::HintSet)},
        {addValue, spoken(AccessText::AddValue), text(MapText::HintAdd)},
        {scaleValue, spoken(AccessText::ScaleValue), text(MapText::HintScale)},
        {timeTable, spoken(AccessText::TimeInCellTable), text(MapText::HintTimeInCell)},
        {tabs, spoken(AccessText::Tabs).arg(text(MapText::Title)), QString()},
    };
    for (const auto& [widget, name, description] : named)
        SetReaderName(widget, name, description);
    findChild<QAction*>("ActionCopy")->setText(text(MapText::Copy));
    findChild<QAction*>("ActionPaste")->setText(text(MapText::Paste));
    for (auto [name, caption, hint] :
         {std::tuple{"ActionChangeRpmAxis", MapText::ChangeRpmAxis, MapText::HintChangeRpmAxis},
          std::tuple{"ActionChangeServoRpm", MapText::ChangeServoRpm,
                     MapText::HintChangeServoRpm}}) {
        auto* action = findChild<QAction*>(name);
        action->setText(text(caption));
        action->setToolTip(text(hint));
    }
    tabs->setTabText(0, text(MapText::MapTab));
    tabs->setTabText(1, text(MapText::TimeInCellTab));
    timeTable->SetLanguage(shownLanguage);
    timeTable->setToolTip(text(MapText::HintTimeInCell));
    auto* reset = findChild<QPushButton*>("ButtonResetTime");
    reset->setText(text(MapText::ResetTime));
    reset->setToolTip(text(MapText::HintResetTime));
    ShowTimeTotal();
    statusBar()->clearMessage();
}

void MapTableWindow::ImageShown() {
    model->Refresh();
    const TimeInCellView::Map map = TimeInCellView::MapOf(document.Image());
    if (map.tpsRowsUsed != shownMap.tpsRowsUsed || map.rpm != shownMap.rpm ||
        map.advance != shownMap.advance) {
        shownMap = map;
        timeTable->SetMap(map);
        FitTableHeight();
    }
    if (!table->currentIndex().isValid()) {
        FitTableHeight();
        table->setCurrentIndex(model->index(0, 0));
    }
}

void MapTableWindow::TickDone() {
    const LivePosition live = document.Live();
    std::optional<std::pair<int, int>> cell;
    if (!live.belowMapAxis && live.tpsRow < kMapRows && live.mapRpmColumn < kAxisPoints)
        cell = std::pair{static_cast<int>(live.tpsRow), static_cast<int>(live.mapRpmColumn)};
    model->SetLiveCell(cell);
    timeTable->Refresh(cell, document.LiveCells().Trail(document.CellClock()));
    ShowTimeTotal();
}

void MapTableWindow::ShowTimeTotal() {
    timeTotal->setText(QString::fromStdString(TextIn(MapText::TimeTotal, shownLanguage))
                           .arg(QLocale().toString(document.LiveCells().Total(), 'f', 1)));
}

MapBlock MapTableWindow::SelectedBlock() const {
    QModelIndexList cells = table->selectionModel()->selectedIndexes();
    if (cells.isEmpty())
        cells << (table->currentIndex().isValid() ? table->currentIndex() : model->index(0, 0));
    int top = cells.front().row(), bottom = top;
    int left = cells.front().column(), right = left;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    return model->BlockOf(top, left, bottom, right);
}

void MapTableWindow::SelectCells(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    table->setCurrentIndex(model->index(firstRow, firstColumn));
    table->selectionModel()->select(
        QItemSelection(model->index(firstRow, firstColumn), model->index(lastRow, lastColumn)),
        QItemSelectionModel::ClearAndSelect);
}

void MapTableWindow::Run(const std::function<bool(ParameterImage&, const MapBlock&)>& command) {
    const MapBlock block = SelectedBlock();
    bool clipped = false;
    document.ChangeImage([&](ParameterImage& image) { clipped = command(image, block); });
    ShowClipped(clipped);
}

void MapTableWindow::ShowClipped(bool clipped) {
    if (clipped)
        statusBar()->showMessage(QString::fromStdString(TextIn(MapText::Clipped, shownLanguage)));
    else
        statusBar()->clearMessage();
}

void MapTableWindow::SetSelection(int value) {
    Run([value](ParameterImage& image, const MapBlock& block) {
        return SetBlock(image, block, value);
    });
}

void MapTableWindow::AddToSelection(int delta) {
    Run([delta](ParameterImage& image, const MapBlock& block) {
        return AddToBlock(image, block, delta);
    });
}

void MapTableWindow::ScaleSelection(int percent) {
    Run([percent](ParameterImage& image, const MapBlock& block) {
        return ScaleBlock(image, block, percent);
    });
}

void MapTableWindow::InterpolateSelection(Interpolation direction) {
    Run([direction](ParameterImage& image, const MapBlock& block) {
        std::array<int, 10> throttle{};
        std::copy(TpsBreakpoints.begin(), TpsBreakpoints.end(), throttle.begin());
        return InterpolateBlock(image, block, direction, AxesOf(image, throttle));
    });
}

void MapTableWindow::SmoothSelection() {
    const MapBlock area = model->Area();
    Run([area](ParameterImage& image, const MapBlock& block) {
        return SmoothBlock(image, block, area);
    });
}

void MapTableWindow::CopySelection() {
    std::array<std::string, 10> labels;
    for (int row = 0; row < 10; ++row)
        labels[static_cast<std::size_t>(row)] =
            MapTableModel::RowLabel(row, model->Area()).toStdString();
    QApplication::clipboard()->setText(
        QString::fromStdString(BlockText(document.Image(), SelectedBlock(), labels)));
}

void MapTableWindow::PasteIntoSelection() {
    const auto refuse = [this](MapText reason) {
        auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                    QString::fromStdString(TextIn(reason, shownLanguage)),
                                    QMessageBox::Ok, this);
        box->setObjectName("MapPasteErrorBox");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->show();
    };
    const auto numbers = ParsePastedNumbers(QApplication::clipboard()->text().toStdString());
    if (!numbers) {
        refuse(MapText::PasteNotNumbers);
        return;
    }
    const MapBlock area = model->Area();
    ParameterImage trial = document.Image();
    if (!PasteBlock(trial, SelectedBlock(), *numbers, area).fits) {
        refuse(MapText::PasteTooLarge);
        return;
    }
    Run([&numbers, area](ParameterImage& image, const MapBlock& block) {
        return PasteBlock(image, block, *numbers, area).clipped;
    });
}

bool MapTableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == table) {
        const bool plusMinus = (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Minus) &&
                               !(key->modifiers() & Qt::ControlModifier);
        const bool copy = key->matches(QKeySequence::Copy);
        const bool paste = key->matches(QKeySequence::Paste);
        if (!plusMinus && !copy && !paste)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (plusMinus)
            AddToSelection(key->key() == Qt::Key_Plus ? 1 : -1);
        else if (copy)
            CopySelection();
        else
            PasteIntoSelection();
        return true;
    }
    // Enter in a value field runs its command.
    if (event->type() == QEvent::KeyPress &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        const QString button = watched == setValue     ? "ButtonSet"
                               : watched == addValue   ? "ButtonAdd"
                               : watched == scaleValue ? "ButtonScale"
                                                       : QString();
        if (!button.isEmpty()) {
            static_cast<QSpinBox*>(watched)->interpretText();
            findChild<QPushButton*>(button)->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orna5
