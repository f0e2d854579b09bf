// The exports read back: the GIF decoded with giflib against the screen's
// painter, the PDF's pages and what its painter draws, and a cancelled
// export that leaves the file alone.
#include "app/export.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

#include "app/plan_picture.h"
#include "engine/null_platform.h"
#include "engine/script_runner.h"

namespace velistrad {
namespace {

constexpr const char* kScript =
    "Mar, XZTCEVU, Now, All, Delay, 1.0, SC, XZE, Now, Mar, UZX, Simult, JD, XZ, Unsync";
constexpr double kMedium = 0.025;

ExportRun runOf(const char* script, TrailOptions options) {
    ExportRun run;
    ChapterRoom room;
    NullSink sink;
    run.played = composeScript(room, script, sink);
    run.script = script;
    run.name = "Test run";
    run.options = options;
    run.shown = run.played->size();
    return run;
}

class ExportTest : public ::testing::Test {
protected:
    std::string path(const char* name) const {
        return dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    QTemporaryDir dir;
    MarkerPainter markers;
};

TEST_F(ExportTest, GifHoldsEveryPictureForItsTimeAndShowsWhatTheScreenPaints) {
    for (const TrailOptions options : {TrailOptions{}, TrailOptions{0, true}}) {
        SCOPED_TRACE(options.any() ? "with routes" : "plain");
        const ExportScene scene(runOf(kScript, options));
        ASSERT_EQ(writeGif(path("run.gif"), scene, kMedium, markers), "");
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path("run.gif").c_str(), &error);
        ASSERT_NE(gif, nullptr);
        ASSERT_EQ(DGifSlurp(gif), GIF_OK);
        const std::vector<GifFrame> schedule = gifSchedule(*scene.run().played, kMedium);
        ASSERT_EQ(static_cast<std::size_t>(gif->ImageCount), schedule.size());

        // Pictures laid one over the other, as a viewer shows them.
        QImage canvas(kPlanWidth, kPlanHeight, QImage::Format_RGB32);
        long total = 0;
        std::size_t compared = 0;
        for (int n = 0; n < gif->ImageCount; ++n) {
            GraphicsControlBlock control;
            ASSERT_EQ(DGifSavedExtensionToGCB(gif, n, &control), GIF_OK);
            EXPECT_GE(control.DelayTime, 2) << n;
            total += control.DelayTime;
            const SavedImage& image = gif->SavedImages[n];
            const GifImageDesc& d = image.ImageDesc;
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            for (int y = 0; y < d.Height; ++y) {
                for (int x = 0; x < d.Width; ++x) {
                    const int i = image.RasterBits[y * d.Width + x];
                    if (i == control.TransparentColor) continue;
                    const GifColorType c = map->Colors[i];
                    canvas.setPixel(d.Left + x, d.Top + y, qRgb(c.Red, c.Green, c.Blue));
                }
            }
            // Midway through Mar's first walk, after the delay, and the end.
            const std::size_t frames = schedule[static_cast<std::size_t>(n)].frames;
            if (n != 40 && n != gif->ImageCount / 2 && n + 1 != gif->ImageCount) continue;
            ++compared;
            const QImage painted =
                scene.frame(frames, markers).convertToFormat(QImage::Format_RGB32);
            int differ = 0;
            for (int y = 0; y < kPlanHeight; ++y)
                for (int x = 0; x < kPlanWidth; ++x)
                    differ += canvas.pixel(x, y) != gifColour(painted.pixel(x, y), options.any());
            EXPECT_EQ(differ, 0) << "picture " << n << ", frame " << frames;
        }
        EXPECT_EQ(compared, 3u);
        const double seconds = scene.run().played->timeAt(scene.run().played->size(), kMedium);
        EXPECT_LE(std::abs(total - seconds * 100), 1.0);
        DGifCloseFile(gif, &error);
    }
}

TEST_F(ExportTest, PlanPdfIsOnePageOfThePlansShapeCarryingTheRoutes) {
    const ExportScene routes(runOf(kScript, {-1, true}));
    ASSERT_EQ(writePlanPdf(path("plan.pdf"), routes, markers), "");
    QFile file(QString::fromStdString(path("plan.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(file.readAll());
    EXPECT_EQ(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
    const auto box =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)"))
            .match(pdf);
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble() / box.captured(2).toDouble(),
                double(kPlanWidth) / kPlanHeight, 0.002);

    // The page's painter, into a picture: Mar's red route is there only
    // when routes are drawn.
    const auto redPixels = [&](const ExportScene& scene) {
        QImage page(kPlanWidth * 2, kPlanHeight * 2, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.scale(2, 2);
        paintPlanSheet(painter, scene, markers);
        painter.end();
        const QColor red = officerColour(0);
        int count = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                count += std::abs(c.red() - red.red()) + std::abs(c.green() - red.green()) +
                             std::abs(c.blue() - red.blue()) <
                         40;
            }
        return count;
    };
    EXPECT_GT(redPixels(routes), 100);
    EXPECT_EQ(redPixels(ExportScene(runOf(kScript, {}))), 0);
}

TEST_F(ExportTest, CancelledOrFailedExportLeavesTheFileAsItWas) {
    const std::string target = path("kept.gif");
    {
        QFile old(QString::fromStdString(target));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const ExportScene scene(runOf(kScript, {}));
    std::size_t calls = 0;
    EXPECT_EQ(writeGif(target, scene, kMedium, markers,
                       [&](std::size_t done, std::size_t) { return ++calls, done < 5; }),
              "");
    EXPECT_EQ(calls, 5u);
    EXPECT_NE(writePng(path("no-such-folder/view.png"), scene, markers), "");
    QFile kept(QString::fromStdString(target));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.gif")});
}

}  // namespace
}  // namespace velistrad

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
