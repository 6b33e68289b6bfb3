#!/usr/bin/env bash
# The checks pass (make check): includes pointing down the layers
# (scripts/check-layers.sh), the layout of every C++ file (.clang-format), the
# whole test suite on an AddressSanitizer +
# UndefinedBehaviorSanitizer build (build-asan), the end-to-end test once more with
# leak detection on the real program (tests/Demo/run-sanitized.sh), and the sound
# tests on a ThreadSanitizer build (build-tsan). Run from the repository root after
# scripts/install-deps.sh. Any sanitizer report fails the pass.
set -euo pipefail
root="$(pwd)"
jobs="${JOBS:-2}"

# A report stops the process at once, so that the test that caused it fails.
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"

echo "check: includes point down the layers"
"$root/scripts/check-layers.sh" "$root"

echo "check: every C++ file as .clang-format lays it out"
(cd "$root" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)

echo "check: AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan)"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Release -DDEDOZ_SANITIZE=ON >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs")

echo "check: end-to-end test with leak detection (build-asan)"
"$root/tests/Demo/run-sanitized.sh" build-asan

echo "check: ThreadSanitizer build of the sound layer (build-tsan)"
cmake -S "$root" -B "$root/build-tsan" -DCMAKE_BUILD_TYPE=Release -DDEDOZ_TSAN=ON >/dev/null
music_tests=$(cd "$root/build-tsan" && ctest -N -R '^music_' | sed -n 's/^ *Test *#[0-9]*: //p')
# shellcheck disable=SC2086
cmake --build "$root/build-tsan" -j "$jobs" --target $music_tests
(cd "$root/build-tsan" && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -j "$jobs" -R '^music_')
echo "check: all sanitizer runs passed"
