// The route of the entry being edited, drawn on the plan as an aid to
// writing: dashed through the markers' centres, with the floor letters and
// stations it passes ringed. Plan pixels, like every painter here.
#pragma once

#include "engine/script_check.h"

class QPainter;

namespace velistrad {

class ChapterRoom;

void paintRoutePreview(QPainter& painter, const ChapterRoom& room, const EntryRoute& route);

}  // namespace velistrad
