// When an animation file of a run changes picture and for how long it holds
// each: the run's frames and waits turned into GIF delays (centiseconds).
// Plain C++, so the fuzz target of the timeline checks it without Qt.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/played_timeline.h"

namespace velistrad {

// One picture of an animation: the run as it stands once `frames` frames
// have been shown, held for `centiseconds`.
struct GifFrame {
    std::size_t frames = 0;
    int centiseconds = 0;

    bool operator==(const GifFrame&) const = default;
};

// Animation viewers show a shorter delay than this as a default of their own.
inline constexpr int kMinGifDelay = 2;
// At Lightning frames wait nothing; an animation shows them at this period.
inline constexpr double kLightningGifPeriod = 0.02;

// The run as pictures: a frame that waits (a delay, or one frame period) is a
// picture held that long; frames shorter than kMinGifDelay are merged into
// the next, and each delay is rounded from the run's running time, so the
// total is within half a centisecond of it. A frameDelay of 0 plays at
// kLightningGifPeriod. An empty run is one picture of the stations.
std::vector<GifFrame> gifSchedule(const PlayedTimeline& played, double frameDelay);

// The frame period an animation of the run uses at frameDelay.
inline double gifFramePeriod(double frameDelay) {
    return frameDelay > 0 ? frameDelay : kLightningGifPeriod;
}

}  // namespace velistrad
