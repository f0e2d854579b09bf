#include "render/plan_picture.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/chapter_room.h"
#include "render/marker_painter.h"

namespace velistrad {

namespace {

// Calm colours: a cream floor, grey lanes, dark ink.
const QColor kFloor(0xFB, 0xF8, 0xEF);
const QColor kWall(0x3C, 0x3C, 0x3C);
const QColor kLane(0xDA, 0xDA, 0xD6);
const QColor kLaneEdge(0xC4, 0xC4, 0xBF);
const QColor kInk(0x26, 0x26, 0x26);
const QColor kLetterInk(0x1E, 0x3A, 0x66);
const QColor kBox(0xFF, 0xFF, 0xFF);
const QColor kPlatform(0xEC, 0xE2, 0xC9);
const QColor kPlatformEdge(0x8C, 0x7A, 0x55);
const QColor kSeat(0xEE, 0xEA, 0xDF);
const QColor kSeatEdge(0xA6, 0xA2, 0x98);
const QColor kLight(0x9A, 0x74, 0x2C);

constexpr double kLaneWidth = 24.0;  // room for a marker of 20 pixels across
constexpr double kBoxHeight = 15.0;
constexpr double kWallInset = 3.0;

// Every feature is centred where a marker standing on it would be, so the
// marker covers it.
QPointF spot(double x, double y) {
    return markerCentre(x, y);
}
QPointF pointSpot(const ChapterRoom& room, int index) {
    return spot(room.point(index).x, room.point(index).y);
}

QFont planFont(double pixelSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void paintLanes(QPainter& painter, const ChapterRoom& room) {
    const auto at = [&](char letter) { return pointSpot(room, letterPointIndex(letter)); };
    // Columns run from the West edge to the East row; the rows and the West
    // edge run between the outer columns.
    const std::array<std::array<char, 2>, 10> lanes = {{{'A', 'T'},
                                                        {'D', 'U'},
                                                        {'B', 'V'},
                                                        {'A', 'B'},
                                                        {'C', 'E'},
                                                        {'F', 'H'},
                                                        {'I', 'K'},
                                                        {'N', 'P'},
                                                        {'Q', 'S'},
                                                        {'T', 'V'}}};
    QPainterPath band;
    band.setFillRule(Qt::WindingFill);
    for (const auto& [from, to] : lanes) {
        const QPointF a = at(from);
        const QPointF b = at(to);
        const double half = kLaneWidth / 2;
        if (from == 'A' && to == 'B') {  // the West edge is slightly slanted
            QPolygonF edge;
            edge << QPointF(a.x() - half, a.y() - half) << QPointF(b.x() + half, b.y() - half)
                 << QPointF(b.x() + half, b.y() + half) << QPointF(a.x() - half, a.y() + half);
            band.addPolygon(edge);
            band.closeSubpath();
        } else {
            band.addRect(
                QRectF(QPointF(std::min(a.x(), b.x()) - half, std::min(a.y(), b.y()) - half),
                       QPointF(std::max(a.x(), b.x()) + half, std::max(a.y(), b.y()) + half)));
        }
    }
    painter.setPen(QPen(kLaneEdge, 1.0));
    painter.setBrush(kLane);
    painter.drawPath(band.simplified());
}

// Each letter sits beside its corner or crossing, on the side with open
// floor: the outer columns' letters beside the lane, the others in a corner.
void paintLetters(QPainter& painter, const ChapterRoom& room) {
    // Side per letter A..V: -1 left or above, +1 right or below, 0 centred.
    constexpr std::array<std::array<int, 2>, 22> kSide = {{
        {-1, 0}, {1, 0},             // A B
        {-1, 0}, {1, -1}, {1, 0},    // C D E
        {-1, 0}, {1, -1}, {1, 0},    // F G H
        {-1, 0}, {1, -1}, {1, 0},    // I J K
        {-1, 0}, {1, -1},            // L M
        {-1, 0}, {1, 1},  {1, 0},    // N O P
        {-1, 0}, {1, -1}, {-1, -1},  // Q R S
        {-1, 0}, {1, -1}, {1, -1},   // T U V
    }};
    const QFont font = planFont(12, true);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(kLetterInk);
    for (int i = 0; i < 22; ++i) {
        const QString letter(QChar(u'A' + i));
        const QPointF centre = pointSpot(room, i);
        const double w = metrics.horizontalAdvance(letter);
        const double h = metrics.capHeight();
        const double gap = kLaneWidth / 2 + 3;
        const auto place = [gap](int side, double at, double size) {
            return side < 0 ? at - gap - size : side > 0 ? at + gap : at - size / 2;
        };
        const double left = place(kSide[i][0], centre.x(), w);
        const double top = place(kSide[i][1], centre.y(), h);
        painter.drawText(QPointF(left, top + h), letter);
    }
}

void paintSeats(QPainter& painter) {
    painter.setPen(QPen(kSeatEdge, 0.8));
    painter.setBrush(kSeat);
    constexpr double kSeatSize = 9.0;
    constexpr double kPitch = 12.0;
    // Two rows along each side wall, leaving the JC platform
    // free on the South side.
    for (double y = 78; y + kSeatSize <= 640; y += kPitch) {
        const bool platform = y + kSeatSize > 310 && y < 380;
        for (double x : {9.0, 21.0}) {
            if (!platform) painter.drawRect(QRectF(x, y, kSeatSize, kSeatSize));
        }
        for (double x : {452.0, 464.0}) painter.drawRect(QRectF(x, y, kSeatSize, kSeatSize));
    }
}

// The chairs of SC, JC and MC stand on platforms at the West, South and East.
void paintPlatforms(QPainter& painter, const ChapterRoom& room) {
    struct Platform {
        const char* key;
        double width;
        double height;
    };
    const std::array<Platform, 3> platforms = {{{"SC", 70, 26}, {"JC", 36, 62}, {"MC", 70, 32}}};
    for (const Platform& p : platforms) {
        const Officer& o = room.officer(room.findofficer(p.key));
        const QPointF c = spot(o.stationX, o.stationY);
        const QRectF outer(c.x() - p.width / 2, c.y() - p.height / 2, p.width, p.height);
        painter.setPen(QPen(kPlatformEdge, 1.2));
        painter.setBrush(kPlatform);
        painter.drawRect(outer);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kPlatformEdge, 0.7));
        painter.drawRect(outer.adjusted(3, 3, -3, -3));  // the step up
    }
}

void paintStations(QPainter& painter, const ChapterRoom& room) {
    const QFont font = planFont(10, false);
    const QFontMetricsF metrics(font);
    painter.setFont(font);

    // Stations closer than a box's height share one box (TR and Scr).
    struct Box {
        QPointF centre;
        QStringList labels;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = room.officer(i);
        const QPointF c = spot(o.stationX, o.stationY);
        const QString label = QString::fromStdString(o.abbreviation);
        bool shared = false;
        for (Box& box : boxes) {
            if (QLineF(box.centre, c).length() < kBoxHeight / 2) {
                box.labels << label;
                box.centre = (box.centre + c) / 2;
                shared = true;
            }
        }
        if (!shared) boxes.push_back({c, {label}});
    }

    for (const Box& box : boxes) {
        const QString text = box.labels.join(QLatin1Char('/'));
        const double width = std::max(24.0, metrics.horizontalAdvance(text) + 8);
        const QRectF rect(box.centre.x() - width / 2, box.centre.y() - kBoxHeight / 2, width,
                          kBoxHeight);
        painter.setPen(QPen(kInk, 1.0));
        painter.setBrush(kBox);
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, text);
    }
}

