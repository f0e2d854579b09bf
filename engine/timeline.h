// Timelines: ordered lists of frame strings, one frame per animation tick.
//
// A frame is a position frame ("officer,x,y" triples joined by ","), a delay
// frame (seconds as text, no ",") or the empty frame. The operations lay one
// timeline over another in place; a const src is never changed, a consumed
// one (an rvalue) gives up its frames. Frame counts are
// limited only by memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

using Timeline = std::vector<std::string>;

// Joins frame b onto frame a: a's triples first, no empty triple.
void joinFrame(std::string& a, std::string_view b);

// src laid over dest from frame 0: both start together.
void merge(Timeline& dest, const Timeline& src);
void merge(Timeline& dest, Timeline&& src);
// src laid over dest from frame pos; a gap is filled with empty frames.
void mergepos(Timeline& dest, const Timeline& src, std::size_t pos);
void mergepos(Timeline& dest, Timeline&& src, std::size_t pos);
// src's frames after dest's last frame.
void concat(Timeline& dest, const Timeline& src);
void concat(Timeline& dest, Timeline&& src);
// src laid over dest so that both end on the same frame.
void interleave(Timeline& dest, const Timeline& src);
void interleave(Timeline& dest, Timeline&& src);

// Splits a path string at every "|"; an ending "|" gives a final empty frame
// and an empty path gives no frames at all.
Timeline splitPath(std::string_view path);

}  // namespace velistrad
