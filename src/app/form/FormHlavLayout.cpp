// The window's controls and where they sit. Controls are created in code,
// repeated ones in loops; every control carries its given name.

#include "app/Document.h"
#include "app/form/ControlNames.h"
#include "app/form/FormHlav.h"
#include "app/widgets/MouseCheckBox.h"
#include "app/widgets/ReaderName.h"
#include "app/widgets/UpDown.h"
#include "lang/AccessTexts.h"
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

// The caption of a label, in whatever language it shows.
std::function<QString()> CaptionOf(const QLabel* label) {
    return [label] { return Spoken(label->text()); };
}

void KeepSpaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

// The names stay only until the text table's rows are bound to the controls
// (BindControlTexts); every other routine reaches a control through its
// member.
void TFormHlav::NameForTexts(const QString& name, QObject* control) {
    if (namesForTexts.contains(name))
        qFatal("orna5: two controls named %s", qPrintable(name));
    namesForTexts.insert(name, control);
}

QLabel* TFormHlav::MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    return Add(new QLabel(text, parent), name);
}

// Every check box made here is a parameter's, or "Programming after change".
MouseCheckBox* TFormHlav::MakeCheckBox(QWidget* parent, const QString& name, const QString& text) {
    auto* box = Add(new MouseCheckBox(text, parent), name);
    parameterCheckBoxes.append(box);
    return box;
}

