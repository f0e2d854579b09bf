// The run as an animated GIF, each picture held as long as the window waits
// on its frame (gif_schedule.h), in the fixed colours of gif_palette.h. Only
// what changed between two pictures is stored, so a long run stays small.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <string>

#include "render/export_scene.h"

namespace velistrad {

// Called after each picture; false cancels.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The whole run as an animation at frameDelay seconds a frame; empty bytes
// when cancelled, with `error` set on failure.
QByteArray encodeGif(const ExportScene& scene, double frameDelay, MarkerPainter& markers,
                     const ExportProgress& progress, std::string& error);
// "" also when cancelled: then nothing is written.
std::string writeGif(const std::string& path, const ExportScene& scene, double frameDelay,
                     MarkerPainter& markers, const ExportProgress& progress = {});

}  // namespace velistrad
