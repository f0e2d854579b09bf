// The practice record: best scores and their days survive a restart, a part
// is known after two rounds all right at the first try, and a file that
// cannot be read is kept aside without stopping anything.
#include "simulations/practice_progress.h"

#include <fstream>

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using PracticeProgressTest = SavingTest;

TEST_F(PracticeProgressTest, BestScoresAndKnownPartsSurviveARestart) {
    const std::string wotd = "Opening > Deacons - Word of the Day";
    {
        PracticeProgress progress(folder + "/user");  // made when first saved
        EXPECT_EQ(progress.load(), "");
        EXPECT_EQ(progress.score(wotd, "SD"), nullptr);
        EXPECT_EQ(progress.record(wotd, "SD", 2, 3, "2026-12-01"), "");
        EXPECT_EQ(progress.record(wotd, "SD", 1, 3, "2026-12-02"), "");  // worse: not kept
        EXPECT_EQ(progress.record(wotd, "SD", 3, 3, "2026-12-03"), "");
        EXPECT_FALSE(progress.known(wotd, "SD"));
        EXPECT_EQ(progress.record(wotd, "JD", 3, 3, "2026-12-03"), "");
    }
    PracticeProgress again(folder + "/user");
    EXPECT_EQ(again.load(), "");
    const PracticeScore* sd = again.score(wotd, "SD");
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(sd->right, 3u);
    EXPECT_EQ(sd->total, 3u);
    EXPECT_EQ(sd->date, "2026-12-03");
    EXPECT_FALSE(again.known(wotd, "SD"));
    EXPECT_FALSE(again.knowsSomePart(wotd));
    // A second perfect round, on another day: known; the best keeps its day.
    EXPECT_EQ(again.record(wotd, "SD", 3, 3, "2026-12-04"), "");
    PracticeProgress third(folder + "/user");
    EXPECT_EQ(third.load(), "");
    EXPECT_TRUE(third.known(wotd, "SD"));
    EXPECT_EQ(third.score(wotd, "SD")->date, "2026-12-03");
    EXPECT_TRUE(third.knowsSomePart(wotd));
    EXPECT_FALSE(third.known(wotd, "JD"));
    EXPECT_FALSE(third.knowsSomePart("Opening > Marshal"));
    // A name with a tab cannot break the lines of the file.
    EXPECT_EQ(third.record("Mine\twith tab", "Mar", 1, 2, "2026-12-05"), "");
    PracticeProgress fourth(folder + "/user");
    EXPECT_EQ(fourth.load(), "");
    EXPECT_NE(fourth.score("Mine with tab", "Mar"), nullptr);
}

TEST_F(PracticeProgressTest, AnUnreadableFileIsKeptAsideAndPracticeGoesOn) {
    for (const char* bad : {"not a record\n", "velistrad practice 1\nA\tSD\t4\t3\tday\t0\n",
                            "velistrad practice 1\nA\tSD\tx\t3\tday\t0\n"}) {
        SCOPED_TRACE(bad);
        std::filesystem::remove_all(folder + "/user");
        std::filesystem::create_directories(folder + "/user");
        const std::string file = folder + "/user/progress.txt";
        std::ofstream(file) << bad;
        PracticeProgress progress(folder + "/user");
        const std::string note = progress.load();
        EXPECT_NE(note.find("could not be read"), std::string::npos) << note;
        EXPECT_EQ(fileBytes(file + ".unreadable"), bad);
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(progress.record("A", "SD", 3, 3, "2026-12-07"), "");
        PracticeProgress again(folder + "/user");
        EXPECT_EQ(again.load(), "");
        EXPECT_NE(again.score("A", "SD"), nullptr);
        // A second bad file does not replace the first one kept.
        std::ofstream(file) << "garbage";
        PracticeProgress third(folder + "/user");
        EXPECT_NE(third.load(), "");
        EXPECT_EQ(fileBytes(file + ".unreadable"), bad);
        EXPECT_EQ(fileBytes(file + ".unreadable.2"), "garbage");
    }
}

}  // namespace
}  // namespace velistrad
