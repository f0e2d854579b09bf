// Practising a part in the main window: the Practice menu, the choice of a
// movement and an officer, and a round in which the run plays up to each of
// his entries and holds while the learner shows where he goes, by a click on
// the plan or by picking a place from a short list. Right: a tick, and the
// entry plays. Wrong: his true route is drawn and played, and the step comes
// back at the end. Finished rounds go into the learner's practice record,
// and the Simulations menu marks the movements he knows.
//
// The questions, the marking and the record are the core's; this class only
// shows them. It reaches the window through its public face: the simulator,
// the plan and choosing a built-in simulation.
#pragma once

#include <QObject>
#include <QPointF>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/plan_view.h"
#include "engine/practice.h"
#include "simulations/practice_progress.h"

class QDockWidget;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;

namespace velistrad {

class FollowOfficer;
class WindowContext;

class PracticeSession : public QObject, public PlanOverlay {
    Q_OBJECT

public:
    // The practice record is kept in `folder`; `loadMovement` puts built-in
    // movement n (0-based) in the editor, as its menu item does.
    PracticeSession(WindowContext& window, FollowOfficer& following,
                    std::function<void(std::size_t)> loadMovement, const QString& folder);
    ~PracticeSession() override;

    // Fills the Practice menu and marks the movements already known.
    void build(QMenu* menu);

    // Starts a round of built-in movement `movement` (0-based) for
    // `officer`; false when he has no entry in it.
    bool start(std::size_t movement, int officer);
    void stop();
    void stopAndClose();  // Practice > Stop Practising: the panel goes too
    bool asking() const { return m_asking; }
    bool running() const { return m_round != nullptr; }
    const PracticeRound* round() const { return m_round.get(); }
    // The learner's answers: a place on the plan (twips), or a name from the list.
    void answerAt(float x, float y);
    void answerPick(const QString& name);
    void practiseMissedAgain();
    const PracticeProgress& progress() const { return m_progress; }

    void paintUnder(QPainter& painter) override;
    void paintOver(QPainter& painter) override;
    // His route and tick stay put while a step plays: a frame changes
    // nothing of them unless they changed since the frame before.
    std::optional<QRectF> changedArea() override;

private:
    void choose();  // the dialog of movement and officer
    void buildPanel();
    void playTo(std::size_t frames, void (PracticeSession::*then)());
    void tick();
    void ask();
    void answered(bool right);
    void nextQuestion();
    void finish();
    void markKnownMovements();
    QString movementName() const;

    WindowContext& m_window;
    FollowOfficer& m_following;
    std::function<void(std::size_t)> m_loadMovement;
    PracticeProgress m_progress;
    std::size_t m_movement = 0;
    int m_officer = -1;
    std::unique_ptr<PracticeRound> m_round;
    bool m_fullRound = false;  // all his steps: recorded when finished
    bool m_asking = false;
    std::vector<TrailPoint> m_trail;                   // his whole route in the run
    std::optional<std::vector<QPointF>> m_shownRoute;  // plan pixels of a missed step
    std::optional<QPointF> m_tick;                     // where a right answer was
    std::pair<decltype(m_shownRoute), decltype(m_tick)> m_presented;  // at the last frame
    std::size_t m_target = 0;
    void (PracticeSession::*m_then)() = nullptr;

    QTimer* m_timer = nullptr;
    QDockWidget* m_dock = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_feedback = nullptr;
    QListWidget* m_choices = nullptr;
    QPushButton* m_again = nullptr;
};

}  // namespace velistrad
