#include "app/qt_platform.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include "app/plan_picture.h"

namespace velistrad {

namespace {

constexpr int kBorder = 2;

}  // namespace

PlanView::PlanView(const ChapterRoom& room, QWidget* parent) : QFrame(parent), m_room(room) {
    setObjectName(QStringLiteral("Figure1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFixedSize(kPlanWidth + 2 * kBorder, kPlanHeight + 2 * kBorder);
    // Every pixel is painted by paintEvent: Qt need not clear the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlanView::clear() {
    m_drawing.clear();
}

void PlanView::drawOfficer(const OfficerMarker& m) {
    m_drawing.push_back({m.officer,
                         QString::fromUtf8(m.label.data(), static_cast<qsizetype>(m.label.size())),
                         QPointF(m.x, m.y)});
}

void PlanView::present() {
    // Markers that stay as they were need no painting; a marker that
    // changed is painted away where it was and anew where it is. Markers
    // overlapping a changed one are repainted in their order by paintEvent.
    QRegion changed;
    auto unchanged = [](const std::vector<Marker>& in, const Marker& m) {
        return std::find(in.begin(), in.end(), m) != in.end();
    };
    for (const Marker& m : m_shown)
        if (!unchanged(m_drawing, m)) changed += m_painter.bounds(m).toAlignedRect();
    m_shown.swap(m_drawing);
    for (const Marker& m : m_shown)
        if (!unchanged(m_drawing, m)) changed += m_painter.bounds(m).toAlignedRect();
    m_drawing.clear();
    if (m_overlay) {
        repaint();
    } else if (!changed.isEmpty()) {
        repaint(changed.translated(kBorder, kBorder));
    }
}

void PlanView::setOverlay(PlanOverlay* overlay) {
    m_overlay = overlay;
    update();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position() - QPointF(kBorder, kBorder));
    QFrame::mousePressEvent(event);
}

void PlanView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    const qreal dpr = devicePixelRatioF();
    if (m_plan.isNull() || m_plan.devicePixelRatio() != dpr)
        m_plan = QPixmap::fromImage(renderPlan(m_room, dpr));

    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.translate(kBorder, kBorder);
    painter.drawPixmap(0, 0, m_plan);  // the clip keeps this to what changed
    if (m_overlay) m_overlay->paintUnder(painter);
    m_painter.paint(painter, m_shown);
    if (m_overlay) m_overlay->paintOver(painter);
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
