#!/usr/bin/env bash
# Every command that prints fails, and says why, when its output cannot be written:
# standard output on a full disk must never look like a success.
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
record='{"title": "t", "link": "https://e.example/", "description": "", "category": "C",
         "added": {"status": 0, "value": 1}, "modified": {"status": 0, "value": 1}}'
echo "{\"version\": 2, \"categories\": [\"C\"], \"clearSelection\": \"LAST\", \"records\": [$record, $record]}" > "$dir/a.json"
"$cli" build "$dir/a.json" "$dir/a.dat" || exit 1
status=0
for args in "dump $dir/a.dat" "stats $dir/a.dat" "search $dir/a.dat t" "duplicates $dir/a.dat" "titlecase abc" \
            "export $dir/a.dat /dev/stdout"; do
    # shellcheck disable=SC2086
    if "$cli" $args > /dev/full 2> "$dir/err"; then
        echo "exit 0 although nothing could be written: $args"
        status=1
    fi
    if ! grep -q -i "could not write" "$dir/err"; then
        echo "no message for: $args"
        cat "$dir/err"
        status=1
    fi
done
exit $status
