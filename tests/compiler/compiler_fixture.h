// A compiler over a fresh room, with a reporter that records message texts
// instead of showing them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "compiler/movement_compiler.h"
#include "compiler/reporter.h"
#include "model/chapter_room.h"

namespace velistrad::testing {

class RecordingReporter : public Reporter {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// The records of a path string, each with its terminator ("|" or ",").
inline std::vector<std::string> records(const std::string& path) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < path.size()) {
        const std::size_t c1 = path.find(',', pos);
        const std::size_t c2 = c1 == std::string::npos ? c1 : path.find(',', c1 + 1);
        const std::size_t end = c2 == std::string::npos ? c2 : path.find_first_of(",|", c2 + 1);
        if (end == std::string::npos) {
            out.push_back(path.substr(pos));  // malformed tail: let the comparison show it
            break;
        }
        out.push_back(path.substr(pos, end - pos + 1));
        pos = end + 1;
    }
    return out;
}

class CompilerTest : public ::testing::Test {
protected:
    std::string run(std::string_view officer, std::string_view direc) {
        mc.moveofficer(officer, direc);
        return mc.path();
    }
    void put(int officer, float x, float y) {
        room.officer(officer).curX = x;
        room.officer(officer).curY = y;
    }
    void expectAt(int officer, float x, float y) {
        EXPECT_EQ(room.officer(officer).curX, x) << "officer " << officer;
        EXPECT_EQ(room.officer(officer).curY, y) << "officer " << officer;
    }

    ChapterRoom room;
    RecordingReporter reporter;
    MovementCompiler mc{room, reporter};
};

}  // namespace velistrad::testing
