// The timeline under the plan: a slider over the kept run's frames, a
// readout of where it stands, the Playback menu's steps, and the entries of
// the shown frame marked in the editor. The engine answers every question
// (where everyone stands, which entries, what time); this is the glue.
#pragma once

#include <QObject>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QBoxLayout;
class QLabel;
class QMenu;
class QSlider;
class QWidget;

namespace velistrad {

class Clock;
class WindowContext;

class TimelinePanel : public QObject {
    Q_OBJECT

public:
    TimelinePanel(WindowContext& window, Clock& clock);

    // The slider into `planColumn` under the plan, the readout at the foot
    // of `central`, and the steps into the Playback menu.
    void build(QWidget* central, QBoxLayout* planColumn, QMenu* menu);

    // The run, the speed or the shown frame changed.
    void update();
    // A frame was drawn: while a run plays, the readout follows five times a second.
    void frameShown();
    // Shows the kept run at `frames` frames; holds a playing run first.
    void showFrame(std::size_t frames);

signals:
    // After the slider and before the readout follow a change.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void highlightEntries(std::size_t shown);

    WindowContext& m_window;
    Clock& m_clock;
    QSlider* m_slider = nullptr;
    QLabel* m_readout = nullptr;
    std::vector<QAction*> m_actions;
    bool m_settingSlider = false;  // the slider follows the run: not a user's move
    double m_lastUpdate = -1;
    // The script bytes marked in the editor now: re-marking the same ones
    // would repaint the editor for nothing.
    std::vector<std::pair<std::size_t, std::size_t>> m_marked;
    std::string m_markedScript;
};

}  // namespace velistrad
