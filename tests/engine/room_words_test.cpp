// The room's words: officers' titles, places and routes told as a member
// tells them, and never a coordinate for any officer of any built-in movement.
#include <gtest/gtest.h>

#include <cctype>

#include "engine/officer_part.h"
#include "engine/room_words.h"
#include "engine/simulator.h"
#include "simulations/catalogue.h"
#include "tests/case_file.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

// A number of two digits or more is a coordinate or a count leaking out.
bool holdsANumber(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(text[i])) &&
            std::isdigit(static_cast<unsigned char>(text[i + 1])))
            return true;
    return false;
}

TEST(RoomWordsTest, TitlesWhereTheProgramNamesThemAbbreviationsOtherwise) {
    const std::vector<std::pair<int, std::string>> named = {{0, "Marshal"},
                                                            {1, "Chaplain"},
                                                            {12, "Junior Steward"},
                                                            {13, "Senior Steward"},
                                                            {18, "Treasurer"},
                                                            {19, "Scribe"},
                                                            {20, "Standard Bearer"},
                                                            {21, "Senior Deacon"},
                                                            {2, "1P"},
                                                            {15, "Sen"},
                                                            {10, "SC"}};
    for (const auto& [officer, title] : named) {
        SCOPED_TRACE(officer);
        EXPECT_EQ(officerTitle(officer), title);
    }
    EXPECT_EQ(officerTitleWithAbbreviation(21), "Senior Deacon (SD)");
    EXPECT_EQ(officerTitleWithAbbreviation(19), "Scribe (Scr)");
    EXPECT_EQ(officerTitleWithAbbreviation(2), "1P");
    EXPECT_EQ(officerTitle(22), "");
}

// Columns: officer; x; y; words.
TEST(RoomWordsTest, PlacesByNameOrAShortWayFromTheNearest) {
    const ChapterRoom room;
    FOR_EACH_CASE(c, "room_places.txt", 4) {
        EXPECT_EQ(placeWords(room, static_cast<int>(c.n(0)), static_cast<float>(c.f(1)),
                             static_cast<float>(c.f(2))),
                  c[3]);
    }
}

// Columns: script; officer; entry (0-based); words.
TEST(RoomWordsTest, RoutesAlongTheBandByItsSidesAndElsewhereByTheCompass) {
    FOR_EACH_CASE(c, "room_routes.txt", 4) {
        EXPECT_EQ(entryWords(c[0], c.n(2), static_cast<int>(c.n(1))), c[3]);
    }
}

// Every officer of every built-in movement: his part's words are the words of
// its entries, start where the entry before left him and name only places.
TEST(RoomWordsTest, EveryBuiltInPartIsToldInPlacesOnly) {
    const double medium = speedFrameDelay(3);
    std::size_t told = 0;
    for (const CatalogueEntry& movement : catalogue()) {
        const std::string script = movement.script;
        const auto played = Composed(script).composition;
        ASSERT_TRUE(played) << movement.caption;
        for (int officer = 0; officer < kOfficerCount; ++officer) {
            std::string last = "his station";
            for (const PartStep& step : officerPart(*played, script, officer, medium)) {
                SCOPED_TRACE(movement.caption + std::string(" ") + std::to_string(officer) + " " +
                             step.text);
                EXPECT_FALSE(holdsANumber(step.reading)) << step.reading;
                EXPECT_EQ(step.reading.rfind("from ", 0), 0u) << step.reading;
                EXPECT_EQ(step.reading, entryWords(script, step.entry, officer));
                EXPECT_EQ(step.reading.substr(step.reading.rfind(" to ") + 4),
                          placeWords(ChapterRoom(), officer, step.endX, step.endY));
                ++told;
            }
        }
    }
    EXPECT_GT(told, 100u);
}

}  // namespace
}  // namespace velistrad
