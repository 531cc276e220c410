# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Front door: `make run` and `make test` install what is missing, build and go.
PACKAGES := cmake g++ make dpkg-dev file help2man qt6-base-dev qt6-multimedia-dev qt6-svg-dev libxcb1-dev \
	nlohmann-json3-dev libboost-math-dev locales \
	fonts-ipafont-gothic libbenchmark-dev xvfb xauth xdotool imagemagick openbox \
	qt6-gtk-platformtheme pulseaudio pulseaudio-utils python3 python3-numpy python3-pyatspi at-spi2-core dbus-daemon \
	lintian appstream desktop-file-utils poppler-utils libxml2-utils \
	weston qt6-wayland \
	emscripten chromium python3-fonttools
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: deps page-test-deps configure build run web web-run test bench web-bench asan package format clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi
	@# Debian's nodejs comes without npm; other builds of Node carry their own.
	@command -v npm >/dev/null || $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y npm

# The npm packages the page's tests drive Chromium with, as package-lock.json pins them.
page-test-deps: deps
	cd tests/web && npm ci --no-audit --no-fund

configure: deps
	cmake --preset release

build: configure
	cmake --build --preset release

run: build
	./build/buffon-needle

# The browser edition: a folder of static files, build-web/buffon-needle-web, and a .tar.gz of it.
web: deps
	cmake --preset web
	cmake --build --preset web

PORT ?= 8000
web-run: web
	@echo "The page: http://127.0.0.1:$(PORT)/index.html"
	python3 -m http.server --bind 127.0.0.1 $(PORT) --directory build-web/buffon-needle-web

test: build web page-test-deps
	ctest --preset release

bench: configure
	cmake --build --preset release --target bench

# The page's figures beside the desktop's run, measured in the same minute.
web-bench: configure web page-test-deps
	cmake --build --preset release --target bench_experiment
	NODE_PATH=tests/web/node_modules node benchmarks/web_page.js build-web/buffon-needle-web \
		build/benchmarks/bench_experiment

asan: deps web page-test-deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

package: build
	cd build && cpack

format:
	@command -v clang-format >/dev/null || $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y clang-format
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-dev build-asan build-web
