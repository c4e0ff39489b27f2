// The window's controls and where they sit. Controls are created in code,
// repeated ones in loops; every control carries its given name.

#include "app/form/ControlNames.h"
#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/UpDown.h"
#include "params/BikePresets.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace orna5 {

namespace {

namespace fs = fieldScale;

// Width of an edit that must show `text` without clipping.
int EditWidthFor(const QFontMetrics& metrics, const QString& text) {
    return std::max(28, metrics.horizontalAdvance(text) + 10);
}

constexpr int kTableUpDownWidth = 15;
// The ten columns of the map and the servo curve must fit beside the live
// panel at the design width.
constexpr int kTableWidth = 620;

int TableColumnWidth(const QFont& font) {
    return EditWidthFor(QFontMetrics(font), QLocale().toString(20100)) + kTableUpDownWidth + 2;
}

// The window's font, made smaller only as far as the tables need on a
// desktop with large fonts.
QFont TableFont(QFont font) {
    while (10 * TableColumnWidth(font) > kTableWidth && font.pointSizeF() > 6.5)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

// A printer drawn in a few strokes, since the desktop may have no icon theme.
QIcon PrinterIcon(const QColor& ink) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(ink);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 1, 7, 5);
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(1, 6, 13, 6);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 10, 7, 4);
    return QIcon(pixmap);
}

QWidget* Pair(QWidget* parent, QWidget* first, QWidget* second) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    first->setParent(box);
    second->setParent(box);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch(1);
    return box;
}

void KeepSpaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

template <class T> T* TFormHlav::Add(T* widget, const QString& name) {
    widget->setObjectName(name);
    controls.insert(name, widget);
    return widget;
}

QLabel* TFormHlav::MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    return Add(new QLabel(text, parent), name);
}

MouseCheckBox* TFormHlav::MakeCheckBox(QWidget* parent, const QString& name, const QString& text) {
    return Add(new MouseCheckBox(text, parent), name);
}

// The "All" box and the minus and plus buttons of a step command, ending a row.
void TFormHlav::AddAllMinusPlus(QWidget* parent, QHBoxLayout* row, const QString& allName,
                                const QString& minusName, const QString& plusName) {
    auto* all = Add(new QCheckBox("All", parent), allName);
    KeepSpaceWhenHidden(all);
    row->addWidget(all);
    for (const auto& [name, text] : {std::pair{minusName, "-"}, std::pair{plusName, "+"}}) {
        auto* button = Add(new QPushButton(text, parent), name);
        button->setFixedWidth(36);
        KeepSpaceWhenHidden(button);
        row->addWidget(button);
    }
    row->addStretch(1);
}

TFormHlav::SpinEdit TFormHlav::MakeSpin(QWidget* parent, const QString& suffix, int minimum,
                                        int maximum, int increment, int editWidth) {
    SpinEdit spin;
    spin.edit = Add(new QLineEdit(parent), controlName::Edit(suffix));
    spin.upDown = Add(new UpDown(parent), controlName::UpDown(suffix));
    spin.upDown->SetRange(minimum, maximum);
    spin.upDown->SetIncrement(increment);
    spin.upDown->SetThousands(maximum >= 1000);
    spin.upDown->SetAssociate(spin.edit);
    spin.upDown->SetPosition(minimum);
    if (editWidth <= 0) {
        const QString widest =
            spin.upDown->PositionText(maximum).size() >= spin.upDown->PositionText(minimum).size()
                ? spin.upDown->PositionText(maximum)
                : spin.upDown->PositionText(minimum);
        editWidth = EditWidthFor(fontMetrics(), widest);
    }
    spin.edit->setFixedWidth(editWidth);
    spin.edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    spin.upDown->setFixedSize(17, spin.edit->sizeHint().height());
    KeepSpaceWhenHidden(spin.upDown);
    KeepSpaceWhenHidden(spin.edit);
    parameterEdits.append(spin.edit);
    parameterUpDowns.append(spin.upDown);
    return spin;
}

