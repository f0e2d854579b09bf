#include "render/sheet_export.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

#include "engine/officer_part.h"
#include "engine/room_words.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"
#include "render/plan_picture.h"

namespace velistrad {

namespace {

QFont sheetFont(qreal pixels, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// The script as written, one entry a line ("Mar, XZTCEVU, Now"), each field
// on one line with single blanks.
QStringList entryLines(const std::string& script) {
    QStringList lines;
    for (const ScriptEntry& entry : splitScript(script)) {
        QStringList fields;
        for (const FieldSpan& span : entry.raw)
            fields << QString::fromStdString(
                oneLine(std::string_view(script).substr(span.start, span.end - span.start)));
        lines << fields.join(QStringLiteral(", "));
    }
    return lines;
}

QString speedWords(double frameDelay) {
    for (int i = 1; i <= 5; ++i)
        if (std::abs(speedFrameDelay(i) - frameDelay) < 1e-9)
            return QString::fromUtf8(speedName(i));
    return QStringLiteral("%1 s a frame").arg(frameDelay);
}

QString seconds(double s) {
    return QString::number(s, 'f', 1);
}

// Every sheet is a PDF in points (72 a page inch) without margins, whose
// pages `paint` fills through the painter and the writer's newPage.
std::string writePdf(const std::string& path, const QString& title, const QPageSize& pageSize,
                     const std::function<void(QPainter&, QPdfWriter&)>& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Velistrad Simulator"));
        pdf.setResolution(72);
        pdf.setPageSize(pageSize);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf)) return "the document could not be made";
        paint(painter, pdf);
        painter.end();
    }
    return replaceFileWith(path, bytes);
}

}  // namespace

QLocale paperLocale() {
    for (const char* variable : {"LC_ALL", "LC_PAPER"}) {
        // "en_US.UTF-8" or "de_DE@euro": the language and territory lead.
        const QString name = qEnvironmentVariable(variable).section(u'.', 0, 0).section(u'@', 0, 0);
        if (!name.isEmpty()) return QLocale(name);
    }
    return QLocale();
}

