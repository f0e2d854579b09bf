// The plan and a run written to files for taking along: the plan with its
// routes as PDF, the view as PNG or SVG, an officer's part sheet as PDF and
// the run as an animated GIF. The window's File > Export items and
// velistrad-cli render share these, and draw through the screen's painters.
//
// Every writer builds the whole file in memory and then replaces the target
// in one step (simulations/safe_file.h): a failure or a cancel leaves no
// half-written file. Each returns the reason it failed, or "".
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/plan_painter.h"
#include "app/trail_painter.h"
#include "engine/officer_part.h"
#include "engine/played_timeline.h"
#include "model/chapter_room.h"

class QPainter;

namespace velistrad {

struct ExportRun {
    std::shared_ptr<const PlayedTimeline> played;  // null: the plan as `room` stands
    ChapterRoom room;                              // where everyone stands without a run
    std::string script;                            // the text the run was composed from
    std::string name;                              // the simulation's name
    TrailOptions options;
    std::size_t shown = 0;      // frames shown: the moment drawn
    double framedelay = 0.025;  // for the times of a part
};

// A run prepared for drawing: its routes worked out once.
class ExportScene {
public:
    explicit ExportScene(ExportRun run);

    const ExportRun& run() const { return m_run; }
    const TrailScene& trails() const { return m_trails; }
    // Everyone where the first `shown` frames leave them.
    ChapterRoom roomAt(std::size_t shown) const;
    // The picture the screen shows at `shown` frames, plan size, pixel ratio 1.
    QImage frame(std::size_t shown, MarkerPainter& markers) const;
    // The same at the run's moment in vectors, for PDF and SVG.
    void paintView(QPainter& painter, MarkerPainter& markers) const;

private:
    ExportRun m_run;
    TrailScene m_trails;
};

std::string writePng(const std::string& path, const ExportScene& scene, MarkerPainter& markers);
std::string writeSvg(const std::string& path, const ExportScene& scene, MarkerPainter& markers);
// One page of the plan's shape (kPlanWidth x kPlanHeight points): title,
// plan with routes, legend, script.
void paintPlanSheet(QPainter& painter, const ExportScene& scene, MarkerPainter& markers);
std::string writePlanPdf(const std::string& path, const ExportScene& scene, MarkerPainter& markers);
// His route on the plan and his steps with their times on a page of `page`
// points (A4 in the file); newPage is called where the steps go on.
void paintPartSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene, int officer,
                    const std::function<void()>& newPage);
std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer);

// Called after each picture; false cancels.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The whole run as an animation at framedelay seconds a frame (see
// gifSchedule); empty bytes when cancelled, with `error` set on failure.
QByteArray encodeGif(const ExportScene& scene, double framedelay, MarkerPainter& markers,
                     const ExportProgress& progress, std::string& error);
// "" also when cancelled: then nothing is written.
std::string writeGif(const std::string& path, const ExportScene& scene, double framedelay,
                     MarkerPainter& markers, const ExportProgress& progress = {});

// The animation's fixed colours: a picture's pixel as the GIF holds it, in
// an animation with or without routes.
QRgb gifColour(QRgb pixel, bool routes);

}  // namespace velistrad
