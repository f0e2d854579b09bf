// Script files in the window: the File menu's Open, Save and recent files,
// files dropped on the window, and the title that names the open file and
// marks changes not yet saved to it. Opening resets the simulator first, as
// choosing a simulation does; a file that cannot be read is reported and
// changes nothing. The saves return false when nothing was written.
#pragma once

#include <QObject>
#include <QString>

class QEvent;
class QMenu;

namespace velistrad {

class WindowContext;

class ScriptFiles : public QObject {
    Q_OBJECT

public:
    explicit ScriptFiles(WindowContext& window);

    // Adds Open, Open Recent, Save and Save As to `file`.
    void build(QMenu* file);

    bool openFile(const QString& path);
    void open();
    bool save();
    bool saveAs();
    // Save/Discard/Cancel when the open file has changes; false: stay.
    bool saveChangesFirst();
    // Another script replaces the file's in the editor; false: stay.
    bool leave();
    // A file dragged over or dropped on the window or the editor: true when
    // the event was a file's and is handled. Text dropped into the editor
    // stays the editor's.
    bool filterDrop(QEvent* event);

    const QString& file() const { return m_file; }

signals:
    // A file's script is in the editor now.
    void opened();

private:
    bool markSaved(const QString& text);  // the open file now holds text
    void showState();                     // title and modification mark
    void rememberRecent(const QString& path);
    void showRecent();

    WindowContext& m_window;
    QString m_file;   // the opened script file; empty when none is
    QString m_saved;  // its text as last read or written
    QMenu* m_recent = nullptr;
};

}  // namespace velistrad
