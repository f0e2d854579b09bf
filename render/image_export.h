// The view written as a picture: PNG at the plan's size in pixels, or SVG in
// plan pixels, each at the run's moment with its routes and markers.
#pragma once

#include <string>

#include "render/export_scene.h"

namespace velistrad {

std::string writePng(const std::string& path, const ExportScene& scene, MarkerPainter& markers);
std::string writeSvg(const std::string& path, const ExportScene& scene, MarkerPainter& markers);

}  // namespace velistrad
