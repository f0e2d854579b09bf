// Timelines: ordered lists of frames, one frame per animation tick.
//
// A frame is a position frame (officer triples), a delay frame (seconds, with
// any Unsync triples laid over it) or the empty frame. Frames are numbers, not
// text: a frame holds its first triple in place and links further triples
// (joined from frames laid over it) as nodes of the FramePool that all
// timelines of one composition share. Joining two frames thus copies nothing:
// the triples of the frame laid over are linked after those already there.
//
// The operations lay one timeline over another in place; a const src is left
// unchanged, a consumed one (an rvalue) gives up its frames. Frame counts are
// limited only by memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "compiler/path_record.h"
#include "engine/segmented_vector.h"

namespace velistrad {

enum FrameShape : std::uint8_t {
    kEmptyFrame = 0,
    kPositionFrame = 1,
    kDelayFrame = 2,
    kShapeMask = 3,
    // The text of the frame ends with ",": its last triples were placements
    // with no walk after them.
    kTrailingComma = 4,
};

// Node indexes fit 22 bits: a run has at most kMaxRunFrames (4,000,000)
// compiled triples, and every node holds one of them.
inline constexpr std::uint32_t kNoNode = (1u << 22) - 1;

// Trivial and 12 bytes: long timelines are mostly frames of one triple.
struct Frame {
    std::uint32_t xBits;  // first triple; a delay frame's index in FramePool::delays
    std::uint32_t yBits;
    // The further triples form a ring of nodes; tail is its last node, whose
    // next is the first, so appending and joining rings take constant time.
    // Bits 0-21 tail, 22-26 officer, 27-28 whole mask, 29-31 shape.
    std::uint32_t bits;

    static constexpr Frame make(std::uint32_t x, std::uint32_t y, std::uint32_t tail,
                                std::uint8_t officer, std::uint8_t wholeMask, std::uint8_t shape) {
        return {x, y,
                tail | static_cast<std::uint32_t>(officer) << 22 |
                    static_cast<std::uint32_t>(wholeMask) << 27 |
                    static_cast<std::uint32_t>(shape) << 29};
    }
    std::uint32_t tail() const { return bits & kNoNode; }
    void setTail(std::uint32_t t) { bits = (bits & ~kNoNode) | t; }
    std::uint8_t shape() const { return static_cast<std::uint8_t>(bits >> 29); }
    void setShape(std::uint8_t s) {
        bits = (bits & ~(7u << 29)) | static_cast<std::uint32_t>(s) << 29;
    }
    FrameShape kind() const { return static_cast<FrameShape>(shape() & kShapeMask); }
    bool isEmpty() const { return kind() == kEmptyFrame; }
    bool isDelay() const { return kind() == kDelayFrame; }
    Triple first() const {
        return {xBits, yBits, static_cast<std::uint8_t>((bits >> 22) & 31),
                static_cast<std::uint8_t>((bits >> 27) & 3)};
    }
};

inline constexpr Frame kEmpty = Frame::make(0, 0, kNoNode, 0, 0, kEmptyFrame);

struct FrameNode {
    Triple triple;
    std::uint32_t next;
};

struct DelayText {
    std::string text;  // the Time field as written, e.g. "1.0"
    double seconds;    // its leading number
};

// Storage for the further triples of joined frames and the delay texts.
struct FramePool {
    SegmentedVector<FrameNode> nodes;
    std::vector<DelayText> delays;
};

class Timeline {
public:
    explicit Timeline(FramePool& pool) : m_pool(&pool) {}
    Timeline(FramePool& pool, std::size_t emptyFrames) : m_pool(&pool) {
        m_frames.resize(emptyFrames, kEmpty);
    }

    std::size_t size() const { return m_frames.size(); }
    bool empty() const { return m_frames.empty(); }
    Frame& operator[](std::size_t i) { return m_frames[i]; }
    const Frame& operator[](std::size_t i) const { return m_frames[i]; }
    void push_back(const Frame& f) { m_frames.push_back(f); }
    // Grows with empty frames.
    void grow(std::size_t n) {
        if (n > size()) m_frames.resize(n, kEmpty);
    }
    // One empty frame, as the runner's timelines start.
    void reset() { m_frames.shrinkTo(1, kEmpty); }
    // Just one empty frame: laying anything over it from frame 0 gives that.
    bool isBlank() const { return size() == 1 && m_frames[0].isEmpty(); }
    void clear() { m_frames.clear(); }
    FramePool& pool() const { return *m_pool; }
    template <typename F>
    void forEach(F&& f) const {
        m_frames.forEach(std::forward<F>(f));
    }

private:
    FramePool* m_pool;
    SegmentedVector<Frame> m_frames;
};

// A position frame of one triple.
inline Frame frameOf(const Triple& t) {
    return Frame::make(t.xBits, t.yBits, kNoNode, t.officer, t.wholeMask, kPositionFrame);
}

// Calls f(triple) for every triple of frame, in order.
template <typename F>
void forEachTriple(const FramePool& pool, const Frame& frame, F&& f) {
    if (frame.kind() == kPositionFrame) f(frame.first());
    const std::uint32_t tail = frame.tail();
    if (tail == kNoNode) return;
    std::uint32_t n = tail;
    do {
        n = pool.nodes[n].next;
        f(pool.nodes[n].triple);
    } while (n != tail);
}

// Lays frame b over frame a: a's triples first, then b's. A consumed b gives
// its further triples to a; otherwise they are copied.
void joinFrame(FramePool& pool, Frame& a, const Frame& b);
void joinFrameConsuming(FramePool& pool, Frame& a, const Frame& b);

// A delay frame of the given Time field.
Frame delayFrame(FramePool& pool, std::string text);

// The frame as text: triples "officer,x,y" joined by ",", a delay frame's
// seconds first; the empty frame is "".
std::string frameText(const FramePool& pool, const Frame& frame);

// src laid over dest from frame 0: both start together.
void merge(Timeline& dest, const Timeline& src);
void merge(Timeline& dest, Timeline&& src);
// src laid over dest from frame pos; a gap is filled with empty frames.
void mergeAt(Timeline& dest, const Timeline& src, std::size_t pos);
void mergeAt(Timeline& dest, Timeline&& src, std::size_t pos);
// src's frames after dest's last frame.
void concat(Timeline& dest, const Timeline& src);
void concat(Timeline& dest, Timeline&& src);
// src laid over dest so that both end on the same frame.
void interleave(Timeline& dest, const Timeline& src);
void interleave(Timeline& dest, Timeline&& src);

// The frames of a compiled path: each walk record closes a frame, with the
// placements before it; placements after the last walk make a final frame
// (ending with ","), else the final frame is empty. No records, no frames.
Timeline splitPath(FramePool& pool, const Path& path);

}  // namespace velistrad
