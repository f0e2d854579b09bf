#include "app/practice_session.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "app/follow_officer.h"
#include "app/window_context.h"
#include "engine/simulator.h"
#include "simulations/catalogue.h"

namespace velistrad {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

const char* scriptOf(std::size_t movement) {
    const CatalogueEntry& e = catalogue()[movement];
    return e.sharesScriptOf > 0 ? catalogue()[static_cast<std::size_t>(e.sharesScriptOf - 1)].script
                                : e.script;
}

// The officers with at least one entry of their own in a movement.
std::vector<int> officersMoving(std::size_t movement) {
    std::vector<int> out;
    ChapterRoom room;
    struct Quiet : DiagnosticSink {
        void diagnose(const Diagnostic&) override {}
    } quiet;
    const auto played = composeScript(room, scriptOf(movement), quiet);
    if (!played) return out;
    for (int k = 0; k < kOfficerCount; ++k)
        if (!officerPart(*played, scriptOf(movement), k, 0.025).empty()) out.push_back(k);
    return out;
}

constexpr const char* kKnownMark = " \u2713";

}  // namespace

PracticeSession::PracticeSession(WindowContext& window, FollowOfficer& following,
                                 std::function<void(std::size_t)> loadMovement,
                                 const QString& folder)
    : QObject(&window.mainWindow()),
      m_window(window),
      m_following(following),
      m_loadMovement(std::move(loadMovement)),
      m_progress(folder.toStdString()) {
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &PracticeSession::tick);
}

PracticeSession::~PracticeSession() = default;

void PracticeSession::build(QMenu* menu) {
    QAction* start = menu->addAction(QStringLiteral("Practise a Part..."));
    start->setObjectName(QStringLiteral("Practice_Start"));
    connect(start, &QAction::triggered, this, &PracticeSession::choose);
    QAction* stopIt = menu->addAction(QStringLiteral("Stop Practising"));
    stopIt->setObjectName(QStringLiteral("Practice_Stop"));
    connect(stopIt, &QAction::triggered, this, &PracticeSession::stopAndClose);
    buildPanel();
    connect(&m_window.planView(), &PlanView::clicked, this, [this](QPointF pixel) {
        if (!m_asking) return;
        answerAt(static_cast<float>(pixel.x() * kTwipsPerPixel - kMarkerCentreDx),
                 static_cast<float>(pixel.y() * kTwipsPerPixel - kMarkerCentreDy));
    });
    // A record that cannot be read is moved aside; practice goes on without it.
    const std::string note = m_progress.load();
    if (!note.empty()) m_feedback->setText(qs(note));
    markKnownMovements();
}

void PracticeSession::buildPanel() {
    m_dock = new QDockWidget(QStringLiteral("Practice"), &m_window.mainWindow());
    m_dock->setObjectName(QStringLiteral("PracticeDock"));
    auto* content = new QWidget(m_dock);
    auto* layout = new QVBoxLayout(content);
    m_prompt = new QLabel(content);
    m_prompt->setObjectName(QStringLiteral("PracticePrompt"));
    m_prompt->setWordWrap(true);
    QFont big = m_prompt->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_prompt->setFont(big);
    m_choices = new QListWidget(content);
    m_choices->setObjectName(QStringLiteral("PracticeChoices"));
    m_choices->setToolTip(
        QStringLiteral("Click the place on the plan, or pick it here and press Enter"));
    connect(m_choices, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { answerPick(item->text()); });
    m_feedback = new QLabel(content);
    m_feedback->setObjectName(QStringLiteral("PracticeFeedback"));
    m_feedback->setWordWrap(true);
    // Long words wrap in the panel instead of widening it over the plan.
    m_feedback->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_prompt->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_again = new QPushButton(QStringLiteral("Practise these again"), content);
    m_again->setObjectName(QStringLiteral("PracticeAgain"));
    m_again->hide();
    connect(m_again, &QPushButton::clicked, this, &PracticeSession::practiseMissedAgain);
    layout->addWidget(m_prompt);
    layout->addWidget(m_choices, 1);
    layout->addWidget(m_feedback);
    layout->addWidget(m_again);
    m_dock->setWidget(content);
    content->setMinimumWidth(300);
    m_window.mainWindow().addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();
}

