#include "engine/script_runner.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "compiler/movement_compiler.h"
#include "model/number_text.h"

namespace velistrad {

std::string trimAll(std::string_view x) {
    std::string out;
    out.reserve(x.size());
    for (const char c : x) {
        if (!removedByTrimAll(c)) out += c;
    }
    return out;
}

std::string cleanField(std::string_view field) {
    std::string out = trimAll(field);
    // ASCII only: the field may hold UTF-8, whose bytes must stay whole.
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool removedByTrimAll(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

bool ScriptReader::next(ScriptEntry& entry) {
    for (std::size_t field = 0; field < 3; ++field) {
        if (m_done) return false;
        const std::size_t comma = m_text.find(',', m_start);
        const std::size_t end = comma == std::string_view::npos ? m_text.size() : comma;
        std::string cleaned = cleanField(m_text.substr(m_start, end - m_start));
        entry.raw[field] = {m_start, end};
        if (field == 0) {
            entry.officer = std::move(cleaned);
        } else if (field == 1) {
            entry.direction = std::move(cleaned);
        } else {
            entry.time = std::move(cleaned);
        }
        if (comma == std::string_view::npos) {
            m_done = true;
            if (field < 2) return false;  // an entry left incomplete is dropped
        } else {
            m_start = comma + 1;
        }
    }
    return true;
}

std::vector<ScriptEntry> splitScript(std::string_view text) {
    std::vector<ScriptEntry> entries;
    ScriptReader reader(text);
    ScriptEntry entry;
    while (reader.next(entry)) entries.push_back(entry);
    return entries;
}

std::string errorDetailsText(const ScriptEntry& entry) {
    return "Error occurred while processing: " + visibleText(entry.officer) + ", " +
           visibleText(entry.direction) + ", " + visibleText(entry.time);
}

std::string withThousands(std::size_t n, char separator) {
    std::string digits = std::to_string(n);
    for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, 1, separator);
    return digits;
}

namespace {

// Turns the compiler's messages into diagnostics of the entry being compiled.
class EntryReporter : public Reporter {
public:
    EntryReporter(std::string_view text, DiagnosticSink& sink) : m_text(text), m_sink(sink) {}
    void setEntry(std::size_t index, const ScriptEntry& entry) {
        m_index = index;
        m_entry = &entry;
        for (auto& kept : m_kept) kept.clear();
    }
    void message(const CompileMessage& m) override {
        const FieldSpan span = rawSpan(static_cast<std::size_t>(m.field), m.offset, m.length);
        m_sink.diagnose({m_index + 1, m.field, span.start, span.end - span.start, m.text, m.stops});
    }

private:
    // The bytes of the script that cleaned characters [offset, offset +
    // length) of a field came from; the whole field when there are none.
    FieldSpan rawSpan(std::size_t field, std::size_t offset, std::size_t length) {
        const FieldSpan raw = m_entry->raw[field];
        std::vector<std::size_t>& kept = m_kept[field];
        if (kept.empty()) {
            // Made once per field: a field of a million bad steps has as many messages.
            for (std::size_t pos = raw.start; pos < raw.end; ++pos)
                if (!removedByTrimAll(m_text[pos])) kept.push_back(pos);
        }
        if (offset >= kept.size()) return raw;
        if (length == 0) return {kept[offset], kept[offset]};
        const std::size_t last = std::min(offset + length, kept.size()) - 1;
        return {kept[offset], kept[last] + 1};
    }

    std::string_view m_text;
    DiagnosticSink& m_sink;
    std::size_t m_index = 0;
    const ScriptEntry* m_entry = nullptr;
    std::array<std::vector<std::size_t>, 3> m_kept;  // raw positions of each field's characters
};

Diagnostic wholeEntry(std::size_t index, const ScriptEntry& e, std::string text,
                      DiagnosticKind kind) {
    const std::size_t start = e.raw[0].start;
    return {index + 1, Field::Entry, start, e.raw[2].end - start, std::move(text), true, kind};
}

std::string tooLongText(std::size_t limit) {
    return "This simulation is too long to play: its officers would take more than " +
           withThousands(limit) +
           " steps. Shorten the script, or split it into several simulations.";
}

// The runner's timelines, and where each entry's frames stand in them.
class Composer {
public:
    explicit Composer(FramePool& pool) : m_mainline(pool, 1), m_group(pool, 1), m_chain(pool, 1) {}

    void now(std::size_t entry, Timeline frames) {
        merge(m_group, std::move(m_chain));
        moveMembers(m_chainMembers, m_groupMembers);
        addMember(m_chainMembers, entry, 0, frames.size());
        m_chain = std::move(frames);
    }
    void after(std::size_t entry, Timeline frames) {
        closeGroup();
        addMember(m_chainMembers, entry, 0, frames.size());
        m_chain = std::move(frames);
    }
    void simult(std::size_t entry, Timeline frames) {
        // Both end on the same frame: the shorter starts later.
        const std::size_t chain = m_chain.size();
        const std::size_t added = frames.size();
        if (chain > added) {
            addMember(m_chainMembers, entry, chain - added, added);
        } else {
            for (const std::size_t m : m_chainMembers) m_placed[m].first += added - chain;
            addMember(m_chainMembers, entry, 0, added);
        }
        interleave(m_chain, std::move(frames));
    }
    void unsync(std::size_t entry, Timeline frames) {
        // Laid over the played timeline directly instead of through a
        // separate timeline as long as it: joining frames is associative, so
        // the frames are the same as long as Unsync entries are laid in order.
        const std::size_t pos = m_mainline.size();
        m_placed.push_back({entry, pos, frames.size()});
        if (frames.size() > 0) m_unsync.emplace_back(pos, std::move(frames));
    }
    void delay(std::size_t entry, Frame frame) {
        closeGroup();
        // Its one frame is the entry's, so the readout names it and entry
        // steps stop at it.
        m_placed.push_back({entry, m_mainline.size(), 1});
        m_delays.push_back(m_mainline.size());
        m_mainline.push_back(frame);
        layCoveredUnsync();
    }
    Timeline finish(std::vector<EntryFrames>& placed, std::vector<std::size_t>& delays) {
        merge(m_group, std::move(m_chain));
        moveMembers(m_chainMembers, m_groupMembers);
        placeGroup();
        concat(m_mainline, std::move(m_group));
        for (auto& [pos, frames] : m_unsync) mergeAt(m_mainline, std::move(frames), pos);
        m_unsync.clear();
        placed = std::move(m_placed);
        delays = std::move(m_delays);
        return std::move(m_mainline);
    }

private:
    void closeGroup() {
        merge(m_group, std::move(m_chain));
        moveMembers(m_chainMembers, m_groupMembers);
        placeGroup();
        concat(m_mainline, std::move(m_group));
        m_chain.reset();
        m_group.reset();
        layCoveredUnsync();
    }
    // Frames already in the played timeline never change but for Unsync
    // entries laid over them, so an entry that no longer reaches past its
    // end is laid now and its frames freed.
    void layCoveredUnsync() {
        while (!m_unsync.empty() &&
               m_unsync.front().first + m_unsync.front().second.size() <= m_mainline.size()) {
            mergeAt(m_mainline, std::move(m_unsync.front().second), m_unsync.front().first);
            m_unsync.pop_front();
        }
    }
    void addMember(std::vector<std::size_t>& members, std::size_t entry, std::size_t first,
                   std::size_t count) {
        members.push_back(m_placed.size());
        m_placed.push_back({entry, first, count});
    }
    static void moveMembers(std::vector<std::size_t>& from, std::vector<std::size_t>& to) {
        to.insert(to.end(), from.begin(), from.end());
        from.clear();
    }
    // The group is about to follow the played timeline's last frame.
    void placeGroup() {
        for (const std::size_t m : m_groupMembers) m_placed[m].first += m_mainline.size();
        m_groupMembers.clear();
    }

    Timeline m_mainline;
    Timeline m_group;
    Timeline m_chain;
    std::deque<std::pair<std::size_t, Timeline>> m_unsync;  // in script order
    std::vector<EntryFrames> m_placed;  // first counted from the start of their timeline
    std::vector<std::size_t> m_delays;  // indexes of the delay frames in the played timeline
    std::vector<std::size_t> m_groupMembers;
    std::vector<std::size_t> m_chainMembers;
};

}  // namespace

bool compileEntries(ChapterRoom& room, std::string_view text, std::size_t recordLimit,
                    const EntryVisit& visit) {
    SilentReporter silent;
    MovementCompiler compiler(room, silent);
    ScriptReader reader(text);
    ScriptEntry e;
    Standing before;
    for (std::size_t index = 0; reader.next(e); ++index) {
        if (e.direction == "DELAY") continue;
        for (int o = 0; o < kOfficerCount; ++o)
            before[static_cast<std::size_t>(o)] = {room.officer(o).curX, room.officer(o).curY};
        compiler.limitRecords(recordLimit);
        compiler.compileEntry(e.officer, e.direction);
        if (compiler.failed() || compiler.overLimit()) return false;
        if (!visit(index, compiler.path(), before)) return true;
    }
    return true;
}

static_assert(kMaxRunFrames < kNoNode, "every step of a run must fit a frame node");

std::shared_ptr<PlayedTimeline> composeScript(ChapterRoom& room, std::string_view text,
                                              DiagnosticSink& sink, std::size_t frameLimit) {
    frameLimit = std::min(frameLimit, kMaxRunFrames);
    auto pool = std::make_unique<FramePool>();
    EntryReporter reporter(text, sink);
    MovementCompiler compiler(room, reporter);
    Composer composer(*pool);
    // Steps (compiled triples) and delays so far: what a run's memory grows with.
    std::size_t made = 2;

    ScriptReader reader(text);
    ScriptEntry e;
    std::size_t index = 0;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (; reader.next(e); ++index) {
        reporter.setEntry(index, e);
        spans.emplace_back(e.raw[0].start, e.raw[2].end);
        if (e.direction == "DELAY") {
            if (leadingNumber(e.time) > 0) {
                composer.delay(index, delayFrame(*pool, e.time));
                ++made;
            }
        } else {
            compiler.limitRecords(made < frameLimit ? frameLimit - made : 0);
            compiler.compileEntry(e.officer, e.direction);
            if (compiler.overLimit()) {
                sink.diagnose(
                    wholeEntry(index, e, tooLongText(frameLimit), DiagnosticKind::TooLong));
                return nullptr;
            }
            Timeline frames = splitPath(*pool, compiler.path());
            made += compiler.path().size();
            if (compiler.failed()) {
                sink.diagnose(
                    wholeEntry(index, e, errorDetailsText(e), DiagnosticKind::ErrorDetails));
                return nullptr;
            }
            if (e.time == "AFTER") {
                composer.after(index, std::move(frames));
            } else if (e.time == "SIMULT") {
                composer.simult(index, std::move(frames));
            } else if (e.time == "UNSYNC") {
                composer.unsync(index, std::move(frames));
            } else {
                composer.now(index, std::move(frames));
            }
        }
        if (made > frameLimit) {
            sink.diagnose(wholeEntry(index, e, tooLongText(frameLimit), DiagnosticKind::TooLong));
            return nullptr;
        }
    }
    std::vector<EntryFrames> placed;
    std::vector<std::size_t> delays;
    Timeline frames = composer.finish(placed, delays);
    std::erase_if(placed, [](const EntryFrames& p) { return p.count == 0; });
    auto played = std::make_shared<PlayedTimeline>(std::move(pool), std::move(frames),
                                                   std::move(placed), index, std::move(delays));
    played->entrySpans = std::move(spans);
    return played;
}

}  // namespace velistrad
