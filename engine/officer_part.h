// One officer's part in a played run: the route he walks, the entries that
// move him with their times, and a plain reading of where each takes him.
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
// frameDelay seconds a frame. `script` is the text the run was composed from.
std::vector<PartStep> officerPart(const PlayedTimeline& played, std::string_view script,
                                  int officer, double frameDelay);

}  // namespace velistrad
