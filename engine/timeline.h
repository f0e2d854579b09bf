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
#include <vector>

#include "compiler/path_record.h"
#include "engine/segmented_vector.h"

namespace velistrad {

inline constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;

enum FrameShape : std::uint8_t {
    kEmptyFrame = 0,
    kPositionFrame = 1,
    kDelayFrame = 2,
    kShapeMask = 3,
    // The text of the frame ends with ",": its last triples were placements
    // with no walk after them.
    kTrailingComma = 4,
};

// Trivial and 20 bytes: long timelines are mostly frames of one triple.
struct Frame {
    std::uint32_t xBits;  // first triple; a delay frame's index in FramePool::delays
    std::uint32_t yBits;
    std::uint32_t more;  // the further triples: first node, or kNoNode
    std::uint32_t last;  // last node, or kNoNode
    std::uint8_t officer;
    std::uint8_t wholeMask;
    std::uint8_t shape;

    FrameShape kind() const { return static_cast<FrameShape>(shape & kShapeMask); }
    bool isEmpty() const { return kind() == kEmptyFrame; }
    bool isDelay() const { return kind() == kDelayFrame; }
    Triple first() const { return {xBits, yBits, officer, wholeMask}; }
};

inline constexpr Frame kEmpty{0, 0, kNoNode, kNoNode, 0, 0, kEmptyFrame};

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
    void reset() {
        m_frames.clear();
        m_frames.push_back(kEmpty);
    }
    void clear() { m_frames.clear(); }
    FramePool& pool() const { return *m_pool; }

private:
    FramePool* m_pool;
    SegmentedVector<Frame> m_frames;
};

// A position frame of one triple.
inline Frame frameOf(const Triple& t) {
    return {t.xBits, t.yBits, kNoNode, kNoNode, t.officer, t.wholeMask, kPositionFrame};
}

// Calls f(triple) for every triple of frame, in order.
template <typename F>
void forEachTriple(const FramePool& pool, const Frame& frame, F&& f) {
    if (frame.kind() == kPositionFrame) f(frame.first());
    for (std::uint32_t n = frame.more; n != kNoNode; n = pool.nodes[n].next)
        f(pool.nodes[n].triple);
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
void mergepos(Timeline& dest, const Timeline& src, std::size_t pos);
void mergepos(Timeline& dest, Timeline&& src, std::size_t pos);
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
