#!/usr/bin/env bash
# Key press to result in the real window: Norvelle on a virtual X server with a window
# manager and the desktop's accessibility bus, "nebula" typed key by key through XTest
# (three rounds, typos forgiven); a key counts from the press until the window's
# "N Selected Links" count shows its result, as a screen reader hears it. Run it on a
# 10-link file too: that figure is the floor of X, the bus and the toolkit.
#   bench/real_window_latency.sh [LINKS]      (default 100000; after a build in build/)
# Needs: apt-get install xvfb xdotool openbox at-spi2-core python3-pyatspi dbus-x11
set -euo pipefail
links=${1:-100000}
here=$(cd "$(dirname "$0")/.." && pwd)
home=$(mktemp -d /tmp/norvelle-latency.XXXXXX)
display=:$((90 + RANDOM % 9))
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT

"$here/build/bench/make_datafile" "$home/links.dat" "$links"
mkdir -p "$home/.config/Quenby Software"
cat > "$home/.config/Quenby Software/Norvelle.conf" << EOF
[Misc]
Show%20Day%20Tip=0

[Saving]
Data%20File=$home/links.dat

[Searching]
Allow%20Typos=1
EOF

export HOME=$home DISPLAY=$display QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
Xvfb "$display" -screen 0 1280x900x24 > /dev/null 2>&1 &
pids+=($!)
sleep 1
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
pids+=($!)
openbox > /dev/null 2>&1 &
pids+=($!)
sleep 1

# The listener is on the bus before the window starts, so that the window sends it every change.
cat > "$home/latency.py" << 'PY'
import ctypes, subprocess, threading, time
import pyatspi

# The letters are pressed through XTest from this process, so that a key's time starts
# when the server gets it, not when a helper program has started up.
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
display = x11.XOpenDisplay(None)

def press(letter):
    code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(letter.encode()))
    pressed = time.time()
    xtst.XTestFakeKeyEvent(display, code, 1, 0)
    xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XFlush(display)
    return pressed

counts = []  # (time, text) of each change of the Selected count
changed = threading.Condition()

def on_name(event):
    try:
        name = event.source.name or ""
    except Exception:
        return
    if "Selected Link" in name:
        with changed:
            counts.append((time.time(), name))
            changed.notify_all()

def wait_for_window():
    deadline = time.time() + 60
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        if any(app is not None and "orvelle" in (app.name or "") for app in desktop):
            return
        time.sleep(0.5)
    raise SystemExit("the window did not appear")

def drive():
    wait_for_window()
    time.sleep(2)
    subprocess.run(["xdotool", "key", "alt+s"])
    time.sleep(0.5)
    delays = []
    for _ in range(3):
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"])
        time.sleep(1.5)
        for ch in "nebula":
            with changed:
                seen = len(counts)
            pressed = press(ch)
            with changed:
                changed.wait_for(lambda: len(counts) > seen, timeout=5)
                if len(counts) > seen:
                    delays.append((counts[seen][0] - pressed) * 1000)
                    print(f"{ch}: {delays[-1]:6.1f} ms  {counts[seen][1]}", flush=True)
                else:
                    print(f"{ch}: the count did not change", flush=True)
            time.sleep(0.3)
    delays.sort()
    if delays:
        print(f"keys whose count changed: {len(delays)}, median {delays[len(delays) // 2]:.1f} ms, "
              f"slowest {delays[-1]:.1f} ms", flush=True)
    pyatspi.Registry.stop()

pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
threading.Thread(target=drive, daemon=True).start()
pyatspi.Registry.start()
PY
/usr/bin/python3 "$home/latency.py" &
listener=$!
sleep 1
"$here/build/app/norvelle" > /dev/null 2>&1 &
pids+=($!)
wait "$listener"
