#pragma once

#include "controls.h"
#include "state.h"

#include <array>
#include <optional>

namespace zirk {

// What the frame changes of a control at run time. Boxes use left, top, width, height; lines x1, y1, x2, y2
// stored in the same four fields. All twips.
struct ControlState {
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    Ctl picture = Ctl::Count; // whose picture an image shows; Count for none
};

class FrameState {
public:
    FrameState(); // as the window description has them
    ControlState& operator[](Ctl id) { return controls_[static_cast<std::size_t>(id)]; }
    const ControlState& operator[](Ctl id) const { return controls_[static_cast<std::size_t>(id)]; }

private:
    std::array<ControlState, kControlCount> controls_;
};

// What the frame needs of the window, in twips. Hiding and showing suspend and resume painting only; the window
// stays mapped so that it keeps the pointer grab and the keyboard focus. Setting the width or the height runs
// the frame layout before it returns; setting the left or the top does not.
class FrameWindow {
public:
    virtual ~FrameWindow() = default;
    virtual bool minimized() const = 0;
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;
    virtual double width() const = 0;
    virtual double height() const = 0;
    virtual void setLeft(double twips) = 0;
    virtual void setTop(double twips) = 0;
    virtual void setWidth(double twips) = 0;
    virtual void setHeight(double twips) = 0;
    virtual void hideWindow() = 0;
    virtual void showWindow() = 0;
    virtual void minimize() = 0;
    virtual double screenWidth() const = 0;
    virtual double screenHeight() const = 0;
    virtual void processEvents() = 0;
    virtual void unload() = 0;
    // Lets the window system move the window with the pointer until the button is released.
    virtual void startSystemMove() = 0;
    // The frame state changed; the widgets should show it.
    virtual void controlsChanged() = 0;
};

// The frame's handlers: the layout that follows the window's size, the title bar, the caption buttons and the
// resize grip. Positions are in twips relative to the control, as the mouse events deliver them.
class Frame {
public:
    Frame(FrameWindow& window, const GameState& home);

    const FrameState& controls() const { return state_; }
    FrameState& controls() { return state_; }

    void Form_Resize();

    void IMG1_MouseDown();
    void LBL1_MouseDown();
    void LBL1_DblClick();
    void IMG2_MouseDown();
    void IMG2_MouseUp();
    void IMG2_Click();
    void IMG6_MouseDown();
    void IMG6_MouseUp();
    void IMG7_MouseDown();
    void IMG7_MouseUp();
    void IMG8_MouseDown();
    void IMG8_MouseUp();
    void IMG4_MouseDown(double x, double y);
    void IMG4_MouseMove(double x, double y);
    void IMG4_MouseUp();

    // The grip's drag state: empty before the first press, 1 while held, 0 after a release.
    std::optional<int> Resizing;
    float ResizeStartX = 0;
    float ResizeStartY = 0;

    double minimumWidth() const;
    double minimumHeight() const;

private:
    void dragForm();
    void setPicture(Ctl image, Ctl from);
    void setFramePicturesVisible(bool visible);

    FrameWindow& window_;
    const GameState& home_;
    FrameState state_;
};

// Frame pictures hidden while the grip is held, in the order they are hidden and shown again.
inline constexpr std::array<Ctl, 8> kPicturesHiddenDuringResize{Ctl::IMG1, Ctl::IMG2, Ctl::IMG3, Ctl::IMG5,
                                                               Ctl::IMG6, Ctl::IMG7, Ctl::IMG8, Ctl::IMG9};

// A free band kept at the bottom of the screen by the maximise button.
inline constexpr double kMaximiseBottomMargin = 420;

} // namespace zirk
