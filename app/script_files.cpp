#include "app/script_files.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>

#include "app/dialogs.h"
#include "app/script_editor.h"
#include "app/window_context.h"
#include "engine/simulator.h"
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

void ScriptFiles::build(QMenu* file) {
    auto add = [this, file](const char* name, const QString& caption, QKeySequence keys) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        return action;
    };
    connect(add("OpenScript", QStringLiteral("&Open Script…"), QKeySequence::Open),
            &QAction::triggered, this, &ScriptFiles::open);
    m_recent = file->addMenu(QStringLiteral("Open &Recent"));
    m_recent->setObjectName(QStringLiteral("M_RecentScripts"));
    connect(add("SaveScript", QStringLiteral("&Save Script"), QKeySequence::Save),
            &QAction::triggered, this, &ScriptFiles::save);
    connect(add("SaveScriptAs", QStringLiteral("Save Script &As…"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, &ScriptFiles::saveAs);
    file->addSeparator()->setObjectName(QStringLiteral("SeparatorScripts"));
    showRecent();

    m_window.mainWindow().setAcceptDrops(true);
    // Compared with the text last read or written, so undoing a change unmarks it.
    connect(&m_window.scriptEditor(), &QPlainTextEdit::textChanged, this, [this] {
        if (!m_file.isEmpty())
            m_window.mainWindow().setWindowModified(m_window.scriptEditor().text() != m_saved);
    });
}

bool ScriptFiles::openFile(const QString& path) {
    if (!saveChangesFirst()) return false;
    std::string text;
    const std::string error = readScriptFile(QFile::encodeName(path).toStdString(), text);
    if (!error.empty()) {
        m_window.dialogs().message(error, qs(kProgramTitle).toStdString(),
                                   MessageIcon::Exclamation);
        return false;
    }
    m_window.simulator().reset();
    m_window.setScriptText(text);
    m_file = QFileInfo(path).absoluteFilePath();
    emit opened();
    return markSaved(m_window.scriptEditor().text());
}

void ScriptFiles::open() {
    const QStringList chosen =
        m_window.dialogs().openFileNames(QStringLiteral("Open Script"), kFilter, false);
    if (!chosen.isEmpty()) openFile(chosen.constFirst());
}

bool ScriptFiles::save() {
    if (m_file.isEmpty()) return saveAs();
    const QString text = m_window.scriptEditor().text();
    const std::string error =
        writeScriptFile(QFile::encodeName(m_file).toStdString(), text.toStdString());
    if (!error.empty()) {
        m_window.dialogs().message(error, qs(kProgramTitle).toStdString(),
                                   MessageIcon::Exclamation);
        return false;
    }
    return markSaved(text);
}

bool ScriptFiles::markSaved(const QString& text) {
    m_saved = text;
    showState();
    rememberRecent(m_file);
    return true;
}

bool ScriptFiles::saveAs() {
    const QString path =
        m_window.dialogs().saveFileName(QStringLiteral("Save Script As"), m_file, kFilter);
    if (path.isEmpty()) return false;
    const QString before = m_file;
    m_file = QFileInfo(path).absoluteFilePath();
    if (save()) return true;
    m_file = before;  // the old file stays the open one
    return false;
}

bool ScriptFiles::saveChangesFirst() {
    if (m_file.isEmpty() || m_window.scriptEditor().text() == m_saved) return true;
    const QString text = QStringLiteral(
                             "The script has changes that are not saved to %1.\n"
                             "Do you want to save them?")
                             .arg(QFileInfo(m_file).fileName());
    switch (m_window.dialogs().saveChanges(text, qs(kProgramTitle))) {
        case WindowDialogs::SaveChoice::Save:
            return save();
        case WindowDialogs::SaveChoice::Discard:
            return true;
        case WindowDialogs::SaveChoice::Cancel:
            break;
    }
    return false;
}

bool ScriptFiles::leave() {
    // Another script takes the editor's place: the file is no longer the one
    // shown, so a later Save must not write that script into it.
    if (m_file.isEmpty()) return true;
    if (!saveChangesFirst()) return false;
    m_file.clear();
    m_saved.clear();
    showState();
    return true;
}

void ScriptFiles::showState() {
    if (m_file.isEmpty()) {
        m_window.mainWindow().setWindowTitle(qs(kProgramTitle));
    } else {
        m_window.mainWindow().setWindowTitle(
            QStringLiteral("%1[*] - %2").arg(QFileInfo(m_file).fileName(), qs(kProgramTitle)));
    }
    m_window.mainWindow().setWindowModified(!m_file.isEmpty() &&
                                            m_window.scriptEditor().text() != m_saved);
}

void ScriptFiles::rememberRecent(const QString& path) {
    QSettings stored(kSettings, kSettings);
    QStringList recent = stored.value(kRecentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentCount) recent.removeLast();
    stored.setValue(kRecentKey, recent);
    showRecent();
}

void ScriptFiles::showRecent() {
    m_recent->clear();
    const QStringList recent = QSettings(kSettings, kSettings).value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setObjectName(QStringLiteral("RecentScript(%1)").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    m_recent->setEnabled(!recent.isEmpty());
}

bool ScriptFiles::filterDrop(QEvent* event) {
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove &&
        event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty()) return false;  // text dropped into the editor stays the editor's
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) openFile(path);
    return true;
}

ScriptFiles::ScriptFiles(WindowContext& window) : QObject(&window.mainWindow()), m_window(window) {}

}  // namespace velistrad
