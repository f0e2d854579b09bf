// My Simulations without the menu: the list read from custom.sim at start-up,
// saving a script under a name the user gives (with the questions that
// involves), and writing the file after every change.
//
// Several windows may share the file. Every change first reads the file
// again and starts from what it holds now, so that what another window saved
// since is kept, not written over with an older list; a name another window
// has taken is asked about as any taken name is. The reading, changing and
// writing happen under a lock on the folder, so that two saves at the same
// moment cannot both start from the same file.
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
    // The name box starts with `current` (the simulation being worked on),
    // empty when there is none.
    std::optional<std::size_t> saveAs(const std::string& script, const std::string& current = {});
    // saveAs with the name already given.
    std::optional<std::size_t> store(const std::string& name, const std::string& script);
    // Importing a file: stored under the file's name, or where the file of
    // custom simulations could not keep that name, under one the user is
    // asked for, offered with the hyphens and line breaks as blanks.
    std::optional<std::size_t> storeImported(const std::string& fileName,
                                             const std::string& script);

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
    // Makes the list what the file holds now, keeping the changes of ours
    // that a failed write did not put there. Nothing changes when the file
    // is missing or cannot be read whole.
    void takeUpOtherSaves();
    // Under the folder's lock: takes up other saves, applies `change` to the
    // list and writes it when the change says it changed something.
    template <class Change>
    bool changeAndWrite(Change change);
    void write();

    Dialogs& m_dialogs;
    std::string m_path;
    std::vector<CustomSimulation> m_list;
    std::vector<CustomSimulation> m_inFile;  // the list as last read or written
    std::string m_notReadWhole;  // why the file holds more than the list; empty if it does not
};

}  // namespace velistrad
