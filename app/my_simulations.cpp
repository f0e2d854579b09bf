#include "app/my_simulations.h"

#include <algorithm>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

#include "app/dialogs.h"
#include "app/manage_dialog.h"
#include "app/window_context.h"
#include "engine/simulator.h"
#include "simulations/script_file.h"

namespace velistrad {

namespace {

// A caption shows "&" literally; the name itself stays as typed.
QString menuCaption(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

void MySimulations::showItem(int index) {
    QAction* item = m_items[static_cast<std::size_t>(index)];
    item->setText(menuCaption(m_list->simulations()[static_cast<std::size_t>(index - 1)].name));
    item->setEnabled(true);
    item->setVisible(true);
}

void MySimulations::showItems() {
    const int count = static_cast<int>(m_list->simulations().size());
    for (int i = 1; i <= static_cast<int>(kMaxCustomSimulations); ++i) {
        if (i <= count) {
            showItem(i);
            continue;
        }
        // As at start-up: "(none)" greyed for an empty list, later items hidden.
        QAction* item = m_items[static_cast<std::size_t>(i)];
        item->setText(i == 1 ? QStringLiteral("(none)") : QString());
        item->setEnabled(false);
        item->setVisible(i == 1 && count == 0);
    }
}

MySimulations::MySimulations(WindowContext& window, const QString& customFile,
                             std::function<bool()> leaveScript)
    : QObject(&window.mainWindow()),
      m_window(window),
      m_customFile(customFile),
      m_leaveScript(std::move(leaveScript)) {}

MySimulations::~MySimulations() = default;

void MySimulations::build(QMenu* menu) {
    QMenu* mine = menu->addMenu(QStringLiteral("My Simulations"));
    mine->setObjectName(QStringLiteral("M_MySimulations"));
    for (int i = 1; i <= 20; ++i) {
        QAction* action = mine->addAction(i == 1 ? QStringLiteral("(none)") : QString());
        action->setObjectName(QStringLiteral("CustomSim(%1)").arg(i));
        action->setEnabled(i != 1);
        action->setVisible(i == 1);
        connect(action, &QAction::triggered, this, [this, i] { load(i); });
        m_items[static_cast<std::size_t>(i)] = action;
    }
}

// After the dialogs it uses: the list may ask questions as it loads.
void MySimulations::loadList() {
    m_list = std::make_unique<CustomSimulations>(m_window.dialogs(),
                                                 QFile::encodeName(m_customFile).toStdString());
    m_list->load();
    for (std::size_t i = 0; i < m_list->simulations().size(); ++i) {
        showItem(static_cast<int>(i + 1));
    }
}

void MySimulations::load(int index) {
    if (index < 1 || index > static_cast<int>(m_list->simulations().size())) return;
    if (!m_leaveScript()) return;
    m_window.simulator().reset();
    // Copied: Reset may run a nested save that changes the list.
    const CustomSimulation chosen = m_list->simulations()[static_cast<std::size_t>(index - 1)];
    m_window.setScriptText(chosen.script);
    m_current = chosen.name;
}

void MySimulations::saveCurrent() {
    // Another window's saves, taken up by this one, show as well.
    const bool known =
        std::any_of(m_list->simulations().begin(), m_list->simulations().end(),
                    [this](const CustomSimulation& s) { return s.name == m_current; });
    const std::optional<std::size_t> saved =
        m_list->saveAs(m_window.scriptText(), known ? m_current : std::string());
    if (!saved) return;
    m_current = m_list->simulations()[*saved].name;
    showItems();
}

void MySimulations::manage() {
    ManageSimulationsDialog dialog(*this, &m_window.mainWindow());
    dialog.exec();
}

bool MySimulations::rename(int index) {
    if (index < 1 || index > static_cast<int>(m_list->simulations().size())) return false;
    const std::string old = m_list->simulations()[static_cast<std::size_t>(index - 1)].name;
    const std::optional<std::string> name = m_window.dialogs().input(
        "Enter the new name for this simulation", "Custom Simulation", old);
    if (!name || !m_list->rename(static_cast<std::size_t>(index - 1), *name)) return false;
    if (m_current == old) m_current = *name;
    showItems();
    return true;
}

bool MySimulations::remove(int index) {
    if (index < 1 || index > static_cast<int>(m_list->simulations().size())) return false;
    const std::string& name = m_list->simulations()[static_cast<std::size_t>(index - 1)].name;
    if (!m_window.dialogs().question("Do you want to delete the simulation \"" + name + "\"?",
                                     "Custom Simulation") ||
        !m_list->remove(static_cast<std::size_t>(index - 1)))
        return false;
    showItems();
    return true;
}

bool MySimulations::move(int index, int to) {
    if (index < 1 || to < 1 ||
        !m_list->move(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(to - 1)))
        return false;
    showItems();
    return true;
}

bool MySimulations::exportFile(int index) {
    if (index < 1 || index > static_cast<int>(m_list->simulations().size())) return false;
    const CustomSimulation& chosen = m_list->simulations()[static_cast<std::size_t>(index - 1)];
    const QString path = m_window.dialogs().saveFileName(
        QStringLiteral("Export Simulation"),
        QString::fromStdString(chosen.name) + QString::fromUtf8(kScriptFileExtension),
        QStringLiteral("Velistrad scripts (*.vsim);;All files (*)"));
    if (path.isEmpty()) return false;
    const std::string error = writeScriptFile(QFile::encodeName(path).toStdString(), chosen.script);
    if (error.empty()) return true;
    m_window.dialogs().message(error, "Custom Simulation", MessageIcon::Exclamation);
    return false;
}

bool MySimulations::importFiles() {
    const QStringList paths = m_window.dialogs().openFileNames(
        QStringLiteral("Import Script Files"),
        QStringLiteral("Velistrad scripts (*.vsim);;All files (*)"), true);
    bool changed = false;
    for (const QString& path : paths) {
        std::string script;
        const std::string error = readScriptFile(QFile::encodeName(path).toStdString(), script);
        if (!error.empty()) {
            m_window.dialogs().message(error, "Custom Simulation", MessageIcon::Exclamation);
            continue;
        }
        // Each refusal (a full list, a name the file cannot keep) is told by the list.
        changed |= m_list->storeImported(QFileInfo(path).completeBaseName().toStdString(), script)
                       .has_value();
    }
    if (changed) showItems();
    return changed;
}

void MySimulations::showLocation() {
    m_window.dialogs().message(
        QStringLiteral("My Simulations are kept in this file:\n%1")
            .arg(QDir::toNativeSeparators(QFileInfo(m_customFile).absoluteFilePath())),
        QStringLiteral("Where My Simulations Are Kept"), MessageIcon::None);
}

}  // namespace velistrad
