#include "app/qt_dialogs.h"

#include <algorithm>

#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

#include "app/dialog_titles.h"
#include "app/help_texts.h"
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
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    const int title = titleBarWidth(box, box.windowTitle());
    grid->addItem(new QSpacerItem(std::max(260, title), 0, QSizePolicy::Minimum), grid->rowCount(),
                  0, 1, grid->columnCount());
}

}  // namespace

QRect keptOnScreen(const QRect& frame, const QRect& available) {
    QSize size = frame.size().boundedTo(available.size());
    const int x = std::clamp(frame.x(), available.left(), available.right() + 1 - size.width());
    // The top stays where it was asked for while at least half the height
    // fits below it; otherwise the window moves up.
    int y = std::clamp(frame.y(), available.top(), available.bottom());
    const int below = available.bottom() + 1 - y;
    if (below >= size.height() / 2)
        size.setHeight(std::min(size.height(), below));
    else
        y = available.bottom() + 1 - size.height();
    return {QPoint(x, y), size};
}

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

QtDialogs::~QtDialogs() {
    delete m_reference.data();
}

void QtDialogs::helpMessage(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, flowedParagraphs(text), QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    keepTitleWhole(box);
    box.exec();
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
        // Before it is shown its frame is unknown: the window system adds to
        // it what it adds to the main window.
        const QSize frame =
            m_parent ? m_parent->frameGeometry().size() - m_parent->size() : QSize();
        const QRect beside(besideFrame.topRight() + QPoint(1, 0), m_reference->size() + frame);
        const QScreen* screen = QGuiApplication::screenAt(besideFrame.center());
        if (screen == nullptr) screen = QGuiApplication::primaryScreen();
        const QRect placed = screen ? keptOnScreen(beside, screen->availableGeometry()) : beside;
        m_reference->resize(placed.size() - frame);
        m_reference->move(placed.topLeft());
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