TFormHlav::SpinEdit TFormHlav::ScaledSpin(QWidget* parent, const QString& suffix,
                                          const FieldScale& scale) {
    return MakeSpin(parent, suffix, static_cast<int>(scale.minimum),
                    static_cast<int>(scale.maximum), static_cast<int>(scale.scale));
}

QAction* TFormHlav::MakeAction(QMenu* menu, const QString& name, const QString& text,
                               const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    menu->addAction(action);
    actions.insert(name, action);
    return action;
}

void TFormHlav::CreateControls() {
    setObjectName("FormHlav");
    resize(kDesignWidth, kDesignHeight);

    CreateMenus();

    auto* central = new QWidget(this);
    central->setObjectName("central");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(CreateToolBar());

    auto* body = new QHBoxLayout;
    body->setSpacing(6);
    PageControl1 = Add(new QTabWidget(central), "PageControl1");
    PageControl1->addTab(CreatePageRuzne(), "Miscellaneous");
    PageControl1->addTab(CreatePageBike(), "Bike");
    PageControl1->addTab(CreatePageAdvance(), "Advance Map");
    PageControl1->addTab(CreatePageServo(), "Servo");
    PageControl1->setCurrentIndex(0);
    body->addWidget(PageControl1, 1);
    body->addWidget(CreateMonitorArea());
    layout->addLayout(body, 1);
    setCentralWidget(central);

    auto* statusBar = Add(new QStatusBar(this), "StatusBar1");
    setStatusBar(statusBar);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerInterval);
}

