#include "engine/room_words.h"

#include <array>
#include <cmath>

#include "engine/script_runner.h"
#include "model/walking_band.h"

namespace velistrad {

namespace {

// The titles the program's own texts give; the other officers are known by
// their abbreviations.
constexpr std::array<const char*, kOfficerCount> kTitles = {"Marshal",
                                                            "Chaplain",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "Junior Steward",
                                                            "Senior Steward",
                                                            "",
                                                            "",
                                                            "",
                                                            "",
                                                            "Treasurer",
                                                            "Scribe",
                                                            "Standard Bearer",
                                                            "Senior Deacon"};

// The Altar's book lies between lights 7 and 1, at the horseshoe's open end.
constexpr float kAltarX = 3645;
constexpr float kAltarY = 5085;

// Closer than this is standing on the place.
constexpr float kOnPlace = 1.0f;
// Within this the offset is "a little"; beyond kFarOff, "well".
constexpr float kLittleOff = 450;
constexpr float kFarOff = 1500;

// The walking band's lanes: three columns (along x = South to North is
// across them, along y = West to East along them) and the rows crossing them.
struct Lane {
    bool column;  // true: a fixed x; false: a fixed y
    float at;
    float from;
    float to;
    const char* words;
};
constexpr std::array<Lane, 9> kLanes = {{
    {true, 1500, 270, 8460, "along the South side of the band"},
    {true, 3600, 1530, 8460, "along the middle of the band"},
    {true, 5750, 315, 8460, "along the North side of the band"},
    {false, 1530, 1500, 5750, "across the band"},
    {false, 2340, 1500, 5750, "across the band"},
    {false, 4590, 1500, 5750, "across the band"},
    {false, 5625, 1500, 5750, "across the band"},
    {false, 7875, 1500, 5750, "across the band"},
    {false, 8460, 1500, 5750, "along the East end of the band"},
}};

bool near(float a, float b) {
    return std::abs(a - b) <= kOnPlace;
}

bool within(float v, float from, float to) {
    return v >= from - kOnPlace && v <= to + kOnPlace;
}

const char* laneOf(float x0, float y0, float x1, float y1) {
    for (const Lane& lane : kLanes) {
        if (lane.column && near(x0, lane.at) && near(x1, lane.at) &&
            within(y0, lane.from, lane.to) && within(y1, lane.from, lane.to))
            return lane.words;
        if (!lane.column && near(y0, lane.at) && near(y1, lane.at) &&
            within(x0, lane.from, lane.to) && within(x1, lane.from, lane.to))
            return lane.words;
    }
    return nullptr;
}

// The way from one position to another on the plan: x grows North, y East.
std::string compass(float dx, float dy) {
    const std::string northSouth = dx > 0 ? "North" : "South";
    const std::string eastWest = dy > 0 ? "East" : "West";
    // Within about 22 degrees of an axis it is that axis alone.
    constexpr float kSlant = 0.414f;
    if (std::abs(dy) <= kSlant * std::abs(dx)) return northSouth;
    if (std::abs(dx) <= kSlant * std::abs(dy)) return eastWest;
    return northSouth + "-" + eastWest;
}

// Straight stretches of a route: its corners, and whether each was reached
// by a placement.
struct Stretch {
    float x0, y0, x1, y1;
    bool placed;
};

std::vector<Stretch> stretches(const std::vector<RoutePoint>& route) {
    std::vector<Stretch> out;
    for (std::size_t i = 1; i < route.size(); ++i) {
        const float x0 = out.empty() ? route[0].x : out.back().x1;
        const float y0 = out.empty() ? route[0].y : out.back().y1;
        const RoutePoint& p = route[i];
        if (p.x == x0 && p.y == y0) continue;  // a standing frame
        if (!p.placed && !out.empty() && !out.back().placed) {
            Stretch& last = out.back();
            const double ax = last.x1 - last.x0;
            const double ay = last.y1 - last.y0;
            const double bx = p.x - x0;
            const double by = p.y - y0;
            // Straight on within a hundredth of a twip per twip walked.
            if (ax * bx + ay * by > 0 &&
                std::abs(ax * by - ay * bx) <= 0.01 * std::hypot(ax, ay) * std::hypot(bx, by)) {
                last.x1 = p.x;
                last.y1 = p.y;
                continue;
            }
        }
        out.push_back({x0, y0, p.x, p.y, p.placed});
    }
    return out;
}

}  // namespace

std::string officerTitle(int officer) {
    if (!ChapterRoom::isOfficer(officer)) return {};
    const char* title = kTitles[static_cast<std::size_t>(officer)];
    return *title != '\0' ? title : ChapterRoom().officer(officer).abbreviation;
}

std::string officerTitleWithAbbreviation(int officer) {
    if (!ChapterRoom::isOfficer(officer)) return {};
    const std::string abbreviation = ChapterRoom().officer(officer).abbreviation;
    const std::string title = officerTitle(officer);
    return title == abbreviation ? title : title + " (" + abbreviation + ")";
}

std::vector<Landmark> roomLandmarks(const ChapterRoom& room, int officer) {
    std::vector<Landmark> out;
    for (int k = 0; k < kOfficerCount; ++k) {
        const Officer& o = room.officer(k);
        std::string name;
        if (k == officer)
            name = "his station";
        else if (officerTitle(k) != o.abbreviation)
            name = "the " + officerTitle(k) + "'s station";
        else
            name = "the " + o.abbreviation + " station";
        out.push_back(
            {std::move(name), static_cast<float>(o.stationX), static_cast<float>(o.stationY)});
    }
    for (char letter = 'A'; letter <= 'V'; ++letter) {
        const FloorPoint& p = room.point(letterPointIndex(letter));
        out.push_back({std::string("floor letter ") + letter, static_cast<float>(p.x),
                       static_cast<float>(p.y)});
    }
    for (char digit = '1'; digit <= '7'; ++digit) {
        const FloorPoint& p = room.point(lightPointIndex(digit));
        out.push_back(
            {std::string("light ") + digit, static_cast<float>(p.x), static_cast<float>(p.y)});
    }
    out.push_back({"the Altar", kAltarX, kAltarY});
    if (ChapterRoom::isOfficer(officer)) {
        const BandPoint band = bandPoint(room, officer);
        if (room.pointAt(static_cast<float>(band.x), static_cast<float>(band.y)) < 0)
            out.push_back({"the band by his station", static_cast<float>(band.x),
                           static_cast<float>(band.y)});
    }
    return out;
}

const Landmark& nearestLandmark(const std::vector<Landmark>& landmarks, float x, float y) {
    const Landmark* best = &landmarks.front();
    double bestDistance = std::hypot(best->x - x, best->y - y);
    for (const Landmark& l : landmarks) {
        const double d = std::hypot(l.x - x, l.y - y);
        if (d < bestDistance) {
            best = &l;
            bestDistance = d;
        }
    }
    return *best;
}

std::string placeWords(const ChapterRoom& room, int officer, float x, float y) {
    const std::vector<Landmark> landmarks = roomLandmarks(room, officer);
    const Landmark& l = nearestLandmark(landmarks, x, y);
    const float dx = x - l.x;
    const float dy = y - l.y;
    const double d = std::hypot(dx, dy);
    if (d <= kOnPlace) return l.name;
    const char* how = d <= kLittleOff ? "a little " : d <= kFarOff ? "" : "well ";
    return how + compass(dx, dy) + " of " + l.name;
}

std::string routeWords(const ChapterRoom& room, int officer, const std::vector<RoutePoint>& route) {
    if (route.empty()) return {};
    const std::vector<Stretch> parts = stretches(route);
    std::string out = "from " + placeWords(room, officer, route[0].x, route[0].y);
    const char* lastLane = nullptr;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const Stretch& s = parts[i];
        out += i == 0 ? ", " : i + 1 == parts.size() ? ", then " : ", ";
        const char* lane = s.placed ? nullptr : laneOf(s.x0, s.y0, s.x1, s.y1);
        if (s.placed) {
            out += "at once to ";
        } else if (lane != nullptr) {
            // The same lane again after a turn is walking back along it.
            if (lane == lastLane) out += "back ";
            out += lane;
            out += " to ";
        } else {
            out += compass(s.x1 - s.x0, s.y1 - s.y0) + " to ";
        }
        out += placeWords(room, officer, s.x1, s.y1);
        lastLane = lane;
    }
    return out;
}

std::vector<RoutePoint> officerRoute(const Path& path, int officer, float fromX, float fromY) {
    std::vector<RoutePoint> route{{fromX, fromY, false}};
    bool moves = false;
    for (const PathRecord& r : path) {
        if (r.triple.officer != officer) continue;
        RoutePoint p = route.back();
        playedX(r.triple, p.x);
        playedY(r.triple, p.y);
        p.placed = r.placement;
        route.push_back(p);
        moves = moves || p.x != fromX || p.y != fromY;
    }
    if (!moves) route.clear();
    return route;
}

std::string entryWords(std::string_view script, std::size_t entry, int officer) {
    std::string words;
    if (!ChapterRoom::isOfficer(officer)) return words;
    ChapterRoom room;
    compileEntries(room, script, kMaxRunFrames,
                   [&](std::size_t index, const Path& path, const Standing& before) {
                       if (index < entry) return true;
                       if (index > entry) return false;
                       const auto [x0, y0] = before[static_cast<std::size_t>(officer)];
                       const std::vector<RoutePoint> route = officerRoute(path, officer, x0, y0);
                       if (!route.empty()) words = routeWords(room, officer, route);
                       return false;
                   });
    return words;
}

}  // namespace velistrad
