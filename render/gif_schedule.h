// When an animation file of a run changes picture and for how long it holds
// each: the run's frames and waits turned into GIF delays (centiseconds).
// Plain C++, so the fuzz target of the timeline checks it without Qt.
#pragma once

#include <cstddef>
#include <string>
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

// An animation export is bounded before any work starts: a run that plays
// for days (up to kMaxRunFrames) would otherwise take minutes, gigabytes of
// memory and a file of as many. The longest built-in run makes about 48,000
// pictures; what takes more than this many is refused.
inline constexpr std::size_t kMaxAnimationPictures = 200'000;
// While writing, the file may not pass this size either (a few hundred
// bytes a picture is usual, the whole plan at most).
inline constexpr std::size_t kMaxAnimationBytes = 256u * 1024 * 1024;
// Why an animation of `pictures` pictures is not made, in words for the
// user; empty when it may be.
std::string animationTooLong(std::size_t pictures);

// The frame period an animation of the run uses at frameDelay.
inline double gifFramePeriod(double frameDelay) {
    return frameDelay > 0 ? frameDelay : kLightningGifPeriod;
}

}  // namespace velistrad
