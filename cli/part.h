// velistrad-cli part and practice: one officer's part in the room's words,
// and the answer key of practising it (see cli/part.cpp).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

struct PartHooks {
    // Reads the script named by the arguments (FILE, "-" or --catalogue N)
    // into text; returns 0 or the exit status of the error already reported.
    std::function<int(const std::vector<std::string_view>& args, std::string& text)> readSource;
    // Reports a usage error and returns its exit status.
    std::function<int(const std::string& why)> usageError;
};

// part ABBR SOURCE
int runPart(std::vector<std::string_view> args, const PartHooks& hooks);
// practice --officer ABBR SOURCE
int runPractice(std::vector<std::string_view> args, const PartHooks& hooks);

}  // namespace velistrad
