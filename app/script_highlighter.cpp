#include "app/script_highlighter.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace velistrad {

using Span = ProblemSpan;

namespace {

// Blocks coloured again when the problems change, for at most this long at
// a time; the rest follow from the event loop, so that the window answers
// meanwhile. A block takes from microseconds to a millisecond, as its line
// is laid out again.
constexpr qint64 kColourTurnMs = 25;
constexpr std::size_t kBlocksBetweenClocks = 16;
constexpr std::size_t kSpansSought = 50'000;
// Lines longer than this are not coloured field by field, and show only
// their first problems.
constexpr qsizetype kColouredLine = 10'000;
constexpr int kMarksInPlainLine = 100;

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

}  // namespace

void shiftSpans(std::vector<Span>& spans, int position, int removed, int added) {
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

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
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

void ScriptHighlighter::setProblems(std::vector<Span> now) {
    std::vector<Span> before = std::exchange(problems, std::move(now));
    longest = 0;
    for (const Span& p : problems) longest = std::max(longest, p.end - p.start);
    if (before.size() + problems.size() > kSpansSought) {
        // Seeking the blocks of a million spans held the window for a fifth
        // of a second: with this many, every block is coloured again.
        m_pending.resize(static_cast<std::size_t>(document()->blockCount()));
        std::iota(m_pending.begin(), m_pending.end(), 0);
        colourSome();
        return;
    }
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

std::vector<Span>::const_iterator ScriptHighlighter::firstNear(int from) const {
    return std::lower_bound(problems.begin(), problems.end(), from - longest,
                            [](const Span& p, int at) { return p.start < at; });
}

void ScriptHighlighter::colourSome() {
    // Colouring is not an edit: the document would say its text changed.
    const QSignalBlocker quiet(document());
    // One change of the layout for all of them, not one per block.
    QTextCursor batch(document());
    batch.beginEditBlock();
    QElapsedTimer turn;
    turn.start();
    std::size_t done = 0;
    QTextBlock block;
    for (; done < m_pending.size(); ++done) {
        if (done > 0 && done % kBlocksBetweenClocks == 0 && turn.elapsed() >= kColourTurnMs) break;
        const bool next = done > 0 && m_pending[done] == m_pending[done - 1] + 1;
        block = next ? block.next() : document()->findBlockByNumber(m_pending[done]);
        rehighlightBlock(block);
    }
    batch.endEditBlock();
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(done));
    if (!m_pending.empty()) m_more.start(0);
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    int field = std::max(previousBlockState(), 0);
    // Qt shapes every differently coloured run of a line apart, and lays
    // a line out whole: the fields of a line of 200 KB held the window for
    // a quarter of a second at every layout. Such a line shows plain, with
    // its first problems marked.
    const bool plain = text.size() > kColouredLine;
    if (plain)
        field = static_cast<int>((field + text.count(QLatin1Char(','))) % 3);
    else
        field = colourFields(text, field);
    setCurrentBlockState(field);

    const int from = currentBlock().position();
    const int to = from + static_cast<int>(text.size());
    int marked = 0;
    for (auto it = firstNear(from); it != problems.end(); ++it) {
        const Span& p = *it;
        if (p.start > to || (plain && ++marked > kMarksInPlainLine)) break;
        if (p.end < from || (p.end == from && p.start < from)) continue;
        const int start = std::max(p.start, from) - from;
        // An empty span still shows: it underlines the place of what is missing.
        const int end = std::min(std::max(p.end, p.start + 1), to) - from;
        const QColor colour =
            p.style == FieldStyle::Error ? QColor(0xE0, 0x10, 0x10) : QColor(0xD0, 0x90, 0x00);
        if (plain) {
            setFormat(start, end - start, underlined(QTextCharFormat(), colour));
            continue;
        }
        for (int i = start; i < end; ++i) setFormat(i, 1, underlined(format(i), colour));
    }
}

int ScriptHighlighter::colourFields(const QString& text, int field) {
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
    return field;
}

QTextCharFormat ScriptHighlighter::underlined(QTextCharFormat format, const QColor& colour) {
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(colour);
    return format;
}

}  // namespace velistrad
