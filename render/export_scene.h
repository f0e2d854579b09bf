// A run prepared for writing to files: the moment to draw, the routes worked
// out once, and the step that puts a finished file in place. The image, sheet
// and animation exports (image_export.h, sheet_export.h, animation_export.h)
// all draw from one ExportScene, through the screen's painters.
//
// Every writer builds the whole file in memory and then replaces the target
// in one step (simulations/safe_file.h): a failure or a cancel leaves no
// half-written file. Each returns the reason it failed, or "".
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <memory>
#include <string>

#include "engine/played_timeline.h"
#include "model/chapter_room.h"
#include "render/marker_painter.h"
#include "render/trail_painter.h"

class QPainter;

namespace velistrad {

struct ExportRun {
    std::shared_ptr<const PlayedTimeline> played;  // null: the plan as `room` stands
    ChapterRoom room;                              // where everyone stands without a run
    std::string script;                            // the text the run was composed from
    std::string name;                              // the simulation's name
    TrailOptions options;
    std::size_t shown = 0;      // frames shown: the moment drawn
    double frameDelay = 0.025;  // for the times of a part
};

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
    // Which colour is whom over the view when every route shows (frame()
    // draws it itself; a sheet has its own beside the plan).
    void paintLegend(QPainter& painter) const;

private:
    ExportRun m_run;
    TrailScene m_trails;
};

// Puts `bytes` in place of the file at `path` in one step; "" or the reason.
std::string replaceFileWith(const std::string& path, const QByteArray& bytes);

}  // namespace velistrad
