#!/usr/bin/env bash
# Includes point down the layers: Zembra <- 3D <- Effects <- Scenes <- Demo <- Capture.
# Music stands beside them: it includes only itself, and Scenes and the layers above
# may include it. A file under tests/LAYER/ follows the rule of LAYER and may also
# include the shared test helpers (support/...); tests/support, tests/tools and tools/
# sit above every layer. No product file includes from tests/ or tools/.
# Usage: scripts/check-layers.sh [ROOT] (default: the current directory). Prints one
# line per include that breaks the rule (file:line, what it includes, why) and exits
# 1 if there is any, 0 otherwise.
set -euo pipefail
root="${1:-.}"
cd "$root"

files() {
  for dir in Zembra 3D Music Effects Scenes Demo Capture tests tools; do
    if [ -d "$dir" ]; then
      find "$dir" -type f \( -name '*.cpp' -o -name '*.h' \) -print0
    fi
  done
}

# xargs may run several awk processes; any failing one fails the check.
files | xargs -0 -r awk '
BEGIN {
  split("Zembra 3D Effects Scenes Demo Capture", order, " ")
  for (i in order) rank[order[i]] = i
  bad = 0
}
FNR == 1 {
  layer = FILENAME; sub(/\/.*/, "", layer)
  test = 0; skip = 0
  if (FILENAME ~ /^(tests\/(support|tools)|tools)\//) skip = 1
  else if (FILENAME ~ /^tests\/[^\/]+\//) { layer = FILENAME; sub(/^tests\//, "", layer); sub(/\/.*/, "", layer); test = 1 }
}
!skip && /^[ \t]*#[ \t]*include[ \t]*["<][^">]+[">]/ {
  path = $0
  sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", path); sub(/[">].*$/, "", path)
  sub(/^\.\//, "", path)
  while (path ~ /^\.\.\//) sub(/^\.\.\//, "", path)
  if (path !~ /\//) next  # beside the file, or a library header
  top = path; sub(/\/.*/, "", top)
  if (top == "support" && test) next
  if (!(top in rank) && top != "Music" && top != "support" && top != "tests" && top != "tools") next  # a library: GL/, SDL/, ...
  if (allowed(layer, top)) next
  printf "layers: %s:%d includes %s: %s may not include from %s/\n", FILENAME, FNR, path, layer, top
  bad = 1
}
END { exit bad }

# Whether a file of layer `from` may include from folder `to` of the repository.
function allowed(from, to) {
  if (from == to) return 1
  # Music has no rank: it may include nothing but itself.
  if (to == "Music") return (from in rank) && rank[from] >= rank["Scenes"]
  if (to in rank) return (from in rank) && rank[to] <= rank[from]
  return 0
}
' || exit 1
