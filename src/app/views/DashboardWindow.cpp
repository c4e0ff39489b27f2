#include "app/views/DashboardWindow.h"

#include "app/Document.h"
#include "app/widgets/ReaderName.h"
#include "app/widgets/RoleColour.h"
#include "lang/DashboardTexts.h"
#include "lang/Messages.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace orna5 {

namespace {

using Tile = DashboardChoices::Tile;

constexpr double kPi = 3.14159265358979323846;
// The dial runs clockwise from the lower left to the lower right.
constexpr double kDialStartDegrees = 225;
constexpr double kDialSweepDegrees = 270;

const char* const kTileNames[DashboardChoices::TileCount] = {
    "TileEngineSpeed", "TileAdvance", "TileThrottle", "TileSupply", "TileServo", "TileLamps"};
const DashText kTileTitles[DashboardChoices::TileCount] = {DashText::EngineSpeed, DashText::Advance,
                                                           DashText::Throttle,    DashText::Supply,
                                                           DashText::Servo,       DashText::Lamps};
const DashText kLampNames[kDashboardLamps] = {DashText::ShiftLight,      DashText::KillSwitch,
                                              DashText::ClutchMaster,    DashText::Pickup1,
                                              DashText::Pickup2,         DashText::EngineOff,
                                              DashText::StoredDataError, DashText::VersionMismatch};

QString Text(DashText id, int language) {
    return QString::fromStdString(TextIn(id, language));
}

// Black or white, whichever reads on `ground`.
QColor InkOn(const QColor& ground) {
    const double luminance =
        0.299 * ground.redF() + 0.587 * ground.greenF() + 0.114 * ground.blueF();
    return luminance > 0.55 ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

QFont BoldFont(const QFont& base, int pixels) {
    QFont font = base;
    font.setBold(true);
    font.setPixelSize(std::max(1, pixels));
    return font;
}

// The largest pixel size at which `sample` fits `box`: by the digits' own
// height for figures, by the font's line height for words.
int FitPixels(const QFont& base, const QString& sample, const QSizeF& box, bool figures) {
    if (box.width() <= 1 || box.height() <= 1)
        return 1;
    // Measured once per font, text and box: a redraw asks the same again.
    static QHash<QString, int> known;
    const QString key = QString("%1|%2|%3|%4|%5")
                            .arg(base.key(), sample)
                            .arg(box.width(), 0, 'f', 1)
                            .arg(box.height(), 0, 'f', 1)
                            .arg(figures);
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() > 512)
        known.clear();
    constexpr int kProbe = 100;
    const QFontMetricsF metrics(BoldFont(base, kProbe));
    const double width = std::max(1.0, metrics.horizontalAdvance(sample));
    const double height =
        std::max(1.0, figures ? metrics.tightBoundingRect(QStringLiteral("0123456789")).height()
                              : metrics.height());
    const double pixels =
        std::min(kProbe * box.width() * 0.96 / width, kProbe * box.height() * 0.92 / height);
    return known[key] = std::max(1, static_cast<int>(std::floor(pixels)));
}

// Text larger than the raster engine keeps in its glyph cache (64 pixels)
// is filled as outlines at every painting; the figures of a dashboard are
// that large and change many times a second. Each character is drawn once
// into a picture of its own and set from there. Single lines only.
void Print(QPainter& painter, const QRectF& box, int flags, const QString& text) {
    constexpr int kLargestCachedGlyph = 64;
    const QFont& font = painter.font();
    if (font.pixelSize() <= kLargestCachedGlyph || text.contains(QChar('\n'))) {
        painter.drawText(box, flags, text);
        return;
    }
    static QHash<QString, QPixmap> glyphs;
    if (glyphs.size() > 400)
        glyphs.clear();
    const QFontMetricsF metrics(font);
    const QColor colour = painter.pen().color();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double pad = font.pixelSize() * 0.1;
    double width = 0;
    for (const QChar ch : text)
        width += metrics.horizontalAdvance(ch);
    double x = flags & Qt::AlignLeft    ? box.left()
               : flags & Qt::AlignRight ? box.right() - width
                                        : box.center().x() - width / 2;
    const double y = flags & Qt::AlignTop      ? box.top()
                     : flags & Qt::AlignBottom ? box.bottom() - metrics.height()
                                               : box.center().y() - metrics.height() / 2;
    for (const QChar ch : text) {
        const double advance = metrics.horizontalAdvance(ch);
        const QString key =
            QString("%1|%2|%3|%4").arg(font.key()).arg(colour.rgba()).arg(ratio).arg(ch);
        auto found = glyphs.find(key);
        if (found == glyphs.end()) {
            QPixmap glyph((QSizeF(advance + 2 * pad, metrics.height()) * ratio).toSize() +
                          QSize(1, 1));
            glyph.setDevicePixelRatio(ratio);
            glyph.fill(Qt::transparent);
            QPainter on(&glyph);
            on.setRenderHint(QPainter::Antialiasing);
            on.setFont(font);
            on.setPen(colour);
            on.drawText(QPointF(pad, metrics.ascent()), QString(ch));
            found = glyphs.insert(key, glyph);
        }
        painter.drawPixmap(QPointF(x - pad, y), *found);
        x += advance;
    }
}

void DrawFitted(QPainter& painter, const QRectF& box, const QString& text, const QString& sample,
                bool figures, int flags = Qt::AlignCenter) {
    painter.setFont(
        BoldFont(painter.font(), FitPixels(painter.font(), sample, box.size(), figures)));
    Print(painter, box, flags, text);
}

// A name split at the blank nearest its middle.
QString TwoLines(const QString& name) {
    int best = -1;
    for (int i = 0; i < name.size(); ++i)
        if (name[i] == QChar(' ') &&
            (best < 0 || std::abs(i - name.size() / 2) < std::abs(best - name.size() / 2)))
            best = i;
    if (best < 0)
        return name;
    return name.left(best) + QChar('\n') + name.mid(best + 1);
}

// The largest size at which a lamp's name fits its box on one line or two.
int LampPixels(const QFont& base, const QString& name, const QSizeF& box) {
    const int one = FitPixels(base, name, box, false);
    const QStringList lines = TwoLines(name).split(QChar('\n'));
    if (lines.size() < 2)
        return one;
    const QString wider = lines[0].size() > lines[1].size() ? lines[0] : lines[1];
    return std::max(one, FitPixels(base, wider, QSizeF(box.width(), box.height() / 2), false));
}

double Margin(const QRectF& rect) {
    return std::max(4.0, std::min(rect.width(), rect.height()) * 0.04);
}

double TitleHeight(const QRectF& inner) {
    return std::clamp(inner.height() * 0.12, 12.0, 40.0);
}

RpmTileLayout LayoutRpm(const QRectF& rect, bool dial, const QFont& font) {
    RpmTileLayout l;
    const double m = Margin(rect);
    const QRectF in = rect.adjusted(m, m, -m, -m);
    const double titleH = TitleHeight(in);
    if (dial) {
        const double side = std::min(in.height(), in.width() * 0.48);
        l.scale = QRectF(in.left(), in.top() + (in.height() - side) / 2, side, side);
        const QRectF right(l.scale.right() + m, in.top(), in.right() - l.scale.right() - m,
                           in.height());
        l.title = QRectF(right.left(), right.top(), right.width(), titleH);
        l.digits =
            QRectF(right.left(), l.title.bottom(), right.width(), right.height() - 2 * titleH);
        l.unit = QRectF(right.left(), l.digits.bottom(), right.width(), titleH);
    } else {
        l.title = QRectF(in.left(), in.top(), in.width(), titleH);
        const double scaleH = in.height() * 0.3;
        l.scale = QRectF(in.left(), in.bottom() - scaleH, in.width(), scaleH);
        l.digits = QRectF(in.left(), l.title.bottom(), in.width() * 0.84,
                          l.scale.top() - l.title.bottom() - m / 2);
        l.unit = QRectF(l.digits.right(), l.digits.top(), in.right() - l.digits.right(),
                        l.digits.height());
    }
    l.digitPixels = FitPixels(font, QStringLiteral("88888"), l.digits.size(), true);
    l.digitHeight = QFontMetricsF(BoldFont(font, l.digitPixels))
                        .tightBoundingRect(QStringLiteral("0123456789"))
                        .height();
    return l;
}

double DialAngle(double rpm, int top) {
    return kDialStartDegrees - kDialSweepDegrees * rpm / top;
}

// A band along the dial's rim from one engine speed to another.
void DialArc(QPainter& painter, const QPointF& c, double radius, int top, double from, double to,
             const QColor& colour, double width) {
    if (to <= from)
        return;
    const double r = radius - width / 2;
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r),
                    static_cast<int>(DialAngle(from, top) * 16),
                    static_cast<int>((DialAngle(to, top) - DialAngle(from, top)) * 16));
}

