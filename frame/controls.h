#pragma once

#include "colour.h"

#include <array>
#include <cstddef>
#include <optional>

namespace zirk {

// Every control of the main window, front to back. The order is the stacking order: an earlier control is drawn
// over a later one and receives the mouse where they overlap.
enum class Ctl : std::size_t {
    Picture3, Command1_4, Command2, Picture2, Picture1, C, Command1_3, Command1_1, SCR, Command1_0,
    Command1_2, Label3, Shape1, Label2, Label1, Down2, Down6, Down7, Down8, UP2,
    UP6, UP7, UP8, IMG4, L1, L4, IMG9, IMG8, IMG7, IMG6,
    L3, L2, IMG3, IMG2, LBL1, IMG1, LBL2, IMG5,
    Count
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Ctl::Count);

enum class Kind { PictureBox, CommandButton, Label, Image, Shape, Line, FileDialog };
enum class Cursor { Default, SizeDiagonal };

struct Font {
    const char* family = nullptr; // nullptr: the platform's default font
    double points = 0;
    int weight = 400;
};

// One row of the window description. Boxes are left, top, width, height; lines are x1, y1, x2, y2. All twips.
struct ControlRow {
    Ctl id;
    const char* name;
    int index = -1; // member of the Command1 array, or -1
    Kind kind;
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    const char* caption = nullptr;
    Font font{};
    std::optional<Rgb> back{};    // nullopt: the platform's default for the kind of control
    std::optional<Rgb> fore{};
    bool opaque = false;          // labels: paint the background
    bool sunkenBorder = false;    // picture boxes
    bool centred = false;         // labels
    bool growsWithText = false;   // labels: wrap at the width, height follows the text
    const char* picture = nullptr; // resource path
    bool stretch = false;         // images
    const char* tooltip = nullptr;
    Cursor cursor = Cursor::Default;
    int tabIndex = -1;
    const char* filter = nullptr; // file dialog
    // What a screen reader says for a control that has no caption or tooltip to say it with.
    const char* accessibleName = nullptr;
    const char* accessibleDescription = nullptr;
};

struct FormDescription {
    const char* caption;
    const char* icon;
    Rgb back;
    double width;
    double height;
};

extern const FormDescription kForm1;
extern const std::array<ControlRow, kControlCount> kControls;

inline const ControlRow& row(Ctl id) { return kControls[static_cast<std::size_t>(id)]; }

} // namespace zirk
