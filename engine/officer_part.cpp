#include "engine/officer_part.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/room_words.h"
#include "engine/script_runner.h"

namespace velistrad {

namespace {

// A walk takes 20 twips a frame (28 on a diagonal); further in one frame is
// a placement.
constexpr float kLongestStep = 40.0f;

// Adds the position reached at `frame`, dropping the corner before it when
// the walk goes straight on through it.
void extend(Trail& trail, float x, float y, std::size_t frame) {
    const TrailPoint& last = trail.back();
    const float dx = x - last.x;
    const float dy = y - last.y;
    const bool jump = std::hypot(dx, dy) > kLongestStep;
    if (!jump && !last.jump && trail.size() >= 2) {
        const TrailPoint& before = trail[trail.size() - 2];
        const double ax = last.x - before.x;
        const double ay = last.y - before.y;
        const double cross = ax * dy - ay * dx;
        const double along = ax * dx + ay * dy;
        // Straight on within a hundredth of a twip per twip walked.
        if (along > 0 && std::abs(cross) <= 0.01 * std::hypot(ax, ay) * std::hypot(dx, dy)) {
            trail.back() = {x, y, frame, false};
            return;
        }
    }
    trail.push_back({x, y, frame, jump});
}

}  // namespace

std::vector<Trail> officerTrails(const PlayedTimeline& played) {
    const ChapterRoom stations;
    ChapterRoom room;
    std::vector<Trail> trails(kOfficerCount);
    for (int k = 0; k < kOfficerCount; ++k) {
        const Officer& o = stations.officer(k);
        trails[static_cast<std::size_t>(k)].push_back(
            {static_cast<float>(o.stationX), static_cast<float>(o.stationY), 0, false});
    }
    for (std::size_t n = 0; n < played.size(); ++n) {
        if (!played.apply(n, room)) continue;
        for (int k = 0; k < kOfficerCount; ++k) {
            Trail& trail = trails[static_cast<std::size_t>(k)];
            const Officer& o = room.officer(k);
            if (o.curX != trail.back().x || o.curY != trail.back().y)
                extend(trail, o.curX, o.curY, n + 1);
        }
    }
    return trails;
}

std::vector<PartStep> officerPart(const PlayedTimeline& played, std::string_view script,
                                  int officer, double framedelay) {
    std::unordered_map<std::size_t, const EntryFrames*> framesOf;
    for (const EntryFrames& e : played.entries()) framesOf.emplace(e.entry, &e);

    // The entries are compiled again, in script order from the stations as
    // the run was, to learn which of them move him and from where to where.
    ChapterRoom room;
    const Officer& him = room.officer(officer);
    std::vector<PartStep> part;
    compileEntries(room, script, kMaxRunFrames,
                   [&](std::size_t index, const Path& path, const Standing& before) {
                       const auto [fromX, fromY] = before[static_cast<std::size_t>(officer)];
                       const std::vector<RoutePoint> route =
                           officerRoute(path, officer, fromX, fromY);
                       const auto found = framesOf.find(index);
                       if (route.empty() || found == framesOf.end()) return true;
                       const EntryFrames& frames = *found->second;
                       PartStep step;
                       step.entry = index;
                       step.firstFrame = frames.first;
                       step.lastFrame = frames.first + frames.count - 1;
                       step.start = played.timeAt(frames.first, framedelay);
                       step.end = played.timeAt(frames.first + frames.count, framedelay);
                       if (index < played.entrySpans.size()) {
                           const auto [start, end] = played.entrySpans[index];
                           if (end <= script.size())
                               step.text = oneLine(script.substr(start, end - start));
                       }
                       step.reading = routeWords(room, officer, route);
                       step.endX = him.curX;
                       step.endY = him.curY;
                       part.push_back(std::move(step));
                       return true;
                   });
    std::stable_sort(part.begin(), part.end(), [](const PartStep& a, const PartStep& b) {
        return a.firstFrame < b.firstFrame;
    });
    return part;
}

std::string animationTooLong(std::size_t pictures) {
    if (pictures <= kMaxAnimationPictures) return {};
    return "the animation would have " + withThousands(pictures) + " pictures, more than the " +
           withThousands(kMaxAnimationPictures) +
           " an animation may have, which keeps its time, memory and file size within bounds. "
           "Export a shorter script";
}

std::vector<GifFrame> gifSchedule(const PlayedTimeline& played, double framedelay) {
    // A picture holds at most this long (GIF delays are 16 bits); a longer
    // wait is several pictures of the same frame.
    constexpr long long kLongestDelay = 65535;
    // A delay longer than an hour is shown as an hour: nobody watches more.
    constexpr double kLongestWait = 3600;
    const double period = gifFramePeriod(framedelay);
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
