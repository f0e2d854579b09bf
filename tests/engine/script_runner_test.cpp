// The script runner without a window: cleaning and splitting the text, the
// timing words and Delay as the frames show them, failing entries and scripts
// far longer than the old fixed tables.
#include "engine/script_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
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
struct Composed : DiagnosticSink {
    std::vector<std::string> log;
    std::vector<Diagnostic> diagnostics;
    std::shared_ptr<PlayedTimeline> composition;
    std::vector<std::string> frames;

    explicit Composed(std::string_view text, std::size_t limit = kMaxRunFrames) {
        ChapterRoom room;
        composition = composeScript(room, text, *this, limit);
        if (!composition) return;
        for (std::size_t i = 0; i < composition->size(); ++i)
            frames.push_back(composition->frameText(i));
    }
    void diagnose(const Diagnostic& d) override {
        diagnostics.push_back(d);
        log.push_back((d.kind == DiagnosticKind::ErrorDetails ? "error: " : "message: ") + d.text);
    }
    const std::vector<std::string>& mainline() const { return frames; }
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
    const auto& t = run.mainline();
    if (c.rel == Rel::SameAs) {
        EXPECT_EQ(t, Composed(c.reference).mainline());
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
    EXPECT_TRUE(run.composition->frame(4).isDelay());
}

TEST(ScriptRunner, FailingEntryReportsMessageThenDetailsAndComposesNothing) {
    const Composed run("MC,XZR,Now, sc , xz-q- , simult, Foo,XZR,Now");
    EXPECT_EQ(run.composition, nullptr);
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
    const auto& t = run.mainline();
    const std::size_t delay =
        static_cast<std::size_t>(std::find(t.begin(), t.end(), "1.0") - t.begin());
    EXPECT_GT(delay, 32768u);
    EXPECT_EQ(t[framesOf(t, kMc).back()], "9,3600,5625");  // the 1,200th walk ends at O
    EXPECT_EQ(framesOf(t, kSc).front(), delay + 1);
    EXPECT_EQ(framesOf(t, kSc).back(), t.size() - 2);
}

// Every message says which entry, which field and which bytes of the script
// it is about, so that an editor can point at them.
TEST(ScriptRunner, DiagnosticsPlaceEachMessageInTheScript) {
    struct Row {
        const char* script;
        std::size_t index;  // which diagnostic
        std::size_t entry;
        Field field;
        const char* span;  // the bytes it is about
        const char* text;
        bool stops;
        DiagnosticKind kind;
    };
    const Row kRows[] = {
        {"MC,XZR,Now, f o,XZR,Now", 0, 2, Field::Officer, "f o", "Unknown officer: FO", true,
         DiagnosticKind::Message},
        {"MC,XZR,Now, f o,XZR,Now", 1, 2, Field::Entry, " f o,XZR,Now",
         "Error occurred while processing: FO, XZR, NOW", true, DiagnosticKind::ErrorDetails},
        {"MC, X Z 1 J, Now", 0, 1, Field::Direction, "1", "Unknown direction: 1", true,
         DiagnosticKind::Message},
        {"sc,\nXZ-E-q\nq-,Simult", 0, 1, Field::Direction, "q\nq", "Unknown officer: QQ", true,
         DiagnosticKind::Message},
        {"MC,XZ-S-CH,Now", 0, 1, Field::Direction, "XZ-S-CH", "Bad direction: XZ-S-CH", true,
         DiagnosticKind::Message},
        {"MC,,Now", 0, 1, Field::Direction, "", "Bad direction: ", true, DiagnosticKind::Message},
        // Messages that let the run go on.
        {"MC,X,Now, ALL,-AT-,Now", 0, 2, Field::Direction, "-AT-", "Bad direction: -AT-", false,
         DiagnosticKind::Message},
        {"MC,-AT-mc-,Now", 0, 1, Field::Direction, "mc", "Unknown location: MC", false,
         DiagnosticKind::Message},
        // Bytes that would not show are shown as \xNN.
        {"M\x01"
         "C,X,Now",
         0, 1, Field::Officer,
         "M\x01"
         "C",
         "Unknown officer: M\\x01C", true, DiagnosticKind::Message},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.script);
        const Composed run(row.script);
        ASSERT_GT(run.diagnostics.size(), row.index);
        const Diagnostic& d = run.diagnostics[row.index];
        EXPECT_EQ(d.entry, row.entry);
        EXPECT_EQ(d.field, row.field);
        EXPECT_EQ(std::string_view(row.script).substr(d.start, d.length), row.span);
        EXPECT_EQ(d.text, row.text);
        EXPECT_EQ(d.stops, row.stops);
        EXPECT_EQ(d.kind, row.kind);
        EXPECT_EQ(run.composition == nullptr, row.stops);
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

// A flood of messages reaches the user as a handful, then one count, then
// the error details.
TEST(ScriptRunner, LimitedSinkShowsAHandfulThenACount) {
    Composed shown("");
    LimitedSink limited(shown, 5);
    ChapterRoom room;
    EXPECT_EQ(composeScript(room, "Mar," + std::string(3000, '-') + ",Now", limited), nullptr);
    limited.finish();
    ASSERT_EQ(shown.log.size(), 7u);
    EXPECT_EQ(shown.log[4], "message: Unknown officer: ");
    EXPECT_EQ(shown.log[5], "message: 995 more messages were not shown.");
    EXPECT_EQ(shown.log[6],
              "error: Error occurred while processing: MAR, " + std::string(3000, '-') + ", NOW");
}

}  // namespace
}  // namespace velistrad
