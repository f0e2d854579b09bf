// All 23 built-in simulations: each compiles without a message, and each
// plays to its end in the window. Playback here runs on a clock that jumps to
// every deadline, so the delays in the scripts cost no real time, while the
// drawing and the event handling are the window's own.
#include <cmath>

#include <QCoreApplication>
#include <QFontMetricsF>

#include "app/catalogue/catalogue.h"
#include "app/qt_platform.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

class JumpingClock : public Clock, public EventPump {
public:
    double now() override { return m_now; }
    void processEvents(double deadline) override {
        QCoreApplication::processEvents();
        ++passes;
        if (std::isfinite(deadline) && deadline > m_now) m_now = deadline;
    }
    long passes = 0;

private:
    double m_now = 0;
};

TEST(CatalogueScripts, EveryScriptCompilesWithoutAMessage) {
    for (const CatalogueEntry& entry : catalogue()) {
        std::vector<std::string> messages;
        playedThrough(entry.script, &messages);
        EXPECT_TRUE(messages.empty())
            << entry.item << ": " << (messages.empty() ? "" : messages[0]);
    }
}

class CataloguePlayTest : public WindowTest {
protected:
    void SetUp() override {
        clock = &jumping;
        pump = &jumping;
        WindowTest::SetUp();
    }
    JumpingClock jumping;
};

TEST_F(CataloguePlayTest, EveryEntryPlaysToItsEndInTheWindow) {
    window->simulator().Speed_Click(5);
    for (const CatalogueEntry& entry : catalogue()) {
        trigger(QString::fromUtf8(entry.item));
        const long before = jumping.passes;
        child<QPushButton>(QStringLiteral("Simulate"))->click();
        EXPECT_GT(jumping.passes - before, 10) << entry.item;
        const ChapterRoom expected = playedThrough(entry.script);
        const ChapterRoom& shown = window->simulator().room();
        int drawn = 0;
        for (int i = 0; i < kOfficerCount; ++i) {
            EXPECT_EQ(shown.officer(i).curX, expected.officer(i).curX) << entry.item << " " << i;
            EXPECT_EQ(shown.officer(i).curY, expected.officer(i).curY) << entry.item << " " << i;
            drawn += shown.officer(i).atStation() ? 0 : 1;
        }
        // The last frame's drawing stays: one marker per officer away from his station.
        EXPECT_EQ(window->Figure1()->labels().size(), std::size_t(drawn)) << entry.item;
        EXPECT_FALSE(window->simulator().busy);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(PlanView, MarkerIsCentredOnItsLabelInPlanPixels) {
    ChapterRoom room;
    PlanView view(room);
    view.clear();
    view.circle(1885, 9120, 150);
    view.text(1800, 9045, "Mar");
    view.present();
    ASSERT_EQ(view.circles().size(), 1u);
    EXPECT_EQ(view.labels()[0].text, QStringLiteral("Mar"));
    EXPECT_LE(QFontMetricsF(view.labelFont()).height(), 12.5);
    // The plan shows the circle's outline 10 pixels (150 twips) from its centre,
    // inside the 2-pixel border.
    const QImage shot = view.grab().toImage();
    const QPoint centre(2 + 1885 / 15, 2 + 9120 / 15);
    bool outline = false;
    for (int dx = 9; dx <= 11; ++dx)
        outline = outline || qGray(shot.pixel(centre + QPoint(dx, 0))) < 100;
    EXPECT_TRUE(outline);
    view.clear();
    view.present();
    EXPECT_TRUE(view.circles().empty());
}

TEST(PlanView, LabelsStayWholeUnderOutlinesAndNeighbours) {
    // Two officers side by side, 300 twips apart: the second circle reaches
    // into the first label, which is wider than its own circle's right half.
    ChapterRoom room;
    PlanView view(room);
    auto drawn = [&](bool withMarker, bool withNeighbour) {
        view.clear();
        if (withMarker) {
            view.circle(1885, 9120, 150);
            view.text(1800, 9045, "Mar");
        }
        if (withNeighbour) {
            view.circle(2185, 9120, 150);
            view.text(2100, 9045, "CH");
        }
        view.present();
        return view.grab().toImage();
    };
    const QImage plan = drawn(false, false);
    const QImage alone = drawn(true, false);
    const QImage pair = drawn(true, true);
    const QFontMetricsF metrics(view.labelFont());
    const QRect label =
        QRectF(QPointF(2 + 1800 / 15.0, 2 + 9045 / 15.0),
               QSizeF(metrics.horizontalAdvance(QStringLiteral("Mar")), metrics.height()))
            .toAlignedRect();
    int ink = 0;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            // The label's own letters, not the plan's lines under it.
            if (qGray(alone.pixel(x, y)) >= 100 || qGray(plan.pixel(x, y)) < 100) continue;
            ++ink;
            EXPECT_LT(qGray(pair.pixel(x, y)), 100) << x << "," << y;
        }
    EXPECT_GT(ink, 20);

    // A circle over a station box hides the box's lines and letters: a marker
    // is a token of its own, not a ring around whatever lies beneath.
    const Officer& officer = room.officer(0);
    const QPointF centre(2 + (officer.stationX + 85) / 15.0, 2 + (officer.stationY + 75) / 15.0);
    view.clear();
    view.present();
    const QImage bare = view.grab().toImage();
    view.circle(float(officer.stationX + 85), float(officer.stationY + 75), 150);
    view.present();
    const QImage covered = view.grab().toImage();
    int hidden = 0;
    for (int y = int(centre.y()) - 8; y <= int(centre.y()) + 8; ++y)
        for (int x = int(centre.x()) - 8; x <= int(centre.x()) + 8; ++x) {
            if (std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()) > 8) continue;
            hidden += qGray(bare.pixel(x, y)) < 100 ? 1 : 0;
            EXPECT_GT(qGray(covered.pixel(x, y)), 200) << x << "," << y;
        }
    EXPECT_GT(hidden, 5) << "the station box shows under the circle";
}

}  // namespace
}  // namespace velistrad