// The altar: an open book between lights 7 and 1.
void paintAltar(QPainter& painter, const ChapterRoom& room) {
    const QPointF left = pointSpot(room, lightPointIndex('7'));
    const QPointF right = pointSpot(room, lightPointIndex('1'));
    const QPointF c = (left + right) / 2;
    const QRectF table(c.x() - 34, c.y() - 17, 68, 34);
    painter.setPen(QPen(kPlatformEdge, 1.2));
    painter.setBrush(kPlatform);
    painter.drawRect(table);

    painter.setPen(QPen(kInk, 1.0));
    painter.setBrush(kBox);
    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(c.x(), c.y() - 9);
        page.cubicTo(c.x() + side * 8, c.y() - 12, c.x() + side * 16, c.y() - 11, c.x() + side * 22,
                     c.y() - 9);
        page.lineTo(c.x() + side * 22, c.y() + 9);
        page.cubicTo(c.x() + side * 16, c.y() + 7, c.x() + side * 8, c.y() + 7, c.x(), c.y() + 10);
        page.closeSubpath();
        painter.drawPath(page);
    }
    painter.setPen(QPen(kSeatEdge, 0.7));
    for (const int side : {-1, 1}) {
        for (const double dy : {-4.0, 0.0, 4.0}) {
            painter.drawLine(QPointF(c.x() + side * 5, c.y() + dy),
                             QPointF(c.x() + side * 18, c.y() + dy));
        }
    }
}

