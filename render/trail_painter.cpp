#include "render/trail_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

#include "model/chapter_room.h"
#include "render/plan_picture.h"

namespace velistrad {

namespace {

constexpr int kFaintAlpha = 90;
constexpr qreal kFaintWidth = 2.0;
constexpr qreal kWalkedWidth = 2.5;
constexpr qreal kArrowLength = 7.0;
constexpr qreal kArrowSpacing = 60.0;  // pixels between arrowheads on a long walk
constexpr qreal kShortestArrowed = 16.0;
constexpr qreal kRingRadius = kMarkerRadius / kTwipsPerPixel + 3.5;
constexpr qreal kRingWidth = 3.0;

QPointF spot(const TrailPoint& p) {
    return markerCentre(p.x, p.y);
}

void arrowhead(QPainter& painter, QPointF tip, QPointF direction, const QColor& colour) {
    const QPointF back = -direction * kArrowLength;
    const QPointF side(-direction.y() * kArrowLength / 2, direction.x() * kArrowLength / 2);
    const QPointF at = tip + direction * (kArrowLength / 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF{at, at + back + side, at + back - side});
}

struct Arrow {
    QPointF at;
    QPointF direction;
    qreal along;  // pixels from the start of the route
};

// A route's line and its arrowheads, and how far along it he has walked.
struct RouteShape {
    QPainterPath all;
    QPainterPath walked;
    std::vector<Arrow> arrows;
    qreal walkedAlong = 0;
};

// `now` is where he stands once `shown` frames have been shown.
RouteShape routeShape(const Trail& trail, QPointF now, std::size_t shown) {
    RouteShape shape;
    // The last corner he has reached.
    const auto reached =
        std::upper_bound(trail.begin(), trail.end(), shown,
                         [](std::size_t s, const TrailPoint& p) { return s < p.frame; }) -
        trail.begin() - 1;
    const auto last = static_cast<std::size_t>(std::max<std::ptrdiff_t>(reached, 0));
    const bool underWay = last + 1 < trail.size() && !trail[last + 1].jump;
    qreal along = 0;
    for (std::size_t i = 0; i < trail.size(); ++i) {
        const QPointF p = spot(trail[i]);
        if (i == 0 || trail[i].jump) {
            shape.all.moveTo(p);
            if (i <= last) shape.walked.moveTo(p);
        } else {
            const QLineF segment(spot(trail[i - 1]), p);
            const qreal length = segment.length();
            shape.all.lineTo(p);
            if (i <= last) shape.walked.lineTo(p);
            if (length >= kShortestArrowed) {
                const QPointF unit = (p - segment.p1()) / length;
                const int count = std::max(1, static_cast<int>(length / kArrowSpacing));
                for (int a = 0; a < count; ++a) {
                    const qreal t = (a + 0.5) / count * length;
                    shape.arrows.push_back({segment.p1() + unit * t, unit, along + t});
                }
            }
            along += length;
        }
        if (i == last) {
            shape.walkedAlong = along;
            if (underWay) {
                shape.walked.lineTo(now);
                shape.walkedAlong += QLineF(p, now).length();
            }
        }
    }
    return shape;
}

// A route of one spot, or of jumps only, has no line to draw. Stroked all
// the same, a PDF gets a closepath with no current point, which readers
// reject, so such a path is left out; on pixels it draws nothing anyway.
bool hasLine(const QPainterPath& path) {
    for (int i = 0; i < path.elementCount(); ++i)
        if (!path.elementAt(i).isMoveTo()) return true;
    return false;
}

QColor faintOf(const QColor& colour) {
    QColor faint = colour;
    faint.setAlpha(kFaintAlpha);
    return faint;
}

QRectF around(QPointF p, qreal r) {
    return {p - QPointF(r, r), p + QPointF(r, r)};
}

}  // namespace

QColor officerColour(int officer) {
    const Rgb c = routeColour(officer);
    return QColor(c.r, c.g, c.b);
}

std::vector<Marker> markersOf(const ChapterRoom& room) {
    std::vector<Marker> markers;
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = room.officer(i);
        if (!o.atStation())
            markers.push_back({i, QString::fromStdString(o.abbreviation), QPointF(o.curX, o.curY)});
    }
    return markers;
}

TrailScene::TrailScene(std::vector<Trail> trails, TrailOptions options)
    : m_trails(std::move(trails)), m_options(options) {
    for (const Trail& trail : m_trails) {
        QRectF box;
        for (const TrailPoint& p : trail) box |= QRectF(spot(p), QSizeF(0.01, 0.01));
        m_bounds.push_back(box);
    }
}

