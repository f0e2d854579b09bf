// The long generated script the benchmarks share: every timing word, Delay,
// lettered walks along the band and diagonal steps (bench/mixed_cycle.txt,
// one entry a line, also read by scripts/bench), repeated. Each officer ends
// the cycle where it began, so the cycle repeats.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

namespace velistrad {

inline std::string mixedScript(std::size_t entries) {
    std::ifstream file(VELISTRAD_MIXED_CYCLE);
    std::vector<std::string> cycle;
    for (std::string line; std::getline(file, line);)
        if (!line.empty()) cycle.push_back(line);
    std::string text;
    for (std::size_t i = 0; i < entries && !cycle.empty(); ++i) {
        if (i > 0) text += ", ";
        text += cycle[i % cycle.size()];
    }
    return text;
}

}  // namespace velistrad
