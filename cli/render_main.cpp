// velistrad-render: `velistrad-cli render` with Qt, a program of its own so
// that velistrad-cli's text commands load no Qt library. velistrad-cli runs
// it in its own place with the arguments after "render"; its messages and
// exit statuses are velistrad-cli's (see cli/render.cpp for the options).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/render.h"

int main(int argc, char** argv) {
    using namespace velistrad;
    using namespace velistrad::cli;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const int status = runRender(args);
    if (std::fflush(stdout) != 0 && status == kExitPlays) {
        writeErr("velistrad-cli: cannot write standard output");
        return kExitUsage;
    }
    return status;
}
