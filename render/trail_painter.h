// The routes of a run drawn over the plan, the ring of the followed officer,
// and a legend of the officers' colours: one painter for the screen and for
// every export, in plan pixels like the rest of the plan (see plan_painter.h).
//
// A route is faint where he has still to walk and solid where he has walked,
// with arrowheads along it pointing the way he goes.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <vector>

#include "engine/officer_part.h"
#include "render/marker_painter.h"

class QPainter;

namespace velistrad {

class ChapterRoom;

// What to follow: one officer (or none, -1) and whether every route shows.
struct TrailOptions {
    int selected = -1;
    bool all = false;

    bool any() const { return selected >= 0 || all; }
    bool operator==(const TrailOptions&) const = default;
};

// A fixed colour per officer (0..21) that can be told from the others.
QColor officerColour(int officer);

// The marker list the plan shows for the room as it stands: every officer
// away from his station, in officer order, as playback draws them.
std::vector<Marker> markersOf(const ChapterRoom& room);

class TrailScene {
public:
    TrailScene() = default;
    // `trails` holds every officer's route (officerTrails), or is empty.
    TrailScene(std::vector<Trail> trails, TrailOptions options);

    const TrailOptions& options() const { return m_options; }
    // The officers whose routes are drawn, bottom to top.
    std::vector<int> drawn() const;

    // The routes as they stand once `shown` frames have been shown, the
    // room's officers where those frames leave them: first every route
    // faint, which stays as it is all through a run, then the walked parts;
    // walked parts that cannot reach into `within` (when valid) are left out.
    void paintRoutes(QPainter& painter, const ChapterRoom& room, std::size_t shown,
                     const QRectF& within = QRectF()) const;
    void paintFaint(QPainter& painter) const;
    // Routes that cannot reach into `within` (when valid) are left out.
    void paintWalked(QPainter& painter, const ChapterRoom& room, std::size_t shown,
                     const QRectF& within = QRectF()) const;
    // The ring about the followed officer, at his marker or his station;
    // nothing when it cannot reach into `within` (when valid).
    void paintRing(QPainter& painter, const ChapterRoom& room,
                   const QRectF& within = QRectF()) const;
    // The plan pixels that may differ between two moments of the run.
    QRectF changed(const ChapterRoom& before, std::size_t shownBefore, const ChapterRoom& after,
                   std::size_t shownAfter) const;

    // A route's corners in plan pixels, how far along it each lies and its
    // arrowheads, worked out once: an animation paints the walked part
    // thousands of times.
    struct Arrow {
        QPointF at;
        QPointF direction;
        qreal along;         // pixels from the start of the route
        std::size_t corner;  // the end of the line it lies on
    };
    struct RouteGeometry {
        std::vector<QPointF> corners;
        std::vector<qreal> along;  // pixels walked on reaching each corner
        // The line to each corner was walked before, from the same corner:
        // drawn once, however often he walks it.
        std::vector<bool> again;
        std::vector<Arrow> arrows;
        QRectF bounds;
    };

private:
    std::vector<Trail> m_trails;
    std::vector<RouteGeometry> m_routes;
    TrailOptions m_options;
};

// The whole picture: plan, routes, markers, ring.
void paintScene(QPainter& painter, const ChapterRoom& room, MarkerPainter& markers,
                const TrailScene& trails, std::size_t shown);

// One line per officer: his colour and abbreviation, from the top left of
// `area`, in rows of `rowHeight` plan pixels; returns the height used.
qreal paintLegend(QPainter& painter, const QRectF& area, const ChapterRoom& room,
                  const std::vector<int>& officers, qreal rowHeight = 14);

}  // namespace velistrad
