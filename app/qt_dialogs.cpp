#include "app/qt_dialogs.h"

#include <algorithm>

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "app/programming_reference.h"

namespace velistrad {

namespace {

// The help texts end their lines with CR LF, as they are stored and copied;
// a Qt label breaks lines at LF only.
QString forDisplay(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A box as narrow as a short message cuts its title ("Veli… ator"); a
// message box takes no minimum width of its own, but its grid takes a spacer.
void keepTitleWhole(QMessageBox& box) {
    const int title = box.fontMetrics().horizontalAdvance(box.windowTitle());
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    grid->addItem(new QSpacerItem(std::max(260, title + 120), 0, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

QtDialogs::~QtDialogs() {
    delete m_reference.data();
}

void QtDialogs::message(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(title), forDisplay(text), QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);  // script text may hold "<"
    keepTitleWhole(box);
    box.exec();
}

bool QtDialogs::question(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setTextFormat(Qt::PlainText);
    keepTitleWhole(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::input(const std::string& prompt, const std::string& title,
                                            const std::string& answer) {
    bool ok = false;
    const QString typed = QInputDialog::getText(m_parent, QString::fromStdString(title),
                                                QString::fromStdString(prompt), QLineEdit::Normal,
                                                QString::fromStdString(answer), &ok);
    if (!ok) return std::nullopt;
    return typed.toStdString();
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

QStringList QtDialogs::openFileNames(const QString& title, const QString& filter, bool several) {
    if (several) return QFileDialog::getOpenFileNames(m_parent, title, QString(), filter);
    const QString name = QFileDialog::getOpenFileName(m_parent, title, QString(), filter);
    return name.isEmpty() ? QStringList() : QStringList{name};
}

QString QtDialogs::saveFileName(const QString& title, const QString& suggested,
                                const QString& filter) {
    QFileDialog chooser(m_parent, title, suggested, filter);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    // "Save" with a bare name adds the extension of the filter's first kind.
    const QRegularExpressionMatch kind =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    chooser.setDefaultSuffix(kind.hasMatch() ? kind.captured(1) : QStringLiteral("vsim"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
    return chooser.selectedFiles().constFirst();
}

WindowDialogs::SaveChoice QtDialogs::saveChanges(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

}  // namespace velistrad
