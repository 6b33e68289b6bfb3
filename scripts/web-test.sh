#!/usr/bin/env bash
# The browser tests: builds what they compare (the desktop tools in BUILD, the test
# page with emscripten in build-web-tests/, the show's page with make web), then
# runs tests/web/*.test.mjs with node's test runner, headless Chromium driven by
# puppeteer-core. Needs the web toolchain (scripts/install-deps.sh --web) and the npm
# packages (npm ci, done here when they are missing).
# Usage (from the repository root): scripts/web-test.sh [BUILD]   (default: build)
# Environment: CHROMIUM (default /usr/bin/chromium); WEB_TESTS: the test files to run
# (default every tests/web/*.test.mjs).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
jobs="${JOBS:-2}"
# Debian's emscripten runs its JavaScript optimiser on Debian's node modules.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

if [ ! -d node_modules/puppeteer-core ] || [ ! -d node_modules/mpg123-decoder ]; then
  echo "web-test: installing the npm packages (npm ci)"
  npm ci --no-audit --no-fund >/dev/null
fi

echo "web-test: desktop tools ($build)"
cmake --build "$build" -j "$jobs" --target spectrumprint dedoz-capture >/dev/null

echo "web-test: test pages (build-web-tests)"
if [ ! -f build-web-tests/CMakeCache.txt ]; then
  emcmake cmake -S tests/web/page -B build-web-tests -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build-web-tests -j "$jobs" >/dev/null

echo "web-test: the show's page (make web)"
make web >/dev/null

export DEDOZ_BUILD="$build"
export DEDOZ_SPECTRUMPRINT="$build/tools/spectrumprint/spectrumprint"
export DEDOZ_WEB_TESTS=build-web-tests
export DEDOZ_WEB_PAGE=build-web
# shellcheck disable=SC2086
exec node --test ${WEB_TESTS:-tests/web/*.test.mjs}
