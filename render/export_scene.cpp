#include "render/export_scene.h"

#include <QPainter>

#include <string_view>

#include "render/plan_picture.h"
#include "render/route_legend.h"
#include "simulations/safe_file.h"

namespace velistrad {

ExportScene::ExportScene(ExportRun run) : m_run(std::move(run)) {
    if (m_run.played && m_run.options.any())
        m_trails = TrailScene(officerTrails(*m_run.played), m_run.options);
    else
        m_trails = TrailScene({}, m_run.options);
}

ChapterRoom ExportScene::roomAt(std::size_t shown) const {
    if (!m_run.played) return m_run.room;
    ChapterRoom room;
    m_run.played->seek(shown, room);
    return room;
}

QImage ExportScene::frame(std::size_t shown, MarkerPainter& markers) const {
    QImage image = renderPlan(m_run.room);
    const ChapterRoom room = roomAt(shown);
    QPainter painter(&image);
    m_trails.paintRoutes(painter, room, shown);
    markers.paint(painter, markersOf(room));
    m_trails.paintRing(painter, room);
    if (m_run.options.all) paintRouteLegend(painter, m_run.room, m_trails.drawn());
    painter.end();
    return image;
}

void ExportScene::paintView(QPainter& painter, MarkerPainter& markers) const {
    paintScene(painter, roomAt(m_run.shown), markers, m_trails, m_run.shown);
}

void ExportScene::paintLegend(QPainter& painter) const {
    if (m_run.options.all) paintRouteLegend(painter, m_run.room, m_trails.drawn());
}

std::string replaceFileWith(const std::string& path, const QByteArray& bytes) {
    return replaceFile(path,
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace velistrad
