#pragma once

#include "controls.h"
#include "frame.h"
#include "services.h"
#include "startup.h"
#include "state.h"
#include "widgets.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

namespace zirk {

// The one window of the game. It builds its controls from the window description, keeps the game and the frame,
// and routes each event to the handler named after the control and the event.
class Form1 : public QWidget {
    Q_OBJECT
public:
    struct Services {
        FileChooser* chooser;
        MessageBox* box;
        ProgramEnd* end;
        ScreenArea* screen;
    };

    explicit Form1(Services services);
    ~Form1() override;

    // Creation is done; centres and shows the window.
    void Form_Load();

    QWidget* control(Ctl id) const { return controls_[static_cast<std::size_t>(id)]; }
    template <typename T> T* control(Ctl id) const { return static_cast<T*>(control(id)); }
    GameState& game() { return game_; }
    Frame& frame() { return frame_; }
    int layoutCount() const { return layouts_; }

    // The handlers of the game.
    void Command1_Click(int Index);
    void Command2_Click();
    void Picture3_GotFocus();
    void Picture3_LostFocus();
    void Picture3_KeyPress(int KeyAscii);
    void draw1();

    // Runs the frame layout if the window's size is not the one it was last laid out for.
    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    class StartupAdapter;
    class FrameAdapter;

    void createControls();
    void wireHandlers();
    void applyFrame();
    void handleStep(int outcome);
    void beginFallbackMove();
    void followFallbackMove(QPointF globalPos);
    void endFallbackMove();

    Services services_;
    GameState game_;
    std::unique_ptr<FrameAdapter> frameWindow_;
    std::unique_ptr<StartupAdapter> startupWindow_;
    Frame frame_;
    std::array<QWidget*, kControlCount> controls_{};
    std::unique_ptr<PictureCanvas> canvas_;
    QSize laidOutFor_;
    bool inLayout_ = false;
    bool loaded_ = false;
    int layouts_ = 0;
    // Where a title drag started, for window systems that cannot move the window themselves.
    bool fallbackMoving_ = false;
    QPointF lastPress_;
    QPointF fallbackPress_;
    QPoint fallbackOrigin_;
};

} // namespace zirk
