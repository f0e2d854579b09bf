#include "render/route_preview.h"

#include <QPainter>
#include <QPainterPath>

#include <vector>

#include "model/chapter_room.h"
#include "render/marker_painter.h"

namespace velistrad {

void paintRoutePreview(QPainter& painter, const ChapterRoom& room, const EntryRoute& route) {
    // Positions are where a label starts; lines run through the marker's centre.
    std::vector<QPointF> marked;
    for (const int p : route.points) marked.emplace_back(room.point(p).x, room.point(p).y);
    for (const int o : route.stations)
        marked.emplace_back(room.officer(o).stationX, room.officer(o).stationY);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xC8, 0x00, 0x70));
    for (const QPointF& m : marked) painter.drawEllipse(markerCentre(m.x(), m.y()), 11.0, 11.0);
    QPen pen(QColor(0xD0, 0x40, 0x00), 2.0, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const Route& r : route.routes) {
        QPainterPath path(markerCentre(r.points.front().first, r.points.front().second));
        for (const auto& [x, y] : r.points) path.lineTo(markerCentre(x, y));
        painter.drawPath(path);
    }
    painter.restore();
}

}  // namespace velistrad
