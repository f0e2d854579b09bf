#include "engine/timeline.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace velistrad {

void joinFrame(std::string& a, std::string_view b) {
    if (a.empty()) {
        a.assign(b);
    } else if (!b.empty()) {
        if (a.back() != ',') a += ',';
        a.append(b);
    }
}

namespace {

// The operations below are written once for both kinds of src: a const one is
// copied from, a consumed one has its frames moved, which is what keeps
// composing a long script cheap.
template <typename Src>
decltype(auto) frameOf(Src&& src, std::size_t i) {
    if constexpr (std::is_const_v<std::remove_reference_t<Src>> ||
                  std::is_lvalue_reference_v<Src>) {
        return static_cast<const std::string&>(src[i]);
    } else {
        return std::move(src[i]);
    }
}

void join(std::string& a, const std::string& b) {
    joinFrame(a, b);
}
void join(std::string& a, std::string&& b) {
    if (a.empty()) {
        a = std::move(b);
    } else {
        joinFrame(a, b);
    }
}

template <typename Src>
void mergeImpl(Timeline& dest, Src&& src) {
    if (src.size() > dest.size()) dest.resize(src.size());
    for (std::size_t i = 0; i < src.size(); ++i) join(dest[i], frameOf(std::forward<Src>(src), i));
}

template <typename Src>
void mergeposImpl(Timeline& dest, Src&& src, std::size_t pos) {
    // Even an empty src lengthens dest up to pos - 1, as laying it there would.
    if (pos + src.size() > dest.size()) dest.resize(pos + src.size());
    for (std::size_t i = 0; i < src.size(); ++i) {
        join(dest[pos + i], frameOf(std::forward<Src>(src), i));
    }
}

template <typename Src>
void concatImpl(Timeline& dest, Src&& src) {
    // Growing by push_back keeps the growth geometric; reserving the exact
    // size here would copy the whole timeline at every concat.
    for (std::size_t i = 0; i < src.size(); ++i) {
        dest.push_back(frameOf(std::forward<Src>(src), i));
    }
}

template <typename Src>
void interleaveImpl(Timeline& dest, Src&& src) {
    if (dest.size() > src.size()) {
        const std::size_t d = dest.size() - src.size();
        for (std::size_t i = 0; i < src.size(); ++i) {
            join(dest[i + d], frameOf(std::forward<Src>(src), i));
        }
        return;
    }
    // src is as long or longer: dest's frames move d places later. Going
    // downwards reads every old frame before its place is written.
    const std::size_t d = src.size() - dest.size();
    dest.resize(src.size());
    for (std::size_t i = src.size(); i-- > 0;) {
        if (i < d) {
            dest[i] = frameOf(std::forward<Src>(src), i);
        } else {
            std::string moved = std::move(dest[i - d]);
            join(moved, frameOf(std::forward<Src>(src), i));
            dest[i] = std::move(moved);
        }
    }
}

}  // namespace

void merge(Timeline& dest, const Timeline& src) {
    mergeImpl(dest, src);
}
void merge(Timeline& dest, Timeline&& src) {
    mergeImpl(dest, std::move(src));
}
void mergepos(Timeline& dest, const Timeline& src, std::size_t pos) {
    mergeposImpl(dest, src, pos);
}
void mergepos(Timeline& dest, Timeline&& src, std::size_t pos) {
    mergeposImpl(dest, std::move(src), pos);
}
void concat(Timeline& dest, const Timeline& src) {
    concatImpl(dest, src);
}
void concat(Timeline& dest, Timeline&& src) {
    concatImpl(dest, std::move(src));
}
void interleave(Timeline& dest, const Timeline& src) {
    interleaveImpl(dest, src);
}
void interleave(Timeline& dest, Timeline&& src) {
    interleaveImpl(dest, std::move(src));
}

Timeline splitPath(std::string_view path) {
    Timeline frames;
    if (path.empty()) return frames;  // an entry that wrote nothing has no frames
    frames.reserve(static_cast<std::size_t>(std::count(path.begin(), path.end(), '|')) + 1);
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = path.find('|', start);
        frames.emplace_back(path.substr(start, bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return frames;
}

}  // namespace velistrad
