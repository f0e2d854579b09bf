// The officers' markers, painted the same way on the screen and into any
// other QPainter (an image, a PDF, an SVG), so the two cannot drift apart.
//
// A marker is a white disc with a black outline, centred 85 twips right of
// and 75 twips below the officer's position, radius 150 twips, and his label
// with its upper left corner at the position. Painter coordinates are plan
// pixels (15 twips each); scale the painter for other sizes.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <QString>

#include <vector>

#include "render/plan_picture.h"

class QPainter;

namespace velistrad {

// Where the circle of an officer standing at (x, y) twips is centred, in plan
// pixels; the plan centres each feature there, so a marker covers it.
inline QPointF markerCentre(double x, double y) {
    const PlanPoint spot = planSpot(x, y);
    return {spot.x, spot.y};
}

struct Marker {
    int officer;
    QString label;
    QPointF position;  // twips

    bool operator==(const Marker&) const = default;
};

class MarkerPainter {
public:
    MarkerPainter();

    // Circles first, then the labels with their halos, later markers over
    // earlier ones.
    void paint(QPainter& painter, const std::vector<Marker>& markers);
    // The plan pixels a marker may touch: circle, label and halo.
    QRectF bounds(const Marker& marker) const;
    const QFont& font() const { return m_font; }

private:
    struct Label {
        QStaticText text;      // laid out once
        QPainterPath letters;  // the glyph outlines, baseline at 0
        QRectF outline;        // around the letters' halo, baseline at 0
        QPixmap halo;          // at the pixel ratio it was drawn for; null until needed
        QPointF haloOffset;
        QRectF bounds;  // from the label's upper left corner, halo included
    };
    Label& label(const QString& text);
    const QPixmap& halo(Label& label, qreal dpr);
    // The circle drawn into a picture for where its centre falls within a
    // device pixel (to a sixteenth) at the given scale of plan pixels.
    const QImage& disc(int fractionX, int fractionY, qreal scale);

    QFont m_font;
    qreal m_ascent;
    QHash<QString, Label> m_labels;
    QHash<int, QImage> m_discs;  // by fraction, for m_discScale
    qreal m_discScale = 0;
};

class ChapterRoom;

// The plan with the markers on it, as the plan widget shows it, into an
// image of the plan's size at the given pixel ratio: for export, and to
// prove that screen and export draw alike.
QImage renderScene(const ChapterRoom& room, MarkerPainter& markers,
                   const std::vector<Marker>& shown, qreal devicePixelRatio = 1.0);

}  // namespace velistrad
