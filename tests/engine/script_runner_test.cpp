// The script runner without a window: cleaning and splitting the text, the
// timing words and Delay as the frames show them, failing entries and scripts
// far longer than the old fixed tables.
#include "engine/script_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace velistrad {
namespace {

using ::testing::ElementsAre;

constexpr int kMar = 0;
constexpr int kMc = 9;
constexpr int kSc = 10;
constexpr int kJc = 11;

// Compiles and composes from a fresh room; messages and error details land
// in one log so their order shows.
struct Composed : Reporter {
    std::vector<std::string> log;
    std::optional<Composition> composition;

    explicit Composed(std::string_view text) {
        ChapterRoom room;
        MovementCompiler compiler(room, *this);
        composition = composeScript(compiler, splitScript(text),
                                    [this](const std::string& t) { log.push_back("error: " + t); });
    }
    void message(const std::string& text) override { log.push_back("message: " + text); }
    const Timeline& mainline() const { return composition.value().mainline; }
};

// Frame indexes where an officer has a triple.
std::vector<std::size_t> framesOf(const Timeline& t, int officer) {
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

// How a script's frames come out: like a reference script, or the second
// officer's frames placed against the first one's.
enum class Rel { SameAs, StartTogether, StartAfterEnd, StartAfterDelay, EndTogether };

struct TimingCase {
    const char* text;
    Rel rel;
    const char* reference = "";
    int first = kMc;
    int second = kSc;
};

class TimingWord : public ::testing::TestWithParam<TimingCase> {};

TEST_P(TimingWord, PlacesTheEntry) {
    const TimingCase& c = GetParam();
    SCOPED_TRACE(c.text);
    const Composed run(c.text);
    ASSERT_TRUE(run.composition);
    const Timeline& t = run.mainline();
    if (c.rel == Rel::SameAs) {
        const Composed reference(c.reference);
        EXPECT_EQ(t, reference.mainline());
        EXPECT_EQ(run.composition->delayFrames, reference.composition->delayFrames);
        return;
    }
    const auto first = framesOf(t, c.first);
    const auto second = framesOf(t, c.second);
    ASSERT_FALSE(first.empty() || second.empty());
    // After a group comes its empty end frame, after a delay the delay frame.
    const std::size_t gap = c.rel == Rel::StartAfterEnd ? 2 : c.rel == Rel::StartAfterDelay ? 3 : 0;
    const std::size_t from = c.rel == Rel::StartTogether ? first.front() : first.back();
    EXPECT_EQ(c.rel == Rel::EndTogether ? second.back() : second.front(), from + gap);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, TimingWord,
    ::testing::Values(
        // Fields are cleaned and upper-cased; an unfinished entry is dropped.
        TimingCase{" m c ,\r\nX Z\nR , N o w ,SC,XZE", Rel::SameAs, "MC,XZR,Now"},
        TimingCase{"MC, XZR", Rel::SameAs, ""},
        TimingCase{"MC,XZR,Now, SC,XZE,Now", Rel::StartTogether},
        // An unknown or missing word acts as Now.
        TimingCase{"MC,XZR,Later, SC,XZE,", Rel::SameAs, "MC,XZR,Now, SC,XZE,Now"},
        TimingCase{"MC,XZR,Now, SC,XZE,after", Rel::StartAfterEnd},
        // Simult aligns the ends whichever entry is longer.
        TimingCase{"MC,XZR,Now, SC,XZE,Simult", Rel::EndTogether},
        TimingCase{"SC,XZE,Now, MC,XZR,Simult", Rel::EndTogether, "", kSc, kMc},
        // Simult with nothing to align to acts as Now.
        TimingCase{"All,Delay,1.0, MC,XZR,Simult", Rel::SameAs, "All,Delay,1.0, MC,XZR,Now"},
        TimingCase{"MC,XZR,Now, SC,XZE,Unsync", Rel::StartTogether},
        // The longer Unsync entry does not hold back the next After entry.
        TimingCase{"MC,XZR,Now, SC,XZE,Unsync, JC,XZ,After", Rel::StartAfterEnd, "", kMc, kJc},
        // Chaplain fragment: Simult aligns with the latest Now or After entry,
        // never with an Unsync one.
        TimingCase{"JC,-S-L-,Now, Ch,XZ-N-T-,Unsync, Mar,XZT,Simult", Rel::EndTogether, "", kJc,
                   kMar},
        TimingCase{"MC,XZR,Now, MC,Delay,2, SC,XZE,Now", Rel::StartAfterDelay},
        // A Delay that is not a positive number adds no pause and closes no group.
        TimingCase{"MC,XZR,Now, All,Delay,0, SC,XZE,Simult", Rel::SameAs,
                   "MC,XZR,Now, SC,XZE,Simult"},
        TimingCase{"MC,XZR,Now, All,Delay,-1, SC,XZE,Now", Rel::SameAs, "MC,XZR,Now, SC,XZE,Now"}));

TEST(ScriptRunner, FramesAtTheStartAndDelayFrames) {
    EXPECT_THAT(Composed("").mainline(), ElementsAre("", ""));
    // A first After entry closes the still empty group: one more empty frame.
    EXPECT_EQ(framesOf(Composed("MC,XZR,Now").mainline(), kMc).front(), 1u);
    EXPECT_EQ(framesOf(Composed("MC,XZR,After").mainline(), kMc).front(), 2u);
    // A delay frame holds the cleaned Time text.
    const Composed run("All,Delay, 0.5 ,All,delay,1e3");
    EXPECT_THAT(run.mainline(), ElementsAre("", "", "0.5", "", "1E3", ""));
    EXPECT_THAT(run.composition->delayFrames, ElementsAre(2u, 4u));
}

TEST(ScriptRunner, FailingEntryReportsMessageThenDetailsAndComposesNothing) {
    const Composed run("MC,XZR,Now, sc , xz-q- , simult, Foo,XZR,Now");
    EXPECT_FALSE(run.composition.has_value());
    EXPECT_THAT(run.log, ElementsAre("message: Bad direction: XZ-Q-",
                                     "error: Error occurred while processing: SC, XZ-Q-, SIMULT"));
}

// MC walks J, O, J, O ... one After entry each: 1,200 entries and more than
// 32,768 frames, then a delay and an Unsync entry placed after it.
TEST(ScriptRunner, LongScriptIsComposedWhole) {
    std::string text;
    for (int i = 0; i < 1200; ++i) text += i % 2 == 0 ? "MC,J,After, " : "MC,O,After, ";
    const Composed run(text + "All,Delay,1.0, SC,XZE,Unsync");
    ASSERT_TRUE(run.composition);
    const Timeline& t = run.mainline();
    ASSERT_EQ(run.composition->delayFrames.size(), 1u);
    const std::size_t delay = run.composition->delayFrames[0];
    EXPECT_GT(delay, 32768u);
    EXPECT_EQ(t[delay], "1.0");
    EXPECT_EQ(t[framesOf(t, kMc).back()], "9,3600,5625");  // the 1,200th walk ends at O
    EXPECT_EQ(framesOf(t, kSc).front(), delay + 1);
    EXPECT_EQ(framesOf(t, kSc).back(), t.size() - 2);
}

}  // namespace
}  // namespace velistrad
