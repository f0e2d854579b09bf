#include "app/plan_picture.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPoint>

#include "model/chapter_room.h"

namespace velistrad {
namespace {

// Pixel of the plan under a floor position given in twips, at ratio dpr.
QRgb pixelAt(const QImage& image, double x, double y, double dpr) {
    return image.pixel(QPoint(static_cast<int>(x / kTwipsPerPixel * dpr),
                              static_cast<int>(y / kTwipsPerPixel * dpr)));
}

TEST(PlanPictureTest, SizeFollowsPixelRatioAndFeaturesSitAtTheirCoordinates) {
    const ChapterRoom room;
    for (const double dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        const QImage plan = renderPlan(room, dpr);
        EXPECT_EQ(plan.size(), QSize(482, 696) * dpr);
        EXPECT_EQ(plan.deviceIndependentSize(), QSizeF(482, 696));
        const QRgb floor = plan.pixel(1, 1);  // outside the walls
        // Open floor between the F-H and I-K rows, away from every feature.
        EXPECT_EQ(pixelAt(plan, 2700, 3450, dpr), floor);
        EXPECT_EQ(pixelAt(plan, 4800, 3450, dpr), floor);
        // Every lettered point on a lane, every light drawn, every station in its box.
        for (int i = 0; i < kPointCount; ++i)
            EXPECT_NE(pixelAt(plan, room.point(i).x + 85, room.point(i).y + 75, dpr), floor) << i;
        for (int i = 0; i < kOfficerCount; ++i) {
            const Officer& o = room.officer(i);
            EXPECT_NE(pixelAt(plan, o.stationX + 40, o.stationY + 75, dpr), floor) << i;
        }
    }
}

}  // namespace
}  // namespace velistrad

int main(int argc, char** argv) {
    // CTest sets the platform; test discovery at build time runs without it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
