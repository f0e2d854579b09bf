// File > Export: the plan as PDF, the view as PNG or SVG, the followed
// officer's part sheet and the run as an animated GIF, each asking for a file
// in the folder used last and suggesting the simulation's name.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "app/export.h"

class QAction;
class QMenu;

namespace velistrad {

class MainWindow;

class ExportActions : public QObject {
    Q_OBJECT

public:
    explicit ExportActions(MainWindow& window);

    // Adds the Export submenu to `file`.
    void build(QMenu* file);

    // Each asks for the file; false when nothing was written.
    bool exportPlanPdf();
    bool exportView(const char* kind);  // "png" or "svg"
    bool exportPartSheet();
    bool exportAnimation();
    // The member's page of the shown script, and the book of every movement.
    bool exportMemberPage();
    bool exportMemberBook();

    // The name the window knows the script by: a built-in or saved
    // simulation, the open script file, or "Simulation".
    QString simulationName() const;

private:
    // The window's run as it stands; with `whole`, a script not played yet
    // is composed for it, and null is returned (after telling why) when it
    // does not play.
    std::optional<ExportRun> currentRun(bool whole);
    // Suggests `name`, or the simulation's name when it is empty.
    QString askFile(const QString& title, const QString& extension, const QString& filter,
                    const QString& name = {});
    bool finish(const QString& path, const std::string& error);

    MainWindow& m_window;
    QAction* m_partSheet = nullptr;
    bool m_busy = false;  // an animation is being written
};

}  // namespace velistrad
