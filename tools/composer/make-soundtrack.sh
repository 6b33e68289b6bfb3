#!/usr/bin/env bash
# Rebuilds data/music/tovane.mp3 from source: builds the composer, renders the
# piece to a 44.1 kHz 16-bit stereo WAV, encodes it with lame at 192 kbit/s and,
# when the analysis tool builds, prints what the demo's spectrum will see.
# Usage: tools/composer/make-soundtrack.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$root/build}"
out="$root/data/music/tovane.mp3"

if ! command -v lame >/dev/null 2>&1; then
  echo "make-soundtrack.sh: lame is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target composer -j 2

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/tools/composer/composer" "$work/tovane.wav"
mkdir -p "$(dirname "$out")"
# Constant 192 kbit/s, 44.1 kHz, high-quality search; the LAME tag lets the
# decoder drop the encoder delay, so the music starts on the first sample.
lame --quiet --cbr -b 192 --resample 44.1 -q 2 "$work/tovane.wav" "$work/tovane.mp3"
mv "$work/tovane.mp3" "$out"
echo "make-soundtrack.sh: wrote $out"

if cmake --build "$build" --target analysis -j 2 >/dev/null 2>&1; then
  "$build/tools/analysis/analysis" "$out"
else
  echo "make-soundtrack.sh: analysis tool not built (the sound layer did not build); skipped the figures"
fi
