// The My Simulations menu follows the list of custom simulations: items
// appear as simulations are saved, come back after a restart and load their
// script when chosen. The rules of saving are tested on the list itself.
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

using CustomSimulationsMenuTest = WindowTest;

TEST_F(CustomSimulationsMenuTest, SavingAddsAnItemAndReplacingKeepsIt) {
    EXPECT_EQ(customItem(1)->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(customItem(1)->isEnabled());
    saveSimulation("Walk & Turn", "Mar,XZ,Now");
    EXPECT_EQ(customItem(1)->text(), QStringLiteral("Walk && Turn"));
    EXPECT_TRUE(customItem(1)->isEnabled());
    EXPECT_TRUE(customItem(1)->isVisible());
    dialogs.answers = {true};
    saveSimulation("Walk & Turn", "MC,XZ,Now");
    EXPECT_EQ(customItem(1)->text(), QStringLiteral("Walk && Turn"));
    EXPECT_FALSE(customItem(2)->isVisible());
    EXPECT_EQ(window->customSimulations().at(0).script, "MC,XZ,Now");
}

TEST_F(CustomSimulationsMenuTest, SavedSimulationsComeBackAfterARestart) {
    saveSimulation("Part 2", "Mar,XZ,\nNow");
    saveSimulation("Long", "---Mar,UZX,After");
    open();
    EXPECT_EQ(customItem(1)->text(), QStringLiteral("Part 2"));
    EXPECT_EQ(customItem(2)->text(), QStringLiteral("Long"));
    EXPECT_FALSE(customItem(3)->isVisible());
    customItem(1)->trigger();
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZ,Now"));  // line breaks do not survive
    customItem(2)->trigger();
    EXPECT_EQ(editorText(), QStringLiteral("---Mar,UZX,After"));
}

}  // namespace
}  // namespace velistrad
