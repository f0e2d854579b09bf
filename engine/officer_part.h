// One officer's part in a played run: the route he walks, the entries that
// move him with their times, and a plain reading of where each takes him;
// and the frame schedule of an animation file made of the run.
//
// The window's part panel, its trails, the exports and velistrad-cli render
// all read these, so what is listed, drawn and written agrees. Positions are
// twips, times seconds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/played_timeline.h"
#include "model/chapter_room.h"

namespace velistrad {

// A corner of a route: where he stands once `frame` frames have been shown.
// Points along a straight walk are left out; a point reached by a jump (a
// placement, not a walk) starts a new stretch with no line to it.
struct TrailPoint {
    float x = 0;
    float y = 0;
    std::size_t frame = 0;
    bool jump = false;

    bool operator==(const TrailPoint&) const = default;
};

using Trail = std::vector<TrailPoint>;

// Every officer's route (index = officer) from his station at frame 0, as
// seek places everyone there before a run; one pass over the frames.
std::vector<Trail> officerTrails(const PlayedTimeline& played);

// One entry of the script that moves him.
struct PartStep {
    std::size_t entry = 0;       // 0-based index in the script
    std::size_t firstFrame = 0;  // the frames [firstFrame, lastFrame] are its own
    std::size_t lastFrame = 0;
    double start = 0;     // seconds from the start of the run
    double end = 0;       // when its last frame has been shown
    std::string text;     // "Mar, XZTCEVU, Now", on one line
    std::string reading;  // "from his station, West to the band by his station, ..."
    float endX = 0;       // where the entry leaves him
    float endY = 0;
};

// The entries that move `officer`, in playing order, with times at
// framedelay seconds a frame. `script` is the text the run was composed from.
std::vector<PartStep> officerPart(const PlayedTimeline& played, std::string_view script,
                                  int officer, double framedelay);

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
// total is within half a centisecond of it. A framedelay of 0 plays at
// kLightningGifPeriod. An empty run is one picture of the stations.
std::vector<GifFrame> gifSchedule(const PlayedTimeline& played, double framedelay);

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

// The frame period an animation of the run uses at framedelay.
inline double gifFramePeriod(double framedelay) {
    return framedelay > 0 ? framedelay : kLightningGifPeriod;
}

}  // namespace velistrad
