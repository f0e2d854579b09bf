// The run on paper: the plan sheet (title, the plan with its routes, a legend
// and the script, on a page of the plan's shape) and an officer's part sheet
// (his route and the entries that move him with their times, on A4). Page
// coordinates are PDF points, 72 an inch.
#pragma once

#include <QSizeF>

#include <functional>
#include <string>

#include "render/export_scene.h"

class QPainter;

namespace velistrad {

// One page of the plan's shape (kPlanWidth x kPlanHeight points).
void paintPlanSheet(QPainter& painter, const ExportScene& scene, MarkerPainter& markers);
std::string writePlanPdf(const std::string& path, const ExportScene& scene, MarkerPainter& markers);

// His route on the plan and his steps with their times on a page of `page`
// points; newPage is called where the steps go on.
void paintPartSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene, int officer,
                    const std::function<void()>& newPage);
std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer);

}  // namespace velistrad
