#include "app/follow_officer.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineF>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/editor_assist.h"
#include "app/label_text.h"
#include "app/script_editor.h"
#include "app/timeline_panel.h"
#include "app/window_context.h"
#include "engine/room_words.h"
#include "engine/simulator.h"
#include "render/plan_picture.h"
#include "render/route_legend.h"

namespace velistrad {

namespace {

QString seconds(double s) {
    return QString::number(s, 'f', 1) + QStringLiteral(" s");
}

}  // namespace

FollowOfficer::FollowOfficer(WindowContext& window, TimelinePanel& timeline, EditorAssist& assist)
    : QObject(&window.mainWindow()), m_window(window), m_timeline(timeline), m_assist(assist) {}

void FollowOfficer::build(QMenu* menu) {
    auto* group = new QActionGroup(this);
    for (int k = -1; k < kOfficerCount; ++k) {
        const QString caption = k < 0 ? QStringLiteral("None")
                                      : QString::fromStdString(officerTitleWithAbbreviation(k));
        QAction* action = menu->addAction(caption);
        action->setObjectName(k < 0 ? QStringLiteral("Officer_None")
                                    : QStringLiteral("Officer(%1)").arg(k));
        action->setCheckable(true);
        action->setChecked(k < 0);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, k] { select(k); });
        m_choices[static_cast<std::size_t>(k + 1)] = action;
        if (k < 0) menu->addSeparator();
    }
    menu->addSeparator();
    m_allTrails = menu->addAction(QStringLiteral("Show All Trails"));
    m_allTrails->setObjectName(QStringLiteral("Officer_AllTrails"));
    m_allTrails->setCheckable(true);
    connect(m_allTrails, &QAction::triggered, this, &FollowOfficer::showAllTrails);

    buildPanel();
    QAction* panel = m_dock->toggleViewAction();
    panel->setText(QStringLiteral("Part Panel"));
    panel->setObjectName(QStringLiteral("Officer_PartPanel"));
    menu->addAction(panel);

    connect(&m_window.planView(), &PlanView::clicked, this, [this](QPointF pixel) {
        const int k = m_clickChooses ? officerAt(pixel) : -1;
        if (k >= 0) select(k);
    });
}

void FollowOfficer::buildPanel() {
    m_dock = new QDockWidget(QStringLiteral("Officer's Part"), &m_window.mainWindow());
    m_dock->setObjectName(QStringLiteral("OfficerPartDock"));
    m_dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* content = new QWidget(m_dock);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    m_chooser = new QComboBox(content);
    m_chooser->setObjectName(QStringLiteral("OfficerChooser"));
    m_chooser->addItem(QStringLiteral("None"));
    for (int k = 0; k < kOfficerCount; ++k)
        m_chooser->addItem(QString::fromStdString(officerTitleWithAbbreviation(k)));
    connect(m_chooser, &QComboBox::activated, this, [this](int index) { select(index - 1); });
    m_list = new QTreeWidget(content);
    m_list->setObjectName(QStringLiteral("OfficerPartList"));
    m_list->setRootIsDecorated(false);
    m_list->setMinimumWidth(420);
    // The words of a long walk are broken into lines as wide as their
    // column, again whenever it changes, rather than being cut short.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->header()->setStretchLastSection(true);
    connect(m_list->header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == 3) wrapWords();
    });
    m_list->setHeaderLabels({QStringLiteral("Start"), QStringLiteral("End"),
                             QStringLiteral("Entry"), QStringLiteral("Goes")});
    m_list->setToolTip(QStringLiteral(
        "The entries of the script that move him, in playing order, with their times at the "
        "current speed; click one to move the timeline to its start"));
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        goToStep(static_cast<std::size_t>(m_list->indexOfTopLevelItem(item)));
    });
    layout->addWidget(m_chooser);
    layout->addWidget(m_list);
    m_dock->setWidget(content);
    m_dock->resize(420, 300);
    m_status = new QLabel(&m_window.mainWindow());
    m_status->setObjectName(QStringLiteral("PartStatus"));
    m_status->setToolTip(QStringLiteral("Where the followed officer's entry takes him"));
    // It takes what room is left, leaving the entry under the cursor whole.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_window.mainWindow().statusBar()->addWidget(m_status, 1);
    m_status->hide();
    m_window.mainWindow().addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();
}

void FollowOfficer::select(int officer) {
    if (!ChapterRoom::isOfficer(officer)) officer = -1;
    if (officer >= 0 && !m_panelShown) {
        m_panelShown = true;
        if (!m_dock->isVisible()) makeRoomForPanel();
        m_dock->show();
    }
    if (officer == m_options.selected) {
        showChoice();
        return;
    }
    m_options.selected = officer;
    m_played.reset();  // the routes are worked out again for the new choice
    refresh();
}

// The panel comes beside the plan, not out of it: a window that is not
// maximised grows by the panel's width, as far as the screen has room.
void FollowOfficer::makeRoomForPanel() {
    if (m_window.mainWindow().isMaximized() || m_window.mainWindow().isFullScreen() ||
        m_window.mainWindow().screen() == nullptr)
        return;
    const int room = m_window.mainWindow().screen()->availableGeometry().width() - 16;
    const int wanted = m_window.mainWindow().width() + m_dock->sizeHint().width() + 6;
    if (std::min(wanted, room) > m_window.mainWindow().width())
        m_window.mainWindow().resize(std::min(wanted, room), m_window.mainWindow().height());
}

