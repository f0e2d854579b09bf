// Script files in the window: the File menu's Open, Save and recent files,
// files dropped on the window, and the title that names the open file and
// marks changes not yet saved to it.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "simulations/script_file.h"

namespace velistrad {

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

const QString kFilter = QStringLiteral("Velistrad scripts (*.vsim);;All files (*)");
const QString kRecentKey = QStringLiteral("recentScriptFiles");
// Organisation and program named outright: without an organisation set,
// QSettings() would refuse to save.
const QString kSettings = QStringLiteral("velistrad");
constexpr int kRecentCount = 8;

// The first local file of a drag, or an empty string.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

void MainWindow::buildScriptFileItems(QMenu* file) {
    auto add = [this, file](const char* name, const QString& caption, QKeySequence keys) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        return action;
    };
    connect(add("OpenScript", QStringLiteral("&Open Script…"), QKeySequence::Open),
            &QAction::triggered, this, &MainWindow::openScript);
    m_recent = file->addMenu(QStringLiteral("Open &Recent"));
    m_recent->setObjectName(QStringLiteral("M_RecentScripts"));
    connect(add("SaveScript", QStringLiteral("&Save Script"), QKeySequence::Save),
            &QAction::triggered, this, &MainWindow::saveScript);
    connect(add("SaveScriptAs", QStringLiteral("Save Script &As…"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, &MainWindow::saveScriptAs);
    file->addSeparator()->setObjectName(QStringLiteral("SeparatorScripts"));
    showRecent();

    setAcceptDrops(true);
    // Compared with the text last read or written, so undoing a change unmarks it.
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_scriptFile.isEmpty()) setWindowModified(m_editor->toPlainText() != m_savedScript);
    });
}

bool MainWindow::openScriptFile(const QString& path) {
    if (!saveChangesFirst()) return false;
    std::string text;
    const std::string error = readScriptFile(QFile::encodeName(path).toStdString(), text);
    if (!error.empty()) {
        m_dialogs->message(error, qs(kProgramTitle).toStdString(), MessageIcon::Exclamation);
        return false;
    }
    m_simulator->reset();
    setScriptText(text);
    m_scriptFile = QFileInfo(path).absoluteFilePath();
    return markSaved(m_editor->toPlainText());
}

void MainWindow::openScript() {
    const QStringList chosen =
        m_dialogs->openFileNames(QStringLiteral("Open Script"), kFilter, false);
    if (!chosen.isEmpty()) openScriptFile(chosen.constFirst());
}

bool MainWindow::saveScript() {
    if (m_scriptFile.isEmpty()) return saveScriptAs();
    const QString text = m_editor->toPlainText();
    const std::string error =
        writeScriptFile(QFile::encodeName(m_scriptFile).toStdString(), text.toStdString());
    if (!error.empty()) {
        m_dialogs->message(error, qs(kProgramTitle).toStdString(), MessageIcon::Exclamation);
        return false;
    }
    return markSaved(text);
}

bool MainWindow::markSaved(const QString& text) {
    m_savedScript = text;
    showScriptFileState();
    rememberRecent(m_scriptFile);
    return true;
}

bool MainWindow::saveScriptAs() {
    const QString path =
        m_dialogs->saveFileName(QStringLiteral("Save Script As"), m_scriptFile, kFilter);
    if (path.isEmpty()) return false;
    const QString before = m_scriptFile;
    m_scriptFile = QFileInfo(path).absoluteFilePath();
    if (saveScript()) return true;
    m_scriptFile = before;  // the old file stays the open one
    return false;
}

bool MainWindow::saveChangesFirst() {
    if (m_scriptFile.isEmpty() || m_editor->toPlainText() == m_savedScript) return true;
    const QString text = QStringLiteral(
                             "The script has changes that are not saved to %1.\n"
                             "Do you want to save them?")
                             .arg(QFileInfo(m_scriptFile).fileName());
    switch (m_dialogs->saveChanges(text, qs(kProgramTitle))) {
        case WindowDialogs::SaveChoice::Save:
            return saveScript();
        case WindowDialogs::SaveChoice::Discard:
            return true;
        case WindowDialogs::SaveChoice::Cancel:
            break;
    }
    return false;
}

bool MainWindow::leaveScriptFile() {
    // Another script takes the editor's place: the file is no longer the one
    // shown, so a later Save must not write that script into it.
    if (m_scriptFile.isEmpty()) return true;
    if (!saveChangesFirst()) return false;
    m_scriptFile.clear();
    m_savedScript.clear();
    showScriptFileState();
    return true;
}

void MainWindow::showScriptFileState() {
    if (m_scriptFile.isEmpty()) {
        setWindowTitle(qs(kProgramTitle));
    } else {
        setWindowTitle(QStringLiteral("%1[*] - %2")
                           .arg(QFileInfo(m_scriptFile).fileName(), qs(kProgramTitle)));
    }
    setWindowModified(!m_scriptFile.isEmpty() && m_editor->toPlainText() != m_savedScript);
}

void MainWindow::rememberRecent(const QString& path) {
    QSettings stored(kSettings, kSettings);
    QStringList recent = stored.value(kRecentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentCount) recent.removeLast();
    stored.setValue(kRecentKey, recent);
    showRecent();
}

void MainWindow::showRecent() {
    m_recent->clear();
    const QStringList recent = QSettings(kSettings, kSettings).value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setObjectName(QStringLiteral("RecentScript(%1)").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path] { openScriptFile(path); });
    }
    m_recent->setEnabled(!recent.isEmpty());
}

bool MainWindow::filterScriptDrop(QEvent* event) {
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove &&
        event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty()) return false;  // text dropped into the editor stays the editor's
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) openScriptFile(path);
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!filterScriptDrop(event)) QMainWindow::dragEnterEvent(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!filterScriptDrop(event)) QMainWindow::dropEvent(event);
}

}  // namespace velistrad
