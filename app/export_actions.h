// File > Export: the plan as PDF, the view as PNG or SVG, the followed
// officer's part sheet, the run as an animated GIF, and the member's page or
// book (HTML), each asking for a file in the folder used last and suggesting
// the simulation's name.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include "render/animation_export.h"
#include "render/image_export.h"
#include "render/sheet_export.h"

class QAction;
class QMenu;

namespace velistrad {

struct CatalogueEntry;

class FollowOfficer;
class MySimulations;
class ScriptFiles;
class WindowContext;

class ExportActions : public QObject {
    Q_OBJECT

public:
    // The followed officer, the open script file and My Simulations name
    // and choose what is written.
    ExportActions(WindowContext& window, const FollowOfficer& following, const ScriptFiles& files,
                  const MySimulations& mine);

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
    // The built-in simulation whose script the editor shows, if any.
    const CatalogueEntry* shownCatalogueEntry() const;
    // Tells why a script that does not play exports nothing; false.
    bool nothingToExport(const std::string& why);
    QString askFile(const QString& title, const QString& extension, const QString& filter,
                    const QString& name = {});
    bool finish(const QString& path, const std::string& error);

    WindowContext& m_window;
    const FollowOfficer& m_following;
    const ScriptFiles& m_files;
    const MySimulations& m_mine;
    QAction* m_partSheet = nullptr;
    bool m_busy = false;  // an animation is being written
};

}  // namespace velistrad
