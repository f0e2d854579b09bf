#include "engine/script_check.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace velistrad {

namespace {

// Keeps the first of each message of an entry, in the order they came.
class OncePerEntry : public DiagnosticSink {
public:
    explicit OncePerEntry(std::vector<Diagnostic>& out) : m_out(out) {}
    void diagnose(const Diagnostic& d) override {
        if (m_seen.emplace(d.entry, d.text).second) m_out.push_back(d);
    }

private:
    std::vector<Diagnostic>& m_out;
    std::set<std::pair<std::size_t, std::string>> m_seen;
};

// Whole entries in the text: every "," ends a field, three fields an entry.
std::size_t entryCount(std::string_view text) {
    return text.empty()
               ? 0
               : (static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1) / 3;
}

bool knownTimingWord(std::string_view word) {
    return word == "NOW" || word == "AFTER" || word == "SIMULT" || word == "UNSYNC";
}

std::string trimmed(std::string_view text, FieldSpan span) {
    return trimAll(text.substr(span.start, span.end - span.start));
}

// As Play reads a field.
std::string cleaned(std::string_view text, FieldSpan span) {
    return cleanField(text.substr(span.start, span.end - span.start));
}

// Play takes an unknown or missing timing word for Now; a pause has none.
std::optional<std::string> timingWarning(std::string_view direction, std::string_view time) {
    if (cleanField(direction) == "DELAY" || knownTimingWord(cleanField(time))) return std::nullopt;
    const std::string word = trimAll(time);
    return word.empty()
               ? "No timing word: Play treats it as Now."
               : "Unknown timing word \"" + visibleText(word) + "\": Play treats it as Now.";
}

// The first character of [start, end) that is not a blank or a line break.
std::size_t firstShown(std::string_view text, std::size_t start, std::size_t end) {
    std::size_t first = start;
    while (first < end && removedByTrimAll(text[first])) ++first;
    return first < end ? first : start;
}

// A route longer than this is not worth previewing: no real entry comes near.
constexpr std::size_t kPreviewRecords = 100'000;

}  // namespace

CheckResult checkScript(const ChapterRoom& from, std::string_view text) {
    CheckResult result;
    ChapterRoom room = from;
    OncePerEntry sink(result.problems);
    result.plays = composeScript(room, text, sink) != nullptr;
    return result;
}

std::optional<Diagnostic> incompleteEntry(std::string_view text) {
    // Every "," ends a field; whole entries take three fields each.
    std::size_t fields = 1;
    std::size_t afterWhole = 0;  // where the fields after the last whole entry begin
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ',') continue;
        if (++fields % 3 == 1) afterWhole = i + 1;
    }
    if (fields % 3 == 0) return std::nullopt;
    const std::string_view rest = text.substr(afterWhole);
    if (trimAll(rest).find_first_not_of(',') == std::string::npos) return std::nullopt;
    Diagnostic d;
    d.entry = fields / 3 + 1;
    d.start = afterWhole;
    d.length = rest.size();
    d.text = kIncompleteEntryText;
    return d;
}

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

TextPlace placeOf(std::string_view text, std::size_t offset) {
    TextPlace place;
    offset = std::min(offset, text.size());
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++place.line;
            place.column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++place.column;  // a character starts here, not a UTF-8 continuation
        }
    }
    return place;
}

std::size_t entryStart(std::string_view text, const std::array<FieldSpan, 3>& raw) {
    return firstShown(text, raw[0].start, raw[2].end);
}

