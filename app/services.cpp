// SPDX-License-Identifier: GPL-3.0-or-later
#include "services.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpacerItem>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace zirk {

namespace {

// Gives the keyboard back to the window a dialog or box stood on, and the focus to the control that had it,
// however the dialog was closed. Left to the window system, the window can be left without the keyboard: it
// happens when a file name typed in the dialog is confirmed with Return while its completion list is open.
class KeyboardBack {
public:
    explicit KeyboardBack(QWidget* parent)
        : window_(parent ? parent->window() : nullptr), focus_(window_ ? window_->focusWidget() : nullptr) {}
    ~KeyboardBack() {
        if (!window_ || !window_->isVisible() || window_->isMinimized()) return;
        window_->activateWindow();
        if (focus_) focus_->setFocus(Qt::ActiveWindowFocusReason);
    }
    KeyboardBack(const KeyboardBack&) = delete;
    KeyboardBack& operator=(const KeyboardBack&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

} // namespace

void keepSettingsOffDisk() {
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QStringLiteral("/dev/null"));
    }
}

QString qtFilter(const char* filter) {
    const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return out.join(QStringLiteral(";;"));
}

bool MazeFiles::startThread(std::function<void()> work) {
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

QIcon NameOnlyIconProvider::icon(IconType type) const {
    QIcon& made = made_[static_cast<std::size_t>(type)];
    if (!made.isNull()) return made;
    QStyle::StandardPixmap picture = QStyle::SP_FileIcon;
    switch (type) {
    case Computer:
        picture = QStyle::SP_ComputerIcon;
        break;
    case Desktop:
        picture = QStyle::SP_DesktopIcon;
        break;
    case Trashcan:
        picture = QStyle::SP_TrashIcon;
        break;
    case Network:
        picture = QStyle::SP_DriveNetIcon;
        break;
    case Drive:
        picture = QStyle::SP_DriveHDIcon;
        break;
    case Folder:
        picture = QStyle::SP_DirIcon;
        break;
    case File:
        break;
    }
    made = QApplication::style()->standardIcon(picture);
    return made;
}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("Dossier");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("Fichier") : QStringLiteral("Fichier %1").arg(suffix.toUpper());
}

QString findSampleFolder(const QString& programFolder, const QStringList& dataFolders) {
    QStringList candidates;
    if (!programFolder.isEmpty()) candidates << programFolder + QStringLiteral("/../share/zirk/mazes");
    for (const QString& data : dataFolders)
        candidates << data + QStringLiteral("/zirk/mazes");
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    }
    return {};
}

QString programFolder() {
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
}

QString dialogStartFolder(const QString& workingFolder, const QString& sampleFolder) {
    // Started from a desktop menu the working folder is the home folder, where the filter shows nothing.
    if (sampleFolder.isEmpty() ||
        !QDir(workingFolder).entryList({QStringLiteral("*.dat")}, QDir::Files).isEmpty())
        return workingFolder;
    return sampleFolder;
}

std::optional<std::string> DialogFileChooser::chooseMaze(QWidget* parent) {
    const KeyboardBack keyboardBack(parent);
    // The widget dialog, so that no desktop portal or platform dialog stores anything on our behalf.
    QFileDialog dialog(
        parent, QStringLiteral("Ouvrir"),
        lastFolder_.isEmpty() ? dialogStartFolder(QDir::currentPath(), sampleFolder_) : lastFolder_, filter_);
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    if (!sampleFolder_.isEmpty()) {
        QList<QUrl> places = dialog.sidebarUrls();
        const QUrl samples = QUrl::fromLocalFile(sampleFolder_);
        if (!places.contains(samples)) dialog.setSidebarUrls(places << samples);
    }
    dialog.setIconProvider(&icons_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return QFile::encodeName(chosen).toStdString();
}

int captionRoom(const QString& caption) {
    // The window manager draws the caption in a font of its own, often larger and bold, between its buttons;
    // a box sized for a short text alone would show only the ends of it.
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    return QFontMetrics(font).horizontalAdvance(caption) + 140;
}

void DialogMessageBox::tell(QWidget* parent, const QString& text, const QString& caption) {
    const KeyboardBack keyboardBack(parent);
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(captionRoom(caption), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

bool DialogLoadWait::waitFor(QWidget* parent, const QString& text, const QString& caption,
                             const std::function<bool()>& finished) {
    // A box that flashes up for a moment tells nothing: none for the first half second.
    QElapsedTimer waited;
    waited.start();
    while (!finished() && waited.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    if (finished()) return true;
    const KeyboardBack keyboardBack(parent);
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Cancel, parent);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    bool done = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        if (finished()) {
            done = true;
            box.accept();
        }
    });
    poll.start(10);
    box.exec();
    return done;
}

QRect PrimaryScreen::geometry() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void ImmediateEnd::endNow() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

} // namespace zirk
