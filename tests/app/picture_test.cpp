// Pictures: the plan at each pixel ratio, the markers over it, and the
// widget and the export painting the same pixels. The exports read back: the
// GIF decoded with giflib against the screen's painter, the PDF's pages and
// what its painter draws, read by poppler; the SVG parsed; and a cancelled export that leaves the
// file alone.
#include "render/animation_export.h"
#include "render/gif_palette.h"
#include "render/gif_schedule.h"
#include "render/image_export.h"
#include "render/sheet_export.h"

#include <gif_lib.h>

#include <QDir>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

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

constexpr const char* kScript =
    "Mar, XZTCEVU, Now, All, Delay, 1.0, SC, XZE, Now, Mar, UZX, Simult, JD, XZ, Unsync";

ExportScene sceneOf(const std::string& script, TrailOptions options) {
    const auto played = Composed(script).composition;
    return ExportScene({played, {}, script, "Test run", options, played->size()});
}

struct ExportTest : ::testing::Test {
    QTemporaryDir dir;
    MarkerPainter markers;
};

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

// What poppler makes of a PDF: its pages, the first page's size in points,
// its text laid out as on the page, and every complaint while rendering it.
struct PopplerReading {
    int pages = 0;
    QSizeF page;
    QString text;
    QString complaints;
    int images = 0;
};

