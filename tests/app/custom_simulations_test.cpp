// The My Simulations menu follows the list of custom simulations: items
// appear as simulations are saved, come back after a restart and load their
// script when chosen. The rules of saving are tested on the list itself.
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

class CustomSimulationsMenuTest : public WindowTest {
protected:
    void save(const char* name, const char* script) {
        setEditorText(script);
        dialogs.names.push_back(qs(name));
        trigger(QStringLiteral("SaveSimulation"));
    }
    QAction* item(int i) const { return child<QAction>(QStringLiteral("CustomSim(%1)").arg(i)); }
};

TEST_F(CustomSimulationsMenuTest, SavingAddsAnItemAndReplacingKeepsIt) {
    EXPECT_EQ(item(1)->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(item(1)->isEnabled());
    save("Walk & Turn", "Mar,XZ,Now");
    EXPECT_EQ(item(1)->text(), QStringLiteral("Walk && Turn"));
    EXPECT_TRUE(item(1)->isEnabled());
    EXPECT_TRUE(item(1)->isVisible());
    dialogs.answers = {true};
    save("Walk & Turn", "MC,XZ,Now");
    EXPECT_EQ(item(1)->text(), QStringLiteral("Walk && Turn"));
    EXPECT_FALSE(item(2)->isVisible());
    EXPECT_EQ(window->customSimulations().at(0).script, "MC,XZ,Now");
}

TEST_F(CustomSimulationsMenuTest, SavedSimulationsComeBackAfterARestart) {
    save("Part-2", "Mar,XZ,Now");  // refused: the file would keep it as "2"
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages.at(0).title, QStringLiteral("Custom Simulation"));
    save("Part 2", "Mar,XZ,\nNow");
    save("Long", "---Mar,UZX,After");
    open();
    EXPECT_EQ(item(1)->text(), QStringLiteral("Part 2"));
    EXPECT_EQ(item(2)->text(), QStringLiteral("Long"));
    EXPECT_FALSE(item(3)->isVisible());
    item(1)->trigger();
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZ,Now"));  // line breaks do not survive
    item(2)->trigger();
    EXPECT_EQ(editorText(), QStringLiteral("---Mar,UZX,After"));
}

}  // namespace
}  // namespace velistrad
