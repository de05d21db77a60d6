// SPDX-License-Identifier: GPL-3.0-or-later
// A pointer for a compositor that has none (a headless sway): moves, presses and releases of the left
// button through wlroots' virtual pointer, run in the order given, each one delivered before the next.
//
// usage: pointer, then steps on standard input, a line at a time, each line answered with "ok". A step is
// "move X Y" (screen pixels), "press", "release" or "wait MS". One pointer serves a whole test.

#include "virtual-pointer-client.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kLeftButton = 0x110; // BTN_LEFT
constexpr std::uint32_t kScreenWidth = 1024, kScreenHeight = 768;

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void announced(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void withdrawn(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener{announced, withdrawn};

std::uint32_t now() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

int usage() {
    std::fputs("pointer: a step is move X Y, press, release or wait MS\n", stderr);
    return 2;
}

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::perror("pointer: no Wayland display");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fputs("pointer: the compositor offers no virtual pointer\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    wl_display_roundtrip(display);
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream words(line);
        const std::vector<std::string> steps(std::istream_iterator<std::string>(words), {});
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string& step = steps[i];
            if (step == "move" && i + 2 < steps.size()) {
                const auto x = static_cast<std::uint32_t>(std::stoul(steps[++i]));
                const auto y = static_cast<std::uint32_t>(std::stoul(steps[++i]));
                zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x, y, kScreenWidth, kScreenHeight);
            } else if (step == "press" || step == "release") {
                zwlr_virtual_pointer_v1_button(pointer, now(), kLeftButton, step == "press" ? 1 : 0);
            } else if (step == "wait" && i + 1 < steps.size()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(std::stoul(steps[++i])));
                continue;
            } else {
                return usage();
            }
            zwlr_virtual_pointer_v1_frame(pointer);
            if (wl_display_roundtrip(display) < 0) {
                std::perror("pointer: the compositor went away");
                return 1;
            }
        }
        std::cout << "ok" << std::endl;
    }
    wl_display_disconnect(display);
    return 0;
}
