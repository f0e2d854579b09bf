// Where each officer meets the walking band ("Z") and in which axis order he
// walks between his station and it. Twips, as in chapter_room.h.
//
// The group of an officer is found by searching his matching key followed by
// one blank in fixed texts; the walks themselves are the compiler's.
#pragma once

#include <cstdint>

#include "model/chapter_room.h"

namespace velistrad {

struct BandPoint {
    int group = 5;  // 1..5
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The officer's Z point on the walking band.
BandPoint bandPoint(const ChapterRoom& room, int officer);

// True when the walk back to the station goes along x first (groups 1 to 3,
// whose band point lies on a row); false for those that met the band on a
// column and so retrace along y first.
bool returnsAlongXFirst(const ChapterRoom& room, int officer);

}  // namespace velistrad
