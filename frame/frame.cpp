// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame.h"

#include <QList>

#include <cmath>

namespace zirk {

namespace {

// The width a title needs: so much per character, not per byte, plus room for the buttons around it.
Twips widthForTitle(const QString& title) {
    return 80.0 * static_cast<Twips>(title.toUcs4().size()) + 1800;
}

// A part refuses a size below zero or one that is not a number; the step is then skipped and the part keeps
// what it had.
void setSize(Twips& field, float value) {
    if (std::isfinite(value) && value >= 0) field = value;
}

void setCoordinate(Twips& field, float value) {
    if (std::isfinite(value)) field = value;
}

} // namespace

Frame::Frame(FrameWindow& window, const FrameParts& parts, const QString& title, Twips minimumHeightAboveGrip)
    : window_(window), parts_(parts), minimumWidth_(widthForTitle(title)),
      minimumHeightAboveGrip_(minimumHeightAboveGrip) {}

void Frame::setVisible(FramePart part, bool visible) {
    parts_[part].visible = visible;
    window_.partsChanged();
}

void Frame::showCentred() {
    const WindowGeometry start = window_.geometry();
    if (window_.placesItself()) {
        // Truncated toward zero, which is the rounding wanted for a window larger than the screen.
        window_.setLeft(std::trunc((window_.screenWidth() - start.width) / 2));
        window_.setTop(std::trunc((window_.screenHeight() - start.height) / 2));
    }
    // Read back rather than computed: the window system may have placed the window elsewhere.
    home_ = window_.geometry();
    window_.show();
}

void Frame::relayout() {
    if (window_.minimized()) return;
    FrameParts& p = parts_;
    const bool painted = p[FramePart::TitlePicture].visible;
    if (painted) window_.suspendPainting();
    const WindowGeometry g = window_.geometry();
    const float w = static_cast<float>(g.width);
    const float h = static_cast<float>(g.height);
    const auto f = [](Twips v) { return static_cast<float>(v); };
    const PartState& grip = p[FramePart::Grip];
    const PartState& minimise = p[FramePart::MinimiseButton];
    const PartState& maximise = p[FramePart::MaximiseButton];
    setSize(p[FramePart::TitlePicture].width, w);
    setSize(p[FramePart::Separator].width, w);
    setSize(p[FramePart::TitleText].width, w);
    setSize(p[FramePart::Background].width, w);
    setSize(p[FramePart::Background].height, h - f(p[FramePart::Background].top));
    setCoordinate(p[FramePart::Grip].left, w - f(grip.width));
    setCoordinate(p[FramePart::Grip].top, h - f(grip.height));
    setCoordinate(p[FramePart::MaximiseButton].left, w - f(maximise.width) - f(minimise.width) - 120);
    setCoordinate(p[FramePart::MinimiseButton].left, w - f(minimise.width) - 60);
    setCoordinate(p[FramePart::RestoreButton].left,
                  w - f(maximise.width) - f(minimise.width) - f(p[FramePart::RestoreButton].width) - 180);
    // Lines keep x1, y1 in left, top and x2, y2 in width, height.
    PartState& bottom = p[FramePart::BottomLine];
    PartState& right = p[FramePart::RightLine];
    setCoordinate(bottom.top, h - 10);
    setCoordinate(p[FramePart::LeftLine].top, h);
    setCoordinate(p[FramePart::TopLine].width, w);
    setCoordinate(right.width, w - 10);
    setCoordinate(right.left, w - 10);
    setCoordinate(bottom.height, h - 10);
    // The grey lines stop where a visible grip begins.
    if (!grip.visible) {
        setCoordinate(right.height, h - 10);
        setCoordinate(bottom.width, w);
    } else {
        setCoordinate(right.height, h - f(grip.height));
        setCoordinate(bottom.width, w - f(grip.width));
    }
    window_.partsChanged();
    if (painted) window_.resumePainting();
}

void Frame::setCaptionButtonPressed(FramePart button, bool pressed) {
    parts_[button].pressed = pressed;
    window_.partsChanged();
}

void Frame::pressCaptionButton(FramePart button) {
    setCaptionButtonPressed(button, true);
}

void Frame::releaseCaptionButton(FramePart button) {
    setCaptionButtonPressed(button, false);
    switch (button) {
    case FramePart::MinimiseButton:
        // Let the released picture be painted before the window goes away.
        window_.processEvents();
        window_.minimize();
        break;
    case FramePart::MaximiseButton:
        // A screen-sized window left where it was would put the restore button off the screen.
        if (!window_.placesItself()) {
            window_.maximize();
            break;
        }
        window_.suspendPainting();
        window_.setTop(0);
        window_.setLeft(0);
        window_.setWidth(static_cast<float>(window_.screenWidth()));
        window_.setHeight(static_cast<float>(window_.screenHeight() - kMaximiseBottomMargin));
        window_.resumePainting();
        break;
    case FramePart::RestoreButton: {
        const bool placesItself = window_.placesItself();
        // The window system refuses a maximised window any size but its own, until the window has left that
        // state: it gives the window back its size then.
        if (!placesItself && window_.unmaximize()) break;
        window_.suspendPainting();
        window_.setWidth(static_cast<float>(home_.width));
        window_.setHeight(static_cast<float>(home_.height));
        if (placesItself) {
            window_.setTop(static_cast<float>(home_.top));
            window_.setLeft(static_cast<float>(home_.left));
        }
        window_.resumePainting();
        break;
    }
    default:
        break;
    }
}

// Closing waits for the click, so that a press dragged off the button and released elsewhere closes nothing.
void Frame::clickCaptionButton(FramePart button) {
    if (button == FramePart::CloseButton) window_.close();
}

void Frame::setHiddenWhileResizing(bool hidden) {
    for (FramePart part : kHiddenWhileResizing)
        parts_[part].visible = !hidden;
    window_.partsChanged();
}

void Frame::pressGrip(Twips x, Twips y) {
    gripHeld_ = true;
    setHiddenWhileResizing(true);
    gripStartX_ = static_cast<float>(x);
    gripStartY_ = static_cast<float>(y);
}

void Frame::releaseGrip() {
    gripHeld_ = false;
    setHiddenWhileResizing(false);
}

Twips Frame::minimumHeight() const {
    return minimumHeightAboveGrip_ + parts_[FramePart::Grip].height;
}

void Frame::moveGrip(Twips x, Twips y) {
    if (!gripHeld_) return;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    if (fx == gripStartX_ && fy == gripStartY_) return;
    if (gripStartX_ > fx) {
        const float candidate = static_cast<float>(window_.geometry().width) - (gripStartX_ - fx);
        if (candidate >= minimumWidth()) window_.setWidth(candidate);
    } else if (gripStartX_ < fx) {
        window_.setWidth(static_cast<float>(window_.geometry().width) + (fx - gripStartX_));
    }
    if (gripStartY_ > fy) {
        const float candidate = static_cast<float>(window_.geometry().height) - (gripStartY_ - fy);
        if (candidate >= minimumHeight()) window_.setHeight(candidate);
    } else if (gripStartY_ < fy) {
        window_.setHeight(static_cast<float>(window_.geometry().height) + (fy - gripStartY_));
    }
    window_.processEvents();
}

} // namespace zirk
