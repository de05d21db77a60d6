// SPDX-License-Identifier: GPL-3.0-or-later
#include "mazewindow.h"

#include "accessibility.h"
#include "keyhelp.h"
#include "loader.h"
#include "loadreport.h"
#include "logging.h"
#include "onscreen.h"
#include "pictures.h"
#include "spoken.h"
#include "surroundings.h"
#include "texts.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QResizeEvent>
#include <QShortcut>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace zirk {

// The window as the frame sees it: geometry in twips, and the frame's parts shown by their widgets.
class MazeWindow::FrameAdapter : public FrameWindow {
public:
    explicit FrameAdapter(MazeWindow& window) : w(window) {}
    bool minimized() const override { return w.windowState() & Qt::WindowMinimized; }
    WindowGeometry geometry() const override {
        return {toTwips(w.x()), toTwips(w.y()), toTwips(w.width()), toTwips(w.height())};
    }
    Twips screenWidth() const override { return toTwips(w.services_.screen->geometry().width()); }
    Twips screenHeight() const override { return toTwips(w.services_.screen->geometry().height()); }
    void setLeft(Twips left) override { w.move(toPixels(left), w.y()); }
    void setTop(Twips top) override { w.move(w.x(), toPixels(top)); }
    // Qt delivers the resize before returning while the window shows, but not while it is hidden: the layout
    // is asked for here too, and runs only if the first did not.
    void setWidth(Twips width) override {
        w.resize(std::max(1, toPixels(width)), w.height());
        w.relayout();
    }
    void setHeight(Twips height) override {
        w.resize(w.width(), std::max(1, toPixels(height)));
        w.relayout();
    }
    // Unmapping the window would make it flicker, drop the pointer grab of a grip drag and lose the keyboard
    // focus; suspending its painting gives the same picture.
    void suspendPainting() override { w.setUpdatesEnabled(false); }
    void resumePainting() override { w.setUpdatesEnabled(true); }
    // Laid out before it is first seen, so that the designed widths never show.
    void show() override {
        w.relayout();
        w.show();
    }
    void minimize() override { w.setWindowState(w.windowState() | Qt::WindowMinimized); }
    bool placesItself() const override {
        return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    }
    void maximize() override { w.setWindowState(w.windowState() | Qt::WindowMaximized); }
    bool unmaximize() override {
        if (!(w.windowState() & Qt::WindowMaximized)) return false;
        w.setWindowState(w.windowState() & ~Qt::WindowMaximized);
        return true;
    }
    void close() override { w.close(); }
    void processEvents() override { QCoreApplication::processEvents(); }
    void partsChanged() override { w.frameWidgets_.show(w.frame_); }

private:
    MazeWindow& w;
};

MazeWindow::MazeWindow(Services services)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), services_(services),
      frameWindow_(std::make_unique<FrameAdapter>(*this)),
      frame_(*frameWindow_, designedFrame(), QString::fromUtf8(kApplicationTitle),
             row(Control::TitleStrip).height),
      titleBar_(new TitleBarAgent(*this)) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kMainWindow.caption));
    setWindowIcon(loadIcon(kMainWindow.icon));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kMainWindow.back));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(toPixels(kMainWindow.width), toPixels(kMainWindow.height));
    createControls();
    connectControls();
    addShortcuts();
    frameWidgets_.show(frame_);
}

MazeWindow::~MazeWindow() = default;

