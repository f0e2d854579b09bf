#include "app/qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

#include "app/programming_reference.h"

namespace velistrad {

namespace {

// Our texts keep the CR LF line ends of their design; a label shows LF.
QString forDisplay(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

QtDialogs::~QtDialogs() {
    delete m_reference.data();
}

void QtDialogs::message(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    title, forDisplay(text), QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);  // script text may hold "<"
    box.exec();
}

bool QtDialogs::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::input(const QString& prompt, const QString& title) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

void QtDialogs::showProgrammingReference(const QRect& besideFrame) {
    if (!m_reference) {
        m_reference = new ProgrammingReference;
        m_reference->move(besideFrame.x() + besideFrame.width(), besideFrame.y());
    }
    m_reference->show();
    m_reference->raise();
    m_reference->activateWindow();
}

void QtDialogs::closeProgrammingReference() {
    if (m_reference) m_reference->close();
}

}  // namespace velistrad
