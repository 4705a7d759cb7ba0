#!/usr/bin/env bash
# The bookmark file finder against find(1) over the same tree: 200,000 files in 20,000
# folders (made once in the folder given, default /tmp/norvelle_finder_tree).
#   bench/finder_bench.sh [TREE]     (after ./dev.sh test or a build in build/)
set -euo pipefail
tree=${1:-/tmp/norvelle_finder_tree}
cli=$(dirname "$0")/../build/cli/norvelle-cli
if [ ! -d "$tree" ]; then
    python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
for a in range(200):
    for b in range(100):
        folder = os.path.join(root, f"user{a}", f"profile{b}")
        os.makedirs(folder)
        for f in range(10):
            name = "bookmarks.html" if (a * 100 + b) % 997 == 0 and f == 0 else f"file{f}.dat"
            open(os.path.join(folder, name), "w").close()
PY
fi
time_of() { local s e; s=$(date +%s.%N); "$@" > /dev/null; e=$(date +%s.%N); echo "$e - $s" | bc; }
find "$tree" > /dev/null  # the same warm cache for both
for run in 1 2 3; do
    f=$(time_of find "$tree" -name 'bookmark.htm*')
    n=$(time_of "$cli" find "$tree" 'bookmark.htm*' || true)
    echo "find: ${f}s   norvelle-cli find: ${n}s"
done
