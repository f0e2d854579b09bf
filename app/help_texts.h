// The fixed texts of the Help menu and the Programming Reference window.
// Message texts join their lines with CR LF and end without a line break;
// the reference text joins its lines with LF because it fills a text box.
#pragma once

#include <QString>

namespace velistrad {

inline constexpr int kReferenceLineCount = 53;

QString aboutText();      // 15 lines
QString howToUseText();   // 3 lines
QString basicsText();     // 13 lines
QString referenceText();  // 53 lines, LF-separated

}  // namespace velistrad
