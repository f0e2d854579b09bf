// The chapter room: officers found by their keys, and each officer's point on
// the walking band and the way he returns from it. The rows are those of
// model_cases.txt about the room.
#include "model/chapter_room.h"

#include <gtest/gtest.h>

#include <sstream>

#include "model/walking_band.h"
#include "tests/case_file.h"

namespace velistrad {
namespace {

TEST(ChapterRoom, Cases) {
    const ChapterRoom room;
    FOR_EACH_CASE(c, "model_cases.txt", 3) {
        if (c[0] == "findOfficer") {
            EXPECT_EQ(room.findOfficer(c[1]), std::stoi(c[2]));
            continue;
        }
        if (c[0] != "band") continue;
        const int k = room.findOfficer(c[1]);
        ASSERT_GE(k, 0);
        const BandPoint z = bandPoint(room, k);
        std::ostringstream shown;
        shown << room.officer(k).abbreviation << ' ' << z.group << ' ' << z.x << ' ' << z.y;
        EXPECT_EQ(shown.str(), c[2]);
        EXPECT_EQ(returnsAlongXFirst(room, k), z.group <= 3);
    }
}

}  // namespace
}  // namespace velistrad
