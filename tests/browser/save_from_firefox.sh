#!/usr/bin/env bash
# Firefox ESR with Norvelle's extension loaded as a temporary add-on (web-ext, from the npm
# registry), in a virtual X server: Alt+Shift+N on a page served on the loopback address
# saves it, which norvelle-cli dump then shows.
#   tests/browser/save_from_firefox.sh BUILD_DIR [WEB_EXT]
# Exits 77 when Firefox ESR, web-ext, Xvfb, openbox or xdotool is missing.
set -u
build=$(cd "$1" && pwd)
web_ext=${2:-$(command -v web-ext || echo "$build/../node_modules/.bin/web-ext")}
for tool in firefox-esr xvfb-run openbox xdotool "$web_ext"; do
    command -v "$tool" > /dev/null 2>&1 || { echo "$tool is missing"; exit 77; }
done
home=$(mktemp -d /tmp/norvelle-firefox.XXXXXX)
trap 'kill $(jobs -p) 2> /dev/null; rm -rf "$home"' EXIT
export HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config
mkdir -p "$XDG_RUNTIME_DIR" "$home/.mozilla" "$home/site" && chmod 700 "$XDG_RUNTIME_DIR"
"$build/cli/norvelle-cli" browsers --install-host "$home" > /dev/null || exit 1
printf '<!DOCTYPE html><title>Saved from Firefox</title><p>A page.' > "$home/site/page.html"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$home/site" > /dev/null 2>&1 &

cat > "$home/drive.sh" << DRIVE
openbox > /dev/null 2>&1 &
"$web_ext" run --source-dir "$build/extension/firefox" --firefox=/usr/bin/firefox-esr \
    --start-url "http://127.0.0.1:$port/page.html" --no-reload --no-input > "$home/web-ext.log" 2>&1 &
for i in \$(seq 90); do xdotool search --name "Saved from Firefox" > /dev/null 2>&1 && break; sleep 1; done
# The add-on is installed once the page shows; the key is then the extension's.
sleep 3
xdotool search --name "Saved from Firefox" windowactivate --sync > /dev/null 2>&1
xdotool key --clearmodifiers alt+shift+n
for i in \$(seq 30); do [ -f "$home/Documents/Norvelle.dat" ] && break; sleep 0.5; done
DRIVE
timeout 150 xvfb-run -a -s '-screen 0 1280x900x24' bash "$home/drive.sh"
pkill -f "$home" 2> /dev/null
if "$build/cli/norvelle-cli" dump "$home/Documents/Norvelle.dat" 2> /dev/null | grep -q '"title": "Saved from Firefox"'; then
    echo "ok   Alt+Shift+N in Firefox ESR saved the page"
    exit 0
fi
echo "FAIL Alt+Shift+N in Firefox ESR did not save the page; web-ext said:"
cat "$home/web-ext.log"
exit 1
