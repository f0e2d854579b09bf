// Places and routes in the words a member uses in the Chapter room: his or
// another officer's station, the floor letters, the Altar and its lights,
// the sides of the walking band and the compass as the plan shows it (West
// at the top, North to the right). A learner never reads a coordinate: a
// place that has no name is told as a short way from the nearest one.
//
// Positions are twips, as in model/chapter_room.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/path_record.h"
#include "model/chapter_room.h"

namespace velistrad {

// "Senior Deacon" for the officers the program's texts give a title, his
// abbreviation ("1P") for the others.
std::string officerTitle(int officer);
// "Senior Deacon (SD)" for menus and lists; "1P" when he has no title.
std::string officerTitleWithAbbreviation(int officer);

// A named place of the room.
struct Landmark {
    std::string name;  // "floor letter K", "the Altar", "his station"
    float x = 0;
    float y = 0;
};

// Every named place, as `officer` calls them: the stations (his own is "his
// station"), the floor letters A to V, the lights, the Altar, and the point
// where he meets the band when that has no letter. Always in this order.
std::vector<Landmark> roomLandmarks(const ChapterRoom& room, int officer);

// The landmark nearest (x, y); the first of equals.
const Landmark& nearestLandmark(const std::vector<Landmark>& landmarks, float x, float y);

// A position in words: a landmark's name when he stands on it, otherwise
// "a little North of floor letter K", "West of the Altar", ...
std::string placeWords(const ChapterRoom& room, int officer, float x, float y);

// Where he stands frame after frame (the first is where he starts); a
// placed point is one he is put at without walking. "from his station, West
// to the band by his station, along the North side of the band to floor
// letter K, then South-East to the Altar".
struct RoutePoint {
    float x = 0;
    float y = 0;
    bool placed = false;
};
std::string routeWords(const ChapterRoom& room, int officer, const std::vector<RoutePoint>& route);

// His route in one compiled entry's path, from where he stood before it;
// empty when the entry never takes him off that place.
std::vector<RoutePoint> officerRoute(const Path& path, int officer, float fromX, float fromY);

// The route of one entry (0-based) of a script played from the stations,
// for one officer; "" when the entry does not move him.
std::string entryWords(std::string_view script, std::size_t entry, int officer);

}  // namespace velistrad
