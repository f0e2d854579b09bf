// Where My Simulations are kept. custom.sim has always lived beside the
// program, and existing users' files are there, so it stays there while that
// folder can be written; an installed program's folder cannot, so each user
// then gets a file of their own, begun from the one beside the program.
#pragma once

#include <optional>
#include <string>

namespace velistrad {

struct CustomFilePlaces {
    std::optional<std::string> commandLine;  // --custom-file: used as it is
    std::string programFolder;
    bool programFolderWritable = false;
    std::string userFolder;  // created when it is needed
};

struct CustomFileChoice {
    std::string path;
    std::string problem;  // why the user's copy could not be begun; empty if it could
};

// Picks the file and, when the user's own file is chosen and does not exist
// yet, begins it as a copy of the file beside the program (if there is one).
CustomFileChoice chooseCustomFile(const CustomFilePlaces& places);

// Whether this process may create and replace files in `folder`.
bool folderWritable(const std::string& folder);

}  // namespace velistrad
