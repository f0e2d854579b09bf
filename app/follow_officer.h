// Following one officer in the main window: choosing him (a click on his
// marker or his station, the Officer menu, the part panel's list), his ring
// and route on the plan, every route on request, and the part panel that
// lists the entries that move him. With nobody followed and the routes off,
// the plan is drawn as it always was.
#pragma once

#include <QObject>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/plan_view.h"
#include "engine/officer_part.h"
#include "model/chapter_room.h"
#include "render/trail_painter.h"

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QTreeWidget;

namespace velistrad {

class EditorAssist;
class TimelinePanel;
class WindowContext;
class PlayedTimeline;

class FollowOfficer : public QObject, public PlanOverlay {
    Q_OBJECT

public:
    // Moves the timeline and selects entries through the two parts given.
    FollowOfficer(WindowContext& window, TimelinePanel& timeline, EditorAssist& assist);

    // Fills the Officer menu and adds the part panel, hidden, to the window.
    void build(QMenu* menu);

    // -1: nobody. Shows the part panel the first time someone is chosen.
    void select(int officer);
    int selected() const { return m_options.selected; }
    void showAllTrails(bool all);
    // Whether a click on the plan chooses the officer under it (not while
    // the plan is asked where someone goes).
    void setClickChooses(bool chooses) { m_clickChooses = chooses; }
    const TrailOptions& options() const { return m_options; }

    // The run, the speed or the script changed: routes and part follow.
    void refresh();
    const std::vector<PartStep>& part() const { return m_part; }
    // The officer whose marker, or whose station when he is at home, lies
    // under a point of the plan (plan pixels); -1 when none does.
    int officerAt(QPointF pixel) const;
    // Moves the timeline to the start of the part's step `row` and marks its
    // entry in the editor.
    void goToStep(std::size_t row);

    void paintUnder(QPainter& painter) override;
    void paintOver(QPainter& painter) override;
    // What his ring and the routes changed since the frame presented last.
    std::optional<QRectF> changedArea() override;

private:
    void buildPanel();
    void makeRoomForPanel();
    void showPart();
    void showChoice();  // menu, list and plan agree with m_options
    void showStepInStatus();
    void wrapWords();              // the Goes column's words in lines as wide as it
    bool routesOfThisRun() const;  // m_trails are of the run the simulator holds

    WindowContext& m_window;
    TimelinePanel& m_timeline;
    EditorAssist& m_assist;
    TrailOptions m_options;
    std::shared_ptr<const PlayedTimeline> m_played;  // the routes are of this run
    TrailScene m_trails;
    // The room and frame count the plan was last presented with, for these
    // routes; none when they have not been presented yet.
    struct Presented {
        ChapterRoom room;
        std::size_t shown = 0;
    };
    std::optional<Presented> m_presented;
    std::vector<PartStep> m_part;
    double m_partDelay = -1;  // the frame period the part's times are at
    bool m_panelShown = false;
    bool m_clickChooses = true;

    std::array<QAction*, kOfficerCount + 1> m_choices{};  // None, then officer 0..21
    QAction* m_allTrails = nullptr;
    QDockWidget* m_dock = nullptr;
    QComboBox* m_chooser = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace velistrad