// The bar within the scale's box, inset by half a label so the labels at
// both ends stay inside.
QRectF BarTrack(const QRectF& scale) {
    const double inset = scale.height() * 0.3;
    return QRectF(scale.left() + inset, scale.top(), scale.width() - 2 * inset,
                  scale.height() * 0.55);
}

QPointF OnDial(const QPointF& centre, double radius, double degrees) {
    const double a = degrees * kPi / 180;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

// A screen reader's view of a tile: its title as the name, what it shows as
// the value (and the description, which readers say on arriving).
class TileAccessible : public QAccessibleWidget {
public:
    explicit TileAccessible(QWidget* tile) : QAccessibleWidget(tile, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return static_cast<const DashboardTile*>(widget())->SpokenValue();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* TileAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(DashboardTile::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new TileAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

QPalette DarkPalette() {
    QPalette p;
    const QColor window(0x26, 0x26, 0x26), base(0x1a, 0x1a, 0x1a), text(0xe8, 0xe8, 0xe8);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x33, 0x33, 0x33));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    p.setColor(QPalette::Midlight, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::Mid, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::Dark, QColor(0x14, 0x14, 0x14));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x3a, 0x6e, 0xa5));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return p;
}

} // namespace

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Legible(const QColor& wanted, const QColor& ground, const QColor& ink) {
    constexpr double kEnough = 2.0;
    if (Contrast(wanted, ground) >= kEnough)
        return wanted;
    const QColor darker = wanted.darker(180);
    if (Contrast(darker, ground) >= kEnough)
        return darker;
    return ink;
}

// ---------------------------------------------------------------------------

