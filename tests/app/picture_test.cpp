// Pictures: the plan at each pixel ratio, the markers over it, and the
// widget and the export painting the same pixels (the exports themselves are
// read back in tests/render/).
#include <QFontMetricsF>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/plan_view.h"
#include "render/plan_picture.h"
#include "tests/app/window_fixture.h"
#include "tests/case_file.h"

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

TEST(PlanView, MarkersHideWhatLiesBeneathButLabelsStayWhole) {
    ChapterRoom room;
    PlanView view(room);
    struct Marker {
        float x, y;  // centre; the label starts 85 twips left, 75 up
        const char* label;
    };
    auto drawn = [&](std::vector<Marker> markers) {
        view.clear();
        int officer = 0;
        for (const Marker& m : markers) view.drawOfficer({officer++, m.label, m.x - 85, m.y - 75});
        view.present();
        return view.grab().toImage();
    };
    auto dark = [](const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 100; };
    // Two officers side by side, 300 twips apart: the second circle reaches
    // into the first label, which is wider than its own circle's right half.
    const Marker mar{1885, 9120, "Mar"}, ch{2185, 9120, "CH"};
    const Officer& officer = room.officer(0);
    const Marker onStation{officer.stationX + 85.0f, officer.stationY + 75.0f, ""};
    const QImage plan = drawn({}), alone = drawn({mar}), pair = drawn({mar, ch}),
                 covered = drawn({onStation});

    // The outline lies 10 pixels (150 twips) from the centre, inside the 2-pixel border.
    const int cx = 2 + 1885 / 15, cy = 2 + 9120 / 15;
    EXPECT_TRUE(dark(alone, cx + 9, cy) || dark(alone, cx + 10, cy) || dark(alone, cx + 11, cy));

    const QFontMetricsF metrics(view.labelFont());
    const QRect label = QRectF(QPointF(2 + 1800 / 15.0, 2 + 9045 / 15.0),
                               QSizeF(metrics.horizontalAdvance(qs("Mar")), metrics.height()))
                            .toAlignedRect();
    int ink = 0;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            // The label's own letters, not the plan's lines under it.
            if (!dark(alone, x, y) || dark(plan, x, y)) continue;
            ++ink;
            EXPECT_TRUE(dark(pair, x, y)) << x << "," << y;
        }
    EXPECT_GT(ink, 20);

    // A circle over a station box hides the box's lines and letters: a marker
    // is a token of its own, not a ring around whatever lies beneath.
    const double sx = 2 + onStation.x / 15.0, sy = 2 + onStation.y / 15.0;
    int hidden = 0;
    for (int y = int(sy) - 8; y <= int(sy) + 8; ++y)
        for (int x = int(sx) - 8; x <= int(sx) + 8; ++x) {
            if (std::hypot(x + 0.5 - sx, y + 0.5 - sy) > 8) continue;
            hidden += dark(plan, x, y) ? 1 : 0;
            EXPECT_GT(qGray(covered.pixel(x, y)), 200) << x << "," << y;
        }
    EXPECT_GT(hidden, 5) << "the station box shows under the circle";
}

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

// On pixels a circle is copied from a picture drawn for its centre's place
// within a pixel: at any scale it must lie where drawing it would put it.
TEST(MarkerPainter, CopiedCirclesLieWhereDrawnOnesWould) {
    MarkerPainter markers;
    std::vector<Marker> shown;
    for (int i = 0; i < 14; ++i)  // centres at every fifteenth of a pixel
        shown.push_back({i, QString(), QPointF(450 + 451 * i, 600 + 467 * i)});
    for (const double scale : {1.0, 1.37, 0.5}) {
        // The plan's corner on whole pixels, as the widget places it.
        const QTransform place = QTransform::fromTranslate(3, 7).scale(scale, scale);
        auto blank = [] {
            QImage image(700, 700, QImage::Format_RGB32);
            image.fill(Qt::white);
            return image;
        };
        QImage copied = blank(), drawn = blank();
        QPainter painter(&copied);
        painter.setTransform(place);
        markers.paint(painter, shown);
        painter.end();
        QPicture outlines;  // not pixels: the circles are drawn as outlines
        painter.begin(&outlines);
        markers.paint(painter, shown);
        painter.end();
        painter.begin(&drawn);
        painter.setTransform(place);
        painter.drawPicture(0, 0, outlines);
        painter.end();
        int most = 0, inked = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const int a = qGray(copied.pixel(x, y)), b = qGray(drawn.pixel(x, y));
                most = std::max(most, std::abs(a - b));
                inked += b < 200 ? 1 : 0;
            }
        EXPECT_GT(inked, 14 * 20) << scale;
        // A thirty-second of a pixel changes an edge by a few levels; a pixel, by all.
        EXPECT_LE(most, 24) << scale;
    }
}

}  // namespace
}  // namespace velistrad
