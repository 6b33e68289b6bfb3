#!/usr/bin/env bash
# scripts/check-layers.sh passes on this tree, fails naming the file and line for
# each kind of include against the layers planted in a scratch tree, and passes
# the includes the layers allow. Run from the repository root.
set -u
check="$PWD/scripts/check-layers.sh"
failed=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! out=$("$check" 2>&1); then
  echo "FAIL: this tree breaks the layers:"
  echo "$out"
  failed=1
fi

# plant FILE LINE...: a fresh scratch tree holding FILE with those lines.
plant() {
  local file=$1
  shift
  rm -rf "$scratch/tree"
  mkdir -p "$scratch/tree/$(dirname "$file")"
  printf '%s\n' "$@" >"$scratch/tree/$file"
}

# refused FILE INCLUDE: the check fails on FILE holding INCLUDE on its second line.
refused() {
  plant "$1" '// a file' "$2"
  if out=$("$check" "$scratch/tree" 2>&1) || [[ "$out" != "layers: $1:2 includes "* ]]; then
    echo "FAIL: $1 with $2 was not refused: $out"
    failed=1
  fi
}

refused Effects/Trail.cpp '#include "Scenes/Scene.h"'          # a layer above
refused Zembra/Engine.cpp '#include <3D/Texture.h>'             # brackets alike
refused Demo/Chain.cpp '#include "../Capture/VideoWriter.h"'    # a relative path alike
refused Effects/Grid.cpp '#include "Music/Music.h"'             # Music is for Scenes and above
refused Music/Player.h '#include "Zembra/Random.h"'             # Music includes itself only
refused Demo/main.cpp '#include "support/Process.h"'            # test helpers stay in tests
refused Capture/Runner.cpp '#include "tools/framebench/X.h"'
refused tests/3D/CameraTest.cpp '#include "Effects/PointTrail.h"'  # a test keeps its layer

# Everything the layers allow, in one tree.
plant Scenes/Sad.cpp '#include "Music/Music.h"' '#include "Effects/VectorFont.h"' \
  '#include "Zembra/Random.h"' '#include <GL/glew.h>' '#include "Local.h"'
mkdir -p "$scratch/tree/Capture" "$scratch/tree/tests/Scenes" "$scratch/tree/tests/support" \
  "$scratch/tree/tools/bench" "$scratch/tree/Music"
printf '%s\n' '#include "Demo/ShowSetup.h"' '#include "Zembra/Engine.h"' >"$scratch/tree/Capture/Run.cpp"
printf '%s\n' '#include "support/Process.h"' '#include "Music/Music.h"' >"$scratch/tree/tests/Scenes/T.cpp"
printf '%s\n' '#include "Scenes/SceneManager.h"' >"$scratch/tree/tests/support/Spectrum.h"
printf '%s\n' '#include "Capture/CaptureRunner.h"' >"$scratch/tree/tools/bench/Bench.cpp"
printf '%s\n' '#include "Music/SoundMixer.h"' >"$scratch/tree/Music/Music.h"
if ! out=$("$check" "$scratch/tree" 2>&1); then
  echo "FAIL: allowed includes were refused: $out"
  failed=1
fi
exit "$failed"
