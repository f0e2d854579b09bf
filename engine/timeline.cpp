#include "engine/timeline.h"

namespace velistrad {

void joinFrame(std::string& a, std::string_view b) {
    if (a.empty()) {
        a.assign(b);
    } else if (!b.empty()) {
        if (a.back() != ',') a += ',';
        a.append(b);
    }
}

void merge(Timeline& dest, const Timeline& src) {
    if (src.size() > dest.size()) dest.resize(src.size());
    for (std::size_t i = 0; i < src.size(); ++i) joinFrame(dest[i], src[i]);
}

void mergepos(Timeline& dest, const Timeline& src, std::size_t pos) {
    // Even an empty src lengthens dest up to pos - 1, as laying it there would.
    if (pos + src.size() > dest.size()) dest.resize(pos + src.size());
    for (std::size_t i = 0; i < src.size(); ++i) joinFrame(dest[pos + i], src[i]);
}

void concat(Timeline& dest, const Timeline& src) {
    dest.insert(dest.end(), src.begin(), src.end());
}

void interleave(Timeline& dest, const Timeline& src) {
    if (dest.size() > src.size()) {
        const std::size_t d = dest.size() - src.size();
        for (std::size_t i = 0; i < src.size(); ++i) joinFrame(dest[i + d], src[i]);
        return;
    }
    // src is as long or longer: dest's frames move d places later. Going
    // downwards reads every old frame before its place is written.
    const std::size_t d = src.size() - dest.size();
    dest.resize(src.size());
    for (std::size_t i = src.size(); i-- > 0;) {
        if (i < d) {
            dest[i] = src[i];
        } else {
            std::string moved = std::move(dest[i - d]);
            joinFrame(moved, src[i]);
            dest[i] = std::move(moved);
        }
    }
}

Timeline splitPath(std::string_view path) {
    Timeline frames;
    if (path.empty()) return frames;  // an entry that wrote nothing has no frames
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
