// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "frame.h"
#include "steps.h"

#include <array>
#include <cstddef>
#include <optional>

namespace zirk {

// Every control of the main window, front to back. The order is the stacking order: an earlier control is
// drawn over a later one and receives the mouse where they overlap.
enum class Control : std::size_t {
    KeyPanel,
    QuitButton,
    OpenButton,
    ExitSwatch,
    PlayerSwatch,
    FileDialog,
    DownButton,
    RightButton,
    View,
    UpButton,
    LeftButton,
    PanelHint,
    Hub,
    ExitLegend,
    PlayerLegend,
    CloseDownPicture,
    MinimiseDownPicture,
    MaximiseDownPicture,
    RestoreDownPicture,
    CloseUpPicture,
    MinimiseUpPicture,
    MaximiseUpPicture,
    RestoreUpPicture,
    Grip,
    BottomLine,
    RightLine,
    Icon,
    RestoreButton,
    MaximiseButton,
    MinimiseButton,
    TopLine,
    LeftLine,
    Separator,
    CloseButton,
    TitleText,
    TitlePicture,
    TitleStrip,
    Background,
    Count
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Count);

enum class Kind { KeyPanel, MazeView, ColourBox, Button, Label, Picture, Disc, Line, FileDialog };
enum class Cursor { Default, SizeDiagonal };

struct Font {
    const char* family = nullptr; // nullptr: the platform's default font
    double points = 0;
    int weight = 400;
};

// One row of the window's description. Boxes are left, top, width, height; lines are x1, y1, x2, y2. All
// twips.
struct ControlRow {
    Control control;
    // The widget's object name, by which tests and accessibility tools find it.
    const char* name;
    int index = -1; // place in a numbered group of buttons sharing one name, or -1
    Kind kind;
    Twips left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    const char* caption = nullptr;
    Font font{};
    std::optional<Rgb> back{}; // nullopt: the platform's default for the kind of control
    std::optional<Rgb> fore{};
    bool opaque = false;           // labels: paint the background
    bool sunkenBorder = false;     // the key panel
    bool centred = false;          // labels
    bool growsWithText = false;    // labels: wrap at the width, height follows the text
    const char* picture = nullptr; // resource path
    bool stretch = false;          // pictures
    const char* tooltip = nullptr;
    Cursor cursor = Cursor::Default;
    int tabIndex = -1;
    const char* filter = nullptr; // file dialog: "Description|*.pattern"
    // What a screen reader says for a control that has no caption or tooltip to say it with.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
    const char* pressedPicture = nullptr; // caption buttons: shown while held
    std::optional<Command> command{};     // buttons that play
    std::optional<FramePart> framePart{}; // the part of the frame the control shows
};

struct WindowDescription {
    const char* caption;
    const char* icon;
    Rgb back;
    Twips width;
    Twips height;
};

extern const WindowDescription kMainWindow;
extern const std::array<ControlRow, kControlCount> kControls;

inline const ControlRow& row(Control control) {
    return kControls[static_cast<std::size_t>(control)];
}

// The frame's parts as the description places them.
FrameParts designedFrame();

} // namespace zirk
