#include "engine/timeline.h"

#include <utility>

#include "model/number_text.h"

namespace velistrad {

namespace {

std::uint32_t addNode(FramePool& pool, const Triple& t) {
    const auto index = static_cast<std::uint32_t>(pool.nodes.size());
    pool.nodes.push_back({t, kNoNode});
    return index;
}

void link(FramePool& pool, Frame& a, std::uint32_t first, std::uint32_t last) {
    if (first == kNoNode) return;
    if (a.last == kNoNode) {
        a.more = first;
    } else {
        pool.nodes[a.last].next = first;
    }
    a.last = last;
}

void appendTriple(FramePool& pool, Frame& a, const Triple& t) {
    if (a.isEmpty()) {
        a = frameOf(t);
        return;
    }
    const std::uint32_t n = addNode(pool, t);
    link(pool, a, n, n);
}

// Joins b onto a non-empty a; b's chain is linked or copied by takeChain.
template <typename TakeChain>
void joinOnto(FramePool& pool, Frame& a, const Frame& b, TakeChain&& takeChain) {
    if (a.isEmpty()) {
        a = b;
        takeChain(a);
        return;
    }
    if (b.isEmpty()) return;
    if (b.kind() == kPositionFrame) {
        const std::uint32_t n = addNode(pool, b.first());
        link(pool, a, n, n);
    }
    a.shape = static_cast<std::uint8_t>((a.shape & kShapeMask) | (b.shape & kTrailingComma));
    Frame rest = b;
    takeChain(rest);
    link(pool, a, rest.more, rest.last);
}

}  // namespace

void joinFrame(FramePool& pool, Frame& a, const Frame& b) {
    // A kept b must keep its own chain: a gets copies of its nodes.
    joinOnto(pool, a, b, [&pool](Frame& f) {
        std::uint32_t first = kNoNode;
        std::uint32_t last = kNoNode;
        for (std::uint32_t n = f.more; n != kNoNode; n = pool.nodes[n].next) {
            const std::uint32_t copy = addNode(pool, pool.nodes[n].triple);
            if (last == kNoNode) {
                first = copy;
            } else {
                pool.nodes[last].next = copy;
            }
            last = copy;
        }
        f.more = first;
        f.last = last;
    });
}

void joinFrameConsuming(FramePool& pool, Frame& a, const Frame& b) {
    joinOnto(pool, a, b, [](Frame&) {});
}

Frame delayFrame(FramePool& pool, std::string text) {
    Frame f = kEmpty;
    f.xBits = static_cast<std::uint32_t>(pool.delays.size());
    f.shape = kDelayFrame;
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
    if ((frame.shape & kTrailingComma) != 0) text += ',';
    return text;
}

namespace {

// The operations are written once for both kinds of src: a kept one has its
// chains copied, a consumed one gives them up.
template <bool kConsume>
void join(Timeline& dest, std::size_t i, const Frame& b) {
    if constexpr (kConsume) {
        joinFrameConsuming(dest.pool(), dest[i], b);
    } else {
        joinFrame(dest.pool(), dest[i], b);
    }
}

template <bool kConsume>
void mergeImpl(Timeline& dest, const Timeline& src, std::size_t pos) {
    // Even an empty src lengthens dest up to pos - 1, as laying it there would.
    dest.grow(pos + src.size());
    for (std::size_t i = 0; i < src.size(); ++i) join<kConsume>(dest, pos + i, src[i]);
}

template <bool kConsume>
void concatImpl(Timeline& dest, const Timeline& src) {
    for (std::size_t i = 0; i < src.size(); ++i) {
        const std::size_t at = dest.size();
        dest.push_back(kEmpty);
        join<kConsume>(dest, at, src[i]);
    }
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
    mergeImpl<true>(dest, src, 0);
    src.clear();
}
void mergepos(Timeline& dest, const Timeline& src, std::size_t pos) {
    mergeImpl<false>(dest, src, pos);
}
void mergepos(Timeline& dest, Timeline&& src, std::size_t pos) {
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
        appendTriple(pool, current, r.triple);
        if (!r.placement) {
            frames.push_back(current);
            current = kEmpty;
        }
    }
    if (!current.isEmpty()) current.shape |= kTrailingComma;
    frames.push_back(current);
    return frames;
}

}  // namespace velistrad
