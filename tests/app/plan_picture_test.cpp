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

TEST(PlanPictureTest, SizeFollowsPixelRatio) {
    const ChapterRoom room;
    const QImage normal = renderPlan(room, 1.0);
    EXPECT_EQ(normal.size(), QSize(482, 696));
    const QImage dense = renderPlan(room, 2.0);
    EXPECT_EQ(dense.size(), QSize(964, 1392));
    EXPECT_EQ(dense.deviceIndependentSize(), QSizeF(482, 696));
}

TEST(PlanPictureTest, FeaturesSitAtTheirCoordinates) {
    const ChapterRoom room;
    for (const double dpr : {1.0, 2.0}) {
        const QImage plan = renderPlan(room, dpr);
        const QRgb floor = plan.pixel(1, 1);  // outside the walls
        // Open floor between the F-H and I-K rows, away from every feature.
        EXPECT_EQ(pixelAt(plan, 2700, 3450, dpr), floor) << dpr;
        EXPECT_EQ(pixelAt(plan, 4800, 3450, dpr), floor) << dpr;
        for (int i = 0; i < kPointCount;
             ++i) {  // every lettered point on a lane, every light drawn
            EXPECT_NE(pixelAt(plan, room.point(i).x + 85, room.point(i).y + 75, dpr), floor)
                << "point " << i << " at ratio " << dpr;
        }
        for (int i = 0; i < kOfficerCount; ++i) {  // every station in its box
            const Officer& o = room.officer(i);
            EXPECT_NE(pixelAt(plan, o.stationX + 40, o.stationY + 75, dpr), floor)
                << o.abbreviation << " at ratio " << dpr;
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
