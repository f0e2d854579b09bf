// A plain-text editor that takes a text of many lines a slice at a time.
//
// Qt's document needs seconds for a million lines, and the window would not
// answer meanwhile. A long text goes in from the event loop instead, as many
// lines as kTurnMs allows a turn; until the last slice is in, the editor is
// read-only and text() is the whole text, so that saving, playing and
// checking never see a part of it.
//
// Lines break after blanks and dashes; only a field wider than the whole
// editor is broken inside. Qt seeks a word's end again for every line it
// breaks inside it, so a word of 200,000 letters took seconds to lay out: a
// text holding a word longer than kLongestWord is broken anywhere instead.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

class QMimeData;

namespace velistrad {

class SlicedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SlicedTextEdit(QWidget* parent = nullptr);

    // Replaces the text as setPlainText does (no undo to before it). A text
    // of more lines than the first slice holds ends its going in later, with
    // one textChanged.
    void setText(const QString& text);
    // The whole text, also while it is still going in. Kept until the next
    // edit: those who follow the editor each ask for it after every change.
    QString text() const;
    bool filling() const { return m_timer.isActive(); }

    // Lines put in at once, and the time a later turn may take, in ms.
    static constexpr int kSliceLines = 4000;
    static constexpr int kTurnMs = 25;
    static constexpr int kLongestWord = 1000;

signals:
    // How much of a long text is in, in per cent; 100 once it is all in or
    // another text took its place.
    void fillProgress(int percent);

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void fillTurn();
    void wrapFor(const QString& text);
    void stopFilling();     // where it is, telling no one
    int percentIn() const;  // of the text going in

    QTimer m_timer;
    QString m_whole;       // the text going in; empty once it is all in
    qsizetype m_next = 0;  // where in m_whole the next slice starts
    mutable QString m_text;
    mutable bool m_textKnown = false;
};

}  // namespace velistrad
