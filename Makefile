# Entry points for a fresh Debian machine:
#   make run   installs what is missing, builds, and plays the demo (without a
#              display: inside Xvfb, to the end or for DEDOZ_HEADLESS_SECONDS)
#   make test  installs what is missing, builds, and runs every test through CTest
#   make check the layout check, the suite under ASan+UBSan, the sound tests under TSan
#   make video installs what is missing, builds, and renders the whole show into
#              build/dedoz.mp4 on a fixed clock (without a display: inside Xvfb)
#   make package  builds, then the Debian package build/dedoz_VERSION_amd64.deb
#   make install  builds, then installs under PREFIX (/usr/local), inside DESTDIR
#              when given: programs in PREFIX/games, data in PREFIX/share/games/dedoz
BUILD_DIR ?= build
JOBS ?= 2
PREFIX ?= /usr/local
# The build runs make again underneath: keep its output free of directory lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run video test check package install clean

all: build

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DDEDOZ_WERROR=$(if $(DEDOZ_WERROR),$(DEDOZ_WERROR),OFF) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}" ]; then \
	  ./scripts/run-headless.sh ./$(BUILD_DIR)/dedoz; \
	else \
	  ./$(BUILD_DIR)/dedoz; \
	fi

video: build
	@if [ -z "$${DISPLAY:-}" ]; then \
	  ./tests/xvfb-run.sh ./$(BUILD_DIR)/dedoz-capture --out $(BUILD_DIR)/dedoz.mp4; \
	else \
	  ./$(BUILD_DIR)/dedoz-capture --out $(BUILD_DIR)/dedoz.mp4; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

check: deps
	@JOBS=$(JOBS) ./scripts/check.sh

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan
