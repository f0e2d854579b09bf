// My Simulations without the menu: the list read from custom.sim at start-up,
// saving a script under a name the user gives (with the questions that
// involves), and writing the file after every change.
//
// A file that was not read whole (unreadable, more than 20 records, text
// before the first record, not text at all) is kept as a backup before the
// first save over it, so whatever the list could not hold is not lost.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "simulations/custom_file.h"
#include "simulations/dialogs.h"

namespace velistrad {

class CustomSimulations {
public:
    CustomSimulations(Dialogs& dialogs, std::string path);

    // Reads the file into the list; a missing file gives an empty list and
    // no message.
    void load();

    // In menu order: entry i is CustomSim(i + 1).
    const std::vector<CustomSimulation>& simulations() const { return m_list; }

    // Asks for a name and stores `script` under it: replacing the simulation
    // of that name once the user agrees, else adding one. Returns the index
    // added or replaced, nullopt when nothing changed (cancelled, refused).
    // Every change below is kept in the list even when the file could not
    // be written; that is reported.
    std::optional<std::size_t> saveAs(const std::string& script);
    // saveAs with the name already given, as importing a file does.
    std::optional<std::size_t> store(const std::string& name, const std::string& script);

    // The managing of the list; false when nothing changed. A new name must
    // be one the file can keep and no other simulation's.
    bool rename(std::size_t index, const std::string& name);
    bool remove(std::size_t index);
    bool move(std::size_t from, std::size_t to);

    // The file reads a name back as the text after its last hyphen, on one line.
    static bool keepableName(const std::string& name);

private:
    // Tells the user why, and returns false, when the file could not keep `name`.
    bool refuseUnkeepable(const std::string& name);
    void write();

    Dialogs& m_dialogs;
    std::string m_path;
    std::vector<CustomSimulation> m_list;
    std::string m_notReadWhole;  // why the file holds more than the list; empty if it does not
};

}  // namespace velistrad
