// Feeds arbitrary bytes to the custom file loader, then writes what it read
// and reads that again. The file sits beside the program where anyone can
// edit it, so the loader must take any bytes without fault.
#include "simulations/custom_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool sameSimulations(const velistrad::CustomFileContents& a,
                     const velistrad::CustomFileContents& b) {
    if (a.simulations.size() != b.simulations.size()) return false;
    for (std::size_t i = 0; i < a.simulations.size(); ++i) {
        if (a.simulations[i].name != b.simulations[i].name ||
            a.simulations[i].script != b.simulations[i].script) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const velistrad::CustomFileContents first = velistrad::parseCustomFile(bytes);

    check(first.simulations.size() <= velistrad::kMaxCustomSimulations);
    check(!first.tooMany || first.simulations.size() == velistrad::kMaxCustomSimulations);
    for (const velistrad::CustomSimulation& s : first.simulations) {
        check(s.name.find_first_of("-\r\n") == std::string::npos);
        check(s.script.find_first_of("\r\n") == std::string::npos);
    }

    const std::string written = velistrad::serializeCustomFile(first.simulations);
    const velistrad::CustomFileContents second = velistrad::parseCustomFile(written);

    // What was read survives a save and a reload unchanged, and saving it
    // again gives the same bytes.
    check(!second.tooMany && !second.preamble);
    check(sameSimulations(first, second));
    check(velistrad::serializeCustomFile(second.simulations) == written);
    return 0;
}