QPageSize localePaper(const QLocale& locale) {
    // Where Letter is the paper on sale; A4 everywhere else.
    static const QLocale::Territory letterTerritories[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,    QLocale::Belize,
        QLocale::Chile,        QLocale::Colombia,  QLocale::CostaRica, QLocale::ElSalvador,
        QLocale::Guatemala,    QLocale::Nicaragua, QLocale::Panama,    QLocale::Philippines,
        QLocale::PuertoRico,   QLocale::Venezuela};
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem ||
                        std::find(std::begin(letterTerritories), std::end(letterTerritories),
                                  locale.territory()) != std::end(letterTerritories);
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

void paintPlanSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene,
                    MarkerPainter& markers, const std::function<void()>& newPage) {
    const qreal margin = 36;
    const QRectF content(margin, margin, page.width() - 2 * margin, page.height() - 2 * margin);
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(sheetFont(14, true));
    painter.drawText(QRectF(content.left(), content.top(), content.width(), 20),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(scene.run().name));

    // The script's entries in columns as wide as the widest entry, read
    // down each column. A script of up to a quarter page stays under the
    // plan, which shrinks for it; a longer one goes on over further pages
    // and leaves the plan its full size.
    const QStringList lines = entryLines(scene.run().script);
    const QFont scriptFont = sheetFont(9);
    const QFontMetricsF metrics(scriptFont);
    const qreal lineHeight = metrics.lineSpacing();
    const qreal columnGap = 18;
    qreal widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal columnWidth = std::min(widest, content.width());
    const int columns =
        std::max(1, static_cast<int>((content.width() + columnGap) / (columnWidth + columnGap)));
    const int rowsNeeded = static_cast<int>((lines.size() + columns - 1) / columns);
    const int rowsOnFirstPage = static_cast<int>(content.height() / 4 / lineHeight);
    const int rowsBelowPlan = rowsNeeded <= rowsOnFirstPage ? rowsNeeded : 8;

    std::vector<int> officers = scene.trails().drawn();
    std::sort(officers.begin(), officers.end());  // in the officer table's order
    const qreal legendWidth = officers.empty() ? 0 : 72;
    const qreal legendGap = officers.empty() ? 0 : 16;
    const qreal planTop = content.top() + 28;
    const qreal planRoom =
        content.bottom() - planTop - (rowsBelowPlan > 0 ? rowsBelowPlan * lineHeight + 14 : 0);
    const qreal scale =
        std::min((content.width() - legendWidth - legendGap) / kPlanWidth, planRoom / kPlanHeight);
    const QSizeF planSize(kPlanWidth * scale, kPlanHeight * scale);
    const qreal left =
        content.left() + (content.width() - planSize.width() - legendGap - legendWidth) / 2;
    const QRectF plan(QPointF(left, planTop), planSize);
    painter.save();
    painter.translate(plan.topLeft());
    painter.scale(scale, scale);
    scene.paintView(painter, markers);
    painter.restore();

    if (!officers.empty()) {
        const QRectF legend(plan.right() + legendGap, plan.top(), legendWidth, plan.height());
        painter.setFont(sheetFont(10, true));
        painter.drawText(legend.topLeft() + QPointF(0, 10), QStringLiteral("Officers"));
        paintLegend(painter, legend.adjusted(0, 16, 0, 0), scene.run().room, officers, 14);
    }

    painter.setFont(scriptFont);
    qreal top = plan.bottom() + 14;
    for (qsizetype next = 0; next < lines.size();) {
        int rows = static_cast<int>((content.bottom() - top) / lineHeight);
        if (rows < 1) {
            newPage();
            top = content.top();
            continue;
        }
        // The last page's columns come out even.
        const qsizetype remaining = lines.size() - next;
        rows = static_cast<int>(std::min<qsizetype>(rows, (remaining + columns - 1) / columns));
        for (int c = 0; c < columns && next < lines.size(); ++c)
            for (int r = 0; r < rows && next < lines.size(); ++r, ++next) {
                const QPointF at(content.left() + c * (columnWidth + columnGap),
                                 top + r * lineHeight + metrics.ascent());
                painter.drawText(at, metrics.elidedText(lines[next], Qt::ElideRight, columnWidth));
            }
        top = content.bottom();  // whatever is left goes on the next page
    }
    painter.restore();
}

std::string writePlanPdf(const std::string& path, const ExportScene& scene, MarkerPainter& markers,
                         const QLocale& locale) {
    return writePdf(path, QString::fromStdString(scene.run().name), localePaper(locale),
                    [&](QPainter& painter, QPdfWriter& pdf) {
                        paintPlanSheet(painter, QSizeF(pdf.width(), pdf.height()), scene, markers,
                                       [&pdf] { pdf.newPage(); });
                    });
}

void paintPartSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene, int officer,
                    const std::function<void()>& newPage) {
    const ExportRun& run = scene.run();
    const std::vector<PartStep> part =
        run.played ? officerPart(*run.played, run.script, officer, run.frameDelay)
                   : std::vector<PartStep>();
    const QString who = QString::fromStdString(officerTitle(officer));
    const qreal margin = 36;
    painter.save();
    painter.setFont(sheetFont(16, true));
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(margin, 24, page.width() - 2 * margin, 24), Qt::AlignLeft,
        QStringLiteral("%1's part \u2014 %2").arg(who, QString::fromStdString(run.name)));

    // His steps' rows, as high as their wrapped texts.
    const QFont font = sheetFont(10);
    const QFontMetricsF metrics(font);
    const qreal rowGap = 5;
    const qreal timeWidth = metrics.horizontalAdvance(QStringLiteral("0000.0 \u2013 0000.0 s")) + 8;
    const qreal numberWidth = metrics.horizontalAdvance(QStringLiteral("000.")) + 6;
    const qreal textLeft = margin + numberWidth + timeWidth;
    const qreal textWidth = page.width() - margin - textLeft;
    std::vector<QString> texts;
    std::vector<qreal> heights;
    qreal stepsHeight = 0;
    for (const PartStep& step : part) {
        texts.push_back(QString::fromStdString(step.text) + QStringLiteral("\n") +
                        QString::fromStdString(step.reading));
        heights.push_back(
            metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, texts.back())
                .height());
        stepsHeight += heights.back() + rowGap;
    }

    // His whole route, walked from end to end, on the empty plan: as wide as
    // the page allows beside the summary, and leaving the steps room below
    // up to a third of the page (the rest go on).
    const qreal sideWidth = 150, sideGap = 16, planTop = 56;
    const qreal stepsRoom = std::min(stepsHeight + 20, (page.height() - 2 * margin) / 3);
    const qreal scale = std::min((page.width() - 2 * margin - sideWidth - sideGap) / kPlanWidth,
                                 (page.height() - margin - planTop - stepsRoom) / kPlanHeight);
    const QRectF plan(margin, planTop, kPlanWidth * scale, kPlanHeight * scale);
    painter.save();
    painter.translate(plan.topLeft());
    painter.scale(scale, scale);
    paintPlan(painter, run.room);
    if (run.played) {
        const ChapterRoom end = scene.roomAt(run.played->size());
        TrailScene(officerTrails(*run.played), {officer, false})
            .paintRoutes(painter, end, run.played->size());
    }
    painter.restore();

    const double total = run.played ? run.played->timeAt(run.played->size(), run.frameDelay) : 0;
    QString summary =
        QStringLiteral("%1 %2 of the script %3 him.")
            .arg(part.size())
            .arg(part.size() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"))
            .arg(part.size() == 1 ? QStringLiteral("moves") : QStringLiteral("move"));
    if (!part.empty()) {
        summary += QStringLiteral("\n\nHe walks from %1 s to %2 s.")
                       .arg(seconds(part.front().start), seconds(part.back().end));
    }
    summary += QStringLiteral("\n\nThe whole run takes %1 s at %2.")
                   .arg(seconds(total), speedWords(run.frameDelay));
    painter.setFont(sheetFont(11));
    const QRectF side(plan.right() + sideGap, plan.top(),
                      page.width() - plan.right() - sideGap - margin, plan.height());
    painter.drawText(side, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, summary);

    // His steps, carried on to further pages.
    qreal y = plan.bottom() + 20;
    painter.setFont(font);
    for (std::size_t i = 0; i < part.size(); ++i) {
        const PartStep& step = part[i];
        const QRectF needed(0, 0, textWidth, heights[i]);
        if (y + needed.height() > page.height() - margin && y > margin + 1) {
            newPage();
            y = margin;
        }
        painter.drawText(QRectF(margin, y, numberWidth, needed.height()), Qt::AlignLeft,
                         QStringLiteral("%1.").arg(i + 1));
        painter.drawText(
            QRectF(margin + numberWidth, y, timeWidth, needed.height()), Qt::AlignLeft,
            QStringLiteral("%1 \u2013 %2 s").arg(seconds(step.start), seconds(step.end)));
        painter.drawText(QRectF(textLeft, y, textWidth, needed.height()),
                         Qt::TextWordWrap | Qt::AlignLeft, texts[i]);
        y += needed.height() + rowGap;
    }
    painter.restore();
}

std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer,
                         const QLocale& locale) {
    const QString who = QString::fromStdString(officerTitle(officer));
    const QString title =
        QStringLiteral("%1's part in %2").arg(who, QString::fromStdString(scene.run().name));
    return writePdf(path, title, localePaper(locale), [&](QPainter& painter, QPdfWriter& pdf) {
        paintPartSheet(painter, QSizeF(pdf.width(), pdf.height()), scene, officer,
                       [&pdf] { pdf.newPage(); });
    });
}

}  // namespace velistrad