std::vector<std::string> problemLines(std::string_view text, const CheckResult& check) {
    std::vector<const Diagnostic*> all;
    for (const Diagnostic& d : check.problems) all.push_back(&d);
    // Where each named entry starts, found in one pass over the text.
    std::vector<std::size_t> wanted;
    for (const Diagnostic* d : all) wanted.push_back(d->entry);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    std::vector<std::pair<std::size_t, TextPlace>> places;  // by entry
    ScriptReader reader(text);
    ScriptEntry e;
    for (std::size_t n = 1, w = 0; w < wanted.size() && reader.next(e); ++n) {
        while (w < wanted.size() && wanted[w] < n) ++w;
        if (w < wanted.size() && wanted[w] == n) places.emplace_back(n, TextPlace{});
        if (!places.empty() && places.back().first == n)
            places.back().second = placeOf(text, entryStart(text, e.raw));
    }
    std::vector<std::string> lines;
    lines.reserve(all.size());
    for (const Diagnostic* d : all) {
        TextPlace place;
        const auto found = std::lower_bound(
            places.begin(), places.end(), d->entry,
            [](const std::pair<std::size_t, TextPlace>& p, std::size_t n) { return p.first < n; });
        if (found != places.end() && found->first == d->entry) place = found->second;
        lines.push_back(std::to_string(d->entry) + ':' + std::to_string(place.line) + ':' +
                        std::to_string(place.column) + ": " + d->text);
    }
    return lines;
}

void warningLines(std::string_view text, const std::function<void(const std::string&)>& line) {
    // Places are found in increasing order, so the text is read once.
    TextPlace place;
    std::size_t placed = 0;
    auto warn = [&](std::size_t entry, std::size_t offset, const std::string& message) {
        const TextPlace more = placeOf(text.substr(placed), offset - placed);
        place.column = more.line > 1 ? more.column : place.column + more.column - 1;
        place.line += more.line - 1;
        placed = offset;
        line(std::to_string(entry) + ':' + std::to_string(place.line) + ':' +
             std::to_string(place.column) + ": warning: " + message);
    };
    ScriptReader reader(text);
    ScriptEntry e;
    for (std::size_t n = 1; reader.next(e); ++n) {
        const auto field = [&](int f) {
            return text.substr(e.raw[f].start, e.raw[f].end - e.raw[f].start);
        };
        if (const std::optional<std::string> w = timingWarning(field(1), field(2)))
            warn(n, firstShown(text, e.raw[2].start, e.raw[2].end), *w);
    }
    if (const std::optional<Diagnostic> rest = incompleteEntry(text))
        warn(rest->entry, firstShown(text, rest->start, rest->start + rest->length), rest->text);
}

std::vector<FieldMark> fieldMarks(std::string_view text, const CheckResult& check) {
    std::vector<FieldMark> marks;
    if (text.empty()) return marks;
    const std::size_t complete = entryCount(text);
    std::vector<FieldSpan> spans;  // every field, complete entries or not
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        spans.push_back({start, comma});
        if (comma == text.size()) break;
        start = comma + 1;
    }
    for (std::size_t f = 0; f < spans.size(); ++f) {
        static constexpr FieldStyle kStyles[] = {FieldStyle::Officer, FieldStyle::Direction,
                                                 FieldStyle::Time};
        FieldStyle style = kStyles[f % 3];
        if (style == FieldStyle::Direction && cleaned(text, spans[f]) == "DELAY")
            style = FieldStyle::Delay;
        marks.push_back({spans[f].start, spans[f].end, style, f / 3, {}});
    }
    const std::size_t fieldCount = marks.size();
    for (std::size_t entry = 0; entry * 3 < fieldCount; ++entry) {
        const std::size_t first = entry * 3;
        if (entry >= complete) {
            const FieldSpan all{spans[first].start, spans[fieldCount - 1].end};
            if (trimmed(text, all).find_first_not_of(',') != std::string::npos)
                marks.push_back(
                    {all.start, all.end, FieldStyle::Warning, entry, kIncompleteEntryText});
            continue;
        }
        const auto field = [&](std::size_t f) {
            return text.substr(spans[f].start, spans[f].end - spans[f].start);
        };
        if (std::optional<std::string> w = timingWarning(field(first + 1), field(first + 2)))
            marks.push_back({spans[first + 2].start, spans[first + 2].end, FieldStyle::Warning,
                             entry, std::move(*w)});
    }
    for (const Diagnostic& d : check.problems) {
        if (d.entry == 0 || d.kind == DiagnosticKind::ErrorDetails) continue;
        const std::size_t entry = d.entry - 1;
        FieldSpan span{d.start, d.start + d.length};
        if (d.kind == DiagnosticKind::TooLong) {
            span = {spans[entry * 3].start, spans[entry * 3 + 2].end};
        } else if (d.length == 0 && d.field != Field::Entry) {
            span = spans[entry * 3 + static_cast<std::size_t>(d.field)];  // nothing to point at
        }
        marks.push_back({span.start, span.end, FieldStyle::Error, entry, d.text});
    }
    return marks;
}

