// The script runner without a window: cleaning and splitting the text, the
// timing words and Delay as the frames show them, the place of each message
// in the script and scripts far longer than the old fixed tables.
#include "engine/script_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/model/case_file.h"

namespace velistrad {
namespace {

using ::testing::ElementsAre;

constexpr int kMc = 9;
constexpr int kSc = 10;

// Compiles and composes from a fresh room, keeping the diagnostics.
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
};

// Frame indexes where an officer has a triple.
std::vector<std::size_t> framesOf(const std::vector<std::string>& t, int officer) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < t.size(); ++i) {
        std::istringstream fields(t[i]);
        std::string index, x, y;
        while (std::getline(fields, index, ',') && std::getline(fields, x, ',') &&
               std::getline(fields, y, ',')) {
            if (index == std::to_string(officer)) {
                found.push_back(i);
                break;
            }
        }
    }
    return found;
}

TEST(ScriptRunner, TimingWordsPlaceTheEntries) {
    for (const Case& c : CASES("timing_words.txt", 5)) {
        SCOPED_TRACE(c.line);
        const Composed run(c[0]);
        ASSERT_TRUE(run.composition);
        if (c[1] == "SameAs") {
            EXPECT_EQ(run.frames, Composed(c[2]).frames);
            continue;
        }
        const auto first = framesOf(run.frames, static_cast<int>(c.n(3)));
        const auto second = framesOf(run.frames, static_cast<int>(c.n(4)));
        ASSERT_FALSE(first.empty() || second.empty());
        // After a group comes its empty end frame, after a delay the delay frame.
        const std::size_t gap = c[1] == "StartAfterEnd" ? 2 : c[1] == "StartAfterDelay" ? 3 : 0;
        const std::size_t from = c[1] == "StartTogether" ? first.front() : first.back();
        EXPECT_EQ(c[1] == "EndTogether" ? second.back() : second.front(), from + gap);
    }
}

TEST(ScriptRunner, FramesAtTheStartAndDelayFrames) {
    EXPECT_THAT(Composed("").frames, ElementsAre("", ""));
    // A first After entry closes the still empty group: one more empty frame.
    EXPECT_EQ(framesOf(Composed("MC,XZR,Now").frames, kMc).front(), 1u);
    EXPECT_EQ(framesOf(Composed("MC,XZR,After").frames, kMc).front(), 2u);
    // A delay frame holds the cleaned Time text.
    const Composed run("All,Delay, 0.5 ,All,delay,1e3");
    EXPECT_THAT(run.frames, ElementsAre("", "", "0.5", "", "1E3", ""));
    EXPECT_TRUE(run.composition->frame(4).isDelay());
}

// MC walks J, O, J, O ... one After entry each: 1,200 entries and more than
// 32,768 frames, then a delay and an Unsync entry placed after it.
TEST(ScriptRunner, LongScriptIsComposedWhole) {
    std::string text;
    for (int i = 0; i < 1200; ++i) text += i % 2 == 0 ? "MC,J,After, " : "MC,O,After, ";
    const Composed run(text + "All,Delay,1.0, SC,XZE,Unsync");
    ASSERT_TRUE(run.composition);
    const auto& t = run.frames;
    const std::size_t delay =
        static_cast<std::size_t>(std::find(t.begin(), t.end(), "1.0") - t.begin());
    EXPECT_GT(delay, 32768u);
    EXPECT_EQ(t[framesOf(t, kMc).back()], "9,3600,5625");  // the 1,200th walk ends at O
    EXPECT_EQ(framesOf(t, kSc).front(), delay + 1);
    EXPECT_EQ(framesOf(t, kSc).back(), t.size() - 2);
}

// So that an editor can point at them; a failing entry composes nothing.
TEST(ScriptRunner, DiagnosticsPlaceEachMessageInTheScript) {
    const char* fields[] = {"Officer", "Direction", "Time", "Entry"};
    const char* kinds[] = {"Message", "ErrorDetails", "TooLong"};
    for (const Case& c : CASES("diagnostics.txt", 8)) {
        SCOPED_TRACE(c.line);
        const Composed run(c[0]);
        ASSERT_GT(run.diagnostics.size(), c.n(1));
        const Diagnostic& d = run.diagnostics[c.n(1)];
        EXPECT_EQ(d.entry, c.n(2));
        EXPECT_EQ(fields[static_cast<int>(d.field)], c[3]);
        EXPECT_EQ(c[0].substr(d.start, d.length), c[4]);
        EXPECT_EQ(d.text, c[5]);
        EXPECT_EQ(d.stops, c.yes(6));
        EXPECT_EQ(kinds[static_cast<int>(d.kind)], c[7]);
        EXPECT_EQ(run.composition == nullptr, c.yes(6));
    }
}

// A script that would make more frames than a run may have is refused while
// compiling, in the middle of a single long entry too.
TEST(ScriptRunner, TooManyFramesStopEarlyWithOneMessage) {
    std::string walks = "Mar,";
    for (int i = 0; i < 2000; ++i) walks += "AV";
    for (const std::string& script :
         {walks + ",Now", std::string("MC,XZR,Now,MC,RZX,After,MC,XZR,After")}) {
        const Composed run(script, 250);
        EXPECT_EQ(run.composition, nullptr);
        ASSERT_EQ(run.diagnostics.size(), 1u);
        EXPECT_EQ(run.diagnostics[0].kind, DiagnosticKind::TooLong);
        EXPECT_EQ(run.diagnostics[0].text,
                  "This simulation is too long to play: its officers would take more than 250 "
                  "steps. Shorten the script, or split it into several simulations.");
    }
    EXPECT_NE(Composed("MC,XZR,Now", 250).composition, nullptr);
}

}  // namespace
}  // namespace velistrad
