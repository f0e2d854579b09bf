// Reading frames back into officer positions, shared by the window's
// playback and the command-line tool. Twips, as in model/chapter_room.h.
#pragma once

#include <string_view>

#include "engine/script_runner.h"
#include "model/chapter_room.h"

namespace velistrad {

// Applies the complete "officer,x,y" triples of a position frame to the
// current positions; a later triple for the same officer wins. An index that
// is not an officer, or a coordinate too large for single precision, changes
// nothing. Returns false when the frame has fewer than three fields.
bool applyFrame(ChapterRoom& room, std::string_view frame);

// The part of a delay frame that holds joined Unsync triples (after its first
// ","), or an empty view when it holds none.
std::string_view delayFrameTriples(std::string_view frame);

// Puts every officer at his station, then applies each frame as playback
// would, without waiting or drawing: where the officers end.
void applyComposition(ChapterRoom& room, const Composition& played);

}  // namespace velistrad
