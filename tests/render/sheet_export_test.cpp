// The sheets read back: the plan PDF one page of the plan's shape with the
// routes on it, and the part sheet on A4 pages, as many as its steps need.
#include "render/sheet_export.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>

#include "render/plan_picture.h"
#include "tests/render/export_fixture.h"

namespace velistrad {
namespace {

// The pages of a PDF file and the size of its first, in points.
struct PdfPages {
    int count = 0;
    QSizeF size;
};

PdfPages pagesOf(const QString& path) {
    const QString pdf = QString::fromLatin1(fileBytes(path.toStdString()));
    PdfPages pages;
    pages.count = static_cast<int>(pdf.count(QRegularExpression(qs("/Type\\s*/Page\\b"))));
    const auto box =
        QRegularExpression(qs("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)")).match(pdf);
    if (box.hasMatch()) pages.size = {box.captured(1).toDouble(), box.captured(2).toDouble()};
    return pages;
}

TEST_F(ExportTest, PlanPdfIsOnePageOfThePlansShapeCarryingTheRoutes) {
    const QString path = dir.filePath(qs("plan.pdf"));
    const ExportScene routes = sceneOf(kScript, {-1, true});
    ASSERT_EQ(writePlanPdf(path.toStdString(), routes, markers), "");
    const PdfPages pages = pagesOf(path);
    EXPECT_EQ(pages.count, 1);
    EXPECT_NEAR(pages.size.width(), kPlanWidth, 0.5);
    EXPECT_NEAR(pages.size.height(), kPlanHeight, 0.5);

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
                const QColor p = page.pixelColor(x, y);
                count += std::abs(p.red() - red.red()) + std::abs(p.green() - red.green()) +
                             std::abs(p.blue() - red.blue()) <
                         40;
            }
        return count;
    };
    EXPECT_GT(redPixels(routes), 100);
    EXPECT_EQ(redPixels(sceneOf(kScript, {})), 0);
}

TEST_F(ExportTest, PartSheetIsA4PagesAsManyAsHisStepsNeed) {
    // Mar walks out and back `walks` times; SC never moves.
    const auto script = [](int walks) {
        std::string text;
        for (int i = 0; i < walks; ++i) text += "Mar, XZTCEVU, After, Mar, UZX, After, ";
        return text + "All, Delay, 0.5";
    };
    struct Case {
        int walks;
        int officer;
        int pages;  // 0: more than one
    };
    for (const Case& c : {Case{1, 0, 1}, Case{1, 3, 1}, Case{40, 0, 0}}) {
        SCOPED_TRACE(c.walks);
        const ExportScene scene = sceneOf(script(c.walks), {});
        const QString path = dir.filePath(qs("part.pdf"));
        ASSERT_EQ(writePartPdf(path.toStdString(), scene, c.officer), "");
        const PdfPages pages = pagesOf(path);
        EXPECT_NEAR(pages.size.width(), 595.3, 0.5);  // A4 in points
        EXPECT_NEAR(pages.size.height(), 841.9, 0.5);
        if (c.pages > 0)
            EXPECT_EQ(pages.count, c.pages);
        else
            EXPECT_GT(pages.count, 1);

        // The painter asks for a page where the steps go on: the file has
        // one more page than it was asked for.
        QImage page(595, 842, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        int asked = 0;
        paintPartSheet(painter, QSizeF(595.3, 841.9), scene, c.officer, [&] { ++asked; });
        painter.end();
        EXPECT_EQ(asked + 1, pages.count);
    }
}

}  // namespace
}  // namespace velistrad
