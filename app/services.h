// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "loader.h"

#include <QAbstractFileIconProvider>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace zirk {

// The parts of the platform that tests replace: the open dialog, the message box and the end of the program.

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path as the file system spells it, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseMaze(QWidget* parent) = 0;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Modal: returns when the user has closed the box.
    virtual void tell(QWidget* parent, const QString& text, const QString& caption) = 0;
};

// The screen the window is centred on and spread over, in pixels.
class ScreenArea {
public:
    virtual ~ScreenArea() = default;
    virtual QRect geometry() const = 0;
};

// Reads maze files away from the window.
class MazeFiles {
public:
    virtual ~MazeFiles() = default;
    // Starts reading `path` and gives the file its bytes arrive in, to be read on another thread. Never waits
    // on the file itself. Nothing when no reader can be started now.
    virtual std::shared_ptr<MazeFile> open(const std::string& path) = 0;
    // Called on the window's thread once the player has given up waiting: a read waiting on `file` may
    // return.
    virtual void giveUp(MazeFile& file) { (void)file; }
    // Runs `work` on a thread of its own; false when the system refuses one.
    virtual bool startThread(std::function<void()> work);
};

// Waits for a load that takes its time, offering to give it up. Input to the window is held back meanwhile.
class LoadWait {
public:
    virtual ~LoadWait() = default;
    // True once `finished` says so, false if the player gave up first.
    virtual bool waitFor(QWidget* parent, const QString& text, const QString& caption,
                         const std::function<bool()>& finished) = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the process at once: no event runs after this.
    virtual void endNow() = 0;
};

// Icons and types for the file dialog from names alone. Qt's own provider reads the start of every file
// listed to guess its type, so one file whose read never returns (a stalled network share, some files of
// /proc) would freeze the dialog before anything was chosen.
// Each icon is made once and shared by every file shown: a new one per file, its pictures decoded again, cost
// tens of kilobytes each, gigabytes for a large folder.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    mutable std::array<QIcon, File + 1> made_;
};

// Where the sample mazes are installed: share/zirk/mazes beside the program's own folder (bin), else under
// the first data folder that has it (XDG_DATA_HOME, then XDG_DATA_DIRS). Empty when none has it.
QString findSampleFolder(const QString& programFolder, const QStringList& dataFolders);

// The folder the program runs from, known without an application object.
QString programFolder();

// Where the open dialog starts: the working folder when it holds a maze, else the sample folder, if any.
QString dialogStartFolder(const QString& workingFolder, const QString& sampleFolder);

class DialogFileChooser : public FileChooser {
public:
    // The sample folder, when there is one, is always in the dialog's side bar.
    explicit DialogFileChooser(QString filter, QString sampleFolder = {})
        : filter_(std::move(filter)), sampleFolder_(std::move(sampleFolder)) {}
    std::optional<std::string> chooseMaze(QWidget* parent) override;

private:
    QString filter_;
    QString sampleFolder_;
    NameOnlyIconProvider icons_;
    // Only for this run: the next dialog opens where the last maze came from.
    QString lastFolder_;
};

class DialogMessageBox : public MessageBox {
public:
    void tell(QWidget* parent, const QString& text, const QString& caption) override;
};

// Half a second of waiting, then a modal box with "Annuler" until the load ends.
class DialogLoadWait : public LoadWait {
public:
    bool waitFor(QWidget* parent, const QString& text, const QString& caption,
                 const std::function<bool()>& finished) override;
};

class PrimaryScreen : public ScreenArea {
public:
    QRect geometry() const override;
};

class ImmediateEnd : public ProgramEnd {
public:
    void endNow() override;
};

// The game stores nothing. Toolkit parts that keep settings of their own (the file dialog remembers its last
// folder) are pointed at a file that swallows everything. Must run before the application object exists.
void keepSettingsOffDisk();

// How wide a box must be for a window manager to show its whole caption, in pixels.
int captionRoom(const QString& caption);

// "Description|*.pattern" as the window description stores it, in the form Qt's dialog wants.
QString qtFilter(const char* filter);

} // namespace zirk
