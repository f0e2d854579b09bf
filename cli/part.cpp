// velistrad-cli part ABBR SOURCE: one line per entry that moves him,
//   START<TAB>END<TAB>ENTRY<TAB>WORDS
// with the times in seconds at Medium.
// velistrad-cli practice --officer ABBR SOURCE: one line per question,
//   TIME<TAB>PLACE<TAB>RIGHT; RIGHT; ...
// the time the run holds for it, where the entry leaves him, and every place
// that counts as right (his place first).
#include "cli/part.h"

#include <cstdio>
#include <memory>

#include "cli/command_line.h"
#include "engine/practice.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"

namespace velistrad {

namespace {

using cli::ErrorLines;
using cli::kExitFailed;
using cli::kExitPlays;

int officerNamed(std::string_view abbreviation) {
    std::string key(abbreviation);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ChapterRoom().findOfficer(key);
}

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", s);
    return text;
}

// The officer and the played run, or the exit status of what went wrong.
struct Run {
    int officer = -1;
    std::string script;
    std::shared_ptr<PlayedTimeline> played;
    int status = kExitPlays;
};

Run playFor(std::string_view abbreviation, const std::vector<std::string_view>& source) {
    Run run;
    run.officer = officerNamed(abbreviation);
    if (run.officer < 0) {
        run.status = cli::usageError("no officer \"" + std::string(abbreviation) + "\"");
        return run;
    }
    if ((run.status = cli::readSource(source, run.script)) != 0) return run;
    ChapterRoom room;
    ErrorLines sink;
    run.played = composeScript(room, run.script, sink);
    if (!run.played) run.status = kExitFailed;
    return run;
}

}  // namespace

int runPart(std::vector<std::string_view> args) {
    if (args.empty()) return cli::usageError("part takes an officer's abbreviation");
    const std::string_view abbreviation = args[0];
    args.erase(args.begin());
    const Run run = playFor(abbreviation, args);
    if (run.status != 0) return run.status;
    const double medium = speedFrameDelay(3);
    std::string out;
    for (const PartStep& step : officerPart(*run.played, run.script, run.officer, medium))
        out += seconds(step.start) + '\t' + seconds(step.end) + '\t' + step.text + '\t' +
               step.reading + '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitPlays;
}

int runPractice(std::vector<std::string_view> args) {
    if (args.size() < 2 || args[0] != "--officer")
        return cli::usageError("practice takes --officer ABBR");
    const std::string_view abbreviation = args[1];
    args.erase(args.begin(), args.begin() + 2);
    const Run run = playFor(abbreviation, args);
    if (run.status != 0) return run.status;
    const double medium = speedFrameDelay(3);
    std::string out;
    for (const PracticeQuestion& q :
         practiceQuestions(*run.played, run.script, run.officer, medium)) {
        out += seconds(q.step.start) + '\t' + q.place + '\t' + q.place;
        for (const Landmark& l : q.rightPlaces)
            if (l.name != q.place) out += "; " + l.name;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitPlays;
}

}  // namespace velistrad
