#include "render/gif_schedule.h"

#include <algorithm>
#include <cmath>

#include "engine/script_runner.h"

namespace velistrad {

std::string animationTooLong(std::size_t pictures) {
    if (pictures <= kMaxAnimationPictures) return {};
    return "the animation would have " + withThousands(pictures) + " pictures, more than the " +
           withThousands(kMaxAnimationPictures) +
           " an animation may have, which keeps its time, memory and file size within bounds. "
           "Export a shorter script";
}

std::vector<GifFrame> gifSchedule(const PlayedTimeline& played, double frameDelay) {
    // A picture holds at most this long (GIF delays are 16 bits); a longer
    // wait is several pictures of the same frame.
    constexpr long long kLongestDelay = 65535;
    // A delay longer than an hour is shown as an hour: nobody watches more.
    constexpr double kLongestWait = 3600;
    const double period = gifFramePeriod(frameDelay);
    std::vector<GifFrame> out;
    double seconds = 0;
    long long shownCs = 0;  // centiseconds of the pictures so far
    for (std::size_t n = 0; n < played.size(); ++n) {
        const Frame& f = played.frame(n);
        seconds += f.isDelay() ? std::clamp(played.delaySeconds(f), 0.0, kLongestWait) : period;
        long long due = std::llround(seconds * 100) - shownCs;
        if (due < kMinGifDelay) continue;
        shownCs += due;
        for (; due > kLongestDelay; due -= kLongestDelay) out.push_back({n + 1, kLongestDelay});
        out.push_back({n + 1, static_cast<int>(due)});
    }
    const long long left = std::llround(seconds * 100) - shownCs;
    if (out.empty()) {
        out.push_back({played.size(), static_cast<int>(std::max<long long>(left, kMinGifDelay))});
    } else if (out.back().frames != played.size()) {
        // The last frames are too short for a picture of their own: the last
        // picture shows where they end.
        out.back().frames = played.size();
        out.back().centiseconds += static_cast<int>(left);
    }
    return out;
}

}  // namespace velistrad
