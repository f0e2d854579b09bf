#include "cli/page_command.h"

#include <sys/stat.h>
#include <charconv>
#include <optional>

#include "cli/command_line.h"
#include "engine/script_runner.h"
#include "page/member_page.h"
#include "simulations/catalogue.h"
#include "simulations/custom_file.h"
#include "simulations/safe_file.h"

namespace velistrad {

namespace {

using cli::kExitFailed;
using cli::kExitPlays;
using cli::kExitUsage;

// "marshal-walk" of "/home/x/marshal-walk.vsim".
std::string scriptName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return name.empty() ? std::string("Script") : std::string(name);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int runPageCommand(std::vector<std::string_view> args) {
    if (args.size() < 2) return cli::usageError("--html takes a file to write");
    const std::string out(args[1]);
    args.erase(args.begin(), args.begin() + 2);
    std::optional<std::string> customFile;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != "--custom-file") continue;
        customFile = std::string(args[i + 1]);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    if (!isFolder(folderOf(out))) {
        cli::writeErr("velistrad-cli: cannot write " + out + ": the folder " + folderOf(out) +
                      " does not exist");
        return kExitUsage;
    }

    std::vector<PageMovement> movements;
    std::string title;
    const bool book = args.size() == 1 && args[0] == "--all";
    if (book) {
        std::vector<PageMovement> mine;
        if (customFile) {
            std::string error;
            const auto bytes = readWholeFile(*customFile, error);
            if (!bytes) {
                cli::writeErr("velistrad-cli: cannot read " + *customFile + ": " +
                              (error.empty() ? std::string("no such file") : error));
                return kExitUsage;
            }
            for (const CustomSimulation& s : parseCustomFile(*bytes).simulations)
                mine.push_back({"", s.name, s.script});
        }
        movements = memberBook(mine);
        title = "Velistrad: the movements";
    } else {
        if (customFile) return cli::usageError("--custom-file goes with --all");
        PageMovement one;
        const int status = cli::readSource(args, one.script);
        if (status != 0) return status;
        if (args.size() == 2 && args[0] == "--catalogue") {
            std::size_t n = 0;
            std::from_chars(args[1].data(), args[1].data() + args[1].size(), n);
            const CatalogueEntry& entry = catalogue()[n - 1];
            one.group = entry.submenu;
            one.name = entry.caption;
            title = std::string(entry.submenu) + " > " + entry.caption;
        } else {
            one.name = args[0] == "-" ? std::string("Script") : scriptName(args[0]);
            title = one.name;
        }
        movements.push_back(std::move(one));
    }

    cli::ErrorLines sink;
    const std::optional<MemberPage> page = makeMemberPage(title, movements, sink, !book);
    if (!page) return kExitFailed;
    for (const std::string& name : page->leftOut)
        cli::writeErr("velistrad-cli: left out \"" + name + "\": its script does not play");
    const std::string error = replaceFile(out, page->html);
    if (!error.empty()) {
        cli::writeErr("velistrad-cli: cannot write " + out + ": " + error);
        return kExitUsage;
    }
    return kExitPlays;
}

}  // namespace velistrad
