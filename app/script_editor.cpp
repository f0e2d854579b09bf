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
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>

namespace velistrad {

namespace {

// The UTF-16 units of the character a UTF-8 byte starts: none for a byte
// inside a character, two for one outside the BMP.
int utf16Units(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b & 0xC0) == 0x80 ? 0 : b >= 0xF0 ? 2 : 1;
}

}  // namespace

int editorPosition(const std::string& utf8, std::size_t byteOffset) {
    int position = 0;
    for (std::size_t i = 0; i < byteOffset && i < utf8.size(); ++i) position += utf16Units(utf8[i]);
    return position;
}

std::size_t byteOffset(const QString& text, int position) {
    return static_cast<std::size_t>(text.left(position).toUtf8().size());
}

namespace {

// Blocks coloured again at a time when the problems change; the rest follow
// from the event loop, so that the window answers meanwhile.
constexpr int kBlocksAtOnce = 1000;

using Span = ProblemSpan;

QTextCharFormat fieldFormat(FieldStyle style) {
    QTextCharFormat format;
    switch (style) {
        case FieldStyle::Officer:
            format.setForeground(QColor(0x1F, 0x3A, 0x93));
            format.setFontWeight(QFont::DemiBold);
            break;
        case FieldStyle::Direction:
            format.setForeground(QColor(0x10, 0x10, 0x10));
            break;
        case FieldStyle::Time:
            format.setForeground(QColor(0x7A, 0x2E, 0x8E));
            format.setFontItalic(true);
            break;
        case FieldStyle::Delay:
            format.setForeground(QColor(0xA0, 0x50, 0x00));
            format.setFontWeight(QFont::DemiBold);
            break;
        case FieldStyle::Error:
        case FieldStyle::Warning:
            break;
    }
    return format;
}

// Shifts spans past an edit of the document and drops those it touched.
void shift(std::vector<Span>& spans, int position, int removed, int added) {
    // Typing at either end of a field changes it too.
    std::erase_if(
        spans, [&](const Span& s) { return s.start <= position + removed && s.end >= position; });
    for (Span& s : spans) {
        if (s.start >= position + removed) {
            s.start += added - removed;
            s.end += added - removed;
        }
    }
}

}  // namespace

// Fields are coloured as the text is laid out, block by block: a block's
// state is the field its first character is in, so an edit re-colours only
// as far as it changes fields. Problems come from the check, and only the
// blocks whose problems changed are coloured again.
class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
        m_more.setSingleShot(true);
        QObject::connect(&m_more, &QTimer::timeout, [this] { colourSome(); });
        // An edit shifts the blocks still to colour: all that follow get it.
        QObject::connect(document, &QTextDocument::contentsChange, [this](int position, int, int) {
            if (m_pending.empty()) return;
            const int edited = this->document()->findBlock(position).blockNumber();
            auto from = std::lower_bound(m_pending.begin(), m_pending.end(), edited);
            m_pending.erase(from, m_pending.end());
            for (int n = edited; n < this->document()->blockCount(); ++n) m_pending.push_back(n);
        });
    }

    std::vector<Span> problems;  // in order of start
    int longest = 0;             // the longest span's length

    void setProblems(std::vector<Span> now) {
        std::vector<Span> before = std::exchange(problems, std::move(now));
        longest = 0;
        for (const Span& p : problems) longest = std::max(longest, p.end - p.start);
        std::vector<int> blocks = std::move(m_pending);  // to colour again, by number
        for (const auto* list : {&before, &problems}) {
            // Spans come in order: the next is in the same block or soon after,
            // and a block's place is dear to ask of the document.
            QTextBlock block;
            int start = 0;
            int end = -1;
            int number = -1;
            const auto seek = [&](int at) {
                if (!block.isValid() || at < start) {
                    block = document()->findBlock(at);
                    if (!block.isValid()) return false;
                    start = block.position();
                    end = start + block.length();
                    number = block.blockNumber();
                }
                while (at >= end) {
                    block = block.next();
                    if (!block.isValid()) return false;
                    start = end;
                    end = start + block.length();
                    ++number;
                }
                return true;
            };
            for (const Span& p : *list)
                for (int at = p.start; at <= std::max(p.start, p.end - 1); at = end) {
                    if (!seek(at)) break;
                    if (blocks.empty() || blocks.back() != number) blocks.push_back(number);
                }
        }
        std::sort(blocks.begin(), blocks.end());
        blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
        m_pending = std::move(blocks);
        colourSome();
    }

    // The problems that may touch [from, to], by a search, not a walk.
    std::vector<Span>::const_iterator firstNear(int from) const {
        return std::lower_bound(problems.begin(), problems.end(), from - longest,
                                [](const Span& p, int at) { return p.start < at; });
    }

private:
    void colourSome() {
        // Colouring is not an edit: the document would say its text changed.
        const QSignalBlocker quiet(document());
        // One change of the layout for all of them, not one per block.
        QTextCursor batch(document());
        batch.beginEditBlock();
        const std::size_t now = std::min<std::size_t>(m_pending.size(), kBlocksAtOnce);
        QTextBlock block;
        for (std::size_t i = 0; i < now; ++i) {
            const bool next = i > 0 && m_pending[i] == m_pending[i - 1] + 1;
            block = next ? block.next() : document()->findBlockByNumber(m_pending[i]);
            rehighlightBlock(block);
        }
        batch.endEditBlock();
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(now));
        if (!m_pending.empty()) m_more.start(0);
    }

    std::vector<int> m_pending;  // blocks still to colour, by number, in order
    QTimer m_more;

public:
protected:
    void highlightBlock(const QString& text) override {
        int field = std::max(previousBlockState(), 0);
        QTextCharFormat quiet;
        quiet.setForeground(QColor(0x90, 0x90, 0x90));
        for (int start = 0; start <= text.size();) {
            int comma = static_cast<int>(text.indexOf(QLatin1Char(','), start));
            if (comma < 0) comma = static_cast<int>(text.size());
            FieldStyle style = static_cast<FieldStyle>(field);
            if (field == 1 && text.mid(start, comma - start)
                                      .trimmed()
                                      .compare(QStringLiteral("delay"), Qt::CaseInsensitive) == 0)
                style = FieldStyle::Delay;
            setFormat(start, comma - start, fieldFormat(style));
            if (comma == text.size()) break;
            setFormat(comma, 1, quiet);
            field = (field + 1) % 3;
            start = comma + 1;
        }
        setCurrentBlockState(field);

        const int from = currentBlock().position();
        const int to = from + static_cast<int>(text.size());
        for (auto it = firstNear(from); it != problems.end(); ++it) {
            const Span& p = *it;
            if (p.start > to) break;
            if (p.end < from || (p.end == from && p.start < from)) continue;
            const int start = std::max(p.start, from) - from;
            // An empty span still shows: it underlines the place of what is missing.
            const int end = std::min(std::max(p.end, p.start + 1), to) - from;
            for (int i = start; i < end; ++i) {
                QTextCharFormat format = this->format(i);
                format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
                format.setUnderlineColor(p.style == FieldStyle::Error ? QColor(0xE0, 0x10, 0x10)
                                                                      : QColor(0xD0, 0x90, 0x00));
                setFormat(i, 1, format);
            }
        }
    }
};

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
                shift(m_highlighter->problems, position, removed, added);
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
