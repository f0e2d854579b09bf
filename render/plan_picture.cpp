#include "render/plan_picture.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>

#include "model/chapter_room.h"

namespace velistrad {

namespace {

QColor colour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QFont planFont(const PlanFont& f) {
    QFont font(QStringLiteral("Arial"));
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(static_cast<int>(std::lround(f.pixelSize)));
    font.setBold(f.bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Only real changes reach the painter: a vector export writes each change
// of state into the file.
void usePen(QPainter& painter, const QPen& pen) {
    if (painter.pen() != pen) painter.setPen(pen);
}

void usePenAndBrush(QPainter& painter, const PlanShape& s) {
    usePen(painter, s.stroked ? QPen(colour(s.stroke), s.strokeWidth) : QPen(Qt::NoPen));
    const QBrush brush = s.filled ? QBrush(colour(s.fill)) : QBrush(Qt::NoBrush);
    if (painter.brush() != brush) painter.setBrush(brush);
}

QPainterPath pathOf(const PlanShape& s) {
    QPainterPath path;
    if (s.unite) path.setFillRule(Qt::WindingFill);
    for (const PathStep& p : s.steps) {
        const double* v = p.v;
        switch (p.op) {
            case 'M':
                path.moveTo(v[0], v[1]);
                break;
            case 'L':
                path.lineTo(v[0], v[1]);
                break;
            case 'C':
                path.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
                break;
            case 'R':
                path.addRect(QRectF(v[0], v[1], v[2], v[3]));
                break;
            default:
                path.closeSubpath();
                break;
        }
    }
    return s.unite ? path.simplified() : path;
}

// Texts are placed by their own font's measures, so each front end lines
// them up with the fonts it has.
void paintText(QPainter& painter, const PlanShape& s) {
    const QFont font = planFont(s.font);
    const QFontMetricsF metrics(font);
    const QString text = QString::fromStdString(s.text);
    if (painter.font() != font) painter.setFont(font);
    switch (s.kind) {
        case PlanShape::Kind::Text: {
            usePen(painter, QPen(colour(s.stroke)));
            const double w = metrics.horizontalAdvance(text);
            const double h = metrics.capHeight();
            const double left = s.align == TextAlign::Right  ? s.x - w
                                : s.align == TextAlign::Left ? s.x
                                                             : s.x - w / 2;
            const double top = s.baseline == TextBaseline::CapBottom ? s.y - h
                               : s.baseline == TextBaseline::CapTop  ? s.y
                                                                     : s.y - h / 2;
            painter.drawText(QPointF(left, top + h), text);
            break;
        }
        case PlanShape::Kind::BoxText:
            usePen(painter, QPen(colour(s.stroke)));
            painter.drawText(QRectF(s.x, s.y, s.w, s.h), Qt::AlignCenter, text);
            break;
        case PlanShape::Kind::LabelBox: {
            const double width = std::max(s.w, metrics.horizontalAdvance(text) + 8);
            const QRectF rect(s.x - width / 2, s.y - s.h / 2, width, s.h);
            usePenAndBrush(painter, s);
            painter.drawRect(rect);
            painter.drawText(rect, Qt::AlignCenter, text);
            break;
        }
        default: {  // a word on its backdrop
            painter.save();
            painter.translate(QPointF(s.x, s.y));
            painter.rotate(s.angle);
            const double w = metrics.horizontalAdvance(text) + 8;
            const double h = metrics.height();
            const QRectF box(-w / 2, -h / 2, w, h);
            painter.fillRect(box, colour(s.fill));
            painter.setPen(colour(s.stroke));
            painter.drawText(box, Qt::AlignCenter, text);
            painter.restore();
            break;
        }
    }
}

void paintShape(QPainter& painter, const PlanShape& s) {
    switch (s.kind) {
        case PlanShape::Kind::Rect:
            usePenAndBrush(painter, s);
            painter.drawRect(QRectF(s.x, s.y, s.w, s.h));
            break;
        case PlanShape::Kind::Ellipse:
            usePenAndBrush(painter, s);
            painter.drawEllipse(QPointF(s.x, s.y), s.w, s.h);
            break;
        case PlanShape::Kind::Line:  // lines take no brush
            usePen(painter, QPen(colour(s.stroke), s.strokeWidth));
            painter.drawLine(QPointF(s.x, s.y), QPointF(s.w, s.h));
            break;
        case PlanShape::Kind::Outline:
            usePenAndBrush(painter, s);
            painter.drawPath(pathOf(s));
            break;
        default:
            paintText(painter, s);
            break;
    }
}

}  // namespace

void paintPlan(QPainter& painter, const ChapterRoom& room) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, kPlanWidth, kPlanHeight), colour(kPlanFloor));
    for (const PlanShape& shape : planShapes(room)) paintShape(painter, shape);
    painter.restore();
}

QImage renderPlan(const ChapterRoom& room, qreal devicePixelRatio) {
    const QSize size(static_cast<int>(std::lround(kPlanWidth * devicePixelRatio)),
                     static_cast<int>(std::lround(kPlanHeight * devicePixelRatio)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour(kPlanFloor));
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
