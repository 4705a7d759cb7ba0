#!/usr/bin/env bash
# Makes the Firefox fixture of the import tests with Firefox ESR itself (apt-get install
# firefox-esr), so that the store is one a browser wrote:
#   firefox-home.tar.xz   a home folder with .mozilla/firefox/profiles.ini and a profile
#                         whose places.sqlite still has bookmarks in its write-ahead log
#                         (Firefox is killed after importing firefox-bookmarks.html)
#   firefox-export.html   Firefox's own HTML export of the same bookmarks (a second run on
#                         a copy of the profile, quit properly through Marionette)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'pkill -9 -f "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
profile="$work/home/.mozilla/firefox/k3x9q2lp.default-release"
mkdir -p "$profile"
cat > "$work/home/.mozilla/firefox/profiles.ini" <<'INI'
[Profile0]
Name=default-release
IsRelative=1
Path=k3x9q2lp.default-release
Default=1

[General]
StartWithLastProfile=1
Version=2
INI
cat > "$profile/user.js" <<JS
user_pref("browser.places.importBookmarksHTML", true);
user_pref("browser.bookmarks.file", "$here/firefox-bookmarks.html");
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
JS
HOME="$work/home" firefox-esr --headless --no-remote --profile "$profile" about:blank >/dev/null 2>&1 &
# Killed once the import has written its last bookmark into the log.
for _ in $(seq 60); do
    sleep 1
    if [ -s "$profile/places.sqlite-wal" ] && python3 - "$profile" <<'PY'
import shutil, sqlite3, sys, tempfile, os
d = tempfile.mkdtemp()
for f in ("places.sqlite", "places.sqlite-wal"):
    shutil.copy(os.path.join(sys.argv[1], f), d)
n = sqlite3.connect(os.path.join(d, "places.sqlite")).execute(
    "select count(*) from moz_bookmarks where title = 'Debian again'").fetchone()[0]
sys.exit(0 if n == 1 else 1)
PY
    then break; fi
done
sleep 2
pkill -9 -f "$profile"
sleep 1
# A second run on a copy writes Firefox's own export when it quits.
cp -a "$profile" "$work/export-profile"
rm -f "$work/export-profile/lock" "$work/export-profile/.parentlock"
cat >> "$work/export-profile/user.js" <<JS
user_pref("browser.places.importBookmarksHTML", false);
user_pref("browser.bookmarks.autoExportHTML", true);
user_pref("browser.bookmarks.file", "$work/firefox-export.html");
JS
HOME="$work/home" firefox-esr --headless --marionette --no-remote --profile "$work/export-profile" about:blank \
    >/dev/null 2>&1 &
python3 - <<'PY'
import json, socket, time
for _ in range(60):
    try:
        s = socket.create_connection(("127.0.0.1", 2828)); break
    except OSError: time.sleep(0.5)
def read():
    n = b""
    while not n.endswith(b":"): n += s.recv(1)
    n = int(n[:-1]); d = b""
    while len(d) < n: d += s.recv(n - len(d))
    return json.loads(d)
def send(m):
    d = json.dumps(m).encode(); s.sendall(str(len(d)).encode() + b":" + d)
read()
send([0, 1, "WebDriver:NewSession", {}]); read()
send([0, 2, "Marionette:Quit", {"flags": ["eAttemptQuit"]}]); read()
PY
for _ in $(seq 30); do [ -s "$work/firefox-export.html" ] && break; sleep 1; done
cp "$work/firefox-export.html" "$here/firefox-export.html"
# Only what the import reads: profiles.ini and the store with its log.
tar -C "$work/home" -cJf "$here/firefox-home.tar.xz" .mozilla/firefox/profiles.ini \
    .mozilla/firefox/k3x9q2lp.default-release/places.sqlite .mozilla/firefox/k3x9q2lp.default-release/places.sqlite-wal
echo "Wrote $here/firefox-home.tar.xz and $here/firefox-export.html"
