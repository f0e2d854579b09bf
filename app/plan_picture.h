// The plan of the Chapter room, painted from the room's own tables so that
// every station box and point letter sits exactly at its coordinates.
//
// The plan is 482 by 696 pixels at 15 twips per pixel, West at the top, East
// at the bottom, South along the left edge.
#pragma once

#include <QImage>
#include <QSize>

#include "model/plan_shapes.h"

class QPainter;

namespace velistrad {

class ChapterRoom;

// Paints the whole plan into a painter whose coordinates are plan pixels
// (0..482, 0..696); scale the painter for higher densities.
void paintPlan(QPainter& painter, const ChapterRoom& room);

// The plan as an image of 482 x 696 logical pixels at the given pixel ratio.
QImage renderPlan(const ChapterRoom& room, qreal devicePixelRatio = 1.0);

}  // namespace velistrad
