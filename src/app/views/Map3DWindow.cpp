#include "app/views/Map3DWindow.h"

#include "app/Document.h"
#include "app/views/MapTableModel.h"
#include "device/MonitorPanel.h"
#include "lang/ViewTexts.h"
#include "params/FieldTable.h"
#include "params/TpsBreakpoints.h"

#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QCustom3DLabel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>
#include <QPushButton>
#include <QSurface3DSeries>
#include <QSurfaceDataProxy>
#include <QVBoxLayout>
#include <QValue3DAxis>
#include <qutils.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace orna5 {

namespace {

// The marker moves at most this often; a software renderer draws the whole
// scene for each move.
constexpr int kMarkerIntervalMs = 250;

// The single row of a map without throttle rows is drawn as a strip of this
// depth at the open throttle.
constexpr float kRibbonFrom = 90.0f;

// How far the live label floats over its cell, in degrees.
constexpr float kMarkerLift = 3.0f;

// Raised a little over the surface, so the highlight is not lost in it.
constexpr float kHighlightLift = 0.3f;

// Where a block's edge lies on an axis: half way to the next point beyond
// it, as the table's cells reach half way to their neighbours.
float EdgeBetween(const std::vector<float>& axis, int inside, int outside) {
    if (outside < 0 || outside >= static_cast<int>(axis.size()))
        return axis[static_cast<std::size_t>(inside)];
    return (axis[static_cast<std::size_t>(inside)] + axis[static_cast<std::size_t>(outside)]) / 2;
}

// The straight line between the two points of an axis around x: the lower
// index and how far x lies towards the next.
std::pair<int, float> Bracket(const std::vector<float>& axis, float x) {
    const int last = static_cast<int>(axis.size()) - 1;
    for (int i = 0; i < last; ++i)
        if (x <= axis[static_cast<std::size_t>(i + 1)]) {
            const float from = axis[static_cast<std::size_t>(i)];
            const float span = axis[static_cast<std::size_t>(i + 1)] - from;
            return {i, span > 0 ? std::clamp((x - from) / span, 0.0f, 1.0f) : 0.0f};
        }
    return {std::max(0, last - 1), last > 0 ? 1.0f : 0.0f};
}

} // namespace

bool Map3DWindow::OpenGLAvailable() {
    static const bool available = [] {
        // The offscreen platform makes a context where a display is at hand,
        // yet the surface graph's renderer crashes on its windows: there the
        // view is not opened, as without OpenGL.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return false;
        QOpenGLContext context;
        if (!context.create())
            return false;
        QOffscreenSurface probe;
        probe.setFormat(context.format());
        probe.create();
        if (!probe.isValid() || !context.makeCurrent(&probe))
            return false;
        context.doneCurrent();
        return true;
    }();
    return available;
}

