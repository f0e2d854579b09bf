// Fuzz target: a whole script, as a Play press compiles it, then played
// without drawing. The input is the editor's text as bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/movement_compiler.h"
#include "engine/null_platform.h"
#include "engine/playback.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velistrad;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ChapterRoom room;
    NullReporter reporter;
    MovementCompiler compiler(room, reporter);
    const auto played = composeScript(compiler, splitScript(text), [](const std::string&) {});
    if (played) applyComposition(room, *played);
    return 0;
}
