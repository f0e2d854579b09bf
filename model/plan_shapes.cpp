#include "model/plan_shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "model/chapter_room.h"

namespace velistrad {

namespace {

// Calm colours: a cream floor, grey lanes, dark ink.
constexpr Rgb kWall{0x3C, 0x3C, 0x3C};
constexpr Rgb kLane{0xDA, 0xDA, 0xD6};
constexpr Rgb kLaneEdge{0xC4, 0xC4, 0xBF};
constexpr Rgb kInk{0x26, 0x26, 0x26};
constexpr Rgb kLetterInk{0x1E, 0x3A, 0x66};
constexpr Rgb kBox{0xFF, 0xFF, 0xFF};
constexpr Rgb kPlatform{0xEC, 0xE2, 0xC9};
constexpr Rgb kPlatformEdge{0x8C, 0x7A, 0x55};
constexpr Rgb kSeat{0xEE, 0xEA, 0xDF};
constexpr Rgb kSeatEdge{0xA6, 0xA2, 0x98};
constexpr Rgb kLight{0x9A, 0x74, 0x2C};

constexpr double kLaneWidth = 24.0;  // room for a marker of 20 pixels across
constexpr double kBoxHeight = 15.0;
constexpr double kWallInset = 3.0;

PlanPoint pointSpot(const ChapterRoom& room, int index) {
    return planSpot(room.point(index).x, room.point(index).y);
}

PathStep step(char op, std::initializer_list<double> values) {
    PathStep s;
    s.op = op;
    std::copy(values.begin(), values.end(), s.v);
    return s;
}

class Shapes {
public:
    PlanShape& add(PlanShape::Kind kind) {
        PlanShape& s = m_shapes.emplace_back();
        s.kind = kind;
        return s;
    }
    PlanShape& box(PlanShape::Kind kind, double x, double y, double w, double h) {
        PlanShape& s = add(kind);
        s.x = x, s.y = y, s.w = w, s.h = h;
        return s;
    }
    std::vector<PlanShape> take() { return std::move(m_shapes); }

private:
    std::vector<PlanShape> m_shapes;
};

void outline(PlanShape& s, Rgb colour, double width) {
    s.stroked = true;
    s.stroke = colour;
    s.strokeWidth = width;
}
void fillWith(PlanShape& s, Rgb colour) {
    s.filled = true;
    s.fill = colour;
}
void write(PlanShape& s, std::string text, Rgb ink, PlanFont font) {
    s.text = std::move(text);
    s.stroke = ink;
    s.font = font;
}

void addLanes(Shapes& out, const ChapterRoom& room) {
    const auto at = [&](char letter) { return pointSpot(room, letterPointIndex(letter)); };
    // Columns run from the West edge to the East row; the rows and the West
    // edge run between the outer columns.
    const std::array<std::array<char, 2>, 10> lanes = {{{'A', 'T'},
                                                        {'D', 'U'},
                                                        {'B', 'V'},
                                                        {'A', 'B'},
                                                        {'C', 'E'},
                                                        {'F', 'H'},
                                                        {'I', 'K'},
                                                        {'N', 'P'},
                                                        {'Q', 'S'},
                                                        {'T', 'V'}}};
    PlanShape& band = out.add(PlanShape::Kind::Outline);
    band.unite = true;
    outline(band, kLaneEdge, 1.0);
    fillWith(band, kLane);
    const double half = kLaneWidth / 2;
    for (const auto& [from, to] : lanes) {
        const PlanPoint a = at(from);
        const PlanPoint b = at(to);
        if (from == 'A' && to == 'B') {  // the West edge is slightly slanted
            band.steps.push_back(step('M', {a.x - half, a.y - half}));
            band.steps.push_back(step('L', {b.x + half, b.y - half}));
            band.steps.push_back(step('L', {b.x + half, b.y + half}));
            band.steps.push_back(step('L', {a.x - half, a.y + half}));
            band.steps.push_back(step('Z', {}));
        } else {
            const double left = std::min(a.x, b.x) - half;
            const double top = std::min(a.y, b.y) - half;
            const double right = std::max(a.x, b.x) + half;
            const double bottom = std::max(a.y, b.y) + half;
            band.steps.push_back(step('R', {left, top, right - left, bottom - top}));
        }
    }
}

// Each letter sits beside its corner or crossing, on the side with open
// floor: the outer columns' letters beside the lane, the others in a corner.
void addLetters(Shapes& out, const ChapterRoom& room) {
    // Side per letter A..V: -1 left or above, +1 right or below, 0 centred.
    constexpr std::array<std::array<int, 2>, 22> kSide = {{
        {-1, 0}, {1, 0},             // A B
        {-1, 0}, {1, -1}, {1, 0},    // C D E
        {-1, 0}, {1, -1}, {1, 0},    // F G H
        {-1, 0}, {1, -1}, {1, 0},    // I J K
        {-1, 0}, {1, -1},            // L M
        {-1, 0}, {1, 1},  {1, 0},    // N O P
        {-1, 0}, {1, -1}, {-1, -1},  // Q R S
        {-1, 0}, {1, -1}, {1, -1},   // T U V
    }};
    const double gap = kLaneWidth / 2 + 3;
    for (int i = 0; i < 22; ++i) {
        const PlanPoint centre = pointSpot(room, i);
        const int across = kSide[static_cast<std::size_t>(i)][0];
        const int down = kSide[static_cast<std::size_t>(i)][1];
        PlanShape& s = out.add(PlanShape::Kind::Text);
        s.x = across < 0 ? centre.x - gap : across > 0 ? centre.x + gap : centre.x;
        s.y = down < 0 ? centre.y - gap : down > 0 ? centre.y + gap : centre.y;
        s.align = across < 0 ? TextAlign::Right : across > 0 ? TextAlign::Left : TextAlign::Centre;
        s.baseline = down < 0   ? TextBaseline::CapBottom
                     : down > 0 ? TextBaseline::CapTop
                                : TextBaseline::CapMiddle;
        write(s, std::string(1, static_cast<char>('A' + i)), kLetterInk, {12, true});
    }
}

void addSeats(Shapes& out) {
    constexpr double kSeatSize = 9.0;
    constexpr double kPitch = 12.0;
    const auto seat = [&](double x, double y) {
        PlanShape& s = out.box(PlanShape::Kind::Rect, x, y, kSeatSize, kSeatSize);
        outline(s, kSeatEdge, 0.8);
        fillWith(s, kSeat);
    };
    // Two rows along each side wall, leaving the JC platform
    // free on the South side.
    for (double y = 78; y + kSeatSize <= 640; y += kPitch) {
        const bool platform = y + kSeatSize > 310 && y < 380;
        for (double x : {9.0, 21.0}) {
            if (!platform) seat(x, y);
        }
        for (double x : {452.0, 464.0}) seat(x, y);
    }
}

// The chairs of SC, JC and MC stand on platforms at the West, South and East.
void addPlatforms(Shapes& out, const ChapterRoom& room) {
    struct Platform {
        const char* key;
        double width;
        double height;
    };
    const std::array<Platform, 3> platforms = {{{"SC", 70, 26}, {"JC", 36, 62}, {"MC", 70, 32}}};
    for (const Platform& p : platforms) {
        const Officer& o = room.officer(room.findOfficer(p.key));
        const PlanPoint c = planSpot(o.stationX, o.stationY);
        PlanShape& outer = out.box(PlanShape::Kind::Rect, c.x - p.width / 2, c.y - p.height / 2,
                                   p.width, p.height);
        outline(outer, kPlatformEdge, 1.2);
        fillWith(outer, kPlatform);
        // The step up, 3 pixels inside.
        const double x = outer.x, y = outer.y, w = outer.w, h = outer.h;
        PlanShape& inner = out.box(PlanShape::Kind::Rect, x + 3, y + 3, w + -3 - 3, h + -3 - 3);
        outline(inner, kPlatformEdge, 0.7);
    }
}

void addStations(Shapes& out, const ChapterRoom& room) {
    // Stations closer than a box's height share one box (TR and Scr).
    struct Box {
        PlanPoint centre;
        std::string labels;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = room.officer(i);
        const PlanPoint c = planSpot(o.stationX, o.stationY);
        bool shared = false;
        for (Box& box : boxes) {
            if (std::hypot(c.x - box.centre.x, c.y - box.centre.y) < kBoxHeight / 2) {
                box.labels += '/' + o.abbreviation;
                box.centre = {(box.centre.x + c.x) / 2, (box.centre.y + c.y) / 2};
                shared = true;
            }
        }
        if (!shared) boxes.push_back({c, o.abbreviation});
    }
    for (const Box& box : boxes) {
        PlanShape& s =
            out.box(PlanShape::Kind::LabelBox, box.centre.x, box.centre.y, 24.0, kBoxHeight);
        outline(s, kInk, 1.0);
        fillWith(s, kBox);
        write(s, box.labels, kInk, {10, false});
    }
}

// The altar: an open book between lights 7 and 1.
void addAltar(Shapes& out, const ChapterRoom& room) {
    const PlanPoint left = pointSpot(room, lightPointIndex('7'));
    const PlanPoint right = pointSpot(room, lightPointIndex('1'));
    const PlanPoint c{(left.x + right.x) / 2, (left.y + right.y) / 2};
    PlanShape& table = out.box(PlanShape::Kind::Rect, c.x - 34, c.y - 17, 68, 34);
    outline(table, kPlatformEdge, 1.2);
    fillWith(table, kPlatform);

    for (const int side : {-1, 1}) {
        PlanShape& page = out.add(PlanShape::Kind::Outline);
        outline(page, kInk, 1.0);
        fillWith(page, kBox);
        page.steps = {
            step('M', {c.x, c.y - 9}),
            step('C',
                 {c.x + side * 8, c.y - 12, c.x + side * 16, c.y - 11, c.x + side * 22, c.y - 9}),
            step('L', {c.x + side * 22, c.y + 9}),
            step('C', {c.x + side * 16, c.y + 7, c.x + side * 8, c.y + 7, c.x, c.y + 10}),
            step('Z', {}),
        };
    }
    for (const int side : {-1, 1}) {
        for (const double dy : {-4.0, 0.0, 4.0}) {
            PlanShape& line =
                out.box(PlanShape::Kind::Line, c.x + side * 5, c.y + dy, c.x + side * 18, c.y + dy);
            outline(line, kSeatEdge, 0.7);
        }
    }
}

void addLights(Shapes& out, const ChapterRoom& room) {
    for (char digit = '1'; digit <= '7'; ++digit) {
        const PlanPoint c = pointSpot(room, lightPointIndex(digit));
        PlanShape& rim = out.box(PlanShape::Kind::Ellipse, c.x, c.y, 9.0, 9.0);
        outline(rim, kLight, 1.4);
        fillWith(rim, kBox);
        outline(out.box(PlanShape::Kind::Ellipse, c.x, c.y, 6.5, 6.5), kLight, 0.9);
        PlanShape& number = out.box(PlanShape::Kind::BoxText, c.x - 6, c.y - 6, 12, 12);
        write(number, std::string(1, digit), kInk, {9, true});
    }
}

// The walls, with the compass words written into gaps in them.
void addWalls(Shapes& out) {
    outline(out.box(PlanShape::Kind::Rect, kWallInset, kWallInset, kPlanWidth - 2 * kWallInset,
                    kPlanHeight - 2 * kWallInset),
            kWall, 2.0);
    const auto word = [&](const char* text, double x, double y, double angle) {
        PlanShape& s = out.box(PlanShape::Kind::Word, x, y, 0, 0);
        s.angle = angle;
        fillWith(s, kPlanFloor);
        write(s, text, kWall, {11, true});
    };
    // Centred a little inside the wall, so that a word and its backdrop (a
    // line of 11-pixel text, at most 16 high) lie within the plan while the
    // backdrop still breaks the wall.
    const double inset = kWallInset + 5;
    word("West", kPlanWidth / 2.0, inset, 0);
    word("East", kPlanWidth / 2.0, kPlanHeight - inset, 0);
    word("South", inset, kPlanHeight / 2.0, -90);
    word("North", kPlanWidth - inset, kPlanHeight / 2.0, 90);
}

}  // namespace

Rgb routeColour(int officer) {
    // Kelly's colours of greatest contrast, without white and black (a black
    // route would read as a wall), and two more to make 22.
    static constexpr std::array<std::uint32_t, kOfficerCount> kColours = {
        0xBE0032, 0x0067A5, 0x008856, 0xF38400, 0x875692, 0x882D17, 0xE68FAC, 0x2B3D26,
        0xF6A600, 0x604E97, 0x8DB600, 0xB3446C, 0x654522, 0xE25822, 0xA1CAF1, 0xC2B280,
        0x848482, 0xDCD300, 0xF99379, 0x008B8B, 0xF3C300, 0x8B8000};
    const std::uint32_t c = kColours[static_cast<std::size_t>(officer) % kColours.size()];
    return {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
            static_cast<std::uint8_t>(c)};
}

std::vector<PlanShape> planShapes(const ChapterRoom& room) {
    Shapes out;
    addSeats(out);
    addLanes(out, room);
    addLetters(out, room);
    addPlatforms(out, room);
    addAltar(out, room);
    addLights(out, room);
    addStations(out, room);
    addWalls(out);
    return out.take();
}

}  // namespace velistrad
