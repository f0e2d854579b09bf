// The timeline and the routes after the script changed: a held run edited
// says it is the run of the script before the edit and shows nothing of its
// own as the new script's, Play still resumes it, and once it ends it is
// gone. While every route shows, the plan tells which colour is whom.
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTreeWidget>

#include "app/follow_officer.h"
#include "app/plan_view.h"
#include "render/route_legend.h"
#include "render/trail_painter.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

constexpr const char* kOld = "SC, XZE, Now, Mar, XZTCEVU, After, CH, XZ, Now, Mar, UZX, Unsync";
constexpr const char* kNew = "JD, XZ, Now, SD, XZ, Now";

class TimelineWindowTest : public WindowTest {
protected:
    QString readout() const { return child<QLabel>(qs("TimelineReadout"))->text(); }
    int partRows() const { return child<QTreeWidget>(qs("OfficerPartList"))->topLevelItemCount(); }
    bool marked() const { return !editor()->extraSelections().isEmpty(); }
};

TEST_F(TimelineWindowTest, AHeldRunEditedIsMarkedAsTheOldOneAndGoesOnceItEnds) {
    setEditorText(kOld);
    window->following().select(0);  // Mar
    QString before, after;
    int partBefore = 0, partAfter = -1;
    bool markedBefore = false, markedAfter = true;
    scripted.at(2.0, [&] {
        playButton()->click();  // held
        before = readout();
        partBefore = partRows();
        markedBefore = marked();
        setEditorText(kNew);
        after = readout();
        partAfter = partRows();
        markedAfter = marked();
        playButton()->click();  // resumes the held run, as it always did
    });
    playButton()->click();
    EXPECT_FALSE(before.contains(qs("before the edit")));
    EXPECT_TRUE(partBefore == 2 && markedBefore);
    // The same frame and entries, said to be the old script's; nothing of it
    // marked in the new script or listed as Mar's part.
    EXPECT_EQ(after, before + qs(" · the run of the script before the edit"));
    EXPECT_TRUE(partAfter == 0 && !markedAfter);
    // It played on to its end, then went.
    EXPECT_EQ(positions(window->simulator().room()), positions(Composed(kOld).end()));
    EXPECT_TRUE(window->simulator().played() == nullptr && readout().isEmpty());
    EXPECT_FALSE(child<QSlider>(qs("Timeline"))->isEnabled());

    playButton()->click();  // the new script
    EXPECT_EQ(window->simulator().playedScript(), kNew);
    EXPECT_TRUE(readout().startsWith(qs("frame ")) && !readout().contains(qs("before the edit")));
}

// Each officer with a route has a row of the legend, in his colour, in the
// officer table's order; without all routes there is no legend.
TEST_F(TimelineWindowTest, AllRoutesShowWhichColourIsWhom) {
    setEditorText(kOld);
    playButton()->click();
    auto colourAt = [this](std::size_t row) {
        const QRectF r = routeLegendRow(row);
        const QPointF centre(r.left() + 6, r.center().y());
        return window->plan()->grab().toImage().pixelColor(
            window->plan()->planTransform().map(centre).toPoint());
    };
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               40;
    };
    const int walkers[] = {0, 1, 10};  // Mar, CH, SC
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_FALSE(near(colourAt(row), officerColour(walkers[row]))) << row;
    child<QAction>(qs("Officer_AllTrails"))->trigger();
    for (std::size_t row = 0; row < 3; ++row)
        EXPECT_TRUE(near(colourAt(row), officerColour(walkers[row]))) << row;
    EXPECT_FALSE(near(colourAt(3), officerColour(walkers[2])));
}

}  // namespace
}  // namespace velistrad
