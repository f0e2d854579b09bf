// A composed run that stays after it has played: its frames, which script
// entries they come from, their times at any speed, and where every officer
// stands after any frame without replaying from the start.
//
// Playback, seeking and the command-line tool all step through the frames
// with the same TimelineCursor, so what is drawn and what is reported cannot
// differ. Positions are twips, times seconds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/timeline.h"
#include "model/chapter_room.h"

namespace velistrad {

// The frames of one compiled entry in the played timeline: [first, first + count).
struct EntryFrames {
    std::size_t entry;  // 0-based index of the entry in the script
    std::size_t first;
    std::size_t count;
};

class PlayedTimeline {
public:
    // Takes the composed frames; `pool` must be the one they live in, and
    // delayFrames the ascending indexes of the delay frames among them.
    PlayedTimeline(std::unique_ptr<FramePool> pool, Timeline frames,
                   std::vector<EntryFrames> entries, std::size_t entryCount,
                   std::vector<std::size_t> delayFrames);

    std::size_t size() const { return m_frames.size(); }
    const Frame& frame(std::size_t i) const { return m_frames[i]; }
    const FramePool& pool() const { return *m_pool; }
    std::string frameText(std::size_t i) const {
        return velistrad::frameText(*m_pool, m_frames[i]);
    }
    // The seconds a delay frame waits (its Time field's leading number).
    double delaySeconds(const Frame& f) const { return m_pool->delays[f.xBits].seconds; }

    // Seconds from the start of frame 0 to the start of frame n (n may be
    // size()) when a frame period is frameDelay: delay frames count their
    // own seconds.
    double timeAt(std::size_t n, double frameDelay) const;

    // The entries (0-based) whose frames make up frame n, in script order.
    std::vector<std::size_t> entriesAt(std::size_t n) const;
    const std::vector<EntryFrames>& entries() const { return m_entries; }
    std::size_t entryCount() const { return m_entryCount; }

    // Where the next / previous entry starts: the number of frames shown
    // once that entry's first frame is (its first frame + 1), after / before
    // `shown` frames; `shown` itself when there is none.
    std::size_t nextEntryStart(std::size_t shown) const;
    std::size_t previousEntryStart(std::size_t shown) const;

    // The bytes of the script each entry (0-based) was read from, Officer
    // field to Time field; set by the composer.
    std::vector<std::pair<std::size_t, std::size_t>> entrySpans;

    // Applies frame n's triples to the room's current positions; a later
    // triple for the same officer wins. False when the frame holds none.
    bool apply(std::size_t n, ChapterRoom& room) const;

    // Every officer where he stands once the first `frames` frames have been
    // applied from the stations (0: at the stations); clamped to size().
    void seek(std::size_t frames, ChapterRoom& room) const;

private:
    static constexpr std::size_t kSnapshotEvery = 128;
    using Positions = std::array<float, 2 * kOfficerCount>;

    std::unique_ptr<FramePool> m_pool;
    Timeline m_frames;
    std::vector<EntryFrames> m_entries;   // by first frame
    std::vector<std::size_t> m_reachEnd;  // the furthest end of m_entries[0..i]
    std::size_t m_entryCount;
    std::vector<std::size_t> m_delayIndex;     // ascending frame indexes of delay frames
    std::vector<double> m_delaySecondsBefore;  // seconds of the delays before each of them
    // Before frames 0, K, 2K, ...: taken as seeks need them.
    void snapshotUpTo(std::size_t snapshot) const;
    mutable std::vector<Positions> m_snapshots;
    mutable ChapterRoom m_frontier;  // where the frames up to the last snapshot leave everyone
};

// The text as typed, on one line with single blanks.
std::string oneLine(std::string_view text);

// "frame 412 / 1 190 · 10.3 s / 29.8 s" once `shown` frames have been shown,
// with times at frameDelay seconds a frame.
std::string positionText(const PlayedTimeline& played, std::size_t shown, double frameDelay);

// "entry 3: SC, XZE-N-Ch-, Simult" (or "entries 2, 3") for the last frame
// shown, read from the script the timeline was composed from; "" before the
// first frame and for frames of no entry.
std::string entryText(const PlayedTimeline& played, std::string_view script, std::size_t shown);

// The timeline's readout: positionText, then the entryText of `script`, the
// text the timeline was composed from. When the editor holds another script
// since, the readout says it is the run of the script before the edit.
std::string readoutText(const PlayedTimeline& played, std::string_view script, std::size_t shown,
                        double frameDelay, bool outdated);

// Steps through a played timeline, moving the room's officers as it goes.
class TimelineCursor {
public:
    TimelineCursor(const PlayedTimeline& played, ChapterRoom& room)
        : m_played(played), m_room(room) {}

    // The officers where they stand before frame `next`, which plays next.
    void seek(std::size_t next);
    std::size_t next() const { return m_next; }
    bool atEnd() const { return m_next >= m_played.size(); }

    struct Step {
        bool draw;    // officers moved: the plan must be redrawn
        double wait;  // seconds to wait; 0 or less: one frame period
    };
    // Plays the next frame into the room.
    Step step();

private:
    const PlayedTimeline& m_played;
    ChapterRoom& m_room;
    std::size_t m_next = 0;
};

}  // namespace velistrad