DashboardTile::DashboardTile(DashboardWindow& window, DashboardChoices::Tile what, QWidget* parent)
    : QWidget(parent), owner(window), kind(what) {
    static const bool readable = (QAccessible::installFactory(TileAccessibleFactory), true);
    Q_UNUSED(readable);
    setObjectName(kTileNames[what]);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DashboardTile::Show(const QString& spokenValue, const QString& look, bool force) {
    spoken = spokenValue;
    const QString key = spokenValue + QChar('|') + look;
    if (!force && key == drawn)
        return;
    drawn = key;
    update();
}

void DashboardTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const DashboardReadings& r = owner.Readings();
    const bool grey = owner.Greyed();
    const int language = owner.Language();
    // The ground of the whole tile carries the live panel's colour of its
    // value, as the panel's label does.
    ColourRole role = ColourRole::ButtonFace;
    if (!grey) {
        if (kind == Tile::EngineSpeed)
            role = r.rpmColour;
        else if (kind == Tile::Throttle)
            role = r.throttleColour;
        else if (kind == Tile::Supply)
            role = r.supplyColour;
        else if (kind == Tile::Servo)
            role = r.servoColour;
        else if (kind == Tile::Advance && (r.pickupError || !r.perChannel))
            role = r.advanceColour[0];
    }
    const QColor roleColour = RoleColour(role);
    const QColor ground = roleColour.isValid() ? roleColour : owner.TileGround();
    const QColor ink = grey ? owner.Faint() : roleColour.isValid() ? InkOn(ground) : owner.Ink();
    const QColor label = grey ? owner.Faint() : roleColour.isValid() ? ink : owner.Label();
    const QRectF all = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double corner = std::min(all.width(), all.height()) * 0.04;
    const auto paintGround = [&](QPainter& on) {
        on.fillRect(rect(), owner.Ground());
        on.setPen(Qt::NoPen);
        on.setBrush(ground);
        on.drawRoundedRect(all, corner, corner);
    };
    if (kind != Tile::EngineSpeed)
        paintGround(painter);

    const double m = Margin(all);
    const QRectF in = all.adjusted(m, m, -m, -m);
    const double titleH = TitleHeight(in);
    QString title = Text(kTileTitles[kind], language);
    const auto drawTitleOn = [&](QPainter& on, const QRectF& box) {
        on.setPen(label);
        on.setFont(BoldFont(font(), static_cast<int>(box.height() * 0.72)));
        const QFontMetricsF metrics(on.font());
        on.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                    metrics.elidedText(title, Qt::ElideRight, box.width()));
    };
    const auto drawTitle = [&](const QRectF& box) { drawTitleOn(painter, box); };
    const QString dash = QStringLiteral("\u2013");

    switch (kind) {
    case Tile::EngineSpeed: {
        const RpmTileLayout l = LayoutRpm(all, owner.Choices().dial, font());
        if (grey)
            title += QStringLiteral(" \u2014 ") + owner.StateText();

        const int top = RpmScaleTop(r);
        const int step = top > 16000 ? 2000 : 1000;
        const double shown = r.valid ? std::clamp(r.rpm, 0, top) : 0;
        const QColor redZone = grey ? owner.Faint() : Legible(QColor(255, 0, 0), ground, ink);
        const QColor shiftColour = grey ? owner.Faint() : Legible(QColor(230, 200, 0), ground, ink);
        const QColor pointer = grey ? owner.Faint() : Legible(QColor(230, 60, 0), ground, ink);
        const bool dial = owner.Choices().dial;

        // The scale, its figures and the unit change only with the size,
        // the look, the marks or an alarm colour: drawn once into a layer,
        // so a redraw paints the pointer and the digits only.
        const QString key = QString("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11")
                                .arg(title)
                                .arg(ground.rgb())
                                .arg(width())
                                .arg(height())
                                .arg(dial)
                                .arg(ink.rgb())
                                .arg(label.rgb())
                                .arg(owner.Faint().rgb())
                                .arg(top)
                                .arg(r.shiftLightRpm * 100000 + r.limiterRpm)
                                .arg(language);
        const qreal ratio = devicePixelRatioF();
        if (key != layerKey) {
            layerKey = key;
            layer = QPixmap((QSizeF(size()) * ratio).toSize());
            layer.setDevicePixelRatio(ratio);
            QPainter still(&layer);
            still.setRenderHint(QPainter::Antialiasing);
            paintGround(still);
            drawTitleOn(still, l.title);
            still.setPen(label);
            still.setFont(BoldFont(font(), static_cast<int>(l.title.height() * 0.72)));
            still.drawText(l.unit, Qt::AlignRight | Qt::AlignBottom,
                           Text(DashText::RpmUnit, language));
            if (dial) {
                const QPointF c = l.scale.center();
                const double radius = l.scale.width() / 2 * 0.94;
                const double band = radius * 0.07;
                DialArc(still, c, radius, top, 0, top, owner.Faint(), band);
                if (r.limiterRpm > 0)
                    DialArc(still, c, radius, top, r.limiterRpm, top, redZone, band);
                still.setFont(BoldFont(font(), static_cast<int>(radius * 0.14)));
                for (int v = 0; v <= top; v += step) {
                    const double a = DialAngle(v, top);
                    still.setPen(QPen(ink, std::max(1.0, radius * 0.015)));
                    still.drawLine(OnDial(c, radius * 0.8, a), OnDial(c, radius * 0.9, a));
                    const QPointF at = OnDial(c, radius * 0.64, a);
                    still.setPen(label);
                    still.drawText(QRectF(at.x() - radius * 0.2, at.y() - radius * 0.1,
                                          radius * 0.4, radius * 0.2),
                                   Qt::AlignCenter, QString::number(v / 1000));
                }
                still.setPen(label);
                still.setFont(BoldFont(font(), static_cast<int>(radius * 0.1)));
                still.drawText(QRectF(c.x() - radius * 0.6, c.y() + radius * 0.28, radius * 1.2,
                                      radius * 0.16),
                               Qt::AlignCenter, Text(DashText::ThousandRpm, language));
            } else {
                const QRectF track = BarTrack(l.scale);
                const auto x = [&](double rpm) { return track.left() + track.width() * rpm / top; };
                still.fillRect(track, owner.Faint());
                if (r.limiterRpm > 0 && r.limiterRpm < top)
                    still.fillRect(
                        QRectF(QPointF(x(r.limiterRpm), track.top()), track.bottomRight()),
                        redZone);
                const QRectF labels(track.left(), track.bottom(), track.width(),
                                    l.scale.bottom() - track.bottom());
                still.setFont(BoldFont(font(), static_cast<int>(labels.height() * 0.6)));
                for (int v = 0; v <= top; v += step) {
                    still.setPen(QPen(ink, 1));
                    still.drawLine(QPointF(x(v), track.bottom()),
                                   QPointF(x(v), track.bottom() + labels.height() * 0.2));
                    still.setPen(label);
                    still.drawText(QRectF(x(v) - labels.height(),
                                          labels.top() + labels.height() * 0.2, 2 * labels.height(),
                                          labels.height() * 0.8),
                                   Qt::AlignHCenter | Qt::AlignTop, QString::number(v / 1000));
                }
            }
        }
        painter.drawPixmap(0, 0, layer);
        painter.setPen(ink);
        painter.setFont(BoldFont(font(), l.digitPixels));
        Print(painter, l.digits, Qt::AlignCenter, r.valid ? QString::number(r.rpm) : dash);

        // The pointer, then the marks over it, so they stay in sight.
        if (dial) {
            const QPointF c = l.scale.center();
            const double radius = l.scale.width() / 2 * 0.94;
            DialArc(painter, c, radius, top, 0, shown, ink, radius * 0.042);
            const auto mark = [&](int rpm, const QColor& colour) {
                if (rpm <= 0 || rpm > top)
                    return;
                painter.setPen(
                    QPen(colour, std::max(2.0, radius * 0.035), Qt::SolidLine, Qt::FlatCap));
                painter.drawLine(OnDial(c, radius * 0.76, DialAngle(rpm, top)),
                                 OnDial(c, radius * 1.0, DialAngle(rpm, top)));
            };
            mark(r.shiftLightRpm, shiftColour);
            mark(r.limiterRpm, redZone);
            if (r.valid) {
                painter.setPen(
                    QPen(pointer, std::max(2.0, radius * 0.035), Qt::SolidLine, Qt::RoundCap));
                painter.drawLine(c, OnDial(c, radius * 0.88, DialAngle(shown, top)));
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(ink);
            painter.drawEllipse(c, radius * 0.06, radius * 0.06);
        } else {
            const QRectF track = BarTrack(l.scale);
            const auto x = [&](double rpm) { return track.left() + track.width() * rpm / top; };
            painter.fillRect(QRectF(track.topLeft(), QPointF(x(shown), track.bottom()))
                                 .adjusted(0, track.height() * 0.2, 0, -track.height() * 0.2),
                             ink);
            const auto mark = [&](int rpm, const QColor& colour) {
                if (rpm <= 0 || rpm > top)
                    return;
                painter.setPen(QPen(colour, std::max(3.0, track.height() * 0.12)));
                painter.drawLine(QPointF(x(rpm), track.top() - track.height() * 0.15),
                                 QPointF(x(rpm), track.bottom()));
            };
            mark(r.shiftLightRpm, shiftColour);
            mark(r.limiterRpm, redZone);
        }
        break;
    }
    case Tile::Advance: {
        drawTitle(QRectF(in.left(), in.top(), in.width(), titleH));
        const QRectF body(in.left(), in.top() + titleH, in.width(), in.height() - titleH);
        painter.setPen(ink);
        if (!r.valid) {
            DrawFitted(painter, body, dash, QStringLiteral("-88\u00b0"), true);
        } else if (r.pickupError) {
            DrawFitted(painter, body, Text(DashText::PickupError, language),
                       Text(DashText::PickupError, language), false);
        } else if (!r.perChannel) {
            DrawFitted(painter, body, QString("%1\u00b0").arg(*r.advance[0]),
                       QStringLiteral("-88\u00b0"), true);
        } else {
            // Four figures, each on the colour the panel gives its channel.
            const QString sample = QStringLiteral("8: -88\u00b0");
            const QSizeF cell(body.width() / 2, body.height() / 2);
            const int pixels = FitPixels(font(), sample, cell * 0.94, true);
            for (int ch = 0; ch < 4; ++ch) {
                const QRectF box(body.left() + (ch % 2) * cell.width(),
                                 body.top() + (ch / 2) * cell.height(), cell.width(),
                                 cell.height());
                const QColor fill = grey ? QColor() : RoleColour(r.advanceColour[ch]);
                if (fill.isValid()) {
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(fill);
                    painter.drawRoundedRect(box.adjusted(2, 2, -2, -2), corner, corner);
                }
                painter.setPen(fill.isValid() ? InkOn(fill) : ink);
                painter.setFont(BoldFont(font(), pixels));
                const QString figure =
                    r.advance[ch] ? QString("%1\u00b0").arg(*r.advance[ch]) : dash;
                Print(painter, box, Qt::AlignCenter, QString("%1: %2").arg(ch + 1).arg(figure));
            }
        }
        break;
    }
    case Tile::Throttle: {
        drawTitle(QRectF(in.left(), in.top(), in.width(), titleH));
        const double barH = r.throttleError ? 0 : std::max(4.0, in.height() * 0.1);
        const QRectF body(in.left(), in.top() + titleH, in.width(),
                          in.height() - titleH - barH * 1.5);
        painter.setPen(ink);
        if (!r.valid) {
            DrawFitted(painter, body, dash, QStringLiteral("100 %"), true);
        } else if (r.throttleError) {
            const QRectF upper(body.left(), body.top(), body.width(), body.height() * 0.62);
            const QRectF lower(body.left(), upper.bottom(), body.width(),
                               body.bottom() - upper.bottom());
            const QString error = Text(DashText::SensorError, language);
            DrawFitted(painter, upper, error, error, false);
            DrawFitted(painter, lower, QString("%1 mV").arg(r.throttleMillivolts),
                       QStringLiteral("8888 mV"), true);
        } else {
            DrawFitted(painter, body, QString("%1 %").arg(r.throttlePercent),
                       QStringLiteral("100 %"), true);
        }
        if (barH > 0) {
            const QRectF track(in.left(), in.bottom() - barH, in.width(), barH);
            painter.fillRect(track, owner.Faint());
            painter.fillRect(QRectF(track.left(), track.top(),
                                    track.width() * (r.valid ? r.throttlePercent : 0) / 100.0,
                                    track.height()),
                             ink);
        }
        break;
    }
    case Tile::Supply: {
        drawTitle(QRectF(in.left(), in.top(), in.width(), titleH));
        const QRectF body(in.left(), in.top() + titleH, in.width(), in.height() - titleH);
        painter.setPen(ink);
        DrawFitted(painter, body,
                   r.valid ? QString::fromStdString(r.supplyVolts) + QStringLiteral(" V") : dash,
                   QStringLiteral("88.8 V"), true);
        break;
    }
    case Tile::Servo: {
        drawTitle(QRectF(in.left(), in.top(), in.width(), titleH));
        const QRectF body(in.left(), in.top() + titleH, in.width(), in.height() - titleH);
        const QString names[2] = {Text(DashText::Desired, language),
                                  Text(DashText::Measured, language)};
        const int values[2] = {r.servoDesiredMillivolts, r.servoMeasuredMillivolts};
        const double nameW = body.width() * 0.34;
        const QString longest = names[0].size() > names[1].size() ? names[0] : names[1];
        const int namePixels =
            std::min(FitPixels(font(), longest, QSizeF(nameW, body.height() / 2), false),
                     static_cast<int>(titleH * 0.72));
        const int valuePixels = FitPixels(font(), QStringLiteral("8888 mV"),
                                          QSizeF(body.width() - nameW, body.height() / 2), true);
        for (int i = 0; i < 2; ++i) {
            const QRectF row(body.left(), body.top() + i * body.height() / 2, body.width(),
                             body.height() / 2);
            painter.setPen(label);
            painter.setFont(BoldFont(font(), namePixels));
            painter.drawText(QRectF(row.left(), row.top(), nameW, row.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, names[i]);
            painter.setPen(ink);
            painter.setFont(BoldFont(font(), valuePixels));
            Print(painter, QRectF(row.left() + nameW, row.top(), row.width() - nameW, row.height()),
                  Qt::AlignRight | Qt::AlignVCenter,
                  r.valid ? QString("%1 mV").arg(values[i]) : dash);
        }
        break;
    }
    case Tile::Lamps: {
        // As many columns as give the names the largest letters, all in
        // one size; a long name may take two lines.
        std::array<QString, kDashboardLamps> names;
        for (std::size_t i = 0; i < kDashboardLamps; ++i)
            names[i] = Text(kLampNames[i], language);
        int bestColumns = 4, bestPixels = 0;
        for (int columns : {8, 4, 2}) {
            const int rows = static_cast<int>(kDashboardLamps) / columns;
            const QSizeF cell(in.width() / columns * 0.86, in.height() / rows * 0.7);
            int pixels = static_cast<int>(cell.height() * 0.5);
            for (const QString& name : names)
                pixels = std::min(pixels, LampPixels(font(), name, cell));
            if (pixels > bestPixels) {
                bestPixels = pixels;
                bestColumns = columns;
            }
        }
        const int rows = static_cast<int>(kDashboardLamps) / bestColumns;
        const QSizeF cell(in.width() / bestColumns, in.height() / rows);
        painter.setFont(BoldFont(font(), bestPixels));
        const QFontMetricsF metrics(painter.font());
        for (std::size_t i = 0; i < kDashboardLamps; ++i) {
            const int column = static_cast<int>(i) % bestColumns;
            const int row = static_cast<int>(i) / bestColumns;
            const QRectF box = QRectF(in.left() + column * cell.width(),
                                      in.top() + row * cell.height(), cell.width(), cell.height())
                                   .adjusted(m / 2, m / 2, -m / 2, -m / 2);
            const LampReading& lamp = r.lamps[i];
            const bool on = r.valid && lamp.on;
            QColor fill = on ? RoleColour(lamp.colour) : owner.Ground();
            if (on && grey)
                fill = owner.Faint();
            painter.setPen(QPen(owner.Faint(), 1.5));
            painter.setBrush(fill);
            painter.drawRoundedRect(box, corner, corner);
            painter.setPen(on ? InkOn(fill) : label);
            const QString shown = metrics.horizontalAdvance(names[i]) <= box.width() * 0.9
                                      ? names[i]
                                      : TwoLines(names[i]);
            painter.drawText(box, Qt::AlignCenter, shown);
        }
        break;
    }
    case Tile::TileCount:
        break;
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(all.adjusted(2, 2, -2, -2), corner, corner);
    }
}

// ---------------------------------------------------------------------------

DashboardWindow::DashboardWindow(Document& doc, const DashboardChoices& chosen)
    : QWidget(doc.ViewParent(), Qt::Window), document(doc), choices(chosen) {
    setObjectName("DashboardWindow");
    clock.start();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    // The state stays in sight when a narrow window folds the tool bar.
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(toolBar, 1);
    top->addWidget(stateLabel);
    layout->addLayout(top);
    board = new QWidget(this);
    board->setObjectName("DashboardBoard");
    board->setAutoFillBackground(true);
    board->installEventFilter(this);
    layout->addWidget(board, 1);
    for (int t = 0; t < DashboardChoices::TileCount; ++t)
        tiles[t] = new DashboardTile(*this, static_cast<Tile>(t), board);
    resize(960, 600);

    // Escape leaves full screen first, then closes, as in the other views.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (isFullScreen())
            SetFullScreen(false);
        else
            close();
    });
    connect(&document, &Document::FrameAccepted, this, [this] {
        freshness.FrameSeen(clock.elapsed());
        dirty = true;
    });
    connect(&document, &Document::TickDone, this, &DashboardWindow::Tick);
    connect(&document, &Document::ImageShown, this, [this] {
        dirty = true;
        if ((document.Image()[field::servoEnable] != 0) != servoInUse) {
            LayoutTiles();
            Redraw(true);
        }
    });
    connect(&document, &Document::LanguageChanged, this, &DashboardWindow::ApplyLanguage);
    ApplyChoices();
    ApplyLanguage();
}

