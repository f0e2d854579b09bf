#include "model/chapter_room.h"

#include <sstream>

namespace velistrad {

namespace {

// The room as it is drawn on the plan; blank-separated lists in officer and
// point order, the way the tables are read at start-up.
constexpr const char* kAbbreviations =
    "Mar CH 1P 2P 3P 4P 5P 6P 7P MC SC JC JS SS JD Sen OR AL TR Scr SB SD";
constexpr const char* kStationX =
    "1800 2250 990 990 2520 4725 6255 6255 6210 3600 3600 405 4275 2925 2070 2025 6300 900 1440 "
    "1395 5355 4950";
constexpr const char* kStationY =
    "9045 9045 7650 2745 1080 1080 2745 5130 7695 9900 540 5085 1980 1980 405 135 8595 8595 9945 "
    "9945 9045 9045";
constexpr const char* kPointX =
    "1500 5750 1500 3600 5750 1500 3600 5750 1500 3600 5750 1500 5750 1500 3600 5750 1500 3600 "
    "5750 1500 3600 5750 4545 4680 4365 3600 2925 2610 2745";
constexpr const char* kPointY =
    "270 315 1530 1530 1530 2340 2340 2340 4590 4590 4590 5130 5130 5625 5625 5625 7875 7875 7875 "
    "8460 8460 8460 5085 5850 6570 7065 6570 5850 5085";

template <typename Store>
void readList(const char* text, int count, Store store) {
    std::istringstream in(text);
    for (int i = 0; i < count; ++i) {
        std::int32_t value = 0;
        in >> value;
        store(i, value);
    }
}

std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

// The tables are read from their lists once; every room after is a copy.
ChapterRoom::ChapterRoom() {
    static const ChapterRoom prototype(Tables{});
    *this = prototype;
}

ChapterRoom::ChapterRoom(Tables) {
    std::istringstream names(kAbbreviations);
    for (int i = 0; i < kOfficerCount; ++i) {
        Officer& o = officer(i);
        names >> o.abbreviation;
        o.key = upper(o.abbreviation);
    }
    readList(kStationX, kOfficerCount, [this](int i, std::int32_t v) {
        officer(i).stationX = v;
        officer(i).curX = static_cast<float>(v);
    });
    readList(kStationY, kOfficerCount, [this](int i, std::int32_t v) {
        officer(i).stationY = v;
        officer(i).curY = static_cast<float>(v);
    });
    readList(kPointX, kPointCount,
             [this](int i, std::int32_t v) { m_points[static_cast<std::size_t>(i)].x = v; });
    readList(kPointY, kPointCount,
             [this](int i, std::int32_t v) { m_points[static_cast<std::size_t>(i)].y = v; });
}

std::int16_t ChapterRoom::findOfficer(std::string_view name) const {
    // No early exit: the last equal key wins, which keeps the lookup
    // well defined even if two keys were ever equal.
    std::int16_t result = -1;
    for (int i = 0; i < kOfficerCount; ++i) {
        if (officer(i).key == name) result = static_cast<std::int16_t>(i);
    }
    return result;
}

int ChapterRoom::stationAt(float x, float y) const {
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = officer(i);
        if (static_cast<float>(o.stationX) == x && static_cast<float>(o.stationY) == y) return i;
    }
    return -1;
}

int ChapterRoom::pointAt(float x, float y) const {
    for (int p = 0; p < kPointCount; ++p) {
        if (static_cast<float>(point(p).x) == x && static_cast<float>(point(p).y) == y) return p;
    }
    return -1;
}

void ChapterRoom::resetToStations() {
    for (int i = 0; i < kOfficerCount; ++i) {
        Officer& o = officer(i);
        o.curX = static_cast<float>(o.stationX);
        o.curY = static_cast<float>(o.stationY);
    }
}

}  // namespace velistrad
