#include "app/export_actions.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressDialog>
#include <QSettings>
#include <QStringList>
#include <QTextEdit>

#include "app/dialogs.h"
#include "app/follow_officer.h"
#include "app/my_simulations.h"
#include "app/plan_view.h"
#include "app/script_editor.h"
#include "app/script_files.h"
#include "app/window_context.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"
#include "page/member_page.h"
#include "render/gif_schedule.h"
#include "simulations/catalogue.h"
#include "simulations/safe_file.h"

namespace velistrad {

namespace {

const QString kSettings = QStringLiteral("velistrad");
const QString kFolderKey = QStringLiteral("exportFolder");
const QString kTitle = QStringLiteral("Export");
const QString kPageFilter = QStringLiteral("Web pages (*.html)");

std::string withoutReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The first message of a script that does not play.
class FirstMessage : public DiagnosticSink {
public:
    void diagnose(const Diagnostic& d) override {
        if (text.empty()) text = d.text;
    }
    std::string text;
};

int speedIndex(double frameDelay) {
    for (int i = 1; i <= 5; ++i)
        if (speedFrameDelay(i) == frameDelay) return i;
    return 3;
}

}  // namespace

ExportActions::ExportActions(WindowContext& window, const FollowOfficer& following,
                             const ScriptFiles& files, const MySimulations& mine)
    : QObject(&window.mainWindow()),
      m_window(window),
      m_following(following),
      m_files(files),
      m_mine(mine) {}

void ExportActions::build(QMenu* file) {
    QMenu* menu = file->addMenu(QStringLiteral("Export"));
    menu->setObjectName(QStringLiteral("M_Export"));
    const auto item = [&](const char* name, const char* caption, auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    item("Export_PlanPdf", "Plan as PDF…", [this] { exportPlanPdf(); });
    item("Export_Png", "Current View as PNG…", [this] { exportView("png"); });
    item("Export_Svg", "Current View as SVG…", [this] { exportView("svg"); });
    m_partSheet = item("Export_PartSheet", "Officer's Part Sheet…", [this] { exportPartSheet(); });
    item("Export_Gif", "Animation as GIF…", [this] { exportAnimation(); });
    menu->addSeparator();
    item("Export_MemberPage", "Member's Page…", [this] { exportMemberPage(); });
    item("Export_MemberBook", "Member's Book…", [this] { exportMemberBook(); });
    connect(menu, &QMenu::aboutToShow, this,
            [this] { m_partSheet->setEnabled(m_following.selected() >= 0); });
}

const CatalogueEntry* ExportActions::shownCatalogueEntry() const {
    const std::string script = withoutReturns(m_window.scriptEditor().text().toStdString());
    for (const CatalogueEntry& e : catalogue())
        if (withoutReturns(e.script) == script) return &e;
    return nullptr;
}

bool ExportActions::nothingToExport(const std::string& why) {
    m_window.dialogs().message(
        QStringLiteral("The script does not play, so there is nothing to export.\n\n") +
            QString::fromStdString(why),
        kTitle, MessageIcon::Exclamation);
    return false;
}

QString ExportActions::simulationName() const {
    if (const CatalogueEntry* e = shownCatalogueEntry())
        return QStringLiteral("%1 - %2").arg(QString::fromUtf8(e->submenu),
                                             QString::fromUtf8(e->caption));
    const std::string script = withoutReturns(m_window.scriptEditor().text().toStdString());
    for (const CustomSimulation& c : m_mine.simulations())
        if (withoutReturns(c.script) == script) return QString::fromStdString(c.name);
    if (!m_files.file().isEmpty()) return QFileInfo(m_files.file()).completeBaseName();
    return QStringLiteral("Simulation");
}

std::optional<ExportRun> ExportActions::currentRun(bool whole) {
    Simulator& simulator = m_window.simulator();
    ExportRun run;
    run.played = simulator.played();
    run.room = m_window.room();
    run.script = m_window.scriptEditor().text().toStdString();
    run.name = simulationName().toStdString();
    run.options = m_following.options();
    run.frameDelay = simulator.frameDelay;
    run.shown = simulator.playedFrames();
    if (!run.played && whole) {
        // Not played yet: the script is composed for the export alone.
        ChapterRoom stations;
        FirstMessage sink;
        run.played = composeScript(stations, run.script, sink);
        if (!run.played) {
            nothingToExport(sink.text);
            return std::nullopt;
        }
        run.shown = run.played->size();
    }
    return run;
}

QString ExportActions::askFile(const QString& title, const QString& extension,
                               const QString& filter, const QString& suggestedName) {
    QSettings settings(kSettings, kSettings);
    QString folder = settings.value(kFolderKey).toString();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder =
            m_files.file().isEmpty() ? QDir::homePath() : QFileInfo(m_files.file()).absolutePath();
    }
    QString name = suggestedName.isEmpty() ? simulationName() : suggestedName;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString suggested = QDir(folder).filePath(name + QLatin1Char('.') + extension);
    QString path = m_window.dialogs().saveFileName(title, suggested, filter);
    if (path.isEmpty()) return {};
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + extension;
    settings.setValue(kFolderKey, QFileInfo(path).absolutePath());
    return path;
}

bool ExportActions::finish(const QString& path, const std::string& error) {
    if (error.empty()) return true;
    m_window.dialogs().message(QStringLiteral("%1 could not be written: %2.")
                                   .arg(QFileInfo(path).fileName(), QString::fromStdString(error)),
                               kTitle, MessageIcon::Exclamation);
    return false;
}

bool ExportActions::exportPlanPdf() {
    std::optional<ExportRun> run = currentRun(true);
    if (!run) return false;
    // On paper every route shows, the followed officer's on top.
    run->options.all = true;
    const QString path = askFile(QStringLiteral("Export Plan as PDF"), QStringLiteral("pdf"),
                                 QStringLiteral("PDF documents (*.pdf)"));
    if (path.isEmpty()) return false;
    return finish(path, writePlanPdf(QFile::encodeName(path).toStdString(), ExportScene(*run),
                                     m_window.planView().markerPainter()));
}

bool ExportActions::exportView(const char* kind) {
    const std::optional<ExportRun> run = currentRun(false);
    if (!run) return false;
    const bool png = qstrcmp(kind, "png") == 0;
    const QString path = png ? askFile(QStringLiteral("Export View as PNG"), QStringLiteral("png"),
                                       QStringLiteral("PNG pictures (*.png)"))
                             : askFile(QStringLiteral("Export View as SVG"), QStringLiteral("svg"),
                                       QStringLiteral("SVG drawings (*.svg)"));
    if (path.isEmpty()) return false;
    const std::string file = QFile::encodeName(path).toStdString();
    MarkerPainter& markers = m_window.planView().markerPainter();
    const ExportScene scene(*run);
    return finish(path, png ? writePng(file, scene, markers) : writeSvg(file, scene, markers));
}

bool ExportActions::exportPartSheet() {
    const int officer = m_following.selected();
    if (officer < 0) {
        m_window.dialogs().message(
            QStringLiteral("Choose an officer first, from the Officer menu or on the plan."),
            kTitle, MessageIcon::None);
        return false;
    }
    const std::optional<ExportRun> run = currentRun(true);
    if (!run) return false;
    const QString who = QString::fromStdString(m_window.room().officer(officer).abbreviation);
    const QString path = askFile(QStringLiteral("Export %1's Part Sheet").arg(who),
                                 QStringLiteral("pdf"), QStringLiteral("PDF documents (*.pdf)"));
    if (path.isEmpty()) return false;
    return finish(path,
                  writePartPdf(QFile::encodeName(path).toStdString(), ExportScene(*run), officer));
}

bool ExportActions::exportAnimation() {
    if (m_busy) return false;
    std::optional<ExportRun> run = currentRun(true);
    if (!run) return false;
    const int officer = m_following.selected();

    // The speed and whether the followed officer is highlighted.
    QDialog options(&m_window.mainWindow());
    options.setWindowTitle(QStringLiteral("Export Animation"));
    auto* form = new QFormLayout(&options);
    auto* speed = new QComboBox(&options);
    speed->setObjectName(QStringLiteral("ExportSpeed"));
    for (int i = 1; i <= 5; ++i) speed->addItem(QString::fromUtf8(speedName(i)));
    speed->setCurrentIndex(speedIndex(run->frameDelay) - 1);
    form->addRow(QStringLiteral("Speed:"), speed);
    QCheckBox* highlight = nullptr;
    if (officer >= 0) {
        highlight = new QCheckBox(&options);
        highlight->setObjectName(QStringLiteral("ExportHighlight"));
        highlight->setText(
            QStringLiteral("Highlight %1 and his route")
                .arg(QString::fromStdString(m_window.room().officer(officer).abbreviation)));
        highlight->setChecked(true);
        form->addRow(highlight);
    }
    auto* note = new QLabel(&options);
    note->setWordWrap(true);
    form->addRow(note);
    const auto explain = [&] {
        const double delay = speedFrameDelay(speed->currentIndex() + 1);
        const double seconds = run->played->timeAt(run->played->size(), gifFramePeriod(delay));
        QString text = QStringLiteral("The animation lasts %1 s.").arg(seconds, 0, 'f', 1);
        if (delay <= 0)
            text += QStringLiteral(
                " At Lightning the frames wait nothing; the animation shows "
                "them at 50 frames a second.");
        note->setText(text);
    };
    explain();
    connect(speed, &QComboBox::currentIndexChanged, &options, explain);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &options);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &options, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &options, &QDialog::reject);
    if (options.exec() != QDialog::Accepted) return false;
    const double delay = speedFrameDelay(speed->currentIndex() + 1);
    run->options =
        officer >= 0 && highlight->isChecked() ? TrailOptions{officer, false} : TrailOptions{};

    const QString path = askFile(QStringLiteral("Export Animation as GIF"), QStringLiteral("gif"),
                                 QStringLiteral("GIF animations (*.gif)"));
    if (path.isEmpty()) return false;
    m_busy = true;
    QProgressDialog progress(QStringLiteral("Writing the animation…"), QStringLiteral("Cancel"), 0,
                             100, &m_window.mainWindow());
    progress.setWindowTitle(QStringLiteral("Export Animation"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    // The window goes on handling events between pictures.
    const auto step = [&](std::size_t done, std::size_t total) {
        progress.setMaximum(static_cast<int>(total));
        progress.setValue(static_cast<int>(done));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    const std::string error = writeGif(QFile::encodeName(path).toStdString(), ExportScene(*run),
                                       delay, m_window.planView().markerPainter(), step);
    m_busy = false;
    return !progress.wasCanceled() && finish(path, error);
}

bool ExportActions::exportMemberPage() {
    PageMovement shown;
    shown.script = m_window.scriptEditor().text().toStdString();
    shown.name = simulationName().toStdString();
    std::string title = shown.name;
    if (const CatalogueEntry* e = shownCatalogueEntry()) {
        shown.group = e->submenu;
        shown.name = e->caption;
        title = std::string(e->submenu) + " > " + e->caption;
    }
    FirstMessage sink;
    const auto page = makeMemberPage(title, {shown}, sink, true);
    if (!page) return nothingToExport(sink.text);
    const QString path =
        askFile(QStringLiteral("Export Member's Page"), QStringLiteral("html"), kPageFilter);
    if (path.isEmpty()) return false;
    return finish(path, replaceFile(QFile::encodeName(path).toStdString(), page->html));
}

bool ExportActions::exportMemberBook() {
    std::vector<PageMovement> mine;
    for (const CustomSimulation& c : m_mine.simulations()) mine.push_back({"", c.name, c.script});
    FirstMessage sink;
    const auto book = makeMemberPage("Velistrad: the movements", memberBook(mine), sink, false);
    const QString path = askFile(QStringLiteral("Export Member's Book"), QStringLiteral("html"),
                                 kPageFilter, QStringLiteral("Velistrad movements"));
    if (path.isEmpty() ||
        !finish(path, replaceFile(QFile::encodeName(path).toStdString(), book->html)))
        return false;
    if (!book->leftOut.empty()) {
        QStringList names;
        for (const std::string& name : book->leftOut) names << QString::fromStdString(name);
        m_window.dialogs().message(
            QStringLiteral("The book was written without these simulations, whose scripts do "
                           "not play: %1.")
                .arg(names.join(QStringLiteral(", "))),
            kTitle, MessageIcon::Exclamation);
    }
    return true;
}

}  // namespace velistrad
