#include "engine/timeline.h"

#include <utility>

#include "model/number_text.h"

namespace velistrad {

namespace {

// A ring of one node.
inline std::uint32_t addNode(FramePool& pool, const Triple& t) {
    const auto index = static_cast<std::uint32_t>(pool.nodes.size());
    pool.nodes.push_back({t, index});
    return index;
}

// Joins the ring ending at tail onto a's ring, after a's last node.
inline void link(FramePool& pool, Frame& a, std::uint32_t tail) {
    if (tail == kNoNode) return;
    if (a.tail() != kNoNode) {
        // a's last now leads to the ring's first, the ring's last to a's first.
        std::swap(pool.nodes[a.tail()].next, pool.nodes[tail].next);
    }
    a.setTail(tail);
}

void appendTriple(FramePool& pool, Frame& a, const Triple& t) {
    if (a.isEmpty()) {
        a = frameOf(t);
        return;
    }
    link(pool, a, addNode(pool, t));
}

}  // namespace

void joinFrame(FramePool& pool, Frame& a, const Frame& b) {
    // A kept b must keep its own ring: a gets copies of its triples.
    if (b.isEmpty()) return;
    if (a.isEmpty()) {
        a = b;
        a.setTail(kNoNode);
    } else {
        if (b.kind() == kPositionFrame) link(pool, a, addNode(pool, b.first()));
        a.setShape(
            static_cast<std::uint8_t>((a.shape() & kShapeMask) | (b.shape() & kTrailingComma)));
    }
    const std::uint32_t tail = b.tail();
    if (tail == kNoNode) return;
    std::uint32_t n = tail;
    do {
        n = pool.nodes[n].next;
        link(pool, a, addNode(pool, pool.nodes[n].triple));
    } while (n != tail);
}

void joinFrameConsuming(FramePool& pool, Frame& a, const Frame& b) {
    if (a.isEmpty()) {
        a = b;
        return;
    }
    if (b.isEmpty()) return;
    // b's first triple needs a node of its own; its further ones are linked as they are.
    if (b.kind() == kPositionFrame) link(pool, a, addNode(pool, b.first()));
    link(pool, a, b.tail());
    a.setShape(static_cast<std::uint8_t>((a.shape() & kShapeMask) | (b.shape() & kTrailingComma)));
}

Frame delayFrame(FramePool& pool, std::string text) {
    Frame f = kEmpty;
    f.xBits = static_cast<std::uint32_t>(pool.delays.size());
    f.setShape(kDelayFrame);
    const double seconds = leadingNumber(text);
    pool.delays.push_back({std::move(text), seconds});
    return f;
}

std::string frameText(const FramePool& pool, const Frame& frame) {
    std::string text;
    if (frame.isDelay()) text = pool.delays[frame.xBits].text;
    forEachTriple(pool, frame, [&text](const Triple& t) {
        if (!text.empty()) text += ',';
        appendTriple(text, t);
    });
    if ((frame.shape() & kTrailingComma) != 0) text += ',';
    return text;
}

namespace {

// The operations are written once for both kinds of src: a kept one has its
// chains copied, a consumed one gives them up.
template <bool kConsume>
void join(Timeline& dest, std::size_t i, const Frame& b) {
    Frame& a = dest[i];
    if constexpr (kConsume) {
        // Most frames are laid over empty ones: they are simply taken.
        if (a.isEmpty()) {
            a = b;
        } else {
            joinFrameConsuming(dest.pool(), a, b);
        }
    } else {
        joinFrame(dest.pool(), a, b);
    }
}

template <bool kConsume>
void mergeImpl(Timeline& dest, const Timeline& src, std::size_t pos) {
    // Even an empty src lengthens dest up to pos - 1, as laying it there would.
    dest.grow(pos + src.size());
    std::size_t i = pos;
    src.forEach([&](const Frame& f) { join<kConsume>(dest, i++, f); });
}

template <bool kConsume>
void concatImpl(Timeline& dest, const Timeline& src) {
    src.forEach([&dest](const Frame& f) {
        if constexpr (kConsume) {
            dest.push_back(f);  // laid over a new empty frame: taken as it is
        } else {
            dest.push_back(kEmpty);
            join<false>(dest, dest.size() - 1, f);
        }
    });
}

template <bool kConsume>
void interleaveImpl(Timeline& dest, const Timeline& src) {
    if (dest.size() > src.size()) {
        mergeImpl<kConsume>(dest, src, dest.size() - src.size());
        return;
    }
    // src is as long or longer: dest's frames move d places later. Going
    // downwards reads every old frame before its place is written.
    const std::size_t d = src.size() - dest.size();
    dest.grow(src.size());
    for (std::size_t i = src.size(); i-- > 0;) {
        dest[i] = i < d ? kEmpty : dest[i - d];
        join<kConsume>(dest, i, src[i]);
    }
}

}  // namespace

void merge(Timeline& dest, const Timeline& src) {
    mergeImpl<false>(dest, src, 0);
}
void merge(Timeline& dest, Timeline&& src) {
    if (dest.isBlank() && !src.empty()) {
        dest = std::move(src);  // the frames stay where they are
    } else {
        mergeImpl<true>(dest, src, 0);
    }
    src.clear();
}
void mergeAt(Timeline& dest, const Timeline& src, std::size_t pos) {
    mergeImpl<false>(dest, src, pos);
}
void mergeAt(Timeline& dest, Timeline&& src, std::size_t pos) {
    mergeImpl<true>(dest, src, pos);
    src.clear();
}
void concat(Timeline& dest, const Timeline& src) {
    concatImpl<false>(dest, src);
}
void concat(Timeline& dest, Timeline&& src) {
    concatImpl<true>(dest, src);
    src.clear();
}
void interleave(Timeline& dest, const Timeline& src) {
    interleaveImpl<false>(dest, src);
}
void interleave(Timeline& dest, Timeline&& src) {
    interleaveImpl<true>(dest, src);
    src.clear();
}

Timeline splitPath(FramePool& pool, const Path& path) {
    Timeline frames(pool);
    if (path.empty()) return frames;  // an entry that wrote nothing has no frames
    Frame current = kEmpty;
    for (const PathRecord& r : path) {
        if (current.isEmpty()) {
            current = frameOf(r.triple);
        } else {
            appendTriple(pool, current, r.triple);
        }
        if (!r.placement) {
            frames.push_back(current);
            current = kEmpty;
        }
    }
    if (!current.isEmpty()) current.setShape(current.shape() | kTrailingComma);
    frames.push_back(current);
    return frames;
}

}  // namespace velistrad
