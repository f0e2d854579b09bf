#include "render/gif_palette.h"

#include <QColor>
#include <QHash>
#include <QImage>

#include <algorithm>

#include "model/chapter_room.h"
#include "render/plan_picture.h"
#include "render/trail_painter.h"

namespace velistrad {

GifPalette::GifPalette(bool routes) : m_size(routes ? 128 : 32) {
    const QImage plan = renderPlan(ChapterRoom());
    QHash<QRgb, int> counts;
    for (int y = 0; y < plan.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(plan.constScanLine(y));
        for (int x = 0; x < plan.width(); ++x) ++counts[row[x] | 0xFF000000u];
    }
    std::vector<std::pair<int, QRgb>> common;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        common.emplace_back(it.value(), it.key());
    std::sort(common.begin(), common.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    add(qRgb(0, 0, 0));
    add(qRgb(255, 255, 255));
    int spread = 2;  // steps of the even spread per primary
    if (routes) {
        const QRgb floor = common.front().second;
        for (int k = 0; k < kOfficerCount; ++k) {
            const QColor c = officerColour(k);
            add(c.rgb());
            const auto mix = [](int a, int b) { return (a * 90 + b * (255 - 90)) / 255; };
            add(qRgb(mix(c.red(), qRed(floor)), mix(c.green(), qGreen(floor)),
                     mix(c.blue(), qBlue(floor))));
        }
        spread = 3;
    }
    const int cube = spread * spread * spread;
    for (std::size_t i = 0; i < common.size() && m_used + cube < transparent(); ++i)
        add(common[i].second);
    for (int r = 0; r < spread; ++r)
        for (int g = 0; g < spread; ++g)
            for (int b = 0; b < spread; ++b)
                add(qRgb(r * 255 / (spread - 1), g * 255 / (spread - 1), b * 255 / (spread - 1)));
    m_colours.resize(static_cast<std::size_t>(m_size), qRgb(0, 0, 0));
    for (int i = 0; i < 32768; ++i) {
        const int r = ((i >> 10) & 31) * 255 / 31;
        const int g = ((i >> 5) & 31) * 255 / 31;
        const int b = (i & 31) * 255 / 31;
        int best = 0;
        int bestDistance = 1 << 30;
        for (int c = 0; c < m_used; ++c) {
            const QRgb p = m_colours[static_cast<std::size_t>(c)];
            const int d = (qRed(p) - r) * (qRed(p) - r) * 3 +
                          (qGreen(p) - g) * (qGreen(p) - g) * 4 +
                          (qBlue(p) - b) * (qBlue(p) - b) * 2;
            if (d < bestDistance) {
                bestDistance = d;
                best = c;
            }
        }
        m_nearest[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(best);
    }
}

void GifPalette::add(QRgb c) {
    c |= 0xFF000000u;
    if (m_used >= transparent() || m_exact.count(c)) return;
    m_exact.emplace(c, static_cast<std::uint8_t>(m_used));
    m_colours.push_back(c);
    ++m_used;
}

const GifPalette& gifPalette(bool routes) {
    static const GifPalette plain(false);
    static const GifPalette coloured(true);
    return routes ? coloured : plain;
}

QRgb gifColour(QRgb pixel, bool routes) {
    const GifPalette& palette = gifPalette(routes);
    return palette.colour(palette.index(pixel));
}

}  // namespace velistrad
