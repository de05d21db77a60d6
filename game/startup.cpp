#include "startup.h"

namespace zirk {

void Form_Load(StartupWindow& window, GameState& state) {
    window.setTitleStripColour(kTitleStripColour);
    window.showLeftBorder();
    // As wide as the screen, so that no window width ever shows its end.
    window.setTitleStripWidth(window.screenWidth());
    // Integer division truncates toward zero, which is the rounding wanted for a window larger than the screen.
    window.setLeft((window.screenWidth() - window.width()) / 2);
    window.setTop((window.screenHeight() - window.height()) / 2);
    // Read back rather than computed: the window system may have placed the window elsewhere.
    state.HomeWidth = static_cast<float>(window.width());
    state.HomeHeight = static_cast<float>(window.height());
    state.HomeTop = static_cast<float>(window.top());
    state.HomeLeft = static_cast<float>(window.left());
    window.show();
    state.CellSize = kCellSize;
}

} // namespace zirk
