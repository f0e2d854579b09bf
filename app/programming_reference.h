// `frmProg`, the Programming Reference: a non-modal window with the script
// language summary in the read-only text box `Text1`. It deletes itself when
// closed, so the next opening creates and places a fresh one.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace velistrad {

class ProgrammingReference : public QWidget {
    Q_OBJECT

public:
    explicit ProgrammingReference(QWidget* parent = nullptr);

    QPlainTextEdit* Text1() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};

}  // namespace velistrad
