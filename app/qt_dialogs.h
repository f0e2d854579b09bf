// The Dialogs of the running program: QMessageBox, QInputDialog and the
// Programming Reference window, which this object owns while it is open.
#pragma once

#include <QPointer>

#include "app/dialogs.h"
#include "app/programming_reference.h"

namespace velistrad {

class QtDialogs : public Dialogs {
public:
    // Boxes are centred on `parent` (the main window); it may be null.
    explicit QtDialogs(QWidget* parent = nullptr);
    ~QtDialogs() override;

    void message(const QString& text, const QString& title, MessageIcon icon) override;
    bool question(const QString& text, const QString& title) override;
    QString input(const QString& prompt, const QString& title) override;
    void showProgrammingReference(const QRect& besideFrame) override;
    void closeProgrammingReference() override;

    // The open reference window, or null.
    ProgrammingReference* programmingReference() const { return m_reference; }

private:
    QPointer<QWidget> m_parent;
    QPointer<ProgrammingReference> m_reference;
};

}  // namespace velistrad
