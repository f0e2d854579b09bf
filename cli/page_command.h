// velistrad-cli render --html: the member's page of a script, or the book of
// every movement, written to one HTML file. Plain C++: no Qt.
#pragma once

#include <string_view>
#include <vector>

namespace velistrad {

// args start with "--html".
int runPageCommand(std::vector<std::string_view> args);

}  // namespace velistrad
