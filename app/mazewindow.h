// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"
#include "frame.h"
#include "framewidgets.h"
#include "grid.h"
#include "readers.h"
#include "services.h"
#include "steps.h"
#include "titlebar.h"
#include "widgets.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace zirk {

// The game's one window. It builds its controls from the window's description, keeps the game and the frame,
// and turns buttons and keys into commands for the game.
class MazeWindow : public QWidget {
    Q_OBJECT
public:
    struct Services {
        FileChooser* chooser;
        MessageBox* box;
        ProgramEnd* end;
        ScreenArea* screen;
        MazeFiles* files = nullptr; // nullptr: files on disk, each read by a process of its own
        LoadWait* wait = nullptr;   // nullptr: the box with "Annuler"
        QString sampleFolder = {};  // named by the help box; empty when none was found
    };

    explicit MazeWindow(Services services);
    ~MazeWindow() override;

    // Colours and widens the title strip, centres the window and shows it; then opens `file`, if one is
    // given, as if it had been chosen with the open button.
    void start(const std::optional<std::string>& file = std::nullopt);

    QWidget* control(Control id) const { return controls_[static_cast<std::size_t>(id)]; }
    template <typename T> T* control(Control id) const { return static_cast<T*>(control(id)); }
    const Game& game() const { return game_; }
    Game& game() { return game_; }
    Frame& frame() { return frame_; }

    // What the buttons and keys do. Opening asks for a file, then opens it as openMazeFile() does.
    void openMaze();
    void walk(Command command);
    // Reads a maze, redraws the view, then tells in a box what went wrong, if anything did.
    void openMazeFile(const std::string& path);
    // Reads the maze last opened again, from its file, and puts the player back on the start.
    void restartMaze();
    // The box that lists every key and where the sample mazes are.
    void showHelp();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    class FrameAdapter;

    void createControls();
    void connectControls();
    void addShortcuts();
    // Lays the frame out for the window's size, unless it already is.
    void relayout();
    // Reads the file away from the window, so that a read that never returns cannot freeze it. Nothing when
    // the read could not be started.
    std::optional<MazeRead> readAway(const std::string& path, const QString& name);

    Services services_;
    Game game_;
    std::array<QWidget*, kControlCount> controls_{};
    FrameWidgets frameWidgets_;
    std::unique_ptr<FrameAdapter> frameWindow_;
    Frame frame_;
    TitleBarAgent* titleBar_;
    DialogLoadWait dialogWait_;
    ReaderProcesses readers_;
    QSize laidOutFor_;
    std::optional<std::string> lastPath_;
};

} // namespace zirk
