// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "grid.h"

namespace zirk {

// The view's only drawing operation: a box filled in one colour, both corners included, clipped to the
// canvas.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fillBox(int x1, int y1, int x2, int y2, Rgb colour) = 0;
};

inline constexpr Rgb kViewBackground{200, 200, 0};
inline constexpr Rgb kPlayerColour{255, 0, 0};
inline constexpr Rgb kWallFace{0, 255, 0};
inline constexpr Rgb kExitColour{0, 0, 255};
inline constexpr int kViewCells = 5;
// The side of one cell of the view, in the view's pixels: the view is 350 x 350.
inline constexpr int kCellSize = 70;
inline constexpr int kShadeDepth = 6;
inline constexpr int kExitInset = 25;

// Green of the wall's shading box k (6 outermost and darkest, 1 next to the face).
int shadeGreen(int k);

// The red square in the middle of the view.
void drawPlayerMarker(Canvas& canvas);

// Paints the 5 x 5 cells around the player, from the background up.
void drawView(const Game& game, Canvas& canvas);

} // namespace zirk
