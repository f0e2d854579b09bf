// The My Simulations menu: its items follow the list of CustomSimulations,
// which asks the questions and keeps custom.sim.
#include <QAction>
#include <QFile>

#include "app/dialogs.h"
#include "app/main_window.h"

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
    m_simulator->Do_Reset_Click();
    // Copied: Reset may run a nested save that changes the list.
    const std::string script = m_custom->simulations()[static_cast<std::size_t>(Index - 1)].script;
    setScriptText(script);
}

void MainWindow::SaveSimulation_Click() {
    const std::optional<std::size_t> saved = m_custom->SaveSimulation(scriptText());
    if (saved) showCustomSim(static_cast<int>(*saved + 1));
}

}  // namespace velistrad
