#include "simulations/custom_location.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "simulations/safe_file.h"

namespace velistrad {

namespace {

constexpr const char* kFileName = "/custom.sim";

}  // namespace

CustomFileChoice chooseCustomFile(const CustomFilePlaces& places) {
    if (places.commandLine) return {*places.commandLine, {}};
    const std::string beside = places.programFolder + kFileName;
    if (places.programFolderWritable) return {beside, {}};

    CustomFileChoice choice{places.userFolder + kFileName, {}};
    std::error_code ec;
    if (std::filesystem::exists(choice.path, ec)) return choice;
    std::string error;
    const std::optional<std::string> bytes = readWholeFile(beside, error);
    if (!bytes) {
        // Nothing beside the program: the user's file is begun at the first save.
        if (!error.empty()) choice.problem = beside + " could not be copied: " + error;
        return choice;
    }
    std::filesystem::create_directories(places.userFolder, ec);
    if (ec) {
        choice.problem = "the folder " + places.userFolder + " could not be made: " + ec.message();
    } else {
        error = replaceFile(choice.path, *bytes);
        if (!error.empty()) choice.problem = beside + " could not be copied: " + error;
    }
    return choice;
}

bool folderWritable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace velistrad
