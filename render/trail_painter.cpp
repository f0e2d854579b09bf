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
#include <set>

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

using Arrow = TrailScene::Arrow;
using RouteGeometry = TrailScene::RouteGeometry;

RouteGeometry routeGeometry(const Trail& trail) {
    RouteGeometry g;
    qreal along = 0;
    std::set<std::array<qreal, 4>> lines;
    for (std::size_t i = 0; i < trail.size(); ++i) {
        const QPointF p = spot(trail[i]);
        bool again = false;
        if (i > 0 && !trail[i].jump) {
            const QLineF segment(g.corners.back(), p);
            again = !lines.insert({segment.x1(), segment.y1(), p.x(), p.y()}).second;
            const qreal length = segment.length();
            if (length >= kShortestArrowed) {
                const QPointF unit = (p - segment.p1()) / length;
                const int count = std::max(1, static_cast<int>(length / kArrowSpacing));
                for (int a = 0; a < count; ++a) {
                    const qreal t = (a + 0.5) / count * length;
                    g.arrows.push_back({segment.p1() + unit * t, unit, along + t, i});
                }
            }
            along += length;
        }
        g.corners.push_back(p);
        g.along.push_back(along);
        g.again.push_back(again);
        g.bounds |= QRectF(p, QSizeF(0.01, 0.01));
    }
    return g;
}

// The last corner he has reached once `shown` frames have been shown.
std::size_t lastReached(const Trail& trail, std::size_t shown) {
    const auto reached =
        std::upper_bound(trail.begin(), trail.end(), shown,
                         [](std::size_t s, const TrailPoint& p) { return s < p.frame; }) -
        trail.begin() - 1;
    return static_cast<std::size_t>(std::max<std::ptrdiff_t>(reached, 0));
}

// The walked part of a route: its line and how far along it reaches. A line
// walked again is drawn once. With a valid `within`, only the lines that can
// reach into it: an animation then draws in time of what changed, not of the
// route's length. Cut there, a line ends in a round cap where it had a round
// join, far enough outside `within` not to change a pixel in it.
struct Walked {
    QPainterPath line;
    qreal along = 0;
};
Walked walkedPart(const Trail& trail, const RouteGeometry& g, QPointF now, std::size_t shown,
                  const QRectF& within, qreal pad) {
    Walked w;
    if (trail.empty()) return w;
    const std::size_t last = lastReached(trail, shown);
    const bool underWay = last + 1 < trail.size() && !trail[last + 1].jump;
    const auto reaches = [&](QPointF a, QPointF b) {
        return !within.isValid() ||
               QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad).intersects(within);
    };
    std::size_t penAt = trail.size();  // the corner the line last ended at
    const auto lineTo = [&](std::size_t from, QPointF to) {
        if (penAt != from) w.line.moveTo(g.corners[from]);
        w.line.lineTo(to);
    };
    for (std::size_t i = 0; i <= last; ++i) {
        if (i == 0 || trail[i].jump) {
            if (!within.isValid()) {
                w.line.moveTo(g.corners[i]);
                penAt = i;
            }
        } else if (!g.again[i] && reaches(g.corners[i - 1], g.corners[i])) {
            lineTo(i - 1, g.corners[i]);
            penAt = i;
        }
    }
    w.along = g.along[last];
    if (underWay) {
        if (!g.again[last + 1] && reaches(g.corners[last], now)) lineTo(last, now);
        w.along += QLineF(g.corners[last], now).length();
    }
    return w;
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
    for (const Trail& trail : m_trails) m_routes.push_back(routeGeometry(trail));
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
        const RouteGeometry& g = m_routes[static_cast<std::size_t>(k)];
        QPainterPath all;
        for (std::size_t i = 0; i < trail.size(); ++i) {
            if (i == 0 || trail[i].jump)
                all.moveTo(g.corners[i]);
            else
                all.lineTo(g.corners[i]);
        }
        const QColor faint = faintOf(officerColour(k));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(faint, kFaintWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (hasLine(all)) painter.drawPath(all);
        for (const Arrow& a : g.arrows) arrowhead(painter, a.at, a.direction, faint);
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
        const RouteGeometry& g = m_routes[static_cast<std::size_t>(k)];
        if (within.isValid() && !g.bounds.adjusted(-pad, -pad, pad, pad).intersects(within))
            continue;
        const Officer& o = room.officer(k);
        const Walked walked =
            walkedPart(trail, g, markerCentre(o.curX, o.curY), shown, within, pad);
        const QColor colour = officerColour(k);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, kWalkedWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (hasLine(walked.line)) painter.drawPath(walked.line);
        // An arrowhead lies within 1.2 of its length of its point.
        constexpr qreal kArrowReach = kArrowLength * 1.5 + 1;
        for (const Arrow& a : g.arrows) {
            if (a.along > walked.along) break;  // in order along the route
            if (g.again[a.corner]) continue;
            if (!within.isValid() || around(a.at, kArrowReach).intersects(within))
                arrowhead(painter, a.at, a.direction, colour);
        }
    }
    painter.restore();
}

void TrailScene::paintRoutes(QPainter& painter, const ChapterRoom& room, std::size_t shown,
                             const QRectF& within) const {
    paintFaint(painter);
    paintWalked(painter, room, shown, within);
}

void TrailScene::paintRing(QPainter& painter, const ChapterRoom& room, const QRectF& within) const {
    if (!ChapterRoom::isOfficer(m_options.selected)) return;
    const Officer& o = room.officer(m_options.selected);
    const QPointF centre = markerCentre(o.curX, o.curY);
    if (within.isValid() && !around(centre, kRingRadius + kRingWidth + 2).intersects(within))
        return;
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
        // Corners are in the order he reaches them.
        const Trail& trail = m_trails[static_cast<std::size_t>(k)];
        auto p = std::upper_bound(trail.begin(), trail.end(), from,
                                  [](std::size_t f, const TrailPoint& t) { return f < t.frame; });
        const bool passesCorners = p != trail.end() && p->frame <= to;
        const bool moved = a.curX != b.curX || a.curY != b.curY;
        // Standing still, he changes nothing; the ring only with the routes.
        if (!moved && (!ring || !passesCorners)) continue;
        out |= around(markerCentre(a.curX, a.curY), r);
        out |= around(markerCentre(b.curX, b.curY), r);
        for (; p != trail.end() && p->frame <= to; ++p) out |= around(spot(*p), pad);
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
