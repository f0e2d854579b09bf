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

// `text` wrapped into `box` in the largest size from `largest` down that
// fits; what still does not fit is cut.
void drawFitted(QPainter& painter, const QRectF& box, const QString& text, qreal largest) {
    qreal size = largest;
    for (; size > 4; size -= 0.5) {
        const QRectF needed = QFontMetricsF(sheetFont(size))
                                  .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft, text);
        if (needed.height() <= box.height()) break;
    }
    painter.setFont(sheetFont(size));
    painter.setPen(Qt::black);
    painter.save();
    painter.setClipRect(box);
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
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

void paintPlanSheet(QPainter& painter, const ExportScene& scene, MarkerPainter& markers) {
    const qreal margin = 10;
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(sheetFont(13, true));
    painter.drawText(QRectF(margin, 4, kPlanWidth - 2 * margin, 20),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(scene.run().name));

    const qreal scale = 0.74;
    const QRectF plan(margin, 28, kPlanWidth * scale, kPlanHeight * scale);
    painter.save();
    painter.translate(plan.topLeft());
    painter.scale(scale, scale);
    scene.paintView(painter, markers);
    painter.restore();

    const QRectF legend(plan.right() + 10, plan.top(), kPlanWidth - plan.right() - 10 - margin,
                        plan.height());
    std::vector<int> officers = scene.trails().drawn();
    std::sort(officers.begin(), officers.end());  // in the officer table's order
    if (!officers.empty()) {
        painter.setFont(sheetFont(9, true));
        painter.drawText(legend.topLeft() + QPointF(0, 9), QStringLiteral("Officers"));
        paintLegend(painter, legend.adjusted(0, 14, 0, 0), scene.run().room, officers, 14);
    }

    const QRectF text(margin, plan.bottom() + 8, kPlanWidth - 2 * margin,
                      kPlanHeight - plan.bottom() - 8 - margin);
    drawFitted(painter, text, QString::fromStdString(oneLine(scene.run().script)), 8);
    painter.restore();
}

std::string writePlanPdf(const std::string& path, const ExportScene& scene,
                         MarkerPainter& markers) {
    // A page of the plan's own shape.
    const QPageSize page(QSizeF(kPlanWidth, kPlanHeight), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    return writePdf(
        path, QString::fromStdString(scene.run().name), page,
        [&](QPainter& painter, QPdfWriter&) { paintPlanSheet(painter, scene, markers); });
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

    // His whole route, walked from end to end, on the empty plan.
    const qreal scale = 0.62;
    const QRectF plan(margin, 56, kPlanWidth * scale, kPlanHeight * scale);
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
    const QRectF side(plan.right() + 16, plan.top(), page.width() - plan.right() - 16 - margin,
                      plan.height());
    painter.drawText(side, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, summary);

    // His steps, carried on to further pages.
    const QFont font = sheetFont(10);
    const QFontMetricsF metrics(font);
    const qreal rowGap = 5;
    qreal y = plan.bottom() + 20;
    const qreal timeWidth = metrics.horizontalAdvance(QStringLiteral("0000.0 \u2013 0000.0 s")) + 8;
    const qreal numberWidth = metrics.horizontalAdvance(QStringLiteral("000.")) + 6;
    const qreal textLeft = margin + numberWidth + timeWidth;
    const qreal textWidth = page.width() - margin - textLeft;
    painter.setFont(font);
    for (std::size_t i = 0; i < part.size(); ++i) {
        const PartStep& step = part[i];
        const QString text = QString::fromStdString(step.text) + QStringLiteral("\n") +
                             QString::fromStdString(step.reading);
        const QRectF needed =
            metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, text);
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
                         Qt::TextWordWrap | Qt::AlignLeft, text);
        y += needed.height() + rowGap;
    }
    painter.restore();
}

std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer) {
    const QString who = QString::fromStdString(officerTitle(officer));
    const QString title =
        QStringLiteral("%1's part in %2").arg(who, QString::fromStdString(scene.run().name));
    return writePdf(path, title, QPageSize(QPageSize::A4), [&](QPainter& painter, QPdfWriter& pdf) {
        paintPartSheet(painter, QSizeF(pdf.width(), pdf.height()), scene, officer,
                       [&pdf] { pdf.newPage(); });
    });
}

}  // namespace velistrad
