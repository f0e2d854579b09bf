// velistrad-cli: compiles scripts without the window, for checking scripts by
// hand, for tests and for scripting.
//
//   compile SOURCE   the played timeline, one frame per line
//   final SOURCE     where each officer stands after playing, in twips
//   check SOURCE     the messages Play would show, each at its entry
//   list             the built-in catalogue
//   render ... SOURCE the plan, a part sheet or the animation, to a file
//   part ABBR SOURCE  the entries that move him, in the room's words
//   practice --officer ABBR SOURCE  the answer key of practising his part
//
// SOURCE is a file, "-" for standard input, or "--catalogue N". A script is
// compiled as a Play press at start-up compiles it: every officer at his
// station. The messages a window would show in message boxes go to standard
// error, one line each, in the order it would show them.
//
// Exit status: 0 the script would play, 1 an entry failed, 2 usage error or
// unreadable file.
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/command_line.h"
#include "cli/page_command.h"
#include "cli/part.h"
#include "engine/played_timeline.h"
#include "engine/script_check.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"
#include "model/number_text.h"
#include "simulations/catalogue.h"
#include "simulations/script_file.h"

namespace {

using namespace velistrad;
using namespace velistrad::cli;

std::shared_ptr<PlayedTimeline> compose(ChapterRoom& room, const std::string& text) {
    ErrorLines sink;
    return composeScript(room, text, sink);
}

// Takes "--NAME" (and, with a value, the argument after it) out of args,
// wherever it stands: before the source or after it. Returns false on a
// usage error, already reported.
bool takeOption(std::vector<std::string_view>& args, std::string_view name, bool& present,
                std::string_view* value = nullptr) {
    std::size_t at = 0;
    while (at < args.size() && args[at] != name) at += args[at] == "--catalogue" ? 2 : 1;
    if (at >= args.size()) return true;
    present = true;
    auto first = args.begin() + static_cast<std::ptrdiff_t>(at);
    if (value != nullptr) {
        if (args.size() < at + 2) {
            usageError(std::string(name) + " takes a value");
            return false;
        }
        *value = args[at + 1];
        args.erase(first + 1);
    }
    args.erase(first);
    return true;
}

int runCompile(std::vector<std::string_view> args) {
    bool entries = false;
    if (!takeOption(args, "--entries", entries)) return kExitUsage;
    const Source source = readSource(args);
    if (source.error != 0) return source.error;
    ChapterRoom room;
    const auto played = compose(room, source.text);
    if (!played) return kExitFailed;
    std::string line;
    for (std::size_t i = 0; i < played->size(); ++i) {
        line = played->frameText(i);
        if (entries) {
            line += '\t';
            const std::vector<std::size_t> from = played->entriesAt(i);
            for (std::size_t k = 0; k < from.size(); ++k) {
                if (k > 0) line += ',';
                line += std::to_string(from[k] + 1);
            }
        }
        line += '\n';
        writeOut(line);
    }
    return kExitPlays;
}

int runFinal(std::vector<std::string_view> args) {
    bool framed = false;
    std::string_view frameText;
    if (!takeOption(args, "--frame", framed, &frameText)) return kExitUsage;
    std::size_t frame = 0;
    if (framed) {
        const auto [end, ec] =
            std::from_chars(frameText.data(), frameText.data() + frameText.size(), frame);
        if (ec != std::errc() || end != frameText.data() + frameText.size()) {
            return usageError("--frame takes a frame number, 0 or more, not \"" +
                              std::string(frameText) + "\"");
        }
    }
    const Source source = readSource(args);
    if (source.error != 0) return source.error;
    ChapterRoom room;
    const auto played = compose(room, source.text);
    if (!played) return kExitFailed;
    // Played from the start, as the window plays it; no seek index needed.
    TimelineCursor cursor(*played, room);
    cursor.seek(0);
    const std::size_t frames = framed && frame < played->size() ? frame + 1 : played->size();
    while (cursor.next() < frames) cursor.step();
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = room.officer(i);
        std::string line = std::to_string(i) + ' ' + o.abbreviation + ' ' + formatSingle(o.curX) +
                           ' ' + formatSingle(o.curY) + (o.atStation() ? " 0\n" : " 1\n");
        writeOut(line);
    }
    return kExitPlays;
}

int runCheck(const std::vector<std::string_view>& args) {
    const Source source = readSource(args);
    if (source.error != 0) return source.error;
    const CheckResult check = checkScript(ChapterRoom(), source.text);
    std::string out;
    for (const std::string& line : problemLines(source.text, check)) out += line + '\n';
    // Warnings may run to millions of lines: written as they come.
    warningLines(source.text, [&out](const std::string& line) {
        out += line + '\n';
        if (out.size() >= 1 << 16) {
            writeOut(out);
            out.clear();
        }
    });
    writeOut(out);
    return check.plays ? kExitPlays : kExitFailed;
}

int runList(const std::vector<std::string_view>& args) {
    if (!args.empty()) return usageError("list takes no arguments");
    int n = 0;
    for (const CatalogueEntry& entry : catalogue()) {
        const std::string line =
            std::to_string(++n) + '\t' + entry.submenu + " > " + entry.caption + '\n';
        writeOut(line);
    }
    return kExitPlays;
}

// The drawing formats need Qt, which the text commands must not load: they
// are velistrad-render's, run in this process's place as git runs its
// subcommands, from this program's folder first and then from PATH. It
// prints the messages and exits with the statuses this command documents.
int runRenderProgram(char** argv) {
    static constexpr const char* kProgram = "velistrad-render";
    argv[1] = const_cast<char*>(kProgram);
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        std::string beside(self, static_cast<std::size_t>(length));
        beside.erase(beside.rfind('/') + 1);
        beside += kProgram;
        if (access(beside.c_str(), X_OK) == 0) execv(beside.c_str(), argv + 1);
    }
    execvp(kProgram, argv + 1);
    writeErr(std::string("velistrad-cli: cannot run ") + kProgram + ": " + std::strerror(errno));
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        std::fputs("Try 'velistrad-cli --help' for more.\n", stderr);
        return kExitUsage;
    }
    const std::string_view command = argv[1];
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    int status = kExitUsage;
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        status = kExitPlays;  // told only once standard output has taken it all
    } else if (command == "compile") {
        status = runCompile(args);
    } else if (command == "final") {
        status = runFinal(args);
    } else if (command == "check") {
        status = runCheck(args);
    } else if (command == "list") {
        status = runList(args);
    } else if (command == "part") {
        status = runPart(args);
    } else if (command == "practice") {
        status = runPractice(args);
    } else if (command == "render" && !args.empty() && args[0] == "--html") {
        status = runPageCommand(args);
    } else if (command == "render") {
        // The member's page, above, needs no Qt; the other formats do.
        status = runRenderProgram(argv);
    } else {
        status = usageError("unknown command \"" + std::string(command) + "\"");
    }
    if ((std::fflush(stdout) != 0 || std::ferror(stdout) != 0) && status == kExitPlays) {
        writeErr("velistrad-cli: cannot write standard output");
        return kExitUsage;
    }
    return status;
}
