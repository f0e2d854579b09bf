#include "engine/played_timeline.h"

#include "engine/script_runner.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

namespace velistrad {

PlayedTimeline::PlayedTimeline(std::unique_ptr<FramePool> pool, Timeline frames,
                               std::vector<EntryFrames> entries, std::size_t entryCount,
                               std::vector<std::size_t> delayFrames)
    : m_pool(std::move(pool)),
      m_frames(std::move(frames)),
      m_entries(std::move(entries)),
      m_entryCount(entryCount),
      m_delayIndex(std::move(delayFrames)) {
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const EntryFrames& a, const EntryFrames& b) { return a.first < b.first; });
    std::size_t reach = 0;
    m_reachEnd.reserve(m_entries.size());
    for (const EntryFrames& e : m_entries) {
        reach = std::max(reach, e.first + e.count);
        m_reachEnd.push_back(reach);
    }

    double seconds = 0;
    m_delaySecondsBefore.push_back(0);
    for (const std::size_t i : m_delayIndex) {
        seconds += delaySeconds(m_frames[i]);
        m_delaySecondsBefore.push_back(seconds);
    }
}

// Snapshots are taken the first time a seek needs them, so a run that is
// only played, never sought, costs no pass of its own.
void PlayedTimeline::snapshotUpTo(std::size_t snapshot) const {
    while (m_snapshots.size() <= snapshot) {
        const std::size_t from = (m_snapshots.size() - 1) * kSnapshotEvery;
        if (from + kSnapshotEvery > size()) return;  // the end: no snapshot after it
        for (std::size_t i = from; i < from + kSnapshotEvery; ++i) apply(i, m_frontier);
        Positions& p = m_snapshots.emplace_back();
        for (int k = 0; k < kOfficerCount; ++k) {
            p[2 * static_cast<std::size_t>(k)] = m_frontier.officer(k).curX;
            p[2 * static_cast<std::size_t>(k) + 1] = m_frontier.officer(k).curY;
        }
    }
}

double PlayedTimeline::timeAt(std::size_t n, double frameDelay) const {
    n = std::min(n, size());
    const auto delays = static_cast<std::size_t>(
        std::lower_bound(m_delayIndex.begin(), m_delayIndex.end(), n) - m_delayIndex.begin());
    return static_cast<double>(n - delays) * frameDelay + m_delaySecondsBefore[delays];
}

std::vector<std::size_t> PlayedTimeline::entriesAt(std::size_t n) const {
    std::vector<std::size_t> found;
    auto j = static_cast<std::size_t>(
        std::upper_bound(m_entries.begin(), m_entries.end(), n,
                         [](std::size_t frame, const EntryFrames& e) { return frame < e.first; }) -
        m_entries.begin());
    // Entries that start at or before n; none before j - k reaches past n
    // once the furthest end so far does not.
    while (j > 0 && m_reachEnd[j - 1] > n) {
        --j;
        if (m_entries[j].first + m_entries[j].count > n) found.push_back(m_entries[j].entry);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::size_t PlayedTimeline::nextEntryStart(std::size_t shown) const {
    // Entries are kept by first frame: the first one shown only after `shown`.
    const auto e = std::upper_bound(
        m_entries.begin(), m_entries.end(), shown,
        [](std::size_t s, const EntryFrames& entry) { return s < entry.first + 1; });
    return e == m_entries.end() ? shown : e->first + 1;
}

std::size_t PlayedTimeline::previousEntryStart(std::size_t shown) const {
    const auto e = std::lower_bound(
        m_entries.begin(), m_entries.end(), shown,
        [](const EntryFrames& entry, std::size_t s) { return entry.first + 1 < s; });
    return e == m_entries.begin() ? shown : std::prev(e)->first + 1;
}

bool PlayedTimeline::apply(std::size_t n, ChapterRoom& room) const {
    bool any = false;
    forEachTriple(*m_pool, m_frames[n], [&](const Triple& t) {
        any = true;
        if (!ChapterRoom::isOfficer(t.officer)) return;
        Officer& o = room.officer(t.officer);
        float v = 0;
        if (playedX(t, v)) o.curX = v;
        if (playedY(t, v)) o.curY = v;
    });
    return any;
}

void PlayedTimeline::seek(std::size_t frames, ChapterRoom& room) const {
    frames = std::min(frames, size());
    if (m_snapshots.empty()) {
        // Before frame 0 everyone stands at his station.
        Positions& p = m_snapshots.emplace_back();
        for (int k = 0; k < kOfficerCount; ++k) {
            p[2 * static_cast<std::size_t>(k)] = m_frontier.officer(k).curX;
            p[2 * static_cast<std::size_t>(k) + 1] = m_frontier.officer(k).curY;
        }
    }
    snapshotUpTo(frames / kSnapshotEvery);
    const std::size_t s = std::min(frames / kSnapshotEvery, m_snapshots.size() - 1);
    const Positions& p = m_snapshots[s];
    for (int k = 0; k < kOfficerCount; ++k) {
        room.officer(k).curX = p[2 * static_cast<std::size_t>(k)];
        room.officer(k).curY = p[2 * static_cast<std::size_t>(k) + 1];
    }
    for (std::size_t i = s * kSnapshotEvery; i < frames; ++i) apply(i, room);
}

namespace {

std::string tenths(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

}  // namespace

std::string oneLine(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string positionText(const PlayedTimeline& played, std::size_t shown, double frameDelay) {
    shown = std::min(shown, played.size());
    return "frame " + withThousands(shown, ' ') + " / " + withThousands(played.size(), ' ') +
           " \u00B7 " + tenths(played.timeAt(shown, frameDelay)) + " / " +
           tenths(played.timeAt(played.size(), frameDelay));
}

std::string entryText(const PlayedTimeline& played, std::string_view script, std::size_t shown) {
    if (shown == 0 || shown > played.size()) return {};
    const std::vector<std::size_t> entries = played.entriesAt(shown - 1);
    if (entries.empty()) return {};
    if (entries.size() > 1) {
        std::string text = "entries ";
        for (std::size_t i = 0; i < entries.size(); ++i)
            text += (i ? ", " : "") + std::to_string(entries[i] + 1);
        return text;
    }
    std::string text = "entry " + std::to_string(entries[0] + 1);
    if (entries[0] < played.entrySpans.size()) {
        const auto [start, end] = played.entrySpans[entries[0]];
        if (end <= script.size()) text += ": " + oneLine(script.substr(start, end - start));
    }
    return text;
}

std::string readoutText(const PlayedTimeline& played, std::string_view script, std::size_t shown,
                        double frameDelay, bool outdated) {
    std::string text = positionText(played, shown, frameDelay);
    const std::string entry = entryText(played, script, shown);
    if (!entry.empty()) text += " \u00B7 " + entry;
    if (outdated) text += " \u00B7 the run of the script before the edit";
    return text;
}

void TimelineCursor::seek(std::size_t next) {
    m_next = std::min(next, m_played.size());
    m_played.seek(m_next, m_room);
}

TimelineCursor::Step TimelineCursor::step() {
    const Frame& f = m_played.frame(m_next);
    const bool moved = m_played.apply(m_next, m_room);
    ++m_next;
    // A delay waits its seconds whatever the speed, and draws the Unsync
    // positions laid over it.
    return {moved, f.isDelay() ? m_played.delaySeconds(f) : -1.0};
}

}  // namespace velistrad