void TFormHlav::CreateMenus() {
    QMenuBar* bar = menuBar();
    auto addMenu = [&](const QString& name, const QString& text) {
        QMenu* menu = bar->addMenu(text);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name + "Action");
        actions.insert(name, menu->menuAction());
        return menu;
    };

    QMenu* file = addMenu("MenuFile", "&File");
    MakeAction(file, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    file->addSeparator();
    MakeAction(file, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    file->addSeparator();
    MakeAction(file, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    file->addSeparator();
    MakeAction(file, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    MakeAction(file, "MenuPrintAll", "Print all");
    MakeAction(file, "MenuExportPdf", "&Export PDF...");
    file->addSeparator();
    MakeAction(file, "MenuExit", "E&xit");

    MenuCom = addMenu("MenuCom", "&Com");

    QMenu* device = addMenu("MenuDevice", "&Ignition");
    MakeAction(device, "MenuRead", "&Read", QKeySequence(Qt::Key_F7));
    MakeAction(device, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8));
    MakeAction(device, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9));

    QMenu* tools = addMenu("MenuTools", "Tools");
    MakeAction(tools, "AdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4));
    MakeAction(tools, "AdvancePlus", "Advance +", QKeySequence(Qt::Key_F5));
    MakeAction(tools, "MenuZpet", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    MakeAction(tools, "MenuZnovu", "Redo", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    tools->addSeparator();
    MakeAction(tools, "MenuKeepRestorePoint", "Keep a restore point before programming");

    // The views beyond the form (charts, tables) add their items here.
    MenuView = addMenu("MenuView", "&View");
    MakeAction(MenuView, "MenuMapTable", "&Map table");

    QMenu* language = addMenu("MenuLanguage", "&Language");
    const char* const languageNames[4] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};
    const char* const languageTexts[4] = {"&English", "&German", "&French", "&Czech"};
    for (int i = 0; i < 4; ++i) {
        languageActions[i] = MakeAction(language, languageNames[i], languageTexts[i]);
        languageActions[i]->setCheckable(true);
    }

    QMenu* help = addMenu("MenuHelp", "&Help");
    MakeAction(help, "MenuContens", "&Contents...", QKeySequence(Qt::Key_F1));
    MakeAction(help, "MenuAbout", "&About...");
}

QWidget* TFormHlav::CreateToolBar() {
    auto* box = Add(new QGroupBox(this), "GroupBoxToolBar");
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto tool = [&](const QString& name, const QIcon& icon) {
        auto* button = Add(new QToolButton(box), name);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setFixedSize(28, 26);
        layout->addWidget(button);
        return button;
    };
    tool("SpeedButton5", style()->standardIcon(QStyle::SP_DialogOpenButton));
    tool("SpeedButton6", style()->standardIcon(QStyle::SP_FileIcon));
    tool("SpeedButton7", style()->standardIcon(QStyle::SP_DialogSaveButton));
    tool("SpeedButtonPrint", PrinterIcon(palette().color(QPalette::WindowText)));
    layout->addSpacing(10);
    tool("SpeedButtonZpet", style()->standardIcon(QStyle::SP_ArrowBack));
    tool("SpeedButtonZnovu", style()->standardIcon(QStyle::SP_ArrowForward));
    layout->addSpacing(16);
    auto button = [&](const QString& name, const QString& text, QStyle::StandardPixmap icon) {
        auto* push = Add(new QPushButton(style()->standardIcon(icon), text, box), name);
        push->setMinimumWidth(96);
        layout->addWidget(push);
        return push;
    };
    button("BitBtnProgram", "Program", QStyle::SP_ArrowUp);
    button("BitBtnVerify", "Verify", QStyle::SP_DialogApplyButton);
    button("ButtonRead", "&Read", QStyle::SP_ArrowDown);
    layout->addStretch(1);
    return box;
}

QWidget* TFormHlav::CreatePageRuzne() {
    auto* page = Add(new QWidget, controlName::Page(ParameterPage::Misc));
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setHorizontalSpacing(20);

    // Left: the engine limits and the clutch master.
    auto* left = new QGridLayout;
    left->setVerticalSpacing(8);
    left->setHorizontalSpacing(12);
    int row = 0;
    auto spinRow = [&](const QString& labelName, const QString& text, const SpinEdit& spin) {
        left->addWidget(MakeLabel(page, labelName, text), row, 0);
        left->addWidget(Pair(page, spin.edit, spin.upDown), row, 1);
        ++row;
    };
    spinRow("LabelOmez2", "Limiter [rpm]", ScaledSpin(page, "Omez2", fs::limiter));
    spinRow("LabelPilotLight", "Gear Shift Light [rpm]",
            ScaledSpin(page, "PilotLight", fs::shiftLight));
    spinRow("LabelPocSynchro", "Revolutions without ignition", MakeSpin(page, "PocSynchro", 0, 40));
    spinRow("LabelClutchTime", "Clutch master time [ms]",
            ScaledSpin(page, "ClutchTime", fs::clutchTime));
    spinRow("LabelClutchPause", "Clutch master pause [ms]",
            ScaledSpin(page, "ClutchPause", fs::clutchPause));
    left->addWidget(MakeCheckBox(page, "CheckBoxBuzDlouhe", "Excitation Long"), row++, 0, 1, 2);

    auto* kompenzLabel = MakeLabel(page, "LabelKompenz", "Compensation ");
    KeepSpaceWhenHidden(kompenzLabel);
    left->addWidget(kompenzLabel, row, 0);
    auto* kompenz = new QWidget(page);
    auto* kompenzLayout = new QHBoxLayout(kompenz);
    kompenzLayout->setContentsMargins(0, 0, 0, 0);
    kompenzLayout->setSpacing(0);
    for (int i = 1; i <= 4; ++i) {
        SpinEdit spin = MakeSpin(kompenz, QString("Kompenz%1").arg(i), 0, 255);
        kompenzLayout->addWidget(spin.edit);
        kompenzLayout->addWidget(spin.upDown);
        kompenzLayout->addSpacing(2);
    }
    kompenzLayout->addStretch(1);
    left->addWidget(kompenz, row++, 1);

    // The throttle sensor calibration.
    auto* tps = Add(new QGroupBox("TPS", page), "GroupBoxTps");
    auto* tpsLayout = new QGridLayout(tps);
    tpsLayout->setHorizontalSpacing(10);
    SpinEdit tps0 = ScaledSpin(tps, "Tps0", fs::tpsZero);
    SpinEdit tps100 = ScaledSpin(tps, "Tps100", fs::tpsFull);
    tpsLayout->addWidget(MakeLabel(tps, "LabelTpsZero", "0%  [mV]"), 0, 0);
    tpsLayout->addWidget(Pair(tps, tps0.edit, tps0.upDown), 0, 1);
    tpsLayout->addWidget(Add(new QPushButton("Set TPS 0 %", tps), "BitBtnTps0"), 0, 2);
    tpsLayout->addWidget(MakeLabel(tps, "LabelTpsFull", "100%  [mv]"), 1, 0);
    tpsLayout->addWidget(Pair(tps, tps100.edit, tps100.upDown), 1, 1);
    tpsLayout->addWidget(Add(new QPushButton("Set TPS 100 %", tps), "BitBtnTps100"), 1, 2);
    tpsLayout->setColumnStretch(3, 1);
    left->addWidget(tps, row++, 0, 1, 2);
    left->setRowStretch(row, 1);
    layout->addLayout(left, 0, 0);

    // Right: the two configurable inputs.
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(
        MakeCheckBox(page, "CheckBoxInNeutralSs", "Inputs for neutral side and stand"));
    auto radioGroup = [&](const QString& name, const QString& title, int count,
                          QButtonGroup*& buttons) {
        auto* box = Add(new QGroupBox(title, page), name);
        auto* boxLayout = new QVBoxLayout(box);
        buttons = new QButtonGroup(box);
        buttons->setObjectName(name + "Buttons");
        for (int i = 0; i < count; ++i) {
            auto* radio = new QRadioButton(box);
            radio->setObjectName(QString("%1Item%2").arg(name).arg(i));
            buttons->addButton(radio, i);
            boxLayout->addWidget(radio);
        }
        right->addWidget(box);
    };
    radioGroup("RadioGroupInput1", "Input 1", 3, input1Buttons);
    radioGroup("RadioGroupInput2", "Input 2", 5, input2Buttons);
    right->addWidget(MakeLabel(page, "LabelMonInput1In", "Input 1: ---"));
    right->addWidget(MakeLabel(page, "LabelMonInput2In", "Input 2: ---"));
    right->addStretch(1);
    layout->addLayout(right, 0, 1);
    layout->setColumnStretch(2, 1);
    return page;
}

QWidget* TFormHlav::CreatePageBike() {
    auto* page = Add(new QWidget, controlName::Page(ParameterPage::Bike));
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(10, 12, 8, 12);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(8);

    auto* bikeRow = new QHBoxLayout;
    bikeRow->setSpacing(8);
    bikeRow->addWidget(MakeLabel(page, "LabelBike", "Motorbike type"));
    auto* bike = Add(new QComboBox(page), "ComboBoxBike");
    for (int i = 0; i < kBikeCount; ++i)
        bike->addItem(QString::fromStdString(BikeListText(i)));
    bike->setMaxVisibleItems(kBikeCount);
    bike->setMinimumContentsLength(40);
    bikeRow->addWidget(bike);
    bikeRow->addStretch(1);
    layout->addLayout(bikeRow, 0, 0, 1, 2);

    // The synchronisation set-up. The channel boxes are flat so that their
    // columns line up with the headings above them.
    auto* special = Add(new QGroupBox("Specification of synchronization - Caution - For "
                                      "experienced user only!",
                                      page),
                        "GroupBoxSpecial");
    auto* outer = new QVBoxLayout(special);
    outer->setSpacing(6);
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(12);
    head->setVerticalSpacing(6);
    auto* synchro = Add(new QComboBox(special), "ComboBoxSynchro");
    for (int i = 0; i < 8; ++i)
        synchro->addItem(QString::fromStdString(MethodText(i)));
    // The method list sits under its label, across the group: its longest
    // entries would otherwise widen the window in some languages.
    head->addWidget(MakeLabel(special, "LabelSynchro", "Synchronization method"), 0, 0, 1, 3);
    head->addWidget(synchro, 1, 0, 1, 3);
    SpinEdit lobes = MakeSpin(special, "PocPalcu", 1, 58);
    head->addWidget(MakeLabel(special, "LabelPocPalcu", "Number of lobes"), 2, 0);
    head->addWidget(Pair(special, lobes.edit, lobes.upDown), 2, 1);
    SpinEdit outputs = MakeSpin(special, "PocKanalu", 1, 4);
    head->addWidget(MakeLabel(special, "LabelPocKanalu", "Number of outputs (coils)"), 3, 0);
    head->addWidget(Pair(special, outputs.edit, outputs.upDown), 3, 1);
    head->setColumnStretch(2, 1);
    outer->addLayout(head);

    // The channel rows share their columns with the headings above them.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(4, 1);
    channelGrids = {grid};
    grid->addWidget(MakeLabel(special, "LabelLobe", "Lobe"), 0, 1);
    grid->addWidget(MakeLabel(special, "LabelHrana2", "2nd Edge"), 0, 2, Qt::AlignHCenter);
    grid->addWidget(MakeLabel(special, "LabelSnimac2", "2nd Pick-up"), 0, 3, Qt::AlignHCenter);
    for (int channel = 1; channel <= 4; ++channel) {
        auto* box = Add(new QGroupBox(QString("Channel %1").arg(channel), special),
                        QString("GroupBoxPalec%1").arg(channel));
        box->setFlat(true);
        auto* boxGrid = new QGridLayout(box);
        boxGrid->setContentsMargins(0, 4, 0, 2);
        boxGrid->setHorizontalSpacing(8);
        boxGrid->setVerticalSpacing(2);
        boxGrid->setColumnStretch(4, 1);
        channelGrids.append(boxGrid);
        const char* const events[2] = {"Zac", "End"};
        const char* const texts[2] = {"Maximum advance", "Start advance"};
        for (int e = 0; e < 2; ++e) {
            const QString name = QString("Palec%1%2").arg(channel).arg(events[e]);
            SpinEdit spin = MakeSpin(box, name, 1, 58);
            boxGrid->addWidget(MakeLabel(box, "Label" + name, texts[e]), e, 0);
            boxGrid->addWidget(Pair(box, spin.edit, spin.upDown), e, 1);
            boxGrid->addWidget(MakeCheckBox(box, "CheckBox" + name + "H2", QString()), e, 2,
                               Qt::AlignHCenter);
            auto* pickup2 = MakeCheckBox(box, "CheckBox" + name + "P2", QString());
            KeepSpaceWhenHidden(pickup2);
            boxGrid->addWidget(pickup2, e, 3, Qt::AlignHCenter);
        }
        grid->addWidget(box, channel, 0, 1, 5);
    }
    outer->addLayout(grid);
    auto* perRev = Add(new QComboBox(special), "ComboBoxNasobekPalcu");
    for (int i = 0; i < 4; ++i)
        perRev->addItem(QString::fromStdString(LobesPerRevText(i)));
    outer->addWidget(perRev, 0, Qt::AlignLeft);
    AlignChannelColumns();
    layout->addWidget(special, 1, 0, Qt::AlignTop);

    // Right: the tachometer output, the pick-up polarity and what the unit
    // and the file say about themselves.
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    auto* rpm = Add(new QGroupBox("Tachometer output", page), "GroupBoxRpm");
    auto* rpmGrid = new QGridLayout(rpm);
    SpinEdit pulses = MakeSpin(rpm, "RpmPulsu", 0, 6);
    SpinEdit correction = ScaledSpin(rpm, "RpmKorekce", fs::tachoCorrection);
    rpmGrid->addWidget(MakeLabel(rpm, "LabelRpmPulsu", "Pulses per revolution"), 0, 0);
    rpmGrid->addWidget(Pair(rpm, pulses.edit, pulses.upDown), 0, 1);
    rpmGrid->addWidget(MakeLabel(rpm, "LabelRpmKorekce", "Correction [%]"), 1, 0);
    rpmGrid->addWidget(Pair(rpm, correction.edit, correction.upDown), 1, 1);
    right->addWidget(rpm);
    right->addWidget(MakeCheckBox(page, "CheckBoxInvInput1", "Inverse polarity of pick-up 1"));
    auto* inv2 = MakeCheckBox(page, "CheckBoxInvInput2", "Inverse polarity of pick-up 2");
    KeepSpaceWhenHidden(inv2);
    right->addWidget(inv2);
    right->addSpacing(12);
    for (int i = 1; i <= 3; ++i)
        right->addWidget(MakeLabel(page, QString("LabelVerze%1").arg(i), QString()));
    right->addWidget(MakeLabel(page, "LabelPocetProgramovani", "Number of Programing= ---"));
    right->addStretch(1);
    layout->addLayout(right, 1, 1);

    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(6);
    fileRow->addWidget(MakeLabel(page, "LabelFile1", "File:"));
    auto* fileName = MakeLabel(page, "LabelFile2", QString());
    fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window.
    fileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fileRow->addWidget(fileName, 1);
    layout->addLayout(fileRow, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget* TFormHlav::CreatePageAdvance() {
    auto* page = Add(new QWidget, controlName::Page(ParameterPage::Advance));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(CreateMapGrid(page), 0, Qt::AlignLeft);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    SpinEdit base = ScaledSpin(page, "BaseAdv", fs::baseAdvance);
    row->addWidget(MakeLabel(page, "LabelBaseAdv", "Base advance [°]"));
    row->addWidget(base.edit);
    row->addWidget(base.upDown);
    row->addSpacing(24);
    row->addWidget(MakeCheckBox(page, "CheckBoxTpsMapa", "TPS"));
    row->addSpacing(24);
    AddAllMinusPlus(page, row, "CheckBoxIgnAll", "BitBtnAdvMinus", "BitBtnAdvPlus");
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

// The map sits at fixed places in its own widget: the rule that lifts the
// last throttle row to the top when the map has no throttle rows works on
// pixel positions.
QWidget* TFormHlav::CreateMapGrid(QWidget* parent) {
    mapGrid = new QWidget(parent);
    mapGrid->setObjectName("mapGrid");
    mapGrid->setFont(TableFont(font()));
    const QFontMetrics metrics(mapGrid->font());
    const int editWidth = EditWidthFor(metrics, QLocale().toString(20100));
    const int upDownWidth = kTableUpDownWidth;
    const int columnWidth = TableColumnWidth(mapGrid->font());
    const int labelWidth = metrics.horizontalAdvance("100%") + 14;
    QLineEdit sample;
    sample.setFont(mapGrid->font());
    const int rowHeight = sample.sizeHint().height();
    const int rowPitch = rowHeight + 2;
    const int firstRowTop = rowHeight + 10;

    auto place = [&](const SpinEdit& spin, int column, int top) {
        const int x = labelWidth + column * columnWidth;
        spin.edit->setGeometry(x, top, editWidth, rowHeight);
        spin.upDown->setGeometry(x + editWidth, top, upDownWidth, rowHeight);
    };

    MakeLabel(mapGrid, "LabelRpm1", "[rpm]")->setGeometry(0, 4, labelWidth, rowHeight - 8);
    for (int c = 0; c < 10; ++c)
        place(MakeSpin(mapGrid, controlName::MapRpmSuffix(c), c == 0 ? 199 : fs::mapRpm.minimum,
                       fs::mapRpm.maximum, fs::mapRpm.scale, editWidth),
              c, 0);
    for (int r = 0; r < 10; ++r) {
        const int top = firstRowTop + r * rowPitch;
        auto* label = MakeLabel(mapGrid, QString("LabelTps%1").arg(r + 1),
                                QString::fromStdString(TpsRowLabel(r)));
        label->setGeometry(0, top + 4, labelWidth - 6, rowHeight - 6);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int c = 0; c < 10; ++c)
            place(MakeSpin(mapGrid, controlName::MapCellSuffix(r, c), fs::mapAdvance.minimum,
                           fs::mapAdvance.maximum, fs::mapAdvance.scale, editWidth),
                  c, top);
    }
    const int spinTop = firstRowTop + 10 * rowPitch + 4;
    for (int c = 0; c < 10; ++c) {
        auto* spin = Add(new SpinButton(mapGrid), QString("CSpinButton%1").arg(c + 1));
        spin->setGeometry(labelWidth + c * columnWidth + (editWidth + upDownWidth - 20) / 2,
                          spinTop, 20, rowHeight + 4);
        KeepSpaceWhenHidden(spin);
    }
    mapGrid->setFixedSize(labelWidth + 10 * columnWidth, spinTop + rowHeight + 6);
    return mapGrid;
}

QWidget* TFormHlav::CreatePageServo() {
    auto* page = Add(new QWidget, controlName::Page(ParameterPage::Servo));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(MakeCheckBox(page, "CheckBoxPrivEnable", "Servo enable"));

    auto* group = Add(new QGroupBox("Servo", page), "GroupBoxPrivera");
    auto* groupLayout = new QVBoxLayout(group);
    auto* table = new QWidget(group);
    table->setFont(TableFont(font()));
    auto* curve = new QGridLayout(table);
    curve->setContentsMargins(0, 0, 0, 0);
    curve->setHorizontalSpacing(2);
    curve->setVerticalSpacing(6);
    const int editWidth = EditWidthFor(QFontMetrics(table->font()), QLocale().toString(20100));
    curve->addWidget(MakeLabel(table, "LabelRpmPriv", "[rpm]"), 0, 0);
    curve->addWidget(MakeLabel(table, "LabelNapPriv", "[mV]"), 1, 0);
    for (int j = 0; j < 10; ++j) {
        SpinEdit rpm =
            MakeSpin(table, QString("RpmPriv%1").arg(j + 1), j < 2 ? 200 : fs::servoRpm.minimum,
                     fs::servoRpm.maximum, fs::servoRpm.scale, editWidth);
        SpinEdit mv = MakeSpin(table, QString("NapPriv%1").arg(j + 1), fs::servoMv.minimum,
                               fs::servoMv.maximum, fs::servoMv.scale, editWidth);
        rpm.upDown->setFixedWidth(kTableUpDownWidth);
        mv.upDown->setFixedWidth(kTableUpDownWidth);
        curve->addWidget(Pair(table, rpm.edit, rpm.upDown), 0, j + 1);
        curve->addWidget(Pair(table, mv.edit, mv.upDown), 1, j + 1);
    }
    curve->setColumnStretch(11, 1);
    groupLayout->addWidget(table);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    SpinEdit hysteresis = ScaledSpin(group, "PrivHyster", fs::servoHysteresis);
    row->addWidget(MakeLabel(group, "LabelServoHyster", "Servo Hysteresis [mV]"));
    row->addWidget(hysteresis.edit);
    row->addWidget(hysteresis.upDown);
    row->addSpacing(24);
    AddAllMinusPlus(group, row, "CheckBoxServoAll", "BitBtnServoMinus", "BitBtnServoPlus");
    groupLayout->addLayout(row);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* TFormHlav::CreateMonitorArea() {
    auto* area = new QWidget(this);
    area->setObjectName("monitorArea");
    // Wide enough for the longest fixed caption, "Programming after change" in
    // German.
    area->setFixedWidth(224);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    auto* logo = MakeLabel(area, "Image1", "ORNA-5");
    QFont logoFont = logo->font();
    logoFont.setPointSizeF(logoFont.pointSizeF() * 2.2);
    logoFont.setBold(true);
    logo->setFont(logoFont);
    logo->setAlignment(Qt::AlignCenter);
    logo->setFrameShape(QFrame::Panel);
    logo->setFrameShadow(QFrame::Sunken);
    logo->setMinimumHeight(44);
    layout->addWidget(logo);

    auto* connection = MakeLabel(area, "LabelSpojeni", "No connection with PC");
    connection->setAlignment(Qt::AlignCenter);
    connection->setStyleSheet("QLabel { color: white; background-color: red; padding: 3px; }");
    layout->addWidget(connection);

    auto gauge = [&](const QString& name) {
        auto* bar = Add(new QProgressBar(area), name);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setFixedHeight(12);
        return bar;
    };
    auto live = [&](const QString& name, const QString& text) {
        auto* label = MakeLabel(area, name, text);
        label->setAutoFillBackground(true);
        layout->addWidget(label);
        return label;
    };
    live("LabelRpm", "RPM = ---");
    layout->addWidget(gauge("CGaugeRpm"));
    live("LabelTpsMon", "TP= --- [%]");
    layout->addWidget(gauge("CGaugeTps"));
    live("LabelNapeti", "U = --- [V]");
    for (int c = 1; c <= 4; ++c)
        live(QString("LabelAdvance%1").arg(c), QString("Advance %1 = --- [°]").arg(c));
    live("LabelMonSnimac1", "Pick-up (CKPS) 1 = ---");
    live("LabelMonSnimac2", "Pick-up (CKPS) 2 = ---");
    live("LabelMonPilotLight", "Gear Shift Light - ---");
    live("LabelClutchMon", "Clutch master - ---");
    live("LabelKillSwitch", "Kill switch: ---");
    live("LabelBlocking1", "Motor off - ---");
    live("LabelPriveraPoz", "Servo desired= ---");
    live("LabelPriveraMer", "Servo measured= ---");
    layout->addSpacing(8);

    // What the running operation says.
    auto* status = live("LabelHlaseni", QString());
    status->setWordWrap(true);
    auto* progress = gauge("CGaugeProgram");
    progress->setRange(0, 2);
    layout->addWidget(progress);
    // Beside a "Verify error!": what the unit holds against the window.
    auto* differs = Add(new QPushButton("What differs...", area), "ButtonWhatDiffers");
    differs->hide();
    layout->addWidget(differs);
    auto* dataError = live("LabelEeDataErr", "Programmed data error");
    dataError->setStyleSheet("QLabel { background-color: red; }");
    live("LabelVersion", QString())->setWordWrap(true);
    layout->addSpacing(8);
    for (int i = 1; i <= 8; ++i)
        live(QString("LabelTest%1").arg(i), QString("Test%1 = ---").arg(i))->hide();
    layout->addStretch(1);

    auto* programAfterChange = MakeCheckBox(area, "CheckBoxProgHned", "Programming after change");
    programAfterChange->setAutoFillBackground(true);
    layout->addWidget(programAfterChange);
    return area;
}

// The channel boxes and the headings above them keep one set of columns,
// sized for the captions of the current language.
void TFormHlav::AlignChannelColumns() {
    int label = 0;
    for (int channel = 1; channel <= 4; ++channel)
        for (const char* event : {"Zac", "End"})
            label = std::max(
                label,
                Widget(QString("LabelPalec%1%2").arg(channel).arg(event))->sizeHint().width());
    const int check = std::max(Widget("LabelHrana2")->sizeHint().width(),
                               Widget("LabelSnimac2")->sizeHint().width()) +
                      8;
    for (QGridLayout* grid : channelGrids) {
        grid->setColumnMinimumWidth(0, label + 8);
        grid->setColumnMinimumWidth(1, 64);
        grid->setColumnMinimumWidth(2, check);
        grid->setColumnMinimumWidth(3, check);
    }
}

// Row 9 of the map is the only row without throttle rows; it then sits where
// the first row would be.
void TFormHlav::PlaceMapRow9() {
    const bool tps = Control<QCheckBox>("CheckBoxTpsMapa")->isChecked();
    const int top = (tps ? TpsRowLabels[9] : TpsRowLabels[0])->y() - 4;
    for (int c = 0; c < 10; ++c) {
        MapEdits[90 + c]->move(MapEdits[90 + c]->x(), top);
        MapUpDowns[90 + c]->move(MapUpDowns[90 + c]->x(), top);
    }
}

} // namespace orna5
