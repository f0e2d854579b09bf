// The script editor `Directions`: coloured by ScriptHighlighter, with each
// problem's message as a tooltip where it is underlined, and completion of
// officers and timing words after a comma.
//
// The marks come from the engine's check, in bytes of the UTF-8 text they
// were made for; edits shift them until the next check replaces them, and a
// mark an edit touches goes at once, so an underline clears as soon as the
// field is changed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "app/script_highlighter.h"
#include "app/sliced_text_edit.h"
#include "engine/script_check.h"

class QCompleter;

namespace velistrad {

// The UTF-16 position in an editor of a byte offset of its UTF-8 text.
int editorPosition(const std::string& utf8, std::size_t byteOffset);
// The byte offset in the UTF-8 text of an editor position.
std::size_t byteOffset(const QString& text, int position);

class ScriptHighlighter;

class ScriptEdit : public SlicedTextEdit {
    Q_OBJECT
public:
    explicit ScriptEdit(QWidget* parent = nullptr);

    // The problems among the check's marks, placed in the editor: worked out
    // on any thread, then shown.
    static std::vector<ProblemSpan> problemSpans(const std::string& utf8,
                                                 const std::vector<FieldMark>& marks);
    void setProblems(std::vector<ProblemSpan> problems);
    void clearMarks() { setProblems({}); }
    // The messages of the problems at a document position, one a line.
    QString problemAt(int position) const;
    // The problems' positions, for tests: [start, end) in the document.
    std::vector<std::pair<int, int>> problemRanges(FieldStyle style) const;

    // Officers complete the first field of an entry, timing words the third.
    void setCompletions(const QStringList& officers, const QStringList& timingWords);
    QCompleter* completer() const { return m_completer; }
    // Wide enough for the longest field of the built-in scripts, so that
    // lines break between fields and entries, not inside a word.
    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void complete(bool asked);
    void insertCompletion(const QString& completion);

    ScriptHighlighter* m_highlighter;
    QCompleter* m_completer;
    QStringList m_officers;
    QStringList m_timingWords;
    QString m_prefix;  // what the shown completions complete
};

}  // namespace velistrad