void DashboardWindow::CreateToolBar() {
    toolBar = new QToolBar(this);
    toolBar->setObjectName("ToolBarDashboard");
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    fullScreen = toolBar->addAction(QString());
    fullScreen->setObjectName("ActionDashFullScreen");
    fullScreen->setCheckable(true);
    connect(fullScreen, &QAction::triggered, this, &DashboardWindow::SetFullScreen);
    toolBar->addSeparator();

    const auto pair = [this](QAction*& first, const char* firstName, QAction*& second,
                             const char* secondName) {
        auto* group = new QActionGroup(this);
        first = toolBar->addAction(QString());
        second = toolBar->addAction(QString());
        first->setObjectName(firstName);
        second->setObjectName(secondName);
        for (QAction* action : {first, second}) {
            action->setCheckable(true);
            group->addAction(action);
            connect(action, &QAction::triggered, this, &DashboardWindow::ChoicesEdited);
        }
        toolBar->addSeparator();
    };
    pair(dark, "ActionDashDark", light, "ActionDashLight");
    pair(dial, "ActionDashDial", bar, "ActionDashBar");

    readouts = new QToolButton(toolBar);
    readouts->setObjectName("ButtonDashReadouts");
    readouts->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(readouts);
    menu->setObjectName("MenuDashReadouts");
    for (int t = 0; t < DashboardChoices::TileCount; ++t) {
        tileActions[t] = menu->addAction(QString());
        tileActions[t]->setObjectName(QString("ActionDashShow") + (kTileNames[t] + 4));
        tileActions[t]->setCheckable(true);
        connect(tileActions[t], &QAction::triggered, this, &DashboardWindow::ChoicesEdited);
    }
    readouts->setMenu(menu);
    toolBar->addWidget(readouts);

    stateLabel = new QLabel(this);
    stateLabel->setObjectName("LabelDashboardState");
    stateLabel->setContentsMargins(8, 2, 8, 2);
}