void PracticeSession::choose() {
    QDialog dialog(&m_window.mainWindow());
    dialog.setWindowTitle(QStringLiteral("Practise a Part"));
    auto* form = new QFormLayout(&dialog);
    auto* movements = new QComboBox(&dialog);
    movements->setObjectName(QStringLiteral("PracticeMovement"));
    for (std::size_t i = 0; i < kCatalogueSize; ++i) {
        const CatalogueEntry& e = catalogue()[i];
        const std::string name = std::string(e.submenu) + " > " + e.caption;
        movements->addItem(qs(name) +
                           (m_progress.knowsSomePart(name) ? qs(kKnownMark) : QString()));
    }
    auto* officers = new QComboBox(&dialog);
    officers->setObjectName(QStringLiteral("PracticeOfficer"));
    const auto fillOfficers = [&, this](int index) {
        officers->clear();
        const auto movement = static_cast<std::size_t>(index);
        const CatalogueEntry& e = catalogue()[movement];
        const std::string name = std::string(e.submenu) + " > " + e.caption;
        for (const int k : officersMoving(movement)) {
            QString text = qs(officerTitleWithAbbreviation(k));
            const std::string abbreviation = ChapterRoom().officer(k).abbreviation;
            if (const PracticeScore* s = m_progress.score(name, abbreviation))
                text += QStringLiteral(" \u2014 best %1 of %2, %3")
                            .arg(s->right)
                            .arg(s->total)
                            .arg(qs(s->date));
            if (m_progress.known(name, abbreviation)) text += qs(kKnownMark);
            officers->addItem(text, k);
        }
    };
    connect(movements, &QComboBox::currentIndexChanged, &dialog, fillOfficers);
    movements->setCurrentIndex(static_cast<int>(m_movement));
    fillOfficers(movements->currentIndex());
    form->addRow(QStringLiteral("Movement:"), movements);
    form->addRow(QStringLiteral("Officer:"), officers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || officers->currentIndex() < 0) return;
    start(static_cast<std::size_t>(movements->currentIndex()), officers->currentData().toInt());
}

bool PracticeSession::start(std::size_t movement, int officer) {
    if (movement >= kCatalogueSize || !ChapterRoom::isOfficer(officer)) return false;
    stop();
    m_loadMovement(movement);
    Simulator& sim = m_window.simulator();
    if (!sim.prepare()) return false;
    const auto played = sim.played();
    // Kept the open script file instead (the user cancelled leaving it).
    if (played->entrySpans.size() != splitScript(scriptOf(movement)).size()) return false;
    std::vector<PracticeQuestion> questions =
        practiceQuestions(*played, scriptOf(movement), officer, sim.frameDelay);
    if (questions.empty()) return false;
    m_movement = movement;
    m_officer = officer;
    m_trail = officerTrails(*played)[static_cast<std::size_t>(officer)];
    m_round = std::make_unique<PracticeRound>(std::move(questions));
    m_fullRound = true;
    // Following him would show his route before he is asked.
    m_following.select(-1);
    m_following.setClickChooses(false);
    m_window.planView().setOverlay(this);
    m_again->hide();
    m_feedback->clear();
    m_dock->show();
    nextQuestion();
    return true;
}

void PracticeSession::stop() {
    m_timer->stop();
    m_asking = false;
    m_round.reset();
    m_shownRoute.reset();
    m_tick.reset();
    m_choices->clear();
    m_prompt->clear();
    m_following.setClickChooses(true);
    m_window.planView().setOverlay(nullptr);
}

void PracticeSession::stopAndClose() {
    stop();
    m_dock->hide();
}

QString PracticeSession::movementName() const {
    const CatalogueEntry& e = catalogue()[m_movement];
    return qs(std::string(e.submenu) + " > " + e.caption);
}

// Shows the run frame by frame up to `frames` at the current speed, then
// goes on with `then`.
void PracticeSession::playTo(std::size_t frames, void (PracticeSession::*then)()) {
    Simulator& sim = m_window.simulator();
    m_target = frames;
    m_then = then;
    if (frames < sim.playedFrames()) sim.seekTo(frames);  // a step come back: from its start
    tick();
}

void PracticeSession::tick() {
    Simulator& sim = m_window.simulator();
    const auto played = sim.played();
    if (!played || sim.busy) {
        stop();  // Play or Reset took the run over
        return;
    }
    const std::size_t shown = sim.playedFrames();
    if (shown >= m_target) {
        (this->*m_then)();
        return;
    }
    if (sim.frameDelay <= 0) {  // Lightning: there at once
        sim.seekTo(m_target);
        m_timer->start(0);
        return;
    }
    sim.seekTo(shown + 1);
    const Frame& f = played->frame(shown);
    // A long pause is cut short: nobody practising wants to watch it.
    const double wait = f.isDelay() ? std::min(played->delaySeconds(f), 2.0) : sim.frameDelay;
    m_timer->start(static_cast<int>(std::max(0.0, wait) * 1000));
}

void PracticeSession::nextQuestion() {
    if (!m_round || m_round->finished()) {
        finish();
        return;
    }
    playTo(m_round->current().step.firstFrame, &PracticeSession::ask);
}