void FollowOfficer::showAllTrails(bool all) {
    if (all == m_options.all) return;
    m_options.all = all;
    m_played.reset();
    refresh();
}

void FollowOfficer::refresh() {
    Simulator& sim = m_window.simulator();
    // The routes and part of a script since edited are not this script's.
    const std::shared_ptr<const PlayedTimeline> played =
        sim.timelineOutdated() ? nullptr : sim.played();
    const double delay = sim.framePeriod();
    bool changed = false;
    if (played != m_played || m_trails.options() != m_options) {
        m_played = played;
        m_trails = TrailScene(
            played && m_options.any() ? officerTrails(*played) : std::vector<Trail>(), m_options);
        m_partDelay = -1;
        m_presented.reset();
        changed = true;
    }
    if (delay != m_partDelay) {
        m_partDelay = delay;
        m_part.clear();
        if (played && m_options.selected >= 0)
            m_part = officerPart(*played, m_window.scriptEditor().text().toStdString(),
                                 m_options.selected, delay);
        showPart();
    }
    if (changed) showChoice();
    showStepInStatus();
}

// While he is followed the status bar tells his entry in words: the one
// playing, or the last one played.
void FollowOfficer::showStepInStatus() {
    const std::size_t shown = m_window.simulator().playedFrames();
    const PartStep* now = nullptr;
    for (const PartStep& step : m_part)
        if (step.firstFrame < shown) now = &step;
    m_status->setVisible(now != nullptr);
    if (now == nullptr) return;
    m_status->setText(labelText(officerTitle(m_options.selected) + ": " + now->reading));
}

void FollowOfficer::showChoice() {
    m_choices[static_cast<std::size_t>(m_options.selected + 1)]->setChecked(true);
    m_allTrails->setChecked(m_options.all);
    m_chooser->setCurrentIndex(m_options.selected + 1);
    m_window.planView().setOverlay(m_options.any() ? this : nullptr);
}

void FollowOfficer::showPart() {
    m_list->clear();
    for (const PartStep& step : m_part) {
        auto* item = new QTreeWidgetItem(
            m_list, {seconds(step.start), seconds(step.end), labelText(step.text)});
        item->setData(3, Qt::UserRole, labelText(step.reading));
        item->setToolTip(3, labelText(step.reading));
        item->setToolTip(2, QStringLiteral("Entry %1 of the script").arg(step.entry + 1));
    }
    for (int c = 0; c < 3; ++c) m_list->resizeColumnToContents(c);
    wrapWords();
}

void FollowOfficer::wrapWords() {
    const QFontMetrics metrics(m_list->font());
    const int width = std::max(m_list->header()->sectionSize(3) - 12, 120);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const QStringList words = item->data(3, Qt::UserRole).toString().split(QLatin1Char(' '));
        QString text;
        QString line;
        for (const QString& word : words) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                text += line + QLatin1Char('\n');
                line = word;
            } else {
                line = longer;
            }
        }
        text += line;
        if (item->text(3) != text) item->setText(3, text);
    }
}

void FollowOfficer::goToStep(std::size_t row) {
    if (row >= m_part.size() || !m_played) return;
    const PartStep& step = m_part[row];
    m_timeline.showFrame(step.firstFrame + 1);
    m_assist.selectEntry(m_window.scriptText(), step.entry + 1);
}

int FollowOfficer::officerAt(QPointF pixel) const {
    const ChapterRoom& room = m_window.room();
    const double radius = kMarkerRadius / kTwipsPerPixel + 1;
    // Later markers lie over earlier ones.
    for (int k = kOfficerCount - 1; k >= 0; --k) {
        const Officer& o = room.officer(k);
        if (!o.atStation() && QLineF(markerCentre(o.curX, o.curY), pixel).length() <= radius)
            return k;
    }
    for (int k = 0; k < kOfficerCount; ++k) {
        const Officer& o = room.officer(k);
        const QPointF station =
            markerCentre(static_cast<float>(o.stationX), static_cast<float>(o.stationY));
        if (o.atStation() && std::abs(pixel.x() - station.x()) <= 12 &&
            std::abs(pixel.y() - station.y()) <= 8)
            return k;
    }
    return -1;
}

bool FollowOfficer::routesOfThisRun() const {
    // A run just composed has its routes worked out at the next refresh.
    return m_played && m_window.simulator().played() == m_played;
}

void FollowOfficer::paintUnder(QPainter& painter) {
    if (!routesOfThisRun()) return;
    // A frame repaints a few patches: routes that reach none are left out.
    m_trails.paintRoutes(painter, m_window.room(), m_window.simulator().playedFrames(),
                         painter.clipBoundingRect());
}

void FollowOfficer::paintOver(QPainter& painter) {
    m_trails.paintRing(painter, m_window.room(), painter.clipBoundingRect());
    // Which colour is whom, while every route shows.
    if (m_options.all && routesOfThisRun())
        paintRouteLegend(painter, m_window.room(), m_trails.drawn());
}

std::optional<QRectF> FollowOfficer::changedArea() {
    const ChapterRoom& room = m_window.room();
    const std::size_t shown = m_window.simulator().playedFrames();
    std::optional<QRectF> area;
    // Routes not yet worked out for the run playing: all of the plan.
    if (m_presented && routesOfThisRun())
        area = m_trails.changed(m_presented->room, m_presented->shown, room, shown);
    m_presented = Presented{room, shown};
    return area;
}

}  // namespace velistrad
