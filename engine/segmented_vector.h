// A growable array whose elements never move: segments of 64, 128, 256, ...
// elements, each allocated untouched. Growing copies nothing, so a timeline
// of millions of frames never holds two copies of itself, and the pages of
// a large segment that are not used yet cost no memory. Indexing is O(1).
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace velistrad {

template <typename T>
class SegmentedVector {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>);

public:
    SegmentedVector() = default;
    SegmentedVector(SegmentedVector&& other) noexcept { *this = std::move(other); }
    SegmentedVector& operator=(SegmentedVector&& other) noexcept {
        m_segments = std::move(other.m_segments);
        m_size = std::exchange(other.m_size, 0);
        m_tail = std::exchange(other.m_tail, nullptr);
        m_tailLeft = std::exchange(other.m_tailLeft, 0);
        return *this;
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    T& operator[](std::size_t i) {
        const auto [segment, offset] = locate(i);
        return m_segments[segment][offset];
    }
    const T& operator[](std::size_t i) const {
        const auto [segment, offset] = locate(i);
        return m_segments[segment][offset];
    }
    T& back() { return (*this)[m_size - 1]; }

    void push_back(const T& value) {
        if (m_tailLeft == 0) addSegment();
        *m_tail++ = value;
        --m_tailLeft;
        ++m_size;
    }
    // Grows with copies of fill, or drops the elements from n on.
    void resize(std::size_t n, const T& fill) {
        if (n < m_size) {
            m_size = n;
            placeTail();
        }
        while (m_size < n) push_back(fill);
    }
    // Gives the memory back.
    void clear() {
        m_segments.clear();
        m_size = 0;
        m_tail = nullptr;
        m_tailLeft = 0;
    }
    // Keeps n elements (n <= 64) and the first segment, which short lists
    // reuse; the memory of longer ones goes back.
    void shrinkTo(std::size_t n, const T& fill) {
        if (m_segments.size() > 1) m_segments.resize(1);
        m_size = 0;
        placeTail();
        resize(n, fill);
    }
    // Calls f(element) for every element in order, a segment at a time.
    template <typename F>
    void forEach(F&& f) const {
        std::size_t left = m_size;
        for (std::size_t s = 0; left > 0; ++s) {
            const std::size_t n = std::min(left, kFirst << s);
            const T* p = m_segments[s].get();
            for (std::size_t i = 0; i < n; ++i) f(p[i]);
            left -= n;
        }
    }

private:
    static constexpr unsigned kFirstBits = 6;
    static constexpr std::size_t kFirst = std::size_t{1} << kFirstBits;

    struct Place {
        std::size_t segment;
        std::size_t offset;
    };
    // Segment s holds the indexes from kFirst * (2^s - 1) on.
    static Place locate(std::size_t i) {
        const std::size_t k = i + kFirst;
        const std::size_t s = static_cast<std::size_t>(std::bit_width(k)) - 1 - kFirstBits;
        return {s, k - (kFirst << s)};
    }
    [[gnu::noinline]] void addSegment() {
        const std::size_t s =
            static_cast<std::size_t>(std::bit_width(m_size + kFirst)) - 1 - kFirstBits;
        if (s >= m_segments.size())
            m_segments.push_back(std::make_unique_for_overwrite<T[]>(kFirst << s));
        m_tail = m_segments[s].get();
        m_tailLeft = kFirst << s;
    }
    // After the size went down: the next element goes where the size says.
    void placeTail() {
        if (m_size == 0 && m_segments.empty()) {
            m_tail = nullptr;
            m_tailLeft = 0;
            return;
        }
        const auto [segment, offset] = locate(m_size);
        if (segment >= m_segments.size()) {
            m_tail = nullptr;
            m_tailLeft = 0;
            return;
        }
        m_tail = m_segments[segment].get() + offset;
        m_tailLeft = (kFirst << segment) - offset;
    }

    std::vector<std::unique_ptr<T[]>> m_segments;
    std::size_t m_size = 0;
    T* m_tail = nullptr;  // where the next element goes
    std::size_t m_tailLeft = 0;
};

}  // namespace velistrad
