# SPDX-License-Identifier: GPL-3.0-or-later
# Zirk: the front door.
#
#   make run     install what the game needs, build it, play
#   make test    install what the tests need, build, run every test headless
#   make build   configure (once) and build into build/
#   make install install into $(PREFIX), /usr/local unless told (PREFIX=..., DESTDIR honoured)
#   make package build the Debian package build/zirk_<version>_<arch>.deb
#   make deps    install everything the tests need; `make deps-run` only what playing needs
#   make format  add missing licence lines and lay out the C++ as .clang-format says
#   make clean   remove build/
#
# Packages come from Debian 12 only. A machine that already has them all is left alone.

# What `make run` needs. qt6-qpa-plugins holds the xcb platform plugin that opens the window.
# "Arial" is asked for by name; fonts-liberation brings Liberation Sans, its metric-compatible stand-in.
# qt6-translations-l10n holds Qt's own French texts, for the file dialog and the boxes. libxcb1-dev lets the
# program try the X display before Qt starts, since Qt aborts when it cannot open it. qt6-wayland opens the
# window natively on a Wayland desktop, which Qt tries first there.
RUN_PACKAGES := \
	g++ \
	cmake \
	ninja-build \
	make \
	qt6-base-dev \
	qt6-qpa-plugins \
	qt6-translations-l10n \
	libxcb1-dev \
	libgl-dev \
	fonts-liberation \
	qt6-wayland

# What `make test` needs on top: a virtual X server and a window manager for the real-window
# tests, tools to drive and photograph them, strace to prove nothing is written, and the
# benchmark and fuzzing toolchains. x11-utils brings xdpyinfo and xprop for the X session helpers.
# desktop-file-utils checks the menu entry; dpkg-dev builds and reads the .deb. clang-format holds
# the C++ files to .clang-format: Debian 12's is version 14, the one whose layout the check trusts.
# appstream (appstreamcli) checks the metainfo file that software centres read.
# The Wayland test plays under a headless sway: wtype types, grim photographs, and a small pointer
# client built with wayland-scanner (libwayland-bin) against libwayland-dev clicks and drags; jq reads
# the window tree sway reports.
# fuse3 and libfuse3-dev (found with pkgconf) build and mount the small file system whose reads never
# answer, for the test that ends the game while a read of it waits in the kernel.
# A screen reader's view of the window is read through the accessibility bus: dbus and at-spi2-core
# start a session bus and that bus, python3-pyatspi reads the tree and hears the steps as a screen
# reader would; qt6-base-private-dev lets an offscreen test tell Qt that a screen reader listens.
TEST_PACKAGES := $(RUN_PACKAGES) \
	appstream \
	sway \
	grim \
	wtype \
	libwayland-dev \
	libwayland-bin \
	jq \
	desktop-file-utils \
	dpkg-dev \
	xvfb \
	x11-utils \
	xdotool \
	x11-apps \
	imagemagick \
	strace \
	openbox \
	libbenchmark-dev \
	clang \
	libclang-rt-14-dev \
	clang-format \
	fuse3 \
	libfuse3-dev \
	pkgconf \
	dbus \
	at-spi2-core \
	python3-pyatspi \
	qt6-base-private-dev

# What `make package` needs on top of building: dpkg-shlibdeps, which names the Qt libraries the
# program links to in the package's Depends.
PACKAGE_PACKAGES := $(RUN_PACKAGES) dpkg-dev

BUILD_DIR  := build
BUILD_TYPE := Release
JOBS       := $(shell nproc 2>/dev/null || echo 2)
CTEST_ARGS := --output-on-failure -j2 --timeout 600 --no-tests=error

# Installs the packages named in $(1) that dpkg does not report as installed. Runs apt-get update
# only when something is missing, so a complete machine does nothing and prints nothing.
define install_missing
	@missing=""; \
	for p in $(1); do \
		case "$$(dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null)" in \
			"install ok installed") ;; \
			*) missing="$$missing $$p" ;; \
		esac; \
	done; \
	if [ -n "$$missing" ]; then \
		if [ "$$(id -u)" -eq 0 ]; then su=""; \
		elif command -v sudo >/dev/null 2>&1; then su="sudo"; \
		else echo "Missing packages:$$missing. Install them as root (no sudo here)." >&2; exit 1; fi; \
		echo "Installing:$$missing"; \
		$$su env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
		$$su env DEBIAN_FRONTEND=noninteractive apt-get install -y -q $$missing; \
	fi
