// The run on paper: the plan sheet (title, the plan with its routes, a legend
// and the script) and an officer's part sheet (his route and the entries that
// move him with their times), both on the paper of the user's locale. Page
// coordinates are PDF points, 72 an inch.
#pragma once

#include <QLocale>
#include <QPageSize>
#include <QSizeF>

#include <functional>
#include <string>

#include "render/export_scene.h"

class QPainter;

namespace velistrad {

// The locale that chooses the paper: LC_ALL, then LC_PAPER, as the C library
// reads them; else the system locale as Qt reads it (LC_MEASUREMENT, LANG).
QLocale paperLocale();
// The paper of the locale: Letter where that is the paper on sale (the
// United States, Canada, Mexico and their neighbours), A4 everywhere else.
QPageSize localePaper(const QLocale& locale = paperLocale());

// The run's name, the plan scaled to fit pages of `page` points with the
// legend beside it, and the script one entry a line in columns below it;
// newPage is called where the entries go on.
void paintPlanSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene,
                    MarkerPainter& markers, const std::function<void()>& newPage);
// On the paper of `locale`.
std::string writePlanPdf(const std::string& path, const ExportScene& scene, MarkerPainter& markers,
                         const QLocale& locale = paperLocale());

// His route on the plan and his steps with their times on a page of `page`
// points; newPage is called where the steps go on.
void paintPartSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene, int officer,
                    const std::function<void()>& newPage);
std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer,
                         const QLocale& locale = paperLocale());

}  // namespace velistrad
