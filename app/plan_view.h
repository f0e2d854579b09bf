// The plan widget `Figure1` that the officers are drawn on: the engine's
// DrawingSurface on Qt, with the routes and the route preview over the plan.
//
// Units: the engine speaks twips; the plan is 482 x 696 plan pixels at 15
// twips per pixel, drawn inside a 2-pixel sunken border and scaled, keeping
// its aspect, to the largest size the widget holds (1 at 486 x 700).
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QFont>
#include <QFrame>
#include <QPixmap>
#include <QPointF>
#include <QTransform>

#include "engine/platform.h"
#include "render/marker_painter.h"

namespace velistrad {

class ChapterRoom;

// Drawn with the plan when set: routes under the markers, a ring over them.
class PlanOverlay {
public:
    virtual ~PlanOverlay() = default;
    virtual void paintUnder(QPainter& painter) = 0;
    virtual void paintOver(QPainter& painter) = 0;
    // Asked as each frame of a run is presented: the plan pixels its own
    // drawing may have changed since it was last asked; nothing means all
    // of the plan.
    virtual std::optional<QRectF> changedArea() { return std::nullopt; }
};

class PlanView : public QFrame, public DrawingSurface {
    Q_OBJECT

public:
    explicit PlanView(const ChapterRoom& room, QWidget* parent = nullptr);

    void clear() override;
    void drawOfficer(const OfficerMarker& marker) override;
    // Paints at once, and only where markers appeared, moved or went and
    // where the overlay's drawing changed: playback waits inside nested
    // event handling, where a queued update might not be painted before the
    // next frame replaces it.
    void present() override;

    // What is shown now, for tests and for export.
    const std::vector<Marker>& markers() const { return m_shown; }
    const QFont& labelFont() const { return m_painter.font(); }
    MarkerPainter& markerPainter() { return m_painter; }

    // Plan pixels to widget pixels, and the plan's place in the widget.
    QTransform planTransform() const;
    QRectF planRect() const;
    QSize sizeHint() const override;

    // Drawn with the plan from now on; null (the default) draws the plan
    // alone.
    void setOverlay(PlanOverlay* overlay);
    // The route of the entry being edited, drawn under the markers; empty
    // draws nothing.
    using Preview = std::function<void(QPainter&)>;
    void setPreview(Preview preview);
    bool previewing() const { return static_cast<bool>(m_preview); }

signals:
    // A left click on the plan, in plan pixels.
    void clicked(QPointF planPixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const ChapterRoom& m_room;
    MarkerPainter m_painter;
    Preview m_preview;
    QPixmap m_plan;                 // rendered for the current scale and device pixel ratio
    std::vector<Marker> m_drawing;  // since clear(), not presented yet
    std::vector<Marker> m_shown;
    PlanOverlay* m_overlay = nullptr;
};

}  // namespace velistrad
