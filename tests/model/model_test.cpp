// The chapter room's officers and band points, and number text: seven
// significant digits out, leading numbers in, halves to even.
#include <sstream>

#include "model/chapter_room.h"
#include "model/number_text.h"
#include "model/walking_band.h"
#include "tests/model/case_file.h"

namespace velistrad {
namespace {

TEST(Model, Cases) {
    const ChapterRoom room;
    FOR_EACH_CASE(c, "model_cases.txt", 3) {
        if (c[0] == "formatSingle") {
            EXPECT_EQ(formatSingle(c.f(1)), c[2]);
            // Playback reads what the text says, computed without writing it.
            EXPECT_EQ(singleAsWritten(c.f(1)), leadingNumber(c[2]));
            continue;
        }
        if (c[0] != "band") {
            const double got = c[0] == "findofficer"     ? room.findofficer(c[1])
                               : c[0] == "leadingNumber" ? leadingNumber(c[1])
                               : c[0] == "roundHalfEven" ? roundHalfEven(std::stod(c[1]))
                                                         : leadingNumber(formatSingle(c.f(1)));
            EXPECT_EQ(got, std::stod(c[2]));
            continue;
        }
        const int k = room.findofficer(c[1]);
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