Map3DWindow::Map3DWindow(Document& doc) : QMainWindow(doc.ViewParent(), Qt::Window), document(doc) {
    setObjectName("Map3DWindow");
    // Without multisampling: a software renderer takes several times longer
    // over each frame with it, and the marker redraws the whole scene.
    const QSurfaceFormat format = qDefaultSurfaceFormat(false);
    graph = new Q3DSurface(&format);
    graph->setObjectName("SurfaceMap3D");
    graph->setSelectionMode(QAbstract3DGraph::SelectionNone);
    graph->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
    graph->activeTheme()->setType(Q3DTheme::ThemeQt);
    graph->activeTheme()->setLabelBackgroundEnabled(false);
    for (QValue3DAxis* axis : {graph->axisX(), graph->axisY(), graph->axisZ()}) {
        axis->setTitleVisible(true);
        axis->setLabelFormat("%d");
    }
    // The rpm and throttle axes as long as each other, whatever their ranges.
    graph->setHorizontalAspectRatio(1.0);
    graph->axisZ()->setRange(0, 100);
    graph->axisZ()->setSegmentCount(5);

    surface = new QSurface3DSeries(new QSurfaceDataProxy);
    surface->setObjectName("SeriesMap");
    surface->setDrawMode(QSurface3DSeries::DrawSurfaceAndWireframe);
    surface->setFlatShadingEnabled(false);
    // Cold to hot as in the map table, over the advance axis.
    QLinearGradient colours(0, 0, 1, 100);
    for (int degrees = 0; degrees <= 60; degrees += 15)
        colours.setColorAt(degrees / 60.0, MapTableModel::CellColour(degrees));
    surface->setBaseGradient(colours);
    surface->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
    surface->setWireframeColor(QColor(40, 40, 40));
    graph->addSeries(surface);

    highlight = new QSurface3DSeries(new QSurfaceDataProxy);
    highlight->setObjectName("SeriesSelection");
    highlight->setDrawMode(QSurface3DSeries::DrawSurfaceAndWireframe);
    highlight->setColorStyle(Q3DTheme::ColorStyleUniform);
    highlight->setBaseColor(QColor(255, 255, 255, 170));
    highlight->setWireframeColor(QColor(20, 20, 160));
    highlight->setVisible(false);
    graph->addSeries(highlight);

    marker = new QCustom3DLabel;
    marker->setObjectName("LabelLive");
    marker->setFacingCamera(true);
    marker->setBackgroundEnabled(true);
    marker->setBackgroundColor(Qt::black);
    marker->setTextColor(Qt::white);
    marker->setBorderEnabled(true);
    marker->setScaling(QVector3D(1.2f, 1.2f, 1.2f));
    marker->setVisible(false);
    graph->addCustomItem(marker);

    container = QWidget::createWindowContainer(graph, this);
    container->setObjectName("ContainerMap3D");
    container->setMinimumSize(320, 240);
    container->setFocusPolicy(Qt::StrongFocus);
    resetView = new QPushButton(this);
    resetView->setObjectName("ButtonResetView");
    resetView->setAutoDefault(false);
    connect(resetView, &QPushButton::clicked, this, &Map3DWindow::ResetView);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(container, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(resetView);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(760, 600);

    markerTimer.setSingleShot(true);
    markerTimer.setInterval(kMarkerIntervalMs);
    connect(&markerTimer, &QTimer::timeout, this, &Map3DWindow::MoveMarker);
    connect(&document, &Document::ImageShown, this, &Map3DWindow::ShowImage);
    connect(&document, &Document::TickDone, this, &Map3DWindow::TickDone);
    connect(&document, &Document::LanguageChanged, this, &Map3DWindow::ApplyLanguage);
    ApplyLanguage();
    ResetView();
    ShowImage();
}

bool Map3DWindow::TpsRowsUsed() const {
    return document.Image()[field::mapUsesTps] != 0;
}

void Map3DWindow::ApplyLanguage() {
    const int language = document.Language();
    const auto text = [language](ViewText id) {
        return QString::fromStdString(TextIn(id, language));
    };
    setWindowTitle(text(ViewText::Map3DTitle));
    graph->axisX()->setTitle(text(ViewText::AxisRpm));
    graph->axisY()->setTitle(text(ViewText::AxisAdvance));
    graph->axisZ()->setTitle(text(ViewText::SeriesThrottle));
    marker->setText(text(ViewText::LivePoint));
    resetView->setText(text(ViewText::ResetView));
}

void Map3DWindow::ResetView() {
    Q3DCamera* camera = graph->scene()->activeCamera();
    camera->setCameraPreset(Q3DCamera::CameraPresetIsometricRightHigh);
    camera->setZoomLevel(75);
}

void Map3DWindow::ShowImage() {
    const ParameterImage& image = document.Image();
    std::array<std::uint8_t, sizeof drawnFrom> now{};
    std::memcpy(now.data(), image.data() + field::mapRpm, now.size() - 1);
    now.back() = image[field::mapUsesTps];
    if (drawn && now == drawnFrom) {
        TickDone();
        return;
    }
    drawnFrom = now;
    drawn = true;

    const bool tpsRows = TpsRowsUsed();
    auto* rows = new QSurfaceDataArray;
    int highest = 0;
    const auto addRow = [&](std::size_t mapRow, float throttle) {
        auto* row = new QSurfaceDataRow;
        row->reserve(kAxisPoints);
        for (std::size_t c = 0; c < kAxisPoints; ++c) {
            const int advance = image[MapCell(mapRow, c)];
            highest = std::max(highest, advance);
            row->append(QSurfaceDataItem(
                QVector3D(static_cast<float>(Shown(fieldScale::mapRpm, image[field::mapRpm + c])),
                          static_cast<float>(advance), throttle)));
        }
        rows->append(row);
    };
    if (tpsRows) {
        for (std::size_t r = 0; r < kMapRows; ++r)
            addRow(r, TpsBreakpoints[r]);
    } else {
        addRow(kMapRows - 1, kRibbonFrom);
        addRow(kMapRows - 1, 100.0f);
    }
    surface->dataProxy()->resetArray(rows);
    graph->axisX()->setRange(
        static_cast<float>(Shown(fieldScale::mapRpm, image[field::mapRpm])),
        static_cast<float>(Shown(fieldScale::mapRpm, image[field::mapRpm + kAxisPoints - 1])));
    // The advance axis in steps of ten degrees, at least to 30.
    const int top = std::max(30, (highest + 9) / 10 * 10);
    graph->axisY()->setRange(0, static_cast<float>(top));
    graph->axisY()->setSegmentCount(top / 10);
    ShowHighlight();
    TickDone();
}

void Map3DWindow::SetHighlight(std::optional<MapBlock> block) {
    if (block && !BlockWithin(*block))
        block.reset();
    const bool same =
        highlighted.has_value() == block.has_value() &&
        (!block || (block->top == highlighted->top && block->left == highlighted->left &&
                    block->bottom == highlighted->bottom && block->right == highlighted->right));
    if (same)
        return;
    highlighted = block;
    ShowHighlight();
}

// The block as a patch of the surface reaching half way to the cells around
// it, so that a single cell shows too.
void Map3DWindow::ShowHighlight() {
    if (!highlighted) {
        highlight->setVisible(false);
        return;
    }
    const ParameterImage& image = document.Image();
    const bool tpsRows = TpsRowsUsed();
    std::vector<float> rpm, throttle;
    for (std::size_t c = 0; c < kAxisPoints; ++c)
        rpm.push_back(static_cast<float>(Shown(fieldScale::mapRpm, image[field::mapRpm + c])));
    std::vector<std::size_t> mapRows;
    if (tpsRows) {
        for (std::size_t r = 0; r < kMapRows; ++r) {
            throttle.push_back(TpsBreakpoints[r]);
            mapRows.push_back(r);
        }
    } else {
        throttle = {kRibbonFrom, 100.0f};
        mapRows = {kMapRows - 1, kMapRows - 1};
    }
    const MapBlock& block = *highlighted;
    const auto along = [](const std::vector<float>& axis, int from, int to) {
        std::vector<float> at{EdgeBetween(axis, from, from - 1)};
        for (int i = from; i <= to; ++i)
            at.push_back(axis[static_cast<std::size_t>(i)]);
        at.push_back(EdgeBetween(axis, to, to + 1));
        at.erase(std::unique(at.begin(), at.end()), at.end());
        return at;
    };
    const std::vector<float> xs = along(rpm, block.left, block.right);
    const std::vector<float> zs =
        tpsRows ? along(throttle, block.top, block.bottom) : std::vector<float>{throttle};
    // Heights between the points, as the surface draws them.
    const auto height = [&](float x, float z) {
        const auto [c, u] = Bracket(rpm, x);
        const auto [r, v] = Bracket(throttle, z);
        const auto at = [&](int row, int column) {
            return static_cast<float>(image[MapCell(mapRows[static_cast<std::size_t>(row)],
                                                    static_cast<std::size_t>(column))]);
        };
        const int r1 = std::min(r + 1, static_cast<int>(throttle.size()) - 1);
        const int c1 = std::min(c + 1, static_cast<int>(rpm.size()) - 1);
        return (1 - v) * ((1 - u) * at(r, c) + u * at(r, c1)) +
               v * ((1 - u) * at(r1, c) + u * at(r1, c1));
    };
    auto* rows = new QSurfaceDataArray;
    for (float z : zs) {
        auto* row = new QSurfaceDataRow;
        for (float x : xs)
            row->append(QSurfaceDataItem(QVector3D(x, height(x, z) + kHighlightLift, z)));
        rows->append(row);
    }
    highlight->dataProxy()->resetArray(rows);
    highlight->setVisible(true);
}

Map3DWindow::MarkerPlace Map3DWindow::LiveMarker() const {
    const LivePosition live = document.Live();
    MarkerPlace place;
    if (!document.UnitAnswering() || document.Values().liveRpm <= 0 || live.belowMapAxis ||
        live.tpsRow >= kMapRows || live.mapRpmColumn >= kAxisPoints)
        return place;
    const ParameterImage& image = document.Image();
    const bool tpsRows = TpsRowsUsed();
    const std::size_t row = tpsRows ? live.tpsRow : kMapRows - 1;
    place.shown = true;
    place.position = QVector3D(
        static_cast<float>(Shown(fieldScale::mapRpm, image[field::mapRpm + live.mapRpmColumn])),
        // Above the surface, so that the label is not half buried in it.
        std::min(static_cast<float>(image[MapCell(row, live.mapRpmColumn)]) + kMarkerLift,
                 graph->axisY()->max()),
        tpsRows ? static_cast<float>(TpsBreakpoints[row]) : (kRibbonFrom + 100.0f) / 2);
    return place;
}

// Each tick only compares; a move waits for the timer, so a sweeping engine
// costs a few redraws a second at most.
void Map3DWindow::TickDone() {
    if (LiveMarker() == markerShown)
        return;
    if (!markerTimer.isActive())
        markerTimer.start();
}

void Map3DWindow::MoveMarker() {
    const MarkerPlace place = LiveMarker();
    if (place == markerShown)
        return;
    markerShown = place;
    ++markerMoves;
    if (place.shown)
        marker->setPosition(place.position);
    marker->setVisible(place.shown);
}

double Map3DWindow::SurfaceValue(int dataRow, int column) const {
    const QSurfaceDataItem* item = surface->dataProxy()->itemAt(dataRow, column);
    return item ? item->y() : -1.0;
}

int Map3DWindow::SurfaceRows() const {
    return surface->dataProxy()->rowCount();
}

std::optional<QVector3D> Map3DWindow::Marker() const {
    if (!markerShown.shown)
        return std::nullopt;
    return markerShown.position;
}

QImage Map3DWindow::Picture() {
    QImage picture = grab().toImage();
    const QImage drawing = graph->renderToImage(0, container->size() * devicePixelRatio());
    QPainter painter(&picture);
    painter.drawImage(QRect(container->mapTo(this, QPoint(0, 0)), container->size()), drawing);
    return picture;
}

} // namespace orna5
