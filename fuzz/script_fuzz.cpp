// Fuzz target: a whole script, as a Play press compiles it, then played
// without drawing. The input is the editor's text as bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/null_platform.h"
#include "engine/played_timeline.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velistrad;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ChapterRoom room;
    NullSink sink;
    // A lower limit than the program's keeps each run short; what happens at
    // the limit is the same.
    const auto played = composeScript(room, text, sink, 200'000);
    if (played) TimelineCursor(*played, room).seek(played->size());
    return 0;
}
