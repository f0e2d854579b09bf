// The colours of an animation file: a GIF picture holds at most 256, so
// every pixel of the plan, its routes and its markers is given the index of
// the nearest of a fixed set, the same for every picture of a run.
#pragma once

#include <QRgb>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace velistrad {

// The plan's commonest colours (and with routes each officer's colour and
// its faint shade on the floor), then an even spread of the colour space for
// the shades between. Few colours make small pictures: 32 for the plan and
// its markers, 128 with routes. The last index is transparent.
class GifPalette {
public:
    explicit GifPalette(bool routes);

    int size() const { return m_size; }
    std::uint8_t transparent() const { return static_cast<std::uint8_t>(m_size - 1); }
    std::uint8_t index(QRgb pixel) const {
        pixel |= 0xFF000000u;
        // A picture has few colours: most are found in this cache.
        Cached& cached = m_cache[(pixel * 2654435761u) >> 20];
        if (cached.pixel == pixel) return cached.index;
        const auto exact = m_exact.find(pixel);
        const std::uint8_t i = exact != m_exact.end()
                                   ? exact->second
                                   : m_nearest[static_cast<std::size_t>(
                                         ((qRed(pixel) >> 3) << 10) | ((qGreen(pixel) >> 3) << 5) |
                                         (qBlue(pixel) >> 3))];
        cached = {pixel, i};
        return i;
    }
    QRgb colour(std::uint8_t i) const { return m_colours[i]; }
    const std::vector<QRgb>& colours() const { return m_colours; }

private:
    void add(QRgb c);

    struct Cached {
        QRgb pixel = 0;  // never a pixel: pixels are opaque
        std::uint8_t index = 0;
    };
    mutable std::array<Cached, 4096> m_cache{};
    int m_size;
    std::vector<QRgb> m_colours;
    int m_used = 0;
    std::unordered_map<QRgb, std::uint8_t> m_exact;
    std::array<std::uint8_t, 32768> m_nearest{};
};

// The palette of animations with or without routes, made once.
const GifPalette& gifPalette(bool routes);

// A picture's pixel as the animation holds it.
QRgb gifColour(QRgb pixel, bool routes);

}  // namespace velistrad
