#pragma once

#include "app/views/DashboardChoices.h"
#include "device/Dashboard.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QToolBar;
class QToolButton;

namespace orna5 {

class DashboardWindow;
class Document;

// One readout of the dashboard, painted to the size it is given. It takes
// the focus, so a screen reader can reach it, and tells its value.
class DashboardTile : public QWidget {
    Q_OBJECT
public:
    DashboardTile(DashboardWindow& owner, DashboardChoices::Tile kind, QWidget* parent);

    DashboardChoices::Tile Kind() const { return kind; }
    // The value as a screen reader says it, in the current language.
    const QString& SpokenValue() const { return spoken; }
    // Takes what the tile shows now; repaints only when that changed.
    void Show(const QString& spokenValue, const QString& look, bool force);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DashboardWindow& owner;
    DashboardChoices::Tile kind;
    QString spoken;
    QString drawn; // everything the last painting depended on
    // What does not move between frames (the rpm scale), and what it shows.
    QPixmap layer;
    QString layerKey;
};

// The contrast of two colours as the eye takes it, from 1 (alike) to 21
// (black on white).
double Contrast(const QColor& a, const QColor& b);
// A mark's colour that reads on `ground`: `wanted` where it does, else a
// darker shade of it, else `ink`. A limiter mark on a tile that is itself
// red for an rpm alarm, or a yellow shift-light mark in the light look,
// would otherwise vanish.
QColor Legible(const QColor& wanted, const QColor& ground, const QColor& ink);

// Where the engine speed tile puts its parts.
struct RpmTileLayout {
    QRectF title;
    QRectF digits;
    QRectF unit;
    QRectF scale; // the bar, or the dial's square
    int digitPixels = 0;
    double digitHeight = 0; // the digits' own height, as drawn
};

// View > Dashboard: large readouts of the live data, fed by the document,
// live or from a log playing: engine speed on a dial or a bar with the
// image's shift-light and limiter marks, advance, throttle, supply voltage,
// the exhaust servo and the lamps, coloured as the live panel colours them.
// A second without a frame, or a silent unit, greys it all out. It redraws
// at most every kRedrawMs however fast frames come.
class DashboardWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = DashboardChoices::kSection;
    static constexpr qint64 kRedrawMs = 50;

    DashboardWindow(Document& document, const DashboardChoices& choices);

    const DashboardChoices& Choices() const { return choices; }
    const DashboardReadings& Readings() const { return readings; }
    LiveFreshness::State State() const { return state; }
    // The figures are not live: shown in grey, without colours.
    bool Greyed() const { return state != LiveFreshness::State::Live || !readings.valid; }
    // How many times the readouts were brought up to date.
    long Redraws() const { return redraws; }
    DashboardTile* Readout(DashboardChoices::Tile kind) const { return tiles[kind]; }
    // The engine speed tile's parts at its size now.
    RpmTileLayout RpmLayout() const;
    int Language() const;
    // "Live", or why the figures are grey, in the current language.
    QString StateText() const;
    void ApplyLanguage();

    // Colours of the look chosen.
    QColor Ground() const;
    QColor TileGround() const;
    QColor Ink() const;
    QColor Label() const; // titles and units
    QColor Faint() const;

signals:
    void ChoicesChanged(const orna5::DashboardChoices& choices);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateToolBar();
    void Tick();
    // Reads the last frame and passes it to the tiles; `force` repaints all.
    void Redraw(bool force);
    void LayoutTiles();
    void ApplyChoices();
    void ChoicesEdited();
    void SetFullScreen(bool on);
    QString Spoken(DashboardChoices::Tile kind) const;
    // Everything but the spoken value that a tile's painting depends on.
    QString PaintKey(DashboardChoices::Tile kind) const;

    Document& document;
    DashboardChoices choices;
    DashboardReadings readings;
    LiveFreshness freshness;
    LiveFreshness::State state = LiveFreshness::State::Waiting;
    QElapsedTimer clock;
    QElapsedTimer sinceRedraw;
    bool dirty = true;
    bool servoInUse = false; // as the image has it at the last layout
    long redraws = 0;

    QToolBar* toolBar = nullptr;
    QAction* fullScreen = nullptr;
    QAction* dark = nullptr;
    QAction* light = nullptr;
    QAction* dial = nullptr;
    QAction* bar = nullptr;
    QToolButton* readouts = nullptr;
    std::array<QAction*, DashboardChoices::TileCount> tileActions{};
    QLabel* stateLabel = nullptr;
    QWidget* board = nullptr;
    std::array<DashboardTile*, DashboardChoices::TileCount> tiles{};
};

} // namespace orna5
