// A compiler over a fresh room, with a reporter that records message texts.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/movement_compiler.h"
#include "model/number_text.h"

namespace velistrad::testing {

// A table of cases, one tuple per row.
template <typename... Columns>
using Rows = std::vector<std::tuple<Columns...>>;

struct RecordingReporter : Reporter {
    void message(const CompileMessage& m) override {
        messages.push_back(m.text);
        records.push_back(m);
    }
    std::vector<std::string> messages;
    std::vector<CompileMessage> records;
};

// Animation frames in a path: walk records end in "|"; placements (",") join
// the frame that the next "|" closes.
inline std::size_t frames(const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '|'));
}

class CompilerTest : public ::testing::Test {
protected:
    std::string run(std::string_view officer, std::string_view direc) {
        mc.moveofficer(officer, direc);
        return pathText(mc.path());
    }
    void reset() {
        room.resetToStations();
        reporter.messages.clear();
        reporter.records.clear();
        mc.clearError();
    }
    void put(int k, float x, float y) { room.officer(k).curX = x, room.officer(k).curY = y; }
    // Where officer k stands, as "k,x,y" the way a record writes it.
    std::string at(int k) {
        const Officer& o = room.officer(k);
        return std::to_string(k) + "," + formatSingle(o.curX) + "," + formatSingle(o.curY);
    }

    ChapterRoom room;
    RecordingReporter reporter;
    MovementCompiler mc{room, reporter};
};

}  // namespace velistrad::testing
