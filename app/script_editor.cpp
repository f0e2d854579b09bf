#include "app/script_editor.h"

#include <algorithm>
#include <utility>

#include <QAbstractItemView>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QTextDocument>
#include <QToolTip>

namespace velistrad {

namespace {

// The UTF-16 units of the character a UTF-8 byte starts: none for a byte
// inside a character, two for one outside the BMP.
int utf16Units(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b & 0xC0) == 0x80 ? 0 : b >= 0xF0 ? 2 : 1;
}

using Span = ProblemSpan;

}  // namespace

int editorPosition(const std::string& utf8, std::size_t byteOffset) {
    int position = 0;
    for (std::size_t i = 0; i < byteOffset && i < utf8.size(); ++i) position += utf16Units(utf8[i]);
    return position;
}

std::size_t byteOffset(const QString& text, int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

QSize ScriptEdit::sizeHint() const {
    // Officers are written in bold: a whole group of them is the widest field.
    QFont bold = font();
    bold.setBold(true);
    const int text =
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("MAR+MC+SC+SD+SS+7P+SB+OR+6P+TR+5P, "));
    const int margins = 2 * (frameWidth() + static_cast<int>(document()->documentMargin()) + 1);
    return {text + margins + verticalScrollBar()->sizeHint().width(), 621};
}

ScriptEdit::ScriptEdit(QWidget* parent) : SlicedTextEdit(parent) {
    // Before the highlighter's own connection, so that it paints shifted marks.
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                shiftSpans(m_highlighter->problems, position, removed, added);
            });
    m_highlighter = new ScriptHighlighter(document());
    m_completer = new QCompleter(this);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setModel(new QStringListModel(m_completer));
    connect(m_completer, qOverload<const QString&>(&QCompleter::activated), this,
            &ScriptEdit::insertCompletion);
}

void ScriptEdit::setProblems(std::vector<ProblemSpan> problems) {
    // Colouring is not an edit: the document would say its text changed.
    const QSignalBlocker quiet(document());
    m_highlighter->setProblems(std::move(problems));
}

std::vector<ProblemSpan> ScriptEdit::problemSpans(const std::string& utf8,
                                                  const std::vector<FieldMark>& marks) {
    std::vector<Span> problems;
    // One pass over the text for all positions: marks are in order of start.
    std::vector<int> positions(utf8.size() + 1, 0);
    int position = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        positions[i] = position;
        position += utf16Units(utf8[i]);
    }
    positions[utf8.size()] = position;
    for (const FieldMark& m : marks) {
        // A mark inside a character covers all of it.
        std::size_t end = std::min(m.end, utf8.size());
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        if (m.style != FieldStyle::Error && m.style != FieldStyle::Warning) continue;
        problems.push_back({positions[std::min(m.start, utf8.size())], positions[end], m.style,
                            QString::fromStdString(m.message)});
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Span& a, const Span& b) { return a.start < b.start; });
    return problems;
}

QString ScriptEdit::problemAt(int position) const {
    QStringList messages;
    for (auto it = m_highlighter->firstNear(position); it != m_highlighter->problems.end(); ++it) {
        const Span& p = *it;
        if (p.start > position) break;
        if (position < std::max(p.end, p.start + 1) && !messages.contains(p.message))
            messages << p.message;
    }
    return messages.join(QLatin1Char('\n'));
}

std::vector<std::pair<int, int>> ScriptEdit::problemRanges(FieldStyle style) const {
    std::vector<std::pair<int, int>> ranges;
    for (const Span& p : m_highlighter->problems)
        if (p.style == style) ranges.emplace_back(p.start, p.end);
    return ranges;
}

bool ScriptEdit::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString message = problemAt(cursorForPosition(help->pos()).position());
        if (message.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), message, viewport());
        return true;
    }
    return SlicedTextEdit::viewportEvent(event);
}

void ScriptEdit::setCompletions(const QStringList& officers, const QStringList& timingWords) {
    m_officers = officers;
    m_timingWords = timingWords;
}

void ScriptEdit::keyPressEvent(QKeyEvent* event) {
    if (m_completer->popup()->isVisible()) {
        // Offered at a comma, nothing is chosen until the user picks: Enter
        // still breaks the line and Tab still leaves the editor.
        const bool chosen = m_completer->popup()->currentIndex().isValid();
        switch (event->key()) {
            case Qt::Key_Enter:
            case Qt::Key_Return:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                if (!chosen) {
                    m_completer->popup()->hide();
                    break;
                }
                [[fallthrough]];
            case Qt::Key_Escape:
                event->ignore();  // the completer takes them
                return;
            default:
                break;
        }
    }
    // Ctrl+Space asks for what fits the field, typed or not.
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        complete(true);
        return;
    }
    SlicedTextEdit::keyPressEvent(event);
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool typed = plain && !text.isEmpty() && text[0].isLetterOrNumber();
    // A field starts after a comma: offered before its first letter, and
    // still after the blank that usually follows the comma.
    const bool fieldStart =
        plain &&
        (text == QStringLiteral(",") ||
         (text == QStringLiteral(" ") && m_prefix.isEmpty() && m_completer->popup()->isVisible()));
    if (typed || fieldStart)
        complete(false);
    else if (event->key() != Qt::Key_Shift)
        m_completer->popup()->hide();
}

// Offers the officers in an entry's first field and the timing words in its
// third, for what is typed since the comma; with nothing typed only right
// after the comma, or when `asked`.
void ScriptEdit::complete(bool asked) {
    const QString before = toPlainText().left(textCursor().position());
    const qsizetype comma = before.lastIndexOf(QLatin1Char(','));
    const qsizetype field = before.count(QLatin1Char(',')) % 3;
    QString prefix = before.mid(comma + 1);
    prefix.remove(QLatin1Char(' ')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    const QStringList& words = field == 0 ? m_officers : field == 2 ? m_timingWords : QStringList();
    QStringList offered;
    for (const QString& w : words)
        if (w.startsWith(prefix, Qt::CaseInsensitive) &&
            w.compare(prefix, Qt::CaseInsensitive) != 0)
            offered << w;
    const QString since = before.mid(comma + 1);
    const bool atFieldStart = comma >= 0 && since.trimmed().isEmpty();
    if ((prefix.isEmpty() && !asked && !atFieldStart) || offered.isEmpty()) {
        m_completer->popup()->hide();
        return;
    }
    m_prefix = prefix;
    static_cast<QStringListModel*>(m_completer->model())->setStringList(offered);
    m_completer->setCompletionPrefix(prefix);
    m_completer->popup()->setCurrentIndex(
        prefix.isEmpty() && !asked ? QModelIndex() : m_completer->completionModel()->index(0, 0));
    QRect at = cursorRect();
    at.setWidth(m_completer->popup()->sizeHintForColumn(0) +
                m_completer->popup()->verticalScrollBar()->sizeHint().width() + 8);
    m_completer->complete(at);
}

void ScriptEdit::insertCompletion(const QString& completion) {
    QTextCursor cursor = textCursor();
    // The typed prefix is replaced, so the word is written as the table has it.
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor,
                        static_cast<int>(m_prefix.size()));
    cursor.insertText(completion);
    setTextCursor(cursor);
}

}  // namespace velistrad
