#include "app/plan_view.h"

#include <algorithm>
#include <cmath>

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include "render/plan_picture.h"

namespace velistrad {

namespace {

constexpr int kBorder = 2;

}  // namespace

PlanView::PlanView(const ChapterRoom& room, QWidget* parent) : QFrame(parent), m_room(room) {
    setObjectName(QStringLiteral("Figure1"));
    // The border goes round the scaled plan, not round the widget.
    setFrameStyle(QFrame::NoFrame);
    setMinimumSize(kPlanWidth / 3 + 2 * kBorder, kPlanHeight / 3 + 2 * kBorder);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resize(sizeHint());  // scale 1 until a layout says otherwise
    // Every pixel is painted by paintEvent: Qt need not clear the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PlanView::sizeHint() const {
    return {kPlanWidth + 2 * kBorder, kPlanHeight + 2 * kBorder};
}

QRectF PlanView::planRect() const {
    const qreal scale =
        std::min((width() - 2.0 * kBorder) / kPlanWidth, (height() - 2.0 * kBorder) / kPlanHeight);
    const QSizeF size(kPlanWidth * scale, kPlanHeight * scale);
    // Whole pixels, so that at scale 1 the plan lies exactly where it always did.
    const QPointF corner(std::floor((width() - size.width()) / 2),
                         std::floor((height() - size.height()) / 2));
    return {corner, size};
}

QTransform PlanView::planTransform() const {
    const QRectF plan = planRect();
    const qreal scale = plan.width() / kPlanWidth;
    return QTransform::fromTranslate(plan.left(), plan.top()).scale(scale, scale);
}

void PlanView::setPreview(Preview preview) {
    const bool had = static_cast<bool>(m_preview);
    m_preview = std::move(preview);
    if (had || m_preview) update();
}

void PlanView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    m_plan = QPixmap();  // drawn anew, in vectors, at the new scale
}

void PlanView::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    update();
}

void PlanView::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
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
        const std::optional<QRectF> area = m_overlay->changedArea();
        if (!area) {
            repaint();
            return;
        }
        // Its lines are antialiased: a pixel more each way.
        if (!area->isEmpty()) changed += area->toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    if (changed.isEmpty()) return;
    const QTransform toWidget = planTransform();
    QRegion onWidget;
    for (const QRect& r : changed) onWidget += toWidget.mapRect(QRectF(r)).toAlignedRect();
    repaint(onWidget);
}

void PlanView::setOverlay(PlanOverlay* overlay) {
    m_overlay = overlay;
    update();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(planTransform().inverted().map(event->position()));
    QFrame::mousePressEvent(event);
}

void PlanView::paintEvent(QPaintEvent* event) {
    const QRectF plan = planRect();
    const qreal dpr = devicePixelRatioF() * plan.width() / kPlanWidth;
    if (m_plan.isNull() || m_plan.devicePixelRatio() != dpr)
        m_plan = QPixmap::fromImage(renderPlan(m_room, dpr));

    QPainter painter(this);
    painter.setClipRegion(event->region());
    const QRect framed = plan.toAlignedRect().adjusted(-kBorder, -kBorder, kBorder, kBorder);
    // A frame of a run repaints inside the plan only; its surroundings and
    // border are painted when a repaint reaches them.
    const QRect inside = framed.adjusted(2 * kBorder, 2 * kBorder, -2 * kBorder, -2 * kBorder);
    if (!inside.contains(event->region().boundingRect())) {
        // Around the plan where the widget's shape differs from the plan's.
        painter.fillRect(rect(), palette().window());
        qDrawShadePanel(&painter, framed, palette(), true, kBorder);
        // The Playback keys act here: the user sees where they will go.
        if (hasFocus()) {
            painter.setPen(
                QPen(palette().highlight(), kBorder, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.drawRect(QRectF(framed).adjusted(1, 1, -1, -1));
        }
    }
    // The plan is copied patch by patch, only where it is repainted: Qt
    // splits a copy the size of the plan among worker threads whatever the
    // clip, and waking them costs more than a frame's patches.
    const qreal ratio = devicePixelRatioF();
    const QRect onPlan = plan.toAlignedRect();
    for (const QRect& r : event->region()) {
        const QRect patch = r & onPlan;
        if (patch.isEmpty()) continue;
        painter.drawPixmap(QRectF(patch), m_plan,
                           QRectF(QPointF(patch.topLeft() - plan.topLeft()) * ratio,
                                  QSizeF(patch.size()) * ratio));
    }
    painter.setTransform(planTransform());
    if (m_overlay) m_overlay->paintUnder(painter);
    if (m_preview) m_preview(painter);
    // Only the markers that reach into what is repainted: the others would
    // be clipped away whole, and painting them is most of a frame's work.
    std::vector<Marker> touched;
    const QRegion& region = event->region();
    const QTransform toWidget = planTransform();
    for (const Marker& m : m_shown)
        if (region.intersects(toWidget.mapRect(m_painter.bounds(m)).toAlignedRect()))
            touched.push_back(m);
    m_painter.paint(painter, touched);
    if (m_overlay) m_overlay->paintOver(painter);
}

}  // namespace velistrad
