// Fuzz target: one frame string as playback meets it, as a position frame
// and as a delay frame with joined triples. The window's playback (runsims)
// and the tool's (applyComposition) must leave every officer in the same
// place.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/null_platform.h"
#include "engine/playback.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"

namespace {

using namespace velistrad;

bool samePositions(const ChapterRoom& a, const ChapterRoom& b) {
    for (int i = 0; i < kOfficerCount; ++i) {
        // Bitwise, so that -0 and 0 (or two NaNs) count as what they are.
        if (std::memcmp(&a.officer(i).curX, &b.officer(i).curX, sizeof(float)) != 0 ||
            std::memcmp(&a.officer(i).curY, &b.officer(i).curY, sizeof(float)) != 0) {
            return false;
        }
    }
    return true;
}

void playBothWays(const std::string& frame, const std::vector<std::size_t>& delayFrames) {
    ChapterRoom played;
    NullReporter reporter;
    NullHost host;
    NullSurface surface;
    JumpingClock clock;
    JumpingPump pump(clock);
    Simulator simulator(played, reporter, host, surface, clock, pump);
    simulator.paused = false;
    simulator.runsims(Timeline{frame}, delayFrames);

    ChapterRoom applied;
    applyComposition(applied, Composition{Timeline{frame}, delayFrames});
    if (!samePositions(played, applied)) std::abort();

    // Shown again on top of where the first showing left everyone.
    simulator.runsim(frame);
    applyFrame(applied, frame);
    if (!samePositions(played, applied)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string frame(reinterpret_cast<const char*>(data), size);
    playBothWays(frame, {});
    playBothWays(frame, {0});
    return 0;
}
