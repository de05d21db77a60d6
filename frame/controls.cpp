#include "controls.h"

namespace zirk {

namespace {

constexpr Font kArial825Bold{"Arial", 8.25, 700};
constexpr Font kArial9Bold{"Arial", 9, 700};
constexpr Font kArial12Bold{"Arial", 12, 700};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};

constexpr const char* kClose = "Fermer";
constexpr const char* kMinimise = "Réduire";
constexpr const char* kMaximise = "Agrandir";
constexpr const char* kRestore = "Restaurer à l'original";
// Two blanks after "rectangle", as the window has always shown it.
constexpr const char* kHint = "Appuyez sur le rectangle  pour utilisez les touches (il devient vert)";

} // namespace

const FormDescription kForm1{"Zirk pour Windows", ":/pictures/zirk.ico", Rgb{192, 192, 192}, 7545, 5895};

// clang-format off
const std::array<ControlRow, kControlCount> kControls{{
    {.id = Ctl::Picture3, .name = "Picture3", .kind = Kind::PictureBox, .left = 5520, .top = 4920, .width = 1935, .height = 735,
     .back = kRed, .sunkenBorder = true, .tabIndex = 14, .accessibleName = "Rectangle des touches",
     .accessibleDescription = kHint},
    {.id = Ctl::Command1_4, .name = "Command1", .index = 4, .kind = Kind::CommandButton, .left = 6060, .top = 600, .width = 1395, .height = 615,
     .caption = "Quitter", .tabIndex = 5},
    {.id = Ctl::Command2, .name = "Command2", .kind = Kind::CommandButton, .left = 5400, .top = 600, .width = 675, .height = 615,
     .caption = "Ouvrir", .picture = ":/pictures/ouvrir.bmp", .tabIndex = 2},
    {.id = Ctl::Picture2, .name = "Picture2", .kind = Kind::PictureBox, .left = 5460, .top = 3780, .width = 195, .height = 195,
     .back = kBlue, .tabIndex = 10, .accessibleName = "La sortie"},
    {.id = Ctl::Picture1, .name = "Picture1", .kind = Kind::PictureBox, .left = 5460, .top = 3360, .width = 195, .height = 195,
     .back = kRed, .tabIndex = 9, .accessibleName = "Vous"},
    {.id = Ctl::C, .name = "C", .kind = Kind::FileDialog, .visible = false, .filter = "Fichiers Data|*.dat"},
    {.id = Ctl::Command1_3, .name = "Command1", .index = 3, .kind = Kind::CommandButton, .left = 6180, .top = 2640, .width = 555, .height = 495,
     .caption = "2", .tabIndex = 4},
    {.id = Ctl::Command1_1, .name = "Command1", .index = 1, .kind = Kind::CommandButton, .left = 6720, .top = 2160, .width = 555, .height = 495,
     .caption = "6", .tabIndex = 3},
    {.id = Ctl::SCR, .name = "SCR", .kind = Kind::PictureBox, .left = 120, .top = 540, .width = 5250, .height = 5250,
     .back = Rgb{0, 0, 0}, .tabIndex = 8, .accessibleName = "Labyrinthe"},
    {.id = Ctl::Command1_0, .name = "Command1", .index = 0, .kind = Kind::CommandButton, .left = 6180, .top = 1680, .width = 555, .height = 495,
     .caption = "8", .tabIndex = 7},
    {.id = Ctl::Command1_2, .name = "Command1", .index = 2, .kind = Kind::CommandButton, .left = 5640, .top = 2160, .width = 555, .height = 495,
     .caption = "4", .tabIndex = 6},
    {.id = Ctl::Label3, .name = "Label3", .kind = Kind::Label, .left = 5415, .top = 4200, .width = 2115, .height = 630,
     .caption = kHint, .font = kArial825Bold,
     .centred = true, .growsWithText = true, .tabIndex = 13},
    {.id = Ctl::Shape1, .name = "Shape1", .kind = Kind::Shape, .left = 6240, .top = 2220, .width = 435, .height = 375,
     .back = kWhite},
    {.id = Ctl::Label2, .name = "Label2", .kind = Kind::Label, .left = 5760, .top = 3780, .width = 1515, .height = 315,
     .caption = "La sortie", .tabIndex = 12},
    {.id = Ctl::Label1, .name = "Label1", .kind = Kind::Label, .left = 5760, .top = 3360, .width = 1515, .height = 255,
     .caption = "Vous", .tabIndex = 11},
    {.id = Ctl::Down2, .name = "Down2", .kind = Kind::Image, .left = 60, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/close_down.bmp", .tooltip = kClose},
    {.id = Ctl::Down6, .name = "Down6", .kind = Kind::Image, .left = 960, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_down.bmp", .tooltip = kMinimise},
    {.id = Ctl::Down7, .name = "Down7", .kind = Kind::Image, .left = 660, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_down.bmp", .tooltip = kMaximise},
    {.id = Ctl::Down8, .name = "Down8", .kind = Kind::Image, .left = 360, .top = 1020, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_down.bmp", .tooltip = kRestore},
    {.id = Ctl::UP2, .name = "UP2", .kind = Kind::Image, .left = 60, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/close_up.bmp", .tooltip = kClose},
    {.id = Ctl::UP6, .name = "UP6", .kind = Kind::Image, .left = 960, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_up.bmp", .tooltip = kMinimise},
    {.id = Ctl::UP7, .name = "UP7", .kind = Kind::Image, .left = 660, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_up.bmp", .tooltip = kMaximise},
    {.id = Ctl::UP8, .name = "UP8", .kind = Kind::Image, .left = 360, .top = 780, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_up.bmp", .tooltip = kRestore},
    {.id = Ctl::IMG4, .name = "IMG4", .kind = Kind::Image, .left = 11040, .top = 3000, .width = 180, .height = 180, .visible = false,
     .picture = ":/pictures/grip.bmp", .cursor = Cursor::SizeDiagonal},
    {.id = Ctl::L1, .name = "L1", .kind = Kind::Line, .left = -60, .top = 3180, .width = 10980, .height = 3180, .fore = kGrey},
    {.id = Ctl::L4, .name = "L4", .kind = Kind::Line, .left = 11220, .top = 0, .width = 11220, .height = 2940, .fore = kGrey},
    {.id = Ctl::IMG9, .name = "IMG9", .kind = Kind::Image, .left = 360, .top = 60, .width = 480, .height = 480,
     .picture = ":/pictures/zirk.ico"},
    {.id = Ctl::IMG8, .name = "IMG8", .kind = Kind::Image, .left = 10320, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/restore_up.bmp", .tooltip = kRestore},
    {.id = Ctl::IMG7, .name = "IMG7", .kind = Kind::Image, .left = 10620, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/maximise_up.bmp", .tooltip = kMaximise},
    {.id = Ctl::IMG6, .name = "IMG6", .kind = Kind::Image, .left = 10920, .top = 60, .width = 240, .height = 240, .visible = false,
     .picture = ":/pictures/minimise_up.bmp", .tooltip = kMinimise},
    {.id = Ctl::L3, .name = "L3", .kind = Kind::Line, .left = 0, .top = 0, .width = 11220, .height = 0, .fore = kWhite},
    {.id = Ctl::L2, .name = "L2", .kind = Kind::Line, .left = 0, .top = 3180, .width = 0, .height = 0, .fore = kWhite},
    {.id = Ctl::IMG3, .name = "IMG3", .kind = Kind::Image, .left = 0, .top = 330, .width = 11220, .height = 30,
     .picture = ":/pictures/separator.bmp", .stretch = true},
    {.id = Ctl::IMG2, .name = "IMG2", .kind = Kind::Image, .left = 60, .top = 60, .width = 240, .height = 240,
     .picture = ":/pictures/close_up.bmp", .tooltip = kClose},
    {.id = Ctl::LBL1, .name = "LBL1", .kind = Kind::Label, .left = 0, .top = 60, .width = 10875, .height = 255,
     .caption = "Zirk pour Windows", .font = kArial9Bold, .back = Rgb{192, 192, 255}, .fore = Rgb{0, 0, 0},
     .centred = true, .tabIndex = 0},
    {.id = Ctl::IMG1, .name = "IMG1", .kind = Kind::Image, .left = 0, .top = 0, .width = 11280, .height = 345,
     .picture = ":/pictures/title.bmp", .stretch = true},
    {.id = Ctl::LBL2, .name = "LBL2", .kind = Kind::Label, .left = 0, .top = 0, .width = 2055, .height = 360,
     .font = kArial12Bold, .opaque = true, .tabIndex = 1},
    {.id = Ctl::IMG5, .name = "IMG5", .kind = Kind::Image, .left = 0, .top = 360, .width = 11175, .height = 2475,
     .picture = ":/pictures/background.bmp", .stretch = true},
}};
// clang-format on

} // namespace zirk
