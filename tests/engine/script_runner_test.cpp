// Composing scripts into timelines: the timing words and Delay as the frames
// show them, and the place of each message in the script.
#include "engine/script_runner.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/case_file.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

// Frame indexes where an officer has a triple.
std::vector<std::size_t> framesOf(const std::vector<std::string>& t, int officer) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto fields = split(t[i], ',');
        bool has = false;
        for (std::size_t k = 0; k + 2 < fields.size(); k += 3)
            has |= fields[k] == std::to_string(officer);
        if (has) found.push_back(i);
    }
    return found;
}

TEST(ScriptRunner, TimingWordsPlaceTheEntries) {
    FOR_EACH_CASE(c, "timing_words.txt", 5) {
        const Composed run(c[0]);
        ASSERT_TRUE(run.composition);
        if (c[1] == "SameAs" || c[1] == "Frames") {
            EXPECT_EQ(run.frames, c[1] == "Frames" ? split(c[2], '|') : Composed(c[2]).frames);
            continue;
        }
        const auto first = framesOf(run.frames, static_cast<int>(c.n(3)));
        const auto second = framesOf(run.frames, static_cast<int>(c.n(4)));
        ASSERT_FALSE(first.empty() || second.empty());
        if (c[1] == "FirstAt") {
            EXPECT_EQ(first.front(), c.n(2));
            continue;
        }
        // After a group comes its empty end frame, after a delay the delay frame.
        const std::size_t gap = c[1] == "StartAfterEnd" ? 2 : c[1] == "StartAfterDelay" ? 3 : 0;
        const std::size_t from = c[1] == "StartTogether" ? first.front() : first.back();
        EXPECT_EQ(c[1] == "EndTogether" ? second.back() : second.front(), from + gap);
    }
}

// So that an editor can point at them; a failing entry composes nothing.
TEST(ScriptRunner, DiagnosticsPlaceEachMessageInTheScript) {
    const char* fields[] = {"Officer", "Direction", "Time", "Entry"};
    const char* kinds[] = {"Message", "ErrorDetails", "TooLong"};
    FOR_EACH_CASE(c, "diagnostics.txt", 9) {
        const Composed run(c[0], c[8].empty() ? kMaxRunFrames : c.n(8));
        ASSERT_GT(run.diagnostics.size(), c.n(1));
        const Diagnostic& d = run.diagnostics[c.n(1)];
        EXPECT_EQ(d.entry, c.n(2));
        EXPECT_EQ(fields[static_cast<int>(d.field)], c[3]);
        EXPECT_EQ(c[0].substr(d.start, d.length), c[4]);
        EXPECT_EQ(d.text, c[5]);
        EXPECT_EQ(d.stops, c.yes(6));
        EXPECT_EQ(kinds[static_cast<int>(d.kind)], c[7]);
        EXPECT_EQ(run.composition == nullptr, c.yes(6));
        EXPECT_TRUE(c[7] != "TooLong" || run.diagnostics.size() == 1);
    }
    EXPECT_NE(Composed("MC,XZR,Now", 250).composition, nullptr);  // under the limit
}

}  // namespace
}  // namespace velistrad
