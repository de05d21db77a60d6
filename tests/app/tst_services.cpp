// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialog and message box, answered from a timer while they run modally.

#include "controls.h"
#include "fakes/files.h"
#include "platform.h"
#include "services.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

#include <memory>
#include <optional>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zirk;
using zirk::testing::write;

namespace {

// Runs `answer` on the modal widget once it is up, and again on every tick while that same widget stays open:
// a file dialog that has not finished listing its folder may refuse the first attempt to accept.
void whenModal(std::function<void(QWidget*)> answer) {
    // Owned by the application, so that a watch still waiting when the tests end goes with it.
    auto* timer = new QTimer(qApp);
    timer->setInterval(20);
    auto watched = std::make_shared<QPointer<QWidget>>();
    auto answered = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, watched, answered] {
        QWidget* modal = QApplication::activeModalWidget();
        if (*answered && modal != *watched) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (modal) {
            *watched = modal;
            *answered = true;
            answer(modal);
        }
    });
    timer->start();
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT

private slots:
    void theFilterReadsAsTheDialogWantsIt_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one pair") << "Fichiers Data|*.dat"
                                  << "Fichiers Data (*.dat)";
        QTest::newRow("two pairs") << "Fichiers Data|*.dat|Tous|*.*"
                                   << "Fichiers Data (*.dat);;Tous (*.*)";
        QTest::newRow("several patterns") << "Textes|*.txt;*.dat"
                                          << "Textes (*.txt *.dat)";
        QTest::newRow("a dangling description is dropped") << "Fichiers Data|*.dat|Autres"
                                                           << "Fichiers Data (*.dat)";
    }
    void theFilterReadsAsTheDialogWantsIt() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(qtFilter(stored.toUtf8().constData()), shown);
    }

    void theDialogSpeaksFrenchAndCancellingChoosesNothing() {
        DialogFileChooser chooser(qtFilter(row(Control::FileDialog).filter));
        QString title, accept, reject, start, column;
        QStringList filters;
        whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            accept = dialog->labelText(QFileDialog::Accept);
            reject = dialog->labelText(QFileDialog::Reject);
            column = dialog->findChild<QAbstractItemModel*>()->headerData(0, Qt::Horizontal).toString();
            start = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            dialog->reject();
        });
        QCOMPARE(chooser.chooseMaze(nullptr), std::nullopt);
        // Qt's own French, whatever the locale.
        QCOMPARE(title, QStringLiteral("Ouvrir"));
        QCOMPARE(accept, QStringLiteral("&Ouvrir"));
        QCOMPARE(reject, QStringLiteral("Annuler"));
        QCOMPARE(column, QStringLiteral("Nom"));
        QCOMPARE(filters, QStringList({QStringLiteral("Fichiers Data (*.dat)"),
                                       QStringLiteral("Tous les fichiers (*)")}));
        QCOMPARE(start, QDir::currentPath());
    }

    // Watched with inotify: listing a folder opens the folder, but guessing a type from a file's start opens
    // it.
    void theDialogOpensNoFileItLists() {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("maze.dat")), "0000\r\n0110\r\n");
        write(dir.filePath(QStringLiteral("picture.png")), "\x89PNG\r\n\x1a\n");
        write(dir.filePath(QStringLiteral("script")), "#!/bin/sh\n");
        write(dir.filePath(QStringLiteral("notes.txt")), "text\n");
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_OPEN | IN_ACCESS) >=
                0);
        DialogFileChooser chooser(qtFilter(row(Control::FileDialog).filter));
        whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(QStringLiteral("Tous les fichiers (*)"));
            // Long enough for the listing, its icons and types to be gathered and painted.
            QTest::qWait(500);
            dialog->reject();
        });
        chooser.chooseMaze(nullptr);
        QStringList opened;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0) opened << QString::fromUtf8(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        ::close(watch);
        QVERIFY2(opened.isEmpty(), qPrintable(opened.join(QLatin1Char(' '))));
    }

    void everyFileSharesOneIconAndEveryFolderAnother() {
        QTemporaryDir dir;
        for (int i = 0; i < 50; ++i) {
            write(dir.filePath(QStringLiteral("m%1.dat").arg(i)));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("d%1").arg(i)));
        }
        NameOnlyIconProvider icons;
        QSet<qint64> files, folders;
        for (const QFileInfo& info : QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot))
            (info.isDir() ? folders : files) << icons.icon(info).cacheKey();
        QCOMPARE(files.size(), 1);
        QCOMPARE(folders.size(), 1);
        QVERIFY(files != folders);
    }

    void theSessionBusIsUsedOnlyWhenItIsThePlayersSocket_data() {
        QTest::addColumn<bool>("addressGiven");
        QTest::addColumn<uint>("bus"); // the type bits of $XDG_RUNTIME_DIR/bus, 0 when missing
        QTest::addColumn<uint>("owner");
        QTest::addColumn<bool>("used");
        const uint me = ::geteuid();
        QTest::newRow("missing") << false << 0u << me << false;
        QTest::newRow("a plain file") << false << uint(S_IFREG) << me << false;
        QTest::newRow("another user's socket") << false << uint(S_IFSOCK) << me + 1 << false;
        QTest::newRow("our socket") << false << uint(S_IFSOCK) << me << true;
        QTest::newRow("an address already set") << true << 0u << me << true;
    }
    void theSessionBusIsUsedOnlyWhenItIsThePlayersSocket() {
        QFETCH(bool, addressGiven);
        QFETCH(uint, bus);
        QFETCH(uint, owner);
        struct stat st {};
        st.st_mode = bus | 0600;
        st.st_uid = owner;
        QTEST(sessionBusIsOurs(addressGiven, bus ? std::optional(st) : std::nullopt, ::geteuid()), "used");
    }

    void theNextDialogOpensWhereTheLastMazeCameFrom() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("é folder")));
        const QString folder = dir.path() + QStringLiteral("/é folder");
        write(folder + QStringLiteral("/m.dat"));
        DialogFileChooser chooser(qtFilter("Fichiers Data|*.dat"));
        whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            // Typed, as a person would: selectFile() leaves the name field alone while it has the focus.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(folder + QStringLiteral("/m.dat"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen = chooser.chooseMaze(nullptr);
        QVERIFY(chosen);
        // The path comes back as the file system spells it, so a non-ASCII folder still opens.
        QCOMPARE(QFile::decodeName(chosen->c_str()), folder + QStringLiteral("/m.dat"));
        QString start;
        whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            start = dialog->directory().absolutePath();
            dialog->reject();
        });
        QCOMPARE(chooser.chooseMaze(nullptr), std::nullopt);
        QCOMPARE(start, folder);
    }

    void theDialogStartsInTheSamplesWhenTheWorkingFolderHoldsNoMaze_data() {
        QTest::addColumn<bool>("mazeAtWork");
        QTest::addColumn<bool>("samplesFound");
        QTest::addColumn<bool>("startsInSamples");
        QTest::newRow("an empty working folder") << false << true << true;
        QTest::newRow("a maze in the working folder") << true << true << false;
        QTest::newRow("no sample folder found") << false << false << false;
    }
    void theDialogStartsInTheSamplesWhenTheWorkingFolderHoldsNoMaze() {
        QFETCH(bool, mazeAtWork);
        QFETCH(bool, samplesFound);
        QFETCH(bool, startsInSamples);
        QTemporaryDir work;
        QTemporaryDir samples;
        if (mazeAtWork) write(work.filePath(QStringLiteral("m.dat")));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        DialogFileChooser chooser(qtFilter("Fichiers Data|*.dat"), samplesFound ? samples.path() : QString());
        QString start;
        QList<QUrl> places;
        whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            start = dialog->directory().absolutePath();
            places = dialog->sidebarUrls();
            dialog->reject();
        });
        chooser.chooseMaze(nullptr);
        QDir::setCurrent(before);
        QCOMPARE(start, startsInSamples ? samples.path() : work.path());
        QCOMPARE(places.contains(QUrl::fromLocalFile(samples.path())), samplesFound);
        QVERIFY(places.contains(QUrl::fromLocalFile(QDir::homePath())));
    }

    void theExitBoxHasOneOkButtonNoIconAndRoomForItsCaption() {
        DialogMessageBox box;
        QString title, text;
        int buttons = -1;
        int width = 0;
        QMessageBox::Icon icon = QMessageBox::Warning;
        whenModal([&](QWidget* w) {
            auto* message = qobject_cast<QMessageBox*>(w);
            QVERIFY(message);
            title = message->windowTitle();
            text = message->text();
            buttons = int(message->buttons().size());
            icon = message->icon();
            width = message->width();
            QTest::keyClick(message, Qt::Key_Return);
        });
        box.tell(nullptr, QStringLiteral("Vous avez trouv\u00e9e la sortie"),
                 QStringLiteral("Zirk pour Windows"));
        QCOMPARE(title, QStringLiteral("Zirk pour Windows"));
        QCOMPARE(text, QStringLiteral("Vous avez trouv\u00e9e la sortie"));
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY2(width >= captionRoom(title), qPrintable(QString::number(width)));
    }

    void theWholeProgramHasTheClassicLook() {
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(192, 192, 192));
        QCOMPARE(QApplication::palette().color(QPalette::Light), QColor(Qt::white));
        QCOMPARE(QApplication::palette().color(QPalette::Dark), QColor(128, 128, 128));
    }
};

int main(int argc, char** argv) {
    // As the program does: the dialog would otherwise leave its history in the tester's home.
    keepSettingsOffDisk();
    QApplication app(argc, argv);
    useFrenchClassicLook(app);
    TestServices test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_services.moc"
