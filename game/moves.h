#pragma once

#include "state.h"
#include "view.h"

#include <string>
#include <string_view>

namespace zirk {

enum class CommandSource { Button, Key };

enum class StepOutcome {
    Ignored,     // the text is no command: nothing was drawn
    Drawn,       // a direction was tried (moved or refused) and the view redrawn
    ExitReached, // as Drawn, the player stands on an exit and the marker was painted again
    Quit,        // the program must end now
};

// Runs one command. A button is identified by its caption, a key by the character it types; both share the
// directions, only the quit texts differ ("Quitter" for a button, "q" or "Q" for a key).
StepOutcome step(GameState& state, std::string_view text, CommandSource source, Canvas& canvas);

// The one-character text of a typed single-byte character code; empty for codes outside one byte.
std::string keyText(int keyAscii);

inline constexpr const char* kExitMessage = "Vous avez trouvée la sortie";
inline constexpr const char* kApplicationTitle = "Zirk pour Windows";

} // namespace zirk
