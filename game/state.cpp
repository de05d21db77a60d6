#include "state.h"

namespace zirk {

std::optional<int> MazeGrid::read(long long x, long long y) const {
    if (!inRange(x, y)) {
        ++refused_;
        return std::nullopt;
    }
    return cells_[offset(x, y)];
}

bool MazeGrid::write(long long x, long long y, int value) {
    if (!inRange(x, y) || value < 0 || value > 9) {
        ++refused_;
        return false;
    }
    cells_[offset(x, y)] = static_cast<std::uint8_t>(value);
    return true;
}

} // namespace zirk
