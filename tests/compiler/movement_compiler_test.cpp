// The movement compiler: the path each entry and walk leaves, where officers
// end, the messages and whether they stop a run (the model beneath it is
// tested in tests/model/). Most cases are rows of the .txt files beside this
// test.
#include "compiler/movement_compiler.h"

#include <algorithm>
#include <sstream>

#include "model/chapter_room.h"
#include "model/number_text.h"
#include "model/walking_band.h"
#include "tests/case_file.h"

namespace velistrad {
namespace {

struct RecordingReporter : Reporter {
    void message(const CompileMessage& m) override { messages.push_back(m.text); }
    std::vector<std::string> messages;
};

// Animation frames in a path: walk records end in "|"; placements (",") join
// the frame that the next "|" closes.
std::size_t frames(const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '|'));
}

// An exact path, or a pattern "start...middle...end" whose pieces come in order.
void expectPath(const std::string& path, const std::string& pattern) {
    std::size_t from = 0, at = 0;
    for (std::size_t dots; (dots = pattern.find("...", from)) != std::string::npos;
         from = dots + 3) {
        const std::string piece = pattern.substr(from, dots - from);
        at = path.find(piece, at);
        ASSERT_TRUE(from == 0 ? at == 0 : at != std::string::npos)
            << piece << " in " << path.substr(0, 300);
        at += piece.size();
    }
    EXPECT_TRUE(from == 0 ? path == pattern : path.ends_with(pattern.substr(from)))
        << path.substr(0, 300);
}

class CompilerTest : public ::testing::Test {
protected:
    std::string run(std::string_view officer, std::string_view direc) {
        mc.compileEntry(officer, direc);
        return pathText(mc.path());
    }
    void reset() {
        room.resetToStations();
        reporter.messages.clear();
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

TEST_F(CompilerTest, Entries) {
    FOR_EACH_CASE(row, "entries.txt", 7) {
        reset();
        if (const auto placed = split(row[0], ','); !placed.empty())
            put(std::stoi(placed[0]), std::stof(placed[1]), std::stof(placed[2]));
        const int mover = std::max<int>(0, room.findOfficer(row[1]));
        const std::string before = at(mover);
        const std::string path = run(row[1], row[2]);
        EXPECT_EQ(frames(path), row.n(3));
        expectPath(path, row[4]);
        EXPECT_EQ(reporter.messages,
                  row[5].empty() ? std::vector<std::string>{} : std::vector<std::string>{row[5]});
        EXPECT_EQ(mc.failed(), row.yes(6));
        // The last record is where the officer now stands.
        if (room.findOfficer(row[1]) < 0) continue;
        EXPECT_TRUE(path.empty() ? at(mover) == before : path.ends_with(at(mover) + path.back()))
            << at(mover);
    }
}

TEST_F(CompilerTest, MoveabsAndMovediag) {
    FOR_EACH_CASE(row, "walks.txt", 7) {
        put(0, row.f(1), row.f(2));
        mc.takePath();
        const int a = static_cast<int>(row.f(3)), b = static_cast<int>(row.f(4));
        if (row[0] == "abs") mc.walkStraight(0, a, b != 0);
        if (row[0] == "diag") mc.walkDiagonal(0, a, b);
        const std::string path = pathText(mc.path());
        EXPECT_EQ(frames(path), row.n(5));
        expectPath(path, row[6]);
        if (row[0] == "abs") {
            EXPECT_TRUE(path.ends_with(at(0) + "|"));
            continue;
        }
        EXPECT_EQ(room.officer(0).curX, static_cast<float>(a));
        EXPECT_EQ(room.officer(0).curY, static_cast<float>(b));
    }
}

TEST_F(CompilerTest, OffsetNumbers) {
    FOR_EACH_CASE(row, "offsets.txt", 2) {
        reset();
        mc.takePath();  // called directly: inside a Direction a "-" would close the step
        mc.moveSpecial(0, "AT_N", "J+N+" + row[0]);
        EXPECT_EQ(pathText(mc.path()), row[1]);
        EXPECT_TRUE(reporter.messages.empty());
        EXPECT_FALSE(mc.failed());
        EXPECT_EQ(at(0) + ",", row[1].empty() ? "0,1800,9045," : row[1]);
    }
}

TEST(VisibleText, ShowsWhatWouldNotShow) {
    FOR_EACH_CASE(row, "visible_text.txt", 2) EXPECT_EQ(visibleText(row[0]), row[1]);
}

TEST_F(CompilerTest, EveryByteAloneAndEmbedded) {
    const std::string justJ = run("MC", "J");
    for (int code = 1; code <= 255; ++code) {
        const char c = static_cast<char>(code);
        SCOPED_TRACE(code);
        const bool step = (c >= 'A' && c <= 'V') || c == 'X' || c == 'Z';
        for (const std::string& direc : {std::string(1, c), "J" + std::string(1, c) + "K"}) {
            reset();
            const std::string path = run("MC", direc);
            EXPECT_EQ(mc.failed(), !step);
            if (step) {
                EXPECT_TRUE(reporter.messages.empty());
                EXPECT_EQ(path.back(), '|');
                continue;
            }
            EXPECT_EQ(reporter.messages,
                      std::vector<std::string>{c == '-' ? "Bad direction: " + direc
                                                        : "Unknown direction: " +
                                                              visibleText(std::string(1, c))});
            EXPECT_EQ(path, direc.size() == 1 ? "" : justJ);
            EXPECT_EQ(at(9), direc.size() == 1 ? "9,3600,9900" : "9,3600,4590");
        }
        // A stray byte in an officer list only drops that name.
        reset();
        EXPECT_EQ(run("CH+" + std::string(1, c) + "+JC", "-AT-R-"), "1,3600,7875,11,3600,7875,");
        EXPECT_TRUE(reporter.messages.empty());
    }
}

TEST_F(CompilerTest, FloodsOfMessages) {
    EXPECT_EQ(run("MC", std::string(10000, '-')), "");
    ASSERT_EQ(reporter.messages.size(), 3334u);
    EXPECT_EQ(reporter.messages[0], "Unknown officer: ");
    EXPECT_EQ(reporter.messages.back(), "Bad direction: " + std::string(10000, '-'));
    reset();
    run("ALL", "-AT_E-XX-");
    EXPECT_EQ(reporter.messages, std::vector<std::string>(22, "Unknown officer: XX"));
    EXPECT_TRUE(mc.failed());
}

}  // namespace
}  // namespace velistrad
