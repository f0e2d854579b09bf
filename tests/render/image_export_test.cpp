// The view as pictures read back: the PNG the screen's pixels at the run's
// moment, the SVG a well-formed drawing of the plan's size, titled with the
// simulation's name, carrying the followed officer's route in his colour.
#include "render/image_export.h"

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>

#include "render/plan_picture.h"
#include "tests/render/export_fixture.h"

namespace velistrad {
namespace {

TEST_F(ExportTest, PngHoldsThePicturesPixelsAtTheRunsMoment) {
    for (const TrailOptions options : {TrailOptions{}, TrailOptions{0, false}}) {
        const ExportScene scene = sceneOf(kScript, options);
        const QString path = dir.filePath(qs("view.png"));
        ASSERT_EQ(writePng(path.toStdString(), scene, markers), "");
        const QImage read(path);
        ASSERT_EQ(read.size(), QSize(kPlanWidth, kPlanHeight));
        EXPECT_TRUE(read.convertToFormat(QImage::Format_RGB32) ==
                    scene.frame(scene.run().shown, markers).convertToFormat(QImage::Format_RGB32));
    }
}

struct SvgSummary {
    QString viewBox;
    QString title;
    int paths = 0;
    int inColour = 0;  // elements stroked in Mar's colour
    bool wellFormed = false;
};

SvgSummary readSvg(const QString& path) {
    QFile file(path);
    SvgSummary s;
    if (!file.open(QIODevice::ReadOnly)) return s;
    QXmlStreamReader xml(&file);
    const QString mar = officerColour(0).name();
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto name = xml.name();
        if (name == QLatin1String("svg"))
            s.viewBox = xml.attributes().value(qs("viewBox")).toString();
        if (name == QLatin1String("title")) s.title = xml.readElementText();
        if (name == QLatin1String("path")) ++s.paths;
        // The generator sets the stroke on the group that holds the shapes.
        if (xml.attributes().value(qs("stroke")).toString().compare(mar, Qt::CaseInsensitive) == 0)
            ++s.inColour;
    }
    s.wellFormed = !xml.hasError();
    return s;
}

TEST_F(ExportTest, SvgIsTheTitledPlanWithTheFollowedRouteInHisColour) {
    const QString path = dir.filePath(qs("view.svg"));
    ASSERT_EQ(writeSvg(path.toStdString(), sceneOf(kScript, {0, false}), markers), "");
    const SvgSummary followed = readSvg(path);
    EXPECT_TRUE(followed.wellFormed);
    EXPECT_EQ(followed.viewBox, qs("0 0 482 696"));
    EXPECT_EQ(followed.title, qs("Test run"));
    EXPECT_GT(followed.paths, 0);
    EXPECT_GT(followed.inColour, 0);

    ASSERT_EQ(writeSvg(path.toStdString(), sceneOf(kScript, {}), markers), "");
    const SvgSummary plain = readSvg(path);
    EXPECT_TRUE(plain.wellFormed);
    EXPECT_EQ(plain.inColour, 0);
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

}  // namespace
}  // namespace velistrad
