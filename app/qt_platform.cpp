#include "app/qt_platform.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
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

void PlanView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    const qreal dpr = devicePixelRatioF();
    if (m_plan.isNull() || m_plan.devicePixelRatio() != dpr)
        m_plan = QPixmap::fromImage(renderPlan(m_room, dpr));

    QPainter painter(this);
    painter.translate(kBorder, kBorder);
    painter.drawPixmap(0, 0, m_plan);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    for (const Circle& c : m_circles) {
        const double r = c.radius / kTwipsPerPixel;
        painter.drawEllipse(c.centre / kTwipsPerPixel, r, r);
    }
    painter.setFont(m_labelfont);
    const qreal ascent = QFontMetricsF(m_labelfont).ascent();
    for (const Label& l : m_labels)
        painter.drawText(l.topLeft / kTwipsPerPixel + QPointF(0, ascent), l.text);
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
