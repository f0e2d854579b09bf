// The legend of every route drawn on the plan: which colour is whom, in the
// plan's upper left corner on a pale ground, in plan pixels. The window and
// the picture exports draw the same one, so an exported view is what the
// window shows.
#pragma once

#include <QRectF>

#include <cstddef>
#include <vector>

class QPainter;

namespace velistrad {

class ChapterRoom;

// Officers (indexes into the officer table) in rows of this many a column.
inline constexpr std::size_t kRouteLegendRows = 11;

// Draws nothing when `officers` is empty; they are listed in table order.
void paintRouteLegend(QPainter& painter, const ChapterRoom& room, std::vector<int> officers);
// Where row `index` of the legend lies, its colour's line at the left.
QRectF routeLegendRow(std::size_t index);

}  // namespace velistrad
