// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "twips.h"

#include <QString>

#include <array>
#include <cstddef>

namespace zirk {

// The parts of a window frame drawn by the window itself.
enum class FramePart : std::size_t {
    TitlePicture,
    TitleText,
    Separator,
    Background,
    Icon,
    CloseButton,
    MinimiseButton,
    MaximiseButton,
    RestoreButton,
    Grip,
    BottomLine,
    RightLine,
    TopLine,
    LeftLine,
    Count
};
inline constexpr std::size_t kFramePartCount = static_cast<std::size_t>(FramePart::Count);

// Where a part is and how it shows. Boxes use left, top, width, height; lines keep their two ends x1, y1, x2,
// y2 in the same four fields. All twips, relative to the window.
struct PartState {
    Twips left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool pressed = false; // caption buttons: held down
};

class FrameParts {
public:
    PartState& operator[](FramePart part) { return parts_[static_cast<std::size_t>(part)]; }
    const PartState& operator[](FramePart part) const { return parts_[static_cast<std::size_t>(part)]; }

private:
    std::array<PartState, kFramePartCount> parts_{};
};

struct WindowGeometry {
    Twips left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

// What the frame needs of its window. Setting the width or the height lays the frame out again before it
// returns; setting the left or the top does not. Suspending painting keeps the window mapped, so that it
// keeps the pointer grab of a grip drag and the keyboard focus.
class FrameWindow {
public:
    virtual ~FrameWindow() = default;
    virtual bool minimized() const = 0;
    virtual WindowGeometry geometry() const = 0;
    virtual Twips screenWidth() const = 0;
    virtual Twips screenHeight() const = 0;
    virtual void setLeft(Twips left) = 0;
    virtual void setTop(Twips top) = 0;
    virtual void setWidth(Twips width) = 0;
    virtual void setHeight(Twips height) = 0;
    virtual void suspendPainting() = 0;
    virtual void resumePainting() = 0;
    // Lays the frame out, if the window's size needs it, and shows the window.
    virtual void show() = 0;
    virtual void minimize() = 0;
    // Whether the window system lets the window choose its own position. Where it does not (Wayland), the
    // window is placed by the system, and maximised and put back through its states.
    virtual bool placesItself() const = 0;
    virtual void maximize() = 0;
    // Whether the window was maximised; the window system then gives it back the size it had before.
    virtual bool unmaximize() = 0;
    virtual void close() = 0;
    virtual void processEvents() = 0;
    // The parts changed; their widgets should show them.
    virtual void partsChanged() = 0;
};

// The frame's behaviour: the layout that follows the window's size, the caption buttons, the resize grip, and
// the geometry the window had when it was first shown, which the restore button goes back to. Grip positions
// are in twips relative to the grip, as its mouse events deliver them.
class Frame {
public:
    // `parts` as the window is designed; the window is at least as wide as `title` needs and as high as
    // `minimumHeightAboveGrip` plus the grip.
    Frame(FrameWindow& window, const FrameParts& parts, const QString& title, Twips minimumHeightAboveGrip);

    const PartState& operator[](FramePart part) const { return parts_[part]; }
    void setVisible(FramePart part, bool visible);

    // Centres the window on the screen, where the window system lets it, remembers where it ended up and
    // shows it.
    void showCentred();
    const WindowGeometry& home() const { return home_; }

    // Fits the frame to the window's size. Returns at once while the window is minimised.
    void relayout();

    void pressCaptionButton(FramePart button);
    void releaseCaptionButton(FramePart button);
    void clickCaptionButton(FramePart button);

    void pressGrip(Twips x, Twips y);
    void moveGrip(Twips x, Twips y);
    void releaseGrip();
    bool gripHeld() const { return gripHeld_; }

    Twips minimumWidth() const { return minimumWidth_; }
    Twips minimumHeight() const;

private:
    void setCaptionButtonPressed(FramePart button, bool pressed);
    void setHiddenWhileResizing(bool hidden);

    FrameWindow& window_;
    FrameParts parts_;
    Twips minimumWidth_;
    Twips minimumHeightAboveGrip_;
    WindowGeometry home_;
    bool gripHeld_ = false;
    // Single precision, like the rest of the grip's arithmetic: a drag steps in the same increments at every
    // size.
    float gripStartX_ = 0;
    float gripStartY_ = 0;
};

// The frame pictures hidden while the grip is held, in the order they are hidden and shown again.
inline constexpr std::array<FramePart, 8> kHiddenWhileResizing{
    FramePart::TitlePicture,   FramePart::CloseButton,    FramePart::Separator,     FramePart::Background,
    FramePart::MinimiseButton, FramePart::MaximiseButton, FramePart::RestoreButton, FramePart::Icon};

// A free band kept at the bottom of the screen by the maximise button.
inline constexpr Twips kMaximiseBottomMargin = 420;

} // namespace zirk
