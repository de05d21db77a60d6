#pragma once

#include "colour.h"
#include "state.h"

namespace zirk {

// What start-up needs of the window, in twips. The real window and the tests' fake both provide it.
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    virtual void setTitleStripColour(Rgb colour) = 0;
    virtual void showLeftBorder() = 0;
    virtual void setTitleStripWidth(long long twips) = 0;
    virtual long long screenWidth() const = 0;
    virtual long long screenHeight() const = 0;
    virtual long long width() const = 0;
    virtual long long height() const = 0;
    virtual long long left() const = 0;
    virtual long long top() const = 0;
    virtual void setLeft(long long twips) = 0;
    virtual void setTop(long long twips) = 0;
    virtual void show() = 0;
};

inline constexpr Rgb kTitleStripColour{89, 164, 203};

// Centres the window, remembers where it ended up and shows it.
void Form_Load(StartupWindow& window, GameState& state);

} // namespace zirk