endef

# Configures only when there is no build tree yet; after that Ninja reruns CMake by itself.
define build_tree
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
		cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE); \
	fi
	cmake --build $(BUILD_DIR) -j $(JOBS)
endef

.PHONY: all deps deps-run build run test clean install package screenshot bench format

all: build

deps:
	$(call install_missing,$(TEST_PACKAGES))

deps-run:
	$(call install_missing,$(RUN_PACKAGES))

build:
	$(build_tree)

# The steps of run and test are written out in order instead of as prerequisites, so that
# `make -j` can never start building before the compiler is installed.
run:
	$(call install_missing,$(RUN_PACKAGES))
	$(build_tree)
	cd mazes && ../$(BUILD_DIR)/zirk

# The tests pick their own platform (offscreen, or an Xvfb they start). Qt wants a private
# runtime folder and makes one in /tmp, with a warning, when XDG_RUNTIME_DIR is unset.
# The suite runs three times: as built for players, again with AddressSanitizer and
# UndefinedBehaviorSanitizer (the first report fails the run), and the fuzzers for a bounded time.
SANITIZE_DIR  := build-sanitize
FUZZ_DIR      := build-fuzz
FUZZ_SECONDS  ?= 60
SANITIZE_ENV  := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

define runtime_dir
	rm -rf $(1)/xdg-runtime && mkdir -m 700 $(1)/xdg-runtime
endef

test:
	$(call install_missing,$(TEST_PACKAGES))
	$(build_tree)
	@$(call runtime_dir,$(BUILD_DIR))
	XDG_RUNTIME_DIR="$(CURDIR)/$(BUILD_DIR)/xdg-runtime" ctest --test-dir $(BUILD_DIR) $(CTEST_ARGS)
	@if [ ! -f $(SANITIZE_DIR)/build.ninja ]; then \
		cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZIRK_SANITIZE=ON; \
	fi
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@$(call runtime_dir,$(SANITIZE_DIR))
	XDG_RUNTIME_DIR="$(CURDIR)/$(SANITIZE_DIR)/xdg-runtime" $(SANITIZE_ENV) \
		ctest --test-dir $(SANITIZE_DIR) $(CTEST_ARGS)
	@if [ ! -f $(FUZZ_DIR)/build.ninja ]; then \
		cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
			-DZIRK_GAME_ONLY=ON -DZIRK_FUZZ=ON -DZIRK_FUZZ_SECONDS=$(FUZZ_SECONDS); \
	fi
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	ctest --test-dir $(FUZZ_DIR) $(CTEST_ARGS)

# The README's picture, taken from a real window under Xvfb.
screenshot:
	$(call install_missing,$(TEST_PACKAGES))
	$(build_tree)
	bash tools/screenshot.sh $(BUILD_DIR)/zirk docs/screenshot.png

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)

# DESTDIR is handed on by name so that both `make install DESTDIR=...` and `DESTDIR=... make
# install` stage the tree instead of writing into the live $(PREFIX).
PREFIX ?= /usr/local
install:
	$(call install_missing,$(RUN_PACKAGES))
	$(build_tree)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package:
	$(call install_missing,$(PACKAGE_PACKAGES))
	$(build_tree)
	cd $(BUILD_DIR) && cpack -G DEB
	@deb=$$(cd $(BUILD_DIR) && ls -t "$$PWD"/zirk_*.deb | head -n1) && echo "Package: $$deb"

# Benchmarks with budgets, in a Release tree of their own so that no other build type skews them; prints one
# table of medians against baselines measured in the same run, and fails when a budget is missed. xvfb: start-up
# is also measured on a real X server.
bench:
	$(call install_missing,$(RUN_PACKAGES) libbenchmark-dev xvfb xauth)
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZIRK_BENCH=ON -DZIRK_TESTS=OFF --log-level=WARNING
	cmake --build build-bench -j $(JOBS) --target benchmarks
	bench/run.sh build-bench

# What the format test asks for. Version 14 by name where it is installed beside another: the test
# judges with that one.
format:
	$(call install_missing,clang-format)
	bash tools/add-spdx.sh
	git ls-files -z '*.cpp' '*.h' | xargs -0 -r "$$(command -v clang-format-14 || echo clang-format)" -i
