// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "texts.h"
#include "view.h"

namespace zirk {

namespace {

constexpr Font kArial825Bold{"Arial", 8.25, 700};
constexpr Font kArial9Bold{"Arial", 9, 700};
constexpr Font kArial12Bold{"Arial", 12, 700};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};

constexpr const char* kClose = "Fermer";
constexpr const char* kMinimise = "Réduire";
constexpr const char* kMaximise = "Agrandir";
constexpr const char* kRestore = "Restaurer à l'original";
// Two blanks after "rectangle", as the window has always shown it.
constexpr const char* kHint = "Appuyez sur le rectangle  pour utilisez les touches (il devient vert)";

} // namespace

const WindowDescription kMainWindow{kApplicationTitle, ":/pictures/zirk.ico", Rgb{192, 192, 192}, 7545, 5895};

// clang-format off
const std::array<ControlRow, kControlCount> kControls{{
    {.control = Control::KeyPanel, .name = "Picture3", .kind = Kind::KeyPanel, .left = 5520, .top = 4920, .width = 1935, .height = 735,
     .back = kPanelUnfocused, .sunkenBorder = true, .tabIndex = 14, .accessibleName = "Rectangle des touches",
     .accessibleDescription = kHint},
    {.control = Control::QuitButton, .name = "Command1", .index = 4, .kind = Kind::Button, .left = 6060, .top = 600, .width = 1395, .height = 615,
     .caption = "Quitter", .tabIndex = 5, .command = Command::Quit},
    {.control = Control::OpenButton, .name = "Command2", .kind = Kind::Button, .left = 5400, .top = 600, .width = 675, .height = 615,
     .caption = "Ouvrir", .picture = ":/pictures/ouvrir.bmp", .tabIndex = 2},
    {.control = Control::ExitSwatch, .name = "Picture2", .kind = Kind::ColourBox, .left = 5460, .top = 3780, .width = 195, .height = 195,
     .back = kExitColour, .tabIndex = 10, .accessibleName = "La sortie"},
    {.control = Control::PlayerSwatch, .name = "Picture1", .kind = Kind::ColourBox, .left = 5460, .top = 3360, .width = 195, .height = 195,
     .back = kPlayerColour, .tabIndex = 9, .accessibleName = "Vous"},
    {.control = Control::FileDialog, .name = "C", .kind = Kind::FileDialog, .visible = false, .filter = "Fichiers Data|*.dat|Tous les fichiers|*"},
    {.control = Control::DownButton, .name = "Command1", .index = 3, .kind = Kind::Button, .left = 6180, .top = 2640, .width = 555, .height = 495,
     .caption = "2", .tabIndex = 4, .accessibleName = "Aller en bas",
     .accessibleDescription = "Touche 2", .command = Command::Down},
    {.control = Control::RightButton, .name = "Command1", .index = 1, .kind = Kind::Button, .left = 6720, .top = 2160, .width = 555, .height = 495,
     .caption = "6", .tabIndex = 3, .accessibleName = "Aller à droite",
     .accessibleDescription = "Touche 6", .command = Command::Right},
    {.control = Control::View, .name = "SCR", .kind = Kind::MazeView, .left = 120, .top = 540, .width = 5250, .height = 5250,
     .back = Rgb{0, 0, 0}, .tabIndex = 8, .accessibleName = "Labyrinthe"},
    {.control = Control::UpButton, .name = "Command1", .index = 0, .kind = Kind::Button, .left = 6180, .top = 1680, .width = 555, .height = 495,
     .caption = "8", .tabIndex = 7, .accessibleName = "Aller en haut",
     .accessibleDescription = "Touche 8", .command = Command::Up},
    {.control = Control::LeftButton, .name = "Command1", .index = 2, .kind = Kind::Button, .left = 5640, .top = 2160, .width = 555, .height = 495,
     .caption = "4", .tabIndex = 6, .accessibleName = "Aller à gauche",
     .accessibleDescription = "Touche 4", .command = Command::Left},
    {.control = Control::PanelHint, .name = "Label3", .kind = Kind::Label, .left = 5415, .top = 4200, .width = 2115, .height = 630,
     .caption = kHint, .font = kArial825Bold,
     .centred = true, .growsWithText = true, .tabIndex = 13},
    {.control = Control::Hub, .name = "Shape1", .kind = Kind::Disc, .left = 6240, .top = 2220, .width = 435, .height = 375,
     .back = kWhite},
    {.control = Control::ExitLegend, .name = "Label2", .kind = Kind::Label, .left = 5760, .top = 3780, .width = 1515, .height = 315,
     .caption = "La sortie", .tabIndex = 12},
    {.control = Control::PlayerLegend, .name = "Label1", .kind = Kind::Label, .left = 5760, .top = 3360, .width = 1515, .height = 255,
     .caption = "Vous", .tabIndex = 11},
    {.control = Control::CloseDownPicture, .name = "Down2", .kind = Kind::Picture, .left = 60, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/close_down.bmp", .tooltip = kClose},
    {.control = Control::MinimiseDownPicture, .name = "Down6", .kind = Kind::Picture, .left = 960, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_down.bmp", .tooltip = kMinimise},
    {.control = Control::MaximiseDownPicture, .name = "Down7", .kind = Kind::Picture, .left = 660, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_down.bmp", .tooltip = kMaximise},
    {.control = Control::RestoreDownPicture, .name = "Down8", .kind = Kind::Picture, .left = 360, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_down.bmp", .tooltip = kRestore},
    {.control = Control::CloseUpPicture, .name = "UP2", .kind = Kind::Picture, .left = 60, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/close_up.bmp", .tooltip = kClose},
    {.control = Control::MinimiseUpPicture, .name = "UP6", .kind = Kind::Picture, .left = 960, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_up.bmp", .tooltip = kMinimise},
    {.control = Control::MaximiseUpPicture, .name = "UP7", .kind = Kind::Picture, .left = 660, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_up.bmp", .tooltip = kMaximise},
    {.control = Control::RestoreUpPicture, .name = "UP8", .kind = Kind::Picture, .left = 360, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_up.bmp", .tooltip = kRestore},
    {.control = Control::Grip, .name = "IMG4", .kind = Kind::Picture, .left = 11040, .top = 3000, .width = 180, .height = 180, .visible = false,
     .picture = ":/pictures/grip.bmp", .cursor = Cursor::SizeDiagonal, .framePart = FramePart::Grip},
    {.control = Control::BottomLine, .name = "L1", .kind = Kind::Line, .left = -60, .top = 3180, .width = 10980, .height = 3180, .fore = kGrey, .framePart = FramePart::BottomLine},
    {.control = Control::RightLine, .name = "L4", .kind = Kind::Line, .left = 11220, .top = 0, .width = 11220, .height = 2940, .fore = kGrey, .framePart = FramePart::RightLine},
    // The icon's 32-pixel drawing, the same as zirk.ico's, read as PNG: Qt reads PNG itself, where an ICO needs
    // one of its image plugins, looked for and loaded from disk at every start.
    {.control = Control::Icon, .name = "IMG9", .kind = Kind::Picture, .left = 360, .top = 60, .width = 480, .height = 480,
     .picture = ":/icons/zirk_32.png", .framePart = FramePart::Icon},
    {.control = Control::RestoreButton, .name = "IMG8", .kind = Kind::Picture, .left = 10320, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_up.bmp", .tooltip = kRestore, .pressedPicture = ":/pictures/restore_down.bmp", .framePart = FramePart::RestoreButton},
    {.control = Control::MaximiseButton, .name = "IMG7", .kind = Kind::Picture, .left = 10620, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_up.bmp", .tooltip = kMaximise, .pressedPicture = ":/pictures/maximise_down.bmp", .framePart = FramePart::MaximiseButton},
    {.control = Control::MinimiseButton, .name = "IMG6", .kind = Kind::Picture, .left = 10920, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_up.bmp", .tooltip = kMinimise, .pressedPicture = ":/pictures/minimise_down.bmp", .framePart = FramePart::MinimiseButton},
    {.control = Control::TopLine, .name = "L3", .kind = Kind::Line, .left = 0, .top = 0, .width = 11220, .height = 0, .fore = kWhite, .framePart = FramePart::TopLine},
    {.control = Control::LeftLine, .name = "L2", .kind = Kind::Line, .left = 0, .top = 3180, .width = 0, .height = 0, .fore = kWhite, .framePart = FramePart::LeftLine},
    {.control = Control::Separator, .name = "IMG3", .kind = Kind::Picture, .left = 0, .top = 330, .width = 11220, .height = 30,
     .picture = ":/pictures/separator.bmp", .stretch = true, .framePart = FramePart::Separator},
    {.control = Control::CloseButton, .name = "IMG2", .kind = Kind::Picture, .left = 60, .top = 60, .width = 240, .height = 240,
     .picture = ":/pictures/close_up.bmp", .tooltip = kClose, .pressedPicture = ":/pictures/close_down.bmp", .framePart = FramePart::CloseButton},
    {.control = Control::TitleText, .name = "LBL1", .kind = Kind::Label, .left = 0, .top = 60, .width = 10875, .height = 255,
     .caption = kApplicationTitle, .font = kArial9Bold, .back = Rgb{192, 192, 255}, .fore = Rgb{0, 0, 0},
     .centred = true, .tabIndex = 0, .framePart = FramePart::TitleText},
    {.control = Control::TitlePicture, .name = "IMG1", .kind = Kind::Picture, .left = 0, .top = 0, .width = 11280, .height = 345,
     .picture = ":/pictures/title.bmp", .stretch = true, .framePart = FramePart::TitlePicture},
    {.control = Control::TitleStrip, .name = "LBL2", .kind = Kind::Label, .left = 0, .top = 0, .width = 2055, .height = 360,
     .font = kArial12Bold, .opaque = true, .tabIndex = 1},
    {.control = Control::Background, .name = "IMG5", .kind = Kind::Picture, .left = 0, .top = 360, .width = 11175, .height = 2475,
     .picture = ":/pictures/background.bmp", .stretch = true, .framePart = FramePart::Background},
}};
// clang-format on

FrameParts designedFrame() {
    FrameParts parts;
    for (const ControlRow& r : kControls) {
        if (r.framePart) parts[*r.framePart] = PartState{r.left, r.top, r.width, r.height, r.visible, false};
    }
    return parts;
}

} // namespace zirk