void paintLights(QPainter& painter, const ChapterRoom& room) {
    const QFont font = planFont(9, true);
    painter.setFont(font);
    for (char digit = '1'; digit <= '7'; ++digit) {
        const QPointF c = pointSpot(room, lightPointIndex(digit));
        painter.setBrush(kBox);
        painter.setPen(QPen(kLight, 1.4));
        painter.drawEllipse(c, 9.0, 9.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kLight, 0.9));
        painter.drawEllipse(c, 6.5, 6.5);
        painter.setPen(kInk);
        painter.drawText(QRectF(c.x() - 6, c.y() - 6, 12, 12), Qt::AlignCenter,
                         QString(QLatin1Char(digit)));
    }
}

// The walls, with the compass words written into gaps in them.
void paintWalls(QPainter& painter) {
    const QRectF room(kWallInset, kWallInset, kPlanWidth - 2 * kWallInset,
                      kPlanHeight - 2 * kWallInset);
    painter.setPen(QPen(kWall, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(room);

    const QFont font = planFont(11, true);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const auto word = [&](const QString& text, QPointF centre, double angle) {
        painter.save();
        painter.translate(centre);
        painter.rotate(angle);
        const double w = metrics.horizontalAdvance(text) + 8;
        const double h = metrics.height();
        const QRectF box(-w / 2, -h / 2, w, h);
        painter.fillRect(box, kFloor);
        painter.setPen(kWall);
        painter.drawText(box, Qt::AlignCenter, text);
        painter.restore();
    };
    word(QStringLiteral("West"), {kPlanWidth / 2.0, kWallInset}, 0);
    word(QStringLiteral("East"), {kPlanWidth / 2.0, kPlanHeight - kWallInset}, 0);
    word(QStringLiteral("South"), {kWallInset, kPlanHeight / 2.0}, -90);
    word(QStringLiteral("North"), {kPlanWidth - kWallInset, kPlanHeight / 2.0}, 90);
}

}  // namespace

void paintPlan(QPainter& painter, const ChapterRoom& room) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, kPlanWidth, kPlanHeight), kFloor);
    paintSeats(painter);
    paintLanes(painter, room);
    paintLetters(painter, room);
    paintPlatforms(painter, room);
    paintAltar(painter, room);
    paintLights(painter, room);
    paintStations(painter, room);
    paintWalls(painter);
    painter.restore();
}

QImage renderPlan(const ChapterRoom& room, qreal devicePixelRatio) {
    const QSize size(static_cast<int>(std::lround(kPlanWidth * devicePixelRatio)),
                     static_cast<int>(std::lround(kPlanHeight * devicePixelRatio)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(kFloor);
    // Scaled by hand: a painter would not scale down for a ratio below 1,
    // which a plan smaller than its natural size has.
    QPainter painter(&image);
    painter.scale(devicePixelRatio, devicePixelRatio);
    paintPlan(painter, room);
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace velistrad
