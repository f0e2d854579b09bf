// What the editor learns from the engine as the user types (the command
// line's check too): where each field and problem lies, that it says exactly
// what Play would show, and an entry's route.
#include "engine/script_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "simulations/catalogue.h"
#include "tests/case_file.h"
#include "tests/engine/composed.h"
#include "tests/engine/simulator_world.h"

namespace velistrad {
namespace {

TEST(ScriptCheck, MarksFieldsAndProblemsWhereTheyAre) {
    FOR_EACH_CASE(c, "script_check.txt", 6) {
        const CheckResult check = checkScript(ChapterRoom(), c[0]);
        // "O[Mar]" for a mark of style O over the bytes "Mar", then the
        // message of an error or a warning.
        std::string marks;
        for (const FieldMark& m : fieldMarks(c[0], check))
            marks += (marks.empty() ? "" : "|") + std::string(1, "ODTLEW"[int(m.style)]) + '[' +
                     c[0].substr(m.start, m.end - m.start) + ']' + m.message;
        EXPECT_EQ(marks, c[1]);
        EXPECT_EQ(entryAtText(c[0], c.n(2)), c[3]);
        std::vector<std::string> lines = problemLines(c[0], check);
        warningLines(c[0], [&lines](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(lines, split(c[4], '|'));
        EXPECT_EQ(check.plays, c.yes(5));
    }
}

TEST(ScriptCheck, SaysWhatPlayWouldShow) {
    std::vector<std::string> scripts;
    for (const CatalogueEntry& e : catalogue()) scripts.emplace_back(e.script);
    // Pieces of entries, good and bad, thrown together.
    const char* officers[] = {"Mar", "sc", "ALL", "XX", "", "Ch+MC", "Sen "};
    const char* directions[] = {"XZTCEVU",           "XZE-N-Ch-", "-AT-MC-", "XZQ", "Delay",
                                "-DIAG_E-MC+W+220-", "X Z",       "",        "ZX-", "1"};
    const char* times[] = {"Now", "After", "Simult", "Unsync", "soon", "0.5", ""};
    std::mt19937 random(7);
    auto pick = [&random](const auto& from) { return from[random() % std::size(from)]; };
    for (int n = 0; n < 300; ++n) {
        std::string script;
        for (int e = 1 + static_cast<int>(random() % 4); e > 0; --e)
            script += std::string(pick(officers)) + ", " + pick(directions) + ",\r\n" +
                      pick(times) + (e > 1 ? ", " : "");
        scripts.push_back(script);
    }
    for (const std::string& script : scripts) {
        SCOPED_TRACE(script);
        World play;  // a window that has just started
        play.sim.setSpeed(5);
        play.play(script);
        const CheckResult check = checkScript(ChapterRoom(), script);
        std::vector<std::pair<std::size_t, std::string>> said;
        for (const Diagnostic& d : check.problems) said.emplace_back(d.entry, d.text);
        EXPECT_EQ(check.plays, play.sim.played() != nullptr);
        if (!play.held) {
            EXPECT_EQ(said, play.shown);
            continue;
        }
        // Play held most back: what it showed comes in the check, in order.
        auto next = said.begin();
        for (const auto& s : play.shown) next = std::find(next, said.end(), s);
        EXPECT_NE(next, said.end());
    }
}

TEST(ScriptCheck, PreviewsTheRouteOfOneEntry) {
    const std::string script = "Mar, XZTCEVU, Now, Mar, UZX, After, All, Delay, 1";
    ChapterRoom room;
    const int mar = room.findOfficer("MAR");
    const std::pair<float, float> station(room.officer(mar).stationX, room.officer(mar).stationY);
    const EntryRoute first = entryRoute(room, script, 0);
    ASSERT_EQ(first.routes.size(), 1u);
    EXPECT_EQ(first.routes[0].points.front(), station);
    for (const int letter : {2, 4, 19, 20, 21})  // C E T U V, and those walked by on the way
        EXPECT_TRUE(std::count(first.points.begin(), first.points.end(), letter)) << letter;
    EXPECT_EQ(first.stations, std::vector<int>{mar});
    // The next starts where the first left him, at U, and ends at his station.
    const EntryRoute second = entryRoute(room, script, 1);
    ASSERT_EQ(second.routes.size(), 1u);
    const std::pair<float, float> u(room.point(20).x, room.point(20).y);
    EXPECT_EQ(second.routes[0].points.front(), u);
    EXPECT_EQ(second.routes[0].points.back(), station);
    EXPECT_TRUE(entryRoute(room, script, 2).routes.empty());  // a pause walks nowhere
    EXPECT_TRUE(entryRoute(room, "XX, XZ, Now, Mar, ZX, Now", 1).routes.empty());
}

}  // namespace
}  // namespace velistrad