int DashboardWindow::Language() const {
    return document.Language();
}

QColor DashboardWindow::Ground() const {
    return choices.light ? QColor(0xc8, 0xc8, 0xc8) : QColor(0x0c, 0x0c, 0x0c);
}

QColor DashboardWindow::TileGround() const {
    return choices.light ? QColor(0xfa, 0xfa, 0xfa) : QColor(0x1e, 0x1e, 0x1e);
}

QColor DashboardWindow::Ink() const {
    return choices.light ? QColor(0x10, 0x10, 0x10) : QColor(0xf2, 0xf2, 0xf2);
}

QColor DashboardWindow::Label() const {
    return choices.light ? QColor(0x5a, 0x5a, 0x5a) : QColor(0xa8, 0xa8, 0xa8);
}

QColor DashboardWindow::Faint() const {
    return choices.light ? QColor(0xa0, 0xa0, 0xa0) : QColor(0x5a, 0x5a, 0x5a);
}

RpmTileLayout DashboardWindow::RpmLayout() const {
    const DashboardTile* rpm = tiles[Tile::EngineSpeed];
    return LayoutRpm(QRectF(rpm->rect()).adjusted(1, 1, -1, -1), choices.dial, rpm->font());
}

// The greying is decided at each tick: frames stop without any signal.
// Frames mark the readouts dirty; a redraw follows at the next tick at
// least kRedrawMs after the last one, so however fast they come the
// dashboard redraws at most 1000 / kRedrawMs times a second.
void DashboardWindow::Tick() {
    const bool talking = document.Playing() || document.UnitAnswering();
    const LiveFreshness::State now = freshness.At(clock.elapsed(), talking);
    if (now != state) {
        state = now;
        Redraw(false);
        return;
    }
    if (!dirty || (sinceRedraw.isValid() && sinceRedraw.elapsed() < kRedrawMs))
        return;
    Redraw(false);
}

