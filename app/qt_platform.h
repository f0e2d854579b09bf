// The engine's platform interfaces on Qt: the plan widget `Figure1` that the
// officers are drawn on, a monotonic clock and the event pump of playback's
// waits.
//
// Units: the engine speaks twips; the plan is 482 x 696 logical pixels at
// 15 twips per pixel, drawn inside a 2-pixel sunken border.
#pragma once

#include <vector>

#include <QElapsedTimer>
#include <QFont>
#include <QFrame>
#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QString>

#include "engine/platform.h"

namespace velistrad {

class ChapterRoom;

class PlanView : public QFrame, public DrawingSurface {
    Q_OBJECT

public:
    explicit PlanView(const ChapterRoom& room, QWidget* parent = nullptr);

    void clear() override;
    void circle(float centreX, float centreY, float radius) override;
    void text(float x, float y, std::string_view text) override;
    // Paints at once: playback waits inside nested event handling, where a
    // queued update might not be painted before the next frame replaces it.
    void present() override;

    // What is drawn now, in twips, for tests and for painting.
    struct Circle {
        QPointF centre;
        float radius;
    };
    struct Label {
        QPointF topLeft;
        QString text;
    };
    const std::vector<Circle>& circles() const { return m_circles; }
    const std::vector<Label>& labels() const { return m_labels; }
    const QFont& labelFont() const { return m_labelfont; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ChapterRoom& m_room;
    QFont m_labelfont;
    QPixmap m_plan;  // rendered for the current device pixel ratio
    std::vector<Circle> m_circles;
    std::vector<Label> m_labels;
    struct LabelHalo {
        QPixmap pixmap;
        QPointF offset;  // of its top left from the label's baseline origin
    };
    const LabelHalo& labelHalo(const QString& text, qreal dpr);
    QHash<QString, LabelHalo> m_halos;
};

class QtClock : public Clock {
public:
    QtClock() { m_timer.start(); }
    double now() override { return static_cast<double>(m_timer.nsecsElapsed()) * 1e-9; }

private:
    QElapsedTimer m_timer;
};

// One pass over pending events, then a sleep until the deadline or the next
// event, whichever comes first; never a busy loop.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(Clock& clock) : m_clock(clock) {}
    void processEvents(double deadline) override;

private:
    Clock& m_clock;
};

}  // namespace velistrad
