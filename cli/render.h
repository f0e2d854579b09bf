// velistrad-cli render: the plan, a part sheet or the animation of a script
// written to a file (see cli/render.cpp for the options).
#pragma once

#include <string_view>
#include <vector>

namespace velistrad {

int runRender(std::vector<std::string_view> args);

}  // namespace velistrad
