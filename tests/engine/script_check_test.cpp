// The check an editor runs as the user types, and the command line's check:
// where each field and each problem lies, and that the check says exactly
// what Play would show.
#include "engine/script_check.h"

#include "engine/null_platform.h"
#include "engine/simulator.h"
#include "simulations/catalogue.h"
#include "tests/case_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace velistrad {
namespace {

// "O[Mar]" for a mark of style O over the bytes "Mar", then the message of
// an error or a warning.
std::string describe(const std::string& script, const std::vector<FieldMark>& marks) {
    static constexpr char kStyles[] = {'O', 'D', 'T', 'L', 'E', 'W'};
    std::string out;
    for (const FieldMark& m : marks) {
        if (!out.empty()) out += '|';
        out += kStyles[static_cast<int>(m.style)];
        out += '[' + script.substr(m.start, m.end - m.start) + ']' + m.message;
    }
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += (out.empty() ? "" : "|") + line;
    return out;
}

TEST(ScriptCheck, MarksFieldsAndProblemsWhereTheyAre) {
    FOR_EACH_CASE(c, "script_check.txt", 6) {
        const CheckResult check = checkScript(ChapterRoom(), c[0]);
        EXPECT_EQ(describe(c[0], fieldMarks(c[0], check)), c[1]);
        EXPECT_EQ(entryAtText(c[0], c.n(2)), c[3]);
        EXPECT_EQ(joined(problemLines(c[0], check)), c[4]);
        EXPECT_EQ(check.plays, c.yes(5));
    }
}

// What Play shows, box after box, for a script typed into a window that has
// just started.
struct Played : NullHost, DiagnosticSink {
    explicit Played(const std::string& text) : script(text) {
        JumpingClock clock;
        JumpingPump pump(clock);
        NullSurface surface;
        ChapterRoom room;
        Simulator sim(room, *this, *this, surface, clock, pump);
        sim.Speed_Click(5);
        sim.Simulate_Click();
        played = sim.played() != nullptr;
    }
    std::string scriptText() override { return script; }
    void diagnose(const Diagnostic& d) override {
        if (d.entry > 0) shown.emplace_back(d.entry, d.text);  // not the count of those held back
        held |= d.entry == 0;
    }
    std::string script;
    std::vector<std::pair<std::size_t, std::string>> shown;
    bool held = false;  // more than a handful: Play showed the first ones only
    bool played = false;
};

// Each problem of an entry once, as Play shows it frame after frame.
std::vector<std::pair<std::size_t, std::string>> once(
    const std::vector<std::pair<std::size_t, std::string>>& shown) {
    std::vector<std::pair<std::size_t, std::string>> out;
    for (const auto& s : shown)
        if (std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
    return out;
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
        const Played play(script);
        const CheckResult check = checkScript(ChapterRoom(), script);
        std::vector<std::pair<std::size_t, std::string>> said;
        for (const Diagnostic& d : check.problems) said.emplace_back(d.entry, d.text);
        EXPECT_EQ(check.plays, play.played);
        const auto shown = once(play.shown);
        if (!play.held) {
            EXPECT_EQ(said, shown);
            continue;
        }
        // Play held most back: what it showed comes in the check, in order.
        auto next = said.begin();
        for (const auto& s : shown) next = std::find(next, said.end(), s);
        EXPECT_NE(next, said.end());
    }
}

TEST(ScriptCheck, PreviewsTheRouteOfOneEntry) {
    const std::string script = "Mar, XZTCEVU, Now, Mar, UZX, After, All, Delay, 1";
    ChapterRoom room;
    const int mar = room.findofficer("MAR");
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
