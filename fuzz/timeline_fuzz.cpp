// Fuzz target: a whole script compiled and composed, then its played
// timeline stepped through from the start while seeks to frames chosen from
// the input (backwards, repeated, 0 and past the end) must land every officer
// exactly where stepping puts him; and the frame times must never decrease.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "engine/null_platform.h"
#include "engine/officer_part.h"
#include "engine/played_timeline.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"
#include "render/gif_schedule.h"

namespace {

using namespace velistrad;

void check(bool condition) {
    if (!condition) std::abort();
}

using Positions = std::array<float, 2 * kOfficerCount>;

Positions positions(const ChapterRoom& room) {
    Positions p;
    for (int i = 0; i < kOfficerCount; ++i) {
        p[2 * static_cast<std::size_t>(i)] = room.officer(i).curX;
        p[2 * static_cast<std::size_t>(i) + 1] = room.officer(i).curY;
    }
    return p;
}

// Bitwise, so that -0 and 0 (or two NaNs) count as what they are.
bool same(const Positions& a, const Positions& b) {
    return std::memcmp(a.data(), b.data(), sizeof(Positions)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ChapterRoom compileRoom;
    NullSink sink;
    const auto played = composeScript(compileRoom, text, sink, 20'000);
    if (!played) return 0;
    const std::size_t n = played->size();

    // Where everyone stands before each frame, by stepping.
    ChapterRoom stepped;
    TimelineCursor cursor(*played, stepped);
    cursor.seek(0);
    std::vector<Positions> before;
    const std::size_t every = n / 64 + 1;
    for (std::size_t i = 0; i <= n; ++i) {
        if (i % every == 0 || i == n) before.push_back(positions(stepped));
        if (i < n) cursor.step();
    }

    // Seeks in an order taken from the input.
    ChapterRoom sought;
    TimelineCursor seeker(*played, sought);
    for (std::size_t k = 0; k < size && k < 64; ++k) {
        const std::size_t target =
            (static_cast<std::size_t>(data[k]) * 7919u + k) % (before.size() + 2);
        const std::size_t frame = target * every;
        seeker.seek(frame);
        const std::size_t clamped = frame >= n ? before.size() - 1 : target;
        check(same(positions(sought), before[clamped]));
    }

    double last = 0;
    for (std::size_t i = 0; i <= n; i += every) {
        const double t = played->timeAt(i, 0.025);
        check(t >= last);
        last = t;
        if (i < n) {
            for (const std::size_t e : played->entriesAt(i)) check(e < played->entryCount());
        }
    }

    // The animation's pictures: in order, none too short, in all the run's time.
    const double frameDelay = data[0] % 2 ? 0.025 : 0.0;
    const std::vector<GifFrame> pictures = gifSchedule(*played, frameDelay);
    long total = 0;
    std::size_t shown = 0;
    for (const GifFrame& g : pictures) {
        check(g.centiseconds >= kMinGifDelay && g.frames >= shown && g.frames <= n);
        shown = g.frames;
        total += g.centiseconds;
    }
    const double run = played->timeAt(n, gifFramePeriod(frameDelay)) * 100;
    // Delays of an hour and more are cut short: an animation is not a wait.
    check(run >= 360'000 || std::abs(static_cast<double>(total) - run) <= 1.0 ||
          total <= kMinGifDelay);
    // Routes keep to the frames of the run; a part lists entries that exist.
    for (const Trail& trail : officerTrails(*played))
        for (const TrailPoint& p : trail) check(p.frame <= n);
    for (const PartStep& step : officerPart(*played, text, data[0] % kOfficerCount, 0.025))
        check(step.entry < played->entryCount() && step.firstFrame <= step.lastFrame &&
              step.lastFrame < n && step.start <= step.end);
    return 0;
}