void MazeWindow::createControls() {
    // Created back to front: a later sibling is drawn over an earlier one and takes the mouse first.
    for (auto it = kControls.rbegin(); it != kControls.rend(); ++it) {
        const ControlRow& r = *it;
        QWidget* w = nullptr;
        switch (r.kind) {
        case Kind::KeyPanel:
            w = new KeyPanel(r, this);
            break;
        case Kind::MazeView:
            w = new MazeView(r, this);
            break;
        case Kind::ColourBox:
            w = new ColourBox(r, this);
            break;
        case Kind::Button:
            w = new PictureButton(r, this);
            break;
        case Kind::Label:
            w = new TextLabel(r, this);
            break;
        case Kind::Picture: {
            auto* picture = new PictureControl(r.stretch, this);
            picture->setPicture(loadPicture(r.picture));
            if (r.pressedPicture) picture->setPressedPicture(loadPicture(r.pressedPicture));
            if (r.cursor == Cursor::SizeDiagonal) picture->setCursor(Qt::SizeFDiagCursor);
            w = picture;
            break;
        }
        case Kind::Disc:
            w = new Disc(r, this);
            break;
        case Kind::Line:
            w = new BorderLine(toQColor(r.fore.value_or(Rgb{})), r.top == r.height, this);
            break;
        case Kind::FileDialog:
            break; // the dialog is made when it is needed
        }
        if (!w) continue;
        controls_[static_cast<std::size_t>(r.control)] = w;
        w->setObjectName(QString::fromUtf8(r.name) +
                         (r.index >= 0 ? QStringLiteral("(%1)").arg(r.index) : QString()));
        if (r.framePart) {
            frameWidgets_.set(*r.framePart, w);
        } else {
            w->setGeometry(toPixelRect(r.left, r.top, r.width, r.height));
            w->setVisible(r.visible);
        }
        if (r.kind != Kind::Line) w->setFont(r.font.family ? fontFor(r.font) : font());
        if (r.growsWithText) {
            // Wraps at its width; its height is whatever the text needs.
            w->resize(w->width(), w->heightForWidth(w->width()));
        }
        if (r.tooltip) w->setToolTip(QString::fromUtf8(r.tooltip));
        // A screen reader names a control by its caption or tooltip, else by the name given for it.
        if (const char* name = r.accessibleName ? r.accessibleName : r.caption ? r.caption : r.tooltip)
            w->setAccessibleName(QString::fromUtf8(name));
        if (r.accessibleDescription) w->setAccessibleDescription(QString::fromUtf8(r.accessibleDescription));
    }
    // Tab order follows the tab indices of the controls that can take the focus.
    std::vector<const ControlRow*> focusable;
    for (const ControlRow& r : kControls) {
        if (r.tabIndex >= 0 && control(r.control)->focusPolicy() != Qt::NoFocus) focusable.push_back(&r);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(control(focusable[i - 1]->control), control(focusable[i]->control));
}

void MazeWindow::connectControls() {
    for (const ControlRow& r : kControls) {
        if (r.command)
            connect(control<QPushButton>(r.control), &QPushButton::clicked, this,
                    [this, c = *r.command] { walk(c); });
    }
    connect(control<QPushButton>(Control::OpenButton), &QPushButton::clicked, this, &MazeWindow::openMaze);
    connect(control<KeyPanel>(Control::KeyPanel), &KeyPanel::commanded, this, &MazeWindow::walk);

    titleBar_->watch(control(Control::TitlePicture));
    titleBar_->watch(control(Control::TitleText));

    for (FramePart button : {FramePart::CloseButton, FramePart::MinimiseButton, FramePart::MaximiseButton,
                             FramePart::RestoreButton}) {
        auto* picture = static_cast<PictureControl*>(frameWidgets_[button]);
        connect(picture, &PictureControl::pressed, this,
                [this, button] { frame_.pressCaptionButton(button); });
        connect(picture, &PictureControl::released, this,
                [this, button] { frame_.releaseCaptionButton(button); });
        connect(picture, &PictureControl::clicked, this,
                [this, button] { frame_.clickCaptionButton(button); });
    }

    auto* grip = static_cast<PictureControl*>(frameWidgets_[FramePart::Grip]);
    connect(grip, &PictureControl::pressed, this, [this](Twips x, Twips y) { frame_.pressGrip(x, y); });
    connect(grip, &PictureControl::moved, this, [this](Twips x, Twips y) { frame_.moveGrip(x, y); });
    connect(grip, &PictureControl::released, this, [this] { frame_.releaseGrip(); });
}

void MazeWindow::addShortcuts() {
    // On the window, so that they work whichever control has the focus; the key panel, which leaves every key
    // pressed with Ctrl alone, never sees them.
    const auto add = [this](QKeySequence keys, void (MazeWindow::*action)()) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::Key_F1), &MazeWindow::showHelp);
    add(QKeySequence(Qt::CTRL | Qt::Key_O), &MazeWindow::openMaze);
    add(QKeySequence(Qt::CTRL | Qt::Key_R), &MazeWindow::restartMaze);
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, [this] { services_.end->endNow(); });
}

void MazeWindow::start(const std::optional<std::string>& file) {
    auto* strip = control<TextLabel>(Control::TitleStrip);
    strip->setBackColour(kTitleStripColour);
    // As wide as the screen, so that no window width ever shows its end.
    strip->resize(services_.screen->geometry().width(), strip->height());
    frame_.setVisible(FramePart::LeftLine, true);
    frame_.showCentred();
    new KeepOnScreen(*this);
    // Once the window shows, so that a box about the file has a window to stand on.
    if (file) QTimer::singleShot(0, this, [this, path = *file] { openMazeFile(path); });
}

void MazeWindow::relayout() {
    // Setting the size first makes any layout asked for while this one runs a no-op.
    if (laidOutFor_ == size() || (windowState() & Qt::WindowMinimized)) return;
    laidOutFor_ = size();
    frame_.relayout();
}

void MazeWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (isVisible()) relayout();
}

void MazeWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // Coming back from the minimised state lays the frame out for whatever size the window has now.
    if (e->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
        laidOutFor_ = QSize();
        relayout();
    }
}

void MazeWindow::walk(Command command) {
    auto* view = control<MazeView>(Control::View);
    const int fromX = game_.playerX;
    const int fromY = game_.playerY;
    const StepOutcome outcome = zirk::walk(game_, command, view->canvas());
    view->update();
    // Words cost nothing while no screen reader listens. Said before the box, which then speaks for itself.
    if (outcome != StepOutcome::Quit && QAccessible::isActive())
        announce(this, surroundingsInWords(describeSurroundings(game_),
                                           game_.playerX == fromX && game_.playerY == fromY));
    switch (outcome) {
    case StepOutcome::Quit:
        services_.end->endNow();
        break;
    case StepOutcome::ExitReached:
        services_.box->tell(this, QString::fromUtf8(kExitMessage), QString::fromUtf8(kApplicationTitle));
        break;
    case StepOutcome::Drawn:
        break;
    }
}

void MazeWindow::openMaze() {
    if (const std::optional<std::string> path = services_.chooser->chooseMaze(this)) openMazeFile(*path);
}

std::optional<MazeRead> MazeWindow::readAway(const std::string& path, const QString& name) {
    struct Job {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
        MazeRead read;
    };
    MazeFiles& files = services_.files ? *services_.files : readers_;
    const std::shared_ptr<MazeFile> file = files.open(path);
    if (!file) return std::nullopt;
    auto job = std::make_shared<Job>();
    // The thread holds nothing of the window's, and ends once the read is given up.
    if (!files.startThread([job, file] {
            MazeRead read = readMazeFile(*file);
            const std::lock_guard lock(job->mutex);
            job->read = std::move(read);
            job->done = true;
            job->ended.notify_all();
        })) {
        files.giveUp(*file);
        return std::nullopt;
    }

    {
        // Most mazes are read in far less than a frame, and then nothing else is needed.
        std::unique_lock lock(job->mutex);
        if (job->ended.wait_for(lock, std::chrono::milliseconds(20), [&] { return job->done; }))
            return std::move(job->read);
    }
    LoadWait* wait = services_.wait ? services_.wait : &dialogWait_;
    const auto finished = [job] {
        const std::lock_guard lock(job->mutex);
        return job->done;
    };
    if (wait->waitFor(this, QStringLiteral("Lecture de « %1 »…").arg(name),
                      QString::fromUtf8(kApplicationTitle), finished)) {
        const std::lock_guard lock(job->mutex);
        return std::move(job->read);
    }
    files.giveUp(*file);
    MazeRead cancelled;
    cancelled.result.cancelled = true;
    return cancelled;
}

void MazeWindow::restartMaze() {
    if (lastPath_) openMazeFile(*lastPath_);
}

void MazeWindow::showHelp() {
    services_.box->tell(this, helpText(services_.sampleFolder), QString::fromUtf8(kApplicationTitle));
}

void MazeWindow::openMazeFile(const std::string& path) {
    lastPath_ = path;
    const QString shownPath = QFile::decodeName(QByteArray::fromStdString(path));
    const QString name = shownFileName(QFileInfo(shownPath).fileName(), QFontMetrics(QApplication::font()));
    std::optional<MazeRead> read = readAway(path, name);
    // A read that could not start reads nothing, as a file that cannot be opened: the maze stays.
    const bool started = read.has_value();
    if (!started) read.emplace();
    // A reader ends just after its last byte: it is collected a moment later.
    if (!services_.files) QTimer::singleShot(500, this, [this] { readers_.collect(); });
    const LoadResult result = read->result;
    auto* view = control<MazeView>(Control::View);
    enterMaze(game_, std::move(*read), view->canvas());
    view->update();
    if (QAccessible::isActive()) announce(this, openedInWords(name, result, describeSurroundings(game_)));
    QStringList notices{started ? describeLoad(name, result) : cannotReadNow(name)};
    // A maze that did not open, or held nothing, has been told about already.
    if (started && result.openFailure == OpenFailure::None && !result.cancelled && !result.empty())
        notices << describeWayOut(name, findWayOut(game_.maze));
    notices.removeAll(QString());
    const QString problems = notices.join(QStringLiteral("\n\n"));
    if (problems.isEmpty()) return;
    qCWarning(lcMaze).noquote() << shownPath << ":" << problems;
    // The box waits on the player; the view shows the new maze behind it.
    view->repaint();
    services_.box->tell(this, problems, QString::fromUtf8(kApplicationTitle));
}

} // namespace zirk
