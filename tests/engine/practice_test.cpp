// Practising a part: the questions asked, what counts as right, and a round
// answered by a scripted learner.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/practice.h"
#include "engine/simulator.h"
#include "simulations/catalogue.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

constexpr int kSD = 21;

std::vector<PracticeQuestion> questionsOf(const std::string& script, int officer) {
    const auto played = Composed(script).composition;
    EXPECT_TRUE(played);
    return played ? practiceQuestions(*played, script, officer, speedFrameDelay(3))
                  : std::vector<PracticeQuestion>{};
}

// One question per entry that moves him, for every officer of every built-in
// movement; the places that count lie within a marker's width of his.
TEST(PracticeTest, OneQuestionPerEntryThatMovesHim) {
    for (const CatalogueEntry& movement : catalogue()) {
        const std::string script = movement.script;
        const auto played = Composed(script).composition;
        ASSERT_TRUE(played);
        for (int officer = 0; officer < kOfficerCount; ++officer) {
            SCOPED_TRACE(movement.caption + std::string(" ") + std::to_string(officer));
            const auto part = officerPart(*played, script, officer, speedFrameDelay(3));
            const auto questions = practiceQuestions(*played, script, officer, speedFrameDelay(3));
            ASSERT_EQ(questions.size(), part.size());
            for (std::size_t i = 0; i < part.size(); ++i) {
                EXPECT_EQ(questions[i].step.entry, part[i].entry);
                EXPECT_TRUE(rightClick(questions[i], part[i].endX, part[i].endY));
                EXPECT_TRUE(rightPick(questions[i], questions[i].place));
                for (const Landmark& l : questions[i].rightPlaces)
                    EXPECT_LE(std::hypot(l.x - part[i].endX, l.y - part[i].endY),
                              2 * kAnswerRadius);
            }
        }
    }
}

TEST(PracticeTest, RightOnHisPlaceOrALandmarkBesideItWrongElsewhere) {
    // SD ends 300 twips North of J: J itself counts, K does not.
    const auto q = questionsOf("SD,XZK-N-J-,Now", kSD);
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(practicePrompt(kSD), "Where does the Senior Deacon go now?");
    EXPECT_EQ(q[0].place, "a little North of floor letter J");
    EXPECT_TRUE(rightPick(q[0], "floor letter J"));
    EXPECT_FALSE(rightPick(q[0], "floor letter K"));
    EXPECT_TRUE(rightClick(q[0], 3900 + 140, 4590));  // on his place
    EXPECT_TRUE(rightClick(q[0], 3600 - 100, 4590));  // on J
    EXPECT_FALSE(rightClick(q[0], 5750, 4590));       // on K
    EXPECT_FALSE(rightClick(q[0], 3900, 4590 + 400));
    const auto choices = answerChoices(ChapterRoom(), kSD, q[0]);
    EXPECT_EQ(choices.size(), 6u);
    EXPECT_NE(std::find(choices.begin(), choices.end(), q[0].place), choices.end());
    EXPECT_TRUE(std::is_sorted(choices.begin(), choices.end()));
}

// A learner answering by clicking where the run shows him going.
TEST(PracticeTest, AScriptedLearnerRightEveryTimeScoresAll) {
    PracticeRound round(questionsOf(catalogue()[1].script, kSD));
    const std::size_t total = round.questionCount();
    ASSERT_GE(total, 3u);
    std::size_t asked = 0;
    for (; !round.finished(); ++asked) {
        EXPECT_TRUE(round.firstTry());
        const PracticeQuestion& q = round.current();
        round.answer(rightClick(q, q.step.endX, q.step.endY));
    }
    EXPECT_EQ(asked, total);
    EXPECT_EQ(round.rightFirstTime(), total);
    EXPECT_TRUE(round.missed().empty());
}

TEST(PracticeTest, AMissedStepComesBackAtTheEndAndCountsAsMissed) {
    PracticeRound round(questionsOf(catalogue()[1].script, kSD));
    const std::size_t total = round.questionCount();
    const std::size_t firstEntry = round.current().step.entry;
    round.answer(false);  // wrong at the first try
    std::vector<std::size_t> order;
    for (; !round.finished(); round.answer(true)) order.push_back(round.current().step.entry);
    ASSERT_EQ(order.size(), total);
    EXPECT_EQ(order.back(), firstEntry);
    EXPECT_EQ(round.rightFirstTime(), total - 1);
    ASSERT_EQ(round.missed().size(), 1u);
    EXPECT_EQ(round.missed()[0].step.entry, firstEntry);
    // Practising these again asks only the missed one.
    PracticeRound again(round.missed());
    EXPECT_EQ(again.questionCount(), 1u);
    EXPECT_EQ(again.current().step.entry, firstEntry);
}

}  // namespace
}  // namespace velistrad
