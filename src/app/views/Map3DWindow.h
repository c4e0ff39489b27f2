#pragma once

#include "edit/MapBlockCommands.h"
#include "params/ParameterImage.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <QVector3D>

#include <optional>

class Q3DSurface;
class QCustom3DLabel;
class QPushButton;
class QSurface3DSeries;
class QWidget;

namespace orna5 {

class Document;

// The advance map as a surface over the rpm axis and the throttle rows (a
// ribbon of the 100 % row when the map does not use the throttle), with the
// engine's operating point as a marker and the map table's selected block
// highlighted. Rotate with the right mouse button, zoom with the wheel.
//
// It needs OpenGL: open it only when OpenGLAvailable() says so. The live
// marker is the costly part on a software renderer, so it moves only when
// the live cell or its value changes, and at most a few times a second; the
// surface is rebuilt only when the map or its axis has changed.
class Map3DWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kSettingsSection = "MAP_3D";

    // Whether an OpenGL context can be made current here; asked once.
    static bool OpenGLAvailable();

    explicit Map3DWindow(Document& document);

    // Highlights a block of the map (the map table's selection), or none.
    void SetHighlight(std::optional<MapBlock> block);
    void ResetView();

    // What is drawn, for the tests: the height of the surface at a data row
    // (throttle, from the closed throttle up) and an rpm point; the marker
    // and how often it has moved.
    double SurfaceValue(int dataRow, int column) const;
    int SurfaceRows() const;
    std::optional<QVector3D> Marker() const;
    int MarkerMoves() const { return markerMoves; }
    // The window with the surface drawn into it (a grab alone leaves the
    // OpenGL part empty).
    QImage Picture();

private:
    struct MarkerPlace {
        bool shown = false;
        QVector3D position;
        bool operator==(const MarkerPlace& other) const {
            return shown == other.shown && (!shown || position == other.position);
        }
    };

    void ShowImage();
    void ShowHighlight();
    void TickDone();
    MarkerPlace LiveMarker() const;
    void MoveMarker();
    void ApplyLanguage();
    bool TpsRowsUsed() const;

    Document& document;
    Q3DSurface* graph = nullptr;
    QWidget* container = nullptr;
    QSurface3DSeries* surface = nullptr;
    QSurface3DSeries* highlight = nullptr;
    QCustom3DLabel* marker = nullptr;
    QPushButton* resetView = nullptr;
    // The part of the image the surface was drawn from.
    std::array<std::uint8_t, kMapRows * kAxisPoints + kAxisPoints + 1> drawnFrom{};
    bool drawn = false;
    std::optional<MapBlock> highlighted;
    MarkerPlace markerShown;
    QTimer markerTimer;
    int markerMoves = 0;
};

} // namespace orna5
