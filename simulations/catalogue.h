// The 23 built-in simulations of the Simulations menu, in menu order, with
// the menu item names their handlers are named after. No Qt here: the
// command-line tool lists and compiles them too.
#pragma once

#include <array>
#include <cstddef>

namespace velistrad {

inline constexpr std::size_t kCatalogueSize = 23;

struct CatalogueEntry {
    const char* submenu;  // "Opening", "Closing", "Initiatory Degree", "Shield", "Triangle"
    const char* caption;
    const char* item;    // menu item name, e.g. "Do_SD_Altar"; handler is item + "_Click"
    int sharesScriptOf;  // 1-based entry whose handler this item runs, or 0
    const char* script;
};

const std::array<CatalogueEntry, kCatalogueSize>& catalogue();

}  // namespace velistrad
