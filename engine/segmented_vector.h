// A growable array whose elements never move: segments of 64, 128, 256, ...
// elements, each allocated untouched. Growing copies nothing, so a timeline
// of millions of frames never holds two copies of itself, and the pages of
// a large segment that are not used yet cost no memory. Indexing is O(1).
#pragma once

#include <bit>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace velistrad {

template <typename T>
class SegmentedVector {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>);

public:
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
        reserveFor(m_size + 1);
        (*this)[m_size++] = value;
    }
    // Grows with copies of fill, or drops the elements from n on.
    void resize(std::size_t n, const T& fill) {
        reserveFor(n);
        for (std::size_t i = m_size; i < n; ++i) (*this)[i] = fill;
        m_size = n;
    }
    // Gives the memory back.
    void clear() {
        m_segments.clear();
        m_size = 0;
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
    void reserveFor(std::size_t n) {
        while (capacity() < n) {
            m_segments.push_back(std::make_unique_for_overwrite<T[]>(kFirst << m_segments.size()));
        }
    }
    std::size_t capacity() const { return kFirst * ((std::size_t{1} << m_segments.size()) - 1); }

    std::vector<std::unique_ptr<T[]>> m_segments;
    std::size_t m_size = 0;
};

}  // namespace velistrad
