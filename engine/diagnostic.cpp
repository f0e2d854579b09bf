#include "engine/diagnostic.h"

#include "engine/script_runner.h"

namespace velistrad {

void LimitedSink::diagnose(const Diagnostic& d) {
    if (d.kind == DiagnosticKind::Message && m_passed >= m_shown) {
        ++m_held;
        return;
    }
    if (d.kind != DiagnosticKind::Message) finish();  // the count comes before the last word
    ++m_passed;
    m_out.diagnose(d);
}

void LimitedSink::finish() {
    if (m_held == 0) return;
    Diagnostic summary;
    summary.text = withThousands(m_held) +
                   (m_held == 1 ? " more message was" : " more messages were") + " not shown.";
    m_held = 0;
    m_out.diagnose(summary);
}

}  // namespace velistrad