std::vector<int> TrailScene::drawn() const {
    std::vector<int> out;
    if (m_trails.size() != static_cast<std::size_t>(kOfficerCount)) return out;
    if (m_options.all) {
        // The followed officer's route lies on top of the others.
        for (int k = 0; k < kOfficerCount; ++k)
            if (k != m_options.selected && m_trails[static_cast<std::size_t>(k)].size() > 1)
                out.push_back(k);
    }
    if (ChapterRoom::isOfficer(m_options.selected)) out.push_back(m_options.selected);
    return out;
}

void TrailScene::paintFaint(QPainter& painter) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const int k : drawn()) {
        const Trail& trail = m_trails[static_cast<std::size_t>(k)];
        const RouteShape shape = routeShape(trail, spot(trail.front()), 0);
        const QColor faint = faintOf(officerColour(k));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(faint, kFaintWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (hasLine(shape.all)) painter.drawPath(shape.all);
        for (const Arrow& a : shape.arrows) arrowhead(painter, a.at, a.direction, faint);
    }
    painter.restore();
}

void TrailScene::paintWalked(QPainter& painter, const ChapterRoom& room, std::size_t shown,
                             const QRectF& within) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pad = kArrowLength + kWalkedWidth;
    for (const int k : drawn()) {
        const Trail& trail = m_trails[static_cast<std::size_t>(k)];
        if (within.isValid() && !m_bounds[static_cast<std::size_t>(k)]
                                     .adjusted(-pad, -pad, pad, pad)
                                     .intersects(within))
            continue;
        const Officer& o = room.officer(k);
        const RouteShape shape = routeShape(trail, markerCentre(o.curX, o.curY), shown);
        const QColor colour = officerColour(k);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, kWalkedWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (hasLine(shape.walked)) painter.drawPath(shape.walked);
        for (const Arrow& a : shape.arrows)
            if (a.along <= shape.walkedAlong) arrowhead(painter, a.at, a.direction, colour);
    }
    painter.restore();
}

void TrailScene::paintRoutes(QPainter& painter, const ChapterRoom& room, std::size_t shown) const {
    paintFaint(painter);
    paintWalked(painter, room, shown);
}

void TrailScene::paintRing(QPainter& painter, const ChapterRoom& room) const {
    if (!ChapterRoom::isOfficer(m_options.selected)) return;
    const Officer& o = room.officer(m_options.selected);
    const QPointF centre = markerCentre(o.curX, o.curY);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.0));
    painter.drawEllipse(centre, kRingRadius + kRingWidth / 2 + 0.5,
                        kRingRadius + kRingWidth / 2 + 0.5);
    painter.setPen(QPen(officerColour(m_options.selected), kRingWidth));
    painter.drawEllipse(centre, kRingRadius, kRingRadius);
    painter.restore();
}

QRectF TrailScene::changed(const ChapterRoom& before, std::size_t shownBefore,
                           const ChapterRoom& after, std::size_t shownAfter) const {
    QRectF out;
    const std::size_t from = std::min(shownBefore, shownAfter);
    const std::size_t to = std::max(shownBefore, shownAfter);
    const qreal pad = kArrowLength + kWalkedWidth;
    for (const int k : drawn()) {
        const Officer& a = before.officer(k);
        const Officer& b = after.officer(k);
        const bool ring = k == m_options.selected;
        const qreal r = ring ? kRingRadius + kRingWidth + 2 : pad;
        if (a.curX == b.curX && a.curY == b.curY && !ring) continue;
        if (a.curX == b.curX && a.curY == b.curY && from == to) continue;
        out |= around(markerCentre(a.curX, a.curY), r);
        out |= around(markerCentre(b.curX, b.curY), r);
        for (const TrailPoint& p : m_trails[static_cast<std::size_t>(k)])
            if (p.frame > from && p.frame <= to) out |= around(spot(p), pad);
    }
    return out;
}

void paintScene(QPainter& painter, const ChapterRoom& room, MarkerPainter& markers,
                const TrailScene& trails, std::size_t shown) {
    paintPlan(painter, room);
    trails.paintRoutes(painter, room, shown);
    markers.paint(painter, markersOf(room));
    trails.paintRing(painter, room);
}

qreal paintLegend(QPainter& painter, const QRectF& area, const ChapterRoom& room,
                  const std::vector<int>& officers, qreal rowHeight) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(static_cast<int>(std::lround(rowHeight * 0.7)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    qreal y = area.top();
    for (const int k : officers) {
        if (y + rowHeight > area.bottom()) break;
        const qreal mid = y + rowHeight / 2;
        painter.setPen(QPen(officerColour(k), rowHeight * 0.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(area.left() + 2, mid),
                         QPointF(area.left() + rowHeight * 1.4, mid));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(area.left() + rowHeight * 1.8, mid + metrics.capHeight() / 2),
                         QString::fromStdString(room.officer(k).abbreviation));
        y += rowHeight;
    }
    painter.restore();
    return y - area.top();
}

}  // namespace velistrad
