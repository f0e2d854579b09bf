// The four operations that lay timelines over each other, whether the
// source is kept or consumed.
#include "engine/timeline.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/case_file.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

// Frames written as text, joined by "|": "9,1,2,3,4,5|" is a frame of two
// triples and an empty frame; a frame ending with "," ends with placements.
Timeline parse(FramePool& pool, const std::string& text) {
    Timeline t(pool);
    for (const std::string& frame : split(text, '|')) {
        Frame f = kEmpty;
        const auto v = split(frame, ',');
        for (std::size_t k = 0; k + 2 < v.size(); k += 3)
            joinFrameConsuming(pool, f,
                               frameOf(makeTriple(stoi(v[k]), stoi(v[k + 1]), stoi(v[k + 2]))));
        if (frame.ends_with(',')) f.setShape(f.shape() | kTrailingComma);
        t.push_back(f);
    }
    return t;
}

std::string text(const Timeline& t) {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) out += (i ? "|" : "") + frameText(t.pool(), t[i]);
    return out;
}

template <typename Src>
void apply(const Case& c, Timeline& dest, Src&& src) {
    if (c[0] == "merge") merge(dest, std::forward<Src>(src));
    if (c[0] == "mergeAt") mergeAt(dest, std::forward<Src>(src), c.n(4));
    if (c[0] == "concat") concat(dest, std::forward<Src>(src));
    if (c[0] == "interleave") interleave(dest, std::forward<Src>(src));
}

// The same result whether src is kept (and left unchanged) or consumed.
TEST(TimelineOperation, KeptAndConsumedSrcGiveTheSameFrames) {
    FOR_EACH_CASE(c, "timeline_operations.txt", 5) {
        FramePool pool;
        Timeline kept = parse(pool, c[1]);
        const Timeline src = parse(pool, c[2]);
        apply(c, kept, src);
        EXPECT_EQ(text(kept), c[3]);
        EXPECT_EQ(text(src), c[2]);

        Timeline consumed = parse(pool, c[1]);
        apply(c, consumed, parse(pool, c[2]));
        EXPECT_EQ(text(consumed), c[3]);
        // Laying more over the result must not reach into src's frames.
        merge(kept, parse(pool, "7,7,7|7,7,7|7,7,7|7,7,7|7,7,7"));
        EXPECT_EQ(text(src), c[2]);
    }
}

}  // namespace
}  // namespace velistrad
