// velistrad-cli render --html: the member's page of a script, or the book of
// every movement, written to one HTML file. Plain C++: no Qt.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

struct PageCommandHooks {
    // Reads the script named by FILE, "-" or --catalogue N into text; returns
    // 0 or the exit status of the error already reported.
    std::function<int(const std::vector<std::string_view>& args, std::string& text)> readSource;
    std::function<int(const std::string& why)> usageError;
    std::function<void(const std::string& line)> message;  // a line to standard error
};

// args start with "--html".
int runPageCommand(std::vector<std::string_view> args, const PageCommandHooks& hooks);

}  // namespace velistrad
