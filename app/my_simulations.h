// My Simulations in the window: the Simulations menu's twenty items that
// follow the list of CustomSimulations (which asks the questions and keeps
// custom.sim), Save Current Simulation, and the Manage dialog's commands.
// Items and indexes are 1..20, as the menu numbers them.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simulations/custom_simulations.h"

class QAction;
class QMenu;

namespace velistrad {

class WindowContext;

class MySimulations : public QObject {
    Q_OBJECT

public:
    // `leaveScript` is asked before a simulation replaces the editor's
    // script; false keeps it.
    MySimulations(WindowContext& window, const QString& customFile,
                  std::function<bool()> leaveScript);
    ~MySimulations() override;

    // Adds the twenty items to `menu` and shows the list in them.
    void build(QMenu* menu);

    // Reads custom.sim into the list and its items.
    void loadList();
    void load(int index);  // into the editor, after a Reset
    // Asks for the name, offering the simulation last loaded or saved.
    void saveCurrent();
    // The editor holds another script than the one loaded: nothing is offered.
    void forgetCurrent() { m_current.clear(); }
    void manage();
    // Each returns whether the list changed.
    bool rename(int index);  // asks for the new name, offering the old one
    bool remove(int index);  // asks first
    bool move(int index, int to);
    bool exportFile(int index);  // asks for the file; true when written
    // Asks for the files; each is named after its file, or asked for when
    // the file of custom simulations could not keep that name.
    bool importFiles();
    void showLocation();

    const std::vector<CustomSimulation>& simulations() const { return m_list->simulations(); }

private:
    void showItem(int index);
    void showItems();  // every item, after the list changed

    WindowContext& m_window;
    QString m_customFile;
    std::function<bool()> m_leaveScript;
    std::unique_ptr<CustomSimulations> m_list;
    std::array<QAction*, 21> m_items{};  // 1..20
    std::string m_current;               // the simulation loaded or saved last
};

}  // namespace velistrad
