#!/usr/bin/env bash
# Installs the Debian packages the demo, its tests and its tools need.
# Idempotent: asks dpkg first and calls apt-get only for what is missing.
# Works as root, or through sudo for an ordinary user.
# With --web (or DEDOZ_WEB=1) also the web page's toolchain: emscripten, a
# browser to test it in, and node with npm; without it the desktop set alone.
set -euo pipefail

web="${DEDOZ_WEB:-0}"
for arg in "$@"; do
  case "$arg" in
    --web | web) web=1 ;;
    *) echo "install-deps: unknown option '$arg' (only --web)" >&2; exit 2 ;;
  esac
done

PACKAGES=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri
  libmpg123-dev libfftw3-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps libx11-dev
  lame sox
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  clang-format
  dpkg-dev lintian
)

if [ "$web" = 1 ]; then
  PACKAGES+=(emscripten chromium nodejs python3)
  # npm comes with some builds of nodejs; Debian's own npm package conflicts with them.
  if ! command -v npm >/dev/null 2>&1; then
    PACKAGES+=(npm)
  fi
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
