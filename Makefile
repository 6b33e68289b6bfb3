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
#   make web   installs the web toolchain when missing and builds the page into
#              WEB_DIR (build-web/): index.html with its script, WebAssembly and data
#   make serve-web  builds the page, then serves WEB_DIR on 127.0.0.1:WEB_PORT
BUILD_DIR ?= build
WEB_DIR ?= build-web
WEB_PORT ?= 8000
JOBS ?= 2
PREFIX ?= /usr/local
# The build runs make again underneath: keep its output free of directory lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run video test check package install clean web serve-web

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

# emscripten's JavaScript optimiser finds Debian's acorn only through NODE_PATH.
web:
	@./scripts/install-deps.sh --web
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_DIR)/cmake -DCMAKE_BUILD_TYPE=Release \
	  -DDEDOZ_WEB_OUT=$(abspath $(WEB_DIR)) \
	  $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR)/cmake -j $(JOBS)
	@echo "The page is in $(WEB_DIR)/ ($$(du -cb $(WEB_DIR)/*.* $(WEB_DIR)/*/*.mp3 2>/dev/null | tail -1 | cut -f1) bytes); make serve-web serves it"

serve-web: web
	@echo "Serving the page at http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops)"
	@cd $(WEB_DIR) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan $(WEB_DIR)
