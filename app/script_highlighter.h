// The script editor's colours: each kind of field in its own style, and the
// check's problems underlined where they are.
//
// Fields are coloured as the text is laid out, block by block: a block's
// state is the field its first character is in, so an edit re-colours only
// as far as it changes fields. Problems come from the check, and only the
// blocks whose problems changed are coloured again.
#pragma once

#include <vector>

#include <QColor>
#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

#include "engine/script_check.h"

class QTextDocument;

namespace velistrad {

// A problem's place in the editor, [start, end) in UTF-16 positions.
struct ProblemSpan {
    int start;
    int end;
    FieldStyle style;
    QString message;
};

// Shifts spans past an edit of the document and drops those it touched.
void shiftSpans(std::vector<ProblemSpan>& spans, int position, int removed, int added);

class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* document);

    std::vector<ProblemSpan> problems;  // in order of start
    int longest = 0;                    // the longest span's length

    void setProblems(std::vector<ProblemSpan> now);
    // The problems that may touch [from, to], by a search, not a walk.
    std::vector<ProblemSpan>::const_iterator firstNear(int from) const;

protected:
    void highlightBlock(const QString& text) override;

private:
    void colourSome();
    // Colours a line's fields, the first being `field`; returns the field
    // the next line starts in.
    int colourFields(const QString& text, int field);
    static QTextCharFormat underlined(QTextCharFormat format, const QColor& colour);

    std::vector<int> m_pending;  // blocks still to colour, by number, in order
    QTimer m_more;
};

}  // namespace velistrad
