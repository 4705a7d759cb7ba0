#!/usr/bin/env bash
# Times norvelle-cli against buku and grep on the same bookmarks:
#   bench/compare.sh [LINKS]        (10,000 by default; buku needs minutes past that)
# Needs a build (./dev.sh test or ./dev.sh bench) and, for buku, `sudo apt-get install buku`.
set -euo pipefail
cd "$(dirname "$0")/.."
links=${1:-10000}
# buku takes minutes to import past 100,000 links: it is left out there, and whenever
# NORVELLE_COMPARE_BUKU=0.
if [ "$links" -gt 100000 ] || [ "${NORVELLE_COMPARE_BUKU:-1}" = 0 ]; then nobuku=1; fi
cli=build/cli/norvelle-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 ../shared/tools/gen_bookmarks.py --links "$links" --style firefox "$work/bookmarks.html" > /dev/null

# The seconds a command takes, the best of three.
seconds() {
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" > /dev/null 2>&1 < /dev/null || true
        end=$(date +%s.%N)
        best=$(echo "$start $end ${best:-999}" | awk '{t = $2 - $1; print (t < $3 ? t : $3)}')
    done
    printf '%.3f' "$best"
}

"$cli" import "$work/bookmarks.html" "$work/links.dat" > /dev/null
printf '%-34s %12s %12s %12s\n' "$links links" "norvelle-cli" "buku" "grep -c"
printf '%-34s %12s' "import the bookmark file" "$(rm -f "$work/n.dat"; seconds "$cli" import "$work/bookmarks.html" "$work/n.dat")"
if [ -z "${nobuku:-}" ] && command -v buku > /dev/null; then
    export HOME="$work/home" XDG_DATA_HOME="$work/home/data"
    mkdir -p "$HOME"
    start=$(date +%s.%N)
    printf 'n\nn\nn\n' | buku --nc --tacit -i "$work/bookmarks.html" > /dev/null 2>&1 || true
    printf ' %12.3f' "$(echo "$start $(date +%s.%N)" | awk '{print $2 - $1}')"
fi
echo
printf '%-34s %12s' "export a bookmark file" "$(seconds "$cli" export "$work/links.dat" "$work/out.html" --replace)"
[ -z "${nobuku:-}" ] && command -v buku > /dev/null && printf ' %12s' "$(seconds sh -c "buku --nc --tacit -e '$work/buku.html'")"
echo
printf '%-34s %12s' "print every link" "$(seconds "$cli" dump "$work/links.dat")"
[ -z "${nobuku:-}" ] && command -v buku > /dev/null && printf ' %12s' "$(seconds buku --nc --np -p)"
echo
printf '%-34s %12s' "search \"nebula\" (half the links)" "$(seconds "$cli" search "$work/links.dat" nebula)"
[ -z "${nobuku:-}" ] && command -v buku > /dev/null && printf ' %12s' "$(seconds buku --nc --np -s nebula)"
printf ' %12s\n' "$(seconds sh -c "grep -ci nebula '$work/links.dat' | cat")"
printf '%-34s %12s %12s' "search \"nebual\", typos forgiven" "$(seconds "$cli" search "$work/links.dat" nebual --typos 2)" "-"
printf ' %12s\n' "$(seconds sh -c "grep -ci nebula '$work/links.dat' | cat")"
