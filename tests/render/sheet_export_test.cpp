// The sheets read back: both PDFs on the paper of the locale, read by poppler
// without a complaint; the plan with its routes and the script one entry a
// line; the part sheet over its page, on as many pages as its steps need.
#include "render/sheet_export.h"

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QProcess>
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

}  // namespace
}  // namespace velistrad
