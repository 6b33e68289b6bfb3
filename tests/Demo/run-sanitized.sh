#!/usr/bin/env bash
# Runs the end-to-end test on a dedoz built with AddressSanitizer and
# UndefinedBehaviorSanitizer (-DDEDOZ_SANITIZE=ON). Any report on the program's
# standard error fails the test, which compares that stream line by line.
#
# LeakSanitizer: leaks kept until exit by system libraries are suppressed by name
# (tests/lsan.supp). Mesa unloads its software driver before the leak report,
# which leaves that driver's frames nameless; dedoz is therefore started through
# a small wrapper that preloads the driver (and the sanitizer runtime, which must
# come first), so that the driver stays mapped; a library the test itself preloads
# (the fast clock of the whole-show run) follows them. Only dedoz gets the preload:
# the X server and the helpers of the test run as usual.
#
# Usage (from the repository root): tests/Demo/run-sanitized.sh [BUILD_DIR]
# (default build-sanitize). Builds only what the test needs, with -j2.
set -eu
root="$(pwd)"
build="${1:-build-sanitize}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

cmake -S "$root" -B "$build" -DDEDOZ_SANITIZE=ON >/dev/null
cmake --build "$build" --target dedoz demo_end_to_end_test -j2

asan_runtime="$(${CXX:-c++} -print-file-name=libasan.so)"
driver="$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n1 || true)"
if [ ! -f "$asan_runtime" ] || [ -z "$driver" ]; then
  echo "run-sanitized.sh: sanitizer runtime or Mesa's software driver not found" >&2
  exit 1
fi

# The build just wrote a fresh dedoz: move it aside and put the wrapper in its
# place; on every exit the real binary goes back, so that the build stays as cmake
# made it (a wrapper left there would look up to date to the next build).
restore() {
  if [ -f "$build/dedoz.sanitized" ]; then mv -f "$build/dedoz.sanitized" "$build/dedoz"; fi
}
trap restore EXIT
mv -f "$build/dedoz" "$build/dedoz.sanitized"
cat > "$build/dedoz" <<EOF
#!/bin/sh
LD_PRELOAD="$asan_runtime $driver\${LD_PRELOAD:+ \$LD_PRELOAD}" exec "\$(dirname "\$0")/dedoz.sanitized" "\$@"
EOF
chmod +x "$build/dedoz"

export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
cd "$build" && ctest --output-on-failure -R '^demo_end_to_end_test$'
