// Screen and export draw alike: the plan widget and renderScene, given the
// same markers, give the same pixels.
#include <gtest/gtest.h>

#include <QImage>

#include "app/plan_painter.h"
#include "app/qt_platform.h"
#include "model/chapter_room.h"

namespace velistrad {
namespace {

TEST(Scene, TheWidgetAndTheExportPaintTheSamePixels) {
    ChapterRoom room;
    PlanView view(room);
    view.drawOfficer({0, "Mar", 1800, 4000});
    view.drawOfficer({1, "CH", 1950, 4100});  // overlapping its neighbour
    view.drawOfficer({21, "SD", 5000.5f, 7000.25f});
    view.present();
    const QImage screen =
        view.grab().toImage().copy(2, 2, 482, 696).convertToFormat(QImage::Format_RGB32);
    const QImage exported = renderScene(room, view.markerPainter(), view.markers(), 1.0)
                                .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), exported.size());
    EXPECT_TRUE(screen == exported);
}

}  // namespace
}  // namespace velistrad
