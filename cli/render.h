// velistrad-cli render: the plan, a part sheet or the animation of a script
// written to a file (see cli/render.cpp for the options).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

struct RenderHooks {
    // Reads the script named by the arguments (FILE, "-" or --catalogue N)
    // into text; returns 0 or the exit status of the error already reported.
    std::function<int(const std::vector<std::string_view>& args, std::string& text)> readSource;
    // Reports a usage error and returns its exit status.
    std::function<int(const std::string& why)> usageError;
};

int runRender(std::vector<std::string_view> args, const RenderHooks& hooks);

}  // namespace velistrad
