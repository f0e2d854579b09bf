#include "simulations/custom_simulations.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string_view>
#include <utility>

#include "simulations/safe_file.h"

namespace velistrad {

namespace {

const std::string kCustomTitle = "Custom Simulation";
// What a name in the file cannot hold: it reads back as the text after the
// last hyphen, on one line.
constexpr const char* kUnkeepable = "-\r\n";

// `name` with what the file could not keep made blanks, to offer instead.
std::string keepableSuggestion(std::string name) {
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return std::string_view(kUnkeepable).find(c) != std::string_view::npos; },
        ' ');
    return name;
}

}  // namespace

CustomSimulations::CustomSimulations(Dialogs& dialogs, std::string path)
    : m_dialogs(dialogs), m_path(std::move(path)) {}

void CustomSimulations::load() {
    m_list.clear();
    m_notReadWhole.clear();
    std::string error;
    const std::optional<std::string> bytes = readWholeFile(m_path, error);
    if (!bytes) {
        // Missing is the usual first start; unreadable stays quiet as well,
        // and is dealt with at the first save.
        m_notReadWhole = error;
        return;
    }
    const CustomFileContents contents = parseCustomFile(*bytes);
    m_list = contents.simulations;
    m_inFile = m_list;
    if (bytes->find('\0') != std::string::npos) {
        m_notReadWhole = "it is not a text file";
    } else if (contents.tooMany) {
        m_notReadWhole = "it holds more than 20 simulations";
    } else if (contents.preamble) {
        m_notReadWhole = "it has text before its first simulation";
    } else if (contents.namesCut) {
        m_notReadWhole = "a name holds a hyphen, and only the text after it is kept";
    }
    if (contents.tooMany) {
        m_dialogs.message(
            "Only 20 custom simulations are allowed.  The first 20 have been loaded, and the "
            "others will be ignored.",
            "Too many simulations", MessageIcon::Exclamation);
    }
}

std::optional<std::size_t> CustomSimulations::saveAs(const std::string& script,
                                                     const std::string& current) {
    // Taken as typed: no trimming, and an empty answer is a name too.
    const std::optional<std::string> name =
        m_dialogs.input("Enter the name for this simulation", kCustomTitle, current);
    if (!name) return std::nullopt;
    return store(*name, script);
}

std::optional<std::size_t> CustomSimulations::storeImported(const std::string& fileName,
                                                            const std::string& script) {
    std::string name = fileName;
    while (!keepableName(name)) {
        const std::optional<std::string> chosen = m_dialogs.input(
            "The name \"" + fileName +
                "\" cannot be kept: a simulation name cannot hold a hyphen (-) or a line break. "
                "Enter the name for this simulation",
            kCustomTitle, keepableSuggestion(name));
        if (!chosen) return std::nullopt;
        name = *chosen;
    }
    return store(name, script);
}

std::optional<std::size_t> CustomSimulations::store(const std::string& name,
                                                    const std::string& script) {
    if (!refuseUnkeepable(name)) return std::nullopt;
    takeUpOtherSaves();  // a name another window took since is asked about too
    bool taken = false;
    for (const CustomSimulation& s : m_list) {
        if (s.name != name) continue;
        if (!m_dialogs.question("Do you want to overwrite the simulation with the same name?",
                                "Name already taken")) {
            return std::nullopt;
        }
        taken = true;
    }
    if (!taken && m_list.size() >= kMaxCustomSimulations) {
        m_dialogs.message(
            "There is room for 20 custom simulations only. Save this one under the name of an "
            "existing simulation to replace it.",
            kCustomTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    std::optional<std::size_t> stored;
    changeAndWrite([&] {
        // Where the name stands now: the last of that name, as the question went.
        std::size_t target = m_list.size();
        for (std::size_t i = 0; i < m_list.size(); ++i)
            if (m_list[i].name == name) target = i;
        if (target < m_list.size()) {
            m_list[target].script = script;
        } else if (m_list.size() < kMaxCustomSimulations) {
            m_list.push_back({name, script});
        } else {
            m_dialogs.message(
                "There is room for 20 custom simulations only. Save this one under the name of "
                "an existing simulation to replace it.",
                kCustomTitle, MessageIcon::Exclamation);
            return false;
        }
        stored = target;
        return true;
    });
    return stored;
}

namespace {

std::size_t indexNamed(const std::vector<CustomSimulation>& list, const std::string& name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) return i;
    return list.size();
}

}  // namespace

bool CustomSimulations::rename(std::size_t index, const std::string& name) {
    if (index >= m_list.size() || m_list[index].name == name) return false;
    if (!refuseUnkeepable(name)) return false;
    const std::string old = m_list[index].name;
    return changeAndWrite([&] {
        const std::size_t at = indexNamed(m_list, old);
        if (at == m_list.size()) return false;  // another window removed it
        if (indexNamed(m_list, name) < m_list.size()) {
            m_dialogs.message("There is a simulation of that name already.", kCustomTitle,
                              MessageIcon::Exclamation);
            return false;
        }
        m_list[at].name = name;
        return true;
    });
}

bool CustomSimulations::remove(std::size_t index) {
    if (index >= m_list.size()) return false;
    const CustomSimulation gone = m_list[index];
    return changeAndWrite([&] {
        const std::size_t at = indexNamed(m_list, gone.name);
        if (at == m_list.size()) return false;
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(at));
        return true;
    });
}

bool CustomSimulations::move(std::size_t from, std::size_t to) {
    if (from >= m_list.size() || to >= m_list.size() || from == to) return false;
    const std::string name = m_list[from].name;
    return changeAndWrite([&] {
        const std::size_t at = indexNamed(m_list, name);
        if (at == m_list.size()) return false;
        const std::size_t place = std::min(to, m_list.size() - 1);
        if (place == at) return false;
        CustomSimulation moved = std::move(m_list[at]);
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(at));
        m_list.insert(m_list.begin() + static_cast<std::ptrdiff_t>(place), std::move(moved));
        return true;
    });
}

void CustomSimulations::takeUpOtherSaves() {
    if (!m_notReadWhole.empty()) return;  // kept as it stands until it is backed up
    std::string error;
    const std::optional<std::string> bytes = readWholeFile(followLink(m_path), error);
    if (!bytes || bytes->find('\0') != std::string::npos) return;
    const CustomFileContents contents = parseCustomFile(*bytes);
    if (contents.tooMany || contents.preamble || contents.namesCut) return;
    if (contents.simulations == m_inFile) return;  // nobody else wrote
    // Ours that never reached the file (a failed write) go on top of theirs.
    std::vector<CustomSimulation> merged = contents.simulations;
    for (const CustomSimulation& mine : m_list) {
        if (std::find(m_inFile.begin(), m_inFile.end(), mine) != m_inFile.end()) continue;
        const std::size_t at = indexNamed(merged, mine.name);
        if (at < merged.size()) {
            merged[at].script = mine.script;
        } else if (merged.size() < kMaxCustomSimulations) {
            merged.push_back(mine);
        }
    }
    m_list = std::move(merged);
    m_inFile = contents.simulations;
}

template <class Change>
bool CustomSimulations::changeAndWrite(Change change) {
    const FolderLock lock(followLink(m_path));
    takeUpOtherSaves();
    if (!change()) return false;
    write();
    return true;
}

bool CustomSimulations::keepableName(const std::string& name) {
    return name.find_first_of(kUnkeepable) == std::string::npos;
}

bool CustomSimulations::refuseUnkeepable(const std::string& name) {
    if (keepableName(name)) return true;
    m_dialogs.message(
        "A simulation name cannot hold a hyphen (-) or a line break: the file of custom "
        "simulations could not keep it. Please choose another name.",
        kCustomTitle, MessageIcon::Exclamation);
    return false;
}

void CustomSimulations::write() {
    const std::string file = followLink(m_path);
    const std::string failed = "The custom simulations could not be saved to " + m_path + ":\n";
    struct stat st {};
    if (!m_notReadWhole.empty() && ::lstat(file.c_str(), &st) != 0 && errno == ENOENT) {
        m_notReadWhole.clear();  // gone since: nothing left to keep
    }
    std::string told;  // what the user learns of a save that was made
    if (!m_notReadWhole.empty()) {
        std::string backup;
        const std::string error = keepBackup(file, backup);
        if (!error.empty()) {
            m_dialogs.message(failed + "It was not read completely at start-up (" + m_notReadWhole +
                                  "), so it is replaced only once a copy is " + "kept, and " +
                                  error + ".",
                              kCustomTitle, MessageIcon::Exclamation);
            return;
        }
        told = m_path + " was not read completely at start-up (" + m_notReadWhole +
               "). Before saving over it, the old file has been kept as " + backup + ".";
        m_notReadWhole.clear();
    }
    // A file its owner cannot read would load as an empty list at every
    // start, without a word: it is written back readable, and that is told.
    const bool unreadable = ::stat(file.c_str(), &st) == 0 && (st.st_mode & S_IRUSR) == 0;
    std::string unflushed;
    std::string error = replaceFile(file, serializeCustomFile(m_list), &unflushed, S_IRUSR);
    if (error.empty()) m_inFile = m_list;
    if (!error.empty()) {
        error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error[0])));
        told += (told.empty() ? "" : "\n") + failed + error + ". The file is left as it was.";
    } else {
        if (unreadable) {
            told += std::string(told.empty() ? "" : "\n") + m_path +
                    " could not be read by its owner, so My Simulations would start empty: it " +
                    "has been saved readable by its owner.";
        }
        if (!unflushed.empty()) {
            told += std::string(told.empty() ? "" : "\n") +
                    "The custom simulations have been saved to " + m_path + ", but " + unflushed +
                    ", so the save may not survive a power cut.";
        }
    }
    if (!told.empty()) m_dialogs.message(told, kCustomTitle, MessageIcon::Exclamation);
}

}  // namespace velistrad