void DashboardWindow::Redraw(bool force) {
    dirty = false;
    sinceRedraw.start();
    ++redraws;
    readings = ReadDashboard(document.LastFrame().data(), document.Image());
    HideWhatSilenceHides(readings, state);
    const QString stateText = StateText();
    if (stateLabel->text() != stateText)
        stateLabel->setText(stateText);
    const bool live = !Greyed();
    // Restyled only when the state changes: a style sheet set anew at every
    // redraw would polish the label again each time.
    const QString style =
        live ? QStringLiteral("QLabel { color: #3cb043; }")
             : QStringLiteral("QLabel { color: white; background: %1; }")
                   .arg(state == LiveFreshness::State::NoConnection ? "#c00000" : "#606060");
    if (stateLabel->styleSheet() != style)
        stateLabel->setStyleSheet(style);
    for (int t = 0; t < DashboardChoices::TileCount; ++t)
        if (tiles[t]->isVisibleTo(this))
            tiles[t]->Show(Spoken(static_cast<Tile>(t)), PaintKey(static_cast<Tile>(t)), force);
}

QString DashboardWindow::StateText() const {
    const int language = Language();
    switch (state) {
    case LiveFreshness::State::NoConnection:
        return QString::fromStdString(TextIn(Msg::NoConnection, language));
    case LiveFreshness::State::NoFrames:
        return Text(DashText::NoLiveData, language);
    case LiveFreshness::State::Waiting:
        return Text(DashText::WaitingForData, language);
    case LiveFreshness::State::Live:
        break;
    }
    return readings.valid ? Text(DashText::LiveData, language)
                          : Text(DashText::WaitingForData, language);
}

