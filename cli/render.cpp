// velistrad-cli render: one of
//   --gif OUT.gif [--speed 1..5] [--officer ABBR]   the run as an animation
//   --pdf OUT.pdf [--officer ABBR]                  the plan with the routes
//   --part ABBR --pdf OUT.pdf [--speed 1..5]        an officer's part sheet
//   --png OUT.png [--frame N] [--officer ABBR]      the plan at a moment
//   --svg OUT.svg [--frame N] [--officer ABBR]
// then SOURCE. The script plays from the stations as the window plays it,
// and is drawn by the window's own painters on Qt's offscreen platform.
#include "cli/render.h"

#include <QGuiApplication>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "cli/command_line.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"
#include "render/animation_export.h"
#include "render/image_export.h"
#include "render/sheet_export.h"
#include "simulations/catalogue.h"
#include "simulations/safe_file.h"

namespace velistrad {

namespace {

using cli::ErrorLines;
using cli::kExitFailed;
using cli::kExitUsage;

std::optional<std::size_t> number(std::string_view text) {
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

int officerNamed(std::string_view abbreviation) {
    std::string key(abbreviation);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ChapterRoom().findOfficer(key);
}

// The simulation's name for titles: the catalogue's caption or the file's.
std::string simulationName(const std::vector<std::string_view>& source) {
    if (source.size() == 2 && source[0] == "--catalogue") {
        if (const auto n = number(source[1]); n && *n >= 1 && *n <= kCatalogueSize) {
            const CatalogueEntry& e = catalogue()[*n - 1];
            return std::string(e.submenu) + " > " + e.caption;
        }
    }
    if (source.size() == 1 && source[0] != "-") {
        std::string name(source[0]);
        if (const auto slash = name.rfind('/'); slash != std::string::npos)
            name.erase(0, slash + 1);
        if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
        if (!name.empty()) return name;
    }
    return "Simulation";
}

struct Options {
    std::string_view gif, pdf, png, svg, officer, part, speed, frame;
};

}  // namespace

int runRender(std::vector<std::string_view> args) {
    Options o;
    const std::pair<std::string_view, std::string_view*> named[] = {
        {"--gif", &o.gif},     {"--pdf", &o.pdf},         {"--png", &o.png},
        {"--svg", &o.svg},     {"--officer", &o.officer}, {"--part", &o.part},
        {"--speed", &o.speed}, {"--frame", &o.frame}};
    // Options stand anywhere, before or after the source; what is left is the source.
    for (std::size_t i = 0; i < args.size();) {
        bool taken = false;
        for (const auto& [name, value] : named) {
            if (args[i] != name) continue;
            if (args.size() < i + 2 || args[i + 1].empty())
                return cli::usageError(std::string(name) + " takes a value");
            if (!value->empty()) return cli::usageError(std::string(name) + " given twice");
            *value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            taken = true;
            break;
        }
        // The number after --catalogue is the source's own.
        if (!taken) i += args[i] == "--catalogue" ? 2 : 1;
    }
    const int outputs = !o.gif.empty() + !o.pdf.empty() + !o.png.empty() + !o.svg.empty();
    if (outputs != 1) return cli::usageError("render writes one of --gif, --pdf, --png or --svg");
    if (!o.part.empty() && o.pdf.empty()) return cli::usageError("--part goes with --pdf");
    if (!o.frame.empty() && o.png.empty() && o.svg.empty())
        return cli::usageError("--frame goes with --png or --svg");
    if (!o.speed.empty() && o.gif.empty() && o.part.empty())
        return cli::usageError("--speed goes with --gif or --part");

    int speed = 3;
    if (!o.speed.empty()) {
        const auto n = number(o.speed);
        if (!n || *n < 1 || *n > 5)
            return cli::usageError("--speed takes 1 (Turtle) to 5 (Lightning), not \"" +
                                   std::string(o.speed) + "\"");
        speed = static_cast<int>(*n);
    }
    std::optional<std::size_t> frame;
    if (!o.frame.empty()) {
        frame = number(o.frame);
        if (!frame)
            return cli::usageError("--frame takes a frame number, 0 or more, not \"" +
                                   std::string(o.frame) + "\"");
    }
    int officer = -1;
    for (const std::string_view who : {o.officer, o.part}) {
        if (who.empty()) continue;
        officer = officerNamed(who);
        if (officer < 0)
            return cli::usageError("unknown officer \"" + std::string(who) +
                                   "\": see the officers of velistrad-cli final");
    }

    std::string text;
    if (const int status = cli::readSource(args, text); status != 0) return status;
    const std::string_view output = !o.gif.empty()   ? o.gif
                                    : !o.pdf.empty() ? o.pdf
                                    : !o.png.empty() ? o.png
                                                     : o.svg;
    if (const std::string problem = folderProblem(std::string(output)); !problem.empty()) {
        const std::string line =
            "velistrad-cli: cannot write " + std::string(output) + ": " + problem + "\n";
        std::fputs(line.c_str(), stderr);
        return kExitUsage;
    }

    // Drawing text needs a Qt application; no display is needed. Qt's notes
    // about the desktop session (no runtime folder) mean nothing here and
    // would read as errors among the script's messages.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& note) {
        if (type == QtWarningMsg || type == QtInfoMsg || type == QtDebugMsg) return;
        std::fprintf(stderr, "velistrad-cli: %s\n", qPrintable(note));
    });
    int argc = 1;
    char program[] = "velistrad-cli";
    char* argv[] = {program, nullptr};
    const QGuiApplication app(argc, argv);

    ExportRun run;
    ErrorLines sink;
    ChapterRoom composed;
    run.played = composeScript(composed, text, sink);
    if (!run.played) return kExitFailed;
    run.script = text;
    run.name = simulationName(args);
    run.frameDelay = speedFrameDelay(speed);
    // Past the last frame, however far (frame + 1 may wrap), means the last.
    run.shown = frame && *frame < run.played->size() ? *frame + 1 : run.played->size();
    // A plan on paper shows every route unless one officer is asked for.
    run.options = {officer, !o.pdf.empty() && officer < 0};

    MarkerPainter markers;
    std::string out;
    std::string error;
    if (!o.part.empty()) {
        out = o.pdf;
        error = writePartPdf(out, ExportScene(run), officer);
    } else if (!o.pdf.empty()) {
        out = o.pdf;
        error = writePlanPdf(out, ExportScene(run), markers);
    } else if (!o.png.empty()) {
        out = o.png;
        error = writePng(out, ExportScene(run), markers);
    } else if (!o.svg.empty()) {
        out = o.svg;
        error = writeSvg(out, ExportScene(run), markers);
    } else {
        out = o.gif;
        error = writeGif(out, ExportScene(run), run.frameDelay, markers);
    }
    if (!error.empty()) {
        const std::string line = "velistrad-cli: cannot write " + out + ": " + error + "\n";
        std::fputs(line.c_str(), stderr);
        return kExitUsage;
    }
    return 0;
}

}  // namespace velistrad
