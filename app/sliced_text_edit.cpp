#include "app/sliced_text_edit.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>

namespace velistrad {

namespace {

// Where the slice of up to `lines` lines from `from` ends: after a line
// break, or at the end of the text.
qsizetype sliceEnd(const QString& text, qsizetype from, int lines) {
    qsizetype at = from;
    for (int n = 0; n < lines; ++n) {
        at = text.indexOf(QLatin1Char('\n'), at);
        if (at < 0) return text.size();
        ++at;
    }
    return at;
}

// The text as the document gives it back: it keeps these characters as
// others, so that text() says the same before and after the text is all in.
QString asDocumentGivesBack(QString text) {
    for (QChar& c : text) {
        switch (c.unicode()) {
            case u'\r':
            case 0x2028:  // line and paragraph separators
            case 0x2029:
            case 0xFDD0:  // what Qt marks frames with
            case 0xFDD1:
                c = u'\n';
                break;
            case 0x00A0:  // no-break space
                c = u' ';
                break;
            default:
                break;
        }
    }
    return text;
}

bool hasLongWord(const QString& text) {
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > SlicedTextEdit::kLongestWord) return true;
    }
    return false;
}

}  // namespace

SlicedTextEdit::SlicedTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SlicedTextEdit::fillTurn);
    // Colouring tells of a change that adds and removes nothing.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0) m_textKnown = false;
    });
}

void SlicedTextEdit::setText(const QString& text) {
    stopFilling();
    wrapFor(text);
    const qsizetype first = sliceEnd(text, 0, kSliceLines);
    if (first == text.size()) {
        setPlainText(text);
        return;
    }
    m_whole = asDocumentGivesBack(text);
    m_next = first;
    setReadOnly(true);
    {
        // Those who follow the text hear of it once, when it is all in.
        const QSignalBlocker quiet(this);
        setPlainText(text.left(first));
        document()->setUndoRedoEnabled(false);
    }
    m_timer.start();
    emit fillProgress(percentIn());
}

void SlicedTextEdit::wrapFor(const QString& text) {
    setWordWrapMode(hasLongWord(text) ? QTextOption::WrapAnywhere
                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void SlicedTextEdit::insertFromMimeData(const QMimeData* source) {
    // A pasted long word is broken anywhere too, until another text is set.
    if (source->hasText() && hasLongWord(source->text()))
        setWordWrapMode(QTextOption::WrapAnywhere);
    QPlainTextEdit::insertFromMimeData(source);
}

int SlicedTextEdit::percentIn() const {
    return static_cast<int>(100 * m_next / m_whole.size());
}

QString SlicedTextEdit::text() const {
    if (filling()) return m_whole;
    if (!m_textKnown) {
        m_text = toPlainText();
        m_textKnown = true;
    }
    return m_text;
}

void SlicedTextEdit::fillTurn() {
    if (m_next < m_whole.size()) {
        QElapsedTimer turn;
        turn.start();
        {
            const QSignalBlocker quiet(this);
            QTextCursor end(document());
            end.movePosition(QTextCursor::End);
            while (m_next < m_whole.size() && turn.elapsed() < kTurnMs) {
                const qsizetype to = sliceEnd(m_whole, m_next, kSliceLines / 40);
                end.insertText(m_whole.mid(m_next, to - m_next));
                m_next = to;
            }
        }
        emit fillProgress(percentIn());
        return;
    }
    // The next turn tells the news: those who follow the text take time too.
    QString whole = std::move(m_whole);
    stopFilling();
    m_text = std::move(whole);
    m_textKnown = true;
    emit undoAvailable(false);
    emit redoAvailable(false);
    emit textChanged();
}

void SlicedTextEdit::stopFilling() {
    if (!filling()) return;
    m_timer.stop();
    m_whole.clear();
    m_next = 0;
    {
        const QSignalBlocker quiet(this);
        document()->setUndoRedoEnabled(true);
        document()->setModified(false);
        setReadOnly(false);
    }
    emit fillProgress(100);
}

}  // namespace velistrad
