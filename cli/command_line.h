// What velistrad-cli and velistrad-render share: the usage and help texts,
// the exit statuses, usage errors, and reading the script a command names
// (a file, "-" for standard input, or --catalogue N). No Qt: velistrad-cli's
// text commands load only the core.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/diagnostic.h"

namespace velistrad::cli {

inline constexpr int kExitPlays = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

extern const char* const kUsage;
extern const char* const kHelp;

void writeOut(std::string_view text);
// Writes the text and a line break to standard error.
void writeErr(std::string_view text);

// The window shows each message in a box; the command line writes each as
// one line to standard error.
class ErrorLines : public DiagnosticSink {
public:
    void diagnose(const Diagnostic& d) override { writeErr(d.text); }
};

// Reports `why` and the usage to standard error; returns kExitUsage.
int usageError(std::string_view why);

// The script text named by the arguments after the command, or the exit
// status of the usage error already reported.
struct Source {
    std::string text;
    int error = 0;
};

Source readSource(const std::vector<std::string_view>& args);
// The same into `text`; returns 0 or the exit status already reported.
int readSource(const std::vector<std::string_view>& args, std::string& text);

}  // namespace velistrad::cli