QString DashboardWindow::Spoken(Tile kind) const {
    const int language = Language();
    const DashboardReadings& r = readings;
    QString value;
    if (!r.valid) {
        value = QStringLiteral("\u2013");
    } else {
        switch (kind) {
        case Tile::EngineSpeed:
            value = QString("%1 %2").arg(r.rpm).arg(Text(DashText::RpmUnit, language));
            break;
        case Tile::Advance:
            if (r.pickupError) {
                value = Text(DashText::PickupError, language);
            } else if (!r.perChannel) {
                value = QString("%1\u00b0").arg(*r.advance[0]);
            } else {
                QStringList channels;
                for (int c = 0; c < 4; ++c)
                    channels << Text(DashText::Channel, language).arg(c + 1) + " " +
                                    (r.advance[c] ? QString("%1\u00b0").arg(*r.advance[c])
                                                  : Text(DashText::NotUsed, language));
                value = channels.join(", ");
            }
            break;
        case Tile::Throttle:
            value = r.throttleError ? QString("%1, %2 mV")
                                          .arg(Text(DashText::SensorError, language))
                                          .arg(r.throttleMillivolts)
                                    : QString("%1 %").arg(r.throttlePercent);
            break;
        case Tile::Supply:
            value = QString::fromStdString(r.supplyVolts) + " V";
            break;
        case Tile::Servo:
            value = QString("%1 %2 mV, %3 %4 mV")
                        .arg(Text(DashText::Desired, language))
                        .arg(r.servoDesiredMillivolts)
                        .arg(Text(DashText::Measured, language))
                        .arg(r.servoMeasuredMillivolts);
            break;
        case Tile::Lamps: {
            QStringList lamps;
            for (std::size_t i = 0; i < kDashboardLamps; ++i)
                lamps << Text(kLampNames[i], language) + " " +
                             Text(r.lamps[i].on ? DashText::On : DashText::Off, language);
            value = lamps.join(", ");
            break;
        }
        case Tile::TileCount:
            break;
        }
    }
    return Greyed() ? QString("%1 (%2)").arg(value, StateText()) : value;
}

QString DashboardWindow::PaintKey(Tile kind) const {
    const DashboardReadings& r = readings;
    QString key = QString("%1%2%3").arg(choices.light).arg(choices.dial).arg(Greyed());
    const auto role = [&key](ColourRole colour) { key += QChar('a' + static_cast<int>(colour)); };
    switch (kind) {
    case Tile::EngineSpeed:
        role(r.rpmColour);
        key += QString(",%1,%2").arg(r.shiftLightRpm).arg(r.limiterRpm);
        break;
    case Tile::Advance:
        for (ColourRole colour : r.advanceColour)
            role(colour);
        break;
    case Tile::Throttle:
        role(r.throttleColour);
        break;
    case Tile::Supply:
        role(r.supplyColour);
        break;
    case Tile::Servo:
        role(r.servoColour);
        break;
    case Tile::Lamps:
        for (const LampReading& lamp : r.lamps)
            role(lamp.colour);
        break;
    case Tile::TileCount:
        break;
    }
    return key;
}

