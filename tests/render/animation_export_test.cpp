// The animation read back with giflib: a picture for every entry of the
// schedule, each held its time, the whole as long as the run, and what the
// viewer shows at a third, midway and the end equal to the screen's painter.
#include "render/animation_export.h"

#include <gif_lib.h>

#include <QDir>

#include <cmath>

#include "engine/simulator.h"
#include "render/gif_palette.h"
#include "render/gif_schedule.h"
#include "render/image_export.h"
#include "render/plan_picture.h"
#include "tests/case_file.h"
#include "tests/render/export_fixture.h"

namespace velistrad {
namespace {

TEST_F(ExportTest, GifHoldsEveryPictureForItsTimeAndShowsWhatTheScreenPaints) {
    const std::string path = dir.filePath(qs("run.gif")).toStdString();
    FOR_EACH_CASE(c, "gif_runs.txt", 4) {
        const ExportScene scene = sceneOf(c[0], c.yes(3) ? TrailOptions{0, true} : TrailOptions{});
        const PlayedTimeline& played = *scene.run().played;
        const double delay = speedFrameDelay(static_cast<int>(c.n(1)));
        ASSERT_EQ(writeGif(path, scene, delay, markers), "");
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        ASSERT_NE(gif, nullptr);
        ASSERT_EQ(DGifSlurp(gif), GIF_OK);
        const std::vector<GifFrame> schedule = gifSchedule(played, delay);
        ASSERT_EQ(static_cast<std::size_t>(gif->ImageCount), schedule.size());
        EXPECT_EQ(schedule.back().frames, played.size());
        EXPECT_LE(schedule.size() * c.f(2), played.size() + 1.0);

        // Pictures laid one over the other, as a viewer shows them.
        QImage canvas(kPlanWidth, kPlanHeight, QImage::Format_RGB32);
        long total = 0;
        for (int n = 0; n < gif->ImageCount; ++n) {
            GraphicsControlBlock control;
            ASSERT_EQ(DGifSavedExtensionToGCB(gif, n, &control), GIF_OK);
            EXPECT_GE(control.DelayTime, kMinGifDelay) << n;
            total += control.DelayTime;
            const SavedImage& image = gif->SavedImages[n];
            const GifImageDesc& d = image.ImageDesc;
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            for (int y = 0; y < d.Height; ++y)
                for (int x = 0; x < d.Width; ++x) {
                    const int i = image.RasterBits[y * d.Width + x];
                    if (i == control.TransparentColor) continue;
                    const GifColorType colour = map->Colors[i];
                    canvas.setPixel(d.Left + x, d.Top + y,
                                    qRgb(colour.Red, colour.Green, colour.Blue));
                }
            // A third of the way, midway, and the end.
            if (n != gif->ImageCount / 3 && n != gif->ImageCount / 2 && n + 1 != gif->ImageCount)
                continue;
            const std::size_t frames = schedule[static_cast<std::size_t>(n)].frames;
            const QImage painted =
                scene.frame(frames, markers).convertToFormat(QImage::Format_RGB32);
            int differ = 0;
            for (int y = 0; y < kPlanHeight; ++y)
                for (int x = 0; x < kPlanWidth; ++x)
                    differ += canvas.pixel(x, y) != gifColour(painted.pixel(x, y), c.yes(3));
            EXPECT_EQ(differ, 0) << "picture " << n << ", frame " << frames;
        }
        const double seconds = played.timeAt(played.size(), gifFramePeriod(delay));
        EXPECT_LE(std::abs(total - seconds * 100), 1.0);
        DGifCloseFile(gif, &error);
    }
}

TEST_F(ExportTest, CancelledOrFailedExportLeavesTheFileAsItWas) {
    const QString target = dir.filePath(qs("kept.gif"));
    writeBytes(target.toStdString(), "old");
    const ExportScene scene = sceneOf(kScript, {});
    std::size_t calls = 0;
    EXPECT_EQ(writeGif(target.toStdString(), scene, 0.025, markers,
                       [&](std::size_t done, std::size_t) { return ++calls, done < 5; }),
              "");
    EXPECT_EQ(calls, 5u);
    EXPECT_NE(writePng(dir.filePath(qs("no-such-folder/view.png")).toStdString(), scene, markers),
              "");
    EXPECT_EQ(fileBytes(target.toStdString()), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{qs("kept.gif")});
}

}  // namespace
}  // namespace velistrad
