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

# add FILE LINE...: FILE in the scratch tree, holding those lines.
add() {
  mkdir -p "$scratch/tree/$(dirname "$1")"
  printf '%s\n' "${@:2}" >"$scratch/tree/$1"
}

# refused FILE INCLUDE: the check fails on FILE holding INCLUDE on its second line.
refused() {
  rm -rf "$scratch/tree"
  add "$1" '// a file' "$2"
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
rm -rf "$scratch/tree"
add Scenes/Sad.cpp '#include "Music/Music.h"' '#include "Effects/VectorFont.h"' \
  '#include "Zembra/Random.h"' '#include <GL/glew.h>' '#include "Local.h"'
add Capture/Run.cpp '#include "Demo/ShowSetup.h"' '#include "Zembra/Engine.h"'
add tests/Scenes/T.cpp '#include "support/Process.h"' '#include "Music/Music.h"'
add tests/support/Spectrum.h '#include "Scenes/SceneManager.h"'
add tools/bench/Bench.cpp '#include "Capture/CaptureRunner.h"'
add Music/Music.h '#include "Music/SoundMixer.h"'
if ! out=$("$check" "$scratch/tree" 2>&1); then
  echo "FAIL: allowed includes were refused: $out"
  failed=1
fi
exit "$failed"
