#include "model/walking_band.h"

#include <string>
#include <string_view>

namespace velistrad {

namespace {

bool listed(std::string_view text, const std::string& key) {
    return text.find(key + " ") != std::string_view::npos;
}

}  // namespace

BandPoint bandPoint(const ChapterRoom& room, int officer) {
    const Officer& o = room.officer(officer);
    const FloorPoint& u = room.point(letterPointIndex('U'));
    const FloorPoint& d = room.point(letterPointIndex('D'));
    const FloorPoint& g = room.point(letterPointIndex('G'));
    const FloorPoint& k = room.point(letterPointIndex('K'));
    const FloorPoint& l = room.point(letterPointIndex('L'));
    if (listed("MAR CH MC SD SB TR SCR ", o.key)) return {1, o.stationX, u.y};
    if (listed("SC 3P 4P ", o.key)) return {2, o.stationX, d.y};
    if (listed("SS JS ", o.key)) return {3, o.stationX, g.y};
    if (listed("5P 6P 7P OR ", o.key)) return {4, k.x, o.stationY};
    return {5, l.x, o.stationY};
}

bool returnsAlongXFirst(const ChapterRoom& room, int officer) {
    return listed("MAR CH MC SD SB TR SCR SC SS JS 3P 4P ", room.officer(officer).key);
}

}  // namespace velistrad
