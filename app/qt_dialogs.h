// The Dialogs of the running program: QMessageBox, QInputDialog and the
// Programming Reference window, which this object owns while it is open.
#pragma once

#include <QPointer>

#include "app/dialogs.h"
#include "app/programming_reference.h"

namespace velistrad {

// `frame` moved, and made smaller where it must be, to lie within
// `available`: sideways first, and lower rather than higher.
QRect keptOnScreen(const QRect& frame, const QRect& available);

class QtDialogs : public WindowDialogs {
public:
    // Boxes are centred on `parent` (the main window); it may be null.
    explicit QtDialogs(QWidget* parent = nullptr);
    ~QtDialogs() override;

    using WindowDialogs::message;
    void message(const std::string& text, const std::string& title, MessageIcon icon) override;
    void helpMessage(const QString& text, const QString& title) override;
    bool question(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& answer) override;
    void showProgrammingReference(const QRect& besideFrame) override;
    void closeProgrammingReference() override;
    QStringList openFileNames(const QString& title, const QString& filter, bool several) override;
    QString saveFileName(const QString& title, const QString& suggested,
                         const QString& filter) override;
    SaveChoice saveChanges(const QString& text, const QString& title) override;

    // The open reference window, or null.
    ProgrammingReference* programmingReference() const { return m_reference; }

private:
    QPointer<QWidget> m_parent;
    QPointer<ProgrammingReference> m_reference;
};

}  // namespace velistrad
