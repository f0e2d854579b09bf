// The script runner without a window: cleaning and splitting the text, the
// timing words as the frames show them, Delay, failing entries and scripts
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
constexpr int kCh = 1;
constexpr int kMc = 9;
constexpr int kSc = 10;
constexpr int kJc = 11;

class LogReporter : public Reporter {
public:
    explicit LogReporter(std::vector<std::string>& log) : m_log(log) {}
    void message(const std::string& text) override { m_log.push_back("message: " + text); }

private:
    std::vector<std::string>& m_log;
};

// Compiles and composes from a fresh room; messages and error details land
// in one log so their order shows.
struct Composed {
    std::vector<std::string> log;
    std::optional<Composition> composition;

    explicit Composed(std::string_view text) {
        ChapterRoom room;
        LogReporter reporter(log);
        MovementCompiler compiler(room, reporter);
        composition = composeScript(compiler, splitScript(text),
                                    [this](const std::string& t) { log.push_back("error: " + t); });
    }
    const Timeline& mainline() const { return composition.value().mainline; }
};

// Frame indexes where an officer has a triple (frames without delay text).
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
std::size_t firstFrameOf(const Timeline& t, int officer) {
    return framesOf(t, officer).at(0);
}
std::size_t lastFrameOf(const Timeline& t, int officer) {
    return framesOf(t, officer).back();
}

TEST(TrimAll, RemovesOnlyBlanksAndLineBreaks) {
    EXPECT_EQ(TrimAll(""), "");
    EXPECT_EQ(TrimAll(" \r\n \n"), "");
    EXPECT_EQ(TrimAll(" X Z\r\n-N-T- "), "XZ-N-T-");
    EXPECT_EQ(TrimAll("a\tb+c"), "a\tb+c");  // tabs and everything else stay
}

struct SplitCase {
    const char* text;
    std::vector<std::vector<std::string>> entries;  // Officer, Direction, Time
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class SplitScript : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitScript, CleansFieldsAndDropsIncompleteEntries) {
    std::vector<std::vector<std::string>> got;
    for (const ScriptEntry& e : splitScript(GetParam().text))
        got.push_back({e.Officer, e.Direction, e.Time});
    EXPECT_EQ(got, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, SplitScript,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"MC, XZR", {}},
                      SplitCase{"mc,xzr,now", {{"MC", "XZR", "NOW"}}},
                      SplitCase{" M C ,\r\nX Z\nR , N o w ", {{"MC", "XZR", "NOW"}}},
                      SplitCase{"MC,XZR,Now,", {{"MC", "XZR", "NOW"}}},
                      SplitCase{"MC,XZR,Now,SC", {{"MC", "XZR", "NOW"}}},
                      SplitCase{"MC,XZR,Now,SC,XZE", {{"MC", "XZR", "NOW"}}},
                      SplitCase{",,,", {{"", "", ""}}},
                      SplitCase{"Mar,\tXZT,Simult, Ch,xz-n-t-,unsync",
                                {{"MAR", "\tXZT", "SIMULT"}, {"CH", "XZ-N-T-", "UNSYNC"}}}));

// Texts that must play exactly as a reference text.
struct SameAsCase {
    const char* text;
    const char* reference;
};

