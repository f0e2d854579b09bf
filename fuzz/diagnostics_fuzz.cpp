// Fuzz target: the messages of a whole script. Each must name an entry that
// exists and a span of bytes inside the script, show only visible text, and
// a run that stops must end with its error details or its refusal. The
// editor's check must agree with the run, and its marks, places and routes
// stay inside the script.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/reporter.h"
#include "engine/script_check.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"

namespace {

using namespace velistrad;

void check(bool condition) {
    if (!condition) std::abort();
}

struct Recorder : DiagnosticSink {
    void diagnose(const Diagnostic& d) override { all.push_back(d); }
    std::vector<Diagnostic> all;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ChapterRoom room;
    Recorder recorder;
    const std::size_t entries = splitScript(text).size();
    const auto played = composeScript(room, text, recorder, 20'000);

    for (const Diagnostic& d : recorder.all) {
        check(d.entry >= 1 && d.entry <= entries);
        check(d.start <= text.size() && d.length <= text.size() - d.start);
        check(visibleText(d.text) == d.text);
        check(d.kind == DiagnosticKind::Message || d.stops);
    }
    if (!played) {
        // Nothing plays only after a stopping error or a refusal, told last.
        check(!recorder.all.empty());
        check(recorder.all.back().kind != DiagnosticKind::Message);
    }

    // No more than the allowed boxes reach the user, then one count.
    Recorder shown;
    LimitedSink limited(shown, 5);
    for (const Diagnostic& d : recorder.all) limited.diagnose(d);
    limited.finish();
    std::size_t messages = 0;
    for (const Diagnostic& d : shown.all) messages += d.kind == DiagnosticKind::Message ? 1 : 0;
    check(messages <= 6);

    if (size > 4096) return 0;  // the rest walks the text once per mark
    // A script past the limit above is checked to the run's own limit, two hundred
    // times the steps: it exercises nothing new and would take most of the time.
    if (!played && recorder.all.back().kind == DiagnosticKind::TooLong) return 0;
    const CheckResult checked = checkScript(ChapterRoom(), text);
    check(checked.plays == (played != nullptr));
    std::size_t yellowMarks = 0;
    for (const FieldMark& m : fieldMarks(text, checked)) {
        check(m.start <= m.end && m.end <= text.size());
        check(m.message.empty() ==
              (m.style != FieldStyle::Error && m.style != FieldStyle::Warning));
        yellowMarks += m.style == FieldStyle::Warning;
    }
    for (const std::string& line : problemLines(text, checked)) check(!line.empty());
    // The command line warns of exactly what the editor marks yellow.
    std::size_t warnings = 0;
    warningLines(text, [&warnings](const std::string& line) {
        check(line.find(": warning: ") != std::string::npos);
        ++warnings;
    });
    check(warnings == yellowMarks);
    const std::size_t at = entryAt(text, size / 2);
    check(at == static_cast<std::size_t>(-1) || at < entries);
    check(!entryAtText(text, size / 2).empty());
    for (const Route& r :
         entryRoute(ChapterRoom(), text, at == static_cast<std::size_t>(-1) ? 0 : at).routes)
        check(!r.points.empty() && ChapterRoom::isOfficer(r.officer));
    return 0;
}
