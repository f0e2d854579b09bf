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

// A help text as paragraphs that a box may wrap at its own width: the line
// breaks inside a paragraph become spaces (none after a line that ends in
// one), other breaks become LF. A
// paragraph ends at an empty line, after a line ending in a colon or a short
// line (a title, a version, an address), and before a line indented by a
// tab or numbered ("2. "). The words stay exactly as they are.
QString flowedParagraphs(const QString& text);

}  // namespace velistrad
