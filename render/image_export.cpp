#include "render/image_export.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "render/plan_picture.h"

namespace velistrad {

std::string writePng(const std::string& path, const ExportScene& scene, MarkerPainter& markers) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!scene.frame(scene.run().shown, markers).save(&buffer, "PNG"))
        return "the picture could not be made";
    return replaceFileWith(path, bytes);
}

std::string writeSvg(const std::string& path, const ExportScene& scene, MarkerPainter& markers) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kPlanWidth, kPlanHeight));
    svg.setViewBox(QRect(0, 0, kPlanWidth, kPlanHeight));
    svg.setTitle(QString::fromStdString(scene.run().name));
    svg.setDescription(QStringLiteral("Plan of the Chapter room"));
    QPainter painter;
    if (!painter.begin(&svg)) return "the drawing could not be made";
    scene.paintView(painter, markers);
    scene.paintLegend(painter);
    painter.end();
    return replaceFileWith(path, bytes);
}

}  // namespace velistrad