void PracticeSession::ask() {
    const PracticeQuestion& q = m_round->current();
    m_asking = true;
    m_prompt->setText(qs(practicePrompt(m_officer)));
    m_choices->clear();
    for (const std::string& name : answerChoices(ChapterRoom(), m_officer, q))
        m_choices->addItem(qs(name));
    m_choices->setCurrentRow(0);
    m_choices->setFocus();
    m_window.planView().update();
}

void PracticeSession::answerAt(float x, float y) {
    if (!m_asking) return;
    answered(rightClick(m_round->current(), x, y));
}

void PracticeSession::answerPick(const QString& name) {
    if (!m_asking) return;
    answered(rightPick(m_round->current(), name.toStdString()));
}

void PracticeSession::answered(bool right) {
    m_asking = false;
    const PracticeQuestion& q = m_round->current();
    m_choices->clear();
    m_shownRoute.reset();
    m_tick.reset();
    if (right) {
        m_tick = markerCentre(q.step.endX, q.step.endY);
        m_feedback->setText(QStringLiteral("\u2713 Right: %1.").arg(qs(q.place)));
    } else {
        // His true route for this step, drawn while it plays.
        std::vector<QPointF> route;
        for (const TrailPoint& p : m_trail) {
            if (p.frame <= q.step.firstFrame)
                route.assign(1, markerCentre(p.x, p.y));
            else if (p.frame <= q.step.lastFrame + 1)
                route.push_back(markerCentre(p.x, p.y));
        }
        m_shownRoute = route;
        m_feedback->setText(QStringLiteral("\u2717 Not there. He goes %1. This step comes back "
                                           "at the end.")
                                .arg(qs(q.step.reading)));
    }
    const std::size_t end = q.step.lastFrame + 1;
    m_round->answer(right);
    m_window.planView().update();
    playTo(end, &PracticeSession::nextQuestion);
}

void PracticeSession::finish() {
    m_timer->stop();
    m_asking = false;
    m_prompt->setText(QStringLiteral("Round finished"));
    const std::vector<PracticeQuestion> missed = m_round->missed();
    QString text = QStringLiteral("%1 of %2 right at the first try.")
                       .arg(m_round->rightFirstTime())
                       .arg(m_round->questionCount());
    if (!missed.empty()) {
        text += QStringLiteral("\n\nMissed:");
        for (const PracticeQuestion& q : missed)
            text += QStringLiteral("\n\u2022 %1 \u2014 %2").arg(qs(q.step.text), qs(q.place));
    }
    if (m_fullRound) {
        const std::string problem = m_progress.record(
            movementName().toStdString(), ChapterRoom().officer(m_officer).abbreviation,
            m_round->rightFirstTime(), m_round->questionCount(),
            QDate::currentDate().toString(Qt::ISODate).toStdString());
        if (!problem.empty())
            text += QStringLiteral("\n\nThe score was not kept: %1").arg(qs(problem));
        markKnownMovements();
    }
    m_feedback->setText(text);
    m_again->setVisible(!missed.empty());
    m_window.planView().update();
}

void PracticeSession::practiseMissedAgain() {
    if (!m_round) return;
    std::vector<PracticeQuestion> missed = m_round->missed();
    if (missed.empty()) return;
    m_round = std::make_unique<PracticeRound>(std::move(missed));
    m_fullRound = false;
    m_again->hide();
    m_feedback->clear();
    m_shownRoute.reset();
    m_tick.reset();
    nextQuestion();
}

// The built-in movements of which he knows some officer's part carry a tick.
void PracticeSession::markKnownMovements() {
    for (const CatalogueEntry& e : catalogue()) {
        auto* action = m_window.mainWindow().findChild<QAction*>(QString::fromUtf8(e.item));
        if (action == nullptr) continue;
        const std::string name = std::string(e.submenu) + " > " + e.caption;
        const bool known = m_progress.knowsSomePart(name);
        QString text = QString::fromUtf8(e.caption);
        if (known) text += qs(kKnownMark);
        if (action->text() != text) action->setText(text);
    }
}

void PracticeSession::paintUnder(QPainter& painter) {
    if (!m_shownRoute || m_shownRoute->size() < 2) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(m_shownRoute->data(), static_cast<int>(m_shownRoute->size()));
    painter.restore();
}

void PracticeSession::paintOver(QPainter& painter) {
    if (!m_tick) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 150, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = *m_tick + QPointF(14, -14);
    painter.drawPolyline(QPolygonF({c + QPointF(-7, 0), c + QPointF(-2, 6), c + QPointF(8, -8)}));
    painter.restore();
}

std::optional<QRectF> PracticeSession::changedArea() {
    const bool same = m_presented.first == m_shownRoute && m_presented.second == m_tick;
    m_presented = {m_shownRoute, m_tick};
    return same ? std::optional<QRectF>(QRectF()) : std::nullopt;
}

}  // namespace velistrad