void TFormHlav::EndStepRow(QHBoxLayout* row, QCheckBox* all, QPushButton* minus,
                           QPushButton* plus) {
    KeepSpaceWhenHidden(all);
    row->addWidget(all);
    for (QPushButton* button : {minus, plus}) {
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
    auto* action = Add(new QAction(text, this), name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    menu->addAction(action);
    menuCommands.append(action);
    return action;
}

void TFormHlav::CreateControls() {
    setObjectName("FormHlav");
    NameForTexts("FormHlav", this);
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

    StatusBar1 = Add(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);

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
        // The menu's caption is its action's text.
        NameForTexts(name, menu->menuAction());
        return menu;
    };

    MenuFile = addMenu("MenuFile", "&File");
    MenuNew = MakeAction(MenuFile, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    MenuFile->addSeparator();
    MenuOpen = MakeAction(MenuFile, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    MenuFile->addSeparator();
    MenuSave = MakeAction(MenuFile, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    MenuFile->addSeparator();
    MenuPrint = MakeAction(MenuFile, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuPrintDialog = MakeAction(MenuFile, "MenuPrintDialog", "P&rint...",
                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    MenuPrintAll = MakeAction(MenuFile, "MenuPrintAll", "Print all");
    MenuExportPdf = MakeAction(MenuFile, "MenuExportPdf", "&Export PDF...");
    MenuFile->addSeparator();
    MenuExit = MakeAction(MenuFile, "MenuExit", "E&xit");

    MenuCom = addMenu("MenuCom", "&Com");

    QMenu* device = addMenu("MenuDevice", "&Ignition");
    MenuRead = MakeAction(device, "MenuRead", "&Read", QKeySequence(Qt::Key_F7));
    MenuVerify = MakeAction(device, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8));
    MenuProgram = MakeAction(device, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9));

    MenuTools = addMenu("MenuTools", "Tools");
    AdvanceMinus = MakeAction(MenuTools, "AdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4));
    AdvancePlus = MakeAction(MenuTools, "AdvancePlus", "Advance +", QKeySequence(Qt::Key_F5));
    MenuZpet = MakeAction(MenuTools, "MenuZpet", "Undo", Document::UndoKeys());
    MenuZnovu = MakeAction(MenuTools, "MenuZnovu", "Redo", Document::RedoKeys());
    MenuTools->addSeparator();
    MenuKeepRestorePoint =
        MakeAction(MenuTools, "MenuKeepRestorePoint", "Keep a restore point before programming");

    // The views beyond the form (charts, tables) add their items here.
    MenuView = addMenu("MenuView", "&View");
    MenuMapTable = MakeAction(MenuView, "MenuMapTable", "&Map table");

    QMenu* language = addMenu("MenuLanguage", "&Language");
    const char* const languageNames[4] = {"MenuEnglish", "MenuGerman", "MenuFrench", "MenuCzech"};
    const char* const languageTexts[4] = {"&English", "&German", "&French", "&Czech"};
    for (int i = 0; i < 4; ++i) {
        languageActions[i] = MakeAction(language, languageNames[i], languageTexts[i]);
        languageActions[i]->setCheckable(true);
    }

    QMenu* help = addMenu("MenuHelp", "&Help");
    MenuContens = MakeAction(help, "MenuContens", "&Contents...", QKeySequence(Qt::Key_F1));
    MenuAbout = MakeAction(help, "MenuAbout", "&About...");
}

QWidget* TFormHlav::CreateToolBar() {
    GroupBoxToolBar = Add(new QGroupBox(this), "GroupBoxToolBar");
    auto* layout = new QHBoxLayout(GroupBoxToolBar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto tool = [&](const QString& name, const QIcon& icon) {
        auto* button = Add(new QToolButton(GroupBoxToolBar), name);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setFixedSize(28, 26);
        layout->addWidget(button);
        return button;
    };
    SpeedButton5 = tool("SpeedButton5", style()->standardIcon(QStyle::SP_DialogOpenButton));
    SpeedButton6 = tool("SpeedButton6", style()->standardIcon(QStyle::SP_FileIcon));
    SpeedButton7 = tool("SpeedButton7", style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButtonPrint = tool("SpeedButtonPrint", PrinterIcon(palette().color(QPalette::WindowText)));
    layout->addSpacing(10);
    SpeedButtonZpet = tool("SpeedButtonZpet", style()->standardIcon(QStyle::SP_ArrowBack));
    SpeedButtonZnovu = tool("SpeedButtonZnovu", style()->standardIcon(QStyle::SP_ArrowForward));
    layout->addSpacing(16);
    auto button = [&](const QString& name, const QString& text, QStyle::StandardPixmap icon) {
        auto* push = Add(new QPushButton(style()->standardIcon(icon), text, GroupBoxToolBar), name);
        push->setMinimumWidth(96);
        layout->addWidget(push);
        return push;
    };
    BitBtnProgram = button("BitBtnProgram", "Program", QStyle::SP_ArrowUp);
    BitBtnVerify = button("BitBtnVerify", "Verify", QStyle::SP_DialogApplyButton);
    ButtonRead = button("ButtonRead", "&Read", QStyle::SP_ArrowDown);
    layout->addStretch(1);
    return GroupBoxToolBar;
}

QWidget* TFormHlav::CreatePageRuzne() {
    TabSheetRuzne = Add(new QWidget, controlName::Page(ParameterPage::Misc));
    QWidget* page = TabSheetRuzne;
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setHorizontalSpacing(20);

    // Left: the engine limits and the clutch master.
    auto* left = new QGridLayout;
    left->setVerticalSpacing(8);
    left->setHorizontalSpacing(12);
    int row = 0;
    auto spinRow = [&](const QString& labelName, const QString& text, const SpinEdit& spin) {
        QLabel* label = MakeLabel(page, labelName, text);
        left->addWidget(label, row, 0);
        left->addWidget(Pair(page, spin.edit, spin.upDown), row, 1);
        NameSpinForReaders(spin, CaptionOf(label));
        ++row;
        return label;
    };
    const SpinEdit limiter = ScaledSpin(page, "Omez2", fs::limiter);
    UpDownOmez2 = limiter.upDown;
    spinRow("LabelOmez2", "Limiter [rpm]", limiter);
    const SpinEdit shiftLight = ScaledSpin(page, "PilotLight", fs::shiftLight);
    UpDownPilotLight = shiftLight.upDown;
    spinRow("LabelPilotLight", "Gear Shift Light [rpm]", shiftLight);
    const SpinEdit withoutIgnition = MakeSpin(page, "PocSynchro", 0, 40);
    UpDownPocSynchro = withoutIgnition.upDown;
    spinRow("LabelPocSynchro", "Revolutions without ignition", withoutIgnition);
    const SpinEdit clutchTime = ScaledSpin(page, "ClutchTime", fs::clutchTime);
    EditClutchTime = clutchTime.edit;
    UpDownClutchTime = clutchTime.upDown;
    LabelClutchTime = spinRow("LabelClutchTime", "Clutch master time [ms]", clutchTime);
    const SpinEdit clutchPause = ScaledSpin(page, "ClutchPause", fs::clutchPause);
    EditClutchPause = clutchPause.edit;
    UpDownClutchPause = clutchPause.upDown;
    LabelClutchPause = spinRow("LabelClutchPause", "Clutch master pause [ms]", clutchPause);
    CheckBoxBuzDlouhe = MakeCheckBox(page, "CheckBoxBuzDlouhe", "Excitation Long");
    left->addWidget(CheckBoxBuzDlouhe, row++, 0, 1, 2);

    LabelKompenz = MakeLabel(page, "LabelKompenz", "Compensation ");
    KeepSpaceWhenHidden(LabelKompenz);
    left->addWidget(LabelKompenz, row, 0);
    auto* kompenz = new QWidget(page);
    auto* kompenzLayout = new QHBoxLayout(kompenz);
    kompenzLayout->setContentsMargins(0, 0, 0, 0);
    kompenzLayout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        SpinEdit spin = MakeSpin(kompenz, QString("Kompenz%1").arg(i + 1), 0, 255);
        CompensationEdits[i] = spin.edit;
        CompensationUpDowns[i] = spin.upDown;
        NameSpinForReaders(spin, [this, i] {
            return QString::fromStdString(TextIn(AccessText::Compensation, languageIndex))
                .arg(i + 1);
        });
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
    const SpinEdit tps0 = ScaledSpin(tps, "Tps0", fs::tpsZero);
    const SpinEdit tps100 = ScaledSpin(tps, "Tps100", fs::tpsFull);
    UpDownTps0 = tps0.upDown;
    UpDownTps100 = tps100.upDown;
    const auto inTps = [this, tps](const QLabel* label) {
        return [this, tps, label] {
            return QString::fromStdString(TextIn(AccessText::InGroup, languageIndex))
                .arg(Spoken(tps->title()), Spoken(label->text()));
        };
    };
    QLabel* tpsZero = MakeLabel(tps, "LabelTpsZero", "0%  [mV]");
    tpsLayout->addWidget(tpsZero, 0, 0);
    tpsLayout->addWidget(Pair(tps, tps0.edit, tps0.upDown), 0, 1);
    NameSpinForReaders(tps0, inTps(tpsZero));
    BitBtnTps0 = Add(new QPushButton("Set TPS 0 %", tps), "BitBtnTps0");
    tpsLayout->addWidget(BitBtnTps0, 0, 2);
    QLabel* tpsFull = MakeLabel(tps, "LabelTpsFull", "100%  [mv]");
    tpsLayout->addWidget(tpsFull, 1, 0);
    tpsLayout->addWidget(Pair(tps, tps100.edit, tps100.upDown), 1, 1);
    NameSpinForReaders(tps100, inTps(tpsFull));
    BitBtnTps100 = Add(new QPushButton("Set TPS 100 %", tps), "BitBtnTps100");
    tpsLayout->addWidget(BitBtnTps100, 1, 2);
    tpsLayout->setColumnStretch(3, 1);
    left->addWidget(tps, row++, 0, 1, 2);
    left->setRowStretch(row, 1);
    layout->addLayout(left, 0, 0);

    // Right: the two configurable inputs.
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    CheckBoxInNeutralSs =
        MakeCheckBox(page, "CheckBoxInNeutralSs", "Inputs for neutral side and stand");
    right->addWidget(CheckBoxInNeutralSs);
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
        return box;
    };
    RadioGroupInput1 = radioGroup("RadioGroupInput1", "Input 1", 3, input1Buttons);
    RadioGroupInput2 = radioGroup("RadioGroupInput2", "Input 2", 5, input2Buttons);
    LabelMonInput1In = MakeLabel(page, "LabelMonInput1In", "Input 1: ---");
    LabelMonInput2In = MakeLabel(page, "LabelMonInput2In", "Input 2: ---");
    right->addWidget(LabelMonInput1In);
    right->addWidget(LabelMonInput2In);
    right->addStretch(1);
    layout->addLayout(right, 0, 1);
    layout->setColumnStretch(2, 1);
    return page;
}

QWidget* TFormHlav::CreatePageBike() {
    TabSheetBike = Add(new QWidget, controlName::Page(ParameterPage::Bike));
    QWidget* page = TabSheetBike;
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(10, 12, 8, 12);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(8);

    auto* bikeRow = new QHBoxLayout;
    bikeRow->setSpacing(8);
    QLabel* bikeLabel = MakeLabel(page, "LabelBike", "Motorbike type");
    bikeRow->addWidget(bikeLabel);
    ComboBoxBike = Add(new QComboBox(page), "ComboBoxBike");
    NameForReaders(ComboBoxBike, CaptionOf(bikeLabel));
    for (int i = 0; i < kBikeCount; ++i)
        ComboBoxBike->addItem(QString::fromStdString(BikeListText(i)));
    ComboBoxBike->setMaxVisibleItems(kBikeCount);
    ComboBoxBike->setMinimumContentsLength(40);
    bikeRow->addWidget(ComboBoxBike);
    bikeRow->addStretch(1);
    layout->addLayout(bikeRow, 0, 0, 1, 2);

    // The synchronisation set-up. The channel boxes are flat so that their
    // columns line up with the headings above them.
    GroupBoxSpecial = Add(new QGroupBox("Specification of synchronization - Caution - For "
                                        "experienced user only!",
                                        page),
                          "GroupBoxSpecial");
    QGroupBox* special = GroupBoxSpecial;
    auto* outer = new QVBoxLayout(special);
    outer->setSpacing(6);
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(12);
    head->setVerticalSpacing(6);
    ComboBoxSynchro = Add(new QComboBox(special), "ComboBoxSynchro");
    for (int i = 0; i < 8; ++i)
        ComboBoxSynchro->addItem(QString::fromStdString(MethodText(i)));
    // The method list sits under its label, across the group: its longest
    // entries would otherwise widen the window in some languages.
    LabelSynchro = MakeLabel(special, "LabelSynchro", "Synchronization method");
    head->addWidget(LabelSynchro, 0, 0, 1, 3);
    head->addWidget(ComboBoxSynchro, 1, 0, 1, 3);
    NameForReaders(ComboBoxSynchro, CaptionOf(LabelSynchro));
    const SpinEdit lobes = MakeSpin(special, "PocPalcu", 1, 58);
    EditPocPalcu = lobes.edit;
    UpDownPocPalcu = lobes.upDown;
    LabelPocPalcu = MakeLabel(special, "LabelPocPalcu", "Number of lobes");
    head->addWidget(LabelPocPalcu, 2, 0);
    head->addWidget(Pair(special, lobes.edit, lobes.upDown), 2, 1);
    NameSpinForReaders(lobes, CaptionOf(LabelPocPalcu));
    const SpinEdit outputs = MakeSpin(special, "PocKanalu", 1, 4);
    EditPocKanalu = outputs.edit;
    UpDownPocKanalu = outputs.upDown;
    LabelPocKanalu = MakeLabel(special, "LabelPocKanalu", "Number of outputs (coils)");
    head->addWidget(LabelPocKanalu, 3, 0);
    head->addWidget(Pair(special, outputs.edit, outputs.upDown), 3, 1);
    NameSpinForReaders(outputs, CaptionOf(LabelPocKanalu));
    head->setColumnStretch(2, 1);
    outer->addLayout(head);

    // The channel rows share their columns with the headings above them.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(4, 1);
    channelGrids = {grid};
    LabelLobe = MakeLabel(special, "LabelLobe", "Lobe");
    grid->addWidget(LabelLobe, 0, 1);
    LabelHrana2 = MakeLabel(special, "LabelHrana2", "2nd Edge");
    grid->addWidget(LabelHrana2, 0, 2, Qt::AlignHCenter);
    LabelSnimac2 = MakeLabel(special, "LabelSnimac2", "2nd Pick-up");
    grid->addWidget(LabelSnimac2, 0, 3, Qt::AlignHCenter);
    for (int channel = 1; channel <= 4; ++channel) {
        auto* box = Add(new QGroupBox(QString("Channel %1").arg(channel), special),
                        QString("GroupBoxPalec%1").arg(channel));
        ChannelGroupBoxes[channel - 1] = box;
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
            const std::size_t at = 4 * e + channel - 1;
            const SpinEdit spin = MakeSpin(box, name, 1, 58);
            LobeEdits[at] = spin.edit;
            LobeUpDowns[at] = spin.upDown;
            LobeLabels[at] = MakeLabel(box, "Label" + name, texts[e]);
            boxGrid->addWidget(LobeLabels[at], e, 0);
            boxGrid->addWidget(Pair(box, spin.edit, spin.upDown), e, 1);
            // "Channel 1, Start advance", and its boxes "..., 2nd Edge".
            const QLabel* caption = LobeLabels[at];
            const auto lobeName = [this, box, caption] {
                return QString::fromStdString(TextIn(AccessText::InGroup, languageIndex))
                    .arg(Spoken(box->title()), Spoken(caption->text()));
            };
            NameSpinForReaders(spin, lobeName);
            const auto boxName = [this, lobeName](const QLabel* heading) {
                return [this, lobeName, heading] {
                    return QString::fromStdString(TextIn(AccessText::InGroup, languageIndex))
                        .arg(lobeName(), Spoken(heading->text()));
                };
            };
            auto* edge2 = MakeCheckBox(box, "CheckBox" + name + "H2", QString());
            LobeCheckBoxes[at] = edge2;
            NameForReaders(edge2, boxName(LabelHrana2));
            boxGrid->addWidget(edge2, e, 2, Qt::AlignHCenter);
            auto* pickup2 = MakeCheckBox(box, "CheckBox" + name + "P2", QString());
            LobeCheckBoxes[8 + at] = pickup2;
            NameForReaders(pickup2, boxName(LabelSnimac2));
            KeepSpaceWhenHidden(pickup2);
            boxGrid->addWidget(pickup2, e, 3, Qt::AlignHCenter);
        }
        grid->addWidget(box, channel, 0, 1, 5);
    }
    outer->addLayout(grid);
    ComboBoxNasobekPalcu = Add(new QComboBox(special), "ComboBoxNasobekPalcu");
    for (int i = 0; i < 4; ++i)
        ComboBoxNasobekPalcu->addItem(QString::fromStdString(LobesPerRevText(i)));
    outer->addWidget(ComboBoxNasobekPalcu, 0, Qt::AlignLeft);
    NameForReaders(ComboBoxNasobekPalcu, [this] {
        return QString::fromStdString(TextIn(AccessText::LobesPerRevolution, languageIndex));
    });
    AlignChannelColumns();
    layout->addWidget(special, 1, 0, Qt::AlignTop);

    // Right: the tachometer output, the pick-up polarity and what the unit
    // and the file say about themselves.
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    auto* rpm = Add(new QGroupBox("Tachometer output", page), "GroupBoxRpm");
    auto* rpmGrid = new QGridLayout(rpm);
    const SpinEdit pulses = MakeSpin(rpm, "RpmPulsu", 0, 6);
    const SpinEdit correction = ScaledSpin(rpm, "RpmKorekce", fs::tachoCorrection);
    UpDownRpmPulsu = pulses.upDown;
    UpDownRpmKorekce = correction.upDown;
    QLabel* pulsesLabel = MakeLabel(rpm, "LabelRpmPulsu", "Pulses per revolution");
    rpmGrid->addWidget(pulsesLabel, 0, 0);
    rpmGrid->addWidget(Pair(rpm, pulses.edit, pulses.upDown), 0, 1);
    NameSpinForReaders(pulses, CaptionOf(pulsesLabel));
    QLabel* correctionLabel = MakeLabel(rpm, "LabelRpmKorekce", "Correction [%]");
    rpmGrid->addWidget(correctionLabel, 1, 0);
    rpmGrid->addWidget(Pair(rpm, correction.edit, correction.upDown), 1, 1);
    NameSpinForReaders(correction, CaptionOf(correctionLabel));
    right->addWidget(rpm);
    CheckBoxInvInput1 = MakeCheckBox(page, "CheckBoxInvInput1", "Inverse polarity of pick-up 1");
    right->addWidget(CheckBoxInvInput1);
    CheckBoxInvInput2 = MakeCheckBox(page, "CheckBoxInvInput2", "Inverse polarity of pick-up 2");
    KeepSpaceWhenHidden(CheckBoxInvInput2);
    right->addWidget(CheckBoxInvInput2);
    right->addSpacing(12);
    for (int i = 0; i < 3; ++i) {
        VersionLabels[i] = MakeLabel(page, QString("LabelVerze%1").arg(i + 1), QString());
        right->addWidget(VersionLabels[i]);
    }
    LabelPocetProgramovani = MakeLabel(page, "LabelPocetProgramovani", "Number of Programing= ---");
    right->addWidget(LabelPocetProgramovani);
    right->addStretch(1);
    layout->addLayout(right, 1, 1);

    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(6);
    QLabel* fileCaption = MakeLabel(page, "LabelFile1", "File:");
    fileRow->addWidget(fileCaption);
    LabelFile2 = MakeLabel(page, "LabelFile2", QString());
    // The path can be selected with the mouse, which also gives it the focus.
    NameForReaders(LabelFile2, CaptionOf(fileCaption));
    LabelFile2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window.
    LabelFile2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fileRow->addWidget(LabelFile2, 1);
    layout->addLayout(fileRow, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget* TFormHlav::CreatePageAdvance() {
    TabSheetAdvance = Add(new QWidget, controlName::Page(ParameterPage::Advance));
    QWidget* page = TabSheetAdvance;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(CreateMapGrid(page), 0, Qt::AlignLeft);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    const SpinEdit base = ScaledSpin(page, "BaseAdv", fs::baseAdvance);
    UpDownBaseAdv = base.upDown;
    QLabel* baseLabel = MakeLabel(page, "LabelBaseAdv", "Base advance [°]");
    row->addWidget(baseLabel);
    NameSpinForReaders(base, CaptionOf(baseLabel));
    row->addWidget(base.edit);
    row->addWidget(base.upDown);
    row->addSpacing(24);
    CheckBoxTpsMapa = MakeCheckBox(page, "CheckBoxTpsMapa", "TPS");
    row->addWidget(CheckBoxTpsMapa);
    row->addSpacing(24);
    CheckBoxIgnAll = Add(new QCheckBox("All", page), "CheckBoxIgnAll");
    BitBtnAdvMinus = Add(new QPushButton("-", page), "BitBtnAdvMinus");
    BitBtnAdvPlus = Add(new QPushButton("+", page), "BitBtnAdvPlus");
    EndStepRow(row, CheckBoxIgnAll, BitBtnAdvMinus, BitBtnAdvPlus);
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
    for (int c = 0; c < 10; ++c) {
        const SpinEdit rpm =
            MakeSpin(mapGrid, controlName::MapRpmSuffix(c), c == 0 ? 199 : fs::mapRpm.minimum,
                     fs::mapRpm.maximum, fs::mapRpm.scale, editWidth);
        MapRpmEdits[c] = rpm.edit;
        MapRpmUpDowns[c] = rpm.upDown;
        NameSpinForReaders(rpm, [this, c] {
            return QString::fromStdString(TextIn(AccessText::MapRpmPoint, languageIndex))
                .arg(c + 1);
        });
        place(rpm, c, 0);
    }
    for (int r = 0; r < 10; ++r) {
        const int top = firstRowTop + r * rowPitch;
        auto* label = MakeLabel(mapGrid, QString("LabelTps%1").arg(r + 1),
                                QString::fromStdString(TpsRowLabel(r)));
        TpsRowLabels[r] = label;
        label->setGeometry(0, top + 4, labelWidth - 6, rowHeight - 6);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (int c = 0; c < 10; ++c) {
            const SpinEdit cell =
                MakeSpin(mapGrid, controlName::MapCellSuffix(r, c), fs::mapAdvance.minimum,
                         fs::mapAdvance.maximum, fs::mapAdvance.scale, editWidth);
            MapEdits[10 * r + c] = cell.edit;
            MapUpDowns[10 * r + c] = cell.upDown;
            place(cell, c, top);
        }
    }
    const int spinTop = firstRowTop + 10 * rowPitch + 4;
    for (int c = 0; c < 10; ++c) {
        auto* spin = Add(new SpinButton(mapGrid), QString("CSpinButton%1").arg(c + 1));
        ColumnSpinButtons[c] = spin;
        spin->setGeometry(labelWidth + c * columnWidth + (editWidth + upDownWidth - 20) / 2,
                          spinTop, 20, rowHeight + 4);
        KeepSpaceWhenHidden(spin);
    }
    mapGrid->setFixedSize(labelWidth + 10 * columnWidth, spinTop + rowHeight + 6);
    return mapGrid;
}

QWidget* TFormHlav::CreatePageServo() {
    TabSheetServo = Add(new QWidget, controlName::Page(ParameterPage::Servo));
    QWidget* page = TabSheetServo;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    CheckBoxPrivEnable = MakeCheckBox(page, "CheckBoxPrivEnable", "Servo enable");
    layout->addWidget(CheckBoxPrivEnable);

    GroupBoxPrivera = Add(new QGroupBox("Servo", page), "GroupBoxPrivera");
    QGroupBox* group = GroupBoxPrivera;
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
        const SpinEdit rpm =
            MakeSpin(table, QString("RpmPriv%1").arg(j + 1), j < 2 ? 200 : fs::servoRpm.minimum,
                     fs::servoRpm.maximum, fs::servoRpm.scale, editWidth);
        const SpinEdit mv = MakeSpin(table, QString("NapPriv%1").arg(j + 1), fs::servoMv.minimum,
                                     fs::servoMv.maximum, fs::servoMv.scale, editWidth);
        ServoRpmEdits[j] = rpm.edit;
        ServoRpmUpDowns[j] = rpm.upDown;
        ServoMvEdits[j] = mv.edit;
        ServoMvUpDowns[j] = mv.upDown;
        NameSpinForReaders(rpm, [this, j] {
            return QString::fromStdString(TextIn(AccessText::ServoRpmPoint, languageIndex))
                .arg(j + 1);
        });
        NameSpinForReaders(mv, [this, j] {
            return QString::fromStdString(TextIn(AccessText::ServoMvPoint, languageIndex))
                .arg(j + 1);
        });
        rpm.upDown->setFixedWidth(kTableUpDownWidth);
        mv.upDown->setFixedWidth(kTableUpDownWidth);
        curve->addWidget(Pair(table, rpm.edit, rpm.upDown), 0, j + 1);
        curve->addWidget(Pair(table, mv.edit, mv.upDown), 1, j + 1);
    }
    curve->setColumnStretch(11, 1);
    groupLayout->addWidget(table);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    const SpinEdit hysteresis = ScaledSpin(group, "PrivHyster", fs::servoHysteresis);
    UpDownPrivHyster = hysteresis.upDown;
    QLabel* hysteresisLabel = MakeLabel(group, "LabelServoHyster", "Servo Hysteresis [mV]");
    row->addWidget(hysteresisLabel);
    NameSpinForReaders(hysteresis, CaptionOf(hysteresisLabel));
    row->addWidget(hysteresis.edit);
    row->addWidget(hysteresis.upDown);
    row->addSpacing(24);
    CheckBoxServoAll = Add(new QCheckBox("All", group), "CheckBoxServoAll");
    BitBtnServoMinus = Add(new QPushButton("-", group), "BitBtnServoMinus");
    BitBtnServoPlus = Add(new QPushButton("+", group), "BitBtnServoPlus");
    EndStepRow(row, CheckBoxServoAll, BitBtnServoMinus, BitBtnServoPlus);
    row->addSpacing(24);
    BitBtnServoRpm = Add(new QPushButton("Change servo rpm points…", group), "BitBtnServoRpm");
    BitBtnServoRpm->setAutoDefault(false);
    row->addWidget(BitBtnServoRpm);
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

    LabelSpojeni = MakeLabel(area, "LabelSpojeni", "No connection with PC");
    LabelSpojeni->setAlignment(Qt::AlignCenter);
    LabelSpojeni->setStyleSheet("QLabel { color: white; background-color: red; padding: 3px; }");
    layout->addWidget(LabelSpojeni);

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
    LabelRpm = live("LabelRpm", "RPM = ---");
    CGaugeRpm = gauge("CGaugeRpm");
    layout->addWidget(CGaugeRpm);
    LabelTpsMon = live("LabelTpsMon", "TP= --- [%]");
    CGaugeTps = gauge("CGaugeTps");
    layout->addWidget(CGaugeTps);
    LabelNapeti = live("LabelNapeti", "U = --- [V]");
    for (int c = 0; c < 4; ++c)
        ChannelAdvanceLabels[c] =
            live(QString("LabelAdvance%1").arg(c + 1), QString("Advance %1 = --- [°]").arg(c + 1));
    LabelMonSnimac1 = live("LabelMonSnimac1", "Pick-up (CKPS) 1 = ---");
    LabelMonSnimac2 = live("LabelMonSnimac2", "Pick-up (CKPS) 2 = ---");
    LabelMonPilotLight = live("LabelMonPilotLight", "Gear Shift Light - ---");
    LabelClutchMon = live("LabelClutchMon", "Clutch master - ---");
    LabelKillSwitch = live("LabelKillSwitch", "Kill switch: ---");
    LabelBlocking1 = live("LabelBlocking1", "Motor off - ---");
    LabelPriveraPoz = live("LabelPriveraPoz", "Servo desired= ---");
    LabelPriveraMer = live("LabelPriveraMer", "Servo measured= ---");
    layout->addSpacing(8);

    // What the running operation says.
    LabelHlaseni = live("LabelHlaseni", QString());
    LabelHlaseni->setWordWrap(true);
    CGaugeProgram = gauge("CGaugeProgram");
    CGaugeProgram->setRange(0, 2);
    layout->addWidget(CGaugeProgram);
    // Beside a "Verify error!": what the unit holds against the window.
    ButtonWhatDiffers = Add(new QPushButton("What differs...", area), "ButtonWhatDiffers");
    ButtonWhatDiffers->hide();
    layout->addWidget(ButtonWhatDiffers);
    LabelEeDataErr = live("LabelEeDataErr", "Programmed data error");
    LabelEeDataErr->setStyleSheet("QLabel { background-color: red; }");
    LabelVersion = live("LabelVersion", QString());
    LabelVersion->setWordWrap(true);
    layout->addSpacing(8);
    for (int i = 0; i < 8; ++i) {
        TestLabels[i] = live(QString("LabelTest%1").arg(i + 1), QString("Test%1 = ---").arg(i + 1));
        TestLabels[i]->hide();
    }
    layout->addStretch(1);

    CheckBoxProgHned = MakeCheckBox(area, "CheckBoxProgHned", "Programming after change");
    CheckBoxProgHned->setAutoFillBackground(true);
    layout->addWidget(CheckBoxProgHned);
    return area;
}

// The channel boxes and the headings above them keep one set of columns,
// sized for the captions of the current language.
void TFormHlav::AlignChannelColumns() {
    int label = 0;
    for (const QLabel* lobe : LobeLabels)
        label = std::max(label, lobe->sizeHint().width());
    const int check =
        std::max(LabelHrana2->sizeHint().width(), LabelSnimac2->sizeHint().width()) + 8;
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
    const bool tps = CheckBoxTpsMapa->isChecked();
    const int top = (tps ? TpsRowLabels[9] : TpsRowLabels[0])->y() - 4;
    for (int c = 0; c < 10; ++c) {
        MapEdits[90 + c]->move(MapEdits[90 + c]->x(), top);
        MapUpDowns[90 + c]->move(MapUpDowns[90 + c]->x(), top);
    }
}

} // namespace orna5
