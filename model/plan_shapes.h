// The plan of the Chapter room as plain drawing data: rectangles, circles,
// lines, paths and texts in plan pixels, in painting order.
//
// The window, the exports and the member's page all draw the plan from this
// list, so every front end shows the same room. Where a shape's size depends
// on a font (a station's box, a compass word's backdrop), the shape says how
// to measure it and each front end measures with its own fonts.
//
// The plan is 482 by 696 pixels at 15 twips per pixel, West at the top, East
// at the bottom, South along the left edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velistrad {

class ChapterRoom;

inline constexpr int kPlanWidth = 482;
inline constexpr int kPlanHeight = 696;
inline constexpr double kTwipsPerPixel = 15.0;

// An officer's marker: a circle centred this far right of and below his
// position (twips), and his label with its upper left corner at the position.
inline constexpr double kMarkerCentreDx = 85.0;
inline constexpr double kMarkerCentreDy = 75.0;
inline constexpr double kMarkerRadius = 150.0;

struct PlanPoint {
    double x = 0;
    double y = 0;
};

// Where the circle of an officer standing at (x, y) twips is centred, in plan
// pixels; the plan centres each feature there, so a marker covers it.
inline PlanPoint planSpot(double x, double y) {
    return {(x + kMarkerCentreDx) / kTwipsPerPixel, (y + kMarkerCentreDy) / kTwipsPerPixel};
}

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

struct PlanFont {
    double pixelSize = 12;
    bool bold = false;
};

struct PathStep {
    // M move, L line, C cubic (x1 y1 x2 y2 x y), R rectangle (x y w h), Z close
    char op = 'M';
    double v[6] = {};
};

// Where a text stands relative to its anchor point.
enum class TextAlign : std::uint8_t { Left, Centre, Right };
enum class TextBaseline : std::uint8_t {
    CapBottom,  // the bottom of capital letters on the anchor
    CapTop,     // their top on the anchor
    CapMiddle,  // their middle on the anchor
};

struct PlanShape {
    enum class Kind : std::uint8_t {
        Rect,      // x, y, w, h
        Ellipse,   // centre x, y; radii w, h
        Line,      // from x, y to w, h
        Outline,   // steps; `unite` draws the union of its closed sub-paths
        Text,      // anchored at x, y with align and baseline
        BoxText,   // centred in the box x, y, w, h
        LabelBox,  // a box centred on x, y, h high and max(w, text + 8) wide, text centred
        Word,      // text centred on x, y, turned by `angle` degrees, on a backdrop
                   // of its own width + 8 and its line's height
    };
    Kind kind = Kind::Rect;
    double x = 0, y = 0, w = 0, h = 0;
    std::vector<PathStep> steps;
    bool unite = false;
    bool stroked = false;  // texts are always written in `stroke`
    Rgb stroke;
    double strokeWidth = 1;
    bool filled = false;
    Rgb fill;
    std::string text;  // UTF-8
    PlanFont font;
    TextAlign align = TextAlign::Left;
    TextBaseline baseline = TextBaseline::CapBottom;
    double angle = 0;
};

// The floor's own colour, behind everything.
inline constexpr Rgb kPlanFloor{0xFB, 0xF8, 0xEF};

// The colour of an officer's route when every route is drawn: 22 colours of
// strong contrast, none of them white or black.
Rgb routeColour(int officer);

// The whole plan, drawn from the room's tables so that every station box and
// point letter sits exactly at its coordinates.
std::vector<PlanShape> planShapes(const ChapterRoom& room);

}  // namespace velistrad
