#include "app/qt_platform.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include "app/plan_picture.h"

namespace velistrad {

namespace {

// The label font is 12 pixels from the top of its tallest letter to the
// bottom of its lowest, so pick the largest size whose line fits in 12.
QFont makeLabelFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setWeight(QFont::Normal);
    for (int size = 12; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).height() <= 12.5) break;
    }
    return font;
}

constexpr int kBorder = 2;
const QColor kMarkerFill(255, 255, 255);

}  // namespace

PlanView::PlanView(const ChapterRoom& room, QWidget* parent)
    : QFrame(parent), m_room(room), m_labelfont(makeLabelFont()) {
    setObjectName(QStringLiteral("Figure1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFixedSize(kPlanWidth + 2 * kBorder, kPlanHeight + 2 * kBorder);
}

void PlanView::clear() {
    m_circles.clear();
    m_labels.clear();
}

void PlanView::circle(float centreX, float centreY, float radius) {
    m_circles.push_back({QPointF(centreX, centreY), radius});
}

void PlanView::text(float x, float y, std::string_view text) {
    m_labels.push_back(
        {QPointF(x, y), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))});
}

void PlanView::present() {
    repaint();
}

// Stroking a glyph outline costs more than the rest of a frame, so each
// label's halo is drawn once and then only copied.
const PlanView::LabelHalo& PlanView::labelHalo(const QString& text, qreal dpr) {
    if (m_halos.isEmpty() || m_halos.cbegin()->pixmap.devicePixelRatio() != dpr) m_halos.clear();
    auto found = m_halos.find(text);
    if (found != m_halos.end()) return *found;
    constexpr qreal kWidth = 2.5;
    QPainterPath path;
    path.addText(0, 0, m_labelfont, text);
    const QRectF bounds = path.boundingRect().adjusted(-kWidth, -kWidth, kWidth, kWidth);
    QPixmap pixmap((bounds.size() * dpr).toSize() + QSize(1, 1));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-bounds.topLeft());
    painter.strokePath(path, QPen(kMarkerFill, kWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.end();
    return *m_halos.insert(text, {pixmap, bounds.topLeft()});
}

void PlanView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    const qreal dpr = devicePixelRatioF();
    if (m_plan.isNull() || m_plan.devicePixelRatio() != dpr)
        m_plan = QPixmap::fromImage(renderPlan(m_room, dpr));

    QPainter painter(this);
    painter.translate(kBorder, kBorder);
    painter.drawPixmap(0, 0, m_plan);

    // A marker is a token: a filled circle hides the plan's lines under it.
    // All circles go down before any label, and each label has a halo of the
    // same white, so a label that runs past its circle's outline, or over a
    // neighbour's circle, stays whole and readable; later markers still lie
    // over earlier ones, circle over circle and label over label.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kMarkerFill);
    for (const Circle& c : m_circles) {
        const double r = c.radius / kTwipsPerPixel;
        painter.drawEllipse(c.centre / kTwipsPerPixel, r, r);
    }
    painter.setFont(m_labelfont);
    const qreal ascent = QFontMetricsF(m_labelfont).ascent();
    auto baseline = [ascent](const Label& l) {
        return l.topLeft / kTwipsPerPixel + QPointF(0, ascent);
    };
    // Halos first, so that no halo covers a neighbour's letters.
    for (const Label& l : m_labels) {
        const LabelHalo& h = labelHalo(l.text, dpr);
        painter.drawPixmap(baseline(l) + h.offset, h.pixmap);
    }
    for (const Label& l : m_labels) painter.drawText(baseline(l), l.text);
}

void QtEventPump::processEvents(double deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double remaining = deadline - m_clock.now();
    if (!(remaining > 0)) return;
    // The timer only wakes the wait; an infinite deadline waits for events.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    if (std::isfinite(remaining)) {
        // Rounded up so the wait never ends early; capped, the caller waits again.
        const double ms = std::min(std::ceil(remaining * 1000.0), 3600.0 * 1000.0);
        wake.start(std::chrono::milliseconds(static_cast<long long>(ms)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace velistrad