void PrintTo(const SameAsCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ComposesLike : public ::testing::TestWithParam<SameAsCase> {};

TEST_P(ComposesLike, Reference) {
    const Composed run(GetParam().text);
    const Composed reference(GetParam().reference);
    ASSERT_TRUE(run.composition && reference.composition);
    EXPECT_EQ(run.mainline(), reference.mainline());
    EXPECT_EQ(run.composition->delayFrames, reference.composition->delayFrames);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, ComposesLike,
    ::testing::Values(
        SameAsCase{"mc,xzr,now", "MC,XZR,Now"}, SameAsCase{" MC , X Z R , Now ", "MC,XZR,Now"},
        SameAsCase{"MC,X\r\nZR,Now", "MC,XZR,Now"}, SameAsCase{"MC,XZR,Later", "MC,XZR,Now"},
        SameAsCase{"MC,XZR,", "MC,XZR,Now"}, SameAsCase{"MC,XZR,Now,SC,XZE", "MC,XZR,Now"},
        // Simult with nothing to align to acts as Now.
        SameAsCase{"MC,XZR,Simult", "MC,XZR,Now"},
        SameAsCase{"All,Delay,1.0, MC,XZR,Simult", "All,Delay,1.0, MC,XZR,Now"},
        // A Delay that is not a positive number adds no pause and closes no group.
        SameAsCase{"MC,XZR,Now, All,Delay,0, SC,XZE,Now", "MC,XZR,Now, SC,XZE,Now"},
        SameAsCase{"MC,XZR,Now, All,Delay,-1, SC,XZE,Simult", "MC,XZR,Now, SC,XZE,Simult"},
        SameAsCase{"MC,XZR,Now, All,Delay,soon, SC,XZE,Now", "MC,XZR,Now, SC,XZE,Now"},
        SameAsCase{"MC,XZR,Now, All,Delay,-0, SC,XZE,Now", "MC,XZR,Now, SC,XZE,Now"},
        SameAsCase{"MC,XZR,Now, All,Delay,, SC,XZE,Now", "MC,XZR,Now, SC,XZE,Now"}));

// How the second officer's frames stand against the first one's.
enum class Relation { StartTogether, StartAfterEnd, StartAfterDelay, EndTogether };

struct TimingCase {
    const char* text;
    int first;
    int second;
    Relation relation;
};

void PrintTo(const TimingCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class TimingWord : public ::testing::TestWithParam<TimingCase> {};

TEST_P(TimingWord, PlacesTheEntry) {
    const TimingCase& c = GetParam();
    const Composed run(c.text);
    ASSERT_TRUE(run.composition);
    const Timeline& t = run.mainline();
    switch (c.relation) {
        case Relation::StartTogether:
            EXPECT_EQ(firstFrameOf(t, c.second), firstFrameOf(t, c.first));
            break;
        case Relation::StartAfterEnd:  // after the group's empty end frame
            EXPECT_EQ(firstFrameOf(t, c.second), lastFrameOf(t, c.first) + 2);
            break;
        case Relation::StartAfterDelay:  // end frame, then the delay frame
            EXPECT_EQ(firstFrameOf(t, c.second), lastFrameOf(t, c.first) + 3);
            break;
        case Relation::EndTogether:
            EXPECT_EQ(lastFrameOf(t, c.second), lastFrameOf(t, c.first));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, TimingWord,
    ::testing::Values(
        TimingCase{"MC,XZR,Now, SC,XZE,Now", kMc, kSc, Relation::StartTogether},
        TimingCase{"MC,XZR,Now, SC,XZE,Later", kMc, kSc, Relation::StartTogether},
        TimingCase{"MC,XZR,Now, SC,XZE,", kMc, kSc, Relation::StartTogether},
        TimingCase{"MC,XZR,Now, SC,XZE,after", kMc, kSc, Relation::StartAfterEnd},
        TimingCase{"MC,XZR,Now, SC,XZE,Simult", kMc, kSc, Relation::EndTogether},
        TimingCase{"SC,XZE,Now, MC,XZR,Simult", kSc, kMc, Relation::EndTogether},
        TimingCase{"MC,XZR,Now, SC,XZE,Unsync", kMc, kSc, Relation::StartTogether},
        // The longer Unsync entry does not hold back the next After entry.
        TimingCase{"MC,XZR,Now, SC,XZE,Unsync, JC,XZ,After", kMc, kJc, Relation::StartAfterEnd},
        TimingCase{"MC,XZR,Now, All,Delay,2, SC,XZE,Now", kMc, kSc, Relation::StartAfterDelay},
        TimingCase{"MC,XZR,Now, MC,Delay,0.5, SC,XZE,Now", kMc, kSc, Relation::StartAfterDelay},
        // Simult aligns with the latest Now or After entry, never an Unsync one.
        TimingCase{"JC,-S-L-,Now, Ch,XZ-N-T-,Unsync, Mar,XZT,Simult", kJc, kMar,
                   Relation::EndTogether},
        TimingCase{"JC,-S-L-,Now, Ch,XZ-N-T-,Unsync, Mar,XZT,Simult", kMar, kCh,
                   Relation::StartTogether}));

TEST(ScriptRunner, ChaplainFragmentDoesNotAlignMarshalWithChaplain) {
    const Composed run("JC,-S-L-,Now, Ch,XZ-N-T-,Unsync, Mar,XZT,Simult");
    ASSERT_TRUE(run.composition);
    EXPECT_NE(lastFrameOf(run.mainline(), kMar), lastFrameOf(run.mainline(), kCh));
}

struct DelayCase {
    const char* text;
    Timeline mainline;
    std::vector<std::size_t> delayFrames;
};

void PrintTo(const DelayCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class DelayFrames : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayFrames, HoldTheCleanedTimeText) {
    const Composed run(GetParam().text);
    ASSERT_TRUE(run.composition);
    EXPECT_EQ(run.mainline(), GetParam().mainline);
    EXPECT_EQ(run.composition->delayFrames, GetParam().delayFrames);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, DelayFrames,
    ::testing::Values(DelayCase{"", {"", ""}, {}}, DelayCase{"MC, XZR", {"", ""}, {}},
                      DelayCase{"All,Delay,0", {"", ""}, {}},
                      DelayCase{"MC, Delay, 2", {"", "", "2", ""}, {2}},
                      DelayCase{"All,Delay, 0.5 ", {"", "", "0.5", ""}, {2}},
                      DelayCase{"All,Delay,1e308", {"", "", "1E308", ""}, {2}},
                      DelayCase{"All,Delay,1,All,Delay,2", {"", "", "1", "", "2", ""}, {2, 4}}));

TEST(ScriptRunner, AfterAsFirstEntryAddsOneEmptyFrame) {
    const Composed now("MC,XZR,Now");
    const Composed after("MC,XZR,After");
    ASSERT_TRUE(now.composition && after.composition);
    Timeline expected = now.mainline();
    expected.insert(expected.begin(), "");
    EXPECT_EQ(after.mainline(), expected);
}

TEST(ScriptRunner, UnsyncOnDelayFrameIsJoinedAndStillKnownAsDelay) {
    const Composed run("MC,XZR,Unsync, All,Delay,1.0");
    ASSERT_TRUE(run.composition);
    ASSERT_THAT(run.composition->delayFrames, ElementsAre(2u));
    EXPECT_EQ(run.mainline()[2].rfind("1.0,9,", 0), 0u) << run.mainline()[2];
}

struct FailureCase {
    const char* text;
    std::vector<std::string> log;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class FailingEntry : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailingEntry, ReportsInterpreterThenDetailsAndPlaysNothing) {
    const Composed run(GetParam().text);
    EXPECT_FALSE(run.composition.has_value());
    EXPECT_EQ(run.log, GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    ScriptRunner, FailingEntry,
    ::testing::Values(FailureCase{"MC,XZR,Now, Foo,XZR,Now, Bar,XZR,Now",
                                  {"message: Unknown officer: FOO",
                                   "error: Error occurred while processing: FOO, XZR, NOW"}},
                      FailureCase{"MC,XZR,Now, sc , xz-q- , simult",
                                  {"message: Bad direction: XZ-Q-",
                                   "error: Error occurred while processing: SC, XZ-Q-, SIMULT"}}));

// MC walks J, O, J, O ... one After entry each: 1,200 entries and more than
// 32,768 frames, then a delay and an Unsync entry placed after it.
std::string longScript(int walks, const char* tail) {
    std::string text;
    for (int i = 0; i < walks; ++i) text += i % 2 == 0 ? "MC,J,After, " : "MC,O,After, ";
    return text + tail;
}

TEST(ScriptRunner, LongScriptIsCompiledWhole) {
    const Composed run(longScript(1200, "All,Delay,1.0, SC,XZE,Unsync"));
    ASSERT_TRUE(run.composition);
    const Timeline& t = run.mainline();
    ASSERT_EQ(run.composition->delayFrames.size(), 1u);
    const std::size_t delay = run.composition->delayFrames[0];
    EXPECT_GT(delay, 32768u);
    EXPECT_EQ(t[delay], "1.0");
    EXPECT_EQ(t[lastFrameOf(t, kMc)], "9,3600,5625");  // the 1,200th walk ends at O
    EXPECT_EQ(firstFrameOf(t, kSc), delay + 1);
    EXPECT_EQ(lastFrameOf(t, kSc), t.size() - 2);
}

TEST(ScriptRunner, EntryBeyondPlace1001IsStillCompiled) {
    const Composed run(longScript(1100, "Nobody,XZR,Now"));
    EXPECT_FALSE(run.composition.has_value());
    EXPECT_THAT(run.log, ElementsAre("message: Unknown officer: NOBODY",
                                     "error: Error occurred while processing: NOBODY, XZR, NOW"));
}

}  // namespace
}  // namespace velistrad
