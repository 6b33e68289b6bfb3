#!/usr/bin/env bash
# Runs the demo's benchmarks and prints one table of figures:
#   - CPU per frame of SceneManager::update and of one frame's floor geometry (scenebench)
#   - each stage of a frame and whole frames through the real chain on Mesa's
#     software driver in a private Xvfb, at 640x480 and 1920x1080, for the earlier
#     blur shaders, glow 1 and glow 2 in alternating rounds (framebench; its own
#     tables, printed after this one)
#   - the pass that scales a 640x360 frame onto a full-screen window of 1920x1080
#     and of 3840x2160 (framebench --render, glow 2; the "scale" column)
#   - whole frames of the spectrum sweep and of the world scene (sceneframes)
#   - time from process start to "Start !", peak resident memory of dedoz and its
#     resident and anonymous memory while it plays (startbench)
# Usage (from the repository root): tools/framebench/run.sh [BUILD_DIR]   (default: build)
# Environment: ROUNDS_SMALL, ROUNDS_LARGE (rounds per size; each round plays 2 x
# FRAMES frames of each chain), FRAMES, START_RUNS (runs of dedoz).
set -eu
build="${1:-build}"
rounds_small="${ROUNDS_SMALL:-6}"
rounds_large="${ROUNDS_LARGE:-3}"
frames="${FRAMES:-40}"
start_runs="${START_RUNS:-5}"
xvfb="tests/xvfb-run.sh"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

targets="framebench sceneframes startbench dedoz"
# scenebench exists only where Google Benchmark was found.
if cmake --build "$build" --target help 2>/dev/null | grep -q '[ .]scenebench$'; then
  targets="$targets scenebench"
fi
# shellcheck disable=SC2086
cmake --build "$build" --target $targets -j2 >/dev/null

# The value of key=value in a result line.
field() { sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<"$1"; }

rows=()
row() { rows+=("$(printf '%-64s %s' "$1" "$2")"); }

if [ -x "$build/tools/scenebench/scenebench" ]; then
  csv="$("$build/tools/scenebench/scenebench" --benchmark_format=csv \
          --benchmark_filter='BM_SceneManagerUpdate|BM_FrameGeometry' 2>/dev/null | grep '^"BM_')"
  cpu() { awk -F, -v n="\"$1\"" '$1 == n { printf "%.1f us", $4 / 1000 }' <<<"$csv"; }
  row "SceneManager::update, silent (CPU/frame)" "$(cpu 'BM_SceneManagerUpdate/playing:0')"
  row "SceneManager::update, soundtrack playing (CPU/frame)" "$(cpu 'BM_SceneManagerUpdate/playing:1')"
  row "floor geometry of one frame, 2 copies (CPU/frame)" "$(cpu 'BM_FrameGeometry')"
else
  row "scenebench" "not built (Google Benchmark missing)"
fi

stages=""
for size in "640 480 $rounds_small" "1920 1080 $rounds_large"; do
  # The table starts at the line "framebench WxH, ...": the engine's lines come before it.
  # shellcheck disable=SC2086
  stages+="$("$xvfb" "$build/tools/framebench/framebench" $size "$frames" | sed -n '/^framebench [0-9]/,/^(/p')"$'\n\n'
done

# The scaling pass of the full-screen demo on a software renderer (the automatic
# render size of a 16:9 screen), each window on a screen of its own size.
for size in "1920 1080" "3840 2160"; do
  set -- $size
  stages+="$(DEDOZ_XVFB_SCREEN="${1}x${2}x24" "$xvfb" "$build/tools/framebench/framebench" \
             --render 640x360 --only glow2 "$1" "$2" "$rounds_large" "$frames" |
             sed -n '/^framebench [0-9]/,/^(/p')"$'\n\n'
done

# Whole frames of the spectrum sweep (floor alone) and of the world scene (floor,
# 450 meshes, 18 trails) and of the impulse scene (floor, waves, 6 trails) through
# the full-size chain.
for size in "640 480 ${SCENE_FRAMES_SMALL:-200}" "1920 1080 ${SCENE_FRAMES_LARGE:-40}"; do
  for scene in spectrum world impulse; do
    # shellcheck disable=SC2086
    line="$("$xvfb" "$build/tools/framebench/sceneframes" $size "$scene" | grep '^sceneframes ' | tail -n1)"
    set -- $size
    label="frame ${1}x${2} $scene, glow 1 (llvmpipe, glFinish)"
    row "$label median" "$(field "$line" median_ms) ms"
    row "$label within 15 ms" "$(field "$line" within_15ms) of $(field "$line" frames) frames"
  done
done

line="$("$xvfb" "$build/tools/framebench/startbench" "$build/dedoz" "$start_runs" | grep '^startbench ' | tail -n1)"
row "start to \"Start !\" median ($start_runs runs)" "$(field "$line" start_median_ms) ms"
row "start to \"Start !\" slowest" "$(field "$line" start_max_ms) ms"
row "peak resident memory of dedoz" "$(field "$line" peak_rss_mib) MiB"
row "resident memory while playing (smaps_rollup Rss)" "$(field "$line" play_rss_mib) MiB"
row "anonymous memory while playing (smaps_rollup)" "$(field "$line" play_anon_mib) MiB"

printf '%-64s %s\n' "figure" "value"
printf '%-64s %s\n' "------" "-----"
printf '%s\n' "${rows[@]}"
echo "(CPU: $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo
printf '%s' "$stages"