PopplerReading readWithPoppler(const QString& pdf) {
    const auto run = [](const QString& program, const QStringList& args, QString* errors) {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(30000);
        EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
        if (errors) *errors += QString::fromUtf8(process.readAllStandardError());
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    PopplerReading reading;
    const QString info = run(qs("pdfinfo"), {pdf}, &reading.complaints);
    reading.pages = QRegularExpression(qs("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    const auto size = QRegularExpression(qs("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    reading.page = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    reading.text = run(qs("pdftotext"), {qs("-layout"), pdf, qs("-")}, &reading.complaints);
    run(qs("pdftoppm"), {qs("-r"), qs("30"), qs("-png"), pdf, pdf + qs(".page")},
        &reading.complaints);
    // Two heading lines, then one line an image.
    reading.images = run(qs("pdfimages"), {qs("-list"), pdf}, &reading.complaints).count(u'\n') - 2;
    return reading;
}

TEST_F(ExportTest, PdfsAreOnTheLocalesPaperAndReadCleanly) {
    const struct {
        const char* locale;
        QSizeF paper;
    } cases[] = {{"en_US", {612, 792}}, {"fr_CA", {612, 792}}, {"es_MX", {612, 792}},
                 {"en_GB", {595, 842}}, {"de_DE", {595, 842}}, {"C", {595, 842}}};
    const ExportScene routes = sceneOf(kScript, {-1, true});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const QLocale locale(qs(c.locale));
        const QString plan = dir.filePath(qs("plan.pdf")), part = dir.filePath(qs("part.pdf"));
        ASSERT_EQ(writePlanPdf(plan.toStdString(), routes, markers, locale), "");
        // Mar walks; SD stays on his station, a route of one spot.
        const QString idle = dir.filePath(qs("idle.pdf"));
        ASSERT_EQ(writePartPdf(part.toStdString(), routes, 0, locale), "");
        ASSERT_EQ(writePartPdf(idle.toStdString(), routes, 21, locale), "");
        for (const QString& path : {plan, part, idle}) {
            const PopplerReading pdf = readWithPoppler(path);
            EXPECT_EQ(pdf.pages, 1);
            EXPECT_NEAR(pdf.page.width(), c.paper.width(), 1);
            EXPECT_NEAR(pdf.page.height(), c.paper.height(), 1);
            EXPECT_EQ(pdf.complaints.toStdString(), "");
            EXPECT_EQ(pdf.images, 0);  // the labels' halos are outlines too
        }
    }
}

TEST(Paper, LcAllThenLcPaperChooseIt) {
    const struct {
        const char* all;
        const char* paper;
        QPageSize::PageSizeId expected;
    } cases[] = {{"", "en_US.UTF-8", QPageSize::Letter},
                 {"", "de_DE@euro", QPageSize::A4},
                 {"en_GB.UTF-8", "en_US.UTF-8", QPageSize::A4},
                 {"es_MX", "", QPageSize::Letter}};
    const QByteArray all = qgetenv("LC_ALL"), paper = qgetenv("LC_PAPER");
    for (const auto& c : cases) {
        qputenv("LC_ALL", c.all);
        qputenv("LC_PAPER", c.paper);
        EXPECT_EQ(localePaper().id(), c.expected) << c.all << " " << c.paper;
    }
    qputenv("LC_ALL", all);
    qputenv("LC_PAPER", paper);
}

TEST_F(ExportTest, PartSheetSpreadsOverItsPage) {
    const ExportScene scene = sceneOf(kScript, {});
    for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
        const QSizeF page = QPageSize(paper).size(QPageSize::Point);
        QImage image(page.toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPartSheet(painter, page, scene, 0, [] { FAIL() << "one page is enough"; });
        painter.end();
        // The plan's floor, beside the summary, spans most of the page.
        const QRgb floor = qRgb(kPlanFloor.r, kPlanFloor.g, kPlanFloor.b);
        QRect plan;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == floor) plan |= QRect(x, y, 1, 1);
        EXPECT_GT(plan.width(), page.width() * 0.58) << paper;
        EXPECT_GT(plan.height(), page.height() * 0.6) << paper;
    }
}

TEST_F(ExportTest, PlanPdfCarriesTheRoutesAndTheScriptOneEntryALine) {
    // More entries than one page holds; the plan sheet needs no run for them.
    std::string script;
    QStringList entries;
    for (int i = 0; i < 300; ++i) {
        const QString entry =
            i % 2 ? qs("All, Delay, %1.5").arg(i) : qs("Mar, XZTCEVU-%1, Now").arg(i);
        entries << entry;
        script += entry.toStdString() + (i % 3 ? ",  " : ",\r\n");
    }
    const QString path = dir.filePath(qs("script.pdf"));
    ASSERT_EQ(writePlanPdf(path.toStdString(), ExportScene({nullptr, {}, script, "Long", {}, 0}),
                           markers, QLocale(qs("de_DE"))),
              "");
    const PopplerReading pdf = readWithPoppler(path);
    EXPECT_EQ(pdf.pages, 2);
    EXPECT_EQ(pdf.complaints.toStdString(), "");
    QStringList found;
    for (const QString& line : pdf.text.split(u'\n'))
        for (const QString& cell :
             line.split(QRegularExpression(qs("\\s{3,}|\\f")), Qt::SkipEmptyParts))
            found << cell.trimmed();
    for (const QString& entry : entries) EXPECT_EQ(found.count(entry), 1) << entry.toStdString();

    // The page's painter, into a picture: Mar's red route is there only
    // when routes are drawn.
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Point);
    const auto redPixels = [&](const ExportScene& scene) {
        QImage page((a4 * 2).toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.scale(2, 2);
        int pages = 1;
        paintPlanSheet(painter, a4, scene, markers, [&] { ++pages; });
        painter.end();
        EXPECT_EQ(pages, 1);
        const QColor red = officerColour(0);
        int count = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor p = page.pixelColor(x, y);
                count += std::abs(p.red() - red.red()) + std::abs(p.green() - red.green()) +
                             std::abs(p.blue() - red.blue()) <
                         40;
            }
        return count;
    };
    EXPECT_GT(redPixels(sceneOf(kScript, {-1, true})), 100);
    EXPECT_EQ(redPixels(sceneOf(kScript, {})), 0);
}

TEST_F(ExportTest, SvgIsAllVectorsWithItsLabels) {
    const QString path = dir.filePath(qs("view.svg"));
    const ExportScene scene = sceneOf(kScript, {-1, true});
    ASSERT_EQ(writeSvg(path.toStdString(), scene, markers), "");
    const std::vector<Marker> shown = markersOf(scene.roomAt(scene.run().shown));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&file);
    int images = 0, haloes = 0;
    QStringList strokes;  // of the groups the reader is in
    QStringList texts;
    while (!svg.atEnd()) {
        svg.readNext();
        if (svg.isEndElement() && svg.name() == u"g") strokes.removeLast();
        if (!svg.isStartElement()) continue;
        if (svg.name() == u"g") strokes << svg.attributes().value(qs("stroke")).toString();
        images += svg.name() == u"image";
        // A halo is the letters' outline stroked white.
        haloes += svg.name() == u"path" && strokes.value(strokes.size() - 1) == u"#ffffff";
        if (svg.name() == u"text") texts << svg.readElementText();
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(images, 0);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(haloes, static_cast<int>(shown.size()));
    for (const Marker& m : shown) EXPECT_TRUE(texts.contains(m.label)) << m.label.toStdString();
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
