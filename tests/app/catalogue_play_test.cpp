// All 23 built-in simulations: each plays to its end in the window (that each
// compiles without a message is tested through velistrad-cli). Playback here runs on a clock that
// jumps to every deadline, so the delays in the scripts cost no real time, while the drawing and
// the event handling are the window's own.
#include <cmath>

#include <QCoreApplication>
#include <QFontMetricsF>

#include "app/qt_platform.h"
#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

using CataloguePlayTest = WindowTest;

TEST_F(CataloguePlayTest, EveryEntryLoadsItsScriptCompilesSilentlyAndPlaysToItsEnd) {
    const auto& entries = catalogue();
    ASSERT_EQ(entries.size(), 23u);
    window->simulator().Speed_Click(5);
    for (const CatalogueEntry& entry : entries) {
        SCOPED_TRACE(entry.item);
        setEditorText("MC,XZ,Now");
        playButton()->click();  // someone away from his station
        trigger(qs(entry.item));
        EXPECT_TRUE(allAtStations(window->simulator().room()));
        EXPECT_EQ(editorText(),
                  qs((entry.sharesScriptOf ? entries[entry.sharesScriptOf - 1] : entry).script));

        const long before = scripted.passes;
        playButton()->click();
        EXPECT_GT(scripted.passes - before, 10);
        const Positions shown = positions(window->simulator().room());
        EXPECT_EQ(shown, positions(playedThrough(entry.script)));
        // The last frame's drawing stays: one marker per officer away from his station.
        const Positions home = positions(ChapterRoom());
        std::size_t away = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) away += shown[i] != home[i] ? 1 : 0;
        EXPECT_EQ(window->Figure1()->markers().size(), away);
        EXPECT_FALSE(window->simulator().busy);
    }
    trigger(QStringLiteral("Do_SD_Altar2"));  // in Closing, with the script from Opening
    EXPECT_EQ(editorText(), qs(entries[2].script));
    EXPECT_STREQ(entries[2].item, "Do_SD_Altar");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(PlanView, MarkersHideWhatLiesBeneathButLabelsStayWhole) {
    ChapterRoom room;
    PlanView view(room);
    struct Marker {
        float x, y;  // centre; the label starts 85 twips left, 75 up
        const char* label;
    };
    auto drawn = [&](std::vector<Marker> markers) {
        view.clear();
        int officer = 0;
        for (const Marker& m : markers) view.drawOfficer({officer++, m.label, m.x - 85, m.y - 75});
        view.present();
        return view.grab().toImage();
    };
    auto dark = [](const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 100; };
    // Two officers side by side, 300 twips apart: the second circle reaches
    // into the first label, which is wider than its own circle's right half.
    const Marker mar{1885, 9120, "Mar"}, ch{2185, 9120, "CH"};
    const Officer& officer = room.officer(0);
    const Marker onStation{officer.stationX + 85.0f, officer.stationY + 75.0f, ""};
    const QImage plan = drawn({}), alone = drawn({mar}), pair = drawn({mar, ch}),
                 covered = drawn({onStation});

    // The outline lies 10 pixels (150 twips) from the centre, inside the 2-pixel border.
    const int cx = 2 + 1885 / 15, cy = 2 + 9120 / 15;
    EXPECT_TRUE(dark(alone, cx + 9, cy) || dark(alone, cx + 10, cy) || dark(alone, cx + 11, cy));

    const QFontMetricsF metrics(view.labelFont());
    const QRect label =
        QRectF(QPointF(2 + 1800 / 15.0, 2 + 9045 / 15.0),
               QSizeF(metrics.horizontalAdvance(QStringLiteral("Mar")), metrics.height()))
            .toAlignedRect();
    int ink = 0;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            // The label's own letters, not the plan's lines under it.
            if (!dark(alone, x, y) || dark(plan, x, y)) continue;
            ++ink;
            EXPECT_TRUE(dark(pair, x, y)) << x << "," << y;
        }
    EXPECT_GT(ink, 20);

    // A circle over a station box hides the box's lines and letters: a marker
    // is a token of its own, not a ring around whatever lies beneath.
    const double sx = 2 + onStation.x / 15.0, sy = 2 + onStation.y / 15.0;
    int hidden = 0;
    for (int y = int(sy) - 8; y <= int(sy) + 8; ++y)
        for (int x = int(sx) - 8; x <= int(sx) + 8; ++x) {
            if (std::hypot(x + 0.5 - sx, y + 0.5 - sy) > 8) continue;
            hidden += dark(plan, x, y) ? 1 : 0;
            EXPECT_GT(qGray(covered.pixel(x, y)), 200) << x << "," << y;
        }
    EXPECT_GT(hidden, 5) << "the station box shows under the circle";
}

}  // namespace
}  // namespace velistrad