bool DashboardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == board && event->type() == QEvent::Resize)
        LayoutTiles();
    return QWidget::eventFilter(watched, event);
}

void DashboardWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const QSignalBlocker quiet(fullScreen);
        fullScreen->setChecked(isFullScreen());
    }
    QWidget::changeEvent(event);
}

void DashboardWindow::SetFullScreen(bool on) {
    if (on != isFullScreen()) {
        if (on)
            showFullScreen();
        else
            showNormal();
    }
    const QSignalBlocker quiet(fullScreen);
    fullScreen->setChecked(on);
}

// Three rows: engine speed, the figures, the lamps; a row whose readouts
// are all hidden gives its room to the others.
void DashboardWindow::LayoutTiles() {
    const QRectF area = QRectF(board->rect());
    const double gap = std::max(4.0, std::min(area.width(), area.height()) * 0.012);
    // The servo's readout shows only while the image has the servo on, as
    // in the live panel: a unit without one reports it faulty. A dashboard
    // of nothing else shows it all the same.
    servoInUse = document.Image()[field::servoEnable] != 0;
    std::array<bool, DashboardChoices::TileCount> showing = choices.shown;
    showing[Tile::Servo] = showing[Tile::Servo] && servoInUse;
    if (std::none_of(showing.begin(), showing.end(), [](bool on) { return on; }))
        showing = choices.shown;
    std::vector<Tile> figures;
    for (Tile t : {Tile::Advance, Tile::Throttle, Tile::Supply, Tile::Servo})
        if (showing[t])
            figures.push_back(t);
    struct Row {
        std::vector<Tile> tiles;
        double weight;
    };
    std::vector<Row> rows;
    if (showing[Tile::EngineSpeed])
        rows.push_back({{Tile::EngineSpeed}, 6.0});
    if (!figures.empty())
        rows.push_back({figures, 3.4});
    if (showing[Tile::Lamps])
        rows.push_back({{Tile::Lamps}, 2.2});
    double weights = 0;
    for (const Row& row : rows)
        weights += row.weight;
    const double height = area.height() - gap * (static_cast<double>(rows.size()) + 1);
    double y = area.top() + gap;
    for (const Row& row : rows) {
        const double h = height * row.weight / weights;
        const double count = static_cast<double>(row.tiles.size());
        const double w = (area.width() - gap * (count + 1)) / count;
        double x = area.left() + gap;
        for (Tile t : row.tiles) {
            tiles[t]->setGeometry(QRectF(x, y, w, h).toRect());
            x += w + gap;
        }
        y += h + gap;
    }
    for (int t = 0; t < DashboardChoices::TileCount; ++t)
        tiles[t]->setVisible(showing[t]);
}

void DashboardWindow::ApplyChoices() {
    {
        const QSignalBlocker a(dark), b(light), c(dial), d(bar);
        (choices.light ? light : dark)->setChecked(true);
        (choices.dial ? dial : bar)->setChecked(true);
    }
    for (int t = 0; t < DashboardChoices::TileCount; ++t) {
        const QSignalBlocker quiet(tileActions[t]);
        tileActions[t]->setChecked(choices.shown[t]);
    }
    setPalette(choices.light ? QApplication::palette() : DarkPalette());
    QPalette ground = board->palette();
    ground.setColor(QPalette::Window, Ground());
    board->setPalette(ground);
    LayoutTiles();
    Redraw(true);
}

// The actions as the user left them; the last readout shown stays.
void DashboardWindow::ChoicesEdited() {
    DashboardChoices edited = choices;
    edited.light = light->isChecked();
    edited.dial = dial->isChecked();
    for (int t = 0; t < DashboardChoices::TileCount; ++t)
        edited.shown[t] = tileActions[t]->isChecked();
    if (std::none_of(edited.shown.begin(), edited.shown.end(), [](bool on) { return on; }))
        edited.shown = choices.shown;
    const bool changed = edited != choices;
    choices = edited;
    ApplyChoices();
    if (changed)
        emit ChoicesChanged(choices);
}

void DashboardWindow::ApplyLanguage() {
    const int language = Language();
    setWindowTitle(Text(DashText::Title, language));
    fullScreen->setText(Text(DashText::FullScreen, language));
    dark->setText(Text(DashText::DarkLook, language));
    light->setText(Text(DashText::LightLook, language));
    dial->setText(Text(DashText::Dial, language));
    bar->setText(Text(DashText::Bar, language));
    // A tool bar's buttons take no focus and drop the letters marked in
    // their texts: the actions carry those keys themselves, so the window
    // works without a mouse.
    fullScreen->setShortcuts(
        {QKeySequence(Qt::Key_F11), QKeySequence::mnemonic(fullScreen->text())});
    for (QAction* action : {dark, light, dial, bar})
        action->setShortcut(QKeySequence::mnemonic(action->text()));
    readouts->setText(Text(DashText::Readouts, language));
    SetReaderName(readouts, orna5::Spoken(readouts->text()));
    toolBar->setWindowTitle(Text(DashText::Title, language));
    for (int t = 0; t < DashboardChoices::TileCount; ++t) {
        tileActions[t]->setText(Text(kTileTitles[t], language));
        SetReaderName(tiles[t], Text(kTileTitles[t], language));
    }
    Redraw(true);
}

} // namespace orna5
