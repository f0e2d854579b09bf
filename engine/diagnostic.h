// A problem with a script as a record: which entry, which field and which
// bytes of the script text it is about, its text exactly as shown, and
// whether it stops the run. Message boxes, the editor's underlines and
// velistrad-cli check only format these; every producer reports through a
// DiagnosticSink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/reporter.h"

namespace velistrad {

enum class DiagnosticKind : std::uint8_t {
    Message,       // a message of the compiler, or about the whole run
    ErrorDetails,  // the failing entry, after its messages
    TooLong,       // the script would make more frames than a run may have
};

struct Diagnostic {
    std::size_t entry = 0;  // 1-based; 0 when it is about the whole script
    Field field = Field::Entry;
    std::size_t start = 0;  // the bytes of the script text it is about
    std::size_t length = 0;
    std::string text;  // exactly as shown
    bool stops = false;
    DiagnosticKind kind = DiagnosticKind::Message;
};

class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void diagnose(const Diagnostic& d) = 0;
};

// Passes the first `shown` messages of one Play on and counts the rest; the
// count is told in one message of its own before the error details, or at
// finish(). A script of a million bad steps thus shows a handful of boxes.
class LimitedSink : public DiagnosticSink {
public:
    LimitedSink(DiagnosticSink& out, std::size_t shown) : m_out(out), m_shown(shown) {}
    void diagnose(const Diagnostic& d) override;
    void finish();

private:
    DiagnosticSink& m_out;
    std::size_t m_shown;
    std::size_t m_passed = 0;
    std::size_t m_held = 0;
};

}  // namespace velistrad
