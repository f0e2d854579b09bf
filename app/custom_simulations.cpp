// The My Simulations menu: its items follow the list of CustomSimulations,
// which asks the questions and keeps custom.sim.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/manage_dialog.h"
#include "simulations/script_file.h"

namespace velistrad {

namespace {

// A caption shows "&" literally; the name itself stays as typed.
QString menuCaption(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

void MainWindow::showCustomSim(int Index) {
    QAction* item = m_customSim[static_cast<std::size_t>(Index)];
    item->setText(menuCaption(m_custom->simulations()[static_cast<std::size_t>(Index - 1)].name));
    item->setEnabled(true);
    item->setVisible(true);
}

void MainWindow::showCustomSims() {
    const int count = static_cast<int>(m_custom->simulations().size());
    for (int i = 1; i <= static_cast<int>(kMaxCustomSimulations); ++i) {
        if (i <= count) {
            showCustomSim(i);
            continue;
        }
        // As at start-up: "(none)" greyed for an empty list, later items hidden.
        QAction* item = m_customSim[static_cast<std::size_t>(i)];
        item->setText(i == 1 ? QStringLiteral("(none)") : QString());
        item->setEnabled(false);
        item->setVisible(i == 1 && count == 0);
    }
}

void MainWindow::loadcustom() {
    m_custom = std::make_unique<CustomSimulations>(*m_dialogs,
                                                   QFile::encodeName(m_customFile).toStdString());
    m_custom->loadcustom();
    for (std::size_t i = 0; i < m_custom->simulations().size(); ++i) {
        showCustomSim(static_cast<int>(i + 1));
    }
}

void MainWindow::CustomSim_Click(int Index) {
    if (Index < 1 || Index > static_cast<int>(m_custom->simulations().size())) return;
    if (!leaveScriptFile()) return;
    m_simulator->Do_Reset_Click();
    // Copied: Reset may run a nested save that changes the list.
    const std::string script = m_custom->simulations()[static_cast<std::size_t>(Index - 1)].script;
    setScriptText(script);
}

void MainWindow::SaveSimulation_Click() {
    // Another window's saves, taken up by this one, show as well.
    if (m_custom->SaveSimulation(scriptText())) showCustomSims();
}

void MainWindow::ManageSimulations_Click() {
    ManageSimulationsDialog dialog(*this);
    dialog.exec();
}

bool MainWindow::renameCustomSim(int Index) {
    if (Index < 1 || Index > static_cast<int>(m_custom->simulations().size())) return false;
    const std::optional<std::string> name =
        m_dialogs->input("Enter the new name for this simulation", "Custom Simulation");
    if (!name || !m_custom->rename(static_cast<std::size_t>(Index - 1), *name)) return false;
    showCustomSims();
    return true;
}

bool MainWindow::deleteCustomSim(int Index) {
    if (Index < 1 || Index > static_cast<int>(m_custom->simulations().size())) return false;
    const std::string& name = m_custom->simulations()[static_cast<std::size_t>(Index - 1)].name;
    if (!m_dialogs->question("Do you want to delete the simulation \"" + name + "\"?",
                             "Custom Simulation") ||
        !m_custom->remove(static_cast<std::size_t>(Index - 1)))
        return false;
    showCustomSims();
    return true;
}

bool MainWindow::moveCustomSim(int Index, int to) {
    if (Index < 1 || to < 1 ||
        !m_custom->move(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(to - 1)))
        return false;
    showCustomSims();
    return true;
}

bool MainWindow::exportCustomSim(int Index) {
    if (Index < 1 || Index > static_cast<int>(m_custom->simulations().size())) return false;
    const CustomSimulation& chosen = m_custom->simulations()[static_cast<std::size_t>(Index - 1)];
    const QString path = m_dialogs->saveFileName(
        QStringLiteral("Export Simulation"),
        QString::fromStdString(chosen.name) + QString::fromUtf8(kScriptFileExtension),
        QStringLiteral("Velistrad scripts (*.vsim);;All files (*)"));
    if (path.isEmpty()) return false;
    const std::string error = writeScriptFile(QFile::encodeName(path).toStdString(), chosen.script);
    if (error.empty()) return true;
    m_dialogs->message(error, "Custom Simulation", MessageIcon::Exclamation);
    return false;
}

bool MainWindow::importScriptFiles() {
    const QStringList paths =
        m_dialogs->openFileNames(QStringLiteral("Import Script Files"),
                                 QStringLiteral("Velistrad scripts (*.vsim);;All files (*)"), true);
    bool changed = false;
    for (const QString& path : paths) {
        std::string script;
        const std::string error = readScriptFile(QFile::encodeName(path).toStdString(), script);
        if (!error.empty()) {
            m_dialogs->message(error, "Custom Simulation", MessageIcon::Exclamation);
            continue;
        }
        // Each refusal (a full list, a name the file cannot keep) is told by the list.
        changed |=
            m_custom->store(QFileInfo(path).completeBaseName().toStdString(), script).has_value();
    }
    if (changed) showCustomSims();
    return changed;
}

void MainWindow::Help_Location_Click() {
    m_dialogs->message(
        QStringLiteral("My Simulations are kept in this file:\n%1")
            .arg(QDir::toNativeSeparators(QFileInfo(m_customFile).absoluteFilePath())),
        QStringLiteral("Where My Simulations Are Kept"), MessageIcon::None);
}

}  // namespace velistrad