namespace {

// The entry's three fields as typed, without blanks, joined by `between`.
std::string fieldsText(std::string_view text, const std::array<FieldSpan, 3>& raw,
                       const char* between) {
    return visibleText(trimmed(text, raw[0])) + between + visibleText(trimmed(text, raw[1])) +
           between + visibleText(trimmed(text, raw[2]));
}

}  // namespace

// Found by counting commas rather than reading every entry before it: the
// editor asks at each keystroke, of scripts of a million entries too.
std::optional<std::array<FieldSpan, 3>> entryFields(std::string_view text, std::size_t n) {
    if (n >= entryCount(text)) return std::nullopt;
    std::size_t start = 0;
    for (std::size_t commas = 0; commas < 3 * n; ++commas) start = text.find(',', start) + 1;
    std::array<FieldSpan, 3> raw;
    for (FieldSpan& field : raw) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        field = {start, end};
        start = end + 1;
    }
    return raw;
}

std::size_t entryAt(std::string_view text, std::size_t offset) {
    // An entry holds the comma that ends it; the next begins after it.
    if (offset > text.size()) return static_cast<std::size_t>(-1);
    const auto before = static_cast<std::size_t>(
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), ','));
    return before / 3 < entryCount(text) ? before / 3 : static_cast<std::size_t>(-1);
}

std::string entryAtText(std::string_view text, std::size_t offset) {
    const std::size_t entries = entryCount(text);
    const std::size_t at = entryAt(text, offset);
    const std::string count = withThousands(entries);
    if (at >= entries) return count + (entries == 1 ? " entry" : " entries");
    return "entry " + withThousands(at + 1) + " of " + count + " \u00B7 " +
           fieldsText(text, *entryFields(text, at), " \u00B7 ");
}

std::string problemText(std::string_view text, const Diagnostic& d) {
    std::string out = "entry " + std::to_string(d.entry);
    if (d.entry >= 1)
        if (const auto raw = entryFields(text, d.entry - 1))
            out += ", \"" + fieldsText(text, *raw, ", ") + "\"";
    return out + ": " + d.text;
}

EntryRoute entryRoute(const ChapterRoom& from, std::string_view text, std::size_t entry) {
    EntryRoute result;
    ChapterRoom room = from;
    compileEntries(
        room, text, kPreviewRecords, [&](std::size_t i, const Path& path, const Standing& before) {
            if (i < entry) return true;
            if (i > entry) return false;  // the entry was a pause
            for (const PathRecord& r : path) {
                const int o = r.triple.officer;
                auto route = std::find_if(result.routes.begin(), result.routes.end(),
                                          [o](const Route& x) { return x.officer == o; });
                if (route == result.routes.end()) {
                    result.routes.push_back({o, {before[static_cast<std::size_t>(o)]}});
                    route = result.routes.end() - 1;
                }
                float x = route->points.back().first;
                float y = route->points.back().second;
                playedX(r.triple, x);
                playedY(r.triple, y);
                route->points.emplace_back(x, y);
            }
            return false;
        });
    std::set<int> stations;
    std::set<int> points;
    for (const Route& route : result.routes) {
        for (const auto& [x, y] : route.points) {
            if (const int o = room.stationAt(x, y); o >= 0) stations.insert(o);
            if (const int p = room.pointAt(x, y); p >= 0) points.insert(p);
        }
    }
    result.stations.assign(stations.begin(), stations.end());
    result.points.assign(points.begin(), points.end());
    return result;
}

}  // namespace velistrad
