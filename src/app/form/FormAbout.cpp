#include "app/form/FormAbout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace orna5 {

namespace {

#ifndef ORNA5_VERSION
#define ORNA5_VERSION "unknown"
#endif

constexpr int kLogoWidth = 161;
constexpr int kLogoHeight = 81;

// The logo: a spark jumping between two electrodes beside the program's name.
QPixmap Logo() {
    QPixmap pixmap(kLogoWidth, kLogoHeight);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, kLogoHeight);
    background.setColorAt(0, QColor(28, 48, 88));
    background.setColorAt(1, QColor(10, 20, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(1, 1, kLogoWidth - 2, kLogoHeight - 2), 10, 10);

    // The electrodes and the spark between them.
    painter.setBrush(QColor(190, 196, 204));
    painter.drawRect(QRectF(14, 10, 14, 20));
    painter.drawRect(QRectF(14, 52, 14, 20));
    QPainterPath spark;
    spark.moveTo(25, 30);
    spark.lineTo(15, 42);
    spark.lineTo(23, 42);
    spark.lineTo(16, 53);
    spark.lineTo(31, 38);
    spark.lineTo(23, 38);
    spark.closeSubpath();
    painter.setBrush(QColor(255, 196, 0));
    painter.drawPath(spark);

    QFont name;
    name.setBold(true);
    name.setPixelSize(25);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRect(36, 8, kLogoWidth - 42, 44), Qt::AlignCenter, "ORNA-5");
    QFont tag;
    tag.setPixelSize(12);
    painter.setFont(tag);
    painter.setPen(QColor(255, 196, 0));
    painter.drawText(QRect(36, 48, kLogoWidth - 42, 22), Qt::AlignCenter, "ignition set-up");
    return pixmap;
}

} // namespace

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("FormAbout");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle("ZENTOR ORNA-");
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 10);
    layout->setSpacing(4);
    layout->addWidget(AddLabel("LabelAbout", "Programm for setting of ignition", 16));
    auto* logo = AddLabel("Image1", QString(), 16);
    logo->setPixmap(Logo());
    layout->addWidget(logo);
    layout->addSpacing(6);
    // Who we are: the project, what it is for, its licence and where to
    // report problems.
    const char* const contact[6][2] = {
        {"Label2", "orna5"},
        {"Label3", "Programming tool for the ORNA-5 ignition unit"},
        {"Label4", "Free software:"},
        {"Label5", "GNU GPL version 3 or later"},
        {"Label9", "Report problems to"},
        {"Label10", "the orna5 issue tracker"},
    };
    for (const auto& [name, text] : contact)
        layout->addWidget(AddLabel(name, text, 16));
    layout->addSpacing(6);
    layout->addWidget(
        AddLabel("LabelProgramVersion", QString("Version %1").arg(ORNA5_VERSION), 11));
    layout->addWidget(AddLabel("LabelDate", QString(), 11));
    layout->addWidget(AddLabel("LabelTime", QString(), 11));
    layout->addStretch(1);
    auto* exit = AddLabel("LabelExit", "OK", 23);
    exit->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    exit->setCursor(Qt::PointingHandCursor);
    exit->installEventFilter(this);
    layout->addWidget(exit);
    FormCreate();
}

QLabel* TFormAbout::AddLabel(const QString& name, const QString& text, int pixelSize) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    return label;
}

QString TFormAbout::BuildDate() {
    return QStringLiteral(__DATE__);
}

QString TFormAbout::BuildTime() {
    return QStringLiteral(__TIME__);
}

void TFormAbout::FormCreate() {
    findChild<QLabel*>("LabelDate")->setText(BuildDate());
    findChild<QLabel*>("LabelTime")->setText(BuildTime());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + area.height() / 2 - height() / 2);
    }
}

void TFormAbout::FormActivate(std::uint8_t languageIndex) {
    static const char* const captions[] = {"About ORNA-", "Über Programm ORNA-",
                                           "Information ORNA-"};
    if (languageIndex < 3)
        setWindowTitle(QString::fromUtf8(captions[languageIndex]));
}

void TFormAbout::ShowModal(std::uint8_t languageIndex) {
    FormActivate(languageIndex);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
}

void TFormAbout::Button1Click() {
    close();
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched->objectName() == "LabelExit" && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Button1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orna5
