// The plan as drawing data: what every front end draws must lie on the plan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/chapter_room.h"
#include "model/plan_shapes.h"

namespace velistrad {
namespace {

// The compass words, measured generously as any front end's fonts could
// measure them (a line up to 16 pixels high, glyphs up to 0.75 of the font
// size wide): each backdrop lies wholly on the plan, so no export or window
// clips "East", and it still covers the wall it is written into.
TEST(PlanShapesTest, CompassWordsLieOnThePlanAndBreakTheirWalls) {
    const ChapterRoom room;
    const auto shapes = planShapes(room);
    int words = 0;
    for (const PlanShape& s : shapes) {
        if (s.kind != PlanShape::Kind::Word) continue;
        ++words;
        SCOPED_TRACE(s.text);
        const double along = 0.75 * s.font.pixelSize * static_cast<double>(s.text.size()) + 8;
        const double across = 16;
        const bool upright = std::fmod(std::abs(s.angle), 180.0) == 0;
        const double halfW = (upright ? along : across) / 2;
        const double halfH = (upright ? across : along) / 2;
        EXPECT_GE(s.x - halfW, 0);
        EXPECT_LE(s.x + halfW, kPlanWidth);
        EXPECT_GE(s.y - halfH, 0);
        EXPECT_LE(s.y + halfH, kPlanHeight);
        // The wall runs round the plan 3 pixels in, 2 wide; the lowest
        // backdrop, a line of Arial (1.149 of the font size), covers it.
        const double nearest = std::min({s.x, s.y, kPlanWidth - s.x, kPlanHeight - s.y});
        EXPECT_LE(nearest - 1.149 * s.font.pixelSize / 2, 2.0);
    }
    EXPECT_EQ(words, 4);
}

}  // namespace
}  // namespace velistrad
