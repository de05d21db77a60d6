#include "frame.h"

#include <cmath>
#include <cstring>

namespace zirk {

FrameState::FrameState() {
    for (const ControlRow& r : kControls) {
        ControlState& c = (*this)[r.id];
        c.left = r.left;
        c.top = r.top;
        c.width = r.width;
        c.height = r.height;
        c.visible = r.visible;
        c.picture = r.picture ? r.id : Ctl::Count;
    }
    // The caption buttons start with the picture of their released holder.
    (*this)[Ctl::IMG2].picture = Ctl::UP2;
    (*this)[Ctl::IMG6].picture = Ctl::UP6;
    (*this)[Ctl::IMG7].picture = Ctl::UP7;
    (*this)[Ctl::IMG8].picture = Ctl::UP8;
}

Frame::Frame(FrameWindow& window, const GameState& home) : window_(window), home_(home) {}

namespace {

// A control refuses a size below zero or one that is not a number; the step is then skipped and the control
// keeps what it had.
void setSize(double& field, float value) {
    if (std::isfinite(value) && value >= 0)
        field = value;
}

void setCoordinate(double& field, float value) {
    if (std::isfinite(value))
        field = value;
}

} // namespace

void Frame::Form_Resize() {
    if (window_.minimized())
        return;
    FrameState& s = state_;
    if (s[Ctl::IMG1].visible)
        window_.hideWindow();
    const float w = static_cast<float>(window_.scaleWidth());
    const float h = static_cast<float>(window_.scaleHeight());
    const auto f = [](double v) { return static_cast<float>(v); };
    setSize(s[Ctl::IMG1].width, w);
    setSize(s[Ctl::IMG3].width, w);
    setSize(s[Ctl::LBL1].width, w);
    setSize(s[Ctl::IMG5].width, w);
    setSize(s[Ctl::IMG5].height, h - f(s[Ctl::IMG5].top));
    setCoordinate(s[Ctl::IMG4].left, w - f(s[Ctl::IMG4].width));
    setCoordinate(s[Ctl::IMG4].top, h - f(s[Ctl::IMG4].height));
    setCoordinate(s[Ctl::IMG7].left, w - f(s[Ctl::IMG7].width) - f(s[Ctl::IMG6].width) - 120);
    setCoordinate(s[Ctl::IMG6].left, w - f(s[Ctl::IMG6].width) - 60);
    setCoordinate(s[Ctl::IMG8].left,
                  w - f(s[Ctl::IMG7].width) - f(s[Ctl::IMG6].width) - f(s[Ctl::IMG8].width) - 180);
    // Lines keep x1, y1 in left, top and x2, y2 in width, height.
    setCoordinate(s[Ctl::L1].top, h - 10);
    setCoordinate(s[Ctl::L2].top, h);
    setCoordinate(s[Ctl::L3].width, w);
    setCoordinate(s[Ctl::L4].width, w - 10);
    setCoordinate(s[Ctl::L4].left, w - 10);
    setCoordinate(s[Ctl::L1].height, h - 10);
    // The grey lines stop where a visible grip begins.
    if (!s[Ctl::IMG4].visible) {
        setCoordinate(s[Ctl::L4].height, h - 10);
        setCoordinate(s[Ctl::L1].width, w);
    } else {
        setCoordinate(s[Ctl::L4].height, h - f(s[Ctl::IMG4].height));
        setCoordinate(s[Ctl::L1].width, w - f(s[Ctl::IMG4].width));
    }
    window_.controlsChanged();
    if (s[Ctl::IMG1].visible)
        window_.showWindow();
}

void Frame::dragForm() { window_.startSystemMove(); }

void Frame::IMG1_MouseDown() { dragForm(); }
void Frame::LBL1_MouseDown() { dragForm(); }
void Frame::LBL1_DblClick() {}

void Frame::setPicture(Ctl image, Ctl from) {
    state_[image].picture = state_[from].picture;
    window_.controlsChanged();
}

void Frame::IMG2_MouseDown() { setPicture(Ctl::IMG2, Ctl::Down2); }
void Frame::IMG2_MouseUp() { setPicture(Ctl::IMG2, Ctl::UP2); }
void Frame::IMG2_Click() { window_.unload(); }

void Frame::IMG6_MouseDown() { setPicture(Ctl::IMG6, Ctl::Down6); }
void Frame::IMG6_MouseUp() {
    setPicture(Ctl::IMG6, Ctl::UP6);
    // Let the released picture be painted before the window goes away.
    window_.processEvents();
    window_.minimize();
}

void Frame::IMG7_MouseDown() { setPicture(Ctl::IMG7, Ctl::Down7); }
void Frame::IMG7_MouseUp() {
    setPicture(Ctl::IMG7, Ctl::UP7);
    window_.hideWindow();
    window_.setTop(0);
    window_.setLeft(0);
    window_.setWidth(static_cast<float>(window_.screenWidth()));
    window_.setHeight(static_cast<float>(window_.screenHeight() - kMaximiseBottomMargin));
    window_.showWindow();
}

void Frame::IMG8_MouseDown() { setPicture(Ctl::IMG8, Ctl::Down8); }
void Frame::IMG8_MouseUp() {
    setPicture(Ctl::IMG8, Ctl::UP8);
    window_.hideWindow();
    window_.setWidth(home_.HomeWidth);
    window_.setHeight(home_.HomeHeight);
    window_.setTop(home_.HomeTop);
    window_.setLeft(home_.HomeLeft);
    window_.showWindow();
}

void Frame::setFramePicturesVisible(bool visible) {
    for (Ctl id : kPicturesHiddenDuringResize)
        state_[id].visible = visible;
    window_.controlsChanged();
}

void Frame::IMG4_MouseDown(double x, double y) {
    Resizing = 1;
    setFramePicturesVisible(false);
    ResizeStartX = static_cast<float>(x);
    ResizeStartY = static_cast<float>(y);
}

void Frame::IMG4_MouseUp() {
    Resizing = 0;
    setFramePicturesVisible(true);
}

double Frame::minimumWidth() const {
    // Characters, not bytes, of the title text.
    const char* title = row(Ctl::LBL1).caption;
    std::int32_t characters = 0;
    for (const char* p = title; *p; ++p)
        characters += (static_cast<unsigned char>(*p) & 0xC0) != 0x80;
    return 80 * characters + 1800;
}

double Frame::minimumHeight() const { return state_[Ctl::LBL2].height + state_[Ctl::IMG4].height; }

void Frame::IMG4_MouseMove(double x, double y) {
    if (Resizing != 1)
        return;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    if (fx == ResizeStartX && fy == ResizeStartY)
        return;
    if (ResizeStartX > fx) {
        const float candidate = static_cast<float>(window_.width()) - (ResizeStartX - fx);
        if (candidate >= minimumWidth())
            window_.setWidth(candidate);
    } else if (ResizeStartX < fx) {
        window_.setWidth(static_cast<float>(window_.width()) + (fx - ResizeStartX));
    }
    if (ResizeStartY > fy) {
        const float candidate = static_cast<float>(window_.height()) - (ResizeStartY - fy);
        if (candidate >= minimumHeight())
            window_.setHeight(candidate);
    } else if (ResizeStartY < fy) {
        window_.setHeight(static_cast<float>(window_.height()) + (fy - ResizeStartY));
    }
    window_.processEvents();
}

} // namespace zirk
