// velistrad-cli part and practice: one officer's part in the room's words,
// and the answer key of practising it (see cli/part.cpp).
#pragma once

#include <string_view>
#include <vector>

namespace velistrad {

// part ABBR SOURCE
int runPart(std::vector<std::string_view> args);
// practice --officer ABBR SOURCE
int runPractice(std::vector<std::string_view> args);

}  // namespace velistrad
