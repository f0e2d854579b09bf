// File > Export > Member's Page and Member's Book: the shown script, or every
// movement, as one HTML file that members open on any phone or browser.
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "app/dialogs.h"
#include "app/export_actions.h"
#include "app/main_window.h"
#include "engine/script_runner.h"
#include "page/member_page.h"
#include "simulations/catalogue.h"
#include "simulations/safe_file.h"

namespace velistrad {

namespace {

const QString kTitle = QStringLiteral("Export");
const QString kFilter = QStringLiteral("Web pages (*.html)");

class FirstMessage : public DiagnosticSink {
public:
    void diagnose(const Diagnostic& d) override {
        if (text.empty()) text = d.text;
    }
    std::string text;
};

}  // namespace

bool ExportActions::exportMemberPage() {
    PageMovement shown;
    shown.script = m_window.m_directions->toPlainText().toStdString();
    shown.name = simulationName().toStdString();
    std::string title = shown.name;
    for (const CatalogueEntry& e : catalogue()) {
        if (simulationName() == QStringLiteral("%1 - %2").arg(QString::fromUtf8(e.submenu),
                                                              QString::fromUtf8(e.caption))) {
            shown.group = e.submenu;
            shown.name = e.caption;
            title = std::string(e.submenu) + " > " + e.caption;
        }
    }
    FirstMessage sink;
    const auto page = makeMemberPage(title, {shown}, sink, true);
    if (!page) {
        m_window.m_dialogs->message(
            QStringLiteral("The script does not play, so there is nothing to export.\n\n") +
                QString::fromStdString(sink.text),
            kTitle, MessageIcon::Exclamation);
        return false;
    }
    const QString path =
        askFile(QStringLiteral("Export Member's Page"), QStringLiteral("html"), kFilter);
    if (path.isEmpty()) return false;
    return finish(path, replaceFile(QFile::encodeName(path).toStdString(), page->html));
}

bool ExportActions::exportMemberBook() {
    std::vector<PageMovement> mine;
    for (const CustomSimulation& c : m_window.customSimulations())
        mine.push_back({"", c.name, c.script});
    FirstMessage sink;
    const auto book = makeMemberPage("Velistrad: the movements", memberBook(mine), sink, false);
    const QString path = askFile(QStringLiteral("Export Member's Book"), QStringLiteral("html"),
                                 kFilter, QStringLiteral("Velistrad movements"));
    if (path.isEmpty() ||
        !finish(path, replaceFile(QFile::encodeName(path).toStdString(), book->html)))
        return false;
    if (!book->leftOut.empty()) {
        QStringList names;
        for (const std::string& name : book->leftOut) names << QString::fromStdString(name);
        m_window.m_dialogs->message(
            QStringLiteral("The book was written without these simulations, whose scripts do "
                           "not play: %1.")
                .arg(names.join(QStringLiteral(", "))),
            kTitle, MessageIcon::Exclamation);
    }
    return true;
}

}  // namespace velistrad
