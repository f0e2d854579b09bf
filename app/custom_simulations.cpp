// The My Simulations menu and custom.sim: loading at start-up, choosing one,
// and saving the editor's script under a name. The file format itself lives
// in customfile/; here are the menu, the questions and the file access.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/dialogs.h"
#include "app/main_window.h"

namespace velistrad {

namespace {

const QString kCustomTitle = QStringLiteral("Custom Simulation");

// A caption shows "&" literally; the name itself stays as typed.
QString menuCaption(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

void MainWindow::showCustomSim(int Index) {
    QAction* item = m_customSim[static_cast<std::size_t>(Index)];
    item->setText(menuCaption(m_custom[static_cast<std::size_t>(Index - 1)].name));
    item->setEnabled(true);
    item->setVisible(true);
}

void MainWindow::loadcustom() {
    // A missing or unreadable file is no error: the menu keeps "(none)".
    QFile file(m_customFile);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray bytes = file.readAll();
    file.close();

    const CustomFileContents contents = parseCustomFile(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    m_custom = contents.simulations;
    for (std::size_t i = 0; i < m_custom.size(); ++i) showCustomSim(static_cast<int>(i + 1));
    if (contents.tooMany)
        m_dialogs->message(QStringLiteral("Only 20 custom simulations are allowed.  The first 20 "
                                          "have been loaded, and the others will be ignored."),
                           QStringLiteral("Too many simulations"), MessageIcon::Exclamation);
}

void MainWindow::CustomSim_Click(int Index) {
    if (Index < 1 || Index > static_cast<int>(m_custom.size())) return;
    m_simulator->Do_Reset_Click();
    // Copied: Reset may run a nested save that changes the list.
    const std::string script = m_custom[static_cast<std::size_t>(Index - 1)].script;
    setScriptText(script);
}

void MainWindow::SaveSimulation_Click() {
    // Taken as typed: no trimming, and an empty answer is a name too.
    const std::string name =
        m_dialogs->input(QStringLiteral("Enter the name for this simulation"), kCustomTitle)
            .toStdString();

    std::size_t target = m_custom.size();  // none
    for (std::size_t i = 0; i < m_custom.size(); ++i) {
        if (m_custom[i].name != name) continue;
        if (!m_dialogs->question(
                QStringLiteral("Do you want to overwrite the simulation with the same name?"),
                QStringLiteral("Name already taken")))
            return;
        target = i;
    }

    if (target < m_custom.size()) {
        m_custom[target].script = scriptText();
    } else if (m_custom.size() >= kMaxCustomSimulations) {
        m_dialogs->message(QStringLiteral("There is room for 20 custom simulations only. Save this "
                                          "one under the name of an existing simulation to "
                                          "replace it."),
                           kCustomTitle, MessageIcon::Exclamation);
        return;
    } else {
        m_custom.push_back({name, scriptText()});
        showCustomSim(static_cast<int>(m_custom.size()));
    }
    writecustom();
}

void MainWindow::writecustom() {
    // Written whole and swapped in at commit, so a failed save leaves the old
    // file; only a writable custom.sim in a folder that takes no new files is
    // written in place.
    QSaveFile file(m_customFile);
    file.setDirectWriteFallback(true);
    const std::string bytes = serializeCustomFile(m_custom);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (file.commit()) return;
    }
    m_dialogs->message(QStringLiteral("The custom simulations could not be saved to %1:\n%2")
                           .arg(QDir::toNativeSeparators(m_customFile), file.errorString()),
                       kCustomTitle, MessageIcon::Exclamation);
}

}  // namespace velistrad
