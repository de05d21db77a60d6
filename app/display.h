// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zirk {

// Whether Qt will find a screen to open the window on. Qt aborts (and may leave a core file) when its
// platform plugin is missing or its display cannot be opened, so this is asked first. Empty when all is well,
// otherwise the one line to print.
std::string displayProblem();

} // namespace zirk
