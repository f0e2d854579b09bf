#include "render/route_legend.h"

#include <algorithm>

#include <QPainter>

#include "render/trail_painter.h"

namespace velistrad {

namespace {

constexpr qreal kRowHeight = 15;
constexpr qreal kColumnWidth = 48;
constexpr qreal kMargin = 6;  // from the plan's edges
constexpr qreal kPadding = 4;

}  // namespace

QRectF routeLegendRow(std::size_t index) {
    const auto column = static_cast<qreal>(index / kRouteLegendRows);
    const auto row = static_cast<qreal>(index % kRouteLegendRows);
    return {kMargin + kPadding + column * kColumnWidth, kMargin + kPadding + row * kRowHeight,
            kColumnWidth, kRowHeight};
}

void paintRouteLegend(QPainter& painter, const ChapterRoom& room, std::vector<int> officers) {
    if (officers.empty()) return;
    std::sort(officers.begin(), officers.end());
    const std::size_t rows = std::min(officers.size(), kRouteLegendRows);
    const std::size_t columns = (officers.size() + kRouteLegendRows - 1) / kRouteLegendRows;
    const QRectF box(kMargin, kMargin, static_cast<qreal>(columns) * kColumnWidth + 2 * kPadding,
                     static_cast<qreal>(rows) * kRowHeight + 2 * kPadding);
    painter.save();
    // Square and on whole pixels at scale 1, so that every painter draws it
    // to the same pixels.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
    for (std::size_t first = 0; first < officers.size(); first += kRouteLegendRows) {
        const std::size_t last = std::min(officers.size(), first + kRouteLegendRows);
        const QRectF column = routeLegendRow(first);
        paintLegend(painter, QRectF(column.topLeft(), QSizeF(kColumnWidth, box.bottom())), room,
                    std::vector<int>(officers.begin() + static_cast<std::ptrdiff_t>(first),
                                     officers.begin() + static_cast<std::ptrdiff_t>(last)),
                    kRowHeight);
    }
}

}  // namespace velistrad
