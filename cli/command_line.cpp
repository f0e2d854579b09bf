#include "cli/command_line.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

#include "engine/script_check.h"
#include "simulations/catalogue.h"
#include "simulations/script_file.h"

namespace velistrad::cli {

const char* const kUsage =
    "Usage: velistrad-cli compile [--entries] (FILE | - | --catalogue N)\n"
    "       velistrad-cli final [--frame N] (FILE | - | --catalogue N)\n"
    "       velistrad-cli check (FILE | - | --catalogue N)\n"
    "       velistrad-cli list\n"
    "       velistrad-cli part ABBR (FILE | - | --catalogue N)\n"
    "       velistrad-cli practice --officer ABBR (FILE | - | --catalogue N)\n"
    "       velistrad-cli render --html OUT.html (FILE | - | --catalogue N\n"
    "                            | --all [--custom-file custom.sim])\n"
    "       velistrad-cli render (--gif OUT.gif [--speed 1..5] [--officer ABBR]\n"
    "                            | --pdf OUT.pdf [--officer ABBR] | --part ABBR --pdf OUT.pdf\n"
    "                            | --png OUT.png [--frame N] | --svg OUT.svg [--frame N])\n"
    "                            (FILE | - | --catalogue N)\n"
    "       velistrad-cli --help\n";

const char* const kHelp =
    "\n"
    "Compiles simulation scripts as the Play button does, with every officer\n"
    "starting at his station, and prints the result instead of animating it.\n"
    "\n"
    "Commands:\n"
    "  compile SOURCE  Print the played timeline, one frame per line: a position\n"
    "                  frame holds officer,x,y triples; a delay frame holds its\n"
    "                  seconds; an empty frame is an empty line.\n"
    "    --entries     After each frame a tab and the script entries (counted\n"
    "                  from 1, comma-separated) whose frames make it up.\n"
    "  final SOURCE    Play the timeline without drawing and print one line per\n"
    "                  officer 0 to 21: index abbreviation x y drawn, where drawn\n"
    "                  is 1 when he stands away from his station, else 0.\n"
    "    --frame N     Where everyone stands once frames 0 to N (counted from 0,\n"
    "                  as compile prints them) have played; past the last frame\n"
    "                  means the last frame.\n"
    "  check SOURCE    Check the script without playing it: print each message\n"
    "                  Play would show as ENTRY:LINE:COLUMN: MESSAGE (the entry\n"
    "                  counted from 1, at its first character), once per entry,\n"
    "                  then what Play accepts but not as written (an unknown\n"
    "                  timing word, an unfinished last entry) as\n"
    "                  ENTRY:LINE:COLUMN: warning: MESSAGE. Warnings leave the\n"
    "                  exit status as it is. Nothing is printed for a script\n"
    "                  that plays cleanly as written.\n"
    "  list            Print the built-in simulations: N<TAB>Submenu > Caption.\n"
    "  part ABBR SOURCE  Print one line per entry that moves the officer: its\n"
    "                  start and end seconds at Medium, the entry and where it\n"
    "                  takes him in the room's words, separated by tabs.\n"
    "  practice --officer ABBR SOURCE  Print the answer key of practising his\n"
    "                  part, one line per question: the seconds at Medium when\n"
    "                  it is asked, where he goes in words, and the places that\n"
    "                  count as right separated by \"; \", the fields by tabs.\n"
    "  render SOURCE   Write the played run to a file, drawn as the window draws it:\n"
    "    --html OUT.html the member's page: one file that plays the movement in\n"
    "                    any browser, offline; with --all instead of SOURCE, the\n"
    "                    book of every built-in movement (and, with --custom-file,\n"
    "                    the simulations saved in that file)\n"
    "    --gif OUT.gif   the whole run as an animation, each frame held as long as\n"
    "                    it waits (at Lightning, 50 frames a second)\n"
    "    --speed 1..5    Turtle, Slow, Medium (the default), Fast, Lightning\n"
    "    --pdf OUT.pdf   the plan with every route, a legend and the script\n"
    "    --part ABBR     with --pdf: the officer's part sheet, his route and the\n"
    "                    entries that move him with their times\n"
    "    --png OUT.png   the plan as it stands at the end of the run, or once\n"
    "    --svg OUT.svg   frames 0 to N have played with --frame N\n"
    "    --officer ABBR  his route, and a ring about him\n"
    "                  The file is replaced only once it is complete.\n"
    "\n"
    "SOURCE is a script file (UTF-8; a byte-order mark is skipped), \"-\" for\n"
    "standard input, or\n"
    "--catalogue N for built-in simulation N (1 to 23, see list).\n"
    "\n"
    "A script is Officer, Direction, Time, Officer, Direction, Time, ...\n"
    "with Time one of Now, After, Simult, Unsync; \"All, Delay, 0.5\" pauses\n"
    "for half a second. Blanks and line breaks are ignored.\n"
    "\n"
    "Messages (\"Unknown officer: XX\", \"Error occurred while processing: ...\")\n"
    "go to standard error, one per line.\n"
    "\n"
    "Exit status: 0 the script plays, 1 an entry failed (nothing is printed on\n"
    "standard output), 2 usage error, unreadable file or unwritable output.\n"
    "\n"
    "Example:\n"
    "  echo 'Mar, XZTCEVU, Now, All, Delay, 1.0, Mar, UZX, Now' | velistrad-cli compile -\n"
    "  velistrad-cli final --catalogue 16\n";

void writeOut(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeErr(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

int usageError(std::string_view why) {
    std::string line = "velistrad-cli: ";
    line += why;
    writeErr(line);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

namespace {

// Bytes as they are: a script may hold any byte, NUL included. Standard
// input is held to the bound of script files, so that /dev/zero ends.
bool readAll(std::FILE* file, std::string& out, bool& tooLarge) {
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (got > kMaxScriptFileBytes - out.size()) {
            tooLarge = true;
            return true;
        }
        out.append(buffer, got);
    }
    return std::ferror(file) == 0;
}

}  // namespace

Source readSource(const std::vector<std::string_view>& args) {
    Source source;
    if (args.empty()) {
        source.error = usageError("missing FILE, \"-\" or --catalogue N");
        return source;
    }
    if (args[0] == "--catalogue") {
        if (args.size() != 2) {
            source.error = usageError("--catalogue takes one number, 1 to 23");
            return source;
        }
        const std::string_view n = args[1];
        std::size_t index = 0;
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), index);
        if (ec != std::errc() || end != n.data() + n.size() || index < 1 ||
            index > kCatalogueSize) {
            source.error =
                usageError("--catalogue takes a number 1 to 23, not \"" + std::string(n) + "\"");
            return source;
        }
        source.text = catalogue()[index - 1].script;
        return source;
    }
    if (args.size() != 1) {
        source.error = usageError("one script at a time");
        return source;
    }
    const std::string path(args[0]);
    if (path == "-") {
        bool tooLarge = false;
        if (!readAll(stdin, source.text, tooLarge)) {
            writeErr("velistrad-cli: cannot read standard input: " +
                     std::string(std::strerror(errno)));
            source.error = kExitUsage;
        } else if (tooLarge) {
            writeErr("velistrad-cli: cannot read standard input: it is larger than 16 MB");
            source.error = kExitUsage;
        }
        source.text.erase(0, source.text.size() - withoutByteOrderMark(source.text).size());
        return source;
    }
    const std::string why = readScriptBytes(path, source.text);
    if (!why.empty()) {
        const bool opened = why != "it does not exist" && why.find("opened") == std::string::npos;
        writeErr("velistrad-cli: cannot " + std::string(opened ? "read " : "open ") + path + ": " +
                 why);
        source.error = kExitUsage;
        return source;
    }
    // Editors on other systems start files with one; it is not part of the script.
    source.text.erase(0, source.text.size() - withoutByteOrderMark(source.text).size());
    return source;
}

int readSource(const std::vector<std::string_view>& args, std::string& text) {
    Source read = readSource(args);
    text = std::move(read.text);
    return read.error;
}

}  // namespace velistrad::cli
