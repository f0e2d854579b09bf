#include "engine/playback.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "model/number_text.h"

namespace velistrad {

namespace {

// A field's value as a single, or nothing when it does not fit one.
bool toSingle(std::string_view field, float& out) {
    const double v = leadingNumber(field);
    if (!(std::fabs(v) <= std::numeric_limits<float>::max())) return false;
    out = static_cast<float>(v);
    return true;
}

}  // namespace

bool applyFrame(ChapterRoom& room, std::string_view frame) {
    std::array<std::string_view, 3> triple;
    std::size_t filled = 0;
    std::size_t fields = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = frame.find(',', start);
        triple[filled++] = frame.substr(start, comma - start);
        ++fields;
        if (filled == 3) {
            filled = 0;
            const double index = roundHalfEven(leadingNumber(triple[0]));
            float x = 0;
            float y = 0;
            if (ChapterRoom::isOfficer(static_cast<long long>(std::clamp(index, -1.0, 1e9)))) {
                auto& o = room.officer(static_cast<int>(index));
                if (toSingle(triple[1], x)) o.curX = x;
                if (toSingle(triple[2], y)) o.curY = y;
            }
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields >= 3;
}

std::string_view delayFrameTriples(std::string_view frame) {
    const std::size_t comma = frame.find(',');
    return comma == std::string_view::npos ? std::string_view() : frame.substr(comma + 1);
}

void applyComposition(ChapterRoom& room, const Composition& played) {
    room.resetToStations();
    auto delay = played.delayFrames.begin();
    for (std::size_t i = 0; i < played.mainline.size(); ++i) {
        std::string_view frame = played.mainline[i];
        if (delay != played.delayFrames.end() && *delay == i) {
            ++delay;
            frame = delayFrameTriples(frame);
        }
        if (frame.find(',') != std::string_view::npos) applyFrame(room, frame);
    }
}

}  // namespace velistrad
