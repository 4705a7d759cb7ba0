#!/usr/bin/env bash
# The browser host's answers at a collection's size, with no window open: norvelle-host
# started as a browser starts it, then lookups (found and not found), a search page, and
# adds, each timed from the message written until its answer is read.
#   bench/host_latency.sh [LINKS]      (default 100000; after a build in build/)
set -euo pipefail
links=${1:-100000}
here=$(cd "$(dirname "$0")/.." && pwd)
home=$(mktemp -d /tmp/norvelle-host.XXXXXX)
trap 'rm -rf "$home"' EXIT

"$here/build/bench/make_datafile" "$home/links.dat" "$links" > /dev/null
mkdir -p "$home/.config/Quenby Software"
printf '[Saving]\nData%%20File=%s\n' "$home/links.dat" > "$home/.config/Quenby Software/Norvelle.conf"

HOME=$home XDG_RUNTIME_DIR=$home python3 - "$here/build/host/norvelle-host" << 'PY'
import json, statistics, struct, subprocess, sys, time
host = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

def ask(message):
    data = json.dumps(message).encode()
    start = time.perf_counter()
    host.stdin.write(struct.pack("=I", len(data)) + data)
    host.stdin.flush()
    length = struct.unpack("=I", host.stdout.read(4))[0]
    answer = json.loads(host.stdout.read(length))
    return (time.perf_counter() - start) * 1000, answer

hello = ask({"type": "hello"})[1]
first = ask({"type": "search", "query": "a"})[1]["links"][0]["link"]
runs = {
    "lookup, found": [ask({"type": "lookup", "url": first})[0] for _ in range(10)],
    "lookup, not found": [ask({"type": "lookup", "url": "https://nowhere.example/%d" % i})[0] for i in range(10)],
    "search page, typos forgiven": [ask({"type": "search", "query": "nebula", "typos": True})[0] for _ in range(5)],
    "add (read, write, sync)": [ask({"type": "add", "url": "https://new.example/%d" % i, "title": "New"})[0]
                                for i in range(5)],
}
print("data file: %s" % hello["dataFile"])
for name, times in runs.items():
    print("%-30s median %7.1f ms   slowest %7.1f ms" % (name, statistics.median(times), max(times)))
host.stdin.close()
host.wait()
PY
