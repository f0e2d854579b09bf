#include "engine/script_runner.h"

#include <utility>

#include "model/number_text.h"

namespace velistrad {

std::string TrimAll(std::string_view x) {
    std::string out;
    out.reserve(x.size());
    for (const char c : x) {
        if (c != ' ' && c != '\r' && c != '\n') out += c;
    }
    return out;
}

namespace {

std::string cleanField(std::string_view field) {
    std::string out = TrimAll(field);
    // ASCII only: the field may hold UTF-8, whose bytes must stay whole.
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::vector<ScriptEntry> splitScript(std::string_view text) {
    std::vector<ScriptEntry> entries;
    if (text.empty()) return entries;
    ScriptEntry current;
    std::size_t field = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        std::string cleaned = cleanField(text.substr(start, comma - start));
        switch (field % 3) {
            case 0:
                current.Officer = std::move(cleaned);
                break;
            case 1:
                current.Direction = std::move(cleaned);
                break;
            default:
                current.Time = std::move(cleaned);
                entries.push_back(std::move(current));
                current = ScriptEntry{};
                break;
        }
        ++field;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return entries;
}

std::string errorDetailsText(const ScriptEntry& entry) {
    return "Error occurred while processing: " + entry.Officer + ", " + entry.Direction + ", " +
           entry.Time;
}

std::optional<Composition> composeScript(MovementCompiler& compiler,
                                         const std::vector<ScriptEntry>& entries,
                                         const std::function<void(const std::string&)>& onError) {
    compiler.simerror = false;

    // Compile every entry first: composing has no effect on positions, and
    // knowing how many frames there are at most lets the long timelines be
    // allocated once instead of growing (and moving) frame by frame.
    std::vector<Timeline> compiled(entries.size());
    std::size_t bound = 2;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ScriptEntry& e = entries[i];
        if (e.Direction == "DELAY") {
            ++bound;
            continue;
        }
        compiler.moveofficer(e.Officer, e.Direction);
        compiled[i] = splitPath(compiler.path());
        bound += compiled[i].size() + 1;
        if (compiler.simerror) {
            onError(errorDetailsText(e));
            return std::nullopt;
        }
    }

    Composition result;
    Timeline& mainline = result.mainline;
    mainline.reserve(bound);
    mainline.assign(1, std::string());
    Timeline group(1);
    Timeline chain(1);
    // Unsync entries with the frame of mainline they start at. Laying each
    // over mainline at the end gives the same frames as collecting them in
    // one timeline first (joining frames is associative), without a second
    // timeline as long as mainline.
    std::vector<std::pair<std::size_t, Timeline*>> unsync;

    auto reset = [](Timeline& t) { t.assign(1, std::string()); };
    auto closeGroup = [&] {
        merge(group, std::move(chain));
        concat(mainline, std::move(group));
        reset(chain);
        reset(group);
    };

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ScriptEntry& e = entries[i];
        Timeline& frames = compiled[i];
        if (e.Direction == "DELAY") {
            if (leadingNumber(e.Time) > 0) {
                closeGroup();
                result.delayFrames.push_back(mainline.size());
                mainline.push_back(e.Time);
            }
        } else if (e.Time == "AFTER") {
            closeGroup();
            chain = std::move(frames);
        } else if (e.Time == "SIMULT") {
            interleave(chain, std::move(frames));
        } else if (e.Time == "UNSYNC") {
            unsync.emplace_back(mainline.size(), &frames);
        } else {
            merge(group, std::move(chain));
            chain = std::move(frames);
        }
    }
    merge(group, std::move(chain));
    concat(mainline, std::move(group));
    for (auto& [pos, frames] : unsync) mergepos(mainline, std::move(*frames), pos);
    return result;
}

}  // namespace velistrad
