// A script compiled and composed from a fresh room, keeping the diagnostics
// and the frames as text, and where everyone stands: at the end of the
// composition, or at their stations in a fresh room.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/played_timeline.h"
#include "engine/script_runner.h"

namespace velistrad {

struct Composed : DiagnosticSink {
    std::vector<Diagnostic> diagnostics;
    std::shared_ptr<PlayedTimeline> composition;
    std::vector<std::string> frames;

    explicit Composed(std::string_view text, std::size_t limit = kMaxRunFrames) {
        ChapterRoom room;
        composition = composeScript(room, text, *this, limit);
        for (std::size_t i = 0; composition && i < composition->size(); ++i)
            frames.push_back(composition->frameText(i));
    }
    void diagnose(const Diagnostic& d) override { diagnostics.push_back(d); }
    ChapterRoom end() const {
        ChapterRoom room;
        if (composition) TimelineCursor(*composition, room).seek(composition->size());
        return room;
    }
};

using Positions = std::vector<std::pair<float, float>>;
inline Positions positions(const ChapterRoom& room) {
    Positions out;
    for (int i = 0; i < kOfficerCount; ++i)
        out.emplace_back(room.officer(i).curX, room.officer(i).curY);
    return out;
}
inline bool allAtStations(const ChapterRoom& room) {
    return positions(room) == positions(ChapterRoom());
}

}  // namespace velistrad
