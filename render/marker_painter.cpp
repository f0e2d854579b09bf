#include "render/marker_painter.h"

#include <cmath>
#include <utility>

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "render/plan_picture.h"

namespace velistrad {

namespace {

const QColor kMarkerFill(255, 255, 255);
constexpr qreal kHaloWidth = 2.5;

QPen haloPen() {
    return QPen(kMarkerFill, kHaloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Pixmaps suit devices made of pixels; a PDF, an SVG or a recording gets the
// outlines themselves, so that it stays sharp at any zoom.
bool drawsPixels(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine &&
           (engine->type() == QPaintEngine::Raster || engine->type() == QPaintEngine::OpenGL2);
}

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

QPointF pixels(QPointF twips) {
    return twips / kTwipsPerPixel;
}

constexpr double kRadius = kMarkerRadius / kTwipsPerPixel;  // plan pixels
// A circle's picture is drawn for its centre's place within a pixel, to a
// sixteenth: at most a thirty-second of a pixel from where it belongs.
constexpr int kDiscFractions = 16;

// Device pixels from the centre's pixel to the picture's edge: the radius,
// half the outline and a pixel of antialiasing.
int discMargin(qreal scale) {
    return static_cast<int>(std::ceil((kRadius + 1) * scale)) + 1;
}

// A device coordinate as the whole pixel it lies in and its sixteenths
// within it, rounded: 0 to 15.
std::pair<int, int> pixelAndFraction(qreal at) {
    const auto sixteenths = static_cast<int>(std::lround(at * kDiscFractions));
    const int pixel =
        static_cast<int>(std::floor(static_cast<double>(sixteenths) / kDiscFractions));
    return {pixel, sixteenths - pixel * kDiscFractions};
}

// Where a picture's corner goes, moved onto a whole device pixel. Qt copies a
// picture to the nearest pixel when the clip is one rectangle but samples it
// between pixels when the clip is several: a frame that repaints a few
// patches would draw a label's halo a pixel off from a whole repaint.
QPointF onDevicePixel(const QTransform& world, qreal deviceRatio, QPointF at) {
    const QPointF device = world.map(at) * deviceRatio;
    const QPointF whole(std::floor(device.x() + 0.5), std::floor(device.y() + 0.5));
    return world.inverted().map(whole / deviceRatio);
}

// The white disc with its black outline, the same into a picture or straight
// onto any device.
void drawCircle(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kMarkerFill);
    painter.drawEllipse(centre, kRadius, kRadius);
}

}  // namespace

MarkerPainter::MarkerPainter()
    : m_font(makeLabelFont()), m_ascent(QFontMetricsF(m_font).ascent()) {}

MarkerPainter::Label& MarkerPainter::label(const QString& text) {
    auto found = m_labels.find(text);
    if (found != m_labels.end()) return *found;
    Label made;
    made.letters.addText(0, 0, m_font, text);
    made.outline =
        made.letters.boundingRect().adjusted(-kHaloWidth, -kHaloWidth, kHaloWidth, kHaloWidth);
    made.text = QStaticText(text);
    made.text.prepare(QTransform(), m_font);
    made.text.setPerformanceHint(QStaticText::AggressiveCaching);
    made.haloOffset = made.outline.topLeft() + QPointF(0, m_ascent);
    const QFontMetricsF metrics(m_font);
    made.bounds = QRectF(made.haloOffset, made.outline.size())
                      .united(QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height()));
    return *m_labels.insert(text, made);
}

// Stroking a glyph outline costs more than the rest of a frame, so on the
// screen each label's halo is drawn once and then only copied.
const QPixmap& MarkerPainter::halo(Label& label, qreal dpr) {
    if (!label.halo.isNull() && label.halo.devicePixelRatio() == dpr) return label.halo;
    QPixmap halo((label.outline.size() * dpr).toSize() + QSize(1, 1));
    halo.setDevicePixelRatio(dpr);
    halo.fill(Qt::transparent);
    QPainter painter(&halo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-label.outline.topLeft());
    painter.strokePath(label.letters, haloPen());
    painter.end();
    label.halo = halo;
    return label.halo;
}

const QImage& MarkerPainter::disc(int fractionX, int fractionY, qreal scale) {
    if (scale != m_discScale) {
        m_discs.clear();
        m_discScale = scale;
    }
    const int key = fractionX * kDiscFractions + fractionY;
    const auto found = m_discs.constFind(key);
    if (found != m_discs.cend()) return *found;
    const int margin = discMargin(scale);
    QImage disc(2 * margin + 1, 2 * margin + 1, QImage::Format_ARGB32_Premultiplied);
    disc.fill(Qt::transparent);
    QPainter painter(&disc);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(margin + static_cast<qreal>(fractionX) / kDiscFractions,
                      margin + static_cast<qreal>(fractionY) / kDiscFractions);
    painter.scale(scale, scale);
    drawCircle(painter, QPointF(0, 0));
    painter.end();
    return *m_discs.insert(key, disc);
}

QRectF MarkerPainter::bounds(const Marker& marker) const {
    const double r = kRadius + 1;  // the outline's width
    const QPointF centre = markerCentre(marker.position.x(), marker.position.y());
    QRectF box(centre - QPointF(r, r), centre + QPointF(r, r));
    const auto found = m_labels.constFind(marker.label);
    // A label not laid out yet is bounded generously: three times its height per letter.
    const QRectF text = found != m_labels.cend()
                            ? found->bounds
                            : QRectF(-kHaloWidth, -kHaloWidth, 36.0 * marker.label.size(), 18);
    return box.united(text.translated(pixels(marker.position))).adjusted(-1, -1, 1, 1);
}

void MarkerPainter::paint(QPainter& painter, const std::vector<Marker>& markers) {
    if (markers.empty()) return;
    // Halos are pixmaps on pixel devices: drawn for the pixels they will
    // cover, at any scale.
    const bool pixelHalos = drawsPixels(painter);
    const qreal deviceRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const qreal dpr = deviceRatio * painter.worldTransform().m11();
    painter.save();
    // A marker is a token: a filled circle hides the plan's lines under it.
    // All circles go down before any label, and each label has a halo of the
    // same white, so a label that runs past its circle's outline, or over a
    // neighbour's circle, stays whole and readable; later markers still lie
    // over earlier ones, circle over circle and label over label.
    painter.setRenderHint(QPainter::Antialiasing);
    // Antialiasing a circle and its outline costs more than the rest of a
    // frame, so on pixels at a pixel ratio of 1 each circle is copied from a
    // picture drawn once.
    const QTransform world = painter.worldTransform();
    if (pixelHalos && deviceRatio == 1.0 && world.type() <= QTransform::TxScale &&
        world.m11() == world.m22()) {
        const int margin = discMargin(dpr);
        painter.save();
        painter.resetTransform();
        for (const Marker& m : markers) {
            const QPointF centre = world.map(markerCentre(m.position.x(), m.position.y()));
            const auto [x, fractionX] = pixelAndFraction(centre.x());
            const auto [y, fractionY] = pixelAndFraction(centre.y());
            painter.drawImage(QPoint(x - margin, y - margin), disc(fractionX, fractionY, dpr));
        }
        painter.restore();
    } else {
        for (const Marker& m : markers)
            drawCircle(painter, markerCentre(m.position.x(), m.position.y()));
    }
    painter.setPen(QPen(Qt::black, 1));  // the letters'
    // Halos first, so that no halo covers a neighbour's letters.
    for (const Marker& m : markers) {
        Label& made = label(m.label);
        if (pixelHalos) {
            painter.drawPixmap(
                onDevicePixel(world, deviceRatio, pixels(m.position) + made.haloOffset),
                halo(made, dpr));
        } else {
            painter.save();
            painter.translate(pixels(m.position) + QPointF(0, m_ascent));
            painter.strokePath(made.letters, haloPen());
            painter.restore();
        }
    }
    painter.setFont(m_font);
    for (const Marker& m : markers) painter.drawStaticText(pixels(m.position), label(m.label).text);
    painter.restore();
}

QImage renderScene(const ChapterRoom& room, MarkerPainter& markers,
                   const std::vector<Marker>& shown, qreal devicePixelRatio) {
    QImage image = renderPlan(room, devicePixelRatio);
    QPainter painter(&image);
    markers.paint(painter, shown);
    painter.end();
    return image;
}

}  // namespace velistrad
